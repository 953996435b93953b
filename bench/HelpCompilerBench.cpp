// The built-in help compiler over projects of ordinary help topics: 2049
// topics of about 5 KB of formatted text each (a header, paragraphs with
// bold, italic, colour, indents, jumps and pop-ups), compressed. Targets:
// under 0.6 s for 2049 topics, 2049 topics no more than 12 times 205, and
// the compressed topic text at most 60 % of its uncompressed size (the
// counters "topic_kb" and "uncompressed_kb" and their ratio).

#include "helpfile/HelpCompiler.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

QByteArray topicBody(int i, int topics)
{
    ts::CharFormat text;
    text.Size = 20;
    ts::CharFormat strong = text;
    strong.Bold = true;
    ts::CharFormat note = text;
    note.Italic = true;
    note.Colour = 0x004080;
    ts::CharFormat jump = text;
    jump.Strike = true;
    ts::CharFormat popup = text;
    popup.Underline = true;
    const QString sentence = QStringLiteral(
        "Choose the command from the menu and fill in the fields of the dialog box before you press OK. ");
    ts::RichDocument d;
    d.Paragraphs.clear();
    for (int p = 0; p < 14; ++p) {
        ts::Paragraph para;
        para.LeftIndent = (p % 3) * 360;
        para.FirstIndent = p % 3 == 2 ? -360 : 0;
        para.Runs = {ts::Run{QStringLiteral("Step %1: ").arg(p + 1), strong},
                     ts::Run{sentence + sentence.left(40 + p * 3), text},
                     ts::Run{QStringLiteral("related page-->TOPIC_%1").arg((i * 7 + p) % topics), jump},
                     ts::Run{QStringLiteral(", "), text},
                     ts::Run{QStringLiteral("term %1-->TOPIC_%2").arg(p).arg((i + p * 13) % topics), popup},
                     ts::Run{QStringLiteral(" (note %1 of topic %2)\t").arg(p).arg(i), note}};
        d.Paragraphs.push_back(para);
    }
    return ts::RtfWriter::write(d);
}

struct Fixture {
    QTemporaryDir dir;
    ts::Project project;
};

Fixture& fixture(int topics)
{
    static std::map<int, std::unique_ptr<Fixture>> cache;
    auto& slot = cache[topics];
    if (!slot) {
        slot = std::make_unique<Fixture>();
        ts::Project& p = slot->project;
        p.ProjectPath = slot->dir.filePath(QStringLiteral("Big.tsp"));
        ts::CharFormat title;
        title.Size = 28;
        title.Bold = true;
        title.Colour = 0x000080;
        for (int i = 0; i < topics; ++i) {
            ts::TopicRecord t;
            t.TopicID.setBytes("TOPIC_" + QByteArray::number(i));
            t.Title.setBytes("Title of topic " + QByteArray::number(i));
            t.Keywords.setBytes("alpha;beta " + QByteArray::number(i % 50) + ";topic " + QByteArray::number(i));
            t.HasCallId = true;
            t.CallId = 1000 + i;
            t.HeaderRtf = ts::RtfWriter::write(
                ts::RichDocument::fromPlainText(QStringLiteral("Title of topic %1").arg(i), title));
            t.BodyRtf = topicBody(i, topics);
            p.addTopic(t);
        }
    }
    return *slot;
}

void BM_CompileHelpFile(benchmark::State& state)
{
    Fixture& f = fixture(int(state.range(0)));
    ts::HelpCompileReport report;
    qint64 bytes = 0;
    for (auto _ : state) {
        const QByteArray file = ts::compileHelpFileBytes(f.project, report);
        bytes = file.size();
        benchmark::DoNotOptimize(file.constData());
    }
    state.counters["file_kb"] = double(bytes) / 1024;
    state.counters["topic_kb"] = double(report.topicFileBytes) / 1024;
    state.counters["uncompressed_kb"] = double(report.topicRecordBytes) / 1024;
    state.counters["compressed_ratio"] = double(report.topicFileBytes) / double(report.topicRecordBytes);
    state.counters["compressed"] = report.topicsCompressed ? 1 : 0;
    state.counters["warnings"] = report.warnings;
}
BENCHMARK(BM_CompileHelpFile)->Arg(205)->Arg(2049)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
