#pragma once
// Starts the editor: the QApplication, the start screen and the main window.

namespace ts {

int runGui(int argc, char* argv[]);

} // namespace ts
