#pragma once
// The Build menu: the RTF topic file, the project and contents files, the
// help compiler (the built-in one, or an external HCW.EXE/HCRTF.EXE), the
// compiled help file shown in the program's help viewer (or Wine's); the compile log viewer and
// the extended topic list, which borrows the log viewer.
//
// CompilerPath "NoCompiler" (what a new settings file holds) means the
// built-in compiler; any other value is the path of an external compiler.

#include "helpsource/CompilerCommand.h"

#include <QObject>

#include <functional>

class QWidget;

namespace ts {

class LogViewer;
class Project;
class PublishCommands;
class Prompter;
class StatusBar;
class TopicNavigator;

// How "View Help File" starts Wine's viewer on `helpFilePath` at `topicId`.
CompilerLaunch planHelpViewerLaunch(const QString& helpFilePath, const QString& topicId);

class BuildCommands : public QObject {
    Q_OBJECT
public:
    BuildCommands(Project& project, Prompter& prompter, TopicNavigator& navigator, StatusBar& statusBar,
                  QWidget* window);

    LogViewer* logViewer;
    // Publish as HTML and as CHM.
    PublishCommands* publishing;
    // Starts the help compiler without waiting for it; a failed start says
    // nothing. QProcess::startDetached unless a test puts its own here.
    std::function<void(const CompilerLaunch&)> startCompiler;
    // Starts the help viewer in the same way (a failed start is reported);
    // a test puts its own here.
    std::function<void(const CompilerLaunch&)> startViewer;
    // Shows a compiled help file at a Topic ID in the program's own viewer
    // (the main window puts it here); unset, Wine's viewer is started.
    std::function<void(const QString& helpFile, const QString& topicId)> showHelpFile;
    // Whether wine is on the PATH; WineAvailable unless a test puts its own here.
    std::function<bool()> wineAvailable;
    // Gives a project that was never saved its name (Save As) before a build
    // or a publishing, so that the help files are written beside it; false
    // when the user cancelled or the save failed, which stops the command.
    std::function<bool()> nameProject;

public slots:
    void compileProject();
    void buildSourcesOnly();
    void buildProjectFilesOnly();
    void buildTopicFileOnly();
    void showCompileLog();
    void setHelpCompiler();
    void viewHelpFile();
    void viewHelpFileInWine();
    void showTopicList();

private:
    // False when the project has no name and did not get one.
    bool projectNamed();
    // Each step reports its own failure and returns false.
    bool buildTopicFile();
    bool buildProjectFiles();
    bool chooseCompiler();
    void compileBuiltIn();
    bool hasViewer() const;
    bool helpFileExists(const QString& helpFile);
    QString currentTopicId() const;
    // Opens `helpFile` at the current topic.
    void startHelpViewer(const QString& helpFile);

    Project& project_;
    Prompter& prompter_;
    TopicNavigator& navigator_;
    StatusBar& statusBar_;
    QWidget* window_;
};

} // namespace ts
