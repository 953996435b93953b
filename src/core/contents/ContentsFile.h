#pragma once
// The contents file (.tsc): one line per contents entry in pre-order, the
// entry's level as that many TAB characters, then its text, then CR LF.
// Windows-1252 text; nothing else is in the file.
//
// The reader is lenient about what people and other tools write: lines may
// end in CR LF, LF or CR; a NUL byte ends the text; a line holding a single
// Ctrl-Z is skipped; leading TABs and blanks each count one level; an empty
// line is a top-level heading with empty text. A line more than one level
// deeper than the one before it (or a first line at level 2 or more) stops
// the reading with "Invalid item level assignment".

#include "ContentsEntry.h"
#include "model/IoError.h"

#include <QByteArray>
#include <QString>

namespace ts {

class Project;

// The text the contents editor and the build show for a bad level.
inline const QString InvalidItemLevelText = QStringLiteral("Invalid item level assignment");

// A contents file whose levels cannot be placed. message() names the file
// and the line; text() is the bare InvalidItemLevelText a message box shows.
// The entries read before the bad line are kept.
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

struct ParseResult {
    ContentsTree Tree; // everything placed, up to a bad line
    int BadLine = 0;   // 1-based line that broke the levels, 0 when none did
    bool ok() const { return BadLine == 0; }
};

// Reads the file's bytes; never throws.
ParseResult parse(const QByteArray& bytes);

// Reads `path`. Throws IoError when the file can't be read and
// ContentsLevelError for a bad level.
ContentsTree load(const QString& path);

// The file's bytes for a tree.
QByteArray serialize(const ContentsTree& tree);

// Writes the tree to `path` whole or not at all; throws IoError.
void save(const ContentsTree& tree, const QString& path);

} // namespace ContentsFile
} // namespace ts
