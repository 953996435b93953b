// Link maintenance after a Topic ID rename: every topic's two blocks are read,
// searched and, where the old ID occurs, written back, with the user kept
// waiting. The project has 2049 topics of about 5 KB of text each.
//   Rewrite: every body links to the renamed topic, so every body is
//            rewritten; one iteration renames there and back (two passes).
//   Absent:  the old ID occurs nowhere; every block is only read.
// Target: one pass over 2049 topics under 1 s, so a rename never looks like
// a hang.

#include "links/LinkMaintenance.h"
#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QByteArray linkedBody(int i)
{
    ts::CharFormat plain;
    ts::CharFormat jump = plain;
    jump.Strike = true;
    ts::CharFormat popup = plain;
    popup.Underline = true;
    const QString words = QStringLiteral("The quick brown fox jumps over the lazy dog while the help compiler waits; ");
    ts::RichDocument d;
    d.Paragraphs.clear();
    for (int p = 0; p < 16; ++p) {
        ts::Paragraph para;
        para.Runs = {ts::Run{words + words + words + words.left(50), plain},
                     ts::Run{QStringLiteral("see also-->TOPIC_%1>main").arg((i + p) % 2049), jump},
                     ts::Run{QStringLiteral(" and "), plain},
                     ts::Run{QStringLiteral("term-->GLOSSARY"), popup}};
        d.Paragraphs.push_back(para);
    }
    return ts::RtfWriter::write(d);
}

ts::Project& project()
{
    static QTemporaryDir dir; // the contents file the pass looks for is not there
    static ts::Project p = [] {
        ts::Project made;
        made.ProjectPath = dir.filePath(QStringLiteral("Big.tsp"));
        for (int i = 0; i < ts::Project::TopicSlots; ++i) {
            ts::TopicRecord t;
            t.TopicID.setBytes("TOPIC_" + QByteArray::number(i));
            t.HeaderRtf = ts::RtfWriter::write(ts::RichDocument::fromPlainText(QStringLiteral("Topic header")));
            t.BodyRtf = linkedBody(i);
            made.addTopic(t);
        }
        return made;
    }();
    return p;
}

void BM_UpdateLinksRewrite(benchmark::State& state)
{
    ts::Project& p = project();
    for (auto _ : state) {
        ts::updateLinks(p, ts::topicIdRename(QStringLiteral("GLOSSARY"), QStringLiteral("LEXICON")));
        ts::updateLinks(p, ts::topicIdRename(QStringLiteral("LEXICON"), QStringLiteral("GLOSSARY")));
    }
    state.SetItemsProcessed(state.iterations() * 2 * p.TopicCount());
}
BENCHMARK(BM_UpdateLinksRewrite)->Unit(benchmark::kMillisecond);

void BM_UpdateLinksAbsent(benchmark::State& state)
{
    ts::Project& p = project();
    for (auto _ : state)
        ts::updateLinks(p, ts::topicIdRename(QStringLiteral("NOWHERE"), QStringLiteral("ELSEWHERE")));
    state.SetItemsProcessed(state.iterations() * p.TopicCount());
}
BENCHMARK(BM_UpdateLinksAbsent)->Unit(benchmark::kMillisecond);

} // namespace
