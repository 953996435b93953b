#pragma once
// The window definitions of a help file as the project's window table.
//
// The window named "main" (in any letter case) becomes window 0, the
// others follow in the file's order, at most 255 windows in all. A field the
// file does not mark as given keeps the viewer's default: the default
// position, and white for both colours (what a viewer paints without a
// colour). The buttons are read from the state word with the weights the
// program writes (Browse 0x200, Contents 0x400, Index 0x800, Print 0x2000,
// Back 0x4000, Find 0x8000). What the table can not hold (a window's
// [CONFIG-n] macros, other bits of the state word, a name longer than the
// help file's 8 characters, windows past 255) goes to the import log.

#include "HelpImportLog.h"
#include "helpfile/HelpDocument.h"
#include "model/Project.h"

#include <vector>

namespace ts::helpimport {

// 0xRRGGBB as the project's 0x00BBGGRR.
std::uint32_t projectColour(std::uint32_t rgb);

// A window record with the file's values.
WindowRecord windowRecordFrom(const HelpWindowDefinition& window);

// Fills the project's window table (which must hold only "main"); returns,
// for each window of the file, its index in the project, or 0 for a window
// that did not fit.
std::vector<int> importWindows(const HelpDocument& document, Project& project, ImportLog& log);

} // namespace ts::helpimport
