#pragma once
// The contents file (.tsc): one line per contents entry in pre-order, the
// entry's level as that many TAB characters, then its text, then CR LF.
// Windows-1252 text; nothing else is in the file.
//
// The reader is lenient about what people and other tools write: lines may
// end in CR LF, LF or CR; a NUL byte ends the text; a line holding a single
// Ctrl-Z (after its indentation) is skipped; leading TABs and blanks each
// count one level; an empty line is a top-level heading with empty text. A
// line more than one level deeper than the one before it (or a first line at
// level 2 or more) has an invalid level: it is placed as deep as it can go
// there (one level below the entry before it, at the top for a first line),
// every later line as its own level says, and the repair is reported. No
// line is ever dropped for its level.

#include "ContentsEntry.h"
#include "model/IoError.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace ts {

class Project;

// The text the contents editor and the build show for a bad level.
inline const QString InvalidItemLevelText = QStringLiteral("Invalid item level assignment");

// A contents file with an invalid level. message() names the file and the
// line; text() is the bare InvalidItemLevelText a message box shows.
// entriesRead() holds every entry, the bad lines placed as the reader
// repairs them.
class ContentsLevelError : public IoError {
public:
    ContentsLevelError(const QString& fileName, int line, ContentsTree entriesRead)
        : IoError(QStringLiteral("%1 in '%2', line %3").arg(InvalidItemLevelText, fileName).arg(line)),
          fileName_(fileName), line_(line), entries_(std::move(entriesRead))
    {
    }
    static const QString& text() { return InvalidItemLevelText; }
    const QString& fileName() const { return fileName_; }
    int line() const { return line_; }
    const ContentsTree& entriesRead() const { return entries_; }

private:
    QString fileName_;
    int line_;
    ContentsTree entries_;
};

namespace ContentsFile {

// The project's contents file: the project base + ".tsc".
QString pathFor(const Project& project);

// A line whose level was invalid and where it was placed.
struct LevelRepair {
    int Line = 0;   // 1-based line of the file
    QString Text;   // the entry's text
    int Level = 0;  // the level it was placed at
    // "Line 3 'Deep=B' had an invalid level and was moved to level 2"
    QString message() const;
};

struct ParseResult {
    ContentsTree Tree;                // every entry of the file
    std::vector<LevelRepair> Repairs; // lines placed elsewhere than their level said
    int BadLine = 0;                  // the first repaired line, 0 when none was
    bool ok() const { return Repairs.empty(); }
    // The repairs' messages, one a line.
    QString repairMessage() const;
};

// The largest contents file that is read.
inline constexpr qint64 MaxFileSize = qint64(64) << 20;

// Reads the file's bytes; never throws.
ParseResult parse(const QByteArray& bytes);

// Reads `path` with every entry, repairing invalid levels; the contents
// editor shows the repairs and writes the repaired tree only on OK. Throws
// IoError when the file can't be read.
ParseResult read(const QString& path);

// Reads `path` for the commands that rewrite or convert it without asking
// (link maintenance, the .cnt): throws IoError when the file can't be read
// and ContentsLevelError, holding the repaired tree, for an invalid level.
ContentsTree load(const QString& path);

// The project's contents as the commands see them: the contents waiting for
// Save (Project::PendingContents) when there are any, else the file at
// pathFor(project). Empty pending contents are a project without a contents
// file: existsFor is false.
bool existsFor(const Project& project);
// Throws IoError when the file can't be read.
QByteArray bytesFor(const Project& project);
ParseResult readFor(const Project& project);
// As load(): ContentsLevelError for an invalid level.
ContentsTree loadFor(const Project& project);

// Writes the pending contents to pathFor(project) whole or not at all (or
// deletes the file, when they are empty) and forgets them; nothing when there
// are none. Throws IoError and keeps them pending when that fails.
void savePending(Project& project);

// Why `text` cannot be an entry's text as it stands, or nothing when the
// file gives it back unchanged (the contents editor checks typed text): a lone Ctrl-Z (the reader skips
// it), leading TABs or blanks (they would count as levels), line breaks or
// NUL, characters without a Windows-1252 form.
std::optional<QString> entryTextRefusal(const QString& text);

// The file's bytes for a tree.
QByteArray serialize(const ContentsTree& tree);

// Writes the tree to `path` whole or not at all; throws IoError.
void save(const ContentsTree& tree, const QString& path);

} // namespace ContentsFile
} // namespace ts
