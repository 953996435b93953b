#include "HelpImporter.h"

#include "contents/ContentsFile.h"
#include "helpdoc/HelpImportContents.h"
#include "helpdoc/HelpImportIds.h"
#include "helpdoc/HelpImportText.h"
#include "helpdoc/HelpImportWindows.h"
#include "helpfile/HelpFileReader.h"
#include "model/CountText.h"
#include "model/IoError.h"
#include "model/ProjectFile.h"
#include "model/WholeFile.h"
#include "model/Windows1252.h"
#include "richtext/RtfWriter.h"

#include <QFileInfo>
#include <set>

namespace ts {
namespace {

using namespace helpimport;

constexpr int KeywordCapacity = decltype(TopicRecord::Keywords)::Capacity;
constexpr int TitleCapacity = decltype(TopicRecord::Title)::Capacity;

// The keyword line of a topic: its index keywords, then the ALink keywords
// the index does not already hold (the project keeps one list and compiles
// it into both tables), as many as the line holds.
QString keywordLine(const HelpTopic& topic, int index, ImportLog& log)
{
    QStringList words;
    std::set<QString> seen;
    bool addedALinks = false;
    QStringList other;
    for (const auto& [letter, list] : topic.keywords)
        if (letter != QLatin1Char('K') && letter != QLatin1Char('A'))
            other << QStringLiteral("%1: %2").arg(letter).arg(list.join(QStringLiteral("; ")));
    for (const QChar letter : {QLatin1Char('K'), QLatin1Char('A')}) {
        const auto it = topic.keywords.find(letter);
        if (it == topic.keywords.end())
            continue;
        for (const QString& word : it->second) {
            if (!seen.insert(word.toCaseFolded()).second)
                continue;
            if (word.contains(QLatin1Char(';'))) {
                log.topicNote(index, QStringLiteral("the keyword \"%1\" holds \";\", which separates keywords; it is "
                                                    "left out")
                                         .arg(word));
                continue;
            }
            words << word;
            addedALinks = addedALinks || letter == QLatin1Char('A');
        }
    }
    if (addedALinks)
        log.tally(QStringLiteral("Topics whose ALink keywords join their keywords (a project keeps one list, which "
                                 "the index shows as well)"),
                  index);
    if (!other.isEmpty())
        log.topicNote(index, QStringLiteral("keywords of other tables are not kept: %1").arg(other.join(QStringLiteral(", "))));
    QString line;
    QStringList left;
    for (const QString& word : words) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(';') + word;
        if (cp1252::encode(longer).size() <= KeywordCapacity)
            line = longer;
        else
            left << word;
    }
    if (!left.isEmpty())
        log.topicNote(index, QStringLiteral("the keyword line holds %1 characters; left out: %2")
                                 .arg(KeywordCapacity)
                                 .arg(left.join(QStringLiteral("; "))));
    return line;
}

void setCountedTexts(TopicRecord& record, const HelpTopic& topic, const QString& keywords, int index, ImportLog& log)
{
    if (topic.title.size() > TitleCapacity)
        log.tally(QStringLiteral("Titles longer than %1 characters, cut").arg(TitleCapacity), index);
    if (!cp1252::canEncode(topic.title) || !cp1252::canEncode(keywords))
        log.tally(QStringLiteral("Titles or keywords with characters Windows-1252 does not have, written as \"?\""),
                  index);
    record.Title.setText(topic.title);
    record.Keywords.setText(keywords);
}

void logTopicExtras(const HelpDocument& doc, const HelpTopic& topic, int index, ImportLog& log)
{
    if (!topic.entryMacros.isEmpty())
        log.topicNote(index, QStringLiteral("the macros run when it is shown are not kept: %1")
                                 .arg(topic.entryMacros.join(QStringLiteral("; "))));
    if (topic.browsePrevious >= 0 || topic.browseNext >= 0)
        log.tally(QStringLiteral("Topics in a browse sequence (the << and >> buttons), which a project does not keep"),
                  index);
    if (index == doc.contentsTopic && index != 0)
        log.note(QStringLiteral("The contents topic is topic %1; the compiled help file opens at the first topic").arg(index + 1));
}

// The [MAP] numbers: one Application Call ID a topic.
void applyMapNumbers(const HelpDocument& doc, Project& project, ImportLog& log)
{
    std::set<int> used;
    std::map<int, QStringList> extra; // numbers of topics that have one already
    for (const HelpMapEntry& entry : doc.mapEntries) {
        const int topic = entry.location.topic;
        if (!entry.location.isValid()) {
            log.tally(QStringLiteral("[MAP] numbers that name no topic, left out"), -1);
            continue;
        }
        if (topic >= project.TopicCount())
            continue; // the topic was left out, and said so
        TopicRecord& record = project.topic(topic);
        if (!used.insert(entry.number).second) {
            log.topicNote(topic, QStringLiteral("[MAP] number %1 belongs to an earlier topic; left out").arg(entry.number));
            continue;
        }
        if (record.HasCallId) {
            extra[topic] << QString::number(entry.number);
            continue;
        }
        if (!entry.location.atTopicStart)
            log.tally(QStringLiteral("[MAP] numbers that lead inside a topic, now to its start"), topic);
        record.HasCallId = true;
        record.CallId = entry.number;
    }
    for (const auto& [topic, numbers] : extra)
        log.topicNote(topic, QStringLiteral("it is also called by [MAP] %1 %2; a project topic has one Application Call "
                                            "ID (%3)")
                                 .arg(numbers.size() == 1 ? QStringLiteral("number") : QStringLiteral("numbers"),
                                      numbers.join(QStringLiteral(", ")))
                                 .arg(project.topic(topic).CallId));
}

void logFileExtras(const HelpDocument& doc, const Project& project, ImportLog& log)
{
    const QString mainCaption = project.window(0).Caption.text();
    if (!doc.title.isEmpty() && doc.title != mainCaption)
        log.note(QStringLiteral("The help title \"%1\" is not kept; the compiled help file takes the caption of the "
                                "window \"main\" (\"%2\")")
                     .arg(doc.title, mainCaption));
    if (!doc.copyright.isEmpty())
        log.note(QStringLiteral("The copyright text is not kept: %1").arg(doc.copyright.simplified()));
    if (!doc.citation.isEmpty())
        log.note(QStringLiteral("The citation is not kept: %1").arg(doc.citation.simplified()));
    if (!doc.configMacros.isEmpty())
        log.note(QStringLiteral("The macros run when the help file opens are not kept: %1")
                     .arg(doc.configMacros.join(QStringLiteral("; "))));
    if (!doc.icon.isEmpty())
        log.note(QStringLiteral("The help file's icon is not kept"));
    if (!doc.baggageFiles.isEmpty())
        log.note(QStringLiteral("Files carried in the help file are not kept: %1").arg(doc.baggageFiles.join(QStringLiteral(", "))));
    if (doc.codePage != 1252)
        log.note(QStringLiteral("The help file's text is in code page %1; a project keeps Windows-1252, so text "
                                "without a form there shows as \"?\" once compiled")
                     .arg(doc.codePage));
}

TopicRecord topicRecord(const HelpDocument& doc, int index, const TopicNames& names, TopicTextConverter& text,
                         const std::vector<int>& windows, ImportLog& log)
{
    const HelpTopic& topic = doc.topics[size_t(index)];
    TopicRecord record;
    record.TopicID.setText(names.topicId(index));
    setCountedTexts(record, topic, keywordLine(topic, index, log), index, log);
    if (topic.window >= 0 && topic.window < int(windows.size()))
        record.WindowIndex = windows[size_t(topic.window)];
    const HelpTopicContent& content = doc.content(index);
    if (!content.nonScrolling.empty())
        record.HeaderRtf = RtfWriter::write(text.convert(index, content.nonScrolling, content));
    record.BodyRtf = RtfWriter::write(text.convert(index, content.scrolling, content));
    logTopicExtras(doc, topic, index, log);
    return record;
}

void logLeftOutTopics(const HelpDocument& doc, const TopicNames& names, ImportLog& log)
{
    QStringList left;
    for (int i = Project::TopicSlots; i < int(doc.topics.size()); ++i)
        left << names.topicId(i);
    if (!left.isEmpty())
        log.note(QStringLiteral("A project holds at most %1 topics; the help file has %2 more, left out: %3")
                     .arg(Project::TopicSlots)
                     .arg(left.size())
                     .arg(left.join(QStringLiteral(", "))));
}

} // namespace

QString importLogPathFor(const QString& projectPath)
{
    return projectPath.left(qMax<qsizetype>(0, projectPath.size() - 4)) + QStringLiteral(".import.log");
}

HelpImport importHelpDocument(const HelpDocument& doc, const QString& projectPath)
{
    HelpImport out;
    ImportLog& log = out.log;
    Project& project = out.project;
    project.ProjectPath = projectPath;
    out.topicsInFile = int(doc.topics.size());
    for (const HelpProblem& problem : doc.allProblems())
        log.readProblem(problem.text());

    const std::vector<int> windows = importWindows(doc, project, log);
    if (project.window(0).Caption.isEmpty())
        project.window(0).Caption.setText(doc.title);
    TopicNames names(doc, log);
    PictureFiles pictures(doc, project.projectBase(), log);
    TopicTextConverter text(doc, names, pictures, log);
    const int count = qMin(out.topicsInFile, Project::TopicSlots);
    for (int i = 0; i < count; ++i)
        project.addTopic(topicRecord(doc, i, names, text, windows, log));
    logLeftOutTopics(doc, names, log);
    applyMapNumbers(doc, project, log);
    logFileExtras(doc, project, log);
    out.contents = contentsFromHelp(doc, names, project.window(0).Caption.text(), log);
    out.files = pictures.files();

    std::vector<QString> topicNames;
    for (int i = 0; i < names.topicCount(); ++i)
        topicNames.push_back(doc.topics[size_t(i)].title.isEmpty()
                                 ? names.topicId(i)
                                 : QStringLiteral("%1 (%2)").arg(names.topicId(i), doc.topics[size_t(i)].title));
    log.setTopicNames(std::move(topicNames));
    return out;
}

QString HelpImportReport::summary() const
{
    return QStringLiteral("Imported %1 of %2, %3 and %4 from the help file into %5; %6 in %7")
        .arg(QString::number(topics), countText(topicsInFile, QStringLiteral("topic"), QStringLiteral("topics")),
             countText(windows, QStringLiteral("window"), QStringLiteral("windows")),
             countText(pictures, QStringLiteral("picture"), QStringLiteral("pictures")),
             QFileInfo(projectPath).fileName(), countText(logEntries, QStringLiteral("note"), QStringLiteral("notes")),
             QFileInfo(logPath).fileName());
}

HelpImportReport importHelpFile(const QString& helpPath, const QString& projectPath)
{
    if (!ProjectFile::isProjectFileName(projectPath))
        throw IoError(ProjectFile::notAProjectFileMessage(projectPath));
    const HelpDocument doc = helpfile::readHelpFile(helpPath);
    if (!doc.readable) {
        QStringList why;
        for (const HelpProblem& problem : doc.problems)
            why << problem.message;
        throw IoError(QStringLiteral("'%1' can not be imported: %2").arg(helpPath, why.join(QStringLiteral("; "))));
    }
    if (doc.topics.empty())
        throw IoError(QStringLiteral("'%1' holds no topics; a project has at least one").arg(helpPath));
    const QString path = QFileInfo(projectPath).absoluteFilePath();
    HelpImport import = importHelpDocument(doc, path);

    HelpImportReport report;
    report.projectPath = path;
    report.logPath = importLogPathFor(path);
    report.topics = import.project.TopicCount();
    report.topicsInFile = import.topicsInFile;
    report.windows = import.project.WindowCount();
    report.pictures = int(import.files.size());
    report.logEntries = import.log.entryCount();
    const QString contentsPath = ContentsFile::pathFor(import.project);
    if (import.contents.empty() && QFileInfo::exists(contentsPath))
        import.log.note(QStringLiteral("The help file has no contents file; the contents file %1 that was there "
                                       "already is left as it is and is now this project's")
                            .arg(contentsPath));
    import.log.setSummary(report.summary());
    report.logLines = import.log.lines();

    for (const helpimport::ImportedFile& file : import.files)
        writeWholeFile(file.path, file.bytes);
    if (!import.contents.empty())
        ContentsFile::save(import.contents, contentsPath);
    writeWholeFile(report.logPath, import.log.bytes());
    ProjectFile::save(import.project, path);
    return report;
}

} // namespace ts
