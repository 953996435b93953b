// MainWindow: the contents editor. It reads the contents file at every
// opening and writes it only on OK; the project itself is not changed.

#include "MainWindow.h"

#include "ContentsDialog.h"

namespace ts {

void MainWindow::editContents()
{
    contentsDialog->exec();
}

} // namespace ts
