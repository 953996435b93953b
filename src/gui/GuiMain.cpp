#include "GuiMain.h"

#include "ContextHelp.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "StartScreen.h"

#include <QApplication>

namespace ts {

int RunGui(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Topicsmith"));
    QApplication::setApplicationVersion(QStringLiteral(TOPICSMITH_VERSION));

    // The start screen comes first and is painted before anything else is built.
    auto* startScreen = new StartScreen;
    startScreen->showAndPaint();

    // The desktop's menu entry and icon are found under this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("topicsmith"));
    // F1 and What's This work in every window from here on.
    ContextHelp::forApplication();
    QApplication::setWindowIcon(ContextHelp::applicationIcon());

    WidgetPrompter prompter;
    MainWindow mainWindow(prompter);
    mainWindow.setStartScreen(startScreen);
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        mainWindow.setProgramArgument(args.at(1));
    mainWindow.show();
    return app.exec();
}

} // namespace ts
