#pragma once
// The project file commands New, Open, Save and Save As, Import Help File,
// and the list of recent projects behind the Reopen menu.

#include "settings/RecentFiles.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <optional>

class QAction;
class QWidget;

namespace ts {

class LogViewer;
class Project;
class Prompter;
class StatusBar;
struct SaveAsPlan;
class TopicCommands;
class TopicEditorPane;
class TopicNavigator;

class ProjectCommands : public QObject {
    Q_OBJECT
public:
    // How a save command ended. A command that asked for the save goes on
    // only when it Saved.
    enum class SaveResult { Saved, Cancelled, Failed };

    // `reopenActions` are the Reopen menu's items, captioned from the list.
    ProjectCommands(Project& project, Prompter& prompter, const QString& programFolder, TopicNavigator& navigator,
                    TopicEditorPane& editors, TopicCommands& topics, StatusBar& statusBar,
                    const std::array<QAction*, RecentFiles::Count>& reopenActions, QWidget* window);

    const RecentFiles& recentFiles() const { return recent_; }
    // The project file the next Open opens without asking for one: the
    // program's argument, a Reopen item, an imported project. Open takes it
    // and leaves it empty.
    void setPendingOpenPath(const QString& path) { pendingOpenPath_ = path; }
    const QString& pendingOpenPath() const { return pendingOpenPath_; }
    // The import log's viewer, made by the first import.
    LogViewer* importLogViewer = nullptr;

    // Whether the project holds work that is not in its file: the window's
    // modified mark (set by every change, cleared by Open and a successful
    // save) or contents a rename rewrote, which wait for the Save.
    bool hasUnsavedChanges() const;
    void setRecentFiles(const RecentFiles& recent);

public slots:
    void newProject();
    void openProject();
    SaveResult saveProject();
    SaveResult saveProjectAs();
    void openRecentProject(int item);
    // Asks for a help file and the new project's name, imports the help
    // file, opens the project and shows the import log.
    void importHelpFile();

signals:
    // A project was opened, or New ended without a first topic.
    void projectOpened();
    void projectAbandoned();
    // The project now goes by the file `path` (New, Open, Save As).
    void projectNamed(const QString& path);

private:
    // The question of New and Open: false when the save the user asked for
    // failed or was cancelled, which stops the command so that nothing is lost.
    bool askSaveBeforeClosing(const QString& text, const QString& caption);
    void clearProject();
    // The project is as its file holds it.
    void markSaved();
    bool writeProjectFile(const QString& path);
    // Save As in steps: the new name, asked and confirmed (nothing when
    // cancelled); the questions about the companion files (false when
    // cancelled), which put the target contents files the renamed project
    // goes on without into `setAside`; the companions copied and the
    // project written under the new name (false, and the old name kept,
    // when that failed).
    std::optional<QString> askSaveAsPath();
    bool askAboutCompanions(const SaveAsPlan& plan, QStringList& setAside);
    bool writeUnderNewName(const QString& path, const SaveAsPlan& plan);
    // An Ok/Cancel question of Save As; true for Ok.
    bool confirmSaveAs(const QString& text);
    void refreshRecentMenu();
    void rememberRecentProject();
    void setProjectPanel(const QString& path);

    Project& project_;
    Prompter& prompter_;
    QString programFolder_;
    TopicNavigator& navigator_;
    TopicEditorPane& editors_;
    TopicCommands& topics_;
    StatusBar& statusBar_;
    std::array<QAction*, RecentFiles::Count> reopenActions_;
    QWidget* window_;
    RecentFiles recent_;
    QString lastSavedPath_;
    QString pendingOpenPath_;
};

} // namespace ts
