#include "MainMenus.h"

#include "MainActions.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <initializer_list>

namespace ts {

namespace {

// A menu of `items` on `bar`; a null item stands for a separator.
QMenu* addMenu(QMenuBar* bar, const char* name, const QString& title, std::initializer_list<QAction*> items)
{
    QMenu* menu = bar->addMenu(title);
    menu->setObjectName(QString::fromLatin1(name));
    for (QAction* item : items) {
        if (item)
            menu->addAction(item);
        else
            menu->addSeparator();
    }
    return menu;
}

} // namespace

MainMenus::MainMenus(QMenuBar* bar, MainActions& a)
{
    fileMenu = addMenu(bar, "fileMenu", QStringLiteral("&File"), {a.newProject, a.openProject});
    reopenMenu = fileMenu->addMenu(QStringLiteral("&Reopen"));
    reopenMenu->setObjectName(QStringLiteral("reopenMenu"));
    for (QAction* place : a.reopen)
        reopenMenu->addAction(place);
    fileMenu->addActions({a.openHelpFile, a.saveProject, a.saveProjectAs});
    fileMenu->addSeparator();
    fileMenu->addAction(a.importHelpFile);
    fileMenu->addSeparator();
    fileMenu->addAction(a.exit);

    editMenu = addMenu(bar, "editMenu", QStringLiteral("&Edit"),
                       {a.undo, a.redo, nullptr, a.cut, a.copy, a.paste, a.selectAll, nullptr, a.addTopic,
                        a.deleteTopic, a.topicProperties, a.editWindows});
    // The menu bar shows an item's icon in place of its text, so Search
    // stands there as an entry of its own that runs the command.
    searchEntry = bar->addAction(a.search->text());
    searchEntry->setObjectName(QStringLiteral("searchMenuBarEntry"));
    QObject::connect(searchEntry, &QAction::triggered, a.search, &QAction::trigger);
    buildMenu = addMenu(bar, "buildMenu", QStringLiteral("&Build"),
                        {a.compile, a.showLog, a.viewHelp, a.viewInWine, nullptr, a.buildAll, a.projectFiles,
                         a.topicFile, nullptr, a.publishHtml, a.publishChm, nullptr, a.setCompiler});
    toolsMenu = addMenu(bar, "toolsMenu", QStringLiteral("&Tools"),
                        {a.contentsEditor, nullptr, a.extendedTopicList, nullptr, a.spellCheck, nullptr, a.addBitmap,
                         a.addTransparentBitmap, a.addRelatedTopicsButton, a.addTopicLink, a.addWebLink});
    helpMenu = addMenu(bar, "helpMenu", QStringLiteral("&Help"), {a.helpContents, nullptr, a.about});

    // A disabled menu cannot be opened.
    for (QMenu* menu : {editMenu, buildMenu, toolsMenu})
        a.enableWithEditing(menu->menuAction());
    a.enableWithEditing(searchEntry);
}

} // namespace ts
