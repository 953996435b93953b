#include "HelpDocument.h"

#include "helpfile/ContextHash.h"
#include "helpfile/HelpCodePage.h"
#include "helpfile/HelpIndexFiles.h"

#include <algorithm>
#include <mutex>

namespace ts {

// Decoded topic text and pictures, shared by the copies of a document. The
// mutex guards the maps; entries never move once made, so references handed
// out stay valid for the life of the cache. A topic is decoded outside the
// mutex, once, by the first thread that asks for it: the publisher's threads
// decode different topics at the same time.
struct HelpDocument::Cache {
    struct TopicSlot {
        std::once_flag decoded;
        std::unique_ptr<HelpTopicContent> content;
    };
    std::shared_ptr<const ContentSource> source;
    mutable std::mutex mutex;
    mutable std::map<int, std::unique_ptr<TopicSlot>> contents;
    mutable std::map<int, std::unique_ptr<HelpPicture>> pictures;

    TopicSlot& slotFor(int index) const
    {
        std::lock_guard lock(mutex);
        auto& slot = contents[index];
        if (!slot)
            slot = std::make_unique<TopicSlot>();
        return *slot;
    }
};

namespace {

const HelpTopicContent& emptyContent()
{
    static const HelpTopicContent empty;
    return empty;
}

const HelpFont& defaultFont()
{
    static const HelpFont font = [] {
        HelpFont f;
        f.face = QStringLiteral("Arial");
        return f;
    }();
    return font;
}

} // namespace

QString HelpProblem::text() const
{
    QString where = internalFile;
    if (offset >= 0)
        where += (where.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("at offset 0x")
                 + QString::number(offset, 16).toUpper();
    if (topic >= 0)
        where += (where.isEmpty() ? QString() : QStringLiteral(", ")) + QStringLiteral("topic %1").arg(topic + 1);
    QString out = file.isEmpty() ? QString() : file + QStringLiteral(": ");
    if (!where.isEmpty())
        out += where + QStringLiteral(": ");
    return out + message;
}

QString HelpParagraph::text() const
{
    QString out;
    for (const HelpRun& run : runs)
        out += run.text;
    return out;
}

QString HelpTopic::idOrHash() const
{
    if (!topicId.isEmpty())
        return topicId;
    return hasHash ? HelpDocument::hashText(hash) : QString();
}

QString HelpDocument::hashText(std::int32_t hash)
{
    return QStringLiteral("0x%1").arg(std::uint32_t(hash), 8, 16, QLatin1Char('0')).toUpper().replace(
        QStringLiteral("0X"), QStringLiteral("0x"));
}

HelpDocument::HelpDocument() : cache_(std::make_shared<Cache>()) {}

QString HelpDocument::compilerName() const
{
    if (versionMinor <= 0)
        return QString();
    if (versionMinor <= 16)
        return QStringLiteral("HC 3.0");
    if (versionMinor <= 21)
        return QStringLiteral("HC 3.1");
    if (versionMinor == 27)
        return QStringLiteral("Multimedia Viewer");
    return QStringLiteral("HCW 4.00");
}

// ------------------------------------------------------------- lazy parts

const HelpTopicContent& HelpDocument::content(int index) const
{
    if (index < 0 || index >= int(topics.size()))
        return emptyContent();
    Cache::TopicSlot& slot = cache_->slotFor(index);
    std::call_once(slot.decoded, [&] {
        slot.content = std::make_unique<HelpTopicContent>(cache_->source ? cache_->source->topicContent(index)
                                                                          : HelpTopicContent());
    });
    return *slot.content;
}

const HelpPicture& HelpDocument::picture(int number) const
{
    std::lock_guard lock(cache_->mutex);
    auto& slot = cache_->pictures[number];
    if (!slot) {
        slot = std::make_unique<HelpPicture>();
        if (cache_->source)
            *slot = cache_->source->picture(number);
        else
            slot->problem = QStringLiteral("the help file holds no picture %1").arg(number);
    }
    return *slot;
}

QList<int> HelpDocument::pictureNumbers() const
{
    QList<int> numbers = cache_->source ? cache_->source->pictureNumbers() : QList<int>();
    std::lock_guard lock(cache_->mutex);
    for (const auto& [number, picture] : cache_->pictures)
        if (picture->format != HelpPicture::Format::Missing && !numbers.contains(number))
            numbers.append(number);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

QByteArray HelpDocument::baggage(const QString& name) const
{
    return cache_->source ? cache_->source->baggage(name) : QByteArray();
}

std::vector<HelpProblem> HelpDocument::allProblems() const
{
    std::vector<HelpProblem> all = problems;
    for (int i = 0; i < int(topics.size()); ++i) {
        const auto& more = content(i).problems;
        all.insert(all.end(), more.begin(), more.end());
    }
    return all;
}

void HelpDocument::setSource(std::shared_ptr<const ContentSource> source)
{
    cache_ = std::make_shared<Cache>();
    cache_->source = std::move(source);
}

void HelpDocument::setContent(int index, HelpTopicContent content)
{
    auto slot = std::make_unique<Cache::TopicSlot>();
    std::call_once(slot->decoded, [&] { slot->content = std::make_unique<HelpTopicContent>(std::move(content)); });
    std::lock_guard lock(cache_->mutex);
    cache_->contents[index] = std::move(slot);
}

void HelpDocument::setPicture(int number, HelpPicture picture)
{
    std::lock_guard lock(cache_->mutex);
    cache_->pictures[number] = std::make_unique<HelpPicture>(std::move(picture));
}

// ---------------------------------------------------------------- lookups

void HelpDocument::addIdName(std::int32_t hash, const QString& topicId)
{
    if (!topicId.isEmpty())
        idNames_.emplace(hash, topicId);
}

void HelpDocument::addContextTarget(std::int32_t hash, HelpLocation location)
{
    contextTargets_[hash] = location;
}

QString HelpDocument::idForHash(std::int32_t hash) const
{
    const auto it = idNames_.find(hash);
    return it == idNames_.end() ? QString() : it->second;
}

namespace {

QString folded(const QString& text) { return text.toCaseFolded(); }

} // namespace

void HelpDocument::finishBuilding()
{
    topicStarts_.clear();
    for (int i = 0; i < int(topics.size()); ++i) {
        HelpTopic& topic = topics[size_t(i)];
        topicStarts_.emplace_back(topic.topicOffset, i);
        if (!topic.topicId.isEmpty()) {
            const std::int32_t hash = helpfile::contextHash(helpfile::encodeText(topic.topicId, codePage));
            addIdName(hash, topic.topicId);
            contextTargets_.try_emplace(hash, HelpLocation{i, topic.topicOffset, true});
        }
        for (const std::int32_t hash : topic.hashes)
            contextTargets_.try_emplace(hash, HelpLocation{i, topic.topicOffset, true});
        if (topic.hasHash)
            contextTargets_.try_emplace(topic.hash, HelpLocation{i, topic.topicOffset, true});
    }
    std::stable_sort(topicStarts_.begin(), topicStarts_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // The tables in keyword order, as the help compilers store them (a
    // table read from a sorted file keeps its order), with each keyword's
    // first level for the search as one types and its folded text for the
    // look-up of a whole keyword.
    keywordLetters_.clear();
    keywordsByFoldedText_.clear();
    for (auto& [letter, table] : keywordTables) {
        std::vector<std::pair<helpfile::KeywordOrderKey, HelpKeyword>> keyed;
        keyed.reserve(table.size());
        for (HelpKeyword& keyword : table)
            keyed.emplace_back(helpfile::keywordOrderKey(keyword.text), std::move(keyword));
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return helpfile::keywordLess(a.first, b.first); });
        table.clear();
        auto& letters = keywordLetters_[letter];
        auto& byText = keywordsByFoldedText_[letter];
        for (auto& [key, keyword] : keyed) {
            letters.push_back(std::move(key.letters));
            const QString text = folded(keyword.text);
            if (!byText.contains(text))
                byText.insert(text, table.size());
            table.push_back(std::move(keyword));
        }
    }
}

int HelpDocument::findTopic(const QString& topicIdOrHash) const
{
    std::int32_t hash = 0;
    bool isHash = false;
    if (topicIdOrHash.startsWith(QLatin1String("0x")) && topicIdOrHash.size() == 10) {
        const std::uint32_t value = topicIdOrHash.mid(2).toUInt(&isHash, 16);
        hash = std::int32_t(value);
    }
    if (!isHash)
        hash = helpfile::contextHash(helpfile::encodeText(topicIdOrHash, codePage));
    const HelpLocation at = locate(hash);
    return at.topic;
}

HelpLocation HelpDocument::locate(std::int32_t hash) const
{
    const auto it = contextTargets_.find(hash);
    return it == contextTargets_.end() ? HelpLocation{} : it->second;
}

HelpLocation HelpDocument::locateMapNumber(int number) const
{
    for (const HelpMapEntry& entry : mapEntries)
        if (entry.number == number)
            return entry.location;
    return {};
}

int HelpDocument::topicAtOffset(std::uint32_t topicOffset) const
{
    auto it = std::upper_bound(topicStarts_.begin(), topicStarts_.end(), topicOffset,
                               [](std::uint32_t offset, const auto& start) { return offset < start.first; });
    if (it == topicStarts_.begin())
        return -1;
    return std::prev(it)->second;
}

int HelpDocument::windowByName(const QString& name) const
{
    for (int i = 0; i < int(windows.size()); ++i)
        if (windows[size_t(i)].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int HelpDocument::firstKeywordFrom(QChar table, const QString& prefix) const
{
    const auto it = keywordLetters_.find(table);
    if (it == keywordLetters_.end())
        return 0;
    const auto& letters = it->second;
    const std::u32string typed = helpfile::keywordOrderKey(prefix).letters;
    return int(std::lower_bound(letters.begin(), letters.end(), typed) - letters.begin());
}

const HelpKeyword* HelpDocument::findKeyword(QChar table, const QString& keyword) const
{
    const auto byText = keywordsByFoldedText_.find(table);
    const auto words = keywordTables.find(table);
    if (byText == keywordsByFoldedText_.end() || words == keywordTables.end())
        return nullptr;
    const auto at = byText->second.find(folded(keyword));
    if (at == byText->second.end())
        return nullptr;
    return *at < words->second.size() ? &words->second[*at] : nullptr;
}

const HelpFont& HelpDocument::fontOf(const HelpRun& run) const
{
    if (run.font >= 0 && run.font < int(fonts.size()))
        return fonts[size_t(run.font)];
    return fonts.empty() ? defaultFont() : fonts.front();
}

QString HelpDocument::targetText(const HelpHotspot& hotspot) const
{
    if (hotspot.kind == HelpHotspot::Kind::Macro)
        return QLatin1Char('!') + hotspot.macro;
    QString id = hotspot.targetId;
    if (id.isEmpty() && hotspot.targetTopicNumber >= 0) { // old files jump by topic number
        if (hotspot.targetTopic >= 0 && hotspot.targetTopic < int(topics.size()))
            id = topics[size_t(hotspot.targetTopic)].idOrHash();
        if (id.isEmpty())
            id = QStringLiteral("#%1").arg(hotspot.targetTopicNumber);
    }
    if (id.isEmpty())
        id = idForHash(hotspot.targetHash);
    if (id.isEmpty())
        id = hashText(hotspot.targetHash);
    if (!hotspot.window.isEmpty() && hotspot.kind == HelpHotspot::Kind::Jump)
        id += QLatin1Char('>') + hotspot.window;
    if (!hotspot.file.isEmpty())
        id += QLatin1Char('@') + hotspot.file;
    return id;
}

} // namespace ts
