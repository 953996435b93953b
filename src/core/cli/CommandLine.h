#pragma once
// The headless commands of the program. They need no display and never
// create a window; main() decides before any QApplication exists.

#include <QStringList>
#include <QTextStream>
#include <optional>

namespace ts {

// Runs a headless command when the arguments (without the program name) ask
// for one, and returns its exit code; std::nullopt means "start the GUI".
std::optional<int> runHeadless(const QStringList& args, QTextStream& out, QTextStream& err);

// The usage text printed by --help.
QString usageText();

} // namespace ts
