#pragma once
// Link maintenance: when a Topic ID is renamed, a topic moves to another
// window or a window is deleted, the link markup that names the old ID or
// window is rewritten in the stored text of every topic and in the contents
// file.
//
// Links are plain text inside the topics' rich text; what makes a run a
// hotspot is its style, strike-out for a jump and underline for a pop-up.
// Within hotspot characters the markup is read as
//
//   -->ID            ID runs from behind "-->" to ">", "@", a blank or the
//   -->ID>WINDOW     end of the hotspot; WINDOW from behind that ">" to "@",
//   -->ID@FILE       a blank or the end of the hotspot
//   -->!MACRO        never rewritten
//
// and only whole names are rewritten: renaming INTRO leaves INTRO2, INTRO_OLD
// and every word of plain text alone. Topic IDs are compared upper-cased as
// the code page does it (a link typed in lower case is found), window names
// exactly. A Topic ID rename never touches a window name and a window change
// never touches a Topic ID. A link into another help file (with "@FILE")
// names that file's topics and windows, so it is left as it stands.
//
// In the contents file a topic entry reads title=ID[@FILE][>WINDOW]: the ID
// runs from behind the first "=" to "@", ">" or the end, the window from
// behind the ">" to the end. Names there are compared exactly.
//
// Everything that is not a rewritten name keeps its characters and format;
// a block or contents file in which nothing is rewritten keeps its bytes.

#include "model/Progress.h"

#include <QString>

namespace ts {

class Project;
class RichDocument;

// One rename for link maintenance, made by one of the functions below. What
// kind of name changes travels with the rename: the caller says it with every
// call, and nothing in the Project steers it.
struct LinkRename {
    enum class Part { TopicId, Window };
    Part What = Part::TopicId;
    QString Old;
    QString New;
    // For a window change: when not empty, only links to this Topic ID
    // change their window (a topic moved to another window).
    QString OfTopic;
};

// A Topic ID renamed from oldId to newId.
LinkRename topicIdRename(const QString& oldId, const QString& newId);
// Every link naming window oldWindow is to name newWindow (a window deleted,
// whose topics went to "main").
LinkRename windowRename(const QString& oldWindow, const QString& newWindow);
// The links to topicId that name oldWindow are to name newWindow (the topic
// moved to another window); links without a window stay as they are.
LinkRename topicWindowMove(const QString& topicId, const QString& oldWindow, const QString& newWindow);

// The links that open topic `topicIndex`, found as the rename of its Topic
// ID would find them: in the header and body of every other topic, and the
// entries of the contents that open it (an unreadable contents file counts
// none).
struct LinksToTopic {
    int Links = 0;
    int Topics = 0; // topics holding at least one of the links
    int ContentsEntries = 0;
    // "3 links in 2 topics and 1 contents entry open INSTALL. Delete it
    // anyway?", or an empty text when nothing opens the topic.
    QString deleteQuestion(const QString& topicId) const;
};
LinksToTopic countLinksTo(const Project& project, int topicIndex);

// Rewrites the names in the hotspot link markup of `document`. The new name
// takes the format of the old name's first character. Returns how many names
// were rewritten.
int renameInLinks(RichDocument& document, const LinkRename& rename);

// A contents entry's text with the rename applied (the text as it was when
// the entry does not name the old ID or window).
QString renameInContentsEntry(const QString& text, const LinkRename& rename);

// Rewrites the header and then the body block of every topic, in project
// order, and then the project's contents (ContentsFile::bytesFor) when there
// are any. A block is written back (through the RTF writer) only when a name
// in it was rewritten; the contents only when an entry changed, and then
// into Project::PendingContents, so that the file on disk changes with the
// next Save of the project and not before.
//
// `progress` receives an advance of 2048 / TopicCount after each topic (the
// bar's range is 0..2048). Nothing is written to disk.
//
// Throws IoError (ContentsLevelError for bad levels) when the contents file
// cannot be read. The topics are rewritten by then and keep their new text;
// contents that could not be read are left as they were.
void updateLinks(Project& project, const LinkRename& rename, const ProgressStep& progress = ProgressStep());

} // namespace ts
