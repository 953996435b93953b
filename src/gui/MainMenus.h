#pragma once
// The menu bar of the main window: File (with Reopen), Edit, Search, Build,
// Tools and Help, their items and shortcuts. The window wires the items to
// the parts that carry out the commands.

#include "settings/RecentFiles.h"

#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace ts {

struct MainMenus {
    explicit MainMenus(QMenuBar* bar);
    // The Edit, Build and Tools menus, Search, Save and Save As.
    void setEditingEnabled(bool enabled);

    QMenu *fileMenu, *reopenMenu, *editMenu, *buildMenu, *toolsMenu, *helpMenu;
    QAction *newAction, *openAction, *openHelpFileAction, *saveAction, *saveAsAction, *importHelpAction, *exitAction;
    std::array<QAction*, RecentFiles::Count> reopenActions;
    QAction *undoAction, *redoAction, *cutAction, *copyAction, *pasteAction, *selectAllAction, *addTopicAction, *deleteTopicAction,
        *topicPropertiesAction, *editWindowsAction;
    QAction* searchAction;
    QAction *compileAction, *showLogAction, *buildAllAction, *projectFilesAction, *topicFileAction,
        *setCompilerAction, *viewHelpAction, *viewInWineAction, *publishHtmlAction, *publishChmAction;
    QAction *contentsEditorAction, *topicListAction, *spellCheckAction, *addBitmapAction, *addTransparentBitmapAction,
        *addRelatedTopicsButtonAction, *addTopicLinkAction, *addWebLinkAction;
    QAction *helpContentsAction, *aboutAction;

};

} // namespace ts
