#pragma once
// The topics the benchmarks measure on: ordinary help topics of about 5 KB
// of formatted text, as a large manual has them.

#include "model/Records.h"
#include "richtext/RichDocument.h"

#include <QByteArray>

namespace bench {

// The size of the large project the speed targets are set for.
inline constexpr int LargeProjectTopics = 2049;

// The character formats of ordinary topic text: 10-point text, bold,
// an italic coloured note, a jump (struck out) and a pop-up (underlined).
struct TopicFormats {
    ts::CharFormat text, strong, note, jump, popup;
};
TopicFormats topicFormats();

// Fourteen steps of formatted text: bold, italic and coloured notes,
// indents, a jump and a pop-up each, linking to other topics of `topics`.
QByteArray stepsTopicBody(int i, int topics);

// TOPIC_i with its title, three keywords, Application Call ID 1000 + i, a
// header holding the title in `titleFormat`, and `body`.
ts::TopicRecord ordinaryTopic(int i, const QByteArray& body, const ts::CharFormat& titleFormat = {});

} // namespace bench
