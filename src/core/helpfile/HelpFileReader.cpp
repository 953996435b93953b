#include "HelpFileReader.h"

#include "ContainerReader.h"
#include "ContentsFileReader.h"
#include "ContextHash.h"
#include "HelpCodePage.h"
#include "HelpFileFormat.h"
#include "HelpFileSource.h"
#include "IndexReader.h"
#include "SystemReader.h"

#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

namespace ts::helpfile {

using namespace reading;

namespace {

using namespace format;

// The topics as the record chain holds them: one topic header each, then
// its text records; the empty header that ends every file is no topic.
void readTopics(HelpDocument& doc, HelpFileSource& source, ReadProblems& problems)
{
    const auto& records = source.stream.records();
    const bool old = source.context.oldFormat;
    for (int i = 0; i < int(records.size()); ++i) {
        const TopicLinkRecord& record = records[size_t(i)];
        if (record.type != RecordTopicHeader) {
            if (doc.topics.empty() && i == 0)
                problems.add(QStringLiteral("|TOPIC"), record.pos, QStringLiteral("text before the first topic is left out"));
            continue;
        }
        HelpFileSource::TopicRecords range;
        range.first = i + 1;
        range.end = i + 1;
        while (range.end < int(records.size()) && records[size_t(range.end)].type != RecordTopicHeader)
            ++range.end;
        ByteCursor c = source.stream.linkData1(record);
        c.s32(); // size of the topic's records
        range.browseBack = c.s32();
        range.browseNext = c.s32();
        if (!old) {
            range.number = c.s32();
            range.nonScrollPos = c.s32();
            range.scrollPos = c.s32();
        }
        bool damaged = false;
        const QList<QByteArray> strings = source.stream.text(record, source.phrases, &damaged).split('\0');
        const bool last = range.end >= int(records.size());
        if (last && range.first == range.end && strings.value(0).isEmpty())
            break; // the empty header that ends the chain
        if (damaged || !c.ok())
            problems.add(QStringLiteral("|TOPIC"), record.pos, QStringLiteral("the topic header is damaged"),
                         int(doc.topics.size()));
        HelpTopic topic;
        topic.title = decodeText(strings.value(0), doc.codePage);
        for (qsizetype s = 1; s < strings.size(); ++s)
            if (!strings.at(s).isEmpty())
                topic.entryMacros.append(decodeText(strings.at(s), doc.codePage));
        topic.topicOffset = record.topicOffset;
        if (old)
            range.number = int(doc.topics.size());
        doc.topics.push_back(topic);
        source.topics.push_back(range);
    }
}

void readSystemValues(HelpDocument& doc, const SystemValues& s)
{
    doc.versionMajor = s.major;
    doc.versionMinor = s.minor;
    doc.versionFlags = s.flags;
    doc.compressed = s.compressed();
    if (s.generated != 0)
        doc.generated = QDateTime::fromSecsSinceEpoch(qint64(s.generated), QTimeZone::utc());
    doc.codePage = s.codePage();
    doc.lcid = s.lcid;
    auto text = [&](const QByteArray& bytes) { return decodeText(bytes, doc.codePage); };
    doc.title = text(s.title);
    doc.copyright = text(s.copyright);
    doc.citation = text(s.citation);
    doc.contentsFileName = text(s.contentsFile);
    doc.indexSeparators = text(s.indexSeparators);
    doc.icon = s.icon;
    for (const QByteArray& macro : s.configMacros)
        doc.configMacros.append(text(macro));
    for (const SystemValues::Window& w : s.windows) {
        HelpWindowDefinition window;
        window.flags = w.flags;
        window.type = text(w.type);
        window.name = text(w.name);
        window.caption = text(w.caption);
        window.x = w.x;
        window.y = w.y;
        window.width = w.width;
        window.height = w.height;
        window.state = w.state;
        window.scrollingColour = w.scrollingColour;
        window.nonScrollingColour = w.nonScrollingColour;
        doc.windows.push_back(window);
    }
}

// The contents file beside the help file; its Topic IDs name topics that
// the help file itself knows only by hash.
void readContents(HelpDocument& doc, const QString& path)
{
    doc.contents = readContentsBeside(path, doc.contentsFileName, doc.codePage, doc.problems);
    const QString ownName = QFileInfo(path).fileName();
    for (HelpContentsEntry& entry : doc.contents.entries) {
        const bool here = entry.file.isEmpty() || QFileInfo(entry.file).fileName().compare(ownName, Qt::CaseInsensitive) == 0;
        if (entry.kind != HelpContentsEntry::Kind::Topic || !here)
            continue;
        const std::int32_t hash = contextHash(encodeText(entry.topicId, doc.codePage));
        const HelpLocation at = doc.locate(hash);
        entry.topic = at.topic;
        doc.addIdName(hash, entry.topicId);
        if (at.isValid() && at.atTopicStart && doc.topics[size_t(at.topic)].topicId.isEmpty()) {
            HelpTopic& topic = doc.topics[size_t(at.topic)];
            topic.topicId = entry.topicId;
            topic.hash = hash;
            topic.hasHash = true;
        }
    }
}

} // namespace

HelpDocument readHelpFile(const QByteArray& bytes, const QString& fileName)
{
    HelpDocument doc;
    doc.fileName = fileName;
    ReadProblems problems(QFileInfo(fileName).fileName(), doc.problems);
    auto source = std::make_shared<HelpFileSource>();
    source->fileName = problems.file();
    if (!source->container.read(bytes, problems))
        return doc;
    doc.readable = true;
    if (!source->container.contains("|SYSTEM"))
        problems.add(QStringLiteral("|SYSTEM"), QStringLiteral("missing; read as a 4.0 file"));
    const SystemValues system = readSystem(source->container.data("|SYSTEM"), problems);
    readSystemValues(doc, system);
    doc.fonts = readFonts(source->container.data("|FONT"), doc.codePage, problems);
    source->phrases.read(source->container, system.oldFormat(), problems);
    doc.phraseCompression = source->phrases.method() == PhraseTable::Method::Hall      ? QStringLiteral("Hall")
                            : source->phrases.method() == PhraseTable::Method::Phrases ? QStringLiteral("Phrases")
                                                                                       : QString();
    if (!source->container.contains("|TOPIC"))
        problems.add(QStringLiteral("|TOPIC"), QStringLiteral("missing; the file holds no topics"));
    source->stream.read(source->container.data("|TOPIC"), system, problems);
    source->context.oldFormat = system.oldFormat();
    source->context.codePage = doc.codePage;
    source->context.fontCount = int(doc.fonts.size());
    for (const HelpWindowDefinition& window : doc.windows)
        source->context.windowNames.push_back(window.name);
    readTopics(doc, *source, problems);
    applyIndexes(doc, *source, readIndexes(source->container, problems), system.contentsOffset, problems);
    source->finish(doc);
    doc.setSource(source);
    return doc;
}

HelpDocument readHelpFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        HelpDocument doc;
        doc.fileName = path;
        doc.problems.push_back(HelpProblem{QFileInfo(path).fileName(), QString(), -1, -1,
                                           QStringLiteral("cannot be read: %1").arg(file.errorString())});
        return doc;
    }
    HelpDocument doc = readHelpFile(file.readAll(), path);
    if (doc.readable)
        readContents(doc, path);
    return doc;
}

} // namespace ts::helpfile
