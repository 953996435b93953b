#pragma once
// Reads the B+ trees of a help file (the directory, |CONTEXT, |TTLBTREE, the
// keyword trees, ...): the page size and structure come from each tree's own
// header. Leaves are visited in key order from the leftmost leaf along the
// next-page links; a page is never visited twice, so a damaged link cannot
// make the walk go round for ever.

#include "ByteCursor.h"
#include "ReadProblems.h"

#include <QByteArray>
#include <functional>

namespace ts::helpfile::reading {

struct TreeHeader {
    int pageSize = 0;
    QByteArray structure;
    int rootPage = 0;
    int totalPages = 0;
    int levels = 0;
    std::int32_t totalEntries = 0;
};

// Calls `readEntry` for each leaf entry with a cursor on the entry's page
// (positioned at the entry); it reads one entry and returns false to stop.
// Returns false when the tree's header cannot be read (a problem names
// `what`); damaged pages are reported and skipped.
bool readTree(const QByteArray& data, const QString& what, ReadProblems& problems,
              const std::function<bool(ByteCursor&)>& readEntry, TreeHeader* header = nullptr);

} // namespace ts::helpfile::reading
