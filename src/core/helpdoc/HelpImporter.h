#pragma once
// Importing a help file: a project made from a compiled help file (.HLP,
// from Microsoft's compilers or ours) and the contents file beside it.
//
// The project gets the topics in the file's order, with their titles,
// keywords, windows, [MAP] numbers (Application Call IDs), the
// non-scrolling region as the header and the text as the body, links in the
// program's link markup; the window definitions; pictures as files beside
// the project with markup that places them; the .CNT as the contents file.
// Topic IDs hash as the file's did (HelpImportIds.h), so that links from
// other help files and programs still reach the topics.
//
// Everything the project can not hold is kept as near as it can be and
// named in the import log (HelpImportLog.h), written beside the project as
// base.import.log: nothing is left out without a line saying so.
//
// Errors: importHelpDocument never throws; importHelpFile throws IoError
// naming the file and the reason (a file that is no help file, one that
// can not be written).

#include "contents/ContentsEntry.h"
#include "helpfile/HelpDocument.h"
#include "helpdoc/HelpImportLog.h"
#include "helpdoc/HelpImportPictures.h"
#include "model/Project.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace ts {

// What an import makes, in memory.
struct HelpImport {
    Project project;
    ContentsTree contents; // empty when the help file has no contents file
    std::vector<helpimport::ImportedFile> files; // the pictures to write beside the project
    helpimport::ImportLog log;
    int topicsInFile = 0;  // the help file's topics (the project holds at most 2049)
};

// The project for `document`, named `projectPath` (the pictures are named
// after its base).
HelpImport importHelpDocument(const HelpDocument& document, const QString& projectPath);

// The import log's path for a project: its base + ".import.log".
QString importLogPathFor(const QString& projectPath);

// What importHelpFile did.
struct HelpImportReport {
    QString projectPath, logPath;
    int topics = 0, topicsInFile = 0, windows = 0, pictures = 0;
    int logEntries = 0;      // notes and tallies of the log
    QStringList logLines;    // the whole log
    QString summary() const; // "Imported 12 of 14 topics, 1 window and 3 pictures from X into Y; 4 notes in Z"
};

// Reads `helpPath` and the .CNT beside it, imports it as `projectPath`
// (which must end in .tsp) and writes the pictures, the contents file, the
// import log and, last, the project file, each whole or not at all. Files
// of those names are replaced: callers ask first.
HelpImportReport importHelpFile(const QString& helpPath, const QString& projectPath);

} // namespace ts
