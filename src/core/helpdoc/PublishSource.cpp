#include "PublishSource.h"

#include "contents/ContentsFile.h"
#include "helpfile/ContentsFileReader.h"
#include "helpfile/ContextHash.h"
#include "helpfile/HelpCodePage.h"
#include "helpfile/HelpCompiler.h"
#include "helpfile/HelpFileReader.h"
#include "helpsource/CntWriter.h"
#include "model/IoError.h"
#include "model/Project.h"
#include "model/ProjectFile.h"

#include <QFileInfo>

namespace ts::publish {

bool isHelpFileName(const QString& path)
{
    return path.endsWith(QLatin1String(".hlp"), Qt::CaseInsensitive);
}

namespace {

// The compiled file keeps context hashes only; the project knows the Topic
// IDs behind them.
void addTopicIds(HelpDocument& doc, const Project& project)
{
    for (int i = 0; i < project.TopicCount(); ++i) {
        const QByteArray id = project.topic(i).TopicID.bytes().trimmed();
        if (id.isEmpty())
            continue;
        const std::int32_t hash = helpfile::contextHash(id);
        const QString text = helpfile::decodeText(id, doc.codePage);
        doc.addIdName(hash, text);
        const HelpLocation at = doc.locate(hash);
        if (at.isValid() && at.atTopicStart && doc.topics[size_t(at.topic)].topicId.isEmpty())
            doc.topics[size_t(at.topic)].topicId = text;
    }
}

// The project's contents, as the compiler's .cnt would give it: those a
// rename rewrote when they wait for the project's Save, as the compiler
// checks them.
void addContents(HelpDocument& doc, const Project& project)
{
    if (!CntWriter::hasContentsFile(project))
        return;
    const ContentsFile::ParseResult tree = ContentsFile::readFor(project);
    const QByteArray cnt = CntWriter::generate(project, tree.Tree);
    helpfile::reading::ReadProblems problems(QFileInfo(ContentsFile::pathFor(project)).fileName(), doc.problems);
    doc.contents = helpfile::reading::parseContentsFile(cnt, doc.codePage, problems);
    doc.contents.path = ContentsFile::pathFor(project);
    for (HelpContentsEntry& entry : doc.contents.entries)
        if (entry.kind == HelpContentsEntry::Kind::Topic && entry.file.isEmpty())
            entry.topic = doc.findTopic(entry.topicId);
}

} // namespace

HelpDocument documentFromProject(const Project& project, QStringList* compileLog)
{
    HelpCompileReport report;
    const QByteArray bytes = compileHelpFileBytes(project, report);
    if (compileLog)
        *compileLog = report.logLines;
    const QString name = QFileInfo(project.projectBase()).fileName() + QLatin1String(".HLP");
    HelpDocument doc = helpfile::readHelpFile(bytes, name);
    if (!doc.readable)
        throw IoError(QStringLiteral("The help file compiled from '%1' could not be read back").arg(project.ProjectPath));
    for (int n = 0; n < report.pictureFiles.size(); ++n)
        doc.pictureFiles[n] = report.pictureFiles.at(n);
    addTopicIds(doc, project);
    addContents(doc, project);
    doc.finishBuilding();
    return doc;
}

HelpDocument loadPublishSource(const QString& path, QStringList* compileLog)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (isHelpFileName(path)) {
        if (!QFileInfo(absolute).isFile())
            throw IoError(QStringLiteral("Cannot open the help file '%1': it does not exist").arg(absolute));
        HelpDocument doc = helpfile::readHelpFile(absolute);
        if (!doc.readable) {
            const QString why = doc.problems.empty() ? QStringLiteral("it is not a help file") : doc.problems.front().text();
            throw IoError(QStringLiteral("Cannot read the help file '%1': %2").arg(absolute, why));
        }
        return doc;
    }
    if (!ProjectFile::isProjectFileName(path))
        throw IoError(QStringLiteral("Cannot publish '%1': name a project (.tsp) or a help file (.hlp)").arg(path));
    return documentFromProject(ProjectFile::load(absolute), compileLog);
}

} // namespace ts::publish
