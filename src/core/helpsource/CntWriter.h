#pragma once
// The help compiler's contents file (.cnt): a title line with the caption of
// the window "main", then one line per entry of the project's contents file,
// its level (1 at the top) and its text. Lines end in CR LF.
//
// Without a contents file (.tsc) there is no .cnt: nothing is written and an
// earlier .cnt stays as it was.

#include "contents/ContentsEntry.h"
#include "model/Progress.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace ts {

class Project;

namespace CntWriter {

// The status text shown while the file is written.
inline const QString StatusText = QStringLiteral("Saving .CNT file...");

// The project base + ".cnt".
QString pathFor(const Project& project);

// The file's bytes for a contents tree. `progress` advances by 100 div the
// node count per entry.
QByteArray generate(const Project& project, const ContentsTree& tree, const ProgressStep& progress = {});

// Whether the project has a contents file, so that write() will write.
bool hasContentsFile(const Project& project);

// Reads the contents file and writes the .cnt whole or not at all; returns
// its path, or nothing when there is no contents file. Throws IoError, and
// ContentsLevelError (before anything is written) for a bad level.
std::optional<QString> write(const Project& project, const ProgressStep& progress = {});

} // namespace CntWriter
} // namespace ts
