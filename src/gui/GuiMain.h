#pragma once
// Starts the editor: the QApplication, the start screen and the main window.

namespace ts {

int RunGui(int argc, char* argv[]);

} // namespace ts
