#pragma once
// What a publish command starts from: a project (.tsp) or a help file
// (.hlp), either in any case. A project is compiled in memory by the
// built-in compiler and the bytes read back, so that a project and its
// compiled help file publish alike; the project adds what the help file
// does not keep (its Topic IDs, its contents file).

#include "helpfile/HelpDocument.h"

#include <QString>

namespace ts {

class Project;

namespace publish {

// Whether `path` names a help file (.hlp) rather than a project.
bool isHelpFileName(const QString& path);

// The document for a project or a help file; `compileLog` receives the
// compiler's warnings for a project. Throws IoError naming the file when
// it cannot be read or is neither a project nor a help file.
HelpDocument loadPublishSource(const QString& path, QStringList* compileLog = nullptr);

// The document for a project already in memory (the editor's).
HelpDocument documentFromProject(const Project& project, QStringList* compileLog = nullptr);

} // namespace publish
} // namespace ts
