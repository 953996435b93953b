#pragma once
// B+ trees as the help file stores its directory and its lookup files: a
// 38-byte header, then pages of a fixed size; leaf pages hold the entries in
// order and are chained both ways, index pages above them hold the first
// key of each child. Pages are numbered in storage order and the root is
// the last page.

#include "HelpFileFormat.h"

#include <QByteArray>
#include <vector>

namespace ts::helpfile {

struct BTreeEntry {
    QByteArray Key;   // the key as an index page stores it
    QByteArray Bytes; // the whole leaf entry (key included)
};

struct BTreeShape {
    int PageSize = format::LookupPageSize;
    unsigned Flags = format::OtherTreeFlags;
    QByteArray Structure; // the format string, at most 15 characters
};

struct BTreeResult {
    QByteArray Bytes;   // header and pages
    int LeafPages = 0;  // leaf pages are pages 0 .. LeafPages-1
    std::vector<int> EntriesBeforeLeaf; // per leaf page: entries in earlier leaves
};

// Builds the tree over entries already in their order. An entry larger than
// a page is a programming error: callers cut what they store first.
BTreeResult buildBTree(const std::vector<BTreeEntry>& entries, const BTreeShape& shape);

} // namespace ts::helpfile
