#pragma once
// Every command of the main window as one QAction: its text, shortcut and
// icon are set here once. The menus and the toolbar buttons show these
// actions (a button takes the action's icon and enabled state, and its
// tooltip is the menu text without the access key and "..."); the window
// connects each action's triggered() to the part that carries it out.
//
// The commands that need a project are switched on and off together by
// setEditingEnabled(): Save, Save As, Search and the items of the Edit,
// Build and Tools menus, with the menus themselves. Show Last Compile Log
// and the extended topic list are the exceptions: they have something to
// show without a project, so their toolbar buttons stay enabled, and their
// menu items are out of reach only while their menus are disabled.

#include "settings/RecentFiles.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include <array>

class QAction;
class QKeyEvent;

namespace ts {

class MainActions : public QObject {
    Q_OBJECT
public:
    explicit MainActions(QObject* parent = nullptr);

    // Enables or disables the commands that need a project.
    void setEditingEnabled(bool enabled);
    // Switches `action` (a menu's own action, a menu bar entry) with the
    // editing commands.
    void enableWithEditing(QAction* action);
    // Whether `key` is the shortcut of a command that comes before what the
    // focused control would do with the key: the clipboard commands, Open,
    // Save, Add and Delete Topic, and Compile.
    bool shortcutComesFirst(const QKeyEvent& key) const;

    // File.
    QAction *newProject, *openProject, *openHelpFile, *saveProject, *saveProjectAs, *importHelpFile, *exit;
    // The Reopen menu's places; ProjectCommands captions and shows them.
    std::array<QAction*, RecentFiles::Count> reopen;
    // Edit.
    QAction *undo, *redo, *cut, *copy, *paste, *selectAll;
    QAction *addTopic, *deleteTopic, *topicProperties, *editWindows;
    // Search, on the menu bar itself.
    QAction* search;
    // Build.
    QAction *compile, *showLog, *viewHelp, *viewInWine, *buildAll, *projectFiles, *topicFile;
    QAction *publishHtml, *publishChm, *setCompiler;
    // Tools.
    QAction *contentsEditor, *extendedTopicList, *spellCheck;
    QAction *addBitmap, *addTransparentBitmap, *addRelatedTopicsButton, *addTopicLink, *addWebLink;
    // Help.
    QAction *helpContents, *about;
    // Toolbar only: shows or hides the topic list, checked while it is shown.
    QAction* showTopicList;

private:
    enum class Needs { Nothing, Project };

    // An action named `name` (its objectName) with the icon ":/icons/<icon>".
    QAction* make(const char* name, const QString& text, Needs needs, const QString& icon = QString(),
                  const QKeySequence& shortcut = QKeySequence());
    void makeFileActions();
    void makeEditActions();
    void makeBuildActions();
    void makeToolsActions();

    QList<QAction*> editing_;
};

} // namespace ts
