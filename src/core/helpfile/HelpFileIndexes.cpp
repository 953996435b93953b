// The lookup files of a help file applied to its topics: Topic IDs and
// hashes, windows, keywords, browse sequence, [MAP] numbers and the contents
// topic all refer to topics by position (TOPICOFFSET) or number.

#include "ContextHash.h"
#include "HelpCodePage.h"
#include "HelpFileFormat.h"
#include "HelpFileSource.h"
#include "IndexReader.h"

#include <algorithm>

namespace ts::helpfile::reading {

namespace {

class TopicFinder {
public:
    explicit TopicFinder(const HelpDocument& doc)
    {
        for (int i = 0; i < int(doc.topics.size()); ++i)
            starts_.emplace_back(doc.topics[size_t(i)].topicOffset, i);
        std::stable_sort(starts_.begin(), starts_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    // The topic that starts at `offset`, else the one holding it.
    HelpLocation locate(std::uint32_t offset) const
    {
        const auto it = std::upper_bound(starts_.begin(), starts_.end(), offset,
                                         [](std::uint32_t o, const auto& s) { return o < s.first; });
        if (it == starts_.begin())
            return {};
        // Several topics can start at one offset only when some are empty; the first is meant.
        auto first = std::prev(it);
        while (first != starts_.begin() && std::prev(first)->first == first->first)
            --first;
        return HelpLocation{first->second, offset, first->first == offset};
    }
    int topicStartingAt(std::uint32_t offset) const
    {
        const HelpLocation at = locate(offset);
        return at.atTopicStart ? at.topic : -1;
    }

private:
    std::vector<std::pair<std::uint32_t, int>> starts_;
};

void applyContext(HelpDocument& doc, HelpFileSource& source, const IndexValues& indexes, const TopicFinder& topics)
{
    for (const auto& [hash, offset] : indexes.context) {
        const HelpLocation at = topics.locate(offset);
        if (!at.isValid())
            continue;
        doc.addContextTarget(hash, at);
        source.context.targets[hash] = at;
        if (at.atTopicStart)
            doc.topics[size_t(at.topic)].hashes.push_back(hash);
    }
    std::map<int, int> byNumber;
    for (int i = 0; i < int(source.topics.size()); ++i)
        byNumber.emplace(source.topics[size_t(i)].number, i);
    for (const auto& [number, id] : indexes.topicIds) {
        const auto it = byNumber.find(number);
        if (it == byNumber.end())
            continue;
        HelpTopic& topic = doc.topics[size_t(it->second)];
        topic.topicId = decodeText(id, doc.codePage);
        topic.hash = contextHash(id);
        topic.hasHash = true;
        doc.addIdName(topic.hash, topic.topicId);
        source.context.idNames.emplace(topic.hash, topic.topicId);
    }
    for (const auto& [number, file] : indexes.sourceFiles) {
        const auto it = byNumber.find(number);
        if (it != byNumber.end())
            doc.topics[size_t(it->second)].sourceFile = decodeText(file, doc.codePage);
    }
    for (HelpTopic& topic : doc.topics)
        if (!topic.hasHash && !topic.hashes.empty()) {
            topic.hash = topic.hashes.front();
            topic.hasHash = true;
        }
}

void applyKeywords(HelpDocument& doc, const IndexValues& indexes, const TopicFinder& topics)
{
    for (const auto& [letter, keywords] : indexes.keywords) {
        const QChar table = QLatin1Char(letter);
        auto& out = doc.keywordTables[table];
        out.reserve(keywords.size());
        for (const IndexValues::Keyword& keyword : keywords) {
            HelpKeyword k;
            k.text = decodeText(keyword.text, doc.codePage);
            for (const std::uint32_t offset : keyword.offsets) {
                const HelpLocation at = topics.locate(offset);
                if (!at.isValid())
                    continue;
                k.topics.push_back(at.topic);
                k.offsets.push_back(offset);
                QStringList& list = doc.topics[size_t(at.topic)].keywords[table];
                if (list.isEmpty() || list.back() != k.text)
                    list.append(k.text);
            }
            out.push_back(std::move(k));
        }
    }
}

void applyWindows(HelpDocument& doc, const IndexValues& indexes, const TopicFinder& topics, ReadProblems& problems)
{
    for (const auto& [offset, window] : indexes.windows) {
        const int topic = topics.topicStartingAt(offset);
        if (topic < 0)
            continue;
        if (window < 0 || window >= int(doc.windows.size())) {
            problems.add(QStringLiteral("|VIOLA"), -1, QStringLiteral("window number %1 is not defined").arg(window), topic);
            continue;
        }
        doc.topics[size_t(topic)].window = window;
    }
    for (const auto& [window, macros] : indexes.windowMacros) {
        if (window < 0 || window >= int(doc.windows.size())) {
            problems.add(QStringLiteral("|CF%1").arg(window), QStringLiteral("macros for a window the file does not define"));
            continue;
        }
        for (const QByteArray& macro : macros)
            doc.windows[size_t(window)].configMacros.append(decodeText(macro, doc.codePage));
    }
}

void applyNumbers(HelpFileSource& source, const IndexValues& indexes)
{
    // Old files number their topics; |TOMAP gives each number's header position.
    std::map<std::int32_t, int> byPosition;
    for (int i = 0; i < int(source.topics.size()); ++i)
        byPosition.emplace(source.stream.records()[size_t(source.topics[size_t(i)].first - 1)].pos, i);
    for (int n = 0; n < int(indexes.topicPositions.size()); ++n) {
        const auto it = byPosition.find(indexes.topicPositions[size_t(n)]);
        if (it != byPosition.end())
            source.context.topicByNumber.emplace(n, it->second);
    }
    if (indexes.topicPositions.empty())
        for (int i = 0; i < int(source.topics.size()); ++i)
            source.context.topicByNumber.emplace(source.topics[size_t(i)].number, i);
}

void applyBrowse(HelpDocument& doc, const HelpFileSource& source, const TopicFinder& topics)
{
    for (int i = 0; i < int(doc.topics.size()); ++i) {
        const HelpFileSource::TopicRecords& t = source.topics[size_t(i)];
        HelpTopic& topic = doc.topics[size_t(i)];
        auto find = [&](std::int32_t link) {
            if (link == -1 || (source.context.oldFormat && link == 0xFFFF))
                return -1;
            if (source.context.oldFormat) {
                const auto it = source.context.topicByNumber.find(link);
                return it == source.context.topicByNumber.end() ? -1 : it->second;
            }
            return topics.topicStartingAt(std::uint32_t(link));
        };
        topic.browsePrevious = find(t.browseBack);
        topic.browseNext = find(t.browseNext);
    }
}

} // namespace

void applyIndexes(HelpDocument& doc, HelpFileSource& source, const IndexValues& indexes,
                  std::optional<std::uint32_t> contentsOffset, ReadProblems& problems)
{
    const TopicFinder topics(doc);
    applyContext(doc, source, indexes, topics);
    applyKeywords(doc, indexes, topics);
    applyWindows(doc, indexes, topics, problems);
    applyNumbers(source, indexes);
    applyBrowse(doc, source, topics);
    for (const auto& [number, offset] : indexes.mapNumbers) {
        HelpMapEntry entry;
        entry.number = number;
        if (offset != format::NoTopicOffset)
            entry.location = topics.locate(offset);
        doc.mapEntries.push_back(entry);
    }
    if (source.context.oldFormat && !indexes.topicPositions.empty()) {
        const auto it = source.context.topicByNumber.find(0);
        doc.contentsTopic = it == source.context.topicByNumber.end() ? -1 : it->second;
    } else if (contentsOffset) {
        doc.contentsTopic = topics.locate(*contentsOffset).topic;
    }
    if (doc.contentsTopic < 0 && !doc.topics.empty())
        doc.contentsTopic = 0;
    doc.finishBuilding();
}

} // namespace ts::helpfile::reading
