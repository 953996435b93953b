#include "GuiMain.h"

#include "cli/CommandLine.h"

#include <QTextStream>

namespace ts {

// The main window does not exist yet; until it does, the program prints its
// usage.
int RunGui(int, char*[])
{
    QTextStream(stdout) << UsageText();
    return 0;
}

} // namespace ts
