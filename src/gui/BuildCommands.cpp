#include "BuildCommands.h"

#include "LogViewer.h"
#include "Prompter.h"
#include "PublishCommands.h"
#include "StatusBar.h"
#include "TopicNavigator.h"
#include "contents/ContentsFile.h"
#include "helpfile/HelpCompiler.h"
#include "helpsource/BuildAll.h"
#include "helpsource/HpjWriter.h"
#include "model/CountText.h"
#include "model/IoError.h"
#include "model/Project.h"
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
BuildFeedback statusBarFeedback(StatusBar& sb)
{
    BuildFeedback feedback;
    feedback.Status = [&sb](const QString& text) {
        sb.setPanelText(1, text);
        sb.progressBar->setValue(0);
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

const QString UseBuiltInQuestion = QStringLiteral(
    "Compile with the built-in help compiler?\r\r"
    "Yes: Topicsmith compiles the help file itself; no Windows program is needed.\r"
    "No: choose an external help compiler (HCW.EXE or HCRTF.EXE).");

// Wine's viewer finds a topic by -i only when its ID is made of letters,
// digits, '.' and '_'.
bool viewerFindsTopicId(const QString& id)
{
    if (id.isEmpty())
        return false;
    for (const QChar c : id) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9') ||
                        u == u'.' || u == u'_';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

// `wine winhlp32 [-i ID] base.HLP` in the help file's folder; without a
// topic Wine can find, the viewer opens the file at its contents topic.
CompilerLaunch planHelpViewerLaunch(const QString& helpFilePath, const QString& topicId)
{
    const QFileInfo file(helpFilePath);
    CompilerLaunch launch;
    launch.Program = QStringLiteral("wine");
    launch.Arguments = QStringList{QStringLiteral("winhlp32")};
    if (viewerFindsTopicId(topicId))
        launch.Arguments << QStringLiteral("-i") << topicId;
    launch.Arguments << file.fileName();
    launch.WorkingFolder = file.absolutePath();
    return launch;
}

BuildCommands::BuildCommands(Project& project, Prompter& prompter, TopicNavigator& navigator, StatusBar& statusBar,
                             QWidget* window)
    : QObject(window), project_(project), prompter_(prompter), navigator_(navigator), statusBar_(statusBar),
      window_(window)
{
    setObjectName(QStringLiteral("buildCommands"));
    logViewer = new LogViewer(prompter_, window);
    publishing = new PublishCommands(project_, prompter_, navigator_, statusBar_, window);
    publishing->nameProject = [this] { return nameProject && nameProject(); };
}


// A failed write leaves the files written before it and stops the command.
// The status panel and the bar are cleared rather than left half-way, so
// that they do not claim a build is still running.
bool BuildCommands::buildTopicFile()
{
    navigator_.storeCurrentTopic();
    try {
        ts::buildTopicFile(project_, statusBarFeedback(statusBar_));
    } catch (const IoError& e) {
        statusBar_.finishActivity();
        prompter_.error(window_, e.message());
        return false;
    }
    return true;
}

bool BuildCommands::buildProjectFiles()
{
    try {
        buildProjectAndContents(project_, statusBarFeedback(statusBar_));
    } catch (const ContentsLevelError& e) {
        statusBar_.finishActivity();
        prompter_.error(window_, e.message() + QStringLiteral("\rThe contents editor shows the file with the line "
                                                            "placed at a valid level; its OK writes it so."));
        return false;
    } catch (const IoError& e) {
        statusBar_.finishActivity();
        prompter_.error(window_, e.message());
        return false;
    }
    return true;
}

// The unnamed project lives in the settings folder, where nobody looks for
// its help files: it is saved under a name of the user's first.
bool BuildCommands::projectNamed()
{
    return !project_.isUnnamed() || (nameProject && nameProject() && !project_.isUnnamed());
}

void BuildCommands::buildTopicFileOnly()
{
    if (projectNamed())
        buildTopicFile();
}

void BuildCommands::buildProjectFilesOnly()
{
    if (projectNamed())
        buildProjectFiles();
}

void BuildCommands::buildSourcesOnly()
{
    if (projectNamed() && buildTopicFile())
        buildProjectFiles();
}

bool BuildCommands::chooseCompiler()
{
    const QString chosen = prompter_.openFile(window_, CompilerFilter, CompilerOfferedName);
    if (chosen.isEmpty())
        return false;
    const QString path = QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
    // Windows paths are kept in capitals; where file names differ by case the
    // path keeps its own, and only the compiler's name is compared in capitals.
    project_.CompilerPath = CaseSensitiveFileNames ? path : path.toUpper();
    return true;
}

// A failure to write the help file names the file and the reason; the
// sources written before it stay.
void BuildCommands::compileBuiltIn()
{
    HelpCompileReport report;
    try {
        report = compileHelpFile(project_, statusBarFeedback(statusBar_));
    } catch (const IoError& e) {
        statusBar_.finishActivity();
        prompter_.error(window_, e.message());
        return;
    }
    statusBar_.finishActivity();
    statusBar_.showResult(QStringLiteral("Compiled %1: %2, %3")
                              .arg(QFileInfo(helpFilePathFor(project_)).fileName(),
                                   countText(report.topics, QStringLiteral("topic"), QStringLiteral("topics")),
                                   countText(report.warnings, QStringLiteral("warning"), QStringLiteral("warnings"))));
    // "... and show Help": the file opens at the current topic.
    if (showHelpFile)
        showHelpFile(helpFilePathFor(project_), currentTopicId());
    else if (hasViewer())
        startHelpViewer(helpFilePathFor(project_));
}

bool BuildCommands::hasViewer() const
{
    return wineAvailable ? wineAvailable() : ts::wineAvailable();
}

QString BuildCommands::currentTopicId() const
{
    const int current = navigator_.currentTopic();
    return current >= 0 ? project_.topic(current).TopicID.text() : QString();
}

void BuildCommands::startHelpViewer(const QString& helpFile)
{
    const CompilerLaunch launch = planHelpViewerLaunch(helpFile, currentTopicId());
    if (startViewer)
        startViewer(launch);
    else if (!QProcess::startDetached(launch.Program, launch.Arguments, launch.WorkingFolder))
        prompter_.error(window_, QStringLiteral("The help viewer (wine winhlp32) could not be started for %1.")
                                     .arg(QDir::toNativeSeparators(helpFile)));
}

void BuildCommands::compileProject()
{
    statusBar_.setPanelText(StatusBar::ResultPanel, QString());
    if (!projectNamed() || !buildTopicFile() || !buildProjectFiles())
        return;
    if (project_.CompilerPath == NoCompilerPath) {
        compileBuiltIn();
        return;
    }
    const auto command =
        makeCompilerCommand(project_.CompilerPath, QDir::toNativeSeparators(HpjWriter::pathFor(project_)));
    if (!command)
        return;
    const CompilerLaunch launch = planCompilerLaunch(*command, OnWindows, !OnWindows && ts::wineAvailable());
    if (startCompiler)
        startCompiler(launch);
    else
        startDetached(launch);
}

void BuildCommands::setHelpCompiler()
{
    const auto answer = prompter_.message(window_, UseBuiltInQuestion, QStringLiteral("Set Help Compiler"),
                                          Prompter::Buttons::YesNo, Prompter::Icon::Question);
    if (answer == Prompter::Answer::Yes)
        project_.CompilerPath = NoCompilerPath;
    else
        chooseCompiler();
}

bool BuildCommands::helpFileExists(const QString& helpFile)
{
    if (QFileInfo(helpFile).isFile())
        return true;
    prompter_.message(window_,
                      QStringLiteral("The help file %1 does not exist yet.\r"
                                     "Compile the project first (Build All, Compile and show Help, F9).")
                          .arg(QDir::toNativeSeparators(helpFile)),
                      QStringLiteral("Topicsmith"), Prompter::Buttons::Ok, Prompter::Icon::Information);
    return false;
}

void BuildCommands::viewHelpFile()
{
    const QString helpFile = helpFilePathFor(project_);
    if (!showHelpFile) {
        viewHelpFileInWine();
        return;
    }
    if (helpFileExists(helpFile))
        showHelpFile(helpFile, currentTopicId());
}

void BuildCommands::viewHelpFileInWine()
{
    const QString helpFile = helpFilePathFor(project_);
    if (!helpFileExists(helpFile))
        return;
    if (!hasViewer()) {
        prompter_.message(window_,
                          QStringLiteral("No WinHelp viewer was found: wine is not on the PATH.\r"
                                         "Install the Debian package \"wine\" (apt install wine) to view %1.")
                              .arg(QFileInfo(helpFile).fileName()),
                          QStringLiteral("Topicsmith"), Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    startHelpViewer(helpFile);
}

void BuildCommands::showCompileLog()
{
    logViewer->setText(QString());
    logViewer->setWindowTitle(QStringLiteral("Last Compile Information"));
    const QString logPath = project_.projectBase() + QStringLiteral(".LOG");
    if (QFileInfo(logPath).isFile()) {
        logViewer->headerLabel->setText(QStringLiteral("  Last compile log for: ") + project_.ProjectPath);
        try {
            logViewer->setText(cp1252::decode(readWholeFile(logPath)));
        } catch (const IoError& e) {
            prompter_.error(window_, e.message());
            return;
        }
    } else {
        logViewer->headerLabel->setText(QStringLiteral("No Log File Yet!"));
    }
    logViewer->exec();
}

void BuildCommands::showTopicList()
{
    if (project_.TopicCount() == 0) {
        prompter_.message(window_, NothingToListText, QStringLiteral("Topicsmith"));
        return;
    }
    logViewer->setWindowTitle(QStringLiteral("  Extended Topic List"));
    logViewer->headerLabel->setText(QStringLiteral("Extended Topic List for: ") + project_.ProjectPath);
    logViewer->setText(topicListLines(project_).join(QLatin1Char('\n')));
    logViewer->exec();
}

} // namespace ts
