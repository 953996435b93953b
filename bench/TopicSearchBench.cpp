// Topic search "Text in topic" over a full project: 2049 topics with a
// header line and about 5 KB of formatted body text each. Every block is
// read, because the query occurs nowhere (the slowest case: no topic stops
// early). Target: under 1 s, so a search never looks like a hang; by Topic
// ID or title the same project is a matter of microseconds.

#include "model/Project.h"
#include "richtext/RichDocument.h"
#include "richtext/RtfWriter.h"
#include "search/TopicSearch.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray body(int i)
{
    ts::CharFormat plain;
    ts::CharFormat bold = plain;
    bold.Bold = true;
    ts::CharFormat jump = plain;
    jump.Strike = true;
    const QString words = QString::fromUtf8("The quick brown fox jumps over the lazy dog, café and naïve; ");
    ts::RichDocument d;
    d.Paragraphs.clear();
    for (int p = 0; p < 16; ++p) {
        ts::Paragraph para;
        para.Runs = {ts::Run{words + words, plain}, ts::Run{QStringLiteral("Important"), bold},
                     ts::Run{words + words.left(40), plain},
                     ts::Run{QStringLiteral("see also-->TOPIC_%1").arg((i + p) % 2049), jump}};
        d.Paragraphs.push_back(para);
    }
    return ts::RtfWriter::write(d);
}

const ts::Project& project()
{
    static const ts::Project p = [] {
        ts::Project made;
        for (int i = 0; i < ts::Project::TopicSlots; ++i) {
            ts::TopicRecord t;
            t.TopicID.setBytes("TOPIC_" + QByteArray::number(i));
            t.Title.setBytes("Title of topic " + QByteArray::number(i));
            t.HeaderRtf = ts::RtfWriter::write(ts::RichDocument::fromPlainText(QStringLiteral("Topic header")));
            t.BodyRtf = body(i);
            made.addTopic(t);
        }
        return made;
    }();
    return p;
}

void BM_SearchTextAbsent(benchmark::State& state)
{
    const ts::Project& p = project();
    for (auto _ : state) {
        auto found = ts::searchTopics(p, QStringLiteral("nowhere to be found"), ts::SearchMode::TextInTopic);
        benchmark::DoNotOptimize(found);
    }
    state.counters["topics"] = p.TopicCount();
}
BENCHMARK(BM_SearchTextAbsent)->Unit(benchmark::kMillisecond);

void BM_SearchTitle(benchmark::State& state)
{
    const ts::Project& p = project();
    for (auto _ : state) {
        auto found = ts::searchTopics(p, QStringLiteral("of topic 20"), ts::SearchMode::TopicTitle);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_SearchTitle)->Unit(benchmark::kMicrosecond);

} // namespace
