#include "ContentsFile.h"

#include "model/Project.h"
#include "model/Windows1252.h"

#include "model/WholeFile.h"

namespace ts::ContentsFile {

QString pathFor(const Project& project) { return project.ProjectBase() + QStringLiteral(".tsc"); }

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

        if (lineEnd - lineStart == 1 && data[lineStart] == 26)
            continue; // a Ctrl-Z line, as old editors end files
        qsizetype textStart = lineStart;
        while (textStart < lineEnd && (data[textStart] == '\t' || data[textStart] == ' '))
            ++textStart;
        const int level = int(qMin<qsizetype>(textStart - lineStart, 1 << 30));

        // The entry read last sits at level containers.size() - 2; a new one
        // may go at most one level below it. The first entry may stand at
        // level 0 or 1 and goes to the top.
        const int deepest = first ? 1 : int(containers.size()) - 1;
        if (level > deepest) {
            result.BadLine = lineNumber;
            return result;
        }
        const int at = first ? 0 : level;
        first = false;

        ContentsEntry entry;
        entry.Text = cp1252::decode(data + textStart, lineEnd - textStart);
        entry.Kind = ContentsEntry::kindOf(entry.Text);
        std::vector<ContentsEntry>* target = containers[size_t(at)];
        target->push_back(std::move(entry));
        containers.resize(size_t(at) + 1);
        containers.push_back(&target->back().Children);
    }
    return result;
}

ContentsTree load(const QString& path)
{
    ParseResult result = parse(ReadWholeFile(path));
    if (!result.ok())
        throw ContentsLevelError(path, result.BadLine, std::move(result.Tree));
    return std::move(result.Tree);
}

QByteArray serialize(const ContentsTree& tree)
{
    QByteArray out;
    for (const ContentsNode& node : ContentsNodes(tree)) {
        out.append(node.Level, '\t');
        out.append(cp1252::encode(node.Entry->Text));
        out.append("\r\n", 2);
    }
    return out;
}

void save(const ContentsTree& tree, const QString& path)
{
    WriteWholeFile(path, serialize(tree));
}

} // namespace ts::ContentsFile
