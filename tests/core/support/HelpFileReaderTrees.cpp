// The tests' help file reader: B+ trees page by page, the context hash and
// LZ77.

#include "HelpFileReaderCursor.h"

#include "helpfile/HelpFileFormat.h"

namespace ts::hlpread {

using namespace detail;
namespace fmt = ts::helpfile::format;

namespace {

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

    qsizetype pageStart(int page) const { return fmt::TreeHeaderSize + qsizetype(page) * info.pageSize; }

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
            if (unused != info.pageSize - fmt::IndexPageHeaderSize - (c.pos() - pageStart(page) - fmt::IndexPageHeaderSize))
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
        if (unused != info.pageSize - fmt::LeafPageHeaderSize - (c.pos() - pageStart(page) - fmt::LeafPageHeaderSize))
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
    if (c.u16() != fmt::TreeMagic)
        fail(what, QStringLiteral("not a B+ tree (wrong magic)"), 0);
    info.flags = c.u16();
    info.pageSize = c.u16();
    info.structure = fixedString(c, fmt::TreeStructureSize);
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
    if (info.totalPages < 1 || info.levels < 1 || info.levels > info.totalPages || info.levels > fmt::MaxTreeLevels)
        fail(what, QStringLiteral("%1 pages in %2 levels").arg(info.totalPages).arg(info.levels), 30);
    if (fmt::TreeHeaderSize + qsizetype(info.totalPages) * info.pageSize != data.size())
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
        return fmt::EmptyTopicIdHash;
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
        for (int bit = 0; bit < fmt::Lz77ItemsPerFlag && i < in.size(); ++bit) {
            if (!(flags & (1 << bit))) {
                out.append(in[i++]);
                continue;
            }
            if (i + 1 >= in.size())
                fail("LZ77 data", QStringLiteral("back-reference cut off by the end of the data"), i);
            const int w = std::uint8_t(in[i]) | std::uint8_t(in[i + 1]) << 8;
            const int length = (w >> fmt::Lz77DistanceBits) + fmt::Lz77MinMatch;
            const qsizetype distance = (w & ((1 << fmt::Lz77DistanceBits) - 1)) + 1;
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

} // namespace ts::hlpread
