#include "BPlusTree.h"

#include "HelpFileBytes.h"

#include <QtGlobal>

namespace ts::helpfile {
namespace {

using namespace format;

struct Page {
    QByteArray Bytes;
    QByteArray FirstKey;
};

// The entries of one leaf page.
struct Leaf {
    qsizetype first = 0, count = 0, bytes = 0;
};

// Leaves filled greedily in order; one empty leaf for an empty tree.
std::vector<Leaf> fillLeaves(const std::vector<BTreeEntry>& entries, int pageSize)
{
    std::vector<Leaf> leaves{Leaf{}};
    for (qsizetype i = 0; i < qsizetype(entries.size()); ++i) {
        const qsizetype size = entries[size_t(i)].Bytes.size();
        Q_ASSERT(LeafPageHeaderSize + size <= pageSize);
        Leaf& current = leaves.back();
        if (current.count > 0 && LeafPageHeaderSize + current.bytes + size > pageSize)
            leaves.push_back(Leaf{i, 0, 0});
        leaves.back().count += 1;
        leaves.back().bytes += size;
    }
    return leaves;
}

// The leaf pages, chained both ways, as pages 0 .. leaves - 1.
void addLeafPages(const std::vector<BTreeEntry>& entries, int pageSize, std::vector<Page>& pages,
                  BTreeResult& result)
{
    const std::vector<Leaf> leaves = fillLeaves(entries, pageSize);
    const int leafCount = int(leaves.size());
    result.LeafPages = leafCount;
    for (int p = 0; p < leafCount; ++p) {
        const Leaf& leaf = leaves[size_t(p)];
        result.EntriesBeforeLeaf.push_back(int(leaf.first));
        Page page;
        putU16(page.Bytes, unsigned(pageSize - LeafPageHeaderSize - leaf.bytes));
        putS16(page.Bytes, int(leaf.count));
        putS16(page.Bytes, p == 0 ? NoPage : p - 1);
        putS16(page.Bytes, p + 1 < leafCount ? p + 1 : NoPage);
        for (qsizetype i = leaf.first; i < leaf.first + leaf.count; ++i)
            page.Bytes += entries[size_t(i)].Bytes;
        if (leaf.count > 0)
            page.FirstKey = entries[size_t(leaf.first)].Key;
        page.Bytes.append(QByteArray(pageSize - page.Bytes.size(), '\0'));
        pages.push_back(std::move(page));
    }
}

// One index page over the pages from `child` on, as many as fit; `child`
// moves past them.
Page indexPage(const std::vector<Page>& pages, int& child, int levelEnd, int pageSize)
{
    Page page;
    page.FirstKey = pages[size_t(child)].FirstKey;
    QByteArray pairs;
    int pairCount = 0;
    const int firstChild = child++;
    while (child < levelEnd) {
        const QByteArray& key = pages[size_t(child)].FirstKey;
        if (IndexPageHeaderSize + pairs.size() + key.size() + PageNumberSize > pageSize)
            break;
        pairs += key;
        putS16(pairs, child);
        ++pairCount;
        ++child;
    }
    putU16(page.Bytes, unsigned(pageSize - IndexPageHeaderSize - pairs.size()));
    putS16(page.Bytes, pairCount);
    putS16(page.Bytes, firstChild);
    page.Bytes += pairs;
    page.Bytes.append(QByteArray(pageSize - page.Bytes.size(), '\0'));
    return page;
}

// Index levels above the leaves until one page, the root, is left; returns
// the number of levels, leaves included.
int addIndexLevels(std::vector<Page>& pages, int leafCount, int pageSize)
{
    int levels = 1;
    int levelFirst = 0;
    int levelCount = leafCount;
    while (levelCount > 1) {
        const int nextFirst = int(pages.size());
        int child = levelFirst;
        const int levelEnd = levelFirst + levelCount;
        while (child < levelEnd)
            pages.push_back(indexPage(pages, child, levelEnd, pageSize));
        levelFirst = nextFirst;
        levelCount = int(pages.size()) - nextFirst;
        ++levels;
    }
    return levels;
}

} // namespace

BTreeResult buildBTree(const std::vector<BTreeEntry>& entries, const BTreeShape& shape)
{
    const int pageSize = shape.PageSize;
    std::vector<Page> pages;
    BTreeResult result;
    addLeafPages(entries, pageSize, pages, result);
    const int levels = addIndexLevels(pages, result.LeafPages, pageSize);

    QByteArray& out = result.Bytes;
    out.reserve(TreeHeaderSize + qsizetype(pages.size()) * pageSize);
    putU16(out, TreeMagic);
    putU16(out, shape.Flags);
    putU16(out, unsigned(pageSize));
    putFixed(out, shape.Structure, TreeStructureSize);
    putS16(out, 0);
    putS16(out, int(pages.size()) - levels); // page splits
    putS16(out, int(pages.size()) - 1);      // the root
    putS16(out, NoPage);
    putS16(out, int(pages.size()));
    putS16(out, levels);
    putS32(out, std::int32_t(entries.size()));
    for (const Page& page : pages)
        out += page.Bytes;
    return result;
}

} // namespace ts::helpfile
