// MainWindow: the project file commands New, Open, Save and Save As, and the
// recent-files menu.

#include "MainWindow.h"

#include "Prompter.h"
#include "TopicTabBar.h"
#include "StatusBar.h"
#include "WindowEditorDialog.h"
#include "model/IoError.h"
#include "model/ProjectFile.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTextEdit>

namespace ts {

namespace {

const QString ProjectFilter = QStringLiteral("Topicsmith Project (*.tsp)|*.TSP");

// Copies `from` over `to`; throws IoError naming both files.
void copyReplacing(const QString& from, const QString& to)
{
    if (QFile::exists(to) && !QFile::remove(to))
        throw IoError(QStringLiteral("Cannot replace '%1'").arg(to));
    QFile source(from);
    if (!source.copy(to))
        throw IoError(QStringLiteral("Cannot copy '%1' to '%2': %3").arg(from, to, source.errorString()));
}

} // namespace

void MainWindow::setProjectPanel(const QString& path)
{
    statusBar->setPanelText(0, QStringLiteral("Project: ") + QFileInfo(path).fileName());
}

void MainWindow::showIoError(const QString& message)
{
    prompter_.message(this, message, QStringLiteral("Topicsmith"), Prompter::Buttons::Ok, Prompter::Icon::Error);
}

// The question of New and Open: false when the save the user asked for failed,
// which stops the command so that nothing is lost.
bool MainWindow::askSaveBeforeClosing(const QString& text, const QString& caption)
{
    if (project_.TopicCount() == 0)
        return true;
    const auto answer = prompter_.message(this, text, caption, Prompter::Buttons::YesNo, Prompter::Icon::Question);
    return answer != Prompter::Answer::Yes || saveProject() != SaveResult::Failed;
}

// Empties the window and the tables (New's steps after its question).
void MainWindow::clearProject()
{
    keywordsEdit->clear();
    topicTitleLabel->setText(QStringLiteral("Topic Title "));
    {
        const QSignalBlocker blockTabs(topicTabs);
        const QSignalBlocker blockList(topicList);
        while (topicTabs->count() > 0)
            topicTabs->removeTab(topicTabs->count() - 1);
        topicList->clear();
    }
    project_.Reset();
    clearEditor(headerEditor);
    clearEditor(topicEditor);
    // The next topic lies on the fresh "main" window; show its colours.
    setEditorColor(headerEditor, project_.Window(0).NonScrollColor);
    setEditorColor(topicEditor, project_.Window(0).TopicColor);
}

void MainWindow::newProject()
{
    if (!askSaveBeforeClosing(QStringLiteral("Save This Project Before Closing?"), QStringLiteral("Close project")))
        return;
    clearProject();
    project_.ProjectPath = project_.UnnamedPath();
    setProjectPanel(project_.ProjectPath);
    addTopic();
    if (project_.TopicCount() == 0) {
        // Only a dialog closed without its checks gets here: no project.
        disableControls();
        return;
    }
    storeCurrentTopic();
}

void MainWindow::openProject()
{
    QString path = project_.PendingOpenPath;
    if (path.isEmpty()) {
        path = prompter_.openFile(this, ProjectFilter, QStringLiteral("*.tsp"));
        if (path.isEmpty())
            return;
    }
    project_.PendingOpenPath.clear();
    const QFileInfo info(path);
    if (!info.isFile()) {
        prompter_.message(this, QStringLiteral("File not exists any more"), QStringLiteral("Open"),
                          Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    const QString fullPath = info.absoluteFilePath();

    // The file is read whole and checked before the open project is given up.
    const auto read = [this, &fullPath](Project& into) {
        statusBar->setPanelText(1, QStringLiteral("Loading project..."));
        try {
            into = ProjectFile::load(fullPath, programFolder_, [this](int step) { statusBar->advance(step); });
        } catch (const IoError& e) {
            statusBar->finishActivity();
            showIoError(e.message());
            return false;
        }
        statusBar->finishActivity();
        if (into.TopicCount() == 0) {
            showIoError(QStringLiteral("'%1' holds no topics; a project has at least one.").arg(fullPath));
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
    statusBar->setPanelText(1, QStringLiteral("Loading project..."));

    {
        const QSignalBlocker block(topicTabs);
        QStringList captions;
        captions.reserve(project_.TopicCount());
        for (int i = 0; i < project_.TopicCount(); ++i)
            captions.append(project_.Topic(i).TopicID.text());
        topicTabs->addTabs(captions);
    }
    selectTab(0);
    copyTabsToList();
    loadCurrentTopic();
    enableControls();
    topicEditor->setFocus();
    statusBar->finishActivity();
    rememberRecentProject();
    windowEditor->refillWindowList(project_.Topic(currentTopic()).WindowIndex);
}

MainWindow::SaveResult MainWindow::saveProject()
{
    if (project_.TopicCount() == 0)
        return SaveResult::Cancelled;
    if (project_.IsUnnamed())
        return saveProjectAs();
    storeCurrentTopic();
    statusBar->setPanelText(1, QStringLiteral("Saving project..."));
    const bool saved = writeProjectFile(project_.ProjectPath);
    statusBar->finishActivity();
    return saved ? SaveResult::Saved : SaveResult::Failed;
}

MainWindow::SaveResult MainWindow::saveProjectAs()
{
    if (project_.TopicCount() == 0)
        return SaveResult::Cancelled;
    storeCurrentTopic();
    QString path = prompter_.saveFile(this, ProjectFilter, project_.IsUnnamed() ? QString() : project_.ProjectPath,
                                      QStringLiteral("tsp"));
    if (path.isEmpty()) {
        statusBar->finishActivity();
        return SaveResult::Cancelled;
    }
    path = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(path)) {
        const auto answer =
            prompter_.message(this, path + QStringLiteral(" already exists\rReplace existing file?"),
                              QStringLiteral("Save As"), Prompter::Buttons::OkCancel, Prompter::Icon::Question);
        if (answer != Prompter::Answer::Ok)
            return SaveResult::Cancelled;
    }
    setProjectPanel(path);

    const QString oldBase = project_.ProjectBase();
    const QString newBase = path.left(path.size() - 4);
    if (oldBase != newBase) {
        const QString oldContents = oldBase + QStringLiteral(".tsc");
        const QString oldCnt = oldBase + QStringLiteral(".cnt");
        try {
            if (QFile::exists(oldContents))
                copyReplacing(oldContents, newBase + QStringLiteral(".tsc"));
            if (QFile::exists(oldCnt))
                copyReplacing(oldCnt, newBase + QStringLiteral(".cnt"));
        } catch (const IoError& e) {
            statusBar->finishActivity();
            showIoError(e.message());
            return SaveResult::Failed;
        }
        // The unnamed project's contents now live under the new name.
        if (QFileInfo(project_.ProjectPath).fileName() == QStringLiteral("NoName.tsp") && QFile::exists(oldContents))
            QFile::remove(oldContents);
    }

    project_.ProjectPath = path;
    statusBar->setPanelText(1, QStringLiteral("Saving project..."));
    const bool saved = writeProjectFile(path);
    if (saved)
        rememberRecentProject();
    statusBar->finishActivity();
    return saved ? SaveResult::Saved : SaveResult::Failed;
}

bool MainWindow::writeProjectFile(const QString& path)
{
    try {
        ProjectFile::save(project_, path, [this](int step) { statusBar->advance(step); });
    } catch (const IoError& e) {
        statusBar->finishActivity();
        showIoError(e.message());
        return false;
    }
    lastSavedPath_ = path;
    return true;
}

void MainWindow::refreshRecentMenu()
{
    for (int k = 0; k < RecentFiles::Count; ++k) {
        // The place's own "&k" marks the access key; an "&" inside the path
        // is shown as it stands.
        const QString caption = recent_.caption(k);
        QString shown = caption.left(3) + QString(caption.mid(3)).replace(QLatin1Char('&'), QStringLiteral("&&"));
        reopenActions[size_t(k)]->setText(shown);
    }
}

void MainWindow::rememberRecentProject()
{
    recent_.ArrangeReopen(project_.ProjectPath);
    refreshRecentMenu();
}

void MainWindow::openRecentProject(int item)
{
    const QString path = recent_.path(item);
    if (path.isEmpty() || path == QStringLiteral("NoName")) {
        project_.PendingOpenPath.clear();
        return;
    }
    project_.PendingOpenPath = path;
    openProject();
}

} // namespace ts
