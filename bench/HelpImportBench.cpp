// Importing a help file (topicsmith --import): reading our own compiled
// project of 2049 topics of about 5 KB of formatted text each (a header,
// paragraphs with bold, italic, colour, indents, jumps and pop-ups, a
// contents file), making the project, its contents file and its log, and
// writing them. Target: under 1.5 s.

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

constexpr int Topics = 2049;

QByteArray topicBody(int i)
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
                     ts::Run{QStringLiteral("related page-->TOPIC_%1").arg((i * 7 + p) % Topics), jump},
                     ts::Run{QStringLiteral(", "), text},
                     ts::Run{QStringLiteral("term %1-->TOPIC_%2").arg(p).arg((i + p * 13) % Topics), popup},
                     ts::Run{QStringLiteral(" (note %1 of topic %2)\t").arg(p).arg(i), note}};
        d.Paragraphs.push_back(para);
    }
    return ts::RtfWriter::write(d);
}

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
            ts::TopicRecord t;
            t.TopicID.setBytes("TOPIC_" + QByteArray::number(i));
            t.Title.setBytes("Title of topic " + QByteArray::number(i));
            t.Keywords.setBytes("alpha;beta " + QByteArray::number(i % 50) + ";topic " + QByteArray::number(i));
            t.HasCallId = true;
            t.CallId = 1000 + i;
            t.HeaderRtf = ts::RtfWriter::write(
                ts::RichDocument::fromPlainText(QStringLiteral("Title of topic %1").arg(i), title));
            t.BodyRtf = topicBody(i);
            p.addTopic(t);
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
