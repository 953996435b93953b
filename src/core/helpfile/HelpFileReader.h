#pragma once
// Reads a compiled help file (.HLP, from HC 3.0/3.1, HCW 4.00 or our own
// compiler) into a HelpDocument.
//
// Reading never throws, never reads outside the bytes and never allocates
// more than the file could hold. A damaged or cut-short file gives what could
// be read; each thing that could not be read is a HelpProblem naming the file,
// the internal file, the offset and the topic. A file that is not a help file
// at all gives a document with `readable` false and a problem that says so.
//
// The file-wide values, windows, fonts, topics (titles, Topic IDs, windows,
// keywords, browse sequence), [MAP] numbers and the contents file are read at
// once; a topic's paragraphs and a picture's pixels when the document is first
// asked for them (HelpDocument::content(), picture()). The document keeps
// what it needs of the bytes.

#include "helpfile/HelpDocument.h"

#include <QByteArray>
#include <QString>

namespace ts::helpfile {

// Reads the bytes of a help file; `fileName` names it in problems. No
// contents file is looked for.
HelpDocument readHelpFile(const QByteArray& bytes, const QString& fileName);

// Reads the file at `path`, and the contents file (.CNT) beside it. A file
// that cannot be opened is a document with `readable` false and the system's
// reason as its problem.
HelpDocument readHelpFile(const QString& path);

} // namespace ts::helpfile
