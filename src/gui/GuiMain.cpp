#include "GuiMain.h"

#include "ContextHelp.h"
#include "MainWindow.h"
#include "Prompter.h"
#include "StartScreen.h"
#include "viewer/HelpViewer.h"

#include <QApplication>

namespace ts {
namespace {

// `topicsmith FILE.HLP` (any case) opens the help file in the viewer alone.
int runHelpViewer(const QString& path)
{
    WidgetPrompter prompter;
    HelpViewer viewer(prompter);
    if (!viewer.openFile(path))
        return 1;
    QObject::connect(&viewer, &HelpViewer::allWindowsClosed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    return QApplication::exec();
}

} // namespace

int runGui(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Topicsmith"));
    QApplication::setApplicationVersion(QStringLiteral(TOPICSMITH_VERSION));
    const QStringList args = QApplication::arguments();
    if (args.size() > 1 && args.at(1).endsWith(QLatin1String(".hlp"), Qt::CaseInsensitive)) {
        QGuiApplication::setDesktopFileName(QStringLiteral("topicsmith"));
        QApplication::setWindowIcon(ContextHelp::applicationIcon());
        return runHelpViewer(args.at(1));
    }

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
    if (args.size() > 1)
        mainWindow.setProgramArgument(args.at(1));
    mainWindow.show();
    return app.exec();
}

} // namespace ts
