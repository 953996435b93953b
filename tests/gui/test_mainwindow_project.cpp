// The project commands of the main window: New, Open, the recent-files
// menu, the window title and the questions before work is replaced (Save
// and Save As: test_mainwindow_save).

#include "test_mainwindow_project_support.h"

#include "RichTextAdapter.h"
#include "WindowEditorDialog.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QTextBlock>
#include <QWindow>

#include <functional>

using namespace ts;
using namespace ts::testing;

class MainWindowProjectTest : public QObject {
    Q_OBJECT

private slots:
    void openDialogAndItsCancel();
    void openReplacesTheProjectAfterTheQuestion();
    void openOfTheOpenProjectAfterSavingShowsTheSavedState();
    void damagedFileLeavesTheOpenProjectAlone();
    void fileWithoutTopicsIsRefused();
    void projectNamesEndInTsp();
    void missingRecentFileSaysSoAndStays();
    void newAsksAndCancelledSaveAsKeepsTheProject();
    void recentFilesFollowOpenAndSaveAs();
    void formattingSurvivesSaveAndReopen();
    void titleNamesTheProject();
    void questionsComeOnlyWithUnsavedChanges();
    void cancelledNewKeepsTheOpenProject();
};

void MainWindowProjectTest::openDialogAndItsCancel()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.prompter.path(QString());
    QTest::keyClick(&f, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(int(h.prompter.calls().size()), 1);
    const auto& call = h.prompter.calls().back();
    QCOMPARE(call.kind, ScriptedPrompter::Kind::OpenFile);
    QCOMPARE(call.filter, ProjectFilter);
    QCOMPARE(call.fileName, QStringLiteral("*.tsp"));
    QCOMPARE(f.project().TopicCount(), 0);
    QVERIFY(!f.editors->topicEditor()->isEnabled());
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowProjectTest::openReplacesTheProjectAfterTheQuestion()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("other.tsp"));
    MainWindowHarness::writeProject(path, {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")}, 2);
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("OLD"));
    h.addTopic(QStringLiteral("OLDER"));

    openByDialog(h, path);
    const auto& calls = h.prompter.calls();
    const auto& q = calls[calls.size() - 1];
    QCOMPARE(q.text, QStringLiteral("Save This Project Before Closing?"));
    QCOMPARE(q.caption, QStringLiteral("Close project"));
    QCOMPARE(q.buttons, Prompter::Buttons::YesNoOrKeep);
    QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")}));
    QCOMPARE(h.listEntries(), h.tabCaptions());
    QCOMPARE(f.navigator->topicTabs->currentIndex(), 0);
    QCOMPARE(f.navigator->topicList->currentRow(), 0);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("Body of X"));
    QCOMPARE(f.editors->keywordsEdit()->text(), QStringLiteral("keys of X"));
    QCOMPARE(f.editors->topicTitleLabel()->text(), QStringLiteral("Title of X "));
    QCOMPARE(f.project().WindowCount(), 2);
    QCOMPARE(f.project().ProjectPath, path);
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("Project: other.tsp"));
    QCOMPARE(f.statusBar->panelText(1), QString());
    QCOMPARE(f.progressBar->value(), 0);
    QVERIFY(f.projectCommands->pendingOpenPath().isEmpty());
    QVERIFY(!QFile::exists(h.path(QStringLiteral("NoName.tsp"))));
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowProjectTest::openOfTheOpenProjectAfterSavingShowsTheSavedState()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("same.tsp"));
    MainWindowHarness::writeProject(path, {QStringLiteral("A")});
    h.show();
    MainWindow& f = *h.form;
    openByDialog(h, path, false);

    // Yes: the changes are saved first, then the file is read.
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("edited"));
    h.prompter.path(path).answer(Prompter::Answer::Yes);
    h.click(f.toolBar->button(f.actions->openProject));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("edited"));
    QCOMPARE(storedBody(loadProject(path), 0), QStringLiteral("edited"));

    // No: the file as it is on disk, the edits are dropped.
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("dropped"));
    openByDialog(h, path);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("edited"));
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowProjectTest::damagedFileLeavesTheOpenProjectAlone()
{
    MainWindowHarness h;
    const QString good = h.path(QStringLiteral("good.tsp"));
    MainWindowHarness::writeProject(good, {QStringLiteral("KEEP"), QStringLiteral("ME")});
    const QString damaged = h.path(QStringLiteral("damaged.tsp"));
    MainWindowHarness::writeProject(damaged, {QStringLiteral("P"), QStringLiteral("Q")});
    QByteArray bytes = MainWindowHarness::readFile(damaged);
    bytes.chop(20);
    MainWindowHarness::writeFile(damaged, bytes);
    h.show();
    MainWindow& f = *h.form;
    openByDialog(h, good, false);
    h.clickTab(1);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("unsaved work"));
    const int callsBefore = int(h.prompter.calls().size());

    h.prompter.path(damaged);
    h.click(f.toolBar->button(f.actions->openProject));
    // No save question: the file was refused first.
    QCOMPARE(int(h.prompter.calls().size()), callsBefore + 2);
    const auto& error = h.prompter.calls().back();
    QVERIFY2(error.text.contains(QStringLiteral("damaged.tsp")), qPrintable(error.text));
    QCOMPARE(error.icon, Prompter::Icon::Error);
    QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("KEEP"), QStringLiteral("ME")}));
    QCOMPARE(f.navigator->topicTabs->currentIndex(), 1);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("unsaved work"));
    QCOMPARE(f.project().ProjectPath, good);
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("Project: good.tsp"));
    QCOMPARE(f.statusBar->panelText(1), QString());
    QCOMPARE(f.progressBar->value(), 0);
    QCOMPARE(f.actions->reopen[0]->text(), QStringLiteral("&1 ") + good);
    QCOMPARE(f.actions->reopen[1]->text(), QStringLiteral("&2 NoName"));
}

void MainWindowProjectTest::fileWithoutTopicsIsRefused()
{
    MainWindowHarness h;
    const QString empty = h.path(QStringLiteral("empty.tsp"));
    ProjectFile::save(Project(), empty);
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("MINE"));
    openByDialog(h, empty, false);
    QVERIFY(h.prompter.lastMessage().contains(empty));
    QCOMPARE(h.tabCaptions(), QStringList{QStringLiteral("MINE")});
    QCOMPARE(f.project().TopicCount(), 1);
    QVERIFY(f.project().isUnnamed());
    QVERIFY(!h.prompter.unexpectedCall());
}

// The help sources are named after the project's name without ".tsp": a
// name with a dot of its own gets the extension on Save As, and a file of
// another name is not opened.
void MainWindowProjectTest::projectNamesEndInTsp()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("INTRO"));
    saveAs(h, h.path(QStringLiteral("Manual v1.2")));
    QCOMPARE(f.project().ProjectPath, h.path(QStringLiteral("Manual v1.2.tsp")));
    QVERIFY(QFile::exists(h.path(QStringLiteral("Manual v1.2.tsp"))));
    QVERIFY(!QFile::exists(h.path(QStringLiteral("Manual v1.2"))));

    const QString other = h.path(QStringLiteral("notes.txt"));
    MainWindowHarness::writeProject(other, {QStringLiteral("P")});
    openByDialog(h, other, false);
    QCOMPARE(h.prompter.lastMessage(),
             QStringLiteral("'%1' is not a Topicsmith project: project files are named like gadget.tsp.").arg(other));
    QCOMPARE(h.tabCaptions(), QStringList{QStringLiteral("INTRO")});
    QCOMPARE(f.project().ProjectPath, h.path(QStringLiteral("Manual v1.2.tsp")));
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowProjectTest::missingRecentFileSaysSoAndStays()
{
    MainWindowHarness h;
    const QString path = h.path(QStringLiteral("soon-gone.tsp"));
    MainWindowHarness::writeProject(path, {QStringLiteral("A")});
    h.show();
    MainWindow& f = *h.form;
    openByDialog(h, path, false);
    QVERIFY(QFile::remove(path));
    h.prompter.answer(Prompter::Answer::No);
    h.newProject(QStringLiteral("NEW"));

    f.actions->reopen[0]->trigger();
    QCOMPARE(h.prompter.lastMessage(), QStringLiteral("There is no file '%1'.").arg(path));
    QCOMPARE(f.actions->reopen[0]->text(), QStringLiteral("&1 ") + path);
    QCOMPARE(h.tabCaptions(), QStringList{QStringLiteral("NEW")});
    QVERIFY(f.projectCommands->pendingOpenPath().isEmpty());

    // A "NoName" place is not offered, and does nothing.
    QVERIFY(f.actions->reopen[0]->isVisible());
    QVERIFY(!f.actions->reopen[3]->isVisible());
    const int callsBefore = int(h.prompter.calls().size());
    f.actions->reopen[3]->trigger();
    QCOMPARE(int(h.prompter.calls().size()), callsBefore);
    QVERIFY(f.projectCommands->pendingOpenPath().isEmpty());
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowProjectTest::newAsksAndCancelledSaveAsKeepsTheProject()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("FIRST"));
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("discarded"));

    h.prompter.answer(Prompter::Answer::Yes).path(QString());
    h.onTopicDialog({QStringLiteral("SECOND"), {}, {}, {}});
    h.click(f.toolBar->button(f.actions->newProject));
    const auto& calls = h.prompter.calls();
    QCOMPARE(calls[calls.size() - 2].text, QStringLiteral("Save This Project Before Closing?"));
    QCOMPARE(calls[calls.size() - 2].caption, QStringLiteral("Close project"));
    QCOMPARE(calls.back().kind, ScriptedPrompter::Kind::SaveFile);
    // Yes asked for the work to be saved; without a name New does not go on.
    QCOMPARE(h.tabCaptions(), QStringList{QStringLiteral("FIRST")});
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("discarded"));
    QVERIFY(f.project().isUnnamed());
    QVERIFY(!QFile::exists(h.path(QStringLiteral("NoName.tsp"))));
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowProjectTest::recentFilesFollowOpenAndSaveAs()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    QStringList paths;
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        paths.append(h.path(QString::fromLatin1(name) + QStringLiteral(".tsp")));
    h.newProject(QStringLiteral("T"));
    for (const QString& p : paths) {
        h.prompter.path(p);
        f.actions->saveProjectAs->trigger();
    }
    const auto captions = [&f] {
        QStringList out;
        for (QAction* a : f.actions->reopen)
            out.append(a->text());
        return out;
    };
    // Each new name pushes the others down; the oldest falls out.
    QCOMPARE(captions(), (QStringList{QStringLiteral("&1 ") + paths[5], QStringLiteral("&2 ") + paths[4],
                                      QStringLiteral("&3 ") + paths[3], QStringLiteral("&4 ") + paths[2],
                                      QStringLiteral("&5 ") + paths[1]}));

    // Opening the project in place 3 swaps it with the first.
    h.prompter.answer(Prompter::Answer::No);
    f.actions->reopen[2]->trigger();
    QCOMPARE(f.project().ProjectPath, paths[3]);
    QCOMPARE(captions(), (QStringList{QStringLiteral("&1 ") + paths[3], QStringLiteral("&2 ") + paths[4],
                                      QStringLiteral("&3 ") + paths[5], QStringLiteral("&4 ") + paths[2],
                                      QStringLiteral("&5 ") + paths[1]}));

    // The same project again changes nothing.
    const QStringList before = captions();
    h.prompter.answer(Prompter::Answer::No);
    f.actions->reopen[0]->trigger();
    QCOMPARE(captions(), before);

    // Another letter case is another project (only where names are case-sensitive).
    const QString upper = h.path(QStringLiteral("D.tsp"));
    QVERIFY(QFile::copy(paths[3], upper));
    h.prompter.answer(Prompter::Answer::No);
    f.projectCommands->setPendingOpenPath(upper);
    f.projectCommands->openProject();
    QCOMPARE(captions().at(0), QStringLiteral("&1 ") + upper);
    QCOMPARE(captions().at(1), QStringLiteral("&2 ") + paths[3]);

    // The list is written to the settings file as it stands.
    h.prompter.answer(Prompter::Answer::No);
    QVERIFY(f.close());
    const QByteArray ini = MainWindowHarness::readFile(h.path(QStringLiteral("Topicsmith.ini")));
    QVERIFY(ini.contains(QStringLiteral("0=&1 %1\r\n").arg(upper).toUtf8()));
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowProjectTest::formattingSurvivesSaveAndReopen()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("STYLED"), QStringLiteral("Styled topic"));
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("Plain bold red big"));
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Return);
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("A centred line"));
    QTextCursor c(f.editors->topicEditor()->document());
    c.setPosition(6);
    c.setPosition(10, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.mergeCharFormat(bold);
    c.setPosition(11);
    c.setPosition(14, QTextCursor::KeepAnchor);
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    c.mergeCharFormat(red);
    c.setPosition(15);
    c.setPosition(18, QTextCursor::KeepAnchor);
    QTextCharFormat big;
    big.setFontPointSize(20);
    c.mergeCharFormat(big);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    QTextCursor(f.editors->topicEditor()->document()->lastBlock()).mergeBlockFormat(centred);
    MainWindowHarness::typeInto(f.editors->headerEditor(), QStringLiteral("Header line"));
    QTextCursor hc(f.editors->headerEditor()->document());
    hc.select(QTextCursor::Document);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    hc.mergeCharFormat(italic);
    const RichDocument body = fromTextDocument(*f.editors->topicEditor()->document());
    const RichDocument header = fromTextDocument(*f.editors->headerEditor()->document());

    const QString path = h.path(QStringLiteral("styled.tsp"));
    saveAs(h, path);
    h.prompter.answer(Prompter::Answer::No);
    h.newProject(QStringLiteral("BLANK"));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QString());
    openByDialog(h, path);

    QCOMPARE(fromTextDocument(*f.editors->topicEditor()->document()), body);
    QCOMPARE(fromTextDocument(*f.editors->headerEditor()->document()), header);
    const auto at = [&f](int pos) {
        QTextCursor k(f.editors->topicEditor()->document());
        k.setPosition(pos + 1);
        return k.charFormat();
    };
    QCOMPARE(at(6).fontWeight(), int(QFont::Bold));
    QCOMPARE(at(0).fontWeight(), int(QFont::Normal));
    QCOMPARE(at(11).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(at(15).fontPointSize(), 20.0);
    QCOMPARE(f.editors->topicEditor()->document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    QTextCursor headerStart(f.editors->headerEditor()->document());
    headerStart.setPosition(1);
    QVERIFY(headerStart.charFormat().fontItalic());
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowProjectTest::titleNamesTheProject()
{
    MainWindowHarness h;
    const QString demo = h.path(QStringLiteral("demo.tsp"));
    MainWindowHarness::writeProject(demo, {QStringLiteral("X")}, 1);
    h.show();
    MainWindow& f = *h.form;
    const auto title = [&f] { return f.windowHandle()->title(); };
    QCOMPARE(title(), QStringLiteral("NoName.tsp - Topicsmith"));
    openByDialog(h, demo, false);
    QCOMPARE(title(), QStringLiteral("demo.tsp - Topicsmith"));
    h.prompter.path(h.path(QStringLiteral("guide.tsp")));
    f.actions->saveProjectAs->trigger();
    QCOMPARE(title(), QStringLiteral("guide.tsp - Topicsmith"));
    h.newProject(QStringLiteral("NEW"));
    QCOMPARE(title(), QStringLiteral("NoName.tsp* - Topicsmith"));
    QVERIFY(!h.prompter.unexpectedCall());
}

// The title's "*" and the save questions of New, Open, Reopen and Exit
// follow the changes that are not in the file: none after opening or
// switching topics, one after each kind of change, none after saving.
void MainWindowProjectTest::questionsComeOnlyWithUnsavedChanges()
{
    MainWindowHarness h;
    const QString demo = h.path(QStringLiteral("demo.tsp"));
    const QString other = h.path(QStringLiteral("other.tsp"));
    MainWindowHarness::writeProject(demo, {QStringLiteral("X"), QStringLiteral("Y")}, 2);
    MainWindowHarness::writeProject(other, {QStringLiteral("Z")});
    h.show();
    MainWindow& f = *h.form;
    openByDialog(h, demo, false);
    const auto changed = [&f] { return f.windowHandle()->title().startsWith(QStringLiteral("demo.tsp*")); };
    h.clickTab(1);
    h.clickTab(0);
    QVERIFY(!changed());

    // Each kind of change marks the project, and Save clears the mark.
    const std::function<void()> changes[] = {
        [&] { MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("typed")); },
        [&] { MainWindowHarness::typeInto(f.editors->keywordsEdit(), QStringLiteral("index")); },
        [&] { h.addTopic(QStringLiteral("ADDED")); },
        [&] {
            h.prompter.answer(Prompter::Answer::Ok);
            h.click(f.toolBar->button(f.actions->deleteTopic));
        },
        [&] { // a rename, which rewrites the contents waiting for the Save
            MainWindowHarness::writeFile(h.path(QStringLiteral("demo.tsc")), "Title of X=X\r\nTitle of Y=Y\r\n");
            h.onTopicDialog({QStringLiteral("RENAMED"), {}, {}, {}});
            h.click(f.toolBar->button(f.actions->topicProperties));
            QVERIFY(f.project().PendingContents.has_value());
        },
        [&] { // a window's colour
            h.prompter.colour(0x123456);
            QTimer::singleShot(0, &f, [&f] {
                QTest::mouseClick(f.topics->windowEditor->topicColourPanel(), Qt::LeftButton);
                f.topics->windowEditor->okButton()->click();
            });
            h.click(f.toolBar->button(f.actions->editWindows));
        },
    };
    int step = 0;
    for (const auto& change : changes) {
        change();
        QVERIFY2(changed(), qPrintable(QString::number(step)));
        h.activate();
        QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier);
        QVERIFY2(!changed(), qPrintable(QString::number(step++)));
    }
    QVERIFY(!QFile::exists(h.path(QStringLiteral("demo.tsc"))) || !f.project().PendingContents.has_value());

    // A properties dialog left without a change, the window editor closed
    // as it was: nothing to save.
    h.onTopicDialog({QStringLiteral("RENAMED"), {}, {}, {}});
    h.click(f.toolBar->button(f.actions->topicProperties));
    QTimer::singleShot(0, &f, [&f] { f.topics->windowEditor->okButton()->click(); });
    h.click(f.toolBar->button(f.actions->editWindows));
    QVERIFY(!changed());

    // No question from Open, Reopen or Exit while nothing is unsaved.
    const int before = int(h.prompter.calls().size());
    openByDialog(h, other, false);
    f.actions->reopen[1]->trigger();
    QCOMPARE(f.project().ProjectPath, demo);
    QCOMPARE(int(h.prompter.calls().size()), before + 1); // the open dialog
    // With a change, Exit asks; Escape keeps the window.
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("more"));
    h.prompter.answer(Prompter::Answer::Cancel);
    QVERIFY(!f.close());
    QCOMPARE(h.prompter.calls().back().text, QStringLiteral("Save Project Before Exiting?"));
    h.prompter.answer(Prompter::Answer::No);
    QVERIFY(f.close());
    QVERIFY(!h.prompter.unexpectedCall());
}

// Cancelling the first topic's dialog of New keeps the project open before,
// with its unsaved text.
void MainWindowProjectTest::cancelledNewKeepsTheOpenProject()
{
    MainWindowHarness h;
    const QString demo = h.path(QStringLiteral("demo.tsp"));
    MainWindowHarness::writeProject(demo, {QStringLiteral("X"), QStringLiteral("Y")});
    h.show();
    MainWindow& f = *h.form;
    openByDialog(h, demo, false);
    h.clickTab(1);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("unsaved"));
    h.prompter.answer(Prompter::Answer::No);
    QTimer::singleShot(0, &f, [&f] { f.topics->topicPropertiesDialog->cancelButton->click(); });
    h.click(f.toolBar->button(f.actions->newProject));
    QCOMPARE(f.project().ProjectPath, demo);
    QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("X"), QStringLiteral("Y")}));
    QCOMPARE(f.navigator->currentTopic(), 1);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("unsaved"));
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("Project: demo.tsp"));
    QVERIFY(f.editors->topicEditor()->isEnabled());
    QVERIFY(f.windowHandle()->title().startsWith(QStringLiteral("demo.tsp*")));
    QVERIFY(!h.prompter.unexpectedCall());
}

QTEST_MAIN(MainWindowProjectTest)
#include "test_mainwindow_project.moc"
