// Reading and writing a full project: 2049 topics with 10 KB of RTF each
// (about 20 MB). Target: under 0.2 s either way, file system included.

#include "model/ProjectFile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

ts::Project bigProject()
{
    ts::Project p;
    for (int i = 0; i < ts::Project::TopicSlots; ++i) {
        ts::TopicRecord t;
        t.TopicID.setBytes(QByteArray("TOPIC_") + QByteArray::number(i));
        t.Title.setBytes(QByteArray("Title of topic ") + QByteArray::number(i));
        t.Keywords.setBytes("alpha;beta;gamma");
        t.HasCallId = true;
        t.CallId = 10 * (i + 1);
        t.HeaderRtf = QByteArray(2 * 1024, 'h');
        t.BodyRtf = QByteArray(8 * 1024, 'b');
        p.addTopic(t);
    }
    return p;
}

void BM_ProjectSave(benchmark::State& state)
{
    const ts::Project p = bigProject();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.tsp"));
    qint64 bytes = 0;
    for (auto _ : state) {
        ts::ProjectFile::save(p, path, [](int) {});
        bytes += 20 * 1024 * 1024;
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ProjectSave)->Unit(benchmark::kMillisecond);

void BM_ProjectLoad(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.tsp"));
    ts::ProjectFile::save(bigProject(), path);
    qint64 bytes = 0;
    for (auto _ : state) {
        ts::Project p = ts::ProjectFile::load(path, QString(), [](int) {});
        benchmark::DoNotOptimize(p.TopicCount());
        bytes += 20 * 1024 * 1024;
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_ProjectLoad)->Unit(benchmark::kMillisecond);

} // namespace
