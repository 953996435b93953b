#pragma once
// The table of contents of a help project: a tree of headings (books) and
// topic entries (pages). The contents file (ContentsFile.h) stores it; the
// contents editor edits it; the CNT writer turns it into the compiler's .cnt.
//
// Entries are ordered depth-first, pre-order (an entry, its sub-entries, then
// its next sibling): the order of the file and of every walk over the tree.
// The level of an entry is the number of its ancestors, 0 at the top.

#include <QString>
#include <vector>

namespace ts {

enum class ContentsKind { Heading, Topic };

struct ContentsEntry {
    // The entry text in the contents notation: a heading's title, or
    // title=ID[@helpfile][>window] for a topic entry.
    QString Text;
    ContentsKind Kind = ContentsKind::Heading;
    std::vector<ContentsEntry> Children;
    bool Expanded = false; // display state only; never stored

    // The kind an entry read from a file gets: a topic entry when its text
    // holds "=", a heading otherwise.
    static ContentsKind kindOf(const QString& text)
    {
        return text.contains(QLatin1Char('=')) ? ContentsKind::Topic : ContentsKind::Heading;
    }

    friend bool operator==(const ContentsEntry&, const ContentsEntry&) = default;
};

// The top-level entries, in order.
using ContentsTree = std::vector<ContentsEntry>;

// One entry seen by a pre-order walk, with its level.
struct ContentsNode {
    const ContentsEntry* Entry = nullptr;
    int Level = 0;
};

// Every entry of the tree in pre-order with its level.
std::vector<ContentsNode> contentsNodes(const ContentsTree& tree);
// The number of entries in the tree, at every level.
int contentsNodeCount(const ContentsTree& tree);

// The parts of a topic entry's text, split the way the contents editor shows
// them in its boxes: e, a and g are the first "=", "@" and ">". Text without
// "=" is all title. With "=" the title is the text before it; the Topic ID
// runs to the "@" (or to the ">", or to the end), the help file from the "@"
// to the ">" (or to the end), the window from the ">" to the end, "main" when
// there is no ">". Every part is kept whole, however long.
struct ContentsEntryParts {
    QString Title;
    QString TopicId;
    QString HelpFile;
    QString Window; // empty when the text has no "="
};
ContentsEntryParts splitContentsText(const QString& text);

// The inverse: title, then "=" + ID when the ID is not empty, "@" + file when
// the file is not empty, and ">" + window when `withWindow` holds and the
// window is not "main" (exact comparison: "Main" gets a suffix). The caller
// decides `withWindow` from what triggered the update.
QString composeContentsText(const ContentsEntryParts& parts, bool withWindow);

} // namespace ts
