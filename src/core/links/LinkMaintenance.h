#pragma once
// Link maintenance: when a Topic ID is renamed, a topic moves to another
// window or a window is deleted, the link markup that names the old ID or
// window is rewritten in the stored text of every topic and in the contents
// file.
//
// Links are plain text inside the topics' rich text ("Text-->TOPICID",
// "Text-->TOPICID>window", ...); what makes a run a hotspot is its style,
// strike-out for a jump and underline for a popup. Only occurrences inside a
// hotspot are rewritten, judged by the format of their first character, and
// the replacement takes that format, so it stays inside the hotspot.
//
// What is searched and what replaces it, by Project::WindowLinkMode:
//
//   mode        in topic text        compared on           in contents entries
//   Topic ID    ">"+old -> ">"+new   the upper-cased text  "="+old -> "="+new
//   window      old -> new           the text as it is     old -> new
//
// Contents entries are always compared exactly, and only the first
// occurrence in each entry is rewritten.

#include "model/Progress.h"

#include <QString>

namespace ts {

class Project;
class RichDocument;

// Rewrites the hotspot occurrences in `document`. Occurrences are found
// left to right in each paragraph; the search goes on behind the inserted
// replacement (which is never searched again), or behind an occurrence left
// alone. Returns true when the searched text occurs anywhere, whether or not
// any occurrence was in a hotspot and replaced. An empty search text occurs
// nowhere.
bool SearchJumps(RichDocument& document, const QString& oldText, const QString& newText, bool windowLinkMode);

// Rewrites the header and then the body block of every topic, in project
// order, and then the project's contents file (ContentsFile::pathFor) when it
// exists. A block is written back (through the RTF writer) exactly when the
// searched text occurs in it, even if no occurrence was in a hotspot; other
// blocks keep their bytes. The rest of a contents entry after the rewritten
// occurrence is kept whole.
//
// `progress` receives an advance of 2048 / TopicCount after each topic (the
// bar's range is 0..2048). WindowLinkMode is read, and cleared after the
// topic pass when it was set; the project file is not saved.
//
// Throws IoError (ContentsLevelError for bad levels) when the contents file
// cannot be read or written. The topics are rewritten by then and keep their
// new text; a contents file that could not be read is left untouched.
void UpdateJumps(Project& project, const QString& oldText, const QString& newText,
                 const ProgressStep& progress = ProgressStep());

} // namespace ts
