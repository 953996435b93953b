#include "HelpImportIds.h"

#include "helpfile/ContextHash.h"
#include "helpfile/HelpCodePage.h"
#include "model/TopicRules.h"
#include "model/Windows1252.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <array>
#include <optional>

namespace ts::helpimport {
namespace {

using helpfile::contextHash;

constexpr std::uint64_t TwoTo32 = std::uint64_t(1) << 32;
// Nine suffix characters reach every hash many times over; fewer do for
// most.
constexpr int LongestSuffix = 9;

// The suffix character of each weight, 0 where no digit or capital letter
// has that weight.
const std::array<char, 43>& suffixCharacters()
{
    static const std::array<char, 43> table = [] {
        std::array<char, 43> t{};
        for (const char c : QByteArrayLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
            const std::int32_t weight = contextHash(QByteArray(1, c));
            if (weight > 0 && weight < 43)
                t[size_t(weight)] = c;
        }
        return t;
    }();
    return table;
}

// The k characters whose weights are the base-43 digits of `value`, or
// nothing when a digit is the weight of no suffix character.
std::optional<QByteArray> suffixFor(std::uint64_t value, int k)
{
    const auto& characters = suffixCharacters();
    QByteArray suffix(k, '\0');
    for (int j = k - 1; j >= 0; --j) {
        const char c = characters[size_t(value % 43)];
        if (c == 0)
            return std::nullopt;
        suffix[j] = c;
        value /= 43;
    }
    return suffix;
}

// Spellings an author may have given a Topic ID written as `text`: as it
// stands, with its blanks as "_" and without them, each also after "IDH_".
QStringList spellings(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.size() > MaxTopicIdLength)
        return {};
    QStringList out{trimmed};
    if (std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isSpace(); })) {
        QString underlined, joined;
        bool gap = false;
        for (const QChar c : trimmed) {
            if (c.isSpace()) {
                gap = true;
                continue;
            }
            if (gap)
                underlined += QLatin1Char('_');
            gap = false;
            underlined += c;
            joined += c;
        }
        out << underlined << joined;
    }
    const qsizetype n = out.size();
    for (qsizetype i = 0; i < n; ++i)
        out << QStringLiteral("IDH_") + out.at(i);
    return out;
}

// The words of a macro that may name a topic: its quoted strings and its
// bare arguments.
QStringList macroWords(const QString& macro)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;:()`'\"]+"));
    static const QRegularExpression quoted(QStringLiteral("[`\"]([^`'\"]*)['\"]"));
    QStringList out = macro.split(separators, Qt::SkipEmptyParts);
    QRegularExpressionMatchIterator it = quoted.globalMatch(macro);
    while (it.hasNext())
        out << it.next().captured(1);
    return out;
}

bool nameFitsLink(const QString& name)
{
    if (name.isEmpty() || name.size() > 255 || forbiddenTopicIdCharacter(name))
        return false;
    for (const QChar c : name)
        if (c.isSpace())
            return false;
    return true;
}

} // namespace

bool namesThisHelpFile(const HelpDocument& document, const QString& file)
{
    const auto nameOf = [](const QString& path) {
        const QString slashes = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
        return slashes.mid(slashes.lastIndexOf(QLatin1Char('/')) + 1).trimmed();
    };
    return !file.isEmpty() && nameOf(file).compare(nameOf(document.fileName), Qt::CaseInsensitive) == 0;
}

bool holdsAsTopicId(const QString& name, std::int32_t hash)
{
    if (name.isEmpty() || name.size() > MaxTopicIdLength || !nameFitsLink(name) || !cp1252::canEncode(name))
        return false;
    return contextHash(cp1252::encode(upperTopicId(name))) == hash;
}

QString idStem(const QString& text, int maxLength)
{
    QString out;
    bool gap = false;
    for (const QChar c : text) {
        if (out.size() >= maxLength)
            break;
        if (c.unicode() < 128 && c.isLetterOrNumber()) {
            if (gap && !out.isEmpty() && out.size() + 1 < maxLength)
                out += QLatin1Char('_');
            out += c.toUpper();
            gap = false;
        } else {
            gap = true;
        }
    }
    return out.isEmpty() ? QStringLiteral("TOPIC").left(maxLength) : out;
}

QString idWithHash(const QString& prefix, std::int32_t hash, int maxLength)
{
    std::uint64_t limit = 1; // 43^k
    std::uint32_t scale = 1; // 43^k modulo 2^32
    for (int k = 1; k <= LongestSuffix && k <= maxLength; ++k) {
        limit *= 43;
        scale *= 43u;
        const QByteArray head = cp1252::encode(prefix.left(maxLength - k));
        const std::uint32_t headHash = head.isEmpty() ? 0u : std::uint32_t(contextHash(head));
        const std::uint32_t wanted = std::uint32_t(hash) - headHash * scale;
        for (std::uint64_t value = wanted; value < limit; value += TwoTo32)
            if (const auto suffix = suffixFor(value, k)) {
                const QByteArray id = head + *suffix;
                Q_ASSERT(contextHash(id) == hash);
                return cp1252::decode(id);
            }
    }
    return QString();
}

TopicNames::TopicNames(const HelpDocument& document, ImportLog& log) : doc_(document), log_(log)
{
    gatherNames();
    matchCandidates();
    assignIds();
}

// Real names: the Topic ID table and the contents file (as the document
// gives them), and the names hotspots of pictures carry.
void TopicNames::gatherNames()
{
    std::set<std::int32_t> hashes;
    for (int i = 0; i < int(doc_.topics.size()); ++i) {
        const HelpTopic& topic = doc_.topics[size_t(i)];
        if (topic.hasHash)
            hashes.insert(topic.hash);
        hashes.insert(topic.hashes.begin(), topic.hashes.end());
        if (!topic.topicId.isEmpty() && topic.hasHash)
            names_.emplace(topic.hash, topic.topicId);
        for (const HelpHotspot& hotspot : doc_.content(i).hotspots)
            if (hotspot.kind != HelpHotspot::Kind::Macro && hotspot.targetTopicNumber < 0) {
                linkHashes_.insert(hotspot.targetHash);
                if (!hotspot.targetId.isEmpty())
                    names_.emplace(hotspot.targetHash, hotspot.targetId);
            }
    }
    for (const int number : doc_.pictureNumbers())
        for (const HelpPictureHotspot& area : doc_.picture(number).hotspots)
            if (area.hotspot.kind != HelpHotspot::Kind::Macro && !area.hotspot.targetId.isEmpty())
                names_.emplace(area.hotspot.targetHash, area.hotspot.targetId);
    hashes.insert(linkHashes_.begin(), linkHashes_.end());
    for (const std::int32_t hash : hashes)
        if (const QString name = doc_.idForHash(hash); !name.isEmpty())
            names_.emplace(hash, name);
}

// Names met in the file, in a few spellings, that hash to a hash nothing
// names yet.
void TopicNames::matchCandidates()
{
    std::set<std::int32_t> unnamed;
    for (const HelpTopic& topic : doc_.topics)
        for (const std::int32_t hash : topic.hashes)
            if (!names_.count(hash))
                unnamed.insert(hash);
    for (const std::int32_t hash : linkHashes_)
        if (!names_.count(hash))
            unnamed.insert(hash);
    if (unnamed.empty())
        return;

    // Hotspot texts and keywords repeat a lot: each is tried once.
    QSet<QString> tried;
    const auto tryName = [this, &unnamed, &tried](const QString& candidate) {
        if (unnamed.empty() || candidate.isEmpty() || tried.contains(candidate))
            return;
        tried.insert(candidate);
        const std::int32_t hash = contextHash(helpfile::encodeText(candidate, doc_.codePage));
        if (unnamed.erase(hash))
            names_.emplace(hash, candidate);
    };
    QSet<QString> triedTexts;
    const auto tryText = [&tryName, &triedTexts](const QString& text) {
        if (triedTexts.contains(text))
            return;
        triedTexts.insert(text);
        for (const QString& spelling : spellings(text))
            tryName(spelling);
    };
    const auto tryMacro = [&tryName, &unnamed](const QString& macro) {
        if (macro.isEmpty() || unnamed.empty())
            return;
        for (const QString& word : macroWords(macro))
            tryName(word);
    };
    for (const QString& macro : doc_.configMacros)
        tryMacro(macro);
    for (const HelpWindowDefinition& window : doc_.windows)
        for (const QString& macro : window.configMacros)
            tryMacro(macro);
    for (const HelpContentsEntry& entry : doc_.contents.entries)
        tryMacro(entry.macro);
    for (int i = 0; i < int(doc_.topics.size()); ++i) {
        const HelpTopic& topic = doc_.topics[size_t(i)];
        tryText(topic.title);
        for (const QString& macro : topic.entryMacros)
            tryMacro(macro);
        for (const auto& [letter, words] : topic.keywords)
            for (const QString& word : words)
                tryText(word);
        const HelpTopicContent& content = doc_.content(i);
        for (const HelpHotspot& hotspot : content.hotspots)
            tryMacro(hotspot.macro);
        std::map<int, QString> hotspotTexts;
        for (const auto* region : {&content.nonScrolling, &content.scrolling})
            for (const HelpParagraph& paragraph : *region)
                for (const HelpRun& run : paragraph.runs) {
                    if (run.hotspot >= 0)
                        hotspotTexts[run.hotspot] += run.text;
                    if (run.embedded)
                        tryMacro(run.embedded->macro);
                }
        for (const auto& [index, text] : hotspotTexts)
            tryText(text);
    }
    for (const int number : doc_.pictureNumbers())
        for (const HelpPictureHotspot& area : doc_.picture(number).hotspots)
            tryMacro(area.hotspot.macro);
}

void TopicNames::assignIds()
{
    const int count = int(doc_.topics.size());
    ids_.assign(size_t(count), QString());
    // Links that lead inside a topic: a topic that no entry leads to the
    // start of takes such a hash, so that those links keep theirs.
    std::map<int, std::int32_t> inside;
    for (const std::int32_t hash : linkHashes_)
        if (const HelpLocation at = doc_.locate(hash); at.isValid() && !at.atTopicStart)
            inside.emplace(at.topic, hash);

    std::vector<int> unreachable;
    for (int i = 0; i < count; ++i) {
        const HelpTopic& topic = doc_.topics[size_t(i)];
        std::vector<std::int32_t> hashes = topic.hashes;
        if (topic.hasHash && std::find(hashes.begin(), hashes.end(), topic.hash) == hashes.end())
            hashes.insert(hashes.begin(), topic.hash);
        if (hashes.empty() && inside.count(i))
            hashes.push_back(inside.at(i));
        if (hashes.empty())
            unreachable.push_back(i);
        else
            assignHashedId(i, hashes);
    }
    nameUnreachable(unreachable);
}

// Topic `i` is reached by `hashes`: its ID keeps the one that has a name
// (its own ID first), or the first.
void TopicNames::assignHashedId(int i, const std::vector<std::int32_t>& hashes)
{
    const HelpTopic& topic = doc_.topics[size_t(i)];
    std::int32_t hash = topic.hasHash ? topic.hash : hashes.front();
    if (topic.topicId.isEmpty())
        for (const std::int32_t h : hashes)
            if (names_.count(h)) {
                hash = h;
                break;
            }
    const QString name = nameFor(hash);
    QString id;
    if (holdsAsTopicId(name, hash)) {
        id = upperTopicId(name);
    } else {
        id = idWithHash(idStem(name.isEmpty() ? topic.title : name, MaxTopicIdLength - 8) + QLatin1Char('_'), hash);
        if (id.isEmpty()) { // no suffix of nine characters reaches the hash
            nameUnreachable({i});
            return;
        }
        if (name.isEmpty())
            log_.tally(QStringLiteral("Topic IDs made from the title, with a suffix that gives the hash the help "
                                      "file stores, so that links from other files and programs still reach them"),
                       i);
        else
            log_.topicNote(i, QStringLiteral("its Topic ID \"%1\" can not be a project's Topic ID; it is named %2, "
                                             "which links reach the same way")
                                  .arg(name, id));
    }
    ids_[size_t(i)] = id;
    usedIds_.insert(id);
    if (hashes.size() > 1) {
        QStringList others;
        for (const std::int32_t h : hashes)
            if (h != hash)
                others << (names_.count(h) ? names_.at(h) : HelpDocument::hashText(h));
        log_.topicNote(i, QStringLiteral("the help file also leads to it as %1; a project topic has one Topic ID, "
                                         "so jumps from other files and programs to those names find nothing")
                              .arg(others.join(QStringLiteral(", "))));
    }
}

// Topics nothing leads to by hash are named after their title, unique, and
// with a hash no link of the file names.
void TopicNames::nameUnreachable(const std::vector<int>& topics)
{
    std::set<std::int32_t> taken(linkHashes_.begin(), linkHashes_.end());
    for (const HelpTopic& topic : doc_.topics)
        taken.insert(topic.hashes.begin(), topic.hashes.end());
    for (const int i : topics) {
        const QString stem = idStem(doc_.topics[size_t(i)].title, MaxTopicIdLength - 4);
        QString id = stem;
        for (int n = 2; usedIds_.count(id) || taken.count(contextHash(cp1252::encode(id))); ++n)
            id = stem + QStringLiteral("_%1").arg(n);
        ids_[size_t(i)] = id;
        usedIds_.insert(id);
        taken.insert(contextHash(cp1252::encode(id)));
        log_.tally(QStringLiteral("Topics no Topic ID of the help file leads to, named after their title"), i);
    }
}

QString TopicNames::nameFor(std::int32_t hash) const
{
    const auto it = names_.find(hash);
    return it == names_.end() ? QString() : it->second;
}

QString TopicNames::madeUpName(std::int32_t hash, const QString& text)
{
    const auto known = madeUp_.find(hash);
    if (known != madeUp_.end())
        return known->second;
    QString name = idWithHash(idStem(text, MaxTopicIdLength - 8) + QLatin1Char('_'), hash);
    madeUp_.emplace(hash, name);
    return name;
}

QString TopicNames::linkTarget(const HelpHotspot& hotspot, const QString& hotspotText, int fromTopic)
{
    if (hotspot.file.isEmpty() || namesThisHelpFile(doc_, hotspot.file)) {
        int target = hotspot.targetTopic;
        if (hotspot.targetTopicNumber < 0) {
            const HelpLocation at = doc_.locate(hotspot.targetHash);
            if (target < 0)
                target = at.topic;
            if (at.isValid() && !at.atTopicStart)
                log_.tally(QStringLiteral("Jumps and pop-ups to a place inside a topic, which now open the topic at "
                                          "its start"),
                           fromTopic);
        }
        if (target >= 0 && target < int(ids_.size()))
            return ids_[size_t(target)];
        if (hotspot.targetTopicNumber >= 0) {
            log_.topicNote(fromTopic, QStringLiteral("the link \"%1\" leads to topic number %2, which the help file "
                                                     "does not hold; it names %3")
                                          .arg(hotspotText.simplified(), QString::number(hotspot.targetTopicNumber),
                                               idStem(hotspotText, MaxTopicIdLength)));
            return idStem(hotspotText, MaxTopicIdLength);
        }
        log_.tally(QStringLiteral("Jumps and pop-ups to a Topic ID that no topic of the help file has (kept as they "
                                  "are; the compiler warns of them)"),
                   fromTopic);
    }
    const QString name = hotspot.targetId.isEmpty() ? nameFor(hotspot.targetHash) : hotspot.targetId;
    const bool here = hotspot.file.isEmpty() || namesThisHelpFile(doc_, hotspot.file);
    if (here ? holdsAsTopicId(name, hotspot.targetHash)
                               : nameFitsLink(name) && contextHash(cp1252::encode(name)) == hotspot.targetHash)
        return here ? upperTopicId(name) : name;
    const QString made = madeUpName(hotspot.targetHash, hotspotText);
    log_.tally(QStringLiteral("Links known only by hash, named with a made-up Topic ID of the same hash"), fromTopic);
    return made;
}

QString TopicNames::targetForName(const QString& name) const
{
    const HelpLocation at = doc_.locate(contextHash(helpfile::encodeText(name.trimmed(), doc_.codePage)));
    if (at.topic >= 0 && at.topic < int(ids_.size()))
        return ids_[size_t(at.topic)];
    return name.trimmed();
}

} // namespace ts::helpimport
