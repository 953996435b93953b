#pragma once
// The main window. It owns the one Project of the run and puts together the
// parts that do the work (see README.md in this folder):
//   MainActions        every command as one action, for menus and toolbar
//   CommandToolBar     the two toolbar rows of buttons
//   FormattingToolBar  font, size, colour, bold, italic, alignment, indent
//   TopicNavigator     the tab row and the topic list, kept in step
//   TopicEditorPane    the topic editors and keywords, stored and loaded
//   TopicCommands      add, delete, topic properties, windows, link upkeep
//   ProjectCommands    New, Open, Save, Save As, recent projects
//   BuildCommands      the Build menu, compile log, extended topic list
//   InsertCommands     links, buttons and bitmaps into the editors
//   ToolsCommands      search, contents editor, spelling, about
// The window itself lays them out, builds the menus, connects the actions
// to the parts, switches the editing commands on and off, and handles its
// first show, closing and the settings file. Every message and file dialog
// goes through the Prompter.

#include "ListIcons.h"
#include "StartScreen.h"
#include "model/Project.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <memory>

class QProgressBar;
class QTimer;

namespace ts {

class BuildCommands;
class HelpViewer;
class CommandToolBar;
class FormattingToolBar;
class InsertCommands;
class MainActions;
struct MainMenus;
class ProjectCommands;
class Prompter;
class StatusBar;
class ToolsCommands;
class TopicCommands;
class TopicEditorPane;
class TopicNavigator;
class WindowPlacer;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Prompter& prompter, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start screen that startScreenTimer closes two seconds after the first show.
    void setStartScreen(StartScreen* startScreen);
    StartScreen* startScreen() const { return startScreen_; }
    // The program's argument; opened at the first show when it names a
    // project file and the settings file exists.
    void setProgramArgument(const QString& argument) { programArgument_ = argument; }

    Project& project() { return project_; }
    const Project& project() const { return project_; }
    // The folder of the settings file and the unnamed project, with its '/'.
    const QString& programFolder() const { return programFolder_; }

    // The icons of the contents editor's and Search's lists.
    ListIcons listIcons;

    // ---- The parts ----
    MainActions* actions;
    CommandToolBar* toolBar;
    FormattingToolBar* formatting;
    TopicEditorPane* editors;
    TopicNavigator* navigator;
    TopicCommands* topics;
    ProjectCommands* projectCommands;
    BuildCommands* build;
    InsertCommands* insertion;
    ToolsCommands* tools;
    HelpViewer* helpViewer; // help files: File > Open Help File, F9, View Help File

    QWidget* editorPanel;
    StatusBar* statusBar;
    QProgressBar* progressBar;
    QTimer* startScreenTimer;

    std::unique_ptr<MainMenus> menus;

public slots:
    void onFirstShow();
    // Opens the program's argument when it names a project; says so when it
    // names a file that is neither a project nor a help file.
    void openProgramArgument();
    // Asks to save a project with unsaved changes; false keeps the window open.
    bool confirmClose();
    void exitProgram();
    void closeStartScreen();
    void toggleTopicList();
    void enableControls();
    void disableControls();
    // "demo.tsp - Topicsmith": the title names the project file, with "*"
    // after it while there are unsaved changes.
    void showProjectName(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectCommands();
    void setUsableMinimumSize();
    void setEditingEnabled(bool enabled);
    void readSettings();
    void writeSettings();

    Prompter& prompter_;
    QString programFolder_;
    Project project_;
    QString programArgument_;
    QPointer<StartScreen> startScreen_;
    bool shown_ = false;
    bool closed_ = false;
    WindowPlacer* placer_ = nullptr;
};

} // namespace ts
