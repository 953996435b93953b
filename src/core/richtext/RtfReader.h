#pragma once
// Reads RTF into a RichDocument: ours, the RTF of classic Windows rich-edit
// controls, and RTF written by word processors. Unknown control words and
// destinations are skipped. Input that does not start with "{\rtf" is plain
// text, one paragraph per line (Windows-1252, or UTF-8 after a byte-order
// mark). Malformed input never crashes, hangs or reads out of bounds; nesting
// depth and numbers are bounded. Never throws.
//
// - The paragraph properties in effect at \par belong to the paragraph it
//   ends; an empty paragraph takes the character format in effect there.
// - A final \par ends the last paragraph: a block "a\par b\par }" is two
//   paragraphs. Only text or formatting words after the last \par make one
//   more. Bytes after the document's closing brace are ignored.
// - Text in a symbol font (\fcharset2, or Symbol, Wingdings, ... without a
//   charset) keeps its 8-bit codes as U+F000 + byte.
// - \'hh and 8-bit text are read in the code page in force (RtfCodePage.h):
//   the font's \fcharsetN, else its \cpgN, else \ansicpgN, else \mac, \pc or
//   \pca, else Windows-1252. \uN takes precedence over its stand-in bytes.
// - Hotspots written the way other WinHelp tools write them (struck-out or
//   double-underlined text, or underlined text, followed by hidden text that
//   names a target) come out as the program's link markup
//   (hiddenTargetsToMarkup).
// - \chftn, a footnote's mark, reads as the footnote's number.
// - \page, \sect and \row end a paragraph; \cell is a tab. Nested tables are
//   read from their cells, not from the {\nonesttables} stand-in.

#include "RichDocument.h"

#include <QByteArray>

namespace ts::RtfReader {

RichDocument read(const QByteArray& rtf);

} // namespace ts::RtfReader
