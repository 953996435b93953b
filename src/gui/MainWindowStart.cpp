// MainWindow: what the window does when it is created, first shown and
// closed, and the settings file it reads and writes then.

#include "MainWindow.h"

#include "Prompter.h"
#include "StartScreen.h"
#include "StatusBar.h"
#include "model/IoError.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>

namespace ts {

void MainWindow::initialise()
{
    listIcons.clear();
    for (const char* name : {"OPEN", "UPITNIK", "CLOSE", "UNCHECK", "CHECK"})
        listIcons.append(QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(name)));

    // The model starts empty with the default window: the Project was made so.
    fontCombo->blockSignals(true);
    QStringList families = QFontDatabase::families();
    families.removeDuplicates();
    families.sort(Qt::CaseInsensitive);
    fontCombo->addItems(families);
    fontCombo->setCurrentText(QStringLiteral("Arial"));
    fontCombo->blockSignals(false);

    project_.PendingOpenPath.clear();
    project_.ProjectPath = project_.UnnamedPath();
    project_.CompilerPath = QStringLiteral("NoCompiler");
    refreshRecentMenu();
    disableControls();
}

void MainWindow::setStartScreen(StartScreen* startScreen)
{
    startScreen_ = startScreen;
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        onFirstShow();
    }
}

void MainWindow::onFirstShow()
{
    startScreenTimer->start();
    // The start screen stays in front until the timer closes it.
    if (startScreen_)
        QTimer::singleShot(0, startScreen_.data(), &QWidget::raise);
    if (!QFile::exists(programFolder_ + Settings::fileName()))
        return;
    readSettings();
    const QString& arg = programArgument_;
    if (arg.size() >= 3 && arg.right(3).toUpper() == QStringLiteral("TSP")) {
        project_.PendingOpenPath = arg;
        openProject();
    }
}

void MainWindow::readSettings()
{
    const Settings s = Settings::fromIni(IniFile::read(programFolder_ + Settings::fileName()));

    // Bounds that would put the window out of sight (a screen that is gone)
    // leave it where the platform put it.
    const int width = qMax(s.Width, 100);
    const int height = qMax(s.Height, 100);
    const QRect titleBar(s.Left + 20, s.Top, width - 40, 30);
    bool visible = false;
    for (const QScreen* screen : QGuiApplication::screens())
        visible = visible || screen->availableGeometry().intersects(titleBar);
    if (visible)
        move(s.Left, s.Top);
    resize(width, height);

    topicListToggle->setChecked(s.TLB);
    topicListPanel->setVisible(s.TLB);
    project_.CompilerPath = s.HelpCompiler;
    recent_ = s.Recent;
    refreshRecentMenu();
}

void MainWindow::writeSettings()
{
    const QString path = programFolder_ + Settings::fileName();
    Settings s;
    s.Left = x();
    s.Top = y();
    s.Width = width();
    s.Height = height();
    s.TLB = topicListToggle->isChecked();
    s.HelpCompiler = project_.CompilerPath;
    s.Recent = recent_;
    try {
        IniFile ini = IniFile::read(path);
        s.toIni(ini);
        ini.save(path);
    } catch (const IoError& e) {
        // Closing must not be blocked by a folder the program cannot write.
        QTextStream(stderr) << "Topicsmith: the settings were not saved: " << e.message() << Qt::endl;
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (closed_ || confirmClose()) {
        closed_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

bool MainWindow::confirmClose()
{
    if (project_.TopicCount() != 0) {
        const auto answer = prompter_.message(this, QStringLiteral("Save Project Before Exiting?"),
                                              QStringLiteral("Exit"), Prompter::Buttons::YesNo,
                                              Prompter::Icon::Question);
        // A save that failed keeps the window open, so that the work can be
        // saved elsewhere; a cancelled Save As ends the program unsaved.
        if (answer == Prompter::Answer::Yes && saveProject() == SaveResult::Failed)
            return false;
    }
    writeSettings();
    if (startScreen_)
        startScreen_->close();
    return true;
}

void MainWindow::exitProgram()
{
    close();
}

void MainWindow::closeStartScreen()
{
    startScreenTimer->stop();
    if (startScreen_) {
        startScreen_->hide();
        startScreen_->deleteLater();
        startScreen_.clear();
    }
}

} // namespace ts
