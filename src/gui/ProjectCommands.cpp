#include "ProjectCommands.h"

#include "LogViewer.h"
#include "Prompter.h"
#include "StatusBar.h"
#include "TopicCommands.h"
#include "TopicEditorPane.h"
#include "TopicNavigator.h"
#include "contents/ContentsFile.h"
#include "helpdoc/HelpImporter.h"
#include "model/IoError.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "model/SaveAsCompanions.h"
#include "model/WholeFile.h"

#include <QAction>
#include <QLabel>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QStringList>

namespace ts {

namespace {

const QString ProjectFilter = QStringLiteral("Topicsmith Project (*.tsp)|*.TSP");

QString companionKind(const QString& extension)
{
    return extension == QStringLiteral(".tsc") ? QStringLiteral("contents file") : QStringLiteral("CNT file");
}

// `path`, or `path` with a number added when that is taken.
QString freeName(const QString& path)
{
    QString name = path;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = path + QString::number(n);
    return name;
}

} // namespace

ProjectCommands::ProjectCommands(Project& project, Prompter& prompter, const QString& programFolder,
                                 TopicNavigator& navigator, TopicEditorPane& editors, TopicCommands& topics,
                                 StatusBar& statusBar, const std::array<QAction*, RecentFiles::Count>& reopenActions,
                                 QWidget* window)
    : QObject(window), project_(project), prompter_(prompter), programFolder_(programFolder), navigator_(navigator),
      editors_(editors), topics_(topics), statusBar_(statusBar), reopenActions_(reopenActions), window_(window)
{
    setObjectName(QStringLiteral("projectCommands"));
    refreshRecentMenu();
}

void ProjectCommands::setRecentFiles(const RecentFiles& recent)
{
    recent_ = recent;
    refreshRecentMenu();
}

void ProjectCommands::setProjectPanel(const QString& path)
{
    statusBar_.setPanelText(0, QStringLiteral("Project: ") + QFileInfo(path).fileName());
    // A compile result belongs to the project it was made from.
    statusBar_.setPanelText(StatusBar::ResultPanel, QString());
    emit projectNamed(path);
}


bool ProjectCommands::hasUnsavedChanges() const
{
    return project_.TopicCount() > 0 && (window_->isWindowModified() || project_.PendingContents.has_value());
}

void ProjectCommands::markSaved()
{
    window_->setWindowModified(false);
}

// The question of New and Open: false when the user pressed Escape or the
// save they asked for failed or was cancelled, which stops the command so
// that nothing is lost. A project without unsaved changes is not asked about.
bool ProjectCommands::askSaveBeforeClosing(const QString& text, const QString& caption)
{
    if (!hasUnsavedChanges())
        return true;
    const auto answer =
        prompter_.message(window_, text, caption, Prompter::Buttons::YesNoOrKeep, Prompter::Icon::Question);
    if (answer == Prompter::Answer::Cancel)
        return false; // Escape: the command does not go on
    return answer != Prompter::Answer::Yes || saveProject() == SaveResult::Saved;
}

// Empties the window and the tables (New's steps after its question).
void ProjectCommands::clearProject()
{
    navigator_.clear();
    project_.reset();
    markSaved();
    // The next topic lies on the fresh "main" window; show its colours.
    editors_.clear(project_.window(0));
}

void ProjectCommands::newProject()
{
    if (!askSaveBeforeClosing(QStringLiteral("Save This Project Before Closing?"), QStringLiteral("Close project")))
        return;
    // Cancelling the first topic's dialog cancels New: the project open
    // before comes back as it was, unsaved changes included.
    navigator_.storeCurrentTopic();
    Project previous = project_;
    const int previousTopic = navigator_.currentTopic();
    const bool previousChanged = window_->isWindowModified();

    clearProject();
    project_.ProjectPath = project_.unnamedPath();
    setProjectPanel(project_.ProjectPath);
    topics_.addTopic();
    if (project_.TopicCount() > 0) {
        navigator_.storeCurrentTopic();
        return;
    }
    if (previous.TopicCount() == 0) {
        emit projectAbandoned();
        return;
    }
    project_ = std::move(previous);
    setProjectPanel(project_.ProjectPath);
    navigator_.showProject();
    navigator_.goToTopic(previousTopic);
    topics_.refillWindows();
    window_->setWindowModified(previousChanged);
}

void ProjectCommands::openProject()
{
    QString path = pendingOpenPath_;
    if (path.isEmpty()) {
        path = prompter_.openFile(window_, ProjectFilter, QStringLiteral("*.tsp"));
        if (path.isEmpty())
            return;
    }
    pendingOpenPath_.clear();
    if (!ProjectFile::isProjectFileName(path)) {
        // Its help sources would be named after a cut-off name.
        prompter_.error(window_, ProjectFile::notAProjectFileMessage(path));
        return;
    }
    if (const std::optional<QString> refusal = ProjectFile::notAProjectFileRefusal(path)) {
        prompter_.error(window_, *refusal);
        return;
    }
    const QString fullPath = QFileInfo(path).absoluteFilePath();

    // The file is read whole and checked before the open project is given up.
    const auto read = [this, &fullPath](Project& into) {
        statusBar_.setPanelText(1, QStringLiteral("Loading project..."));
        try {
            into = ProjectFile::load(fullPath, programFolder_, [this](int step) { statusBar_.advance(step); });
        } catch (const IoError& e) {
            statusBar_.finishActivity();
            prompter_.error(window_, e.message());
            return false;
        }
        statusBar_.finishActivity();
        if (into.TopicCount() == 0) {
            prompter_.error(window_, QStringLiteral("'%1' holds no topics; a project has at least one.").arg(fullPath));
            return false;
        }
        return true;
    };
    Project loaded(programFolder_);
    if (!read(loaded))
        return;

    lastSavedPath_.clear();
    if (!askSaveBeforeClosing(QStringLiteral("Save This Project Before Closing?"), QStringLiteral("Close project")))
        return;
    // Saving the open project may just have written this very file.
    if (!lastSavedPath_.isEmpty() && QFileInfo(lastSavedPath_) == QFileInfo(fullPath) && !read(loaded))
        return;
    clearProject();

    setProjectPanel(fullPath);
    const QString compilerPath = project_.CompilerPath;
    project_ = std::move(loaded);
    project_.ProjectPath = fullPath;
    project_.CompilerPath = compilerPath;
    statusBar_.setPanelText(1, QStringLiteral("Loading project..."));

    navigator_.showProject();
    emit projectOpened();
    editors_.focusArea(TopicEditorPane::Area::Topic);
    statusBar_.finishActivity();
    rememberRecentProject();
    topics_.refillWindows();
    markSaved();
}

ProjectCommands::SaveResult ProjectCommands::saveProject()
{
    if (project_.TopicCount() == 0)
        return SaveResult::Cancelled;
    if (project_.isUnnamed())
        return saveProjectAs();
    navigator_.storeCurrentTopic();
    statusBar_.setPanelText(1, QStringLiteral("Saving project..."));
    const bool saved = writeProjectFile(project_.ProjectPath);
    statusBar_.finishActivity();
    return saved ? SaveResult::Saved : SaveResult::Failed;
}

ProjectCommands::SaveResult ProjectCommands::saveProjectAs()
{
    if (project_.TopicCount() == 0)
        return SaveResult::Cancelled;
    navigator_.storeCurrentTopic();
    const std::optional<QString> path = askSaveAsPath();
    if (!path)
        return SaveResult::Cancelled;

    // Every question comes before anything is written, so that a Cancel
    // changes nothing.
    const SaveAsPlan plan = planSaveAsCompanions(project_, *path);
    QStringList setAside; // the target's contents file the renamed project goes on without
    if (!askAboutCompanions(plan, setAside))
        return SaveResult::Cancelled;
    // Contents whose entries were all deleted leave the renamed project
    // without any of its own: the Save deletes no file under the new name,
    // which was kept or set aside as the user answered.
    const std::optional<QByteArray> pending = project_.PendingContents;
    if (!plan.Files.empty() && pending && pending->isEmpty())
        project_.PendingContents.reset();
    if (!writeUnderNewName(*path, plan)) {
        project_.PendingContents = pending;
        return SaveResult::Failed;
    }

    for (const QString& target : setAside) {
        const QString aside = freeName(target + QStringLiteral(".old"));
        if (!QFile::rename(target, aside))
            prompter_.error(window_, QStringLiteral("Cannot rename '%1' to '%2'; it stays the contents of '%3'.")
                                         .arg(target, aside, *path));
    }
    // The unnamed project's contents now live under the new name; its CNT
    // file is kept.
    if (plan.RemoveFromAfterCopy)
        for (const CompanionFile& file : plan.Files)
            if ((file.FromExists || file.Pending) && file.Extension == QStringLiteral(".tsc"))
                QFile::remove(file.From);
    rememberRecentProject();
    statusBar_.finishActivity();
    return SaveResult::Saved;
}

bool ProjectCommands::confirmSaveAs(const QString& text)
{
    return prompter_.message(window_, text, QStringLiteral("Save As"), Prompter::Buttons::OkCancel,
                             Prompter::Icon::Question)
           == Prompter::Answer::Ok;
}

std::optional<QString> ProjectCommands::askSaveAsPath()
{
    QString path = prompter_.saveFile(window_, ProjectFilter, project_.isUnnamed() ? QString() : project_.ProjectPath,
                                      QStringLiteral("tsp"));
    if (path.isEmpty()) {
        statusBar_.finishActivity();
        return std::nullopt;
    }
    // The dialog adds the extension only to a name without any dot; the
    // companion files are named after the name without ".tsp", so a name
    // such as "Manual v1.2" gets it too.
    if (!ProjectFile::isProjectFileName(path))
        path += QStringLiteral(".tsp");
    path = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(path) && !confirmSaveAs(path + QStringLiteral(" already exists\rReplace existing file?")))
        return std::nullopt;
    return path;
}

bool ProjectCommands::askAboutCompanions(const SaveAsPlan& plan, QStringList& setAside)
{
    for (const CompanionFile& file : plan.Files) {
        if (file.askBeforeReplacing()
            && !confirmSaveAs(file.To + QStringLiteral(" already exists\rReplace it with this project's ")
                              + companionKind(file.Extension) + QStringLiteral("?")))
            return false;
        if (file.askWhetherToKeepTarget() && file.Extension == QStringLiteral(".tsc")) {
            const auto keep = prompter_.message(
                window_,
                file.To + QStringLiteral(" already exists and this project has no contents file.\r"
                                         "Keep it as the contents of the renamed project?\r"
                                         "(No leaves the renamed project without contents; the file is kept "
                                         "under another name.)"),
                QStringLiteral("Save As"), Prompter::Buttons::YesNo, Prompter::Icon::Question);
            if (keep == Prompter::Answer::No)
                setAside.append(file.To);
        }
    }
    return true;
}

bool ProjectCommands::writeUnderNewName(const QString& path, const SaveAsPlan& plan)
{
    // A failure anywhere leaves the project's name, the status bar and the
    // next Save as they were.
    const QString oldPath = project_.ProjectPath;
    const auto fail = [&](const QString& message) {
        project_.ProjectPath = oldPath;
        setProjectPanel(oldPath);
        statusBar_.finishActivity();
        if (!message.isEmpty())
            prompter_.error(window_, message);
        return false;
    };
    try {
        for (const CompanionFile& file : plan.Files)
            if (file.copies())
                copyWholeFile(file.From, file.To);
    } catch (const IoError& e) {
        return fail(e.message());
    }

    setProjectPanel(path);
    project_.ProjectPath = path;
    statusBar_.setPanelText(1, QStringLiteral("Saving project..."));
    if (!writeProjectFile(path))
        return fail(QString());
    return true;
}

bool ProjectCommands::writeProjectFile(const QString& path)
{
    try {
        ProjectFile::save(project_, path, [this](int step) { statusBar_.advance(step); });
        // The contents a rename rewrote are saved with the project.
        ContentsFile::savePending(project_);
    } catch (const IoError& e) {
        statusBar_.finishActivity();
        prompter_.error(window_, e.message());
        return false;
    }
    lastSavedPath_ = path;
    markSaved();
    return true;
}

void ProjectCommands::refreshRecentMenu()
{
    bool any = false;
    for (int k = 0; k < RecentFiles::Count; ++k) {
        // The place's own "&k" marks the access key; an "&" inside the path
        // is shown as it stands.
        const QString caption = recent_.caption(k);
        QString shown = caption.left(3) + QString(caption.mid(3)).replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = reopenActions_[size_t(k)];
        item->setText(shown);
        // An empty place ("NoName") opens nothing, so it is not offered.
        const QString path = recent_.path(k);
        const bool real = !path.isEmpty() && path != QStringLiteral("NoName");
        item->setVisible(real);
        any = any || real;
    }
    // Reopen itself is greyed while there is nothing to reopen.
    for (QObject* shownIn : reopenActions_[0]->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(shownIn))
            menu->menuAction()->setEnabled(any);
}

void ProjectCommands::rememberRecentProject()
{
    recent_.arrangeReopen(project_.ProjectPath);
    refreshRecentMenu();
}

void ProjectCommands::openRecentProject(int item)
{
    const QString path = recent_.path(item);
    if (path.isEmpty() || path == QStringLiteral("NoName")) {
        pendingOpenPath_.clear();
        return;
    }
    pendingOpenPath_ = path;
    openProject();
}

void ProjectCommands::importHelpFile()
{
    const QString helpPath =
        prompter_.openFile(window_, QStringLiteral("Help Files (*.hlp)|*.HLP"), QStringLiteral("*.hlp"));
    if (helpPath.isEmpty())
        return;
    const QFileInfo help(helpPath);
    QString path = prompter_.saveFile(window_, ProjectFilter,
                                      help.path() + QLatin1Char('/') + help.completeBaseName() + QStringLiteral(".tsp"),
                                      QStringLiteral("tsp"));
    if (path.isEmpty())
        return;
    if (!ProjectFile::isProjectFileName(path))
        path += QStringLiteral(".tsp");
    path = QFileInfo(path).absoluteFilePath();
    if (project_.TopicCount() > 0 && QFileInfo(path) == QFileInfo(project_.ProjectPath)) {
        // Its save question would write the open project over the import.
        prompter_.error(window_, QStringLiteral("'%1' is the open project; import into another project file.").arg(path));
        return;
    }
    if (QFileInfo::exists(path)
        && prompter_.message(window_, path + QStringLiteral(" already exists\rReplace existing file?"),
                             QStringLiteral("Import Help File"), Prompter::Buttons::OkCancel, Prompter::Icon::Question)
               != Prompter::Answer::Ok)
        return;

    statusBar_.setPanelText(1, QStringLiteral("Importing help file..."));
    HelpImportReport report;
    try {
        report = ts::importHelpFile(helpPath, path);
    } catch (const IoError& e) {
        statusBar_.finishActivity();
        prompter_.error(window_, e.message());
        return;
    }
    statusBar_.finishActivity();
    pendingOpenPath_ = path;
    openProject();

    if (!importLogViewer)
        importLogViewer = new LogViewer(prompter_, window_);
    importLogViewer->setWindowTitle(QStringLiteral("Import Log"));
    importLogViewer->headerLabel->setText(QStringLiteral("  Import log for: ") + path);
    importLogViewer->setText(report.logLines.join(QLatin1Char('\n')));
    importLogViewer->exec();
}

} // namespace ts
