// MainWindow: the about box, and commands that are in the menus and toolbar
// already but whose work is still to come (the window and contents editors,
// the program's help). Until then they do
// nothing.

#include "MainWindow.h"

#include "AboutDialog.h"

namespace ts {

void MainWindow::showHelpContents() {}

void MainWindow::showAbout()
{
    aboutDialog->exec();
}

} // namespace ts
