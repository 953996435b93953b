#pragma once
// Reading a help file for the viewer.

#include "helpdoc/HelpDocument.h"

namespace ts {

// The document of the help file at `path`; `readable` is false (with the
// reason in `problems`) when it cannot be read.
HelpDocument readHelpDocument(const QString& path);

} // namespace ts
