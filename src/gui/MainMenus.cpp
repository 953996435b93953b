#include "MainMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace ts {

namespace {

QAction* menuItem(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut = QKeySequence())
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

} // namespace

MainMenus::MainMenus(QMenuBar* bar)
{

    fileMenu = bar->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    newAction = menuItem(fileMenu, "newAction", QStringLiteral("&New"));
    openAction = menuItem(fileMenu, "openAction", QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    reopenMenu = fileMenu->addMenu(QStringLiteral("&Reopen"));
    reopenMenu->setObjectName(QStringLiteral("reopenMenu"));
    static const char* const reopenNames[RecentFiles::Count] = {"reopenAction1", "reopenAction2", "reopenAction3", "reopenAction4", "reopenAction5"};
    for (int k = 0; k < RecentFiles::Count; ++k)
        reopenActions[size_t(k)] = menuItem(reopenMenu, reopenNames[k], RecentFiles::emptyCaption(k));
    openHelpFileAction = menuItem(fileMenu, "openHelpFileAction", QStringLiteral("Open &Help File..."));
    saveAction = menuItem(fileMenu, "saveAction", QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAsAction = menuItem(fileMenu, "saveAsAction", QStringLiteral("Save &As..."),
                            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    fileMenu->addSeparator();
    importHelpAction = menuItem(fileMenu, "importHelpAction", QStringLiteral("&Import Help File..."));
    fileMenu->addSeparator();
    exitAction = menuItem(fileMenu, "exitAction", QStringLiteral("E&xit"));

    editMenu = bar->addMenu(QStringLiteral("&Edit"));
    editMenu->setObjectName(QStringLiteral("editMenu"));
    // Access keys the menu's other items leave free: "C&ut" keeps its u.
    undoAction = menuItem(editMenu, "undoAction", QStringLiteral("U&ndo"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    redoAction = menuItem(editMenu, "redoAction", QStringLiteral("&Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    editMenu->addSeparator();
    cutAction = menuItem(editMenu, "cutAction", QStringLiteral("C&ut"), QKeySequence(Qt::CTRL | Qt::Key_X));
    copyAction = menuItem(editMenu, "copyAction", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    pasteAction = menuItem(editMenu, "pasteAction", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    selectAllAction = menuItem(editMenu, "selectAllAction", QStringLiteral("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_A));
    editMenu->addSeparator();
    addTopicAction = menuItem(editMenu, "addTopicAction", QStringLiteral("&Add Topic..."), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    deleteTopicAction =
        menuItem(editMenu, "deleteTopicAction", QStringLiteral("&Delete Topic"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    topicPropertiesAction =
        menuItem(editMenu, "topicPropertiesAction", QStringLiteral("Change &Topic Properties..."));
    editWindowsAction = menuItem(editMenu, "editWindowsAction", QStringLiteral("Edit &Windows..."));

    searchAction = bar->addAction(QStringLiteral("&Search..."));
    searchAction->setObjectName(QStringLiteral("searchAction"));

    buildMenu = bar->addMenu(QStringLiteral("&Build"));
    buildMenu->setObjectName(QStringLiteral("buildMenu"));
    compileAction = menuItem(buildMenu, "compileAction", QStringLiteral("Build All, &Compile and show Help"),
                                    QKeySequence(Qt::Key_F9));
    showLogAction = menuItem(buildMenu, "showLogAction", QStringLiteral("Show Last Compile &Log"));
    viewHelpAction = menuItem(buildMenu, "viewHelpAction", QStringLiteral("&View Help File"));
    viewInWineAction = menuItem(buildMenu, "viewInWineAction", QStringLiteral("View in &Wine's Viewer"));
    buildMenu->addSeparator();
    buildAllAction = menuItem(buildMenu, "buildAllAction", QStringLiteral("&Build All Without Compiling"));
    projectFilesAction = menuItem(buildMenu, "projectFilesAction", QStringLiteral("&Project and Contents Files Only"));
    topicFileAction = menuItem(buildMenu, "topicFileAction", QStringLiteral("&RTF File Only"));
    buildMenu->addSeparator();
    publishHtmlAction = menuItem(buildMenu, "publishHtmlAction", QStringLiteral("P&ublish as HTML..."));
    publishChmAction = menuItem(buildMenu, "publishChmAction", QStringLiteral("Publi&sh as CHM..."));
    buildMenu->addSeparator();
    setCompilerAction = menuItem(buildMenu, "setCompilerAction", QStringLiteral("Set &Help Compiler..."));

    toolsMenu = bar->addMenu(QStringLiteral("&Tools"));
    toolsMenu->setObjectName(QStringLiteral("toolsMenu"));
    contentsEditorAction = menuItem(toolsMenu, "contentsEditorAction", QStringLiteral("&Contents editor..."));
    toolsMenu->addSeparator();
    topicListAction = menuItem(toolsMenu, "topicListAction", QStringLiteral("Show e&xtended Topic List..."));
    toolsMenu->addSeparator();
    spellCheckAction = menuItem(toolsMenu, "spellCheckAction", QStringLiteral("&Spell Check"));
    toolsMenu->addSeparator();
    addBitmapAction = menuItem(toolsMenu, "addBitmapAction", QStringLiteral("Add &Bitmap..."));
    addTransparentBitmapAction = menuItem(toolsMenu, "addTransparentBitmapAction", QStringLiteral("Add &Transparent Bitmap..."));
    addRelatedTopicsButtonAction =
        menuItem(toolsMenu, "addRelatedTopicsButtonAction", QStringLiteral("Add &Related Topics button..."));
    addTopicLinkAction = menuItem(toolsMenu, "addTopicLinkAction", QStringLiteral("Add &Link to Another Topic..."));
    addWebLinkAction = menuItem(toolsMenu, "addWebLinkAction", QStringLiteral("Add &Internet Site Link..."));

    helpMenu = bar->addMenu(QStringLiteral("&Help"));
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    helpContentsAction = menuItem(helpMenu, "helpContentsAction", QStringLiteral("&Contents"));
    helpMenu->addSeparator();
    aboutAction = menuItem(helpMenu, "aboutAction", QStringLiteral("&About..."));
}

void MainMenus::setEditingEnabled(bool enabled)
{
    // A disabled menu keeps its items' shortcuts from firing as well.
    for (QMenu* menu : {editMenu, buildMenu, toolsMenu}) {
        menu->menuAction()->setEnabled(enabled);
        for (QAction* a : menu->actions())
            a->setEnabled(enabled);
    }
    searchAction->setEnabled(enabled);
    saveAction->setEnabled(enabled);
    saveAsAction->setEnabled(enabled);
}

} // namespace ts
