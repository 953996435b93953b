// TGlavniForm: what the window does when it is created, first shown and
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

void TGlavniForm::FormCreate()
{
    ImageList1.clear();
    for (const char* name : {"OPEN", "UPITNIK", "CLOSE", "UNCHECK", "CHECK"})
        ImageList1.append(QIcon(QStringLiteral(":/icons/") + QString::fromLatin1(name)));

    // The model starts empty with the default window: the Project was made so.
    FontCombo->blockSignals(true);
    QStringList families = QFontDatabase::families();
    families.removeDuplicates();
    families.sort(Qt::CaseInsensitive);
    FontCombo->addItems(families);
    FontCombo->setCurrentText(QStringLiteral("Arial"));
    FontCombo->blockSignals(false);

    Project_.PendingOpenPath.clear();
    Project_.ProjectPath = Project_.UnnamedPath();
    Project_.CompilerPath = QStringLiteral("NoCompiler");
    refreshRecentMenu();
    DisableControls();
}

void TGlavniForm::setStartScreen(TStartForm* startScreen)
{
    StartScreen_ = startScreen;
}

void TGlavniForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!Shown_) {
        Shown_ = true;
        FormShow();
    }
}

void TGlavniForm::FormShow()
{
    Timer1->start();
    // The start screen stays in front until the timer closes it.
    if (StartScreen_)
        QTimer::singleShot(0, StartScreen_.data(), &QWidget::raise);
    if (!QFile::exists(ProgramFolder_ + Settings::fileName()))
        return;
    readSettings();
    const QString& arg = ProgramArgument_;
    if (arg.size() >= 3 && arg.right(3).toUpper() == QStringLiteral("TSP")) {
        Project_.PendingOpenPath = arg;
        Open1Click();
    }
}

void TGlavniForm::readSettings()
{
    const Settings s = Settings::fromIni(IniFile::read(ProgramFolder_ + Settings::fileName()));

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

    TLButton->setChecked(s.TLB);
    TopicPanel->setVisible(s.TLB);
    Project_.CompilerPath = s.HelpCompiler;
    Recent_ = s.Recent;
    refreshRecentMenu();
}

void TGlavniForm::writeSettings()
{
    const QString path = ProgramFolder_ + Settings::fileName();
    Settings s;
    s.Left = x();
    s.Top = y();
    s.Width = width();
    s.Height = height();
    s.TLB = TLButton->isChecked();
    s.HelpCompiler = Project_.CompilerPath;
    s.Recent = Recent_;
    try {
        IniFile ini = IniFile::read(path);
        s.toIni(ini);
        ini.save(path);
    } catch (const IoError& e) {
        // Closing must not be blocked by a folder the program cannot write.
        QTextStream(stderr) << "Topicsmith: the settings were not saved: " << e.message() << Qt::endl;
    }
}

void TGlavniForm::closeEvent(QCloseEvent* event)
{
    if (Closed_ || FormClose()) {
        Closed_ = true;
        event->accept();
    } else {
        event->ignore();
    }
}

bool TGlavniForm::FormClose()
{
    if (Project_.TopicCount() != 0) {
        const auto answer = Prompter_.message(this, QStringLiteral("Save Project Before Exiting?"),
                                              QStringLiteral("Exit"), Prompter::Buttons::YesNo,
                                              Prompter::Icon::Question);
        // A save that failed keeps the window open, so that the work can be
        // saved elsewhere; a cancelled Save As ends the program unsaved.
        if (answer == Prompter::Answer::Yes && Save1Click() == SaveResult::Failed)
            return false;
    }
    writeSettings();
    if (StartScreen_)
        StartScreen_->close();
    return true;
}

void TGlavniForm::Exit1Click()
{
    close();
}

void TGlavniForm::Timer1Timer()
{
    Timer1->stop();
    if (StartScreen_) {
        StartScreen_->hide();
        StartScreen_->deleteLater();
        StartScreen_.clear();
    }
}

} // namespace ts
