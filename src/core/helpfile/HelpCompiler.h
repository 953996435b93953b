#pragma once
// The built-in help compiler: turns the project into a WinHelp 4 help file
// (.HLP) without any outside program. It reads the topic table, the window
// table, the topics' stored rich text, the bitmaps the topics place and the
// contents file beside the project, and writes the help file and its log.
//
// Problems that still leave a usable help file (a jump to a Topic ID that does
// not exist, a missing bitmap, a window name too long for the format, ...)
// are warnings, one log line each naming the topic; the compile fails only
// when no help file can be made or written.

#include "model/BuildFeedback.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ts {

class Project;

struct HelpCompileReport {
    int topics = 0, jumps = 0, keywords = 0, bitmaps = 0, warnings = 0, errors = 0;
    QStringList logLines;      // one line per problem, naming the topic, then the summary line
    QString summary() const;   // "N topics, N jumps, N keywords, N bitmaps; N warnings, N errors", "1 topic" for one
    // The topic text: its size in the help file, the size of its records
    // before compression, and whether it is compressed.
    qint64 topicFileBytes = 0, topicRecordBytes = 0;
    bool topicsCompressed = false;
    // The file each |bmN was made from, by N ("SHOT1.BMP").
    QStringList pictureFiles;
};

// The status text shown while the help file is compiled.
inline const QString HelpCompileStatusText = QStringLiteral("Compiling help file...");

// The project base + ".HLP" and + ".LOG".
QString helpFilePathFor(const Project& project);
QString compileLogPathFor(const Project& project);

// Compiles the project into the bytes of a WinHelp 4 file. Reads bitmaps and the contents
// file (base.tsc) beside project.ProjectPath. Never writes a file. Throws IoError only when
// no help file can be made at all.
QByteArray compileHelpFileBytes(const Project& project, HelpCompileReport& report,
                                const BuildFeedback& feedback = {});

// Writes base.HLP beside the project through QSaveFile (whole or not at all) and the log
// (base.LOG, the compile log the log viewer shows); returns the report.
HelpCompileReport compileHelpFile(const Project& project, const BuildFeedback& feedback = {});

} // namespace ts
