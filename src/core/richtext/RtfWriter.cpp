#include "RtfWriter.h"

#include "richtext/HiddenLinkTargets.h"
#include "model/Windows1252.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ts {
namespace {

constexpr char Hex[] = "0123456789abcdef";
constexpr qsizetype Chunk = 4096;     // characters escaped per buffer reservation
constexpr qsizetype MaxPerChar = 9;   // the longest escape: \u-32768?

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
    *d++ = Hex[(b >> 4) & 0xF];
    *d++ = Hex[b & 0xF];
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

enum : std::uint8_t { AsIs = 0, EscapeBrace = 1, Tab = 2, Control = 3 };

constexpr std::array<std::uint8_t, 128> makeAsciiClasses()
{
    std::array<std::uint8_t, 128> t{};
    for (int c = 0; c < 0x20; ++c)
        t[c] = Control;
    t['\t'] = Tab;
    t['\\'] = EscapeBrace;
    t['{'] = EscapeBrace;
    t['}'] = EscapeBrace;
    return t;
}
constexpr std::array<std::uint8_t, 128> Ascii = makeAsciiClasses();

// Windows-1252 byte of a character, or -1: taken once from the program's own
// code page, as a table over every character up to the highest it maps.
class Cp1252Bytes {
public:
    Cp1252Bytes()
    {
        table_.fill(-1);
        char bytes[256];
        for (int b = 0; b < 256; ++b)
            bytes[b] = char(b);
        const QString s = cp1252::decode(bytes, 256);
        for (int b = 0; b < 256; ++b) {
            const char16_t c = s.at(b).unicode();
            if (c < table_.size())
                table_[c] = std::int16_t(b);
        }
    }
    int operator()(char16_t c) const { return c < table_.size() ? table_[c] : -1; }

private:
    std::array<std::int16_t, 0x2200> table_; // U+2122 is the highest
};

const Cp1252Bytes& cp1252Bytes()
{
    static const Cp1252Bytes bytes;
    return bytes;
}

// Copies a stretch of plain ASCII (no control characters, no \ { }) as it
// stands and returns how many characters it took; eight at a time where the
// processor allows.
inline qsizetype copyPlainAscii(const char16_t* src, qsizetype n, char* d)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi16(short(0xFF80));
    const __m128i space = _mm_set1_epi16(0x20);
    const __m128i backslash = _mm_set1_epi16('\\');
    const __m128i open = _mm_set1_epi16('{');
    const __m128i close = _mm_set1_epi16('}');
    const __m128i zero = _mm_setzero_si128();
    while (i + 8 <= n) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        // Everything below 0x80, so signed compares below are safe.
        const __m128i notAscii = _mm_xor_si128(_mm_cmpeq_epi16(_mm_and_si128(x, high), zero), _mm_set1_epi16(-1));
        __m128i special = _mm_or_si128(notAscii, _mm_cmplt_epi16(x, space));
        special = _mm_or_si128(special, _mm_cmpeq_epi16(x, backslash));
        special = _mm_or_si128(special, _mm_cmpeq_epi16(x, open));
        special = _mm_or_si128(special, _mm_cmpeq_epi16(x, close));
        if (_mm_movemask_epi8(special) != 0)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d + i), _mm_packus_epi16(x, x));
        i += 8;
    }
#endif
    while (i < n) {
        const char16_t c = src[i];
        if (c >= 0x80 || Ascii[c] != AsIs)
            break;
        d[i] = char(c);
        ++i;
    }
    return i;
}

// Escapes one run's text. In a symbol font the 8-bit codes (U+F000 + byte, or
// any character with a Windows-1252 byte) are written as bytes: printable
// ASCII as it stands, so that link markup reads the same in every font, the
// rest as \'hh. The reader maps both back to U+F000 + byte, which writes the
// same bytes again.
void appendText(QByteArray& out, const QString& text, bool symbol)
{
    const Cp1252Bytes& byteFor = cp1252Bytes();
    const char16_t* src = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    for (qsizetype start = 0; start < n; start += Chunk) {
        const qsizetype end = std::min(n, start + Chunk);
        const qsizetype base = out.size();
        out.resize(base + (end - start) * MaxPerChar);
        char* const begin = out.data();
        char* d = begin + base;
        qsizetype i = start;
        while (i < end) {
            if (!symbol) {
                const qsizetype plain = copyPlainAscii(src + i, end - i, d);
                d += plain;
                i += plain;
                if (i == end)
                    break;
            }
            const char16_t c = src[i++];
            if (c == u'\t') {
                d = putLiteral(d, "\\tab ", 5);
            } else if (c == u'\u2028') {
                d = putLiteral(d, "\\line ", 6);
            } else if (symbol) {
                const int b = (c & 0xFF00) == 0xF000 ? int(c & 0xFF) : byteFor(c);
                if (b >= 0 && b < 0x80 && Ascii[b] == AsIs)
                    *d++ = char(b);
                else
                    d = b >= 0 ? putHexByte(d, b) : putUnicode(d, c);
            } else if (c < 0x80) {
                if (Ascii[c] == EscapeBrace) {
                    *d++ = '\\';
                    *d++ = char(c);
                } else {
                    d = putHexByte(d, c);
                }
            } else if (c == u'\u2011') {
                d = putLiteral(d, "\\_", 2); // the non-breaking hyphen RTF readers know
            } else {
                const int b = byteFor(c);
                d = b >= 0 ? putHexByte(d, b) : putUnicode(d, c);
            }
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
            const int b = cp1252Bytes()(c);
            d = b >= 0 ? putHexByte(d, b) : putUnicode(d, c);
        }
        out.append(buf, d - buf);
    }
}

// CharFormat equality, cheapest tests first; the face is usually one shared
// string, so its data pointer decides without comparing characters.
inline bool sameFace(const QString& a, const QString& b)
{
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

inline bool sameFormat(const CharFormat& a, const CharFormat& b)
{
    return a.Size == b.Size && a.Colour == b.Colour && a.Bold == b.Bold && a.Italic == b.Italic &&
           a.Underline == b.Underline && a.Strike == b.Strike && a.Hidden == b.Hidden &&
           a.DoubleUnderline == b.DoubleUnderline && a.SmallCaps == b.SmallCaps && a.Vertical == b.Vertical &&
           a.Highlight == b.Highlight && sameFace(a.Face, b.Face);
}

// A tab stop's words: its kind and leader, then its position.
void appendTabStop(QByteArray& out, const TabStop& t)
{
    char buf[48];
    char* d = buf;
    switch (t.Align) {
    case TabStop::Kind::Left: break;
    case TabStop::Kind::Right: d = putLiteral(d, "\\tqr", 4); break;
    case TabStop::Kind::Center: d = putLiteral(d, "\\tqc", 4); break;
    case TabStop::Kind::Decimal: d = putLiteral(d, "\\tqdec", 6); break;
    }
    switch (t.Fill) {
    case TabStop::Leader::None: break;
    case TabStop::Leader::Dots: d = putLiteral(d, "\\tldot", 6); break;
    case TabStop::Leader::Hyphens: d = putLiteral(d, "\\tlhyph", 7); break;
    case TabStop::Leader::Underline: d = putLiteral(d, "\\tlul", 5); break;
    case TabStop::Leader::ThickLine: d = putLiteral(d, "\\tlth", 5); break;
    case TabStop::Leader::Equals: d = putLiteral(d, "\\tleq", 5); break;
    }
    d = putInt(putLiteral(d, "\\tx", 3), t.Position);
    out.append(buf, d - buf);
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

// The paragraph words, "\pard" (or "\par \pard") and the properties the
// paragraph has, without its tab stops.
char* putParagraphWords(char* d, const Paragraph& p, bool first)
{
    d = first ? putLiteral(d, "\\pard", 5) : putLiteral(d, "\\par \\pard", 10);
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
    if (p.SpaceBefore != 0)
        d = putInt(putLiteral(d, "\\sb", 3), p.SpaceBefore);
    if (p.SpaceAfter != 0)
        d = putInt(putLiteral(d, "\\sa", 3), p.SpaceAfter);
    if (p.LineSpacing != 0) {
        d = putInt(putLiteral(d, "\\sl", 3), p.LineSpacing);
        if (p.LineSpacingMultiple)
            d = putLiteral(d, "\\slmult1", 8);
    }
    return d;
}

// A run's character words from "\plain" to the blank before its text;
// `colour` and `highlight` are colour table entries, 0 for none.
char* putCharWords(char* w, const CharFormat& f, int font, int colour, int highlight)
{
    w = putLiteral(w, "\\plain\\f", 8);
    w = putInt(w, font);
    w = putInt(putLiteral(w, "\\fs", 3), f.Size);
    if (colour > 0)
        w = putInt(putLiteral(w, "\\cf", 3), colour);
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
    if (f.DoubleUnderline)
        w = putLiteral(w, "\\uldb", 5);
    if (f.SmallCaps)
        w = putLiteral(w, "\\scaps", 6);
    if (f.Vertical == VerticalPosition::Superscript)
        w = putLiteral(w, "\\super", 6);
    else if (f.Vertical == VerticalPosition::Subscript)
        w = putLiteral(w, "\\sub", 4);
    if (highlight > 0)
        w = putInt(putLiteral(w, "\\highlight", 10), highlight);
    *w++ = ' ';
    return w;
}

} // namespace

// The words of recently written formats, direct-mapped by a hash of the
// format: a document uses few formats, and a hit spares building the words
// and two table look-ups.
struct RtfWriter::WordCache {
    struct Entry {
        CharFormat format;
        char words[128];
        int size = 0;
        bool symbol = false;
        bool valid = false;
    };
    static constexpr std::size_t Slots = 64;
    std::vector<Entry> entries{Slots};
    // Font numbers of recent faces.
    std::array<QString, 4> faces;
    std::array<int, 4> faceIndex{};
    std::size_t facesUsed = 0;
    std::size_t nextFace = 0;

    static std::size_t slot(const CharFormat& f)
    {
        std::size_t h = std::size_t(unsigned(f.Size)) * 0x9E3779B1u;
        h ^= std::size_t(f.Colour ? *f.Colour + 1 : 0) * 0x85EBCA6Bu;
        h ^= std::size_t(f.Bold | f.Italic << 1 | f.Underline << 2 | f.Strike << 3 | f.Hidden << 4) * 0xC2B2AE35u;
        h ^= std::size_t(reinterpret_cast<std::uintptr_t>(f.Face.constData()) >> 4) * 0x27D4EB2Fu;
        h ^= h >> 17;
        return h & (Slots - 1);
    }
};

// Faces registered last, and their font numbers: spares hashing the face of
// every run when a document is registered.
struct RtfWriter::FaceCache {
    std::array<QString, 4> faces;
    std::size_t used = 0;
    std::size_t next = 0;
};

void RtfWriter::addToTables(const RichDocument& document)
{
    FaceCache cache;
    if (document.Paragraphs.empty())
        addToTables(Paragraph(), cache);
    for (const Paragraph& p : document.Paragraphs)
        addToTables(p, cache);
}

void RtfWriter::addToTables(const Paragraph& paragraph)
{
    FaceCache cache;
    addToTables(paragraph, cache);
}

qsizetype RtfWriter::addToTables(const Paragraph& paragraph, FaceCache& cache)
{
    // The tables hold what the lines use: the hotspots as link markup.
    if (hasHiddenTargets(paragraph)) {
        Paragraph markup = paragraph;
        hiddenTargetsToMarkup(markup);
        return addToTables(markup, cache);
    }
    qsizetype size = 16;
    forEachWrittenRun(paragraph, [this, &cache, &size](const Run& r) {
        const CharFormat& f = r.Format;
        size += r.Text.size() + 24;
        bool known = false;
        for (std::size_t i = 0; i < cache.used && !known; ++i)
            known = sameFace(cache.faces[i], f.Face);
        if (!known) {
            if (!fontIndex_.contains(f.Face)) {
                const QString name = tableFaceName(f.Face);
                int index = fontByName_.value(name, -1);
                if (index < 0) {
                    index = int(fonts_.size());
                    fonts_.push_back(name);
                    fontSymbol_.push_back(isSymbolFontFace(name));
                    fontByName_.insert(name, index);
                }
                fontIndex_.insert(f.Face, index);
            }
            cache.faces[cache.next] = f.Face;
            cache.next = (cache.next + 1) % cache.faces.size();
            cache.used = std::min(cache.used + 1, cache.faces.size());
        }
        const auto addColour = [this](std::uint32_t colour) {
            const std::uint32_t rgb = colour & 0xFFFFFF;
            if (!colourIndex_.contains(rgb)) {
                colours_.push_back(rgb);
                colourIndex_.insert(rgb, int(colours_.size())); // entry 0 is the automatic colour
            }
        };
        if (f.Colour)
            addColour(*f.Colour);
        if (f.Highlight)
            addColour(*f.Highlight);
    });
    return size;
}

int RtfWriter::fontIndex(const QString& face) const
{
    return fontIndex_.value(face, 0);
}

int RtfWriter::colourIndex(std::uint32_t rgb) const
{
    return colourIndex_.value(rgb & 0xFFFFFF, 0);
}

QByteArray RtfWriter::openingLines() const
{
    QByteArray out;
    out.reserve(128 + qsizetype(fonts_.size()) * 48 + qsizetype(colours_.size()) * 32);
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
    for (std::uint32_t rgb : colours_) {
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

int RtfWriter::cachedFontIndex(WordCache& cache, const QString& face) const
{
    for (std::size_t i = 0; i < cache.facesUsed; ++i)
        if (sameFace(cache.faces[i], face))
            return cache.faceIndex[i];
    const int font = fontIndex(face);
    cache.faces[cache.nextFace] = face;
    cache.faceIndex[cache.nextFace] = font;
    cache.nextFace = (cache.nextFace + 1) % cache.faces.size();
    cache.facesUsed = std::min(cache.facesUsed + 1, cache.faces.size());
    return font;
}

void RtfWriter::appendParagraphLine(QByteArray& out, const Paragraph& p, bool first, WordCache& cache) const
{
    // Hotspots with hidden targets are written as the reader reads them: as
    // link markup.
    if (hasHiddenTargets(p)) {
        Paragraph markup = p;
        hiddenTargetsToMarkup(markup);
        appendParagraphLine(out, markup, first, cache);
        return;
    }
    char buf[192];
    out.append(buf, putParagraphWords(buf, p, first) - buf);
    for (const TabStop& t : p.Tabs)
        appendTabStop(out, t);

    char previous[sizeof(WordCache::Entry::words)];
    int previousSize = -1;
    forEachWrittenRun(p, [&](const Run& r) {
        WordCache::Entry& e = cache.entries[WordCache::slot(r.Format)];
        if (!e.valid || !sameFormat(e.format, r.Format)) {
            const CharFormat& f = r.Format;
            const int font = cachedFontIndex(cache, f.Face);
            const int colour = f.Colour ? colourIndex(*f.Colour) : 0;
            const int highlight = f.Highlight ? colourIndex(*f.Highlight) : 0;
            e.size = int(putCharWords(e.words, f, font, colour, highlight) - e.words);
            e.symbol = std::size_t(font) < fontSymbol_.size() && fontSymbol_[std::size_t(font)];
            e.format = f;
            e.valid = true;
        }
        // Runs whose formats differ only in what the tables cannot hold (a
        // face name's stripped characters) are one run when read back, so
        // they are written as one.
        if (previousSize != e.size || std::memcmp(previous, e.words, std::size_t(e.size)) != 0) {
            out.append(e.words, e.size);
            std::memcpy(previous, e.words, std::size_t(e.size));
            previousSize = e.size;
        }
        appendText(out, r.Text, e.symbol);
    });
}

QByteArray RtfWriter::write(const RichDocument& document)
{
    RtfWriter writer;
    FaceCache faces;
    qsizetype estimate = 64;
    const Paragraph emptyDocument;
    if (document.Paragraphs.empty())
        estimate += writer.addToTables(emptyDocument, faces);
    for (const Paragraph& p : document.Paragraphs)
        estimate += writer.addToTables(p, faces);

    QByteArray out = writer.openingLines();
    out.reserve(out.size() + estimate + estimate / 8);
    WordCache cache;
    if (document.Paragraphs.empty()) {
        writer.appendParagraphLine(out, emptyDocument, true, cache);
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
