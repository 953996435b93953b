#include "MainActions.h"

#include "helpsource/CompilerCommand.h"

#include <QAction>
#include <QIcon>
#include <QKeyEvent>

namespace ts {

MainActions::MainActions(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("mainActions"));
    makeFileActions();
    makeEditActions();
    makeBuildActions();
    makeToolsActions();
    helpContents = make("helpContentsAction", QStringLiteral("&Contents"), Needs::Nothing);
    about = make("aboutAction", QStringLiteral("&About..."), Needs::Nothing);
    showTopicList = make("showTopicListAction", QStringLiteral("Show/Hide Topic ID List"), Needs::Nothing,
                         QStringLiteral("panel-list"));
    showTopicList->setCheckable(true);
    showTopicList->setChecked(true);
}

QAction* MainActions::make(const char* name, const QString& text, Needs needs, const QString& icon,
                           const QKeySequence& shortcut)
{
    auto* a = new QAction(text, this);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    if (!icon.isEmpty()) {
        a->setIcon(QIcon(QStringLiteral(":/icons/") + icon));
        // The menus show their items as text only.
        a->setIconVisibleInMenu(false);
    }
    if (needs == Needs::Project)
        editing_.append(a);
    return a;
}

void MainActions::makeFileActions()
{
    newProject = make("newAction", QStringLiteral("&New"), Needs::Nothing, QStringLiteral("new"));
    openProject = make("openAction", QStringLiteral("&Open"), Needs::Nothing, QStringLiteral("open"),
                       QKeySequence(Qt::CTRL | Qt::Key_O));
    static const char* const reopenNames[RecentFiles::Count] = {"reopenAction1", "reopenAction2", "reopenAction3",
                                                                "reopenAction4", "reopenAction5"};
    for (int k = 0; k < RecentFiles::Count; ++k)
        reopen[size_t(k)] = make(reopenNames[k], RecentFiles::emptyCaption(k), Needs::Nothing);
    openHelpFile = make("openHelpFileAction", QStringLiteral("Open &Help File..."), Needs::Nothing);
    saveProject = make("saveAction", QStringLiteral("&Save"), Needs::Project, QStringLiteral("save"),
                       QKeySequence(Qt::CTRL | Qt::Key_S));
    saveProjectAs = make("saveAsAction", QStringLiteral("Save &As..."), Needs::Project, QString(),
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    importHelpFile = make("importHelpAction", QStringLiteral("&Import Help File..."), Needs::Nothing);
    exit = make("exitAction", QStringLiteral("E&xit"), Needs::Nothing);
}

void MainActions::makeEditActions()
{
    // Access keys the Edit menu's other items leave free: "C&ut" keeps its u.
    undo = make("undoAction", QStringLiteral("U&ndo"), Needs::Project, QString(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo = make("redoAction", QStringLiteral("&Redo"), Needs::Project);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    cut = make("cutAction", QStringLiteral("C&ut"), Needs::Project, QStringLiteral("cut"),
               QKeySequence(Qt::CTRL | Qt::Key_X));
    copy = make("copyAction", QStringLiteral("&Copy"), Needs::Project, QStringLiteral("copy"),
                QKeySequence(Qt::CTRL | Qt::Key_C));
    paste = make("pasteAction", QStringLiteral("&Paste"), Needs::Project, QStringLiteral("paste"),
                 QKeySequence(Qt::CTRL | Qt::Key_V));
    selectAll = make("selectAllAction", QStringLiteral("Select &All"), Needs::Project, QString(),
                     QKeySequence(Qt::CTRL | Qt::Key_A));
    addTopic = make("addTopicAction", QStringLiteral("&Add Topic..."), Needs::Project, QStringLiteral("page-plus"),
                    QKeySequence(Qt::CTRL | Qt::Key_Insert));
    deleteTopic = make("deleteTopicAction", QStringLiteral("&Delete Topic"), Needs::Project,
                       QStringLiteral("page-cross"), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    topicProperties = make("topicPropertiesAction", QStringLiteral("Change &Topic Properties..."), Needs::Project,
                           QStringLiteral("page-id-pencil"));
    editWindows = make("editWindowsAction", QStringLiteral("Edit &Windows..."), Needs::Project,
                       QStringLiteral("window-areas"));
    search = make("searchAction", QStringLiteral("&Search..."), Needs::Project, QStringLiteral("magnifier"));
}

void MainActions::makeBuildActions()
{
    compile = make("compileAction", QStringLiteral("Build All, &Compile and show Help"), Needs::Project,
                   QStringLiteral("play-arrow"), QKeySequence(Qt::Key_F9));
    showLog = make("showLogAction", QStringLiteral("Show Last Compile &Log"), Needs::Nothing,
                   QStringLiteral("page-lines"));
    viewHelp = make("viewHelpAction", QStringLiteral("&View Help File"), Needs::Project);
    viewInWine = make("viewInWineAction", QStringLiteral("View in &Wine's Viewer"), Needs::Project);
    // Offered only where Wine is installed.
    viewInWine->setVisible(wineAvailable());
    buildAll = make("buildAllAction", QStringLiteral("&Build All Without Compiling"), Needs::Project,
                    QStringLiteral("page-stack"));
    projectFiles = make("projectFilesAction", QStringLiteral("&Project and Contents Files Only"), Needs::Project,
                        QStringLiteral("page-letter-p"));
    topicFile = make("topicFileAction", QStringLiteral("&RTF File Only"), Needs::Project,
                     QStringLiteral("page-letter-r"));
    publishHtml = make("publishHtmlAction", QStringLiteral("P&ublish as HTML..."), Needs::Project);
    publishChm = make("publishChmAction", QStringLiteral("Publi&sh as CHM..."), Needs::Project);
    setCompiler = make("setCompilerAction", QStringLiteral("Set &Help Compiler..."), Needs::Project);
}

void MainActions::makeToolsActions()
{
    contentsEditor = make("contentsEditorAction", QStringLiteral("&Contents editor..."), Needs::Project,
                          QStringLiteral("tree-diagram"));
    extendedTopicList = make("topicListAction", QStringLiteral("Show e&xtended Topic List..."), Needs::Nothing,
                             QStringLiteral("bulleted-list"));
    spellCheck = make("spellCheckAction", QStringLiteral("&Spell Check"), Needs::Project, QStringLiteral("abc-check"));
    addBitmap = make("addBitmapAction", QStringLiteral("Add &Bitmap..."), Needs::Project, QStringLiteral("picture"));
    addTransparentBitmap = make("addTransparentBitmapAction", QStringLiteral("Add &Transparent Bitmap..."),
                                Needs::Project, QStringLiteral("picture-transparent"));
    addRelatedTopicsButton = make("addRelatedTopicsButtonAction", QStringLiteral("Add &Related Topics button..."),
                                  Needs::Project, QStringLiteral("button-arrows"));
    addTopicLink = make("addTopicLinkAction", QStringLiteral("Add &Link to Another Topic..."), Needs::Project,
                        QStringLiteral("curved-arrow"));
    addWebLink = make("addWebLinkAction", QStringLiteral("Add &Internet Site Link..."), Needs::Project,
                      QStringLiteral("globe"));
}

void MainActions::enableWithEditing(QAction* action)
{
    editing_.append(action);
}

void MainActions::setEditingEnabled(bool enabled)
{
    // A disabled action's shortcut does not fire either.
    for (QAction* a : std::as_const(editing_))
        a->setEnabled(enabled);
}

bool MainActions::shortcutComesFirst(const QKeyEvent& key) const
{
    // Ins and Del of the keypad count as well.
    const QKeyCombination combo = key.keyCombination();
    const QKeySequence pressed(QKeyCombination(combo.keyboardModifiers() & ~Qt::KeypadModifier, combo.key()));
    for (const QAction* a : {cut, copy, paste, openProject, saveProject, addTopic, deleteTopic, compile})
        if (a->shortcut() == pressed)
            return true;
    return false;
}

} // namespace ts
