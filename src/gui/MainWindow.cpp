// MainWindow: creation and layout of the parts, the connection of the
// actions to the parts, the switch that enables the editing commands, and
// the first show, closing and settings file.

#include "MainWindow.h"

#include "BuildCommands.h"
#include "PublishCommands.h"
#include "CommandToolBar.h"
#include "FormattingToolBar.h"
#include "InsertCommands.h"
#include "MainActions.h"
#include "MainMenus.h"
#include "ProjectCommands.h"
#include "Prompter.h"
#include "StartScreen.h"
#include "StatusBar.h"
#include "ToolsCommands.h"
#include "TopicCommands.h"
#include "TopicEditorPane.h"
#include "TopicNavigator.h"
#include "TopicTabBar.h"
#include "WindowPlacer.h"
#include "viewer/HelpViewer.h"
#include "model/IoError.h"
#include "model/ProjectFile.h"
#include "settings/IniFile.h"
#include "settings/ProgramFolder.h"
#include "settings/Settings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenuBar>
#include <QProgressBar>
#include <QTextEdit>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

// Resources of a static library are registered by hand.
static void initTopicsmithResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace ts {

MainWindow::MainWindow(Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), programFolder_(ts::programFolder()), project_(programFolder_)
{
    initTopicsmithResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Topicsmith"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/logo")));
    setProperty("helpContext", 140);
    listIcons = ListIcons::fromResources();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    actions = new MainActions(this);
    toolBar = new CommandToolBar(*actions, this);
    layout->addWidget(toolBar);

    editorPanel = new QWidget(this);
    editorPanel->setObjectName(QStringLiteral("editorPanel"));
    editors = new TopicEditorPane(editorPanel);
    navigator = new TopicNavigator(project_, *editors, this);
    auto* v = new QVBoxLayout(editorPanel);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(1);
    v->addWidget(navigator->topicTabs);
    v->addWidget(editors, 1);
    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(2);
    body->addWidget(navigator->topicListPanel);
    body->addWidget(editorPanel, 1);
    layout->addLayout(body, 1);

    statusBar = new StatusBar(this);
    progressBar = statusBar->progressBar;
    setStatusBar(statusBar);

    menus = std::make_unique<MainMenus>(menuBar(), *actions);

    startScreenTimer = new QTimer(this);
    startScreenTimer->setObjectName(QStringLiteral("startScreenTimer"));
    startScreenTimer->setSingleShot(true);
    startScreenTimer->setInterval(2000);

    formatting = new FormattingToolBar(prompter_, *editors, toolBar);
    toolBar->addToLowerRow(formatting);
    tools = new ToolsCommands(project_, prompter_, programFolder_, *navigator, *editors, *statusBar, listIcons, this);
    topics = new TopicCommands(project_, prompter_, *navigator, *editors, this);
    projectCommands = new ProjectCommands(project_, prompter_, programFolder_, *navigator, *editors, *topics,
                                          *statusBar, actions->reopen, this);
    build = new BuildCommands(project_, prompter_, *navigator, *statusBar, this);
    build->nameProject = [this] { return projectCommands->saveProjectAs() == ProjectCommands::SaveResult::Saved; };
    helpViewer = new HelpViewer(prompter_, this);
    insertion = new InsertCommands(project_, prompter_, *editors, *navigator, this);

    connectCommands();
    qApp->installEventFilter(this);

    // The model starts empty with the default window: the Project was made so.
    project_.ProjectPath = project_.unnamedPath();
    project_.CompilerPath = QStringLiteral("NoCompiler");
    showProjectName(project_.ProjectPath);
    disableControls();
    setUsableMinimumSize();
    placer_ = new WindowPlacer(*this);
}

void MainWindow::setUsableMinimumSize()
{
    // The toolbar rows and the status bar's panels may clip in a narrow
    // window; the smallest window still shows every button, box and the
    // panels up to the progress bar whole, and keeps a few lines of the
    // topic text in view.
    editors->setMinimumTopicLines(4);
    // The window's layout counts only a status bar's explicit minimum, and
    // the menu bar only in its total: without both the editors would be
    // squeezed under their captions.
    statusBar->setMinimumHeight(statusBar->minimumSizeHint().height());
    const QSize contents = layout()->totalMinimumSize();
    const int width = std::max({contents.width(), toolBar->layout()->sizeHint().width(),
                            statusBar->progressBar->x() + statusBar->progressBar->width()});
    setMinimumSize(width, contents.height());
}

void MainWindow::showProjectName(const QString& path)
{
    // "[*]" shows as "*" while the project has unsaved changes.
    setWindowTitle(QFileInfo(path).fileName() + QStringLiteral("[*] - Topicsmith"));
}

MainWindow::~MainWindow()
{
    if (startScreen_)
        delete startScreen_.data();
}

void MainWindow::toggleTopicList()
{
    navigator->setListVisible(actions->showTopicList->isChecked());
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
    // Polished, the controls may need more room than when they were made.
    setUsableMinimumSize();
    startScreenTimer->start();
    // The start screen stays in front until the timer closes it.
    if (startScreen_)
        QTimer::singleShot(0, startScreen_.data(), &QWidget::raise);
    if (QFile::exists(programFolder_ + Settings::fileName()))
        readSettings();
    else
        placer_->placeOnFirstStart();
    // The argument is opened once the window is on the screen, so that a
    // message about it comes over the window and not before it.
    if (!programArgument_.isEmpty())
        QTimer::singleShot(0, this, &MainWindow::openProgramArgument);
}

void MainWindow::openProgramArgument()
{
    // A project named on the command line opens also on the first run, when
    // there are no settings yet: a file manager starts us that way.
    const QString& arg = programArgument_;
    if (arg.size() >= 3 && arg.right(3).toUpper() == QStringLiteral("TSP")) {
        projectCommands->setPendingOpenPath(arg);
        projectCommands->openProject();
    } else if (!arg.endsWith(QLatin1String(".hlp"), Qt::CaseInsensitive)) {
        // A help file goes to the help viewer; anything else is not ours.
        prompter_.error(this, ProjectFile::notAProjectFileMessage(arg));
    }
}

void MainWindow::connectCommands()
{
    const MainActions& a = *actions;
    // Each action runs a command that takes no arguments: the checked state
    // that triggered() carries is not passed on.
    const auto on = [](QAction* action, auto* part, auto command) {
        connect(action, &QAction::triggered, part, [part, command] { (part->*command)(); });
    };

    // Project file.
    on(a.newProject, projectCommands, &ProjectCommands::newProject);
    on(a.openProject, projectCommands, &ProjectCommands::openProject);
    on(a.saveProject, projectCommands, &ProjectCommands::saveProject);
    on(a.saveProjectAs, projectCommands, &ProjectCommands::saveProjectAs);
    on(a.importHelpFile, projectCommands, &ProjectCommands::importHelpFile);
    on(a.openHelpFile, helpViewer, &HelpViewer::chooseAndOpenFile);
    on(a.exit, this, &MainWindow::exitProgram);
    for (int k = 0; k < RecentFiles::Count; ++k)
        connect(a.reopen[size_t(k)], &QAction::triggered, projectCommands,
                [this, k] { projectCommands->openRecentProject(k); });
    connect(projectCommands, &ProjectCommands::projectOpened, this, &MainWindow::enableControls);
    connect(projectCommands, &ProjectCommands::projectAbandoned, this, &MainWindow::disableControls);
    connect(projectCommands, &ProjectCommands::projectNamed, this, &MainWindow::showProjectName);

    // Topics.
    on(a.showTopicList, this, &MainWindow::toggleTopicList);
    on(a.addTopic, topics, &TopicCommands::addTopic);
    on(a.deleteTopic, topics, &TopicCommands::deleteTopic);
    on(a.topicProperties, topics, &TopicCommands::changeTopicProperties);
    on(a.editWindows, topics, &TopicCommands::editWindows);
    connect(topics, &TopicCommands::topicAdded, this, &MainWindow::enableControls);
    // What the title's "*" and the save questions go by.
    connect(editors, &TopicEditorPane::edited, this, [this] { setWindowModified(true); });
    connect(topics, &TopicCommands::projectChanged, this, [this] { setWindowModified(true); });

    // Build.
    on(a.compile, build, &BuildCommands::compileProject);
    on(a.buildAll, build, &BuildCommands::buildSourcesOnly);
    on(a.projectFiles, build, &BuildCommands::buildProjectFilesOnly);
    on(a.topicFile, build, &BuildCommands::buildTopicFileOnly);
    on(a.showLog, build, &BuildCommands::showCompileLog);
    on(a.setCompiler, build, &BuildCommands::setHelpCompiler);
    on(a.viewHelp, build, &BuildCommands::viewHelpFile);
    on(a.viewInWine, build, &BuildCommands::viewHelpFileInWine);
    build->showHelpFile = [this](const QString& file, const QString& topicId) { helpViewer->openFile(file, topicId); };
    on(a.publishHtml, build->publishing, &PublishCommands::publishHtml);
    on(a.publishChm, build->publishing, &PublishCommands::publishChm);
    on(a.extendedTopicList, build, &BuildCommands::showTopicList);

    // Tools and help.
    on(a.contentsEditor, tools, &ToolsCommands::editContents);
    on(a.spellCheck, tools, &ToolsCommands::checkSpelling);
    on(a.search, tools, &ToolsCommands::searchTopics);
    on(a.helpContents, tools, &ToolsCommands::showHelpContents);
    on(a.about, tools, &ToolsCommands::showAbout);

    // Insertion.
    connect(a.addBitmap, &QAction::triggered, insertion, [this] { insertion->insertBitmap(false); });
    connect(a.addTransparentBitmap, &QAction::triggered, insertion, [this] { insertion->insertBitmap(true); });
    on(a.addRelatedTopicsButton, insertion, &InsertCommands::insertRelatedTopicsButton);
    on(a.addTopicLink, insertion, &InsertCommands::insertTopicLink);
    on(a.addWebLink, insertion, &InsertCommands::insertWebLink);

    // Clipboard.
    on(a.cut, editors, &TopicEditorPane::cut);
    on(a.copy, editors, &TopicEditorPane::copy);
    on(a.paste, editors, &TopicEditorPane::paste);
    on(a.selectAll, editors, &TopicEditorPane::selectAll);
    on(a.undo, editors, &TopicEditorPane::undo);
    on(a.redo, editors, &TopicEditorPane::redo);

    connect(startScreenTimer, &QTimer::timeout, this, &MainWindow::closeStartScreen);
}

void MainWindow::setEditingEnabled(bool enabled)
{
    actions->setEditingEnabled(enabled);
    editors->setEditingEnabled(enabled);
}

void MainWindow::enableControls()
{
    setEditingEnabled(true);
}

void MainWindow::disableControls()
{
    setEditingEnabled(false);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The start screen stays on top of everything: a message or dialog that
    // comes while it is up would be hidden behind it.
    if (event->type() == QEvent::Show && startScreen_ && watched != startScreen_.data()
        && qobject_cast<QDialog*>(watched))
        closeStartScreen();
    if (event->type() == QEvent::ShortcutOverride) {
        // The clipboard and project shortcuts of the window's menus come
        // before the keys the focused control would otherwise claim, so that
        // they always run the menu's command.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && actions->shortcutComesFirst(*static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::readSettings()
{
    const Settings s = Settings::fromIni(IniFile::read(programFolder_ + Settings::fileName()));

    placer_->restore(QRect(s.Left, s.Top, qMax(s.Width, 100), qMax(s.Height, 100)), s.Maximized);

    actions->showTopicList->setChecked(s.topicListShown);
    navigator->setListVisible(s.topicListShown);
    project_.CompilerPath = s.HelpCompiler;
    projectCommands->setRecentFiles(s.Recent);
}

void MainWindow::writeSettings()
{
    const QString path = programFolder_ + Settings::fileName();
    Settings s;
    // A maximised window keeps the bounds it is restored to: an older
    // version, which knows nothing of Maximized, opens it there.
    s.Maximized = isMaximized();
    const QRect kept = placer_->boundsToKeep();
    s.Left = kept.left();
    s.Top = kept.top();
    s.Width = kept.width();
    s.Height = kept.height();
    s.topicListShown = actions->showTopicList->isChecked();
    s.HelpCompiler = project_.CompilerPath;
    s.Recent = projectCommands->recentFiles();
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
    if (projectCommands->hasUnsavedChanges()) {
        const auto answer = prompter_.message(this, QStringLiteral("Save Project Before Exiting?"),
                                              QStringLiteral("Exit"), Prompter::Buttons::YesNoOrKeep,
                                              Prompter::Icon::Question);
        // Escape keeps the window open, and so does a save that failed or a
        // Save As that was cancelled: the user asked for the work to be
        // saved, so the program does not end without it.
        if (answer == Prompter::Answer::Cancel)
            return false;
        if (answer == Prompter::Answer::Yes && projectCommands->saveProject() != ProjectCommands::SaveResult::Saved)
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
