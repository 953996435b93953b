#include "TreeReader.h"

#include "HelpFileFormat.h"
#include "model/CountText.h"

#include <vector>

namespace ts::helpfile::reading {
namespace {

bool readHeader(const QByteArray& data, const QString& what, ReadProblems& problems, TreeHeader& h)
{
    ByteCursor c(data);
    const std::uint16_t magic = c.u16();
    c.u16(); // flags
    h.pageSize = c.u16();
    h.structure = c.fixedString(format::TreeStructureSize);
    c.s16(); // must be 0
    c.s16(); // page splits
    h.rootPage = c.s16();
    c.s16(); // must be -1
    h.totalPages = c.s16();
    h.levels = c.s16();
    h.totalEntries = c.s32();
    if (!c.ok() || magic != format::TreeMagic) {
        problems.add(what, 0, QStringLiteral("not a B+ tree (wrong header)"));
        return false;
    }
    if (h.pageSize < format::LeafPageHeaderSize + 1 || h.levels < 1 || h.levels > format::MaxTreeLevels
        || h.totalPages < 1) {
        problems.add(what, 0, QStringLiteral("the B+ tree header is damaged (page size %1, %2, %3)")
                                  .arg(QString::number(h.pageSize),
                                       countText(h.totalPages, QStringLiteral("page"), QStringLiteral("pages")),
                                       countText(h.levels, QStringLiteral("level"), QStringLiteral("levels"))));
        return false;
    }
    const qsizetype room = (data.size() - format::TreeHeaderSize) / h.pageSize;
    if (room < h.totalPages) {
        problems.add(what, 0, QStringLiteral("the B+ tree is cut short after %1 of its %2")
                                  .arg(QString::number(room),
                                       countText(h.totalPages, QStringLiteral("page"), QStringLiteral("pages"))));
        h.totalPages = int(room);
    }
    return h.totalPages > 0;
}

} // namespace

bool readTree(const QByteArray& data, const QString& what, ReadProblems& problems,
              const std::function<bool(ByteCursor&)>& readEntry, TreeHeader* headerOut)
{
    TreeHeader h;
    if (!readHeader(data, what, problems, h))
        return false;
    if (headerOut)
        *headerOut = h;
    auto pageStart = [&](int page) { return format::TreeHeaderSize + qsizetype(page) * h.pageSize; };
    std::vector<bool> visited(size_t(h.totalPages), false);
    auto usable = [&](int page) {
        if (page < 0 || page >= h.totalPages || visited[size_t(page)])
            return false;
        visited[size_t(page)] = true;
        return true;
    };

    // Down the leftmost children to the first leaf.
    int page = h.rootPage;
    for (int level = 1; level < h.levels; ++level) {
        if (!usable(page)) {
            problems.add(what, pageStart(qBound(0, page, h.totalPages)), QStringLiteral("an index page link is damaged"));
            return true;
        }
        ByteCursor c(data, pageStart(page), pageStart(page) + h.pageSize);
        c.skip(4); // unused bytes, entries
        page = c.s16();
    }
    while (page != -1) {
        if (!usable(page)) {
            problems.add(what, -1, QStringLiteral("a leaf page link is damaged (page %1)").arg(page));
            return true;
        }
        ByteCursor c(data, pageStart(page), pageStart(page) + h.pageSize);
        c.u16(); // unused bytes
        const int entries = c.s16();
        c.s16(); // previous page
        const int next = c.s16();
        for (int i = 0; i < entries && !c.atEnd(); ++i) {
            const qsizetype at = c.pos();
            if (!readEntry(c))
                return true;
            if (!c.ok()) {
                problems.add(what, at, QStringLiteral("a B+ tree entry runs past the end of its page"));
                break;
            }
        }
        page = next;
    }
    return true;
}

} // namespace ts::helpfile::reading
