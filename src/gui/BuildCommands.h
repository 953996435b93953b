#pragma once
// The Build menu: the RTF topic file, the project and contents files, the
// help compiler; the compile log viewer and the extended topic list, which
// borrows the log viewer.

#include "helpsource/CompilerCommand.h"

#include <QObject>

#include <functional>

class QWidget;

namespace ts {

class LogViewer;
class Project;
class Prompter;
class StatusBar;
class TopicNavigator;

class BuildCommands : public QObject {
    Q_OBJECT
public:
    BuildCommands(Project& project, Prompter& prompter, TopicNavigator& navigator, StatusBar& statusBar,
                  QWidget* window);

    LogViewer* logViewer;
    // Starts the help compiler without waiting for it; a failed start says
    // nothing. QProcess::startDetached unless a test puts its own here.
    std::function<void(const CompilerLaunch&)> startCompiler;

public slots:
    void compileProject();
    void buildSourcesOnly();
    void buildProjectFilesOnly();
    void buildTopicFileOnly();
    void showCompileLog();
    void setHelpCompiler();
    void showTopicList();

private:
    // Each step reports its own failure and returns false.
    bool buildTopicFile();
    bool buildProjectFiles();
    bool chooseCompiler();

    Project& project_;
    Prompter& prompter_;
    TopicNavigator& navigator_;
    StatusBar& statusBar_;
    QWidget* window_;
};

} // namespace ts
