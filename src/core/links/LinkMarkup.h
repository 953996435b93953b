#pragma once
// The texts that the insertion commands put into a topic's rich text: jumps,
// pop-ups, links to other help files, web and e-mail links, "Related Topics"
// buttons and bitmaps. A link is plain characters "hotspot-->target"; what
// makes it a jump or a pop-up is the character style the caller gives the
// inserted run (strike-out or underline), and the topic file writer turns the
// arrow into the start of hidden text. Pure functions: nothing here touches
// an editor or the clipboard.

#include "richtext/HiddenLinkTargets.h"
#include "richtext/RichDocument.h"

#include <QString>

#include <optional>

namespace ts {
class Project;
}

namespace ts::links {

// The prompt that stands in the topic field of the link dialog while the user
// links to another help file.
QString topicIdPrompt();

// One entry of the link dialog's topic list: "ID - Title".
QString topicChoiceText(const QString& topicId, const QString& title);

// The topic the link dialog proposes for a link written in topic
// `currentTopic`: another topic whose Topic ID or title is the selected text
// (case aside, blanks around it ignored; an ID match first), else the first
// topic that is not the current one. A topic never proposes itself unless it
// is the only one. -1 without topics.
int proposedLinkTarget(const Project& project, int currentTopic, const QString& selectedText);

// Jump or pop-up to a project topic: linkText "-->" topicId, and
// ">" windowName when a window is given. An empty link text takes the
// topic's title.
QString topicLink(const QString& linkText, const QString& topicId, const QString& title,
                  const std::optional<QString>& windowName = std::nullopt);

// Jump to a topic of another help file: linkText "-->" typedId "@" helpFile,
// the fields as typed (an empty link text stays empty).
QString otherHelpFileLink(const QString& linkText, const QString& typedId, const QString& helpFile);
// The message that refuses such a link, or nothing when it can be made: the
// topic field still holding the prompt or empty, or no file name.
std::optional<QString> otherHelpFileRefusal(const QString& typedId, const QString& helpFile);

// Web site or e-mail link: linkText "-->!ExecFile(" ["mailto:"] address ")".
// An empty link text takes the address as typed.
QString webLink(const QString& linkText, const QString& address, bool email);

// A "Related Topics" button over the ALink keywords; without a caption the
// words " Related Topics" stand beside it.
QString relatedTopicsButton(const QString& caption, const QString& keywords);

// A picture placed like a character: " {bmc PATH} ", or " {bmct PATH} " with
// a transparent background. `path` is the chosen file's full path; the
// markup holds it in upper case.
QString bitmapMarkup(const QString& path, bool transparent);

// isLinkTarget, hiddenTargetsToMarkup: see richtext/HiddenLinkTargets.h.
using ts::isLinkTarget;

} // namespace ts::links
