#include "BPlusTree.h"

#include "HelpFileBytes.h"

#include <QtGlobal>

namespace ts::helpfile {
namespace {

struct Page {
    QByteArray Bytes;
    QByteArray FirstKey;
};

} // namespace

BTreeResult buildBTree(const std::vector<BTreeEntry>& entries, const BTreeShape& shape)
{
    const int pageSize = shape.PageSize;
    std::vector<Page> pages;

    // Leaves: filled greedily in order, one empty leaf for an empty tree.
    struct Leaf {
        qsizetype first = 0, count = 0, bytes = 0;
    };
    std::vector<Leaf> leaves{Leaf{}};
    for (qsizetype i = 0; i < qsizetype(entries.size()); ++i) {
        const qsizetype size = entries[size_t(i)].Bytes.size();
        Q_ASSERT(8 + size <= pageSize);
        Leaf& current = leaves.back();
        if (current.count > 0 && 8 + current.bytes + size > pageSize)
            leaves.push_back(Leaf{i, 0, 0});
        leaves.back().count += 1;
        leaves.back().bytes += size;
    }
    BTreeResult result;
    const int leafCount = int(leaves.size());
    result.LeafPages = leafCount;
    for (int p = 0; p < leafCount; ++p) {
        const Leaf& leaf = leaves[size_t(p)];
        result.EntriesBeforeLeaf.push_back(int(leaf.first));
        Page page;
        putU16(page.Bytes, unsigned(pageSize - 8 - leaf.bytes));
        putS16(page.Bytes, int(leaf.count));
        putS16(page.Bytes, p == 0 ? -1 : p - 1);
        putS16(page.Bytes, p + 1 < leafCount ? p + 1 : -1);
        for (qsizetype i = leaf.first; i < leaf.first + leaf.count; ++i)
            page.Bytes += entries[size_t(i)].Bytes;
        if (leaf.count > 0)
            page.FirstKey = entries[size_t(leaf.first)].Key;
        page.Bytes.append(QByteArray(pageSize - page.Bytes.size(), '\0'));
        pages.push_back(std::move(page));
    }

    // Index levels until one page is left.
    int levels = 1;
    int levelFirst = 0;
    int levelCount = leafCount;
    while (levelCount > 1) {
        const int nextFirst = int(pages.size());
        int child = levelFirst;
        const int levelEnd = levelFirst + levelCount;
        while (child < levelEnd) {
            Page page;
            page.FirstKey = pages[size_t(child)].FirstKey;
            QByteArray pairs;
            int pairCount = 0;
            const int firstChild = child++;
            while (child < levelEnd) {
                const QByteArray& key = pages[size_t(child)].FirstKey;
                if (6 + pairs.size() + key.size() + 2 > pageSize)
                    break;
                pairs += key;
                putS16(pairs, child);
                ++pairCount;
                ++child;
            }
            putU16(page.Bytes, unsigned(pageSize - 6 - pairs.size()));
            putS16(page.Bytes, pairCount);
            putS16(page.Bytes, firstChild);
            page.Bytes += pairs;
            page.Bytes.append(QByteArray(pageSize - page.Bytes.size(), '\0'));
            pages.push_back(std::move(page));
        }
        levelFirst = nextFirst;
        levelCount = int(pages.size()) - nextFirst;
        ++levels;
    }

    QByteArray& out = result.Bytes;
    out.reserve(38 + qsizetype(pages.size()) * pageSize);
    putU16(out, 0x293B);
    putU16(out, shape.Flags);
    putU16(out, unsigned(pageSize));
    putFixed(out, shape.Structure, 16);
    putS16(out, 0);
    putS16(out, int(pages.size()) - levels);
    putS16(out, int(pages.size()) - 1);
    putS16(out, -1);
    putS16(out, int(pages.size()));
    putS16(out, levels);
    putS32(out, std::int32_t(entries.size()));
    for (const Page& page : pages)
        out += page.Bytes;
    return result;
}

} // namespace ts::helpfile
