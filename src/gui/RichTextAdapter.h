#pragma once
// Moves rich text between the program's RichDocument and the QTextDocument
// of a QTextEdit, keeping faces, sizes, colours, bold, italic, underline and
// double underline, strike-out, hidden text, small capitals, raised and
// lowered text, highlights, alignment, indents, paragraph and line spacing and
// tab stops. A store followed by a load
// gives the user the same text and formatting.

#include "richtext/RichDocument.h"

#include <QByteArray>
#include <QTextCharFormat>
#include <QTextFormat>

class QTextCursor;
class QTextDocument;
class QTextEdit;

namespace ts {

// Hidden text (the link targets behind hotspots) stays in the editor so the
// author can read and edit it; the flag travels in this property of the
// QTextCharFormat. How the editors set it apart on screen is their own
// business and never part of the stored format (see RichTextEdit).
inline constexpr int HiddenTextProperty = QTextFormat::UserProperty + 1;

bool isHiddenText(const QTextCharFormat& format);

// A double underline is drawn as an underline (Qt has no double one); these
// properties keep it apart from a single one, and the leaders of tab stops,
// which the editor does not draw, travel with the block format (one per tab
// position; -1 marks the stop the editor adds at a hanging indent, which is
// not the paragraph's own).
inline constexpr int DoubleUnderlineProperty = QTextFormat::UserProperty + 2;
inline constexpr int SingleUnderlineProperty = QTextFormat::UserProperty + 3;
inline constexpr int TabLeadersProperty = QTextFormat::UserProperty + 4;

// The distance between the default tab stops: half an inch, as in help files,
// so that tabbed text lines up in the editor as the reader will see it.
inline constexpr int DefaultTabTwips = 720;
void useHelpTabGrid(QTextDocument& document);

// Paragraph indents: twips in the document, pixels of the screen's logical
// resolution in the QTextDocument (the resolution point sizes are drawn at),
// so that indents and font sizes keep their proportion. Every conversion of
// an indent goes through these two, so store -> load is lossless.
qreal twipsToPixels(int twips);
int pixelsToTwips(qreal pixels);

// Replaces the whole content of `target` with `source`.
void toTextDocument(const RichDocument& source, QTextDocument& target);
RichDocument fromTextDocument(const QTextDocument& source);
// The text between two positions of `source` (a selection), with the formats
// of the paragraphs it touches. A range that ends right after a paragraph
// break ends with an empty paragraph, so the break is part of it.
RichDocument fromTextDocument(const QTextDocument& source, int from, int to);

// Puts `source` in place of the cursor's selection as one undo step and
// leaves the cursor after it. A single paragraph goes into the paragraph at
// the cursor, which keeps its own alignment and indents (unless it is empty);
// with several paragraphs, the paragraph at the cursor takes the first one's
// format and the last one's format goes with the text after the cursor.
void insertRichDocument(QTextCursor& cursor, const RichDocument& source);

// The editor's whole content as RTF in the program's line shape, and back
// (a block that is not RTF loads as plain text; an empty block as an empty
// document).
QByteArray saveEditorRtf(const QTextEdit& editor);
void loadEditorRtf(QTextEdit& editor, const QByteArray& rtf);

// The format text typed or pasted at the cursor takes: the cursor's own,
// except that a hidden run is continued only from inside it, never from its
// ends (text typed after a link's hidden target is ordinary text).
QTextCharFormat insertionFormat(const QTextCursor& cursor);

// The character format of the editor's selection: that of its first character
// (a mixed selection reads as its beginning); at a bare caret, the format the
// next typed text takes (insertionFormat). The toolbar shows it and inserted
// text takes it.
QTextCharFormat selectionFormat(const QTextEdit& editor);

} // namespace ts
