#include "HelpFileReader.h"

#include "model/Windows1252.h"

#include <QFile>

#include <algorithm>
#include <functional>

namespace ts::hlpread {

namespace {

[[noreturn]] void fail(const QByteArray& what, const QString& message, qsizetype offset = -1)
{
    QString text = QString::fromLatin1(what) + QStringLiteral(": ") + message;
    if (offset >= 0)
        text += QStringLiteral(" at offset 0x") + QString::number(offset, 16);
    throw HelpFileError(text.toStdString());
}

QString hex(qint64 v) { return QStringLiteral("0x") + QString::number(v, 16); }

// Reads little-endian values from a byte range; every read is bounds-checked
// and reports the offset `base` + position, so that messages name the place
// in the file (or in the decompressed topic stream).
class Cursor {
public:
    Cursor(const QByteArray& data, QByteArray what, qsizetype base = 0, qsizetype from = 0, qsizetype to = -1)
        : d_(data), what_(std::move(what)), base_(base), pos_(from), end_(to < 0 ? data.size() : to)
    {
        if (end_ > d_.size() || from > end_)
            fail(what_, QStringLiteral("range past the end of the data"), base_ + from);
    }

    qsizetype pos() const { return pos_; }
    qsizetype left() const { return end_ - pos_; }
    bool atEnd() const { return pos_ >= end_; }
    qsizetype where() const { return base_ + pos_; }
    [[noreturn]] void error(const QString& message) const { fail(what_, message, where()); }
    [[noreturn]] void errorAt(const QString& message, qsizetype at) const { fail(what_, message, base_ + at); }

    void need(qsizetype n) const
    {
        if (n < 0 || left() < n)
            error(QStringLiteral("%1 bytes needed, %2 left").arg(n).arg(left()));
    }
    std::uint8_t u8()
    {
        need(1);
        return std::uint8_t(d_[pos_++]);
    }
    std::uint16_t u16()
    {
        need(2);
        const auto v = std::uint16_t(std::uint8_t(d_[pos_]) | std::uint8_t(d_[pos_ + 1]) << 8);
        pos_ += 2;
        return v;
    }
    std::int16_t s16() { return std::int16_t(u16()); }
    std::uint32_t u32()
    {
        need(4);
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = v << 8 | std::uint8_t(d_[pos_ + i]);
        pos_ += 4;
        return v;
    }
    std::int32_t s32() { return std::int32_t(u32()); }
    QByteArray bytes(qsizetype n)
    {
        need(n);
        const QByteArray out = d_.mid(pos_, n);
        pos_ += n;
        return out;
    }
    QByteArray stringz()
    {
        const qsizetype nul = d_.indexOf('\0', pos_);
        if (nul < 0 || nul >= end_)
            error(QStringLiteral("string without its terminating NUL"));
        const QByteArray out = d_.mid(pos_, nul - pos_);
        pos_ = nul + 1;
        return out;
    }
    void skip(qsizetype n)
    {
        need(n);
        pos_ += n;
    }
    bool peekLarge() const
    {
        need(1);
        return d_[pos_] & 1;
    }
    // The compressed integers of topic text and pictures.
    int cus() { return peekLarge() ? u16() >> 1 : u8() >> 1; }
    int css() { return peekLarge() ? int(u16() >> 1) - 16384 : int(u8() >> 1) - 64; }
    std::uint32_t cul() { return peekLarge() ? u32() >> 1 : u16() >> 1; }
    std::int32_t csl() { return peekLarge() ? std::int32_t(std::int64_t(u32() >> 1) - 0x40000000) : int(u16() >> 1) - 16384; }

private:
    const QByteArray& d_;
    QByteArray what_;
    qsizetype base_;
    qsizetype pos_;
    qsizetype end_;
};

std::int32_t readS32(const QByteArray& b)
{
    QByteArray copy = b;
    return Cursor(copy, "value").s32();
}

bool bytesLess(const QByteArray& a, const QByteArray& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return std::uint8_t(x) < std::uint8_t(y); });
}
bool signedLess(const QByteArray& a, const QByteArray& b) { return readS32(a) < readS32(b); }
bool unsignedLess(const QByteArray& a, const QByteArray& b) { return std::uint32_t(readS32(a)) < std::uint32_t(readS32(b)); }
// Keywords stand in the order Windows compares words: by their letters
// without case or accent, digits and symbols, hyphens and apostrophes passed
// over; symbols before digits before letters. Checked on that level only
// (what breaks a tie between keywords equal there is the compiler's choice).
std::vector<std::pair<int, char16_t>> keywordWeights(const QByteArray& k)
{
    std::vector<std::pair<int, char16_t>> out;
    for (const QChar c : ts::cp1252::decode(k)) {
        if (c == QLatin1Char('-') || c == QLatin1Char('\'') || c == QChar(0xAD))
            continue;
        const QChar base = QString(c.toLower()).normalized(QString::NormalizationForm_D).front();
        out.emplace_back(base.isLetter() ? 2 : base.isDigit() ? 1 : 0, base.unicode());
    }
    return out;
}
bool keywordLess(const QByteArray& a, const QByteArray& b)
{
    return a != b && keywordWeights(a) <= keywordWeights(b);
}

QByteArray fixedString(Cursor& c, int n)
{
    QByteArray b = c.bytes(n);
    const qsizetype nul = b.indexOf('\0');
    return nul < 0 ? b : b.left(nul);
}

// ---------------------------------------------------------------- B+ trees

struct TreeWalk {
    const QByteArray& data;
    const QByteArray& what;
    BTreeInfo& info;
    bool (*less)(const QByteArray&, const QByteArray&);
    QByteArray fields;                 // Structure
    std::vector<bool> visited;
    std::vector<BTreeEntry> entries;
    QList<std::pair<int, int>> leafLinks; // previous, next of each leaf in order

    qsizetype pageStart(int page) const { return 38 + qsizetype(page) * info.pageSize; }

    QByteArray field(Cursor& c, char kind)
    {
        switch (kind) {
        case 'z':
        case 'F':
            return c.stringz();
        case 'L':
        case '4':
            return c.bytes(4);
        case '2':
            return c.bytes(2);
        default:
            c.error(QStringLiteral("unsupported Structure letter '%1'").arg(QLatin1Char(kind)));
        }
    }

    // The bytes after a page's entries are zero.
    void zeroRest(Cursor& c, int page)
    {
        const QByteArray rest = c.bytes(c.left());
        if (rest.count('\0') != rest.size())
            c.error(QStringLiteral("page %1 holds bytes after its entries").arg(page));
    }

    // Checks the subtree under `page` at `depth` (1 = root) and returns its
    // smallest key.
    QByteArray walk(int page, int depth)
    {
        if (page < 0 || page >= info.totalPages)
            fail(what, QStringLiteral("page number %1 outside the %2 pages").arg(page).arg(info.totalPages));
        if (visited[size_t(page)])
            fail(what, QStringLiteral("page %1 is reached twice").arg(page));
        visited[size_t(page)] = true;
        Cursor c(data, what, 0, pageStart(page), pageStart(page) + info.pageSize);
        const int unused = c.u16();
        const int n = c.s16();
        if (n < 0)
            c.error(QStringLiteral("negative entry count %1 in page %2").arg(n).arg(page));
        if (depth < info.levels) {
            const int first = c.s16();
            QList<std::pair<QByteArray, int>> children{{QByteArray(), first}};
            for (int i = 0; i < n; ++i) {
                const QByteArray key = field(c, fields[0]);
                children.append({key, c.s16()});
            }
            if (unused != info.pageSize - 6 - (c.pos() - pageStart(page) - 6))
                c.error(QStringLiteral("index page %1 says %2 bytes unused").arg(page).arg(unused));
            zeroRest(c, page);
            QByteArray smallest;
            for (qsizetype i = 0; i < children.size(); ++i) {
                const QByteArray key = walk(children[i].second, depth + 1);
                if (i == 0)
                    smallest = key;
                else if (children[i].first != key)
                    fail(what, QStringLiteral("index page %1 key %2 differs from the first key of page %3")
                                   .arg(page).arg(i).arg(children[i].second));
            }
            return smallest;
        }
        const int previous = c.s16();
        const int next = c.s16();
        leafLinks.append({previous, next});
        info.leafPages.append(page);
        QByteArray first;
        for (int i = 0; i < n; ++i) {
            BTreeEntry e;
            for (char kind : fields)
                e.append(field(c, kind));
            if (i == 0)
                first = e[0];
            entries.push_back(e);
        }
        if (unused != info.pageSize - 8 - (c.pos() - pageStart(page) - 8))
            c.error(QStringLiteral("leaf page %1 says %2 bytes unused").arg(page).arg(unused));
        zeroRest(c, page);
        if (n == 0 && depth > 1)
            fail(what, QStringLiteral("empty leaf page %1 below an index page").arg(page));
        return first;
    }
};

} // namespace

std::vector<BTreeEntry> readBTree(const QByteArray& data, const QByteArray& what, BTreeInfo& info,
                                  bool (*less)(const QByteArray&, const QByteArray&))
{
    Cursor c(data, what);
    if (c.u16() != 0x293B)
        fail(what, QStringLiteral("not a B+ tree (wrong magic)"), 0);
    info.flags = c.u16();
    info.pageSize = c.u16();
    info.structure = fixedString(c, 16);
    if (c.s16() != 0)
        fail(what, QStringLiteral("B+ tree field that must be 0 is not"), 22);
    c.s16(); // page splits
    info.rootPage = c.s16();
    if (c.s16() != -1)
        fail(what, QStringLiteral("B+ tree field that must be -1 is not"), 28);
    info.totalPages = c.s16();
    info.levels = c.s16();
    info.totalEntries = c.s32();
    if (info.pageSize < 16)
        fail(what, QStringLiteral("page size %1 too small").arg(info.pageSize), 4);
    if (info.totalPages < 1 || info.levels < 1 || info.levels > info.totalPages || info.levels > 16)
        fail(what, QStringLiteral("%1 pages in %2 levels").arg(info.totalPages).arg(info.levels), 30);
    if (38 + qsizetype(info.totalPages) * info.pageSize != data.size())
        fail(what, QStringLiteral("%1 pages of %2 bytes do not make the %3 data bytes")
                       .arg(info.totalPages).arg(info.pageSize).arg(data.size()));
    if (info.structure.isEmpty())
        fail(what, QStringLiteral("empty Structure"), 6);

    TreeWalk walk{data, what, info, less, info.structure, std::vector<bool>(size_t(info.totalPages)), {}, {}};
    info.leafPages.clear();
    walk.walk(info.rootPage, 1);
    for (int p = 0; p < info.totalPages; ++p)
        if (!walk.visited[size_t(p)])
            fail(what, QStringLiteral("page %1 is not reachable from the root").arg(p));
    for (qsizetype i = 0; i < info.leafPages.size(); ++i) {
        const int previous = i == 0 ? -1 : info.leafPages[i - 1];
        const int next = i + 1 == info.leafPages.size() ? -1 : info.leafPages[i + 1];
        if (walk.leafLinks[i] != std::pair<int, int>{previous, next})
            fail(what, QStringLiteral("leaf page %1 links to %2/%3 instead of %4/%5")
                           .arg(info.leafPages[i]).arg(walk.leafLinks[i].first).arg(walk.leafLinks[i].second)
                           .arg(previous).arg(next));
    }
    if (qsizetype(walk.entries.size()) != info.totalEntries)
        fail(what, QStringLiteral("header counts %1 entries, the leaves hold %2")
                       .arg(info.totalEntries).arg(walk.entries.size()));
    for (size_t i = 1; i < walk.entries.size(); ++i)
        if (!less(walk.entries[i - 1][0], walk.entries[i][0]))
            fail(what, QStringLiteral("keys out of order at entry %1").arg(i));
    return walk.entries;
}

// ------------------------------------------------------------ small pieces

std::int32_t contextHash(const QByteArray& topicId)
{
    static const std::int8_t table[256] = {
        0,    -47,  -46,  -45,  -44,  -43,  -42,  -41,  -40,  -39,  -38,  -37,  -36,  -35,  -34,  -33,
        -32,  -31,  -30,  -29,  -28,  -27,  -26,  -25,  -24,  -23,  -22,  -21,  -20,  -19,  -18,  -17,
        -16,  11,   -14,  -13,  -12,  -11,  -10,  -9,   -8,   -7,   -6,   -5,   -4,   -3,   12,   -1,
        10,   1,    2,    3,    4,    5,    6,    7,    8,    9,    10,   11,   12,   13,   14,   15,
        16,   17,   18,   19,   20,   21,   22,   23,   24,   25,   26,   27,   28,   29,   30,   31,
        32,   33,   34,   35,   36,   37,   38,   39,   40,   41,   42,   11,   12,   13,   14,   13,
        16,   17,   18,   19,   20,   21,   22,   23,   24,   25,   26,   27,   28,   29,   30,   31,
        32,   33,   34,   35,   36,   37,   38,   39,   40,   41,   42,   43,   44,   45,   46,   47,
        80,   81,   82,   83,   84,   85,   86,   87,   88,   89,   90,   91,   92,   93,   94,   95,
        96,   97,   98,   99,   100,  101,  102,  103,  104,  105,  106,  107,  108,  109,  110,  111,
        112,  113,  114,  115,  116,  117,  118,  119,  120,  121,  122,  123,  124,  125,  126,  127,
        -128, -127, -126, -125, 11,   -123, -122, -121, -120, -119, -118, -117, -116, -115, -114, -113,
        -112, -111, -110, -109, -108, -107, -106, -105, -104, -103, -102, -101, -100, -99,  -98,  -97,
        -96,  -95,  -94,  -93,  -92,  -91,  -90,  -89,  -88,  -87,  -86,  -85,  -84,  -83,  -82,  -81,
        -80,  -79,  -78,  -77,  -76,  -75,  -74,  -73,  -72,  -71,  -70,  -69,  -68,  -67,  -66,  -65,
        -64,  -63,  -62,  -61,  -60,  -59,  -58,  -57,  -56,  -55,  -54,  -53,  -52,  -51,  -50,  -49,
    };
    if (topicId.isEmpty())
        return 1;
    std::uint32_t h = 0;
    for (char ch : topicId)
        h = h * 43u + std::uint32_t(std::int32_t(table[std::uint8_t(ch)]));
    return std::int32_t(h);
}

QByteArray lz77Decompress(const QByteArray& in)
{
    QByteArray out;
    qsizetype i = 0;
    while (i < in.size()) {
        const std::uint8_t flags = std::uint8_t(in[i++]);
        for (int bit = 0; bit < 8 && i < in.size(); ++bit) {
            if (!(flags & (1 << bit))) {
                out.append(in[i++]);
                continue;
            }
            if (i + 1 >= in.size())
                fail("LZ77 data", QStringLiteral("back-reference cut off by the end of the data"), i);
            const int w = std::uint8_t(in[i]) | std::uint8_t(in[i + 1]) << 8;
            const int length = (w >> 12) + 3;
            const qsizetype distance = (w & 0x0FFF) + 1;
            if (distance > out.size())
                fail("LZ77 data", QStringLiteral("back-reference %1 bytes back with only %2 decoded")
                                      .arg(distance).arg(out.size()), i);
            for (int k = 0; k < length; ++k)
                out.append(out[out.size() - distance]);
            i += 2;
        }
    }
    return out;
}

Paragraph::Align Paragraph::align() const
{
    return bits & 0x0800 ? Center : bits & 0x0400 ? Right : Left;
}

QByteArray Paragraph::plainText() const
{
    QByteArray out;
    for (const Piece& p : pieces) {
        switch (p.kind) {
        case Piece::Text: out += p.text; break;
        case Piece::Tab: out += '\t'; break;
        case Piece::LineBreak: out += '\n'; break;
        case Piece::NbSpace: out += '\xA0'; break;
        case Piece::NbHyphen: break;
        case Piece::Picture: out += "{bm " + QByteArray::number(pictures[p.picture].number) + '}'; break;
        case Piece::Button: out += "{button " + (p.text.startsWith('!') ? p.text.mid(1) : p.text) + '}'; break;
        }
    }
    return out;
}

const InternalFile* HelpFile::file(const QByteArray& name) const
{
    for (const InternalFile& f : files)
        if (f.name == name)
            return &f;
    return nullptr;
}

const Topic* HelpFile::topicAt(std::uint32_t topicOffset) const
{
    for (const Topic& t : topics)
        if (t.topicOffset == topicOffset)
            return &t;
    return nullptr;
}

const FontDescriptor& HelpFile::font(int number) const
{
    if (number < 0 || number >= fonts.size())
        throw HelpFileError(QStringLiteral("|FONT: no descriptor %1 (%2 exist)").arg(number).arg(fonts.size()).toStdString());
    return fonts[number];
}

namespace {

// ------------------------------------------------------------------ |SYSTEM

WindowRecord readWindow(Cursor& c)
{
    WindowRecord w;
    w.flags = c.u16();
    w.type = fixedString(c, 10);
    w.name = fixedString(c, 9);
    w.caption = fixedString(c, 51);
    w.x = c.s16();
    w.y = c.s16();
    w.width = c.s16();
    w.height = c.s16();
    w.state = c.u16();
    w.scrollColour = c.u32();
    w.nonScrollColour = c.u32();
    return w;
}

SystemInfo readSystem(const InternalFile& f)
{
    SystemInfo s;
    Cursor c(f.data, "|SYSTEM", f.headerOffset + 9);
    s.magic = c.u16();
    if (s.magic != 0x036C)
        c.errorAt(QStringLiteral("wrong magic %1").arg(hex(s.magic)), 0);
    s.minor = c.u16();
    s.major = c.u16();
    s.generated = c.u32();
    s.flags = c.u16();
    if (s.minor <= 16)
        c.errorAt(QStringLiteral("version %1.%2 without records is not read").arg(s.major).arg(s.minor), 2);
    while (!c.atEnd()) {
        const int type = c.u16();
        const int size = c.u16();
        const qsizetype start = c.pos();
        c.need(size);
        Cursor r(f.data, "|SYSTEM", f.headerOffset + 9, start, start + size);
        auto whole = [&](int expected) {
            if (size != expected)
                c.errorAt(QStringLiteral("record %1 has %2 bytes instead of %3").arg(type).arg(size).arg(expected), start - 4);
        };
        auto text = [&] {
            QByteArray t = r.stringz();
            if (!r.atEnd())
                r.error(QStringLiteral("bytes after the string of record %1").arg(type));
            return t;
        };
        s.recordTypes.append(type);
        switch (type) {
        case 1: s.title = text(); break;
        case 2: s.copyright = text(); break;
        case 3: whole(4); s.contents = r.u32(); break;
        case 4: s.configMacros.append(text()); break;
        case 6: whole(90); s.windows.append(readWindow(r)); break;
        case 9: whole(10); r.skip(8); s.lcid = r.u16(); break;
        case 10: s.cntName = text(); break;
        case 11: s.charset = r.bytes(size); break;
        default: break;
        }
        c.skip(size);
    }
    return s;
}

// -------------------------------------------------------------------- |FONT

void readFonts(const InternalFile& f, HelpFile& out)
{
    Cursor c(f.data, "|FONT", f.headerOffset + 9);
    const int faces = c.u16();
    const int descriptors = c.u16();
    const int facesAt = c.u16();
    const int descriptorsAt = c.u16();
    if (facesAt < 8 || descriptorsAt < facesAt || (faces > 0 && (descriptorsAt - facesAt) % faces != 0))
        c.errorAt(QStringLiteral("face names at %1 and descriptors at %2 for %3 faces").arg(facesAt).arg(descriptorsAt).arg(faces), 4);
    const int faceLength = faces ? (descriptorsAt - facesAt) / faces : 0;
    Cursor names(f.data, "|FONT", f.headerOffset + 9, facesAt);
    for (int i = 0; i < faces; ++i)
        out.faces.append(fixedString(names, faceLength));
    Cursor d(f.data, "|FONT", f.headerOffset + 9, descriptorsAt);
    for (int i = 0; i < descriptors; ++i) {
        FontDescriptor fd;
        fd.attributes = d.u8();
        fd.halfPoints = d.u8();
        fd.family = d.u8();
        fd.faceIndex = d.u16();
        if (fd.faceIndex >= faces)
            d.error(QStringLiteral("descriptor %1 names face %2 of %3").arg(i).arg(fd.faceIndex).arg(faces));
        fd.face = out.faces[fd.faceIndex];
        const std::uint32_t r = d.u8(), g = d.u8(), b = d.u8();
        fd.colour = r << 16 | g << 8 | b;
        d.skip(3);
        out.fonts.append(fd);
    }
}

// ------------------------------------------------------------------- |TOPIC

struct TopicStream {
    QList<QByteArray> blocks;    // each block's record bytes
    QList<qsizetype> starts;     // stream position of each block's first byte
    QByteArray stream;           // all blocks one after the other
    QList<std::array<std::int32_t, 3>> headers;

    // The stream position of a TOPICPOS, checked.
    qsizetype locate(std::int32_t topicPos, const QString& what) const
    {
        const qsizetype block = std::uint32_t(topicPos) / 0x4000;
        const qsizetype offset = std::uint32_t(topicPos) % 0x4000 - 12;
        if (topicPos < 0 || block >= blocks.size() || offset < 0 || offset >= blocks[block].size())
            fail("|TOPIC", what + QStringLiteral(" TOPICPOS %1 points outside the blocks").arg(hex(topicPos)));
        return starts[block] + offset;
    }
    int blockOf(qsizetype streamPos) const
    {
        return int(std::upper_bound(starts.begin(), starts.end(), streamPos) - starts.begin()) - 1;
    }
};

TopicStream readBlocks(const InternalFile& f, bool compressed)
{
    TopicStream s;
    for (qsizetype at = 0; at < f.data.size(); at += 4096) {
        Cursor c(f.data, "|TOPIC", f.headerOffset + 9, at, std::min<qsizetype>(at + 4096, f.data.size()));
        std::array<std::int32_t, 3> h{c.s32(), c.s32(), c.s32()};
        QByteArray raw = c.bytes(c.left());
        if (compressed) {
            try {
                raw = lz77Decompress(raw);
            } catch (const HelpFileError& e) {
                fail("|TOPIC", QStringLiteral("block %1: %2").arg(s.blocks.size()).arg(QString::fromUtf8(e.what())),
                     f.headerOffset + 9 + at);
            }
            if (raw.size() > 0x4000)
                fail("|TOPIC", QStringLiteral("block %1 decompresses to %2 bytes").arg(s.blocks.size()).arg(raw.size()),
                     f.headerOffset + 9 + at);
        }
        s.headers.append(h);
        s.starts.append(s.stream.size());
        s.blocks.append(raw);
        s.stream += raw;
    }
    if (s.blocks.isEmpty())
        fail("|TOPIC", QStringLiteral("no blocks"));
    return s;
}

struct RawRecord {
    std::int32_t pos = 0;
    qsizetype at = 0; // stream position
    std::int32_t blockSize = 0, dataLen2 = 0, prev = 0, next = 0, dataLen1 = 0;
    std::uint8_t type = 0;
    QByteArray linkData1, linkData2;
    std::uint32_t topicOffset = 0;
};

void readText(const RawRecord& r, QList<Paragraph>& into, bool nonScrolling)
{
    const QString where = QStringLiteral("text record at TOPICPOS ") + hex(r.pos);
    const QByteArray what = where.toLatin1();
    Cursor c(r.linkData1, what);
    const std::int32_t topicSize = c.csl();
    const int topicLength = c.cus();
    if (topicSize != c.left())
        c.error(QStringLiteral("TopicSize %1 but %2 bytes follow").arg(topicSize).arg(c.left()));
    c.u8();
    c.u8();
    c.u16();
    Paragraph format;
    format.nonScrolling = nonScrolling;
    format.bits = c.u16();
    const std::uint16_t b = format.bits;
    if (b & 0x0001)
        c.csl();
    if (b & 0x0002)
        format.spaceBefore = c.css();
    if (b & 0x0004)
        format.spaceAfter = c.css();
    if (b & 0x0008)
        format.lineSpacing = c.css();
    if (b & 0x0010)
        format.leftIndent = c.css();
    if (b & 0x0020)
        format.rightIndent = c.css();
    if (b & 0x0040)
        format.firstIndent = c.css();
    if (b & 0x0100) {
        format.border = c.u8();
        c.s16();
    }
    if (b & 0x0200) {
        const int n = c.css();
        if (n < 0)
            c.error(QStringLiteral("negative tab count"));
        for (int i = 0; i < n; ++i) {
            const int position = c.cus();
            format.tabs.append({position & 0x3FFF, position & 0x4000 ? c.cus() : 0});
        }
    }

    Cursor strings(r.linkData2, what);
    Paragraph p = format;
    int font = -1;
    int hotspot = -1;
    int counted = int(r.linkData2.size());
    auto addPiece = [&](Piece::Kind kind, const QByteArray& text = QByteArray()) {
        Piece piece{kind, text, font, hotspot, -1};
        if (hotspot >= 0 && kind == Piece::Text)
            p.hotspots[hotspot].text += text;
        p.pieces.append(piece);
    };
    auto openHotspot = [&](Hotspot h) {
        if (hotspot >= 0)
            c.error(QStringLiteral("hotspot inside a hotspot"));
        p.hotspots.append(h);
        hotspot = int(p.hotspots.size() - 1);
    };
    auto closeParagraph = [&] {
        if (hotspot >= 0)
            c.error(QStringLiteral("hotspot not closed at the end of the paragraph"));
        into.append(p);
        p = format;
    };
    for (;;) {
        const QByteArray text = strings.stringz();
        if (!text.isEmpty())
            addPiece(Piece::Text, text);
        const std::uint8_t code = c.u8();
        switch (code) {
        case 0x80: font = c.u16(); break;
        case 0x81: addPiece(Piece::LineBreak); break;
        case 0x82: closeParagraph(); break;
        case 0x83: addPiece(Piece::Tab); break;
        case 0x8B: addPiece(Piece::NbSpace); break;
        case 0x8C: addPiece(Piece::NbHyphen); break;
        case 0x86:
        case 0x87:
        case 0x88: {
            const std::uint8_t type = c.u8();
            const std::int32_t size = c.csl();
            if (type == 0x22) {
                counted += c.cus();
                Cursor data(r.linkData1, what, 0, c.pos(), c.pos() + size);
                if (size < 4 || data.s16() != 0)
                    c.error(QStringLiteral("picture not stored in a file of its own"));
                p.pictures.append(Picture{code, data.s16()});
                addPiece(Piece::Picture);
                p.pieces.last().picture = int(p.pictures.size() - 1);
            } else if (type == 0x05) {
                Cursor data(r.linkData1, what, 0, c.pos(), c.pos() + size);
                data.skip(6);
                addPiece(Piece::Button, data.stringz());
            } else {
                c.error(QStringLiteral("unknown picture type %1").arg(hex(type)));
            }
            c.skip(size);
            break;
        }
        case 0xE2:
        case 0xE3:
        case 0xE6:
        case 0xE7: {
            Hotspot h;
            h.code = code;
            h.kind = code & 1 ? Hotspot::Jump : Hotspot::Popup;
            h.plain = code & 4;
            h.hash = c.s32();
            openHotspot(h);
            break;
        }
        case 0xEA:
        case 0xEB:
        case 0xEE:
        case 0xEF: {
            Hotspot h;
            h.code = code;
            h.kind = code & 1 ? Hotspot::Jump : Hotspot::Popup;
            h.plain = code & 4;
            const int n = c.u16();
            Cursor data(r.linkData1, what, 0, c.pos(), c.pos() + n);
            h.linkKind = data.u8();
            h.hash = data.s32();
            if (h.linkKind == 1)
                h.windowNumber = data.u8();
            else if (h.linkKind == 4)
                h.file = data.stringz();
            else if (h.linkKind == 6) {
                h.windowName = data.stringz();
                h.file = data.stringz();
            } else if (h.linkKind != 0)
                data.error(QStringLiteral("unknown link kind %1").arg(h.linkKind));
            if (!data.atEnd())
                data.error(QStringLiteral("%1 bytes left over in a link").arg(data.left()));
            c.skip(n);
            openHotspot(h);
            break;
        }
        case 0xC8:
        case 0xCC: {
            Hotspot h;
            h.code = code;
            h.kind = Hotspot::Macro;
            h.plain = code & 4;
            const int n = c.u16();
            Cursor data(r.linkData1, what, 0, c.pos(), c.pos() + n);
            h.macro = data.stringz();
            if (!data.atEnd())
                data.error(QStringLiteral("macro length %1 does not end at its NUL").arg(n));
            c.skip(n);
            openHotspot(h);
            break;
        }
        case 0x89:
            if (hotspot < 0)
                c.error(QStringLiteral("end of a hotspot that was not opened"));
            hotspot = -1;
            break;
        case 0xFF:
            if (!p.pieces.isEmpty())
                closeParagraph();
            if (hotspot >= 0)
                c.error(QStringLiteral("hotspot not closed at the end of the record"));
            if (!c.atEnd())
                c.error(QStringLiteral("%1 bytes after the end command").arg(c.left()));
            if (!strings.atEnd())
                strings.error(QStringLiteral("%1 text bytes without a command").arg(strings.left()));
            if (topicLength != counted)
                fail(what, QStringLiteral("TopicLength %1, but text and pictures count %2").arg(topicLength).arg(counted));
            return;
        default:
            c.error(QStringLiteral("unknown command %1").arg(hex(code)));
        }
    }
}

void readTopics(const InternalFile& f, HelpFile& out)
{
    if (out.system.flags != 0 && out.system.flags != 4)
        fail("|SYSTEM", QStringLiteral("flags %1: only 0 and 4 are read").arg(out.system.flags));
    out.compressed = out.system.flags == 4;
    const TopicStream s = readBlocks(f, out.compressed);
    out.topicBlocks = int(s.blocks.size());

    QList<RawRecord> records;
    std::int32_t pos = s.headers[0][1];
    std::int32_t previous = -1;
    int block = -1;
    std::uint32_t chars = 0;
    while (pos != -1) {
        RawRecord r;
        r.pos = pos;
        r.at = s.locate(pos, QStringLiteral("record"));
        if (!records.isEmpty() && r.at <= records.last().at)
            fail("|TOPIC", QStringLiteral("record chain goes backwards to TOPICPOS %1").arg(hex(pos)));
        Cursor c(s.stream, "|TOPIC stream", 0, r.at);
        r.blockSize = c.s32();
        r.dataLen2 = c.s32();
        r.prev = c.s32();
        r.next = c.s32();
        r.dataLen1 = c.s32();
        r.type = c.u8();
        const QString here = QStringLiteral(" in the record at TOPICPOS ") + hex(pos);
        if (r.prev != previous)
            fail("|TOPIC", QStringLiteral("PrevBlock %1 instead of %2").arg(hex(r.prev), hex(previous)) + here);
        if (r.dataLen1 < 21 || r.blockSize < r.dataLen1 || r.blockSize - r.dataLen1 != r.dataLen2)
            fail("|TOPIC", QStringLiteral("sizes BlockSize %1, DataLen1 %2, DataLen2 %3 do not agree")
                               .arg(r.blockSize).arg(r.dataLen1).arg(r.dataLen2) + here);
        const int b = s.blockOf(r.at);
        if (r.at + r.dataLen1 > s.starts[b] + s.blocks[b].size())
            fail("|TOPIC", QStringLiteral("header and LinkData1 cross the end of block %1").arg(b) + here);
        if (r.at + r.blockSize > s.stream.size())
            fail("|TOPIC", QStringLiteral("record runs past the last block") + here);
        if (r.at + r.blockSize > s.starts[b] + s.blocks[b].size())
            ++out.crossingRecords;
        r.linkData1 = s.stream.mid(r.at + 21, r.dataLen1 - 21);
        r.linkData2 = s.stream.mid(r.at + r.dataLen1, r.dataLen2);
        out.topicUncompressedSize += r.blockSize;
        if (b != block) {
            block = b;
            chars = 0;
        }
        r.topicOffset = std::uint32_t(b) * 0x8000 + chars;
        if (r.type == 0x20) {
            Cursor lengths(r.linkData1, "text record");
            lengths.csl();
            chars += std::uint32_t(lengths.cus());
        } else if (r.type != 2) {
            fail("|TOPIC", QStringLiteral("record type %1 is not read").arg(hex(r.type)) + here);
        }
        records.append(r);
        previous = pos;
        pos = r.next;
    }
    if (records.isEmpty() || records.last().type != 2)
        fail("|TOPIC", QStringLiteral("the chain does not end with the closing topic header"));

    // Block headers against the records that start in each block.
    for (qsizetype bi = 0; bi < s.blocks.size(); ++bi) {
        std::int32_t lastLink = -1, lastHeader = 0, first = -1;
        for (const RawRecord& r : records) {
            const int b = s.blockOf(r.at);
            if (b < bi) {
                lastLink = r.pos;
                if (r.type == 2)
                    lastHeader = r.pos;
            } else if (b == bi && first == -1) {
                first = r.pos;
            }
        }
        if (first == -1)
            continue;
        const std::array<std::int32_t, 3> want{lastLink, first, lastHeader};
        if (s.headers[bi] != want)
            fail("|TOPIC", QStringLiteral("block %1 header holds %2 %3 %4 instead of %5 %6 %7")
                               .arg(bi).arg(hex(s.headers[bi][0]), hex(s.headers[bi][1]), hex(s.headers[bi][2]),
                                            hex(want[0]), hex(want[1]), hex(want[2])));
    }

    // Topics.
    QList<std::pair<Topic, QList<const RawRecord*>>> topics;
    for (const RawRecord& r : records) {
        if (r.type == 2) {
            Cursor c(r.linkData1, QString(QStringLiteral("topic header at TOPICPOS ") + hex(r.pos)).toLatin1());
            Topic t;
            t.topicPos = r.pos;
            t.topicOffset = r.topicOffset;
            t.blockSize = c.s32();
            t.browseBack = c.s32();
            t.browseForward = c.s32();
            t.topicNumber = c.s32();
            t.nonScroll = c.s32();
            t.scroll = c.s32();
            t.nextTopic = c.s32();
            const QList<QByteArray> parts = r.linkData2.split('\0');
            t.title = parts.value(0);
            t.entryMacros = parts.mid(1);
            topics.append({t, {}});
        } else {
            if (topics.isEmpty())
                fail("|TOPIC", QStringLiteral("text record before the first topic header at TOPICPOS ") + hex(r.pos));
            topics.last().second.append(&r);
        }
    }
    const Topic end = topics.last().first;
    if (!topics.last().second.isEmpty() || !end.title.isEmpty() || end.nonScroll != -1 || end.scroll != -1 ||
        end.nextTopic != -1)
        fail("|TOPIC", QStringLiteral("the closing topic header at TOPICPOS %1 is not empty").arg(hex(end.topicPos)));
    out.endOffset = end.topicOffset;
    for (qsizetype i = 0; i < topics.size(); ++i) {
        Topic& t = topics[i].first;
        const QString here = QStringLiteral(" in the topic header at TOPICPOS ") + hex(t.topicPos);
        if (t.topicNumber != i)
            fail("|TOPIC", QStringLiteral("TopicNum %1 instead of %2").arg(t.topicNumber).arg(i) + here);
        if (i + 1 < topics.size() && t.nextTopic != topics[i + 1].first.topicPos)
            fail("|TOPIC", QStringLiteral("NextTopic %1 instead of %2").arg(hex(t.nextTopic), hex(topics[i + 1].first.topicPos)) + here);
        if (i + 1 == topics.size())
            break;
        const QList<const RawRecord*>& texts = topics[i].second;
        qsizetype scrollAt = texts.size();
        if (t.scroll != -1) {
            scrollAt = std::find_if(texts.begin(), texts.end(), [&](const RawRecord* r) { return r->pos == t.scroll; }) - texts.begin();
            if (scrollAt == texts.size())
                fail("|TOPIC", QStringLiteral("Scroll %1 is none of the topic's records").arg(hex(t.scroll)) + here);
        }
        if (!texts.isEmpty()) {
            const std::int32_t firstPos = texts.first()->pos;
            if ((t.nonScroll != -1) != (scrollAt > 0) || (t.nonScroll != -1 && t.nonScroll != firstPos))
                fail("|TOPIC", QStringLiteral("NonScroll %1 does not name the topic's first header record").arg(hex(t.nonScroll)) + here);
        } else if (t.nonScroll != -1 || t.scroll != -1) {
            fail("|TOPIC", QStringLiteral("NonScroll/Scroll set for a topic without text") + here);
        }
        for (qsizetype k = 0; k < texts.size(); ++k)
            readText(*texts[k], k < scrollAt ? t.header : t.body, k < scrollAt);
        out.topics.append(t);
    }
    for (const Topic& t : out.topics)
        for (std::int32_t browse : {t.browseBack, t.browseForward})
            if (browse != -1 && !out.topicAt(std::uint32_t(browse)))
                fail("|TOPIC", QStringLiteral("browse link %1 is no topic").arg(hex(browse)));
}

// ---------------------------------------------------- lookups and keywords

std::uint32_t u32Of(const QByteArray& b) { return std::uint32_t(readS32(b)); }
int u16Of(const QByteArray& b) { return std::uint8_t(b[0]) | std::uint8_t(b[1]) << 8; }

void needTopic(const HelpFile& h, std::uint32_t offset, const QByteArray& what)
{
    if (!h.topicAt(offset))
        fail(what, QStringLiteral("TOPICOFFSET %1 is no topic").arg(hex(offset)));
}

std::vector<BTreeEntry> tree(HelpFile& h, const QByteArray& name, const QByteArray& structure,
                             bool (*less)(const QByteArray&, const QByteArray&))
{
    const InternalFile* f = h.file(name);
    if (!f)
        return {};
    BTreeInfo info;
    auto entries = readBTree(f->data, name, info, less);
    if (info.structure != structure)
        fail(name, QStringLiteral("Structure \"%1\" instead of \"%2\"").arg(QString::fromLatin1(info.structure), QString::fromLatin1(structure)));
    h.trees.insert(name, info);
    return entries;
}

void readKeywords(HelpFile& h, char letter, QList<std::pair<QByteArray, QList<std::uint32_t>>>& out)
{
    const QByteArray btree = QByteArray("|") + letter + "WBTREE", dataName = QByteArray("|") + letter + "WDATA",
                     mapName = QByteArray("|") + letter + "WMAP";
    const InternalFile* data = h.file(dataName);
    const InternalFile* map = h.file(mapName);
    if (!h.file(btree)) {
        if (data || map)
            fail(dataName, QStringLiteral("keyword data without %1").arg(QString::fromLatin1(btree)));
        return;
    }
    if (!data || !map)
        fail(btree, QStringLiteral("keyword tree without its data or map file"));
    const auto entries = tree(h, btree, "F24", keywordLess);
    std::uint32_t expectedOffset = 0;
    for (const BTreeEntry& e : entries) {
        const int count = u16Of(e[1]);
        const std::uint32_t offset = u32Of(e[2]);
        if (offset != expectedOffset || count < 1)
            fail(btree, QStringLiteral("keyword \"%1\": %2 topics at %3, expected the list at %4")
                            .arg(QString::fromLatin1(e[0])).arg(count).arg(offset).arg(expectedOffset));
        Cursor c(data->data, dataName, data->headerOffset + 9, offset);
        QList<std::uint32_t> offsets;
        for (int i = 0; i < count; ++i) {
            offsets.append(c.u32());
            needTopic(h, offsets.last(), dataName);
        }
        expectedOffset += 4u * std::uint32_t(count);
        out.append({e[0], offsets});
    }
    if (expectedOffset != data->data.size())
        fail(dataName, QStringLiteral("%1 bytes, the keywords use %2").arg(data->data.size()).arg(expectedOffset));

    const BTreeInfo& info = h.trees[btree];
    Cursor c(map->data, mapName, map->headerOffset + 9);
    const int n = c.u16();
    if (n != info.leafPages.size())
        c.errorAt(QStringLiteral("%1 pages listed, the tree has %2 leaves").arg(n).arg(info.leafPages.size()), 0);
    // Keywords before each leaf: count them by walking the leaves again.
    int before = 0;
    for (int i = 0; i < n; ++i) {
        const std::int32_t stored = c.s32();
        const int page = c.u16();
        if (stored != before || page != info.leafPages[i])
            c.error(QStringLiteral("entry %1 holds %2 keywords before page %3, expected %4 before page %5")
                        .arg(i).arg(stored).arg(page).arg(before).arg(info.leafPages[i]));
        Cursor leaf(h.file(btree)->data, btree, 0, 38 + qsizetype(info.leafPages[i]) * info.pageSize + 2);
        before += leaf.s16();
    }
    if (!c.atEnd())
        c.error(QStringLiteral("bytes after the page list"));
}

Bitmap readBitmap(const InternalFile& f)
{
    Cursor c(f.data, f.name, f.headerOffset + 9);
    Bitmap b;
    b.magic = c.u16();
    if (b.magic != 0x506C && b.magic != 0x706C)
        c.errorAt(QStringLiteral("wrong magic %1").arg(hex(b.magic)), 0);
    if (c.u16() < 1)
        c.errorAt(QStringLiteral("no picture"), 2);
    const std::uint32_t at = c.u32();
    if (at >= std::uint32_t(f.data.size()))
        c.errorAt(QStringLiteral("picture offset %1 outside the file").arg(at), 4);
    Cursor p(f.data, f.name, f.headerOffset + 9, at);
    b.type = p.u8();
    b.packing = p.u8();
    if (b.type != 6)
        p.error(QStringLiteral("picture type %1 is not a device-independent bitmap").arg(b.type));
    if (b.packing != 0 && b.packing != 2)
        p.error(QStringLiteral("packing %1 is not read").arg(b.packing));
    b.xdpi = p.cul();
    b.ydpi = p.cul();
    b.planes = p.cus();
    b.bitCount = p.cus();
    b.width = p.cul();
    b.height = p.cul();
    b.coloursUsed = p.cul();
    b.coloursImportant = p.cul();
    const std::uint32_t pixelSize = p.cul();
    p.cul(); // hotspot data size
    const std::uint32_t pixelsAt = p.u32();
    p.u32(); // hotspot data offset
    std::uint32_t colours = b.coloursUsed;
    if (colours == 0 && b.bitCount <= 8)
        colours = 1u << b.bitCount;
    if (b.bitCount != 1 && b.bitCount != 4 && b.bitCount != 8 && b.bitCount != 24)
        p.error(QStringLiteral("%1 bits per pixel").arg(b.bitCount));
    if (colours > 256)
        p.error(QStringLiteral("%1 palette entries").arg(colours));
    b.palette = p.bytes(qsizetype(colours) * 4);
    Cursor px(f.data, f.name, f.headerOffset + 9, qsizetype(at) + pixelsAt);
    b.pixels = px.bytes(pixelSize);
    if (b.packing == 2)
        b.pixels = lz77Decompress(b.pixels);
    const qsizetype row = (qsizetype(b.width) * b.bitCount + 31) / 32 * 4;
    if (b.pixels.size() != row * qsizetype(b.height))
        px.error(QStringLiteral("%1 pixel bytes for %2 x %3 at %4 bits").arg(b.pixels.size()).arg(b.width).arg(b.height).arg(b.bitCount));
    return b;
}

} // namespace

HelpFile readHelpFile(const QByteArray& bytes)
{
    HelpFile h;
    Cursor c(bytes, "file header");
    if (c.u32() != 0x00035F3F)
        c.errorAt(QStringLiteral("not a help file (wrong magic)"), 0);
    h.directoryOffset = c.u32();
    h.freeList = c.s32();
    h.totalSize = c.u32();
    if (h.totalSize != std::uint32_t(bytes.size()))
        c.errorAt(QStringLiteral("total size %1 but the file has %2 bytes").arg(h.totalSize).arg(bytes.size()), 12);
    if (h.freeList != -1)
        c.errorAt(QStringLiteral("free list %1 (none expected)").arg(h.freeList), 8);

    QList<std::pair<qsizetype, qsizetype>> spans{{0, 16}};
    auto internal = [&](std::uint32_t at, const QByteArray& name) {
        InternalFile f;
        f.name = name;
        f.headerOffset = at;
        Cursor fc(bytes, name.isEmpty() ? QByteArray("directory") : name, 0, std::min<qsizetype>(at, bytes.size()));
        f.reserved = fc.u32();
        f.used = fc.u32();
        f.flags = fc.u8();
        if (qint64(f.reserved) < qint64(f.used) + 9)
            fc.errorAt(QStringLiteral("reserved %1 bytes for %2 used").arg(f.reserved).arg(f.used), at);
        if (qint64(at) + f.reserved > bytes.size())
            fc.errorAt(QStringLiteral("%1 bytes reserved run past the end of the file").arg(f.reserved), at);
        f.data = fc.bytes(f.used);
        spans.append({at, qsizetype(at) + f.reserved});
        return f;
    };
    const InternalFile directory = internal(h.directoryOffset, QByteArray());
    if (directory.flags != 4)
        fail("directory", QStringLiteral("flags %1 instead of 4").arg(directory.flags), h.directoryOffset + 8);
    BTreeInfo dirInfo;
    for (const BTreeEntry& e : readBTree(directory.data, "directory", dirInfo, bytesLess)) {
        InternalFile f = internal(u32Of(e[1]), e[0]);
        if (f.flags != 0)
            fail(e[0], QStringLiteral("flags %1 instead of 0").arg(f.flags), f.headerOffset + 8);
        h.files.append(f);
    }
    if (dirInfo.structure != "z4")
        fail("directory", QStringLiteral("Structure \"%1\"").arg(QString::fromLatin1(dirInfo.structure)));
    h.trees.insert(QByteArray(), dirInfo);
    std::sort(spans.begin(), spans.end());
    qsizetype covered = 0;
    for (const auto& [from, to] : spans) {
        if (from < covered)
            fail("file", QStringLiteral("internal files overlap"), from);
        h.unusedBytes += from - covered;
        covered = to;
    }
    h.unusedBytes += bytes.size() - covered;

    for (const char* required : {"|SYSTEM", "|FONT", "|TOPIC", "|CONTEXT"})
        if (!h.file(required))
            fail("directory", QStringLiteral("no %1").arg(QLatin1String(required)));
    h.system = readSystem(*h.file("|SYSTEM"));
    readFonts(*h.file("|FONT"), h);
    readTopics(*h.file("|TOPIC"), h);
    if (h.system.contents)
        needTopic(h, *h.system.contents, "|SYSTEM contents");

    for (const BTreeEntry& e : tree(h, "|CONTEXT", "L4", signedLess)) {
        h.context.insert(readS32(e[0]), u32Of(e[1]));
        needTopic(h, u32Of(e[1]), "|CONTEXT");
    }
    for (const BTreeEntry& e : tree(h, "|TTLBTREE", "Lz", unsignedLess)) {
        if (u32Of(e[0]) != h.endOffset)
            needTopic(h, u32Of(e[0]), "|TTLBTREE");
        h.titles.insert(u32Of(e[0]), e[1]);
    }
    for (const BTreeEntry& e : tree(h, "|VIOLA", "L4", unsignedLess)) {
        needTopic(h, u32Of(e[0]), "|VIOLA");
        h.viola.insert(u32Of(e[0]), readS32(e[1]));
    }
    if (const InternalFile* f = h.file("|CTXOMAP")) {
        Cursor m(f->data, "|CTXOMAP", f->headerOffset + 9);
        const int n = m.u16();
        for (int i = 0; i < n; ++i) {
            const std::int32_t number = m.s32();
            h.map.append({number, m.u32()});
            needTopic(h, h.map.last().second, "|CTXOMAP");
        }
        if (!m.atEnd())
            m.error(QStringLiteral("bytes after the %1 entries").arg(n));
    }
    readKeywords(h, 'K', h.kKeywords);
    readKeywords(h, 'A', h.aKeywords);
    for (const InternalFile& f : h.files) {
        if (!f.name.startsWith("|bm"))
            continue;
        bool ok = false;
        const int n = f.name.mid(3).toInt(&ok);
        if (!ok || n < 0 || QByteArray::number(n) != f.name.mid(3))
            fail(f.name, QStringLiteral("picture file name without a plain number"));
        h.bitmaps.insert(n, readBitmap(f));
    }
    return h;
}

HelpFile readHelpFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw HelpFileError(QString(path + QStringLiteral(": ") + f.errorString()).toStdString());
    return readHelpFile(f.readAll());
}

} // namespace ts::hlpread
