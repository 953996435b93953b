// The main window at start and at exit: its layout and command surface, the
// settings file, the command-line project, the start screen.

#include "test_mainwindow_support.h"

#include "settings/IniFile.h"
#include "settings/WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

#include <tuple>

using namespace ts;
using namespace ts::testing;

namespace {

QByteArray iniText(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

} // namespace

class MainWindowStartTest : public QObject {
    Q_OBJECT

private slots:
    void toolbarButtonsShowTheMenusCommands();
    void layoutAndCommandSurface();
    void menuTreeWithAccessKeys();
    void shortcutsAndEmptyReopenPlaces();
    void disabledUntilAProjectExists();
    void startWithoutSettingsFile();
    void startWithSettingsFile();
    void windowComesBackMaximisedAndOnTheScreen();
    void commandLineProjectNeedsTspExtension_data();
    void commandLineProjectNeedsTspExtension();
    void closeAsksToSaveAndWritesSettingsInOrder();
    void exitYesWithCancelledSaveAsKeepsTheWindowOpen();
    void unwritableSettingsDoNotBlockClosing();
    void failedSaveOnExitKeepsTheWindowOpen();
    void topicListVisibilitySurvivesRestart();
    void startScreenClosesTwoSecondsAfterFirstShow();
};

void MainWindowStartTest::toolbarButtonsShowTheMenusCommands()
{
    MainWindowHarness h;
    MainWindow& f = *h.form;
    // Every toolbar button is found by its name and carries its hint and
    // icon; a command's button shows the menu's action, and its hint is the
    // menu text.
    const QList<std::tuple<const char*, const char*, const char*>> hints = {
        {"newButton", "newAction", "New"}, {"openButton", "openAction", "Open"},
        {"saveButton", "saveAction", "Save"},
        {"compileButton", "compileAction", "Build All, Compile and show Help"},
        {"buildAllButton", "buildAllAction", "Build All Without Compiling"},
        {"projectFilesButton", "projectFilesAction", "Project and Contents Files Only"},
        {"topicFileButton", "topicFileAction", "RTF File Only"},
        {"contentsButton", "contentsEditorAction", "Contents editor"},
        {"logButton", "showLogAction", "Show Last Compile Log"},
        {"topicListButton", "topicListAction", "Show extended Topic List"},
        {"bitmapButton", "addBitmapAction", "Add Bitmap"},
        {"transparentBitmapButton", "addTransparentBitmapAction", "Add Transparent Bitmap"},
        {"relatedTopicsButton", "addRelatedTopicsButtonAction", "Add Related Topics button"},
        {"topicLinkButton", "addTopicLinkAction", "Add Link to Another Topic"},
        {"webLinkButton", "addWebLinkAction", "Add Internet Site Link"},
        {"cutButton", "cutAction", "Cut"}, {"copyButton", "copyAction", "Copy"},
        {"pasteButton", "pasteAction", "Paste"}, {"searchButton", "searchAction", "Search"},
        {"spellButton", "spellCheckAction", "Spell Check"},
        {"topicListToggle", "showTopicListAction", "Show/Hide Topic ID List"},
        {"topicPropertiesButton", "topicPropertiesAction", "Change Topic Properties"},
        {"addTopicButton", "addTopicAction", "Add Topic"}, {"deleteTopicButton", "deleteTopicAction", "Delete Topic"},
        {"editWindowsButton", "editWindowsAction", "Edit Windows"},
        {"boldButton", nullptr, "Bold"}, {"italicButton", nullptr, "Italic"},
        {"leftAlignButton", nullptr, "Left Alignment"}, {"centreButton", nullptr, "Center"}};
    for (const auto& [name, action, hint] : hints) {
        auto* b = f.findChild<QToolButton*>(QString::fromLatin1(name));
        QVERIFY2(b, name);
        QCOMPARE(b->toolTip(), QString::fromLatin1(hint));
        QVERIFY2(!b->icon().pixmap(18, 18).isNull(), name);
        if (action)
            QCOMPARE(b->defaultAction(), f.findChild<QAction*>(QString::fromLatin1(action)));
    }
    QToolButton* topicListToggle = f.toolBar->button(f.actions->showTopicList);
    QVERIFY(topicListToggle->isCheckable() && topicListToggle->isChecked());
    QVERIFY(f.formatting->boldButton()->isCheckable() && !f.formatting->boldButton()->isChecked());
    QVERIFY(f.formatting->italicButton()->isCheckable() && !f.formatting->italicButton()->isChecked());
    QVERIFY(f.formatting->leftAlignButton()->isChecked() && !f.formatting->centreButton()->isChecked());
    f.formatting->centreButton()->click();
    QVERIFY(!f.formatting->leftAlignButton()->isChecked() && f.formatting->centreButton()->isChecked());
}

void MainWindowStartTest::layoutAndCommandSurface()
{
    MainWindowHarness h;
    MainWindow& f = *h.form;
    QCOMPARE(f.windowTitle(), QStringLiteral("NoName.tsp[*] - Topicsmith"));

    QCOMPARE(f.formatting->sizeCombo()->currentText(), QStringLiteral("8"));
    QCOMPARE(f.formatting->sizeCombo()->count(), 17);
    QCOMPARE(f.formatting->sizeCombo()->itemText(16), QStringLiteral("70"));
    QCOMPARE(f.formatting->indentCombo()->currentText(), QStringLiteral("0"));
    QCOMPARE(f.formatting->indentCombo()->count(), 11);
    QCOMPARE(f.formatting->indentCombo()->itemText(10), QStringLiteral("50"));
    QVERIFY(f.formatting->fontCombo()->count() > 0);
    for (int i = 1; i < f.formatting->fontCombo()->count(); ++i)
        QVERIFY(f.formatting->fontCombo()->itemText(i - 1).compare(f.formatting->fontCombo()->itemText(i), Qt::CaseInsensitive) <= 0);
    QCOMPARE(f.formatting->fontCombo()->maxVisibleItems(), 16);
    QCOMPARE(f.formatting->fontCombo()->toolTip(), QStringLiteral("Font Face"));
    QCOMPARE(f.formatting->colourSwatch()->toolTip(), QStringLiteral("Font Color"));
    QCOMPARE(f.formatting->colourLabel()->text(), QStringLiteral("Color"));

    QCOMPARE(f.toolBar->height(), 61);
    QCOMPARE(f.navigator->topicListPanel->width(), 165);
    QCOMPARE(f.editors->headerEditor()->height(), 84);
    QVERIFY(!f.editors->headerEditor()->tabChangesFocus());
    QCOMPARE(f.editors->nonScrollingCaption()->text(), QStringLiteral("Non-scrolling area"));
    QCOMPARE(f.editors->topicTitleLabel()->text(), QStringLiteral("Topic Title "));
    QVERIFY(f.editors->topicTitleLabel()->font().bold());
    QVERIFY(f.editors->topicTitleLabel()->alignment() & Qt::AlignRight);
    QCOMPARE(f.editors->topicAreaCaption()->text(), QStringLiteral("Topic area"));
    QCOMPARE(f.editors->keywordsCaption()->text(), QStringLiteral("Keywords:"));
    QCOMPARE(f.editors->keywordsEdit()->maxLength(), 255);
    QCOMPARE(f.editors->topicEditor()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xDC));
    for (const QIcon* icon : {&f.listIcons.openBook, &f.listIcons.questionPage, &f.listIcons.closedBook,
                              &f.listIcons.plainPage, &f.listIcons.checkedPage})
        QVERIFY(!icon->pixmap(16, 16).isNull());

    QCOMPARE(f.statusBar->progressBar->minimum(), 0);
    QCOMPARE(f.statusBar->progressBar->maximum(), 100);
    // Over the third panel: after panel 0 (200) and panel 1 (at least 100).
    h.show(); // the panels' places come from the laid-out status bar
    const auto panel = [&](int i) { return f.statusBar->findChild<QLabel*>(QStringLiteral("SBPanel%1").arg(i)); };
    QCOMPARE(panel(0)->width(), 200);
    QVERIFY(panel(1)->width() >= 100);
    QCOMPARE(f.statusBar->progressBar->x(), panel(2)->mapTo(f.statusBar, QPoint(0, 0)).x());
    QVERIFY(f.statusBar->progressBar->x() >= 300);
    QCOMPARE(f.statusBar->progressBar->width(), 201);
}

void MainWindowStartTest::menuTreeWithAccessKeys()
{
    MainWindowHarness h;
    MainWindow& f = *h.form;
    const auto itemsOf = [](const QMenu* menu) {
        QStringList texts;
        for (const QAction* a : menu->actions())
            texts.append(a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    };
    QCOMPARE(itemsOf(f.menus->fileMenu),
             (QStringList{QStringLiteral("&New"), QStringLiteral("&Open"), QStringLiteral("&Reopen"),
                          QStringLiteral("Open &Help File..."), QStringLiteral("&Save"), QStringLiteral("Save &As..."),
                          QStringLiteral("-"), QStringLiteral("&Import Help File..."), QStringLiteral("-"),
                          QStringLiteral("E&xit")}));
    QCOMPARE(itemsOf(f.menus->editMenu),
             (QStringList{QStringLiteral("U&ndo"), QStringLiteral("&Redo"), QStringLiteral("-"), QStringLiteral("C&ut"),
                          QStringLiteral("&Copy"), QStringLiteral("&Paste"), QStringLiteral("Select &All"),
                          QStringLiteral("-"), QStringLiteral("&Add Topic..."), QStringLiteral("&Delete Topic"),
                          QStringLiteral("Change &Topic Properties..."), QStringLiteral("Edit &Windows...")}));
    QCOMPARE(itemsOf(f.menus->buildMenu),
             (QStringList{QStringLiteral("Build All, &Compile and show Help"), QStringLiteral("Show Last Compile &Log"),
                          QStringLiteral("&View Help File"), QStringLiteral("View in &Wine's Viewer"),
                          QStringLiteral("-"), QStringLiteral("&Build All Without Compiling"),
                          QStringLiteral("&Project and Contents Files Only"), QStringLiteral("&RTF File Only"),
                          QStringLiteral("-"), QStringLiteral("P&ublish as HTML..."), QStringLiteral("Publi&sh as CHM..."),
                          QStringLiteral("-"), QStringLiteral("Set &Help Compiler...")}));
    QCOMPARE(itemsOf(f.menus->toolsMenu),
             (QStringList{QStringLiteral("&Contents editor..."), QStringLiteral("-"),
                          QStringLiteral("Show e&xtended Topic List..."), QStringLiteral("-"),
                          QStringLiteral("&Spell Check"), QStringLiteral("-"), QStringLiteral("Add &Bitmap..."),
                          QStringLiteral("Add &Transparent Bitmap..."), QStringLiteral("Add &Related Topics button..."),
                          QStringLiteral("Add &Link to Another Topic..."), QStringLiteral("Add &Internet Site Link...")}));
    QCOMPARE(itemsOf(f.menus->helpMenu),
             (QStringList{QStringLiteral("&Contents"), QStringLiteral("-"), QStringLiteral("&About...")}));
    // The menus show their items as text alone, though the toolbar's share them.
    for (const QMenu* menu : {f.menus->fileMenu, f.menus->editMenu, f.menus->buildMenu, f.menus->toolsMenu})
        for (const QAction* a : menu->actions())
            QVERIFY2(a->icon().isNull() || !a->isIconVisibleInMenu(), qPrintable(a->objectName()));

    const QList<std::pair<const char*, QString>> items = {
        {"newAction", QStringLiteral("&New")},
        {"openAction", QStringLiteral("&Open")},
        {"openHelpFileAction", QStringLiteral("Open &Help File...")},
        {"saveAction", QStringLiteral("&Save")},
        {"saveAsAction", QStringLiteral("Save &As...")},
        {"exitAction", QStringLiteral("E&xit")},
        {"addTopicAction", QStringLiteral("&Add Topic...")},
        {"deleteTopicAction", QStringLiteral("&Delete Topic")},
        {"topicPropertiesAction", QStringLiteral("Change &Topic Properties...")},
        {"editWindowsAction", QStringLiteral("Edit &Windows...")},
        {"searchAction", QStringLiteral("&Search...")},
        {"compileAction", QStringLiteral("Build All, &Compile and show Help")},
        {"buildAllAction", QStringLiteral("&Build All Without Compiling")},
        {"projectFilesAction", QStringLiteral("&Project and Contents Files Only")},
        {"topicFileAction", QStringLiteral("&RTF File Only")},
        {"setCompilerAction", QStringLiteral("Set &Help Compiler...")},
        {"viewHelpAction", QStringLiteral("&View Help File")},
        {"viewInWineAction", QStringLiteral("View in &Wine's Viewer")},
        {"topicListAction", QStringLiteral("Show e&xtended Topic List...")},
        {"aboutAction", QStringLiteral("&About...")},
    };
    for (const auto& [name, caption] : items) {
        auto* a = f.findChild<QAction*>(QString::fromLatin1(name));
        QVERIFY2(a, name);
        QCOMPARE(a->text(), caption);
    }
    // The menu bar would show an icon in place of the text.
    QStringList bar;
    for (QAction* a : f.menuBar()->actions()) {
        bar.append(a->text());
        QVERIFY2(a->icon().isNull(), qPrintable(a->text()));
    }
    QCOMPARE(bar, (QStringList{QStringLiteral("&File"), QStringLiteral("&Edit"), QStringLiteral("&Search..."),
                               QStringLiteral("&Build"), QStringLiteral("&Tools"), QStringLiteral("&Help")}));
}

void MainWindowStartTest::shortcutsAndEmptyReopenPlaces()
{
    MainWindowHarness h;
    MainWindow& f = *h.form;
    QCOMPARE(f.actions->openProject->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    QCOMPARE(f.actions->saveProject->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(f.actions->saveProjectAs->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    QCOMPARE(f.actions->selectAll->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    QCOMPARE(f.actions->undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(f.actions->redo->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    QCOMPARE(f.actions->addTopic->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    QCOMPARE(f.actions->deleteTopic->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Delete));
    QCOMPARE(f.actions->compile->shortcut(), QKeySequence(Qt::Key_F9));
    // Empty places are kept in the settings but not offered.
    for (int k = 0; k < 5; ++k) {
        QCOMPARE(f.actions->reopen[size_t(k)]->text(), QStringLiteral("&%1 NoName").arg(k + 1));
        QVERIFY(!f.actions->reopen[size_t(k)]->isVisible());
    }
    QVERIFY(!f.menus->reopenMenu->menuAction()->isEnabled());
    QCOMPARE(f.actions->reopen[0]->objectName(), QStringLiteral("reopenAction1"));
    QCOMPARE(f.actions->reopen[4]->objectName(), QStringLiteral("reopenAction5"));
}

void MainWindowStartTest::disabledUntilAProjectExists()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    const MainActions& a = *f.actions;
    const auto button = [&](QAction* action) -> QWidget* { return f.toolBar->button(action); };
    const QList<QWidget*> switched = {button(a.topicProperties), button(a.deleteTopic), button(a.addTopic),
                                      button(a.editWindows), button(a.addBitmap), button(a.addTransparentBitmap),
                                      button(a.addRelatedTopicsButton), button(a.addTopicLink), button(a.addWebLink),
                                      button(a.topicFile), button(a.projectFiles), button(a.buildAll), button(a.compile),
                                      button(a.saveProject), button(a.search), button(a.cut), button(a.copy),
                                      button(a.paste), button(a.contentsEditor), button(a.spellCheck),
                                      f.editors->headerEditor(), f.editors->topicEditor(), f.editors->keywordsEdit()};
    const QList<QWidget*> always = {button(a.newProject), button(a.openProject), button(a.showTopicList),
                                    button(a.showLog), button(a.extendedTopicList), f.formatting->fontCombo(),
                                    f.formatting->sizeCombo(), f.formatting->indentCombo(), f.formatting->boldButton(),
                                    f.formatting->italicButton(), f.formatting->leftAlignButton(), f.formatting->centreButton()};
    for (QWidget* w : switched)
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    for (QWidget* w : always)
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(!f.menus->editMenu->menuAction()->isEnabled());
    QVERIFY(!f.menus->buildMenu->menuAction()->isEnabled());
    QVERIFY(!f.menus->toolsMenu->menuAction()->isEnabled());
    QVERIFY(!f.menus->searchEntry->isEnabled());
    QVERIFY(!f.actions->saveProject->isEnabled() && !f.actions->saveProjectAs->isEnabled());
    QVERIFY(f.actions->newProject->isEnabled() && f.actions->openProject->isEnabled() && f.actions->exit->isEnabled());
    QVERIFY(f.menus->helpMenu->menuAction()->isEnabled());

    // Ctrl+Ins is an Edit menu command: without a project it does nothing.
    QTest::keyClick(&f, Qt::Key_Insert, Qt::ControlModifier);
    QVERIFY(!f.topics->topicPropertiesDialog->isVisible());
    QCOMPARE(f.project().TopicCount(), 0);

    h.newProject(QStringLiteral("FIRST"));
    QCOMPARE(f.project().TopicCount(), 1);
    for (QWidget* w : switched)
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(f.menus->editMenu->menuAction()->isEnabled() && f.menus->buildMenu->menuAction()->isEnabled());
    QVERIFY(f.menus->toolsMenu->menuAction()->isEnabled() && f.menus->searchEntry->isEnabled());
    QVERIFY(f.actions->saveProject->isEnabled() && f.actions->saveProjectAs->isEnabled() && f.actions->addTopic->isEnabled());
}

void MainWindowStartTest::startWithoutSettingsFile()
{
    QTemporaryDir projects;
    const QString argument = projects.filePath(QStringLiteral("never-opened.tsp"));
    MainWindowHarness::writeProject(argument, {QStringLiteral("A")});
    MainWindowHarness h(QByteArray(), argument);
    h.show();
    MainWindow& f = *h.form;
    QVERIFY(f.toolBar->button(f.actions->showTopicList)->isChecked());
    QVERIFY(f.navigator->topicListPanel->isVisible());
    QCOMPARE(f.project().CompilerPath, QStringLiteral("NoCompiler"));
    QCOMPARE(f.actions->reopen[2]->text(), QStringLiteral("&3 NoName"));
    // The first start's window: about two thirds of the screen, centred.
    // (The test screen is smaller than the smallest window: it starts at
    // the screen's corner then, its title bar in reach.)
    const QRect screen = f.screen()->availableGeometry();
    QCOMPARE(f.size(), firstStartBounds(screen).size().expandedTo(f.minimumSize()));
    if (f.width() <= screen.width() && f.height() <= screen.height())
        QCOMPARE(f.frameGeometry().center(), screen.center());
    else
        QVERIFY(screen.contains(f.frameGeometry().topLeft()));
    // The project named on the command line opens on the first run too.
    QCOMPARE(f.project().ProjectPath, argument);
    QCOMPARE(f.project().TopicCount(), 1);
    QCOMPARE(f.actions->reopen[0]->text(), QStringLiteral("&1 ") + argument);

    // Closing a project without changes asks nothing, and writes the settings.
    QVERIFY(f.close());
    QVERIFY(h.prompter.calls().empty());
    const IniFile ini = IniFile::read(h.path(QStringLiteral("Topicsmith.ini")));
    QCOMPARE(ini.value(QStringLiteral("CONFIG"), QStringLiteral("TLB")), QStringLiteral("1"));
    QCOMPARE(ini.value(QStringLiteral("CONFIG"), QStringLiteral("HelpCompiler")), QStringLiteral("NoCompiler"));
    QCOMPARE(ini.value(QStringLiteral("RECENT FILES"), QStringLiteral("4")), QStringLiteral("&5 NoName"));
}

void MainWindowStartTest::startWithSettingsFile()
{
    MainWindowHarness h(iniText({QStringLiteral("[CONFIG]"), QStringLiteral("Left=30"), QStringLiteral("Top=40"),
                                 QStringLiteral("Width=0x2BC"), QStringLiteral("Height=450"), QStringLiteral("TLB=0"),
                                 QStringLiteral("HelpCompiler=C:\\HCW\\HCW.EXE"), QStringLiteral("[RECENT FILES]"),
                                 QStringLiteral("0=&1 /projects/a.tsp"), QStringLiteral("1=&7 edited by hand")}));
    h.show();
    MainWindow& f = *h.form;
    QCOMPARE(f.pos(), QPoint(30, 40));
    QCOMPARE(f.size(), QSize(700, 450));
    QVERIFY(!f.toolBar->button(f.actions->showTopicList)->isChecked());
    QVERIFY(!f.navigator->topicListPanel->isVisible());
    QCOMPARE(f.project().CompilerPath, QStringLiteral("C:\\HCW\\HCW.EXE"));
    QCOMPARE(f.actions->reopen[0]->text(), QStringLiteral("&1 /projects/a.tsp"));
    QCOMPARE(f.actions->reopen[1]->text(), QStringLiteral("&7 edited by hand"));
    QCOMPARE(f.actions->reopen[2]->text(), QStringLiteral("&3 NoName"));
    QVERIFY(f.actions->reopen[1]->isVisible());
    QVERIFY(!f.actions->reopen[2]->isVisible());
}

// A window closed maximised comes back maximised, over the bounds it is
// restored to; bounds larger than the screen come back on it, whole.
void MainWindowStartTest::windowComesBackMaximisedAndOnTheScreen()
{
    {
        MainWindowHarness h(iniText({QStringLiteral("[CONFIG]"), QStringLiteral("Left=30"), QStringLiteral("Top=40"),
                                     QStringLiteral("Width=700"), QStringLiteral("Height=450"),
                                     QStringLiteral("Maximized=1")}));
        h.show();
        QVERIFY(h.form->isMaximized());
        QVERIFY(h.form->close());
        const IniFile ini = IniFile::read(h.path(QStringLiteral("Topicsmith.ini")));
        const auto value = [&ini](const char* key) { return ini.value(QStringLiteral("CONFIG"), QLatin1String(key)); };
        QCOMPARE(value("Maximized"), QStringLiteral("1"));
        QCOMPARE((QStringList{value("Left"), value("Top"), value("Width"), value("Height")}),
                 (QStringList{QStringLiteral("30"), QStringLiteral("40"), QStringLiteral("700"), QStringLiteral("450")}));
    }
    MainWindowHarness h(iniText({QStringLiteral("[CONFIG]"), QStringLiteral("Left=-1"), QStringLiteral("Top=-1"),
                                 QStringLiteral("Width=5000"), QStringLiteral("Height=5000")}));
    h.show();
    QVERIFY(!h.form->isMaximized());
    QVERIFY(h.form->screen()->availableGeometry().contains(h.form->frameGeometry()));
}

void MainWindowStartTest::commandLineProjectNeedsTspExtension_data()
{
    QTest::addColumn<bool>("settings");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("message"); // %1 is the argument
    QTest::newRow("tsp with settings") << true << QStringLiteral("demo.tsp") << true << QString();
    QTest::newRow("TSP in capitals") << true << QStringLiteral("DEMO.TsP") << true << QString();
    QTest::newRow("other extension") << true << QStringLiteral("demo.txt") << false
                                     << QStringLiteral("'%1' is not a Topicsmith project: project files are named like gadget.tsp.");
    QTest::newRow("help file") << true << QStringLiteral("demo.HLP") << false << QString();
    QTest::newRow("no settings file") << false << QStringLiteral("demo.tsp") << true << QString();
}

void MainWindowStartTest::commandLineProjectNeedsTspExtension()
{
    QFETCH(bool, settings);
    QFETCH(QString, fileName);
    QFETCH(bool, opened);
    QFETCH(QString, message);
    QTemporaryDir projects;
    const QString argument = projects.filePath(fileName);
    MainWindowHarness::writeProject(argument, {QStringLiteral("INTRO"), QStringLiteral("USAGE")});
    MainWindowHarness h(settings ? iniText({QStringLiteral("[CONFIG]"), QStringLiteral("TLB=1")}) : QByteArray(),
                        argument);
    h.show();
    MainWindow& f = *h.form;
    QCOMPARE(f.project().TopicCount(), opened ? 2 : 0);
    if (opened) {
        QCOMPARE(f.project().ProjectPath, argument);
        QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("INTRO"), QStringLiteral("USAGE")}));
        QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("Body of INTRO"));
        QCOMPARE(f.actions->reopen[0]->text(), QStringLiteral("&1 ") + argument);
        QVERIFY(f.projectCommands->pendingOpenPath().isEmpty());
        QVERIFY(h.prompter.calls().empty());
    } else if (message.isEmpty()) {
        QVERIFY(h.prompter.calls().empty());
    } else {
        // Said over the window, once it is on the screen.
        QCOMPARE(h.prompter.messages(), QStringList{message.arg(argument)});
        QCOMPARE(h.prompter.calls().back().icon, Prompter::Icon::Error);
    }
}

void MainWindowStartTest::closeAsksToSaveAndWritesSettingsInOrder()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("ONE"));
    f.move(12, 34);
    f.resize(720, 480);
    // Escape on the question keeps the window and the project.
    h.prompter.answer(Prompter::Answer::Cancel);
    QVERIFY(!f.close());
    QCOMPARE(h.tabCaptions(), QStringList{QStringLiteral("ONE")});
    h.prompter.reset();
    h.prompter.answer(Prompter::Answer::No);
    QVERIFY(f.close());

    const auto& calls = h.prompter.calls();
    QCOMPARE(int(calls.size()), 1);
    QCOMPARE(calls[0].text, QStringLiteral("Save Project Before Exiting?"));
    QCOMPARE(calls[0].caption, QStringLiteral("Exit"));
    QCOMPARE(calls[0].buttons, Prompter::Buttons::YesNoOrKeep);
    QCOMPARE(calls[0].icon, Prompter::Icon::Question);
    QVERIFY(!QFile::exists(h.path(QStringLiteral("NoName.tsp"))));

    // The keys in their order, readable by hand.
    const QString text = QString::fromLatin1(MainWindowHarness::readFile(h.path(QStringLiteral("Topicsmith.ini"))));
    const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QStringList keys;
    for (const QString& line : lines)
        keys.append(line.section(QLatin1Char('='), 0, 0));
    QCOMPARE(keys, (QStringList{QStringLiteral("[CONFIG]"), QStringLiteral("Left"), QStringLiteral("Top"),
                                QStringLiteral("Width"), QStringLiteral("Height"), QStringLiteral("TLB"),
                                QStringLiteral("HelpCompiler"), QStringLiteral("Maximized"),
                                QStringLiteral("[RECENT FILES]"), QStringLiteral("0"),
                                QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));
    QVERIFY(lines.contains(QStringLiteral("Left=12")));
    QVERIFY(lines.contains(QStringLiteral("Top=34")));
    QVERIFY(lines.contains(QStringLiteral("Width=720")));
    QVERIFY(lines.contains(QStringLiteral("Height=480")));
}

void MainWindowStartTest::exitYesWithCancelledSaveAsKeepsTheWindowOpen()
{
    MainWindowHarness h;
    h.show();
    h.newProject(QStringLiteral("ONE"));
    // Yes asked for the work to be saved: without a name it is not, and the
    // program stays with the project.
    h.prompter.answer(Prompter::Answer::Yes).path(QString());
    QVERIFY(!h.form->close());
    QCOMPARE(h.prompter.calls().back().kind, ScriptedPrompter::Kind::SaveFile);
    QVERIFY(h.form->isVisible());
    QCOMPARE(h.tabCaptions(), QStringList{QStringLiteral("ONE")});

    h.prompter.answer(Prompter::Answer::No);
    QVERIFY(h.form->close());
    QVERIFY(!h.prompter.unexpectedCall());
    QCOMPARE(QDir(h.folder()).entryList(QDir::Files), QStringList{QStringLiteral("Topicsmith.ini")});
}

void MainWindowStartTest::unwritableSettingsDoNotBlockClosing()
{
    MainWindowHarness h;
    // A folder in the settings file's place cannot be written over.
    QVERIFY(QDir(h.folder()).mkdir(QStringLiteral("Topicsmith.ini")));
    h.show();
    QVERIFY(h.form->close());
    QVERIFY(!h.form->isVisible());
    QVERIFY(h.prompter.calls().empty());
}

void MainWindowStartTest::failedSaveOnExitKeepsTheWindowOpen()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("gone.tsp"));
    MainWindowHarness::writeProject(path, {QStringLiteral("A")});
    h.show();
    h.form->projectCommands->setPendingOpenPath(path);
    h.form->projectCommands->openProject();
    QCOMPARE(h.form->project().TopicCount(), 1);
    MainWindowHarness::typeInto(h.form->editors->keywordsEdit(), QStringLiteral("changed"));
    // The project file's place is taken by a folder: the save must fail.
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir(h.folder()).mkdir(QStringLiteral("gone.tsp")));

    h.prompter.answer(Prompter::Answer::Yes);
    QVERIFY(!h.form->close());
    QVERIFY(h.form->isVisible());
    QVERIFY(h.prompter.lastMessage().contains(path));
    QCOMPARE(h.prompter.calls().back().icon, Prompter::Icon::Error);

    // Answering No then closes.
    h.prompter.answer(Prompter::Answer::No);
    QVERIFY(h.form->close());
}

void MainWindowStartTest::topicListVisibilitySurvivesRestart()
{
    QTemporaryDir home;
    {
        MainWindowHarness h;
        h.show();
        const int editorWidth = h.form->editors->headerEditor()->width();
        h.click(h.form->toolBar->button(h.form->actions->showTopicList));
        QVERIFY(!h.form->navigator->topicListPanel->isVisible());
        QVERIFY(!h.form->toolBar->button(h.form->actions->showTopicList)->isChecked());
        // The editors take the freed width.
        QTRY_VERIFY(h.form->editors->headerEditor()->width() > editorWidth);
        h.click(h.form->toolBar->button(h.form->actions->showTopicList));
        QVERIFY(h.form->navigator->topicListPanel->isVisible());
        QTRY_COMPARE(h.form->editors->headerEditor()->width(), editorWidth);
        h.click(h.form->toolBar->button(h.form->actions->showTopicList));
        QVERIFY(h.form->close());
        QFile::copy(h.path(QStringLiteral("Topicsmith.ini")), home.filePath(QStringLiteral("Topicsmith.ini")));
    }
    MainWindowHarness again(MainWindowHarness::readFile(home.filePath(QStringLiteral("Topicsmith.ini"))));
    again.show();
    QVERIFY(!again.form->toolBar->button(again.form->actions->showTopicList)->isChecked());
    QVERIFY(!again.form->navigator->topicListPanel->isVisible());
}

void MainWindowStartTest::startScreenClosesTwoSecondsAfterFirstShow()
{
    MainWindowHarness h;
    QCOMPARE(h.form->startScreenTimer->interval(), 2000);
    QVERIFY(h.form->startScreenTimer->isSingleShot());
    QVERIFY(!h.form->startScreenTimer->isActive());

    auto* start = new StartScreen;
    start->showAndPaint();
    QCOMPARE(start->size(), QSize(553, 123));
    QCOMPARE(start->versionLabel->text(), QStringLiteral("V" TOPICSMITH_VERSION ", Loading..."));
    h.form->setStartScreen(start);
    QPointer<StartScreen> watch(start);
    h.show();
    QVERIFY(h.form->startScreenTimer->isActive());
    QTest::qWait(1000);
    QVERIFY(watch && watch->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(watch.isNull(), 3000);
    QVERIFY(!h.form->startScreenTimer->isActive());
}

QTEST_MAIN(MainWindowStartTest)
#include "test_mainwindow_start.moc"
