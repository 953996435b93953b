// TGlavniForm: the Build menu (the RTF topic file, the HPJ and CNT files, the
// help compiler), the compile log viewer and the extended topic list, which
// borrows the log viewer.

#include "MainWindow.h"

#include "LogDialog.h"
#include "Prompter.h"
#include "StatusBar.h"
#include "contents/ContentsFile.h"
#include "helpsource/BuildAll.h"
#include "helpsource/HpjWriter.h"
#include "model/IoError.h"
#include "model/TopicList.h"
#include "model/WholeFile.h"
#include "model/Windows1252.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>

namespace ts {

namespace {

const QString CompilerFilter = QStringLiteral("Help Compiler (Hcrtf.exe) or (Hcw.exe)|*.EXE");
const QString CompilerOfferedName = QStringLiteral("*.exe");

constexpr bool OnWindows =
#ifdef Q_OS_WIN
    true;
#else
    false;
#endif

// Each writer names itself in panel 1 and starts the bar from 0; its steps
// move the bar; its end empties the panel and puts the bar back to 0.
BuildFeedback statusBarFeedback(TFriendlyStatusBar& sb)
{
    BuildFeedback feedback;
    feedback.Status = [&sb](const QString& text) {
        sb.setPanelText(1, text);
        sb.PB->setValue(0);
    };
    feedback.Progress = [&sb](int step) { sb.advance(step); };
    return feedback;
}

void startDetached(const CompilerLaunch& launch)
{
    // Nothing waits for the compiler, and a start that fails says nothing:
    // the log viewer shows what the compiler wrote, or that there is no log.
    QProcess::startDetached(launch.Program, launch.Arguments, launch.WorkingFolder);
}

} // namespace

// A failed write leaves the files written before it and stops the command.
// The status panel and the bar are cleared rather than left half-way, so
// that they do not claim a build is still running.
bool TGlavniForm::buildTopicFile()
{
    TopicTabChanging();
    try {
        BuildTopicFile(Project_, statusBarFeedback(*SB));
    } catch (const IoError& e) {
        SB->finishActivity();
        showIoError(e.message());
        return false;
    }
    return true;
}

bool TGlavniForm::buildProjectFiles()
{
    try {
        BuildProjectAndContents(Project_, statusBarFeedback(*SB));
    } catch (const ContentsLevelError&) {
        SB->finishActivity();
        showIoError(ContentsLevelError::text());
        return false;
    } catch (const IoError& e) {
        SB->finishActivity();
        showIoError(e.message());
        return false;
    }
    return true;
}

void TGlavniForm::RtfButtonClick()
{
    buildTopicFile();
}

void TGlavniForm::PrjButtonClick()
{
    buildProjectFiles();
}

void TGlavniForm::AllButtonClick()
{
    if (buildTopicFile())
        buildProjectFiles();
}

bool TGlavniForm::chooseCompiler()
{
    const QString chosen = Prompter_.openFile(this, CompilerFilter, CompilerOfferedName);
    if (chosen.isEmpty())
        return false;
    const QString path = QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
    // Windows paths are kept in capitals; where file names differ by case the
    // path keeps its own, and only the compiler's name is compared in capitals.
    Project_.CompilerPath = CaseSensitiveFileNames ? path : path.toUpper();
    return true;
}

void TGlavniForm::GoButtonClick()
{
    if (!buildTopicFile() || !buildProjectFiles())
        return;
    if (Project_.CompilerPath == NoCompilerPath) {
        Prompter_.message(this, QStringLiteral("Please select the Help Compiler in next open dialog!"),
                          QStringLiteral("Topicsmith"));
        if (!chooseCompiler())
            return;
    }
    const auto command =
        MakeCompilerCommand(Project_.CompilerPath, QDir::toNativeSeparators(HpjWriter::pathFor(Project_)));
    if (!command)
        return;
    const CompilerLaunch launch = PlanCompilerLaunch(*command, OnWindows, !OnWindows && WineAvailable());
    if (StartCompiler)
        StartCompiler(launch);
    else
        startDetached(launch);
}

void TGlavniForm::SetHelpCompiler1Click()
{
    chooseCompiler();
}

void TGlavniForm::ShowLog1Click()
{
    LogForm->setText(QString());
    LogForm->setWindowTitle(QStringLiteral("Last Compile Information"));
    const QString logPath = Project_.ProjectBase() + QStringLiteral(".LOG");
    if (QFileInfo(logPath).isFile()) {
        LogForm->Panel1->setText(QStringLiteral("  Last compile log for: ") + Project_.ProjectPath);
        try {
            LogForm->setText(cp1252::decode(ReadWholeFile(logPath)));
        } catch (const IoError& e) {
            showIoError(e.message());
            return;
        }
    } else {
        LogForm->Panel1->setText(QStringLiteral("No Log File Yet!"));
    }
    LogForm->exec();
}

void TGlavniForm::TopiclButtonClick()
{
    if (Project_.TopicCount() == 0) {
        Prompter_.message(this, NothingToListText, QStringLiteral("Topicsmith"));
        return;
    }
    LogForm->setWindowTitle(QStringLiteral("  Extended Topic List"));
    LogForm->Panel1->setText(QStringLiteral("Extended Topic List for: ") + Project_.ProjectPath);
    LogForm->setText(TopicListLines(Project_).join(QLatin1Char('\n')));
    LogForm->exec();
}

} // namespace ts
