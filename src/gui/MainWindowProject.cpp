// TGlavniForm: the project file commands New, Open, Save and Save As, and the
// recent-files menu.

#include "MainWindow.h"

#include "Prompter.h"
#include "MainWindowTabBar.h"
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

void TGlavniForm::setProjectPanel(const QString& path)
{
    SB->setPanelText(0, QStringLiteral("Project: ") + QFileInfo(path).fileName());
}

void TGlavniForm::showIoError(const QString& message)
{
    Prompter_.message(this, message, QStringLiteral("Topicsmith"), Prompter::Buttons::Ok, Prompter::Icon::Error);
}

// The question of New and Open: false when the save the user asked for failed,
// which stops the command so that nothing is lost.
bool TGlavniForm::askSaveBeforeClosing(const QString& text, const QString& caption)
{
    if (Project_.TopicCount() == 0)
        return true;
    const auto answer = Prompter_.message(this, text, caption, Prompter::Buttons::YesNo, Prompter::Icon::Question);
    return answer != Prompter::Answer::Yes || Save1Click() != SaveResult::Failed;
}

// Empties the window and the tables (New's steps after its question).
void TGlavniForm::clearProject()
{
    Edit1->clear();
    Label2->setText(QStringLiteral("Topic Title "));
    {
        const QSignalBlocker blockTabs(TopicTab);
        const QSignalBlocker blockList(TopicLB);
        while (TopicTab->count() > 0)
            TopicTab->removeTab(TopicTab->count() - 1);
        TopicLB->clear();
    }
    Project_.Reset();
    clearEditor(Header);
    clearEditor(TopicText);
    // The next topic lies on the fresh "main" window; show its colours.
    setEditorColor(Header, Project_.Window(0).NonScrollColor);
    setEditorColor(TopicText, Project_.Window(0).TopicColor);
}

void TGlavniForm::NewButtonClick()
{
    if (!askSaveBeforeClosing(QStringLiteral("Save This Project Before Closing?"), QStringLiteral("Close project")))
        return;
    clearProject();
    Project_.ProjectPath = Project_.UnnamedPath();
    setProjectPanel(Project_.ProjectPath);
    ATButtonClick();
    if (Project_.TopicCount() == 0) {
        // Only a dialog closed without its checks gets here: no project.
        DisableControls();
        return;
    }
    TopicTabChanging();
}

void TGlavniForm::Open1Click()
{
    QString path = Project_.PendingOpenPath;
    if (path.isEmpty()) {
        path = Prompter_.openFile(this, ProjectFilter, QStringLiteral("*.tsp"));
        if (path.isEmpty())
            return;
    }
    Project_.PendingOpenPath.clear();
    const QFileInfo info(path);
    if (!info.isFile()) {
        Prompter_.message(this, QStringLiteral("File not exists any more"), QStringLiteral("Open"),
                          Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    const QString fullPath = info.absoluteFilePath();

    // The file is read whole and checked before the open project is given up.
    const auto read = [this, &fullPath](Project& into) {
        SB->setPanelText(1, QStringLiteral("Loading project..."));
        try {
            into = ProjectFile::load(fullPath, ProgramFolder_, [this](int step) { SB->advance(step); });
        } catch (const IoError& e) {
            SB->finishActivity();
            showIoError(e.message());
            return false;
        }
        SB->finishActivity();
        if (into.TopicCount() == 0) {
            showIoError(QStringLiteral("'%1' holds no topics; a project has at least one.").arg(fullPath));
            return false;
        }
        return true;
    };
    Project loaded(ProgramFolder_);
    if (!read(loaded))
        return;

    LastSavedPath_.clear();
    if (!askSaveBeforeClosing(QStringLiteral("Save This Project Before Closing?"), QStringLiteral("Close project")))
        return;
    // Saving the open project may just have written this very file.
    if (!LastSavedPath_.isEmpty() && QFileInfo(LastSavedPath_) == QFileInfo(fullPath) && !read(loaded))
        return;
    clearProject();

    setProjectPanel(fullPath);
    const QString compilerPath = Project_.CompilerPath;
    Project_ = std::move(loaded);
    Project_.ProjectPath = fullPath;
    Project_.CompilerPath = compilerPath;
    SB->setPanelText(1, QStringLiteral("Loading project..."));

    {
        const QSignalBlocker block(TopicTab);
        QStringList captions;
        captions.reserve(Project_.TopicCount());
        for (int i = 0; i < Project_.TopicCount(); ++i)
            captions.append(Project_.Topic(i).TopicID.text());
        TopicTab->addTabs(captions);
    }
    selectTab(0);
    copyTabsToList();
    TopicTabChange();
    EnableControls();
    TopicText->setFocus();
    SB->finishActivity();
    ArrangeReopen();
    ChangeWin->RefillWindowList(Project_.Topic(CurrentTopic()).WindowIndex);
}

TGlavniForm::SaveResult TGlavniForm::Save1Click()
{
    if (Project_.TopicCount() == 0)
        return SaveResult::Cancelled;
    if (Project_.IsUnnamed())
        return SaveAs1Click();
    TopicTabChanging();
    SB->setPanelText(1, QStringLiteral("Saving project..."));
    const bool saved = writeProjectFile(Project_.ProjectPath);
    SB->finishActivity();
    return saved ? SaveResult::Saved : SaveResult::Failed;
}

TGlavniForm::SaveResult TGlavniForm::SaveAs1Click()
{
    if (Project_.TopicCount() == 0)
        return SaveResult::Cancelled;
    TopicTabChanging();
    QString path = Prompter_.saveFile(this, ProjectFilter, Project_.IsUnnamed() ? QString() : Project_.ProjectPath,
                                      QStringLiteral("tsp"));
    if (path.isEmpty()) {
        SB->finishActivity();
        return SaveResult::Cancelled;
    }
    path = QFileInfo(path).absoluteFilePath();
    if (QFileInfo::exists(path)) {
        const auto answer =
            Prompter_.message(this, path + QStringLiteral(" already exists\rReplace existing file?"),
                              QStringLiteral("Save As"), Prompter::Buttons::OkCancel, Prompter::Icon::Question);
        if (answer != Prompter::Answer::Ok)
            return SaveResult::Cancelled;
    }
    setProjectPanel(path);

    const QString oldBase = Project_.ProjectBase();
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
            SB->finishActivity();
            showIoError(e.message());
            return SaveResult::Failed;
        }
        // The unnamed project's contents now live under the new name.
        if (QFileInfo(Project_.ProjectPath).fileName() == QStringLiteral("NoName.tsp") && QFile::exists(oldContents))
            QFile::remove(oldContents);
    }

    Project_.ProjectPath = path;
    SB->setPanelText(1, QStringLiteral("Saving project..."));
    const bool saved = writeProjectFile(path);
    if (saved)
        ArrangeReopen();
    SB->finishActivity();
    return saved ? SaveResult::Saved : SaveResult::Failed;
}

bool TGlavniForm::writeProjectFile(const QString& path)
{
    try {
        ProjectFile::save(Project_, path, [this](int step) { SB->advance(step); });
    } catch (const IoError& e) {
        SB->finishActivity();
        showIoError(e.message());
        return false;
    }
    LastSavedPath_ = path;
    return true;
}

void TGlavniForm::refreshRecentMenu()
{
    for (int k = 0; k < RecentFiles::Count; ++k) {
        // The place's own "&k" marks the access key; an "&" inside the path
        // is shown as it stands.
        const QString caption = Recent_.caption(k);
        QString shown = caption.left(3) + QString(caption.mid(3)).replace(QLatin1Char('&'), QStringLiteral("&&"));
        ReopenItems[size_t(k)]->setText(shown);
    }
}

void TGlavniForm::ArrangeReopen()
{
    Recent_.ArrangeReopen(Project_.ProjectPath);
    refreshRecentMenu();
}

void TGlavniForm::N11Click(int item)
{
    const QString path = Recent_.path(item);
    if (path.isEmpty() || path == QStringLiteral("NoName")) {
        Project_.PendingOpenPath.clear();
        return;
    }
    Project_.PendingOpenPath = path;
    Open1Click();
}

} // namespace ts
