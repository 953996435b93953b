#pragma once
// Reads RTF into a RichDocument: ours, the RTF of classic Windows rich-edit
// controls, and RTF written by word processors. Unknown control words and
// destinations are skipped. Input that does not start with "{\rtf" is plain
// text, one paragraph per line. Malformed input never crashes, hangs or reads
// out of bounds; nesting depth and numbers are bounded. Never throws.

#include "RichDocument.h"

#include <QByteArray>

namespace ts::RtfReader {

RichDocument read(const QByteArray& rtf);

} // namespace ts::RtfReader
