#pragma once
// The paragraph description of a text record (the bits and the fields they
// announce: spacing, indents, tab stops, alignment), and what of a
// paragraph's formatting the help file cannot show.

#include "richtext/RichDocument.h"

#include <QByteArray>
#include <QStringList>

namespace ts::helpfile {

// Twips in the format's units of 10 twips, rounded and kept in range.
int twipsToUnits(int twips);

// The bits and fields of one record of `paragraph`. A paragraph split over
// several records has its space above and first-line indent in the first
// only, its space below in the last only.
QByteArray paragraphInfo(const Paragraph& paragraph, bool firstRecord, bool lastRecord);

// The kinds of formatting of a paragraph the viewer cannot show (bits), and
// one log text per kind.
unsigned unshownFormatting(const Paragraph& paragraph);
QStringList noticeTexts(unsigned kinds);

} // namespace ts::helpfile
