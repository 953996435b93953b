#include "ContentsFile.h"

#include "model/Project.h"
#include "model/Windows1252.h"

#include "model/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace ts::ContentsFile {

QString pathFor(const Project& project) { return project.projectBase() + QStringLiteral(".tsc"); }

QString LevelRepair::message() const
{
    return QStringLiteral("Line %1 '%2' had an invalid level and was moved to level %3").arg(Line).arg(Text).arg(Level);
}

QString ParseResult::repairMessage() const
{
    QStringList lines;
    for (const LevelRepair& r : Repairs)
        lines << r.message();
    return lines.join(QLatin1Char('\n'));
}

std::optional<QString> entryTextRefusal(const QString& text)
{
    if (text == QString(QChar(26)))
        return QStringLiteral("An entry cannot consist of the character Ctrl-Z alone.");
    if (text.startsWith(QLatin1Char('\t')) || text.startsWith(QLatin1Char(' ')))
        return QStringLiteral("An entry cannot begin with a blank or a TAB.");
    for (const QChar c : text) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.isNull())
            return QStringLiteral("An entry cannot hold a line break.");
        if (!cp1252::canEncode(c))
            return QStringLiteral("An entry cannot hold the character '%1'.").arg(c);
    }
    return std::nullopt;
}

ParseResult parse(const QByteArray& bytes)
{
    ParseResult result;
    // A NUL byte ends the text.
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype end = nul >= 0 ? nul : bytes.size();
    const char* data = bytes.constData();

    // containers[d] is where an entry of level d goes: the top level for 0,
    // the children of the last entry placed at level d-1 otherwise. Only the
    // path to the entry read last is kept, so no pointer outlives a move.
    std::vector<std::vector<ContentsEntry>*> containers{&result.Tree};
    bool first = true;
    int lineNumber = 0;

    qsizetype pos = 0;
    while (pos < end) {
        qsizetype stop = pos;
        while (stop < end && data[stop] != '\r' && data[stop] != '\n')
            ++stop;
        const qsizetype lineStart = pos;
        const qsizetype lineEnd = stop;
        pos = stop;
        if (pos < end) {
            if (data[pos] == '\r' && pos + 1 < end && data[pos + 1] == '\n')
                pos += 2;
            else
                pos += 1;
        }
        ++lineNumber;

        qsizetype textStart = lineStart;
        while (textStart < lineEnd && (data[textStart] == '\t' || data[textStart] == ' '))
            ++textStart;
        if (lineEnd - textStart == 1 && data[textStart] == 26)
            continue; // a Ctrl-Z line, as old editors end files
        const int level = int(qMin<qsizetype>(textStart - lineStart, 1 << 30));

        // The entry read last sits at level containers.size() - 2; a new one
        // may go at most one level below it. The first entry may stand at
        // level 0 or 1 and goes to the top. A line too deep goes as deep as
        // it may.
        const int deepest = first ? 1 : int(containers.size()) - 1;
        const bool repaired = level > deepest;
        const int at = first ? 0 : qMin(level, deepest);
        first = false;

        ContentsEntry entry;
        entry.Text = cp1252::decode(data + textStart, lineEnd - textStart);
        entry.Kind = ContentsEntry::kindOf(entry.Text);
        if (repaired) {
            result.Repairs.push_back(LevelRepair{lineNumber, entry.Text, at});
            if (result.BadLine == 0)
                result.BadLine = lineNumber;
        }
        std::vector<ContentsEntry>* target = containers[size_t(at)];
        target->push_back(std::move(entry));
        containers.resize(size_t(at) + 1);
        containers.push_back(&target->back().Children);
    }
    return result;
}

ParseResult read(const QString& path) { return parse(readWholeFile(path, MaxFileSize)); }

namespace {

ContentsTree treeOrLevelError(ParseResult result, const QString& path)
{
    if (!result.ok())
        throw ContentsLevelError(path, result.BadLine, std::move(result.Tree));
    return std::move(result.Tree);
}

} // namespace

ContentsTree load(const QString& path) { return treeOrLevelError(read(path), path); }

bool existsFor(const Project& project)
{
    if (project.PendingContents)
        return !project.PendingContents->isEmpty();
    return QFileInfo::exists(pathFor(project));
}

QByteArray bytesFor(const Project& project)
{
    if (project.PendingContents)
        return *project.PendingContents;
    return readWholeFile(pathFor(project), MaxFileSize);
}

ParseResult readFor(const Project& project) { return parse(bytesFor(project)); }

ContentsTree loadFor(const Project& project) { return treeOrLevelError(readFor(project), pathFor(project)); }

void savePending(Project& project)
{
    if (!project.PendingContents)
        return;
    const QString path = pathFor(project);
    if (!project.PendingContents->isEmpty())
        writeWholeFile(path, *project.PendingContents);
    else if (QFileInfo::exists(path) && !QFile::remove(path))
        throw IoError(QStringLiteral("Cannot delete the contents file '%1'.").arg(path));
    project.PendingContents.reset();
}

QByteArray serialize(const ContentsTree& tree)
{
    QByteArray out;
    for (const ContentsNode& node : contentsNodes(tree)) {
        out.append(node.Level, '\t');
        out.append(cp1252::encode(node.Entry->Text));
        out.append("\r\n", 2);
    }
    return out;
}

void save(const ContentsTree& tree, const QString& path)
{
    writeWholeFile(path, serialize(tree));
}

} // namespace ts::ContentsFile
