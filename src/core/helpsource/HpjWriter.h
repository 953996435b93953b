#pragma once
// The help compiler's project file (.HPJ): options, the names of the log,
// help and topic files, the map of Application Call IDs and one definition
// line per help window. Written as the project stores its values, without
// escaping; lines end in CR LF.

#include "model/Progress.h"

#include <QByteArray>
#include <QString>

namespace ts {

class Project;
struct WindowRecord;

namespace HpjWriter {

// The status text shown while the file is written.
inline const QString StatusText = QStringLiteral("Saving .HPJ file...");

// The project base + ".HPJ".
QString pathFor(const Project& project);

// One "[WINDOWS]" line, without its line end; its state number is
// windowState() (model/WindowRules.h).
QByteArray windowLine(const WindowRecord& window);

// The project base as the help compiler reads it (WindowsFormOfPath) in
// Windows-1252; throws IoError naming the project when the path holds a
// character that has no Windows-1252 form.
QByteArray compilerBase(const Project& project);

// The file's bytes: the file names are compilerBase() + extension.
// `progress` advances by 100 div WindowCount per window. Throws IoError for
// a path the compiler can not read.
QByteArray generate(const Project& project, const ProgressStep& progress = {});

// Writes the file whole or not at all and returns its path; throws IoError.
QString write(const Project& project, const ProgressStep& progress = {});

} // namespace HpjWriter
} // namespace ts
