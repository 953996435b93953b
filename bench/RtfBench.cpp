// Reading and writing a 10 MB document with mixed formatting: several faces,
// sizes and colours, bold, italic, underline, strike-out, hidden text, tabs,
// accented letters and a few characters outside Windows-1252.

#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <benchmark/benchmark.h>

#include <iconv.h>
#include <memory>
#include <random>
#include <string>

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
                run.Format.Colour = (rng() % 2) ? 0xFF0000u : 0x0000FFu;
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

void readBenchmark(benchmark::State& state, const QByteArray& rtf)
{
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

void BM_RtfRead(benchmark::State& state)
{
    readBenchmark(state, documentRtf());
}
BENCHMARK(BM_RtfRead)->Unit(benchmark::kMillisecond);

// A 10 MB Japanese document as word processors write it: a Shift-JIS font
// table, text as \'hh pairs (or, with argument 1, as raw 8-bit bytes) mixed
// with ASCII words, bold and size changes.
QByteArray shiftJisDocument(qsizetype targetBytes, bool raw)
{
    const QString words[] = {QStringLiteral(u"こんにちは"), QStringLiteral(u"日本語"), QStringLiteral(u"ヘルプ"),
                             QStringLiteral(u"表示"),       QStringLiteral(u"トピック"), QStringLiteral(u"窓"),
                             QStringLiteral(u"WinHelp"),    QStringLiteral(u"。")};
    // The words in Shift-JIS, from the C library's converter, then as RTF text.
    std::vector<QByteArray> rtfWords;
    const iconv_t cd = iconv_open("CP932", "UTF-8");
    for (const QString& w : words) {
        QByteArray utf8 = w.toUtf8();
        std::string sjis(std::size_t(utf8.size()) * 2, '\0');
        char* in = utf8.data();
        std::size_t inLeft = std::size_t(utf8.size());
        char* out = sjis.data();
        std::size_t outLeft = sjis.size();
        iconv(cd, &in, &inLeft, &out, &outLeft);
        sjis.resize(sjis.size() - outLeft);
        QByteArray rtf;
        for (const char c : sjis) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x80)
                rtf += c == '\\' || c == '{' || c == '}' ? QByteArray("\\") + c : QByteArray(1, c);
            else if (raw)
                rtf += c;
            else
                rtf += "\\'" + QByteArray::number(b, 16);
        }
        rtfWords.push_back(rtf);
    }
    iconv_close(cd);

    std::mt19937 rng(11);
    QByteArray doc("{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 MS Gothic;}"
                   "{\\f1\\fnil\\fcharset0 Arial;}}\r\n\\uc1\\pard\\f0\\fs20 ");
    doc.reserve(targetBytes + 4096);
    while (doc.size() < targetBytes) {
        const int n = 5 + int(rng() % 20);
        for (int w = 0; w < n; ++w) {
            const std::size_t k = rng() % rtfWords.size();
            if (rng() % 9 == 0)
                doc += "{\\b " + rtfWords[k] + "}";
            else if (rng() % 13 == 0)
                doc += "\\f1 WinHelp\\f0 ";
            else
                doc += rtfWords[k];
        }
        doc += "\\par\r\n";
    }
    doc += "}";
    return doc;
}

void BM_RtfReadShiftJis(benchmark::State& state)
{
    readBenchmark(state, shiftJisDocument(10 * 1024 * 1024, state.range(0) != 0));
}
BENCHMARK(BM_RtfReadShiftJis)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
