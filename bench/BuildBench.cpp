// "Build All Without Compiling" as `topicsmith --build` runs it: read the
// project file, write the .RTF, .HPJ and .cnt. 2049 topics with 5 KB of text
// each give about 10 MB of output. Targets: under 0.25 s for 2049 topics,
// within about 20 times a plain write of the same number of bytes, and
// roughly linear growth (2049 topics no more than about 12 times 205).

#include "helpsource/BuildAll.h"
#include "helpsource/TopicFileWriter.h"
#include "model/ProjectFile.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>

namespace {

// About 5 KB of text in 16 paragraphs, with jumps, pop-ups and a second
// font, as ordinary help topics hold them.
QByteArray bodyRtf(int i)
{
    ts::CharFormat plain;
    ts::CharFormat jump = plain;
    jump.Strike = true;
    ts::CharFormat popup = plain;
    popup.Underline = true;
    ts::CharFormat code;
    code.Face = QStringLiteral("Courier New");
    code.Colour = 0x800000;
    const QString words = QStringLiteral("The quick brown fox jumps over the lazy dog while the help compiler waits; ");
    ts::RichDocument d;
    d.Paragraphs.clear();
    for (int p = 0; p < 16; ++p) {
        ts::Paragraph para;
        para.Runs = {ts::Run{words + words + words + words.left(50), plain},
                     ts::Run{QStringLiteral("see also-->TOPIC_%1").arg((i + p) % 2049), jump},
                     ts::Run{QStringLiteral(" and "), plain},
                     ts::Run{QStringLiteral("term-->GLOSSARY"), popup},
                     ts::Run{QStringLiteral(" {code} \u00e9"), code}};
        d.Paragraphs.push_back(para);
    }
    return ts::RtfWriter::write(d);
}

struct Fixture {
    QTemporaryDir dir;
    QString tsp;
    qint64 outputBytes = 0;
};

// One project file per topic count, built once.
Fixture& fixture(int topics)
{
    static std::map<int, std::unique_ptr<Fixture>> cache;
    auto& slot = cache[topics];
    if (!slot) {
        slot = std::make_unique<Fixture>();
        ts::Project p;
        for (int i = 0; i < topics; ++i) {
            ts::TopicRecord t;
            t.TopicID.setBytes("TOPIC_" + QByteArray::number(i));
            t.Title.setBytes("Title of topic " + QByteArray::number(i));
            t.Keywords.setBytes("alpha;beta;gamma");
            t.HasCallId = i % 2 == 0;
            t.CallId = i;
            t.HeaderRtf = ts::RtfWriter::write(ts::RichDocument::fromPlainText(QStringLiteral("Topic header")));
            t.BodyRtf = bodyRtf(i);
            p.addTopic(t);
        }
        slot->tsp = slot->dir.filePath(QStringLiteral("Big.tsp"));
        ts::ProjectFile::save(p, slot->tsp);
        QFile tsc(slot->dir.filePath(QStringLiteral("Big.tsc")));
        tsc.open(QIODevice::WriteOnly);
        for (int i = 0; i < topics; i += 10) {
            tsc.write("Book " + QByteArray::number(i) + "\r\n");
            for (int k = i; k < qMin(topics, i + 10); ++k)
                tsc.write("\tTitle of topic " + QByteArray::number(k) + "=TOPIC_" + QByteArray::number(k) + "\r\n");
        }
        tsc.close();
        p.ProjectPath = slot->tsp;
        for (const QString& path : ts::buildAllWithoutCompiling(p))
            slot->outputBytes += QFileInfo(path).size();
    }
    return *slot;
}

void BM_BuildCommand(benchmark::State& state)
{
    Fixture& f = fixture(int(state.range(0)));
    for (auto _ : state) {
        const ts::Project p = ts::ProjectFile::load(f.tsp);
        benchmark::DoNotOptimize(ts::buildAllWithoutCompiling(p));
    }
    state.SetBytesProcessed(state.iterations() * f.outputBytes);
    state.counters["output_MB"] = double(f.outputBytes) / 1e6;
}
BENCHMARK(BM_BuildCommand)->Arg(205)->Arg(2049)->Unit(benchmark::kMillisecond)->UseRealTime();

// The topic file alone, in memory.
void BM_TopicFileGenerate(benchmark::State& state)
{
    Fixture& f = fixture(int(state.range(0)));
    const ts::Project p = ts::ProjectFile::load(f.tsp);
    for (auto _ : state)
        benchmark::DoNotOptimize(ts::TopicFileWriter::generate(p));
}
BENCHMARK(BM_TopicFileGenerate)->Arg(205)->Arg(2049)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a plain copy of the same bytes costs: one write through QFile.
void BM_CopySameBytes(benchmark::State& state)
{
    Fixture& f = fixture(int(state.range(0)));
    const QByteArray bytes(f.outputBytes, 'x');
    const QString path = f.dir.filePath(QStringLiteral("copy.bin"));
    for (auto _ : state) {
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(out.write(bytes));
        out.close();
    }
    state.SetBytesProcessed(state.iterations() * f.outputBytes);
}
BENCHMARK(BM_CopySameBytes)->Arg(205)->Arg(2049)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
