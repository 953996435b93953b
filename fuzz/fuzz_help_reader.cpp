// Reads arbitrary bytes as a help file and everything in it: every topic's
// text, every picture, the lookups. Besides what the sanitizers catch, it
// checks that the document only ever refers to what it holds (fonts,
// hotspots, table rows, topics, windows) and that its problem lists stay
// bounded whatever the damage.

#include "FuzzSupport.h"
#include "helpfile/HelpFileReader.h"
#include "helpfile/PictureReader.h"
#include "helpfile/ReadProblems.h"

#include <cstdint>

namespace {

using ts::HelpDocument;

void checkIndex(int index, size_t size, const char* what)
{
    if (index < -1 || index >= int(size))
        fuzzsupport::fail("%s %d is outside the %zu the document holds", what, index, size);
}

void checkProblems(const std::vector<ts::HelpProblem>& problems)
{
    if (problems.size() > size_t(ts::helpfile::reading::ReadProblems::Limit) + 1)
        fuzzsupport::fail("%zu problems listed", problems.size());
}

void checkTopic(const HelpDocument& doc, int index)
{
    const ts::HelpTopic& topic = doc.topics[size_t(index)];
    checkIndex(topic.window, doc.windows.size(), "window");
    checkIndex(topic.browsePrevious, doc.topics.size(), "browse topic");
    checkIndex(topic.browseNext, doc.topics.size(), "browse topic");
    const ts::HelpTopicContent& content = doc.content(index);
    checkProblems(content.problems);
    for (const auto* region : {&content.nonScrolling, &content.scrolling})
        for (const ts::HelpParagraph& p : *region) {
            checkIndex(p.tableRow, content.tableRows.size(), "table row");
            for (const ts::HelpRun& r : p.runs) {
                checkIndex(r.font, doc.fonts.size(), "font");
                checkIndex(r.hotspot, content.hotspots.size(), "hotspot");
                checkIndex(r.pictureInTopic, content.pictures.size(), "picture in the text");
            }
        }
    for (const ts::HelpHotspot& h : content.hotspots)
        checkIndex(h.targetTopic, doc.topics.size(), "target topic");
    doc.topicText(index, HelpDocument::TextStyle::MarkedLinks);
}

void checkPicture(const ts::HelpPicture& picture)
{
    const qint64 pixels = qint64(picture.image.width) * picture.image.height;
    if (pixels > ts::helpfile::reading::MaxPicturePixels || picture.image.rgba.size() != (pixels > 0 ? pixels * 4 : 0))
        fuzzsupport::fail("a picture of %d x %d holds %lld bytes", picture.image.width, picture.image.height,
                          qint64(picture.image.rgba.size()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Raw data: no terminating NUL behind the input, so over-reads show.
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const HelpDocument doc = ts::helpfile::readHelpFile(input, QStringLiteral("fuzz.hlp"));
    checkProblems(doc.problems);
    checkIndex(doc.contentsTopic, doc.topics.size(), "contents topic");
    for (int i = 0; i < int(doc.topics.size()); ++i)
        checkTopic(doc, i);
    for (const int n : doc.pictureNumbers())
        checkPicture(doc.picture(n));
    for (const auto& [letter, table] : doc.keywordTables)
        for (const ts::HelpKeyword& k : table) {
            for (const int topic : k.topics)
                checkIndex(topic, doc.topics.size(), "keyword topic");
            doc.findKeyword(letter, k.text);
        }
    for (const ts::HelpMapEntry& m : doc.mapEntries)
        checkIndex(m.location.topic, doc.topics.size(), "[MAP] topic");
    return 0;
}
