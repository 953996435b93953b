#pragma once
// The RTF topic file (.RTF) the help compiler reads: every topic one page,
// in project order. A page opens with the footnotes # (Topic ID), $ (title,
// when there is one), K and A (keywords, when there are any) and > (window),
// each on a line of its own; the header follows as the non-scrolling region
// (every paragraph marked \keepn, the first joined to the footnote
// paragraph), then the body, then "\page". Every "-->" of link markup in the
// topic text becomes "\v ", so the link target turns into hidden text behind
// the hotspot. One font table and one colour table serve the whole file.
//
// The file is built paragraph by paragraph from the topics' rich text; text
// the user typed is never taken for structure, whatever it holds. A header
// without any text stands as one empty line, and the body's first paragraph
// then continues the footnote paragraph.

#include "model/Progress.h"
#include "richtext/RichDocument.h"

#include <QByteArray>
#include <QString>

namespace ts {

class Project;

namespace TopicFileWriter {

// The status text shown while the file is written.
inline const QString StatusText = QStringLiteral("Saving RTF file...");

// The project base + ".RTF".
QString pathFor(const Project& project);

// A footnote text as RTF: "\", "{" and "}" escaped, bytes above 127 as \'hh.
QByteArray escapeFootnoteText(const QByteArray& windows1252);

// The file's bytes. `progress` advances by 90 div TopicCount per topic.
// A project without topics gives the empty document and no page.
QByteArray generate(const Project& project, const ProgressStep& progress = {});

// Writes the file whole or not at all and returns its path; throws IoError.
QString write(const Project& project, const ProgressStep& progress = {});

} // namespace TopicFileWriter
} // namespace ts
