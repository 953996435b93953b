// The built-in help compiler over projects of ordinary help topics: 2049
// topics of about 5 KB of formatted text each (a header, paragraphs with
// bold, italic, colour, indents, jumps and pop-ups), compressed. Targets:
// under 0.6 s for 2049 topics, 2049 topics no more than 12 times 205, and
// the compressed topic text at most 60 % of its uncompressed size (the
// counters "topic_kb" and "uncompressed_kb" and their ratio).

#include "BenchTopics.h"
#include "helpfile/HelpCompiler.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

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
        for (int i = 0; i < topics; ++i)
            p.addTopic(bench::ordinaryTopic(i, bench::stepsTopicBody(i, topics), title));
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
