#pragma once
// What a HelpDocument read from a help file keeps of it, to decode a topic's
// text or a picture when first asked: the internal files, the phrase table,
// the topic record stream and where each topic's records lie.

#include "ContainerReader.h"
#include "PhraseTable.h"
#include "TopicDecoder.h"
#include "TopicStream.h"

#include <map>
#include <optional>

namespace ts::helpfile::reading {

class HelpFileSource : public HelpDocument::ContentSource {
public:
    struct TopicRecords {
        int first = 0, end = 0;                       // its text records in the stream's record list
        int number = 0;                               // as the file numbers it
        std::int32_t browseBack = -1, browseNext = -1; // TOPICOFFSETs (old files: topic numbers)
        std::int32_t nonScrollPos = -1, scrollPos = -1;
    };

    QString fileName;
    ContainerReader container;
    PhraseTable phrases;
    TopicStream stream;
    TopicDecodeContext context;
    std::vector<TopicRecords> topics;
    std::map<int, QByteArray> pictureFiles; // picture number -> internal file

    // Called once the document is complete: ties the decoding context to
    // this source and lists the pictures and baggage files.
    void finish(HelpDocument& doc);

    HelpTopicContent topicContent(int index) const override;
    HelpPicture picture(int number) const override;
    QList<int> pictureNumbers() const override;
    QByteArray baggage(const QString& name) const override;
};

struct IndexValues;

// Applies the lookup files to the topics read: Topic IDs and hashes, windows,
// keywords, browse sequence, [MAP] numbers and the contents topic.
void applyIndexes(HelpDocument& doc, HelpFileSource& source, const IndexValues& indexes,
                  std::optional<std::uint32_t> contentsOffset, ReadProblems& problems);

} // namespace ts::helpfile::reading
