// Importing a help file (topicsmith --import): reading our own compiled
// project of 2049 topics of about 5 KB of formatted text each (a header,
// paragraphs with bold, italic, colour, indents, jumps and pop-ups, a
// contents file), making the project, its contents file and its log, and
// writing them. Target: under 1.5 s.

#include "BenchTopics.h"
#include "contents/ContentsFile.h"
#include "helpdoc/HelpImporter.h"
#include "helpfile/HelpCompiler.h"
#include "helpsource/CntWriter.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Topics = bench::LargeProjectTopics;

// The help file, compiled once, with the .cnt beside it.
struct Fixture {
    Fixture()
    {
        ts::Project p;
        p.ProjectPath = dir.filePath(QStringLiteral("Big.tsp"));
        ts::CharFormat title;
        title.Size = 28;
        title.Bold = true;
        ts::ContentsEntry book{QStringLiteral("All topics"), ts::ContentsKind::Heading, {}};
        for (int i = 0; i < Topics; ++i) {
            p.addTopic(bench::ordinaryTopic(i, bench::stepsTopicBody(i, Topics), title));
            if (i % 2 == 0)
                book.Children.push_back({QStringLiteral("Title of topic %1=TOPIC_%1").arg(i), ts::ContentsKind::Topic, {}});
        }
        ts::ContentsFile::save({book}, ts::ContentsFile::pathFor(p));
        ts::compileHelpFile(p);
        ts::CntWriter::write(p);
        helpFile = ts::helpFilePathFor(p);
    }

    QTemporaryDir dir;
    QString helpFile;
};

void BM_ImportHelpFile(benchmark::State& state)
{
    static Fixture f;
    const QString project = f.dir.filePath(QStringLiteral("Imported.tsp"));
    ts::HelpImportReport report;
    for (auto _ : state) {
        report = ts::importHelpFile(f.helpFile, project);
        benchmark::DoNotOptimize(report.topics);
    }
    state.counters["topics"] = report.topics;
    state.counters["log_entries"] = report.logEntries;
}
BENCHMARK(BM_ImportHelpFile)->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace
