// Reading help files, as the viewer and `--text` do. The files are compiled
// by the built-in compiler first:
//   - a help file of about 4 MB (2049 topics of some 5 KB of formatted text
//     each): opened to its first topic in under 0.3 s,
//     and moving to another topic in under 20 ms;
//   - an index of 10,000 keywords: one look-up in under 5 ms;
//   - `topicsmith --text` of the full 2049-topic project (compressed) in
//     under 0.5 s.

#include "BenchTopics.h"
#include "cli/CommandLine.h"
#include "helpfile/HelpCompiler.h"
#include "helpfile/HelpFileReader.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// `paragraphs` paragraphs of formatted text, each with a jump and a pop-up.
QByteArray topicBody(int i, int topics, int paragraphs)
{
    const auto [text, strong, note, jump, popup] = bench::topicFormats();
    ts::RichDocument d;
    d.Paragraphs.clear();
    for (int p = 0; p < paragraphs; ++p) {
        ts::Paragraph para;
        para.LeftIndent = (p % 3) * 360;
        para.Runs = {ts::Run{QStringLiteral("Step %1: ").arg(p + 1), strong},
                     ts::Run{QStringLiteral("Topic %1 says: choose command %2 from the menu, fill in field %3 of the "
                                            "dialog box and press OK when the values %4 and %5 are right. ")
                                 .arg(i).arg(p).arg(p * 7 % 13).arg(i * 31 % 1000).arg(p * i % 977),
                             text},
                     ts::Run{QStringLiteral("related page-->TOPIC_%1").arg((i * 7 + p) % topics), jump},
                     ts::Run{QStringLiteral(", "), text},
                     ts::Run{QStringLiteral("term %1-->TOPIC_%2").arg(p).arg((i + p * 13) % topics), popup}};
        d.Paragraphs.push_back(para);
    }
    return ts::RtfWriter::write(d);
}

// A compiled help file on disk, made once per kind.
struct HelpFileFixture {
    QTemporaryDir dir;
    QString path;
    qint64 bytes = 0;
};

std::unique_ptr<HelpFileFixture> compileFixture(int paragraphs, int keywordsPerTopic)
{
    auto f = std::make_unique<HelpFileFixture>();
    ts::Project p;
    p.ProjectPath = f->dir.filePath(QStringLiteral("Bench.tsp"));
    const int topics = ts::Project::TopicSlots;
    for (int i = 0; i < topics; ++i) {
        ts::TopicRecord t;
        t.TopicID.setBytes("TOPIC_" + QByteArray::number(i));
        t.Title.setBytes("Title of topic " + QByteArray::number(i));
        QByteArray keywords;
        for (int k = 0; k < keywordsPerTopic; ++k)
            keywords += "keyword " + QByteArray::number(i * keywordsPerTopic + k) + ';';
        t.Keywords.setBytes(keywords + "common");
        t.BodyRtf = topicBody(i, topics, paragraphs);
        p.addTopic(t);
    }
    ts::HelpCompileReport report;
    const QByteArray file = ts::compileHelpFileBytes(p, report);
    f->path = f->dir.filePath(QStringLiteral("Bench.HLP"));
    QFile out(f->path);
    if (out.open(QIODevice::WriteOnly))
        out.write(file);
    f->bytes = file.size();
    return f;
}

// 26 paragraphs of some 200 characters per topic make the file about 4 MB
// (compressed: some 10 MB of topic records).
HelpFileFixture& largeFile()
{
    static const auto f = compileFixture(26, 0);
    return *f;
}

// 2049 topics of five keywords each: 10,245 keywords.
HelpFileFixture& manyKeywords()
{
    static const auto f = compileFixture(2, 5);
    return *f;
}

HelpFileFixture& fullProject()
{
    static const auto f = compileFixture(6, 1);
    return *f;
}

void BM_OpenHelpFileToFirstTopic(benchmark::State& state)
{
    HelpFileFixture& f = largeFile();
    for (auto _ : state) {
        const ts::HelpDocument doc = ts::helpfile::readHelpFile(f.path);
        benchmark::DoNotOptimize(doc.content(doc.contentsTopic).scrolling.size());
    }
    state.counters["file_kb"] = double(f.bytes) / 1024;
}
BENCHMARK(BM_OpenHelpFileToFirstTopic)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_MoveToAnotherTopic(benchmark::State& state)
{
    HelpFileFixture& f = largeFile();
    ts::HelpDocument doc = ts::helpfile::readHelpFile(f.path);
    int next = 0;
    for (auto _ : state) {
        // Each topic is decoded once per document; a fresh one is read when all were shown.
        if (next == int(doc.topics.size())) {
            state.PauseTiming();
            doc = ts::helpfile::readHelpFile(f.path);
            next = 0;
            state.ResumeTiming();
        }
        const int topic = next++ * 7 % int(doc.topics.size());
        benchmark::DoNotOptimize(doc.content(topic).scrolling.size());
    }
}
BENCHMARK(BM_MoveToAnotherTopic)->Unit(benchmark::kMillisecond);

void BM_KeywordLookUp(benchmark::State& state)
{
    HelpFileFixture& f = manyKeywords();
    const ts::HelpDocument doc = ts::helpfile::readHelpFile(f.path);
    const QChar index = QLatin1Char('K');
    int i = 0;
    for (auto _ : state) {
        const QString word = QStringLiteral("Keyword %1").arg(i++ * 7919 % 10245);
        const ts::HelpKeyword* found = doc.findKeyword(index, word);
        benchmark::DoNotOptimize(found);
        benchmark::DoNotOptimize(doc.firstKeywordFrom(index, word.left(9)));
    }
    state.counters["keywords"] = double(doc.keywordTables.at(index).size());
}
BENCHMARK(BM_KeywordLookUp)->Unit(benchmark::kMicrosecond);

void BM_TextOfTheFullTopicTable(benchmark::State& state)
{
    HelpFileFixture& f = fullProject();
    for (auto _ : state) {
        QByteArray printed, errors;
        QBuffer outBuffer(&printed), errBuffer(&errors);
        outBuffer.open(QIODevice::WriteOnly);
        errBuffer.open(QIODevice::WriteOnly);
        QTextStream out(&outBuffer), err(&errBuffer);
        benchmark::DoNotOptimize(ts::runHeadless({QStringLiteral("--text"), f.path}, out, err));
        benchmark::DoNotOptimize(printed.size());
    }
    state.counters["file_kb"] = double(f.bytes) / 1024;
}
BENCHMARK(BM_TextOfTheFullTopicTable)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
