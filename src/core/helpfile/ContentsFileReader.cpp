#include "ContentsFileReader.h"

#include "HelpCodePage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace ts::helpfile::reading {

namespace {

// Contents files are small; a larger file is not one.
constexpr qint64 MaxContentsFileSize = 16 * 1024 * 1024;
constexpr int MaxIncludeDepth = 8;

QString withoutComment(const QString& line)
{
    const qsizetype semicolon = line.indexOf(QLatin1Char(';'));
    return (semicolon < 0 ? line : line.left(semicolon)).trimmed();
}

// "Text=Target": the target may be "!macro", "ID", "ID@file", "ID>window",
// "ID@file>window".
void readTarget(HelpContentsEntry& entry, const QString& target)
{
    if (target.startsWith(QLatin1Char('!'))) {
        entry.kind = HelpContentsEntry::Kind::Macro;
        entry.macro = target.mid(1);
        return;
    }
    QString id = target;
    const qsizetype window = id.indexOf(QLatin1Char('>'));
    if (window >= 0) {
        entry.window = id.mid(window + 1).trimmed();
        id.truncate(window);
    }
    const qsizetype file = id.indexOf(QLatin1Char('@'));
    if (file >= 0) {
        entry.file = id.mid(file + 1).trimmed();
        id.truncate(file);
    }
    entry.topicId = id.trimmed();
}

bool readCommand(HelpContents& contents, const QString& line)
{
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    const QString word = (blank < 0 ? line : line.left(blank)).toLower();
    const QString rest = blank < 0 ? QString() : line.mid(blank + 1).trimmed();
    if (word == QLatin1String(":base")) {
        const QString base = withoutComment(rest);
        const qsizetype window = base.indexOf(QLatin1Char('>'));
        contents.base = window < 0 ? base : base.left(window);
        contents.baseWindow = window < 0 ? QString() : base.mid(window + 1);
    } else if (word == QLatin1String(":title")) {
        contents.title = rest;
    } else if (word == QLatin1String(":link")) {
        contents.links.append(withoutComment(rest));
    } else if (word == QLatin1String(":index")) {
        const QString index = withoutComment(rest);
        const qsizetype equals = index.indexOf(QLatin1Char('='));
        contents.indexes.push_back({equals < 0 ? QString() : index.left(equals).trimmed(),
                                    equals < 0 ? index : index.mid(equals + 1).trimmed()});
    } else if (word == QLatin1String(":include")) {
        HelpContentsEntry entry;
        entry.kind = HelpContentsEntry::Kind::Include;
        entry.topicId = withoutComment(rest);
        entry.level = contents.entries.empty() ? 1 : contents.entries.back().level;
        contents.entries.push_back(entry);
    } else {
        return false; // :Tab and the like mean nothing here
    }
    return true;
}

} // namespace

HelpContents parseContentsFile(const QByteArray& bytes, int codePage, ReadProblems& problems)
{
    HelpContents contents;
    const QStringList lines = decodeText(bytes, codePage).split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines.at(n).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char(':'))) {
            readCommand(contents, line);
            continue;
        }
        qsizetype digits = 0;
        while (digits < line.size() && line.at(digits).isDigit())
            ++digits;
        const int level = line.left(digits).toInt();
        if (digits == 0 || level < 1 || level > 9) {
            problems.add(QString(), -1, QStringLiteral("line %1 is not a contents entry: %2").arg(n + 1).arg(line));
            continue;
        }
        HelpContentsEntry entry;
        entry.level = level;
        const QString text = line.mid(digits).trimmed();
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals < 0) {
            entry.kind = HelpContentsEntry::Kind::Book;
            entry.text = text;
        } else {
            entry.text = text.left(equals).trimmed();
            readTarget(entry, text.mid(equals + 1).trimmed());
        }
        contents.entries.push_back(entry);
    }
    return contents;
}

namespace {

QString findBeside(const QDir& folder, const QString& name)
{
    if (name.isEmpty())
        return QString();
    if (folder.exists(name))
        return folder.filePath(name);
    for (const QString& present : folder.entryList(QDir::Files))
        if (present.compare(name, Qt::CaseInsensitive) == 0)
            return folder.filePath(present);
    return QString();
}

QByteArray readSmallFile(const QString& path, const QString& what, std::vector<HelpProblem>& problems)
{
    QFile file(path);
    if (file.size() > MaxContentsFileSize || !file.open(QIODevice::ReadOnly)) {
        problems.push_back(HelpProblem{what, QString(), -1, -1,
                                       QStringLiteral("the contents file cannot be read: %1").arg(file.errorString())});
        return QByteArray();
    }
    return file.readAll();
}

void readInto(HelpContents& into, const QDir& folder, const QString& path, int codePage, int depth,
              QSet<QString>& seen, std::vector<HelpProblem>& problems)
{
    seen.insert(QFileInfo(path).canonicalFilePath());
    ReadProblems log(QFileInfo(path).fileName(), problems);
    HelpContents read = parseContentsFile(readSmallFile(path, QFileInfo(path).fileName(), problems), codePage, log);
    if (depth == 0) {
        into = read;
        into.entries.clear();
    }
    for (HelpContentsEntry& entry : read.entries) {
        into.entries.push_back(entry);
        if (entry.kind != HelpContentsEntry::Kind::Include)
            continue;
        const QString included = findBeside(folder, QFileInfo(entry.topicId).fileName());
        if (included.isEmpty() || seen.contains(QFileInfo(included).canonicalFilePath()) || depth >= MaxIncludeDepth)
            log.add(QString(), -1, QStringLiteral("the included contents file %1 is not read").arg(entry.topicId));
        else
            readInto(into, folder, included, codePage, depth + 1, seen, problems);
    }
}

} // namespace

HelpContents readContentsBeside(const QString& helpPath, const QString& namedFile, int codePage,
                                std::vector<HelpProblem>& problems)
{
    const QFileInfo help(helpPath);
    const QDir folder = help.absoluteDir();
    QString path = findBeside(folder, QFileInfo(QString(namedFile).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName());
    if (path.isEmpty())
        path = findBeside(folder, help.completeBaseName() + QStringLiteral(".cnt"));
    HelpContents contents;
    if (path.isEmpty())
        return contents;
    QSet<QString> seen;
    readInto(contents, folder, path, codePage, 0, seen, problems);
    contents.path = path;
    return contents;
}

} // namespace ts::helpfile::reading
