#include "search/TopicSearch.h"

#include "model/Windows1252.h"
#include "richtext/RtfReader.h"

namespace ts {

namespace {

constexpr char16_t LineSeparator = 0x2028;

bool linesContain(const QByteArray& rtf, const QString& upperQuery)
{
    if (rtf.isEmpty())
        return false;
    for (const QString& line : topicTextLines(rtf)) {
        if (searchUpper(line).contains(upperQuery))
            return true;
    }
    return false;
}

bool matches(const TopicRecord& topic, const QString& upperQuery, SearchMode mode)
{
    switch (mode) {
    case SearchMode::TopicId:
        return searchUpper(topic.TopicID.text()).contains(upperQuery);
    case SearchMode::TopicTitle:
        return searchUpper(topic.Title.text()).contains(upperQuery);
    case SearchMode::TextInTopic:
        return linesContain(topic.HeaderRtf, upperQuery) || linesContain(topic.BodyRtf, upperQuery);
    }
    return false;
}

} // namespace

QString searchUpper(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const char16_t lower = c.unicode();
        if (lower < 0x80) {
            if (lower >= 'a' && lower <= 'z')
                c = QChar(char16_t(lower - ('a' - 'A')));
            continue;
        }
        const QChar upper = c.toUpper();
        if (upper == c)
            continue;
        // A capital the code page cannot hold is no capital there: the
        // letter stays (µ, ƒ), as the 8-bit upper-casing leaves it.
        if (cp1252::canEncode(c) && !cp1252::canEncode(upper))
            continue;
        c = upper;
    }
    return out;
}

QStringList topicTextLines(const QByteArray& rtf)
{
    QStringList lines;
    if (rtf.isEmpty())
        return lines;
    const RichDocument doc = RtfReader::read(rtf);
    for (const Paragraph& p : doc.Paragraphs) {
        const QString text = p.text();
        if (text.contains(QChar(LineSeparator)))
            lines.append(text.split(QChar(LineSeparator)));
        else
            lines.append(text);
    }
    return lines;
}

int searchStep(int topicCount)
{
    return topicCount > 0 ? SearchProgressMax / topicCount : 0;
}

std::vector<int> searchTopics(const Project& project, const QString& query, SearchMode mode,
                              const std::function<void(int position)>& advanced)
{
    std::vector<int> found;
    if (query.isEmpty())
        return found;
    const QString upperQuery = searchUpper(query);
    const int count = project.TopicCount();
    const int step = searchStep(count);
    for (int i = 0; i < count; ++i) {
        if (matches(project.topic(i), upperQuery, mode))
            found.push_back(i);
        if (advanced)
            advanced((i + 1) * step);
    }
    return found;
}

} // namespace ts
