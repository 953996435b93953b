#include "RtfWriter.h"

#include "model/Windows1252.h"

#include <array>
#include <cstring>

namespace ts {
namespace {

constexpr char kHex[] = "0123456789abcdef";
constexpr qsizetype kChunk = 4096;     // characters escaped per buffer reservation
constexpr qsizetype kMaxPerChar = 9;   // the longest escape: \u-32768?

// The face name as the font table can hold it: without the characters that
// would end the entry or the table, without control characters, and trimmed
// the way the reader trims it, so that a written name reads back unchanged.
QString tableFaceName(const QString& face)
{
    QString out;
    out.reserve(face.size());
    for (QChar c : face) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == u';' || u == u'{' || u == u'}' || u == u'\\')
            continue;
        out.append(c);
    }
    return out.trimmed();
}

inline char* putInt(char* d, int v)
{
    char tmp[12];
    int n = 0;
    unsigned int u = v < 0 ? 0u - unsigned(v) : unsigned(v);
    do {
        tmp[n++] = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (v < 0)
        *d++ = '-';
    while (n)
        *d++ = tmp[--n];
    return d;
}

inline char* putLiteral(char* d, const char* s, std::size_t n)
{
    std::memcpy(d, s, n);
    return d + n;
}

inline char* putHexByte(char* d, int b)
{
    *d++ = '\\';
    *d++ = '\'';
    *d++ = kHex[(b >> 4) & 0xF];
    *d++ = kHex[b & 0xF];
    return d;
}

// \uN? with N the UTF-16 unit as a signed 16-bit number, as RTF wants it.
inline char* putUnicode(char* d, char16_t c)
{
    *d++ = '\\';
    *d++ = 'u';
    d = putInt(d, int(std::int16_t(c)));
    *d++ = '?';
    return d;
}

enum : std::uint8_t { kAsIs = 0, kEscapeBrace = 1, kTab = 2, kControl = 3 };

constexpr std::array<std::uint8_t, 128> makeAsciiClasses()
{
    std::array<std::uint8_t, 128> t{};
    for (int c = 0; c < 0x20; ++c)
        t[c] = kControl;
    t['\t'] = kTab;
    t['\\'] = kEscapeBrace;
    t['{'] = kEscapeBrace;
    t['}'] = kEscapeBrace;
    return t;
}
constexpr std::array<std::uint8_t, 128> kAscii = makeAsciiClasses();

// Escapes one run's text. In a symbol font the 8-bit codes (U+F000 + byte, or
// any character with a Windows-1252 byte) are written as \'hh; the reader
// maps them back to U+F000 + byte, which writes the same bytes again.
void appendText(QByteArray& out, const QString& text, bool symbol)
{
    const char16_t* src = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    for (qsizetype start = 0; start < n; start += kChunk) {
        const qsizetype end = std::min(n, start + kChunk);
        const qsizetype base = out.size();
        out.resize(base + (end - start) * kMaxPerChar);
        char* const begin = out.data();
        char* d = begin + base;
        for (qsizetype i = start; i < end; ++i) {
            const char16_t c = src[i];
            if (c == u'\t') {
                d = putLiteral(d, "\\tab ", 5);
                continue;
            }
            if (c == u'\u2028') {
                d = putLiteral(d, "\\line ", 6);
                continue;
            }
            if (symbol) {
                const int b = (c & 0xFF00) == 0xF000 ? int(c & 0xFF) : cp1252::byteFor(c);
                d = b >= 0 ? putHexByte(d, b) : putUnicode(d, c);
                continue;
            }
            if (c < 0x80) {
                switch (kAscii[c]) {
                case kAsIs:
                    *d++ = char(c);
                    break;
                case kEscapeBrace:
                    *d++ = '\\';
                    *d++ = char(c);
                    break;
                default:
                    d = putHexByte(d, c);
                    break;
                }
                continue;
            }
            const int b = (c >= 0xA0 && c <= 0xFF) ? int(c) : cp1252::byteFor(c);
            d = b >= 0 ? putHexByte(d, b) : putUnicode(d, c);
        }
        out.resize(d - begin);
    }
}

// A face name inside the font table: letters as they are, the rest escaped
// without control words, so that nothing in the name is read as formatting.
void appendFaceName(QByteArray& out, const QString& name)
{
    char buf[16];
    for (QChar qc : name) {
        const char16_t c = qc.unicode();
        char* d = buf;
        if (c < 0x80) {
            *d++ = char(c);
        } else {
            const int b = cp1252::byteFor(c);
            d = b >= 0 ? putHexByte(d, b) : putUnicode(d, c);
        }
        out.append(buf, d - buf);
    }
}

const Run& emptyRun()
{
    static const Run run;
    return run;
}

// The runs a paragraph line holds: those with text, or, in a paragraph
// without text, its last run, which carries the format the paragraph ends in.
// Registration and writing both go through this, so that the tables hold
// exactly what the lines use.
template <typename F>
void forEachWrittenRun(const Paragraph& p, F&& f)
{
    bool any = false;
    for (const Run& r : p.Runs) {
        if (!r.Text.isEmpty()) {
            f(r);
            any = true;
        }
    }
    if (!any)
        f(p.Runs.empty() ? emptyRun() : p.Runs.back());
}

} // namespace

// Recently written formats and their words: a document uses few formats, and
// this spares two table look-ups per run.
struct RtfWriter::WordCache {
    struct Entry {
        CharFormat format;
        char words[96];
        int size = 0;
        bool symbol = false;
        bool valid = false;
    };
    std::array<Entry, 8> entries;
    std::size_t next = 0;
};

void RtfWriter::addToTables(const RichDocument& document)
{
    if (document.Paragraphs.empty())
        addToTables(Paragraph());
    for (const Paragraph& p : document.Paragraphs)
        addToTables(p);
}

void RtfWriter::addToTables(const Paragraph& paragraph)
{
    forEachWrittenRun(paragraph, [this](const Run& r) {
        const CharFormat& f = r.Format;
        if (!fontIndex_.contains(f.Face)) {
            const QString name = tableFaceName(f.Face);
            auto it = fontByName_.constFind(name);
            int index;
            if (it == fontByName_.constEnd()) {
                index = int(fonts_.size());
                fonts_.push_back(name);
                fontSymbol_.push_back(isSymbolFontFace(name));
                fontByName_.insert(name, index);
            } else {
                index = *it;
            }
            fontIndex_.insert(f.Face, index);
        }
        if (f.Color) {
            const std::uint32_t rgb = *f.Color & 0xFFFFFF;
            if (!colorIndex_.contains(rgb)) {
                colors_.push_back(rgb);
                colorIndex_.insert(rgb, int(colors_.size())); // entry 0 is the automatic colour
            }
        }
    });
}

int RtfWriter::fontIndex(const QString& face) const
{
    return fontIndex_.value(face, 0);
}

int RtfWriter::colorIndex(std::uint32_t rgb) const
{
    return colorIndex_.value(rgb & 0xFFFFFF, 0);
}

QByteArray RtfWriter::openingLines() const
{
    QByteArray out;
    out.reserve(128 + qsizetype(fonts_.size()) * 48 + qsizetype(colors_.size()) * 32);
    out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl");
    char buf[64];
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        char* d = putLiteral(buf, "{\\f", 3);
        d = putInt(d, int(i));
        d = fontSymbol_[i] ? putLiteral(d, "\\fnil\\fcharset2 ", 16) : putLiteral(d, "\\fnil\\fcharset0 ", 16);
        out.append(buf, d - buf);
        appendFaceName(out, fonts_[i]);
        out.append(";}");
    }
    out.append("}\r\n{\\colortbl ;");
    for (std::uint32_t rgb : colors_) {
        char* d = putLiteral(buf, "\\red", 4);
        d = putInt(d, int((rgb >> 16) & 0xFF));
        d = putLiteral(d, "\\green", 6);
        d = putInt(d, int((rgb >> 8) & 0xFF));
        d = putLiteral(d, "\\blue", 5);
        d = putInt(d, int(rgb & 0xFF));
        *d++ = ';';
        out.append(buf, d - buf);
    }
    out.append("}\r\n");
    return out;
}

QByteArray RtfWriter::closingLine()
{
    return QByteArrayLiteral("}\r\n");
}

void RtfWriter::appendParagraphLine(QByteArray& out, const Paragraph& paragraph, bool first) const
{
    WordCache cache;
    appendParagraphLine(out, paragraph, first, cache);
}

void RtfWriter::appendParagraphLine(QByteArray& out, const Paragraph& p, bool first, WordCache& cache) const
{
    char buf[64];
    char* d = first ? putLiteral(buf, "\\pard", 5) : putLiteral(buf, "\\par \\pard", 10);
    switch (p.Align) {
    case Alignment::Left: break;
    case Alignment::Center: d = putLiteral(d, "\\qc", 3); break;
    case Alignment::Right: d = putLiteral(d, "\\qr", 3); break;
    case Alignment::Justify: d = putLiteral(d, "\\qj", 3); break;
    }
    if (p.LeftIndent != 0)
        d = putInt(putLiteral(d, "\\li", 3), p.LeftIndent);
    if (p.RightIndent != 0)
        d = putInt(putLiteral(d, "\\ri", 3), p.RightIndent);
    if (p.FirstIndent != 0)
        d = putInt(putLiteral(d, "\\fi", 3), p.FirstIndent);
    out.append(buf, d - buf);

    char previous[sizeof(WordCache::Entry::words)];
    int previousSize = -1;
    forEachWrittenRun(p, [&](const Run& r) {
        const WordCache::Entry* e = nullptr;
        for (const WordCache::Entry& c : cache.entries) {
            if (c.valid && c.format == r.Format) {
                e = &c;
                break;
            }
        }
        if (!e) {
            WordCache::Entry& n = cache.entries[cache.next];
            cache.next = (cache.next + 1) % cache.entries.size();
            const CharFormat& f = r.Format;
            const int font = fontIndex(f.Face);
            char* w = putLiteral(n.words, "\\plain\\f", 8);
            w = putInt(w, font);
            w = putInt(putLiteral(w, "\\fs", 3), f.Size);
            if (f.Color) {
                const int color = colorIndex(*f.Color);
                if (color > 0)
                    w = putInt(putLiteral(w, "\\cf", 3), color);
            }
            if (f.Bold)
                w = putLiteral(w, "\\b", 2);
            if (f.Italic)
                w = putLiteral(w, "\\i", 2);
            if (f.Underline)
                w = putLiteral(w, "\\ul", 3);
            if (f.Strike)
                w = putLiteral(w, "\\strike", 7);
            if (f.Hidden)
                w = putLiteral(w, "\\v", 2);
            *w++ = ' ';
            n.size = int(w - n.words);
            n.symbol = std::size_t(font) < fontSymbol_.size() && fontSymbol_[std::size_t(font)];
            n.format = f;
            n.valid = true;
            e = &n;
        }
        // Runs whose formats differ only in what the tables cannot hold (a
        // face name's stripped characters) are one run when read back, so
        // they are written as one.
        if (previousSize != e->size || std::memcmp(previous, e->words, std::size_t(e->size)) != 0) {
            out.append(e->words, e->size);
            std::memcpy(previous, e->words, std::size_t(e->size));
            previousSize = e->size;
        }
        appendText(out, r.Text, e->symbol);
    });
}

QByteArray RtfWriter::write(const RichDocument& document)
{
    RtfWriter writer;
    writer.addToTables(document);
    QByteArray out = writer.openingLines();

    qsizetype estimate = out.size() + 8;
    for (const Paragraph& p : document.Paragraphs) {
        estimate += 48;
        for (const Run& r : p.Runs)
            estimate += r.Text.size() + r.Text.size() / 8 + 8;
    }
    out.reserve(estimate);

    WordCache cache;
    if (document.Paragraphs.empty()) {
        writer.appendParagraphLine(out, Paragraph(), true, cache);
        out.append("\r\n");
    }
    bool first = true;
    for (const Paragraph& p : document.Paragraphs) {
        writer.appendParagraphLine(out, p, first, cache);
        out.append("\r\n");
        first = false;
    }
    out.append(closingLine());
    return out;
}

} // namespace ts
