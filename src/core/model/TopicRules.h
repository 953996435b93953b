#pragma once
// The rules of the topic properties dialog, without the dialog: the proposal
// of a free Application Call ID, the Topic ID's upper-casing, and the checks
// that decide whether the dialog may close.

#include "Project.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace ts {

// The Application Call ID offered when "Call topic from application" is
// checked: 10 more than ten times the number of topics that have one, raised
// by 10 at every topic (in project order, one pass) whose number is not
// below it. Only a default; CheckTopicProperties guarantees uniqueness.
// 64 bits, so that stored numbers near the integer limit cannot overflow it.
std::int64_t proposeCallId(const Project& project);

// A Topic ID as stored: upper case. A character whose upper-case form is not
// one character of the project file's code page stays as it is.
QString upperTopicId(const QString& topicId);

// The first character of `topicId` that a Topic ID can not hold, or
// nothing. Help compilers refuse them in context strings, and some break the
// program's own markup: ">" and "@" end the ID in a link, ";" starts a
// comment in the help project, "=" splits its [MAP] lines. The refused are
// # = + @ * % ! > ; " { } \ and every control character; a blank is
// replaced, not refused (see TopicCheck).
std::optional<QChar> forbiddenTopicIdCharacter(const QString& topicId);

// The fields of the dialog that the checks read.
struct TopicFields {
    QString TopicID;   // as typed
    bool AssignID = false;
    QString CallId;    // the Application Call ID as typed
};

// What the checks decided. The blank notice, when there is one, is shown
// before the refusal; TopicID then holds the entry with its blanks replaced
// by '_', which the dialog shows whether it closes or not.
struct TopicCheck {
    QString TopicID;
    std::optional<QString> BlankNotice;
    std::optional<QString> Refusal; // the dialog stays open with this message
    bool passes() const { return !Refusal; }
};

// `own` is the index of the topic being changed (never compared with
// itself), or -1 when a topic is being added (every topic is compared). A
// Topic ID with a forbidden character is refused, except the one the topic
// being changed already has (projects made before the rule keep working).
TopicCheck checkTopicProperties(const Project& project, const TopicFields& fields, int own);

namespace TopicMessages {
QString noTopicId();         // "You must enter the Topic ID!"
QString invalidCallId();     // "The Application Call ID number is not valid!"
QString blankNotice();       // the notice that blanks become "_"
QString callIdInUse(const QString& entered, const TopicRecord& by);
QString topicIdInUse(const QString& entered, const TopicRecord& by);
// "A Topic ID cannot contain the character '#'.", or for a control
// character "A Topic ID cannot contain the control character 9."
QString forbiddenCharacter(QChar c);
} // namespace TopicMessages

} // namespace ts
