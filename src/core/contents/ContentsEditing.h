#pragma once
// The edits the contents editor makes to a contents tree: placing a new
// entry dropped on an entry, moving an entry with its sub-entries, removing
// an entry, and the clean-up before the tree is stored. An entry is named by
// its path: the index among its siblings at every level, from the top.

#include "ContentsEntry.h"

#include <optional>
#include <vector>

namespace ts {

using ContentsPath = std::vector<int>;

// The entry at `path`, or nullptr when the path leads nowhere.
ContentsEntry* contentsAt(ContentsTree& tree, const ContentsPath& path);
const ContentsEntry* contentsAt(const ContentsTree& tree, const ContentsPath& path);

// Where a new entry dropped on an entry goes.
enum class ContentsPlacement {
    AsChild,    // last child of the target, which is expanded
    OnThisLevel // last entry of the target's level, not next to the target
};

// Whether a drop on `target` lets the user choose the placement: only a
// heading can take the new entry as a child. A drop on a topic entry goes
// on its level.
inline bool contentsDropAsks(const ContentsEntry& target) { return target.Kind == ContentsKind::Heading; }

// Puts `entry` where a drop on `target` with `placement` puts it and returns
// its path. An empty `target` (the tree is empty, or the drop was on no
// entry) appends it at the end of the top level. A target that leads nowhere
// counts as no target.
ContentsPath insertContentsEntry(ContentsTree& tree, const ContentsPath& target, ContentsEntry entry,
                                 ContentsPlacement placement);

// Moves the entry at `from` with its sub-entries to just before `target`,
// under the target's parent, and returns its new path. A move onto itself
// leaves the tree as it is and returns `from`; a move onto one of its own
// sub-entries, or with a path that leads nowhere, does nothing and returns
// nothing.
std::optional<ContentsPath> moveContentsEntry(ContentsTree& tree, const ContentsPath& from,
                                              const ContentsPath& target);

// Changes the level of the entry at `path`, with its sub-entries, and
// returns its new path. A positive step makes it the last sub-entry of the
// heading just before it on its level (which is expanded); a negative one
// takes it out of its heading to just after that heading. Nothing changes
// and nothing is returned when there is no such heading.
std::optional<ContentsPath> changeContentsLevel(ContentsTree& tree, const ContentsPath& path, int step);

// Removes the entry at `path` with its sub-entries and returns the path of
// the entry to select after: the next sibling, else the one before, else the
// parent; empty when the tree is left empty (or the path led nowhere).
ContentsPath removeContentsEntry(ContentsTree& tree, const ContentsPath& path);

// Removes every topic entry whose text has no "=" (with its sub-entries);
// returns how many were removed. Such an entry cannot open a topic.
int removeTopicsWithoutId(ContentsTree& tree);

// The text of an entry for a topic dragged from the topic list: title=ID,
// then ">" and the window's name when the topic is not on window 0.
QString contentsTextForTopic(const QString& title, const QString& topicId, int windowIndex,
                             const QString& windowName);

} // namespace ts
