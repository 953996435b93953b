// Reading and writing a 10 MB document with mixed formatting: several faces,
// sizes and colours, bold, italic, underline, strike-out, hidden text, tabs,
// accented letters and a few characters outside Windows-1252.

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

ts::RichDocument mixedDocument(qsizetype targetBytes)
{
    std::mt19937 rng(7);
    const QString faces[] = {QStringLiteral("Arial"), QStringLiteral("Times New Roman"), QStringLiteral("Courier New")};
    const QString words[] = {
        QStringLiteral("help"),     QStringLiteral("topic"),   QStringLiteral("window"),  QStringLiteral("caf\u00e9"),
        QStringLiteral("compiler"), QStringLiteral("jump"),    QStringLiteral("\u20ac"),  QStringLiteral("keyword"),
        QStringLiteral("the"),      QStringLiteral("a"),       QStringLiteral("contents"), QStringLiteral("na\u00efve"),
        QStringLiteral("of"),       QStringLiteral("project"), QStringLiteral("-->LINK"), QStringLiteral("\u0416\u0443\u043a"),
    };
    ts::RichDocument doc;
    doc.Paragraphs.clear();
    qsizetype bytes = 0;
    while (bytes < targetBytes) {
        ts::Paragraph p;
        p.Runs.clear();
        p.Align = ts::Alignment(rng() % 4);
        p.LeftIndent = (rng() % 3 == 0) ? 360 : 0;
        const int runs = 2 + int(rng() % 8);
        for (int r = 0; r < runs; ++r) {
            ts::Run run;
            run.Format.Face = faces[rng() % 3];
            run.Format.Size = 16 + 4 * int(rng() % 4);
            if (rng() % 3 == 0)
                run.Format.Color = (rng() % 2) ? 0xFF0000u : 0x0000FFu;
            run.Format.Bold = rng() % 4 == 0;
            run.Format.Italic = rng() % 5 == 0;
            run.Format.Underline = rng() % 7 == 0;
            run.Format.Strike = rng() % 9 == 0;
            run.Format.Hidden = rng() % 11 == 0;
            const int n = 3 + int(rng() % 12);
            for (int w = 0; w < n; ++w) {
                run.Text += words[rng() % 16];
                run.Text += (rng() % 13 == 0) ? QChar(u'\t') : QChar(u' ');
            }
            bytes += run.Text.size() + 24;
            p.Runs.push_back(std::move(run));
        }
        doc.Paragraphs.push_back(std::move(p));
    }
    return doc;
}

const ts::RichDocument& document()
{
    static const ts::RichDocument doc = mixedDocument(10 * 1024 * 1024);
    return doc;
}

const QByteArray& documentRtf()
{
    static const QByteArray rtf = ts::RtfWriter::write(document());
    return rtf;
}

void BM_RtfWrite(benchmark::State& state)
{
    const ts::RichDocument& doc = document();
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray out = ts::RtfWriter::write(doc);
        size = out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["rtf_bytes"] = double(size);
}
BENCHMARK(BM_RtfWrite)->Unit(benchmark::kMillisecond);

void BM_RtfRead(benchmark::State& state)
{
    const QByteArray& rtf = documentRtf();
    for (auto _ : state) {
        auto doc = std::make_unique<ts::RichDocument>(ts::RtfReader::read(rtf));
        benchmark::DoNotOptimize(doc->Paragraphs.data());
        // Freeing the document is not reading it.
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
    state.counters["rtf_bytes"] = double(rtf.size());
}
BENCHMARK(BM_RtfRead)->Unit(benchmark::kMillisecond);

} // namespace
