// Publishing a project of 2049 ordinary help topics (about 5 KB of
// formatted text each, jumps, pop-ups, keywords, [MAP] numbers, a picture
// in every tenth topic) as a web site: compiled in memory, read back, made
// into pages, pictures and the search index, written to a folder. Targets:
// under 1.5 s for the whole, and a site under three times the project's
// topic text (the counter "site_to_text").

#include "BenchTopics.h"
#include "helpdoc/HtmlPublisher.h"
#include "helpdoc/PublishSource.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A 24-bit BMP of a gradient with a frame, as screen shots in help files are.
QByteArray bitmap(int width, int height)
{
    const int row = (width * 3 + 3) & ~3;
    QByteArray bmp(54 + row * height, '\0');
    auto put32 = [&bmp](int at, quint32 v) { qToLittleEndian(v, bmp.data() + at); };
    auto put16 = [&bmp](int at, quint16 v) { qToLittleEndian(v, bmp.data() + at); };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, quint32(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(width));
    put32(22, quint32(height));
    put16(26, 1);
    put16(28, 24);
    put32(34, quint32(row * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char* p = bmp.data() + 54 + y * row + x * 3;
            const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            p[0] = frame ? 0 : char(x * 2);
            p[1] = frame ? 0 : char(y * 3);
            p[2] = frame ? 0 : char(200);
        }
    return bmp;
}

QByteArray topicBody(int i, int topics)
{
    const auto [text, strong, note, jump, popup] = bench::topicFormats();
    const QString sentence = QStringLiteral(
        "Choose the command from the menu and fill in the fields of the dialog box before you press OK. ");
    ts::RichDocument d;
    d.Paragraphs.clear();
    for (int p = 0; p < 14; ++p) {
        ts::Paragraph para;
        para.LeftIndent = (p % 3) * 360;
        para.Runs = {ts::Run{QStringLiteral("Step %1: ").arg(p + 1), strong},
                     ts::Run{sentence + sentence.left(40 + p * 3) + QStringLiteral("word%1 ").arg(i * 14 + p), text},
                     ts::Run{QStringLiteral("related page-->TOPIC_%1").arg((i * 7 + p) % topics), jump},
                     ts::Run{QStringLiteral(", "), text},
                     ts::Run{QStringLiteral("term %1-->TOPIC_%2").arg(p).arg((i + p * 13) % topics), popup}};
        if (p == 0 && i % 10 == 0)
            para.Runs.push_back(ts::Run{QStringLiteral(" {bmc SHOT%1.BMP}").arg(i / 10 % 20), text});
        d.Paragraphs.push_back(para);
    }
    return ts::RtfWriter::write(d);
}

struct Fixture {
    QTemporaryDir dir;
    ts::Project project;
    qint64 topicTextBytes = 0;
};

Fixture& fixture()
{
    static std::unique_ptr<Fixture> f;
    if (f)
        return *f;
    f = std::make_unique<Fixture>();
    f->project.ProjectPath = f->dir.filePath(QStringLiteral("Big.tsp"));
    for (int k = 0; k < 20; ++k) {
        QFile bmp(f->dir.filePath(QStringLiteral("shot%1.bmp").arg(k)));
        bmp.open(QIODevice::WriteOnly);
        bmp.write(bitmap(160 + k, 120));
    }
    const int topics = bench::LargeProjectTopics;
    for (int i = 0; i < topics; ++i) {
        const ts::TopicRecord t = bench::ordinaryTopic(i, topicBody(i, topics));
        f->topicTextBytes += t.HeaderRtf.size() + t.BodyRtf.size();
        f->project.addTopic(t);
    }
    return *f;
}

qint64 folderSize(const QString& folder)
{
    qint64 bytes = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        bytes += QFileInfo(it.next()).size();
    return bytes;
}

// Arg 0: into the temporary folder, on disk. Arg 1: into a folder in
// memory (/dev/shm), which shows the program's own part of the time where
// the disk of a virtual machine takes anything from 0.1 s to 2 s to make
// the 2,070 files.
void BM_PublishProjectAsHtml(benchmark::State& state)
{
    Fixture& f = fixture();
    const bool inMemory = state.range(0) == 1;
    if (inMemory && !QFileInfo(QStringLiteral("/dev/shm")).isWritable()) {
        state.SkipWithError("no /dev/shm here");
        return;
    }
    QTemporaryDir out((inMemory ? QStringLiteral("/dev/shm") : QDir::tempPath()) + QStringLiteral("/publish-bench-XXXXXX"));
    ts::publish::PublishReport report;
    int run = 0;
    QString folder;
    for (auto _ : state) {
        folder = out.filePath(QString::number(++run)); // a first publish: every file new
        const ts::HelpDocument doc = ts::publish::documentFromProject(f.project);
        const ts::publish::HtmlSite site = ts::publish::publishHtml(doc);
        ts::publish::writeSite(site, folder);
        report = site.report;
    }
    const qint64 site = folderSize(folder);
    state.counters["pages"] = report.pages;
    state.counters["pictures"] = report.pictures;
    state.counters["warnings"] = report.warnings;
    state.counters["site_kb"] = double(site) / 1024;
    state.counters["text_kb"] = double(f.topicTextBytes) / 1024;
    state.counters["site_to_text"] = double(site) / double(f.topicTextBytes);
}
BENCHMARK(BM_PublishProjectAsHtml)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// Publishing again over the site of the last run: every file replaced.
void BM_RepublishProjectAsHtml(benchmark::State& state)
{
    Fixture& f = fixture();
    QTemporaryDir out;
    ts::publish::writeSite(ts::publish::publishHtml(ts::publish::documentFromProject(f.project)), out.path());
    for (auto _ : state)
        ts::publish::writeSite(ts::publish::publishHtml(ts::publish::documentFromProject(f.project)), out.path());
}
BENCHMARK(BM_RepublishProjectAsHtml)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// The HelpDocument -> site step alone, in memory.
void BM_PublishDocument(benchmark::State& state)
{
    const ts::HelpDocument doc = ts::publish::documentFromProject(fixture().project);
    for (auto _ : state) {
        const ts::publish::HtmlSite site = ts::publish::publishHtml(doc);
        benchmark::DoNotOptimize(site.files.data());
    }
}
BENCHMARK(BM_PublishDocument)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace
