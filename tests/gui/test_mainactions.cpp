// The main window's actions on their own: which commands wait for a
// project, and which shortcuts come before the keys of the focused control.

#include "MainActions.h"

#include <QAction>
#include <QKeyEvent>
#include <QSet>
#include <QTest>

using namespace ts;

class MainActionsTest : public QObject {
    Q_OBJECT

private slots:
    void projectCommandsSwitchTogether();
    void everyActionHasANameOfItsOwn();
    void shortcutsThatComeBeforeTheFocusedControl_data();
    void shortcutsThatComeBeforeTheFocusedControl();
};

void MainActionsTest::projectCommandsSwitchTogether()
{
    MainActions a;
    QAction menuTitle(QStringLiteral("&Edit"));
    a.enableWithEditing(&menuTitle);
    const QSet<QAction*> needProject = {
        a.saveProject, a.saveProjectAs, a.undo, a.redo, a.cut, a.copy, a.paste, a.selectAll, a.addTopic,
        a.deleteTopic, a.topicProperties, a.editWindows, a.search, a.compile, a.viewHelp, a.viewInWine,
        a.buildAll, a.projectFiles, a.topicFile, a.publishHtml, a.publishChm, a.setCompiler, a.contentsEditor,
        a.spellCheck, a.addBitmap, a.addTransparentBitmap, a.addRelatedTopicsButton, a.addTopicLink, a.addWebLink,
        &menuTitle};
    QList<QAction*> all = a.findChildren<QAction*>();
    all.append(&menuTitle);

    a.setEditingEnabled(false);
    for (QAction* action : all)
        QVERIFY2(action->isEnabled() != needProject.contains(action), qPrintable(action->objectName()));
    // The compile log and the extended topic list have something to show
    // without a project; the file and help commands are always there.
    for (QAction* action : {a.newProject, a.openProject, a.exit, a.showLog, a.extendedTopicList, a.about})
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));

    a.setEditingEnabled(true);
    for (QAction* action : all)
        QVERIFY2(action->isEnabled(), qPrintable(action->objectName()));
}

void MainActionsTest::everyActionHasANameOfItsOwn()
{
    // Tests and the settings find the actions by these names.
    MainActions a;
    QSet<QString> names;
    for (const QAction* action : a.findChildren<QAction*>()) {
        QVERIFY(!action->objectName().isEmpty());
        QVERIFY2(!names.contains(action->objectName()), qPrintable(action->objectName()));
        names.insert(action->objectName());
    }
}

void MainActionsTest::shortcutsThatComeBeforeTheFocusedControl_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("comesFirst");
    const int ctrl = Qt::ControlModifier;
    QTest::newRow("Ctrl+C copy") << int(Qt::Key_C) << ctrl << true;
    QTest::newRow("Ctrl+X cut") << int(Qt::Key_X) << ctrl << true;
    QTest::newRow("Ctrl+V paste") << int(Qt::Key_V) << ctrl << true;
    QTest::newRow("Ctrl+O open") << int(Qt::Key_O) << ctrl << true;
    QTest::newRow("Ctrl+S save") << int(Qt::Key_S) << ctrl << true;
    QTest::newRow("Ctrl+Ins add topic") << int(Qt::Key_Insert) << ctrl << true;
    QTest::newRow("Ctrl+Del delete topic") << int(Qt::Key_Delete) << ctrl << true;
    QTest::newRow("Ctrl+keypad Ins") << int(Qt::Key_Insert) << int(ctrl | Qt::KeypadModifier) << true;
    QTest::newRow("Ctrl+keypad Del") << int(Qt::Key_Delete) << int(ctrl | Qt::KeypadModifier) << true;
    QTest::newRow("F9 compile") << int(Qt::Key_F9) << int(Qt::NoModifier) << true;
    // The editors' own keys, and shortcuts no control claims.
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << false;
    QTest::newRow("Ctrl+Z") << int(Qt::Key_Z) << ctrl << false;
    QTest::newRow("Ctrl+Shift+S") << int(Qt::Key_S) << int(ctrl | Qt::ShiftModifier) << false;
    QTest::newRow("Ctrl+Shift+C") << int(Qt::Key_C) << int(ctrl | Qt::ShiftModifier) << false;
    QTest::newRow("Shift+F9") << int(Qt::Key_F9) << int(Qt::ShiftModifier) << false;
    QTest::newRow("C") << int(Qt::Key_C) << int(Qt::NoModifier) << false;
    QTest::newRow("Del") << int(Qt::Key_Delete) << int(Qt::NoModifier) << false;
}

void MainActionsTest::shortcutsThatComeBeforeTheFocusedControl()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, comesFirst);
    MainActions a;
    const QKeyEvent event(QEvent::ShortcutOverride, key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(a.shortcutComesFirst(event), comesFirst);
}

QTEST_MAIN(MainActionsTest)
#include "test_mainactions.moc"
