#include "HelpCompiler.h"

#include "ContextHash.h"
#include "HelpFileContainer.h"
#include "HelpFonts.h"
#include "HelpIndexFiles.h"
#include "HelpPictures.h"
#include "TopicLayout.h"
#include "TopicText.h"
#include "contents/ContentsFile.h"
#include "model/CountText.h"
#include "model/IoError.h"
#include "model/Project.h"
#include "model/WholeFile.h"
#include "model/Windows1252.h"
#include "richtext/StoredText.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <map>

namespace ts {
namespace {

using namespace helpfile;

// The index holds keywords of up to 255 characters; a topic's keyword field
// is never longer, so no keyword needs cutting.
static_assert(decltype(TopicRecord::Keywords)::Capacity <= 255);

QString idText(const TopicRecord& topic) { return cp1252::decode(topic.TopicID.bytes()); }

// Titles are stored as strings that end at a NUL (in the title index and
// |SYSTEM): a NUL that came in with the project is shown as a blank instead
// of cutting the title short in one place and not in another.
QByteArray storedText(QByteArray bytes) { return bytes.replace('\0', ' '); }

// The .cnt the build writes beside the help file (the project base +
// ".cnt"), which the viewer opens for the Contents tab.
QString contentsFileName(const Project& project)
{
    return QFileInfo(project.projectBase() + QStringLiteral(".cnt")).fileName();
}

std::uint32_t generationTime()
{
    // A fixed time from the environment gives reproducible builds.
    bool ok = false;
    const qint64 fixed = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
    return std::uint32_t(ok ? fixed : QDateTime::currentSecsSinceEpoch());
}

class Compilation {
public:
    Compilation(const Project& project, HelpCompileReport& report, const BuildFeedback& feedback)
        : project_(project), report_(report), feedback_(feedback),
          pictures_(QFileInfo(project.ProjectPath).absolutePath())
    {
    }

    QByteArray run();

private:
    void warn(const QString& line)
    {
        report_.logLines << line;
        ++report_.warnings;
    }
    void hashTopicIds();
    std::vector<LaidOutTopic> encodeTopics();
    // One function per internal file; topics are named by their offsets.
    TopicFileLayout addTopics(HelpFileContainer& file, const std::vector<LaidOutTopic>& topics);
    void addSystem(HelpFileContainer& file, const TopicFileLayout& layout, bool anyTopics);
    void addContext(HelpFileContainer& file, const std::vector<std::int32_t>& offsets);
    void addContextMap(HelpFileContainer& file, const std::vector<std::int32_t>& offsets);
    void addTitlesAndWindows(HelpFileContainer& file, const std::vector<std::int32_t>& offsets);
    void addKeywords(HelpFileContainer& file, const std::vector<std::int32_t>& offsets);
    void addPictures(HelpFileContainer& file);
    void checkContentsFile();

    const Project& project_;
    HelpCompileReport& report_;
    const BuildFeedback& feedback_;
    HelpFonts fonts_;
    HelpPictures pictures_;
    std::map<std::int32_t, int> topicsByHash_; // the first topic of each hash
    std::vector<bool> inContext_;              // per topic: its ID is in |CONTEXT
};

void Compilation::hashTopicIds()
{
    inContext_.assign(size_t(project_.TopicCount()), false);
    for (int i = 0; i < project_.TopicCount(); ++i) {
        const TopicRecord& topic = project_.topic(i);
        if (topic.TopicID.isEmpty()) {
            warn(QStringLiteral("Topic %1 (\"%2\") has no Topic ID; nothing can jump to it")
                     .arg(i + 1)
                     .arg(cp1252::decode(topic.Title.bytes())));
            continue;
        }
        const std::int32_t hash = contextHash(topic.TopicID.bytes());
        const auto [at, added] = topicsByHash_.emplace(hash, i);
        if (added) {
            inContext_[size_t(i)] = true;
            continue;
        }
        warn(QStringLiteral("Topic %1: its Topic ID hashes like that of topic %2 (duplicate context); "
                            "jumps to %1 open %2")
                 .arg(idText(topic), idText(project_.topic(at->second))));
    }
}

std::vector<LaidOutTopic> Compilation::encodeTopics()
{
    const int count = project_.TopicCount();
    std::vector<LaidOutTopic> topics(static_cast<size_t>(count));
    QString current;
    TopicTextEncoder encoder(project_, fonts_, pictures_, topicsByHash_,
                             [this, &current](const QString& line) { warn(QStringLiteral("Topic %1: %2").arg(current, line)); });
    for (int i = 0; i < count; ++i) {
        const TopicRecord& topic = project_.topic(i);
        current = topic.TopicID.isEmpty() ? QString::number(i + 1) : idText(topic);
        LaidOutTopic& out = topics[size_t(i)];
        out.Title = storedText(topic.Title.bytes());
        const RichDocument header = readStoredText(topic.HeaderRtf);
        if (hasText(header))
            out.NonScrolling = encoder.encode(header);
        out.Scrolling = encoder.encode(readStoredText(topic.BodyRtf));
        for (const QString& notice : encoder.takeNotices())
            warn(QStringLiteral("Topic %1: %2").arg(current, notice));
        if (const int unshown = encoder.takeUnshownCharacters(); unshown > 0)
            warn(QStringLiteral("Topic %1: %2 cannot be shown in a Windows-1252 help file")
                     .arg(current, countText(unshown, QStringLiteral("character"), QStringLiteral("characters"))));
        if (feedback_.Progress)
            feedback_.Progress(80 / count);
    }
    report_.jumps = encoder.hotspots();
    return topics;
}

void Compilation::addKeywords(HelpFileContainer& file, const std::vector<std::int32_t>& offsets)
{
    // Keywords that differ only in case are one keyword, spelt as first met.
    std::map<QString, KeywordEntry> keywords;
    for (int i = 0; i < project_.TopicCount(); ++i) {
        const TopicRecord& topic = project_.topic(i);
        for (QByteArray keyword : topic.Keywords.bytes().split(';')) {
            keyword = keyword.trimmed().replace('\0', ' ');
            if (keyword.isEmpty())
                continue;
            KeywordEntry& entry = keywords[keywordIdentity(keyword)];
            if (entry.Keyword.isEmpty())
                entry.Keyword = keyword;
            if (entry.Topics.empty() || entry.Topics.back() != offsets[size_t(i)])
                entry.Topics.push_back(offsets[size_t(i)]);
        }
    }
    report_.keywords = int(keywords.size());
    if (keywords.empty())
        return;
    std::vector<KeywordEntry> ordered;
    ordered.reserve(keywords.size());
    for (auto& [key, entry] : keywords)
        ordered.push_back(std::move(entry));
    std::sort(ordered.begin(), ordered.end(),
              [](const KeywordEntry& a, const KeywordEntry& b) { return keywordLess(a.Keyword, b.Keyword); });
    // The topic files carry the same keyword text as K and A keywords.
    const KeywordFiles files = keywordFiles(ordered);
    file.add(QByteArrayLiteral("|KWBTREE"), files.Tree);
    file.add(QByteArrayLiteral("|KWDATA"), files.Data);
    file.add(QByteArrayLiteral("|KWMAP"), files.Map);
    file.add(QByteArrayLiteral("|AWBTREE"), files.Tree);
    file.add(QByteArrayLiteral("|AWDATA"), files.Data);
    file.add(QByteArrayLiteral("|AWMAP"), files.Map);
}

// Entries of the contents file that open a topic of this project must name
// an existing Topic ID.
void Compilation::checkContentsFile()
{
    ContentsFile::ParseResult contents;
    try {
        contents = ContentsFile::readFor(project_);
    } catch (const IoError& e) {
        warn(QStringLiteral("Contents: %1").arg(e.message()));
        return;
    }
    for (const ContentsNode& node : contentsNodes(contents.Tree)) {
        if (node.Entry->Kind != ContentsKind::Topic)
            continue;
        const ContentsEntryParts parts = splitContentsText(node.Entry->Text);
        if (!parts.HelpFile.isEmpty() || parts.TopicId.isEmpty())
            continue;
        if (!topicsByHash_.count(contextHash(cp1252::encode(parts.TopicId.trimmed()))))
            warn(QStringLiteral("Contents: entry \"%1\" opens %2: no topic has this Topic ID")
                     .arg(parts.Title, parts.TopicId));
    }
}

TopicFileLayout Compilation::addTopics(HelpFileContainer& file, const std::vector<LaidOutTopic>& topics)
{
    TopicFileLayout layout = layOutTopics(topics, true);
    report_.topicFileBytes = layout.Bytes.size();
    report_.topicRecordBytes = layout.RecordBytes;
    report_.topicsCompressed = layout.Compressed;
    if (!layout.Compressed)
        warn(QStringLiteral("A paragraph is too long to be compressed (about 4000 characters at the most); the "
                            "help file is stored uncompressed, and larger. Break long paragraphs up to keep it "
                            "compressed."));
    file.add(QByteArrayLiteral("|TOPIC"), layout.Bytes);
    return layout;
}

void Compilation::addSystem(HelpFileContainer& file, const TopicFileLayout& layout, bool anyTopics)
{
    std::vector<QByteArray> windows;
    for (int k = 0; k < project_.WindowCount(); ++k)
        windows.push_back(windowRecord(project_.window(k), [this](const QString& line) { warn(line); }));
    SystemValues system;
    system.Title = storedText(project_.window(0).Caption.bytes());
    // Wine's viewer fails on a help file without a title, so a main window
    // without a caption gives the file the project's name as its title.
    if (system.Title.isEmpty())
        system.Title = cp1252::encode(QFileInfo(project_.ProjectPath).completeBaseName());
    // Without topics there is nothing to name: the last offset is the end
    // of the topic chain, which no viewer can show.
    if (anyTopics)
        system.ContentsTopic = layout.Offsets.front();
    system.Compressed = layout.Compressed;
    system.GenerationTime = generationTime();
    if (ContentsFile::existsFor(project_)) {
        system.ContentsFileName = cp1252::encode(contentsFileName(project_));
        checkContentsFile();
    }
    file.add(QByteArrayLiteral("|SYSTEM"), systemFile(system, windows));
}

void Compilation::addContext(HelpFileContainer& file, const std::vector<std::int32_t>& offsets)
{
    std::vector<std::pair<std::int32_t, std::int32_t>> contexts;
    for (const auto& [hash, topic] : topicsByHash_)
        contexts.emplace_back(hash, offsets[size_t(topic)]);
    file.add(QByteArrayLiteral("|CONTEXT"), contextFile(contexts));
}

// |CTXOMAP: each Application Call ID once, for the first topic that has it.
void Compilation::addContextMap(HelpFileContainer& file, const std::vector<std::int32_t>& offsets)
{
    std::vector<std::pair<std::int32_t, std::int32_t>> mapped;
    std::map<std::int32_t, int> mapOwners;
    for (int i = 0; i < project_.TopicCount(); ++i) {
        const TopicRecord& topic = project_.topic(i);
        if (!topic.HasCallId)
            continue;
        const auto [owner, added] = mapOwners.emplace(topic.CallId, i);
        if (added)
            mapped.emplace_back(topic.CallId, offsets[size_t(i)]);
        else
            warn(QStringLiteral("Topic %1: Application Call ID %2 is already that of topic %3; ignored")
                     .arg(idText(topic))
                     .arg(topic.CallId)
                     .arg(idText(project_.topic(owner->second))));
    }
    file.add(QByteArrayLiteral("|CTXOMAP"), contextMapFile(mapped));
}

// |TTLBTREE, with an empty title for the end of the topic chain, and |VIOLA.
void Compilation::addTitlesAndWindows(HelpFileContainer& file, const std::vector<std::int32_t>& offsets)
{
    std::vector<std::pair<std::int32_t, QByteArray>> titles;
    std::vector<std::pair<std::int32_t, std::int32_t>> topicWindows;
    for (int i = 0; i < project_.TopicCount(); ++i) {
        const TopicRecord& topic = project_.topic(i);
        const std::int32_t offset = offsets[size_t(i)];
        titles.emplace_back(offset, storedText(topic.Title.bytes()));
        const bool knownWindow = topic.WindowIndex >= 0 && topic.WindowIndex < project_.WindowCount();
        topicWindows.emplace_back(offset, knownWindow ? topic.WindowIndex : 0);
    }
    titles.emplace_back(offsets.back(), QByteArray());
    file.add(QByteArrayLiteral("|TTLBTREE"), titleFile(titles));
    if (!topicWindows.empty())
        file.add(QByteArrayLiteral("|VIOLA"), windowMapFile(topicWindows));
}

void Compilation::addPictures(HelpFileContainer& file)
{
    const std::vector<QByteArray>& pictures = pictures_.pictures();
    for (size_t n = 0; n < pictures.size(); ++n)
        file.add("|bm" + QByteArray::number(qulonglong(n)), pictures[n]);
    report_.bitmaps = int(pictures.size());
    report_.pictureFiles = pictures_.fileNames();
}

QByteArray Compilation::run()
{
    if (feedback_.Status)
        feedback_.Status(HelpCompileStatusText);
    report_.topics = project_.TopicCount();
    if (report_.topics == 0)
        warn(QStringLiteral("The project has no topics; the help file shows nothing"));
    hashTopicIds();
    const std::vector<LaidOutTopic> topics = encodeTopics();

    HelpFileContainer file;
    const TopicFileLayout layout = addTopics(file, topics);
    const std::vector<std::int32_t>& offsets = layout.Offsets;
    addSystem(file, layout, !topics.empty());
    file.add(QByteArrayLiteral("|FONT"), fonts_.bytes());
    addContext(file, offsets);
    addContextMap(file, offsets);
    addTitlesAndWindows(file, offsets);
    addKeywords(file, offsets);
    addPictures(file);

    QByteArray bytes = file.bytes();
    if (bytes.size() > 0x7FFFFFFF)
        throw IoError(QStringLiteral("The help file for '%1' would be larger than 2 GB").arg(project_.ProjectPath));
    if (feedback_.Progress)
        feedback_.Progress(20);
    if (feedback_.Status)
        feedback_.Status(QString());
    return bytes;
}

QByteArray logBytes(const HelpCompileReport& report)
{
    QByteArray out;
    for (const QString& line : report.logLines)
        out += cp1252::encode(line) + "\r\n";
    return out;
}

} // namespace

QString HelpCompileReport::summary() const
{
    const auto count = [](qint64 n, const char* one, const char* many) {
        return countText(n, QLatin1String(one), QLatin1String(many));
    };
    return count(topics, "topic", "topics") + QStringLiteral(", ") + count(jumps, "jump", "jumps")
        + QStringLiteral(", ") + count(keywords, "keyword", "keywords") + QStringLiteral(", ")
        + count(bitmaps, "bitmap", "bitmaps") + QStringLiteral("; ") + count(warnings, "warning", "warnings")
        + QStringLiteral(", ") + count(errors, "error", "errors");
}

QString helpFilePathFor(const Project& project) { return project.projectBase() + QStringLiteral(".HLP"); }
QString compileLogPathFor(const Project& project) { return project.projectBase() + QStringLiteral(".LOG"); }

QByteArray compileHelpFileBytes(const Project& project, HelpCompileReport& report, const BuildFeedback& feedback)
{
    report = HelpCompileReport();
    try {
        QByteArray bytes = Compilation(project, report, feedback).run();
        report.logLines << report.summary();
        return bytes;
    } catch (const IoError& e) {
        report.logLines << e.message();
        ++report.errors;
        report.logLines << report.summary();
        throw;
    }
}

HelpCompileReport compileHelpFile(const Project& project, const BuildFeedback& feedback)
{
    HelpCompileReport report;
    const QString logPath = compileLogPathFor(project);
    QByteArray bytes;
    try {
        bytes = compileHelpFileBytes(project, report, feedback);
    } catch (const IoError&) {
        writeWholeFile(logPath, logBytes(report));
        throw;
    }
    const QString helpPath = helpFilePathFor(project);
    try {
        writeWholeFile(helpPath, bytes);
    } catch (const IoError& e) {
        // The log says why there is no help file, before the summary.
        report.logLines.insert(report.logLines.size() - 1, e.message());
        ++report.errors;
        report.logLines.last() = report.summary();
        try {
            writeWholeFile(logPath, logBytes(report));
        } catch (const IoError&) {
        }
        throw;
    }
    if (feedback.FileWritten)
        feedback.FileWritten(helpPath);
    writeWholeFile(logPath, logBytes(report));
    if (feedback.FileWritten)
        feedback.FileWritten(logPath);
    return report;
}

} // namespace ts
