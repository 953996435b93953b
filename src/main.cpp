// Topicsmith: headless commands run on a QCoreApplication; anything else
// starts the editor.

#include "cli/CommandLine.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#ifndef TOPICSMITH_NO_GUI
#include "GuiMain.h"
#endif

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));

    {
        QTextStream out(stdout);
        QTextStream err(stderr);
        // Decide before any QApplication exists: a headless command must not
        // need a display.
        bool headless = !args.isEmpty() && args.first().startsWith(QLatin1Char('-'));
        if (headless) {
            QCoreApplication app(argc, argv);
            if (auto code = ts::runHeadless(args, out, err))
                return *code;
        }
    }
#ifdef TOPICSMITH_NO_GUI
    QTextStream(stdout) << ts::usageText();
    return 0;
#else
    return ts::runGui(argc, argv);
#endif
}
