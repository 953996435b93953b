#pragma once
// The menu bar of the main window: File (with Reopen), Edit, Search, Build,
// Tools and Help, filled with the window's actions.

class QAction;
class QMenu;
class QMenuBar;

namespace ts {

class MainActions;

struct MainMenus {
    // Fills `bar`; the Edit, Build and Tools menus and Search are switched
    // with the editing commands of `actions`.
    MainMenus(QMenuBar* bar, MainActions& actions);

    QMenu *fileMenu, *reopenMenu, *editMenu, *buildMenu, *toolsMenu, *helpMenu;
    // Search on the menu bar, which triggers the Search action.
    QAction* searchEntry;
};

} // namespace ts
