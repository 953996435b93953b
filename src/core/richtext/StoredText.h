#pragma once
// A topic's header or body as the project stores it (an RTF block, empty
// when the block was never stored), read back as a document for the help
// source writer and the built-in help compiler alike.

#include "RichDocument.h"

#include <QByteArray>

namespace ts {

// The stored block as a document; a block never stored, or one without
// paragraphs, is an empty document (one empty paragraph). Never throws.
RichDocument readStoredText(const QByteArray& rtf);

// Whether any paragraph of the document holds text.
bool hasText(const RichDocument& document);

} // namespace ts
