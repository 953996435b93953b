#pragma once
// Moves rich text between the program's RichDocument and the QTextDocument
// of a QTextEdit, keeping faces, sizes, colours, bold, italic, underline,
// strike-out, hidden text, alignment and indents. A store followed by a load
// gives the user the same text and formatting.

#include "richtext/RichDocument.h"

#include <QByteArray>

class QTextDocument;
class QTextEdit;

namespace ts {

// Replaces the whole content of `target` with `source`.
void ToTextDocument(const RichDocument& source, QTextDocument& target);
RichDocument FromTextDocument(const QTextDocument& source);

// The editor's whole content as RTF in the program's line shape, and back
// (a block that is not RTF loads as plain text; an empty block as an empty
// document).
QByteArray SaveEditorRtf(const QTextEdit& editor);
void LoadEditorRtf(QTextEdit& editor, const QByteArray& rtf);

} // namespace ts
