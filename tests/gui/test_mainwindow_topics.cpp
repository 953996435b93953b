// Topics on the main window: the editors as the working copy of the current
// topic, switching by tab and by list, adding, deleting and changing topics.

#include "test_mainwindow_support.h"

#include "RichTextAdapter.h"

#include <QLabel>
#include <QTextBlock>

using namespace ts;
using namespace ts::testing;

namespace {

QTextCharFormat formatAt(const QTextEdit* editor, int position)
{
    QTextCursor c(editor->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

// Text typed as a user does, then formatted the way the toolbar formats a
// selection: bold, a colour, a size, a centred paragraph.
void typeFormatted(QTextEdit* editor, const QString& first, const QString& second)
{
    MainWindowHarness::typeInto(editor, first);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, second);

    QTextCursor c(editor->document());
    c.setPosition(0);
    c.setPosition(4, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.mergeCharFormat(bold);

    c.setPosition(5);
    c.setPosition(int(first.size()), QTextCursor::KeepAnchor);
    QTextCharFormat red;
    red.setForeground(QColor(200, 0, 0));
    red.setFontPointSize(14);
    c.mergeCharFormat(red);

    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    QTextCursor second_(editor->document()->lastBlock());
    second_.mergeBlockFormat(centred);
}

void checkFormatted(const QTextEdit* editor, const QString& first, const QString& second)
{
    QCOMPARE(editor->toPlainText(), first + QLatin1Char('\n') + second);
    QCOMPARE(formatAt(editor, 0).fontWeight(), int(QFont::Bold));
    QCOMPARE(formatAt(editor, 5).fontWeight(), int(QFont::Normal));
    QCOMPARE(formatAt(editor, 5).foreground().color(), QColor(200, 0, 0));
    QCOMPARE(formatAt(editor, 5).fontPointSize(), 14.0);
    QVERIFY(formatAt(editor, 0).fontPointSize() != 14.0);
    QCOMPARE(editor->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignLeft);
    QCOMPARE(editor->document()->lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
}

QColor base(const QTextEdit* editor)
{
    return editor->palette().color(QPalette::Base);
}

} // namespace

class MainWindowTopicsTest : public QObject {
    Q_OBJECT

private slots:
    void newProjectGetsItsFirstTopic();
    void switchingByTabAndListKeepsEachTopicsText();
    void addedTopicBecomesTheSelectedLastTab();
    void cancelledAddKeepsUnstoredEdits();
    void deleteSelectsTheRightTopic_data();
    void deleteSelectsTheRightTopic();
    void deleteIsRefusedOrCancelled();
    void changeTopicPropertiesRenamesAndMoves();
    void letterCaseOnlyChangeChangesNothing();
    void formattingSurvivesSwitching();
    void menuShortcutsWinOverEditorKeys();
    void keywordsTakeOnlyStorableCharacters();
    void fullTopicTableRefusesAnotherTopic();
    void typingGoesIntoTheNewTopic();
};

void MainWindowTopicsTest::newProjectGetsItsFirstTopic()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.onTopicDialog({QStringLiteral("my topic"), QStringLiteral("My first title"), {}, {}});
    h.click(f.toolBar->button(f.actions->newProject));
    QVERIFY(!h.refused);
    QCOMPARE(h.dialogTitle, QStringLiteral("Add new topic"));
    QCOMPARE(h.dialogWindows, QStringList{QStringLiteral("main")});
    // The dialog puts "_" for the blank, the command upper-cases.
    QVERIFY(h.prompter.messages().contains(
        QStringLiteral("Spaces found in the Topic ID\rwill be replaced with the \"_\" sign.")));
    QCOMPARE(h.tabCaptions(), QStringList{QStringLiteral("MY_TOPIC")});
    QCOMPARE(h.listEntries(), h.tabCaptions());
    QCOMPARE(f.project().TopicCount(), 1);
    const TopicRecord& t = f.project().topic(0);
    QCOMPARE(t.TopicID.text(), QStringLiteral("MY_TOPIC"));
    QCOMPARE(t.Title.text(), QStringLiteral("My first title"));
    QCOMPARE(f.editors->topicTitleLabel()->text(), QStringLiteral("My first title "));
    QCOMPARE(f.statusBar->panelText(0), QStringLiteral("Project: NoName.tsp"));
    QVERIFY(f.editors->topicEditor()->isEnabled());
    // New stores the (empty) editors into the first topic straight away.
    QVERIFY(!t.BodyRtf.isEmpty());
    QVERIFY(f.project().isUnnamed());
}

void MainWindowTopicsTest::switchingByTabAndListKeepsEachTopicsText()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("A"), QStringLiteral("Title A"));
    MainWindowHarness::typeInto(f.editors->headerEditor(), QStringLiteral("Header of A"));
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("Body of A"));
    MainWindowHarness::typeInto(f.editors->keywordsEdit(), QStringLiteral("alpha;first"));

    h.addTopic(QStringLiteral("B"), QStringLiteral("Title B"));
    QCOMPARE(f.navigator->topicTabs->currentIndex(), 1);
    QCOMPARE(f.editors->headerEditor()->toPlainText(), QString());
    QCOMPARE(f.editors->keywordsEdit()->text(), QString());
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("Body of B"));
    MainWindowHarness::typeInto(f.editors->keywordsEdit(), QStringLiteral("beta"));

    h.clickTab(0);
    QCOMPARE(f.navigator->topicTabs->currentIndex(), 0);
    QCOMPARE(f.navigator->topicList->currentRow(), 0);
    QCOMPARE(f.editors->headerEditor()->toPlainText(), QStringLiteral("Header of A"));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("Body of A"));
    QCOMPARE(f.editors->keywordsEdit()->text(), QStringLiteral("alpha;first"));
    QCOMPARE(f.editors->topicTitleLabel()->text(), QStringLiteral("Title A "));
    // The topic left was stored.
    QCOMPARE(f.project().topic(1).Keywords.text(), QStringLiteral("beta"));

    // A click on the selected tab does nothing: the unstored edit stays unstored.
    MainWindowHarness::typeInto(f.editors->keywordsEdit(), QStringLiteral("changed"));
    h.clickTab(0);
    QCOMPARE(f.project().topic(0).Keywords.text(), QStringLiteral("alpha;first"));
    QCOMPARE(f.editors->keywordsEdit()->text(), QStringLiteral("changed"));

    h.clickListEntry(1);
    QCOMPARE(f.navigator->topicTabs->currentIndex(), 1);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("Body of B"));
    QCOMPARE(f.editors->keywordsEdit()->text(), QStringLiteral("beta"));
    QCOMPARE(f.project().topic(0).Keywords.text(), QStringLiteral("changed"));

    // Keyboard in the list switches as well.
    f.navigator->topicList->setFocus();
    QTest::keyClick(f.navigator->topicList, Qt::Key_Up);
    QCOMPARE(f.navigator->topicTabs->currentIndex(), 0);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("Body of A"));
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowTopicsTest::addedTopicBecomesTheSelectedLastTab()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("ONE"));
    h.addTopic(QStringLiteral("TWO"));
    // "&" in an ID is shown as it is, not taken for an access key.
    h.addTopic(QStringLiteral("Q&A"));
    QCOMPARE(f.navigator->topicTabs->tabText(2), QStringLiteral("Q&&A"));
    // A second window, coloured, for the new topic.
    WindowRecord w = WindowRecord::defaultWindow();
    w.Name.setText(QStringLiteral("side"));
    w.NonScrollColour = 0x000000FF; // red
    w.TopicColour = 0x0000FF00;     // green
    QVERIFY(f.project().addWindow(w));

    h.clickTab(1);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("typed into two"));
    h.onTopicDialog({QStringLiteral("four"), QStringLiteral("Fourth"), 1, {}});
    h.click(f.toolBar->button(f.actions->addTopic));

    QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("ONE"), QStringLiteral("TWO"), QStringLiteral("Q&A"),
                                           QStringLiteral("FOUR")}));
    QCOMPARE(h.listEntries(), h.tabCaptions());
    QCOMPARE(f.navigator->topicTabs->currentIndex(), 3);
    QCOMPARE(f.navigator->topicList->currentRow(), 3);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QString());
    QCOMPARE(f.editors->topicTitleLabel()->text(), QStringLiteral("Fourth "));
    QCOMPARE(base(f.editors->headerEditor()), QColor(255, 0, 0));
    QCOMPARE(base(f.editors->topicEditor()), QColor(0, 255, 0));
    const TopicRecord& added = f.project().topic(3);
    QCOMPARE(added.WindowIndex, 1);
    QVERIFY(added.Keywords.isEmpty());
    QCOMPARE(added.HeaderLen(), 0);
    QCOMPARE(added.BodyLen(), 0);

    h.clickTab(1);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("typed into two"));
    QCOMPARE(base(f.editors->topicEditor()), QColor(0xFF, 0xFF, 0xDC));
}

void MainWindowTopicsTest::cancelledAddKeepsUnstoredEdits()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("ONE"));
    const QByteArray stored = f.project().topic(0).BodyRtf;
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("not stored yet"));
    h.addTopic(QString());
    QCOMPARE(f.project().TopicCount(), 1);
    QCOMPARE(h.tabCaptions(), QStringList{QStringLiteral("ONE")});
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("not stored yet"));
    QCOMPARE(f.project().topic(0).BodyRtf, stored);
}

void MainWindowTopicsTest::deleteSelectsTheRightTopic_data()
{
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("last of four") << 3 << QStringLiteral("C");
    QTest::newRow("second of four") << 1 << QStringLiteral("C");
    QTest::newRow("first of four") << 0 << QStringLiteral("B");
}

void MainWindowTopicsTest::deleteSelectsTheRightTopic()
{
    QFETCH(int, deleted);
    QFETCH(QString, shown);
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("A"), QStringLiteral("Title A"));
    for (const char* id : {"B", "C", "D"})
        h.addTopic(QString::fromLatin1(id), QStringLiteral("Title ") + QString::fromLatin1(id));
    for (int i = 0; i < 4; ++i) {
        h.clickTab(i);
        MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("Text ") + h.tabCaptions().at(i));
    }
    h.clickTab(deleted);
    const QString gone = h.tabCaptions().at(deleted);

    h.prompter.answer(Prompter::Answer::Ok);
    h.click(f.toolBar->button(f.actions->deleteTopic));
    const auto& q = h.prompter.calls().back();
    QCOMPARE(q.text, QStringLiteral("You are about to delete Topic:\r") + gone + QStringLiteral(" - Title ") + gone +
                         QStringLiteral("\rAre you sure?"));
    QCOMPARE(q.caption, QStringLiteral("Delete Topic?"));
    QCOMPARE(q.buttons, Prompter::Buttons::OkCancel);
    QCOMPARE(q.icon, Prompter::Icon::Question);

    QCOMPARE(f.project().TopicCount(), 3);
    QVERIFY(!h.tabCaptions().contains(gone));
    QCOMPARE(h.listEntries(), h.tabCaptions());
    QCOMPARE(f.navigator->topicTabs->tabText(f.navigator->topicTabs->currentIndex()), shown);
    QCOMPARE(f.navigator->topicList->currentRow(), f.navigator->topicTabs->currentIndex());
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("Text ") + shown);
    QCOMPARE(f.editors->topicTitleLabel()->text(), QStringLiteral("Title ") + shown + QLatin1Char(' '));
    QCOMPARE(f.project().findTopic(gone.toLatin1()), -1);
}

void MainWindowTopicsTest::deleteIsRefusedOrCancelled()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("ONLY"));
    h.click(f.toolBar->button(f.actions->deleteTopic));
    QCOMPARE(h.prompter.lastMessage(),
             QStringLiteral("You cannot delete all topics!\rSelect New if you want to start a new project."));
    QCOMPARE(h.prompter.calls().back().buttons, Prompter::Buttons::Ok);
    QCOMPARE(f.project().TopicCount(), 1);

    h.addTopic(QStringLiteral("OTHER"));
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("kept"));
    h.prompter.answer(Prompter::Answer::Cancel);
    h.click(f.toolBar->button(f.actions->deleteTopic));
    QCOMPARE(f.project().TopicCount(), 2);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("kept"));

    // Two topics: deleting the current one leaves the other, shown.
    h.prompter.answer(Prompter::Answer::Ok);
    h.click(f.toolBar->button(f.actions->deleteTopic));
    QCOMPARE(h.tabCaptions(), QStringList{QStringLiteral("ONLY")});
    QCOMPARE(f.navigator->topicTabs->currentIndex(), 0);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QString());
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowTopicsTest::changeTopicPropertiesRenamesAndMoves()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("FIRST"), QStringLiteral("Old title"));
    h.addTopic(QStringLiteral("SECOND"));
    WindowRecord w = WindowRecord::defaultWindow();
    w.Name.setText(QStringLiteral("side"));
    w.TopicColour = 0x00FF0000; // blue
    QVERIFY(f.project().addWindow(w));
    h.clickTab(0);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("unsaved words"));

    h.onTopicDialog({QStringLiteral("renamed"), QStringLiteral("New title"), 1, QStringLiteral("42")});
    h.click(f.toolBar->button(f.actions->topicProperties));
    QVERIFY(!h.refused);
    QCOMPARE(h.dialogTitle, QStringLiteral("Change Topic Properties"));
    QVERIFY(!f.topics->topicPropertiesDialog->adding());
    QCOMPARE(h.dialogWindows, (QStringList{QStringLiteral("main"), QStringLiteral("side")}));
    QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("RENAMED"), QStringLiteral("SECOND")}));
    QCOMPARE(h.listEntries(), h.tabCaptions());
    const TopicRecord& t = f.project().topic(0);
    QCOMPARE(t.TopicID.text(), QStringLiteral("RENAMED"));
    QCOMPARE(t.Title.text(), QStringLiteral("New title"));
    QCOMPARE(t.WindowIndex, 1);
    QVERIFY(t.HasCallId);
    QCOMPARE(t.CallId, 42);
    QCOMPARE(f.editors->topicTitleLabel()->text(), QStringLiteral("New title "));
    QCOMPARE(base(f.editors->topicEditor()), QColor(0, 0, 255));
    // The command stored the editors first; the reload shows the same text.
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("unsaved words"));

    // The dialog is filled from the topic; unchecking the call ID clears it.
    TopicPropertiesDialog* d = f.topics->topicPropertiesDialog;
    QString seenId, seenCall;
    bool seenChecked = false;
    QTimer::singleShot(0, d, [&] {
        seenId = d->topicIdEdit->text();
        seenChecked = d->callIdCheck->isChecked();
        seenCall = d->callIdEdit->text();
        d->callIdCheck->setChecked(false);
        QTest::keyClick(d->topicIdEdit, Qt::Key_Return);
    });
    h.click(f.toolBar->button(f.actions->topicProperties));
    QCOMPARE(seenId, QStringLiteral("RENAMED"));
    QVERIFY(seenChecked);
    QCOMPARE(seenCall, QStringLiteral("42"));
    QVERIFY(!f.project().topic(0).HasCallId);
    QCOMPARE(f.project().topic(0).CallId, 0);

    // An empty Topic ID changes nothing.
    h.onTopicDialog({QString(), QStringLiteral("ignored"), 0, {}});
    h.click(f.toolBar->button(f.actions->topicProperties));
    QCOMPARE(f.project().topic(0).Title.text(), QStringLiteral("New title"));
    QCOMPARE(f.project().topic(0).WindowIndex, 1);
}

void MainWindowTopicsTest::letterCaseOnlyChangeChangesNothing()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("ALPHA"), QStringLiteral("Kept"));
    h.addTopic(QStringLiteral("BETA"));
    h.clickTab(0);
    const int messagesBefore = int(h.prompter.messages().size());
    h.onTopicDialog({QStringLiteral("alpha"), {}, {}, {}});
    h.click(f.toolBar->button(f.actions->topicProperties));
    QVERIFY(!h.refused);
    QCOMPARE(int(h.prompter.messages().size()), messagesBefore); // not its own duplicate
    QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("ALPHA"), QStringLiteral("BETA")}));
    QCOMPARE(f.project().topic(0).TopicID.text(), QStringLiteral("ALPHA"));
    QCOMPARE(f.project().topic(0).Title.text(), QStringLiteral("Kept"));

    // Another topic's ID is refused by the dialog.
    h.onTopicDialog({QStringLiteral("beta"), {}, {}, {}});
    h.click(f.toolBar->button(f.actions->topicProperties));
    QVERIFY(h.refused);
    QVERIFY(h.prompter.lastMessage().startsWith(QStringLiteral("Topic ID beta is already in use by:\r\nBETA - ")));
    QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("ALPHA"), QStringLiteral("BETA")}));
}

void MainWindowTopicsTest::formattingSurvivesSwitching()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("STYLED"));
    typeFormatted(f.editors->headerEditor(), QStringLiteral("Head line one"), QStringLiteral("centred head"));
    typeFormatted(f.editors->topicEditor(), QStringLiteral("Body text here"), QStringLiteral("centred body"));
    const RichDocument header = fromTextDocument(*f.editors->headerEditor()->document());
    const RichDocument body = fromTextDocument(*f.editors->topicEditor()->document());

    h.addTopic(QStringLiteral("PLAIN"));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QString());
    h.clickTab(0);
    checkFormatted(f.editors->headerEditor(), QStringLiteral("Head line one"), QStringLiteral("centred head"));
    checkFormatted(f.editors->topicEditor(), QStringLiteral("Body text here"), QStringLiteral("centred body"));
    QCOMPARE(fromTextDocument(*f.editors->headerEditor()->document()), header);
    QCOMPARE(fromTextDocument(*f.editors->topicEditor()->document()), body);
    // Undo does not reach back into another topic's text.
    QVERIFY(!f.editors->topicEditor()->document()->isUndoAvailable());
}

void MainWindowTopicsTest::menuShortcutsWinOverEditorKeys()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("ONE"));
    h.activate();
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("words"));

    h.onTopicDialog({QStringLiteral("TWO"), {}, {}, {}});
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(h.tabCaptions(), (QStringList{QStringLiteral("ONE"), QStringLiteral("TWO")}));

    h.activate();
    h.prompter.answer(Prompter::Answer::Cancel);
    f.editors->topicEditor()->setFocus();
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(h.prompter.calls().back().caption, QStringLiteral("Delete Topic?"));

    // Ctrl+Shift+S is Save As, also inside the editors.
    h.prompter.path(QString());
    f.editors->topicEditor()->setFocus();
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(h.prompter.calls().back().kind, ScriptedPrompter::Kind::SaveFile);
    QVERIFY(!f.editors->topicEditor()->textCursor().hasSelection());
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowTopicsTest::keywordsTakeOnlyStorableCharacters()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("ONE"));
    // Typed one key at a time, as a keyboard with these characters would.
    f.editors->keywordsEdit()->setFocus();
    for (QChar c : QStringLiteral("caf\u00e9 \u20ac\u2603x"))
        QTest::sendKeyEvent(QTest::Click, f.editors->keywordsEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(f.editors->keywordsEdit()->text(), QStringLiteral("caf\u00e9 \u20acx"));
    h.addTopic(QStringLiteral("TWO"));
    QCOMPARE(f.project().topic(0).Keywords.bytes(), QByteArray("caf\xe9 \x80x"));
}

void MainWindowTopicsTest::fullTopicTableRefusesAnotherTopic()
{
    MainWindowHarness h;
    QStringList ids;
    for (int i = 0; i < Project::TopicSlots; ++i)
        ids.append(QStringLiteral("T%1").arg(i));
    const QString path = h.path(QStringLiteral("full.tsp"));
    MainWindowHarness::writeProject(path, ids);
    h.show();
    MainWindow& f = *h.form;
    f.projectCommands->setPendingOpenPath(path);
    f.projectCommands->openProject();
    QCOMPARE(f.navigator->topicTabs->count(), Project::TopicSlots);
    QCOMPARE(f.navigator->topicList->count(), Project::TopicSlots);
    // Tabs added in one go are laid out at their real sizes.
    QVERIFY(f.navigator->topicTabs->tabRect(0).width() >= f.navigator->topicTabs->fontMetrics().horizontalAdvance(QStringLiteral("T0")));
    QVERIFY(f.navigator->topicTabs->tabRect(1).left() >= f.navigator->topicTabs->tabRect(0).right());

    h.onTopicDialog({QStringLiteral("ONE_MORE"), {}, {}, {}});
    h.click(f.toolBar->button(f.actions->addTopic));
    QTRY_VERIFY(h.refused); // the dialog never opened
    QCOMPARE(h.prompter.lastMessage(), QStringLiteral("You cannot have more than 2049 topics."));
    QCOMPARE(f.project().TopicCount(), Project::TopicSlots);
    QCOMPARE(f.navigator->topicTabs->count(), Project::TopicSlots);
}

// After New and after adding a topic the caret waits in the topic area, so
// the first keystrokes neither get lost nor land in a toolbar box.
void MainWindowTopicsTest::typingGoesIntoTheNewTopic()
{
    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("FIRST"));
    h.activate();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("first words"));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("first words"));
    QCOMPARE(f.formatting->fontCombo()->currentText(), QStringLiteral("Arial"));

    h.addTopic(QStringLiteral("SECOND"));
    h.activate();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("second words"));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("second words"));
    h.clickTab(0);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("first words"));
}

QTEST_MAIN(MainWindowTopicsTest)
#include "test_mainwindow_topics.moc"
