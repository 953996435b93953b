#pragma once
// Turns a topic's text and table records into paragraphs of runs: the
// paragraph info (spacing, indents, alignment, tabs, borders), the table
// layout, and the text commands interleaved with the record's strings (font
// changes, tabs, line breaks, hotspots, pictures, embedded windows).
//
// A record that ends early or holds a command the reader does not know ends
// where it can no longer be read; what came before it is kept and a problem
// names the topic and the place.

#include "ReadProblems.h"
#include "TopicStream.h"

#include <functional>
#include <map>

namespace ts::helpfile::reading {

// What decoding needs to know about the rest of the file.
struct TopicDecodeContext {
    const TopicStream* stream = nullptr;
    const PhraseTable* phrases = nullptr;
    bool oldFormat = false;
    int codePage = 1252;
    int fontCount = 0;
    std::vector<QString> windowNames;                 // by window number
    std::map<std::int32_t, HelpLocation> targets;     // context hash -> place
    std::map<std::int32_t, QString> idNames;          // context hash -> Topic ID
    std::map<int, int> topicByNumber;                 // old files: topic number -> index
    // Decodes a picture stored in the text itself.
    std::function<HelpPicture(const QByteArray&)> decodePicture;
};

// The records [first, end) of topic `topic`; those before the record at
// `scrollPos` belong to the non-scrolling band when `hasNonScrolling`.
HelpTopicContent decodeTopic(const TopicDecodeContext& context, int topic, int first, int end,
                             std::int32_t scrollPos, bool hasNonScrolling, const QString& fileName);

} // namespace ts::helpfile::reading
