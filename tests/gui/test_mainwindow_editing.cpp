// The formatting toolbar and the Edit commands of the main window, driven
// with clicks and keys: which editor they act on, where the focus goes, the
// toolbar following the caret, refusals of size and indent texts, the
// clipboard keys, and formatting that lives on in the stored topics.

#include "test_mainwindow_editing_support.h"

#include "RichTextAdapter.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QLabel>
#include <QTextBlock>

using namespace ts;
using namespace ts::testing;

class MainWindowEditingTest : public QObject {
    Q_OBJECT

private slots:
    void sizeGoesToTheLastEditorAndTheFocusBack();
    void fontGoesToTheLastEditorWhenTheFocusIsElsewhere();
    void boldAndItalicWhileTyping();
    void unboldingKeepsStrikeOut();
    void sizeAndIndentTextsAreDecimalWholeNumbers();
    void colourDialogStartsOnTheColourAtTheCaret();
    void alignmentFollowsTheCaretAndActsOnTheActiveEditor();
    void toolbarShowsTheTopicOnScreen();
    void indentIsInPointsAndShownBack();
    void showingTheFormatRunsNoHandler();
    void editKeysActOnTheTextInUse();
    void formattingSurvivesSwitchAndReopen();
};

void MainWindowEditingTest::sizeGoesToTheLastEditorAndTheFocusBack()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    MainWindowHarness::typeInto(f.editors->headerEditor(), QStringLiteral("head"));
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("body text"));
    const RichDocument header = fromTextDocument(*f.editors->headerEditor()->document());

    clickInto(f.editors->topicEditor());
    selectByKeys(f.editors->topicEditor(), 0, 4);
    chooseFromList(f.formatting->sizeCombo(), QStringLiteral("12"));

    QVERIFY(f.editors->topicEditor()->hasFocus());
    QCOMPARE(f.editors->topicEditor()->textCursor().selectedText(), QStringLiteral("body"));
    QCOMPARE(charAt(f.editors->topicEditor(), 0).fontPointSize(), 12.0);
    QCOMPARE(charAt(f.editors->topicEditor(), 3).fontPointSize(), 12.0);
    QCOMPARE(charAt(f.editors->topicEditor(), 5).fontPointSize(), 8.0);
    QCOMPARE(fromTextDocument(*f.editors->headerEditor()->document()), header);
    QVERIFY(h.prompter.calls().empty());
}

void MainWindowEditingTest::fontGoesToTheLastEditorWhenTheFocusIsElsewhere()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("body"));
    MainWindowHarness::typeInto(f.editors->headerEditor(), QStringLiteral("head line"));
    const RichDocument body = fromTextDocument(*f.editors->topicEditor()->document());
    selectByKeys(f.editors->headerEditor(), 0, 4);
    QCOMPARE(f.editors->lastUsedArea(), TopicEditorPane::Area::Header);

    QTest::mouseClick(f.editors->keywordsEdit(), Qt::LeftButton);
    QVERIFY(f.editors->keywordsEdit()->hasFocus());
    QCOMPARE(f.editors->areaInUse(), std::optional<TopicEditorPane::Area>());
    const QString face = QStringLiteral("Liberation Serif");
    chooseFromList(f.formatting->fontCombo(), face);

    QVERIFY(f.editors->headerEditor()->hasFocus());
    QCOMPARE(faceOf(charAt(f.editors->headerEditor(), 0)), face);
    QCOMPARE(faceOf(charAt(f.editors->headerEditor(), 3)), face);
    QVERIFY(faceOf(charAt(f.editors->headerEditor(), 5)) != face);
    QCOMPARE(fromTextDocument(*f.editors->topicEditor()->document()), body);
}

void MainWindowEditingTest::boldAndItalicWhileTyping()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    clickInto(f.editors->topicEditor());
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("a"));
    h.click(f.formatting->boldButton());
    QVERIFY(f.formatting->boldButton()->isChecked());
    QVERIFY(f.editors->topicEditor()->hasFocus());
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("bc"));
    QVERIFY(f.formatting->boldButton()->isChecked());
    h.click(f.formatting->italicButton());
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("d"));
    h.click(f.formatting->boldButton());
    QVERIFY(!f.formatting->boldButton()->isChecked());
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("e"));
    QVERIFY(!f.formatting->boldButton()->isChecked());
    QVERIFY(f.formatting->italicButton()->isChecked());

    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("abcde"));
    const auto bold = [&](int i) { return charAt(f.editors->topicEditor(), i).fontWeight() >= QFont::DemiBold; };
    const auto italic = [&](int i) { return charAt(f.editors->topicEditor(), i).fontItalic(); };
    QVERIFY(!bold(0) && bold(1) && bold(2) && bold(3) && !bold(4));
    QVERIFY(!italic(2) && italic(3) && italic(4));
}

void MainWindowEditingTest::unboldingKeepsStrikeOut()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("see Intro-->INTRO now"));
    // A hotspot as link insertion leaves it: bold and struck out.
    QTextCursor c(f.editors->topicEditor()->document());
    c.setPosition(4);
    c.setPosition(16, QTextCursor::KeepAnchor);
    QTextCharFormat link;
    link.setFontWeight(QFont::Bold);
    link.setFontStrikeOut(true);
    c.mergeCharFormat(link);

    selectByKeys(f.editors->topicEditor(), 4, 16);
    QVERIFY(f.formatting->boldButton()->isChecked());
    h.click(f.formatting->boldButton());
    for (int i = 4; i < 16; ++i) {
        QCOMPARE(charAt(f.editors->topicEditor(), i).fontWeight(), int(QFont::Normal));
        QVERIFY(charAt(f.editors->topicEditor(), i).fontStrikeOut());
    }
    QVERIFY(!charAt(f.editors->topicEditor(), 17).fontStrikeOut());
}

void MainWindowEditingTest::sizeAndIndentTextsAreDecimalWholeNumbers()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("body text"));
    selectByKeys(f.editors->topicEditor(), 0, 4);

    // Each digit applies at once; the focus stays in the box so that the
    // next digit does not replace the selected text; Enter hands it back.
    typeIntoCombo(f.formatting->sizeCombo(), QStringLiteral("1"));
    QCOMPARE(charAt(f.editors->topicEditor(), 0).fontPointSize(), 1.0);
    QTest::keyClicks(f.formatting->sizeCombo()->lineEdit(), QStringLiteral("8"));
    QCOMPARE(charAt(f.editors->topicEditor(), 0).fontPointSize(), 18.0);
    QCOMPARE(charAt(f.editors->topicEditor(), 3).fontPointSize(), 18.0);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("body text"));
    QVERIFY(f.formatting->sizeCombo()->lineEdit()->hasFocus());
    QTest::keyClick(f.formatting->sizeCombo()->lineEdit(), Qt::Key_Return);
    QVERIFY(f.editors->topicEditor()->hasFocus());
    QCOMPARE(f.editors->topicEditor()->textCursor().selectedText(), QStringLiteral("body"));
    QVERIFY(h.prompter.calls().empty());

    // Emptying the box is refused; the focus stays for the correction.
    const RichDocument before = fromTextDocument(*f.editors->topicEditor()->document());
    typeIntoCombo(f.formatting->sizeCombo(), QString());
    QTest::keyClick(f.formatting->sizeCombo()->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(h.prompter.messages(), QStringList{QStringLiteral("'' is not a valid integer value")});
    QVERIFY(f.formatting->sizeCombo()->lineEdit()->hasFocus());

    // The size box wants decimal digits; the indent box the same.
    h.prompter.reset();
    QTest::keyClicks(f.formatting->sizeCombo()->lineEdit(), QStringLiteral("$"));
    typeIntoCombo(f.formatting->indentCombo(), QStringLiteral("x"));
    QCOMPARE(h.prompter.messages(), (QStringList{QStringLiteral("'$' is not a valid integer value"),
                                                 QStringLiteral("'x' is not a valid integer value")}));
    QCOMPARE(h.prompter.calls().front().caption, QStringLiteral("Topicsmith"));
    QVERIFY(f.formatting->indentCombo()->lineEdit()->hasFocus());
    QCOMPARE(fromTextDocument(*f.editors->topicEditor()->document()), before);

    // Values no editor can show are held to the nearest sensible one rather
    // than taken as they stand.
    selectByKeys(f.editors->topicEditor(), 0, 4);
    typeIntoCombo(f.formatting->sizeCombo(), QStringLiteral("0"));
    QCOMPARE(charAt(f.editors->topicEditor(), 0).fontPointSize(), 1.0);
    typeIntoCombo(f.formatting->sizeCombo(), QStringLiteral("99999"));
    QCOMPARE(charAt(f.editors->topicEditor(), 0).fontPointSize(), 1638.0);
    chooseFromList(f.formatting->indentCombo(), QStringLiteral("10"));
    QCOMPARE(blockFormat(f.editors->topicEditor(), 0).leftMargin(), twipsToPixels(200));
    // "-" alone is refused; "-5" would put the text left of the page.
    typeIntoCombo(f.formatting->indentCombo(), QStringLiteral("-"));
    QCOMPARE(h.prompter.lastMessage(), QStringLiteral("'-' is not a valid integer value"));
    QTest::keyClicks(f.formatting->indentCombo()->lineEdit(), QStringLiteral("5"));
    QCOMPARE(blockFormat(f.editors->topicEditor(), 0).leftMargin(), 0.0);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("body text"));
}

void MainWindowEditingTest::colourDialogStartsOnTheColourAtTheCaret()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("red words"));
    selectByKeys(f.editors->topicEditor(), 0, 3);

    h.prompter.colour(0x0000FF); // 0x00BBGGRR: red
    QTest::mouseClick(f.formatting->colourSwatch(), Qt::LeftButton);
    QCOMPARE(h.prompter.calls().back().colour, 0u);
    QCOMPARE(charAt(f.editors->topicEditor(), 0).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(charAt(f.editors->topicEditor(), 2).foreground().color(), QColor(255, 0, 0));
    QVERIFY(!charAt(f.editors->topicEditor(), 4).hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(swatch(f), QColor(255, 0, 0));
    QVERIFY(f.editors->topicEditor()->hasFocus());

    // The caption above the swatch opens it too, on the colour the swatch
    // shows, that of the text at the caret; Cancel changes nothing.
    selectByKeys(f.editors->topicEditor(), 0, 2);
    h.prompter.colour(std::nullopt);
    QTest::mouseClick(f.formatting->colourLabel(), Qt::LeftButton);
    QCOMPARE(h.prompter.calls().back().colour, 0x0000FFu);
    selectByKeys(f.editors->topicEditor(), 4, 9);
    QCOMPARE(swatch(f), QApplication::palette().color(QPalette::Text));
    const RichDocument before = fromTextDocument(*f.editors->topicEditor()->document());
    h.prompter.colour(std::nullopt);
    QTest::mouseClick(f.formatting->colourLabel(), Qt::LeftButton);
    const QColor text = QApplication::palette().color(QPalette::Text);
    QCOMPARE(h.prompter.calls().back().colour,
             std::uint32_t(text.red()) | std::uint32_t(text.green()) << 8 | std::uint32_t(text.blue()) << 16);
    QCOMPARE(fromTextDocument(*f.editors->topicEditor()->document()), before);
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowEditingTest::alignmentFollowsTheCaretAndActsOnTheActiveEditor()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("left"));
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Return);
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("centred"));
    h.click(f.formatting->centreButton());
    QCOMPARE(alignment(f.editors->topicEditor(), 1), Qt::AlignHCenter);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Return);
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("right"));
    // A right-aligned paragraph, as pasted text brings it.
    QTextCursor(f.editors->topicEditor()->document()->lastBlock()).mergeBlockFormat([] {
        QTextBlockFormat b;
        b.setAlignment(Qt::AlignRight);
        return b;
    }());

    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Up);
    QVERIFY(f.formatting->centreButton()->isChecked());
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Down);
    QVERIFY(f.formatting->leftAlignButton()->isChecked());
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Up);
    QVERIFY(f.formatting->centreButton()->isChecked());
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Up);
    QVERIFY(f.formatting->leftAlignButton()->isChecked());

    // With the focus in the keywords the buttons change no paragraph.
    QTest::mouseClick(f.editors->keywordsEdit(), Qt::LeftButton);
    h.click(f.formatting->centreButton());
    QCOMPARE(alignment(f.editors->topicEditor(), 0), Qt::AlignLeft);
    QVERIFY(f.formatting->centreButton()->isChecked());
}

// The toolbar shows the format at the caret of the topic the window shows,
// as soon as it is shown: clicking into it changes nothing there.
void MainWindowEditingTest::toolbarShowsTheTopicOnScreen()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("centred"));
    h.click(f.formatting->centreButton());
    selectByKeys(f.editors->topicEditor(), 0, 7);
    chooseFromList(f.formatting->sizeCombo(), QStringLiteral("14"));
    const auto shown = [&f] {
        return QStringList{f.formatting->fontCombo()->currentText(), f.formatting->sizeCombo()->currentText(),
                           f.formatting->centreButton()->isChecked() ? QStringLiteral("centre") : QStringLiteral("left")};
    };

    h.addTopic(QStringLiteral("TWO"));
    h.activate();
    const QStringList fresh = shown();
    QCOMPARE(fresh.at(2), QStringLiteral("left"));
    clickInto(f.editors->topicEditor());
    QCOMPARE(shown(), fresh);

    // Back by the topic list, the focus staying there.
    h.clickListEntry(0);
    QVERIFY(f.navigator->topicList->hasFocus());
    QCOMPARE(shown().mid(1), (QStringList{QStringLiteral("14"), QStringLiteral("centre")}));
    h.clickListEntry(1);
    QCOMPARE(shown(), fresh);
}

void MainWindowEditingTest::indentIsInPointsAndShownBack()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("one"));
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Return);
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("two"));
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Return);
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("three"));
    // "one" and "two" selected.
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Right, Qt::ShiftModifier);

    chooseFromList(f.formatting->indentCombo(), QStringLiteral("20"));
    QVERIFY(f.editors->topicEditor()->hasFocus());
    QCOMPARE(blockFormat(f.editors->topicEditor(), 0).leftMargin(), twipsToPixels(400));
    QCOMPARE(blockFormat(f.editors->topicEditor(), 1).leftMargin(), twipsToPixels(400));
    QCOMPARE(blockFormat(f.editors->topicEditor(), 2).leftMargin(), 0.0);

    const RichDocument stored = fromTextDocument(*f.editors->topicEditor()->document());
    QCOMPARE(stored.Paragraphs.at(0).LeftIndent, 400);
    QCOMPARE(stored.Paragraphs.at(1).LeftIndent, 400);
    QCOMPARE(stored.Paragraphs.at(2).LeftIndent, 0);

    QTest::keyClick(f.editors->topicEditor(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f.formatting->indentCombo()->currentText(), QStringLiteral("0"));
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Up);
    QCOMPARE(f.formatting->indentCombo()->currentText(), QStringLiteral("20"));
    // Typed, not chosen: applied as it stands at every keystroke.
    typeIntoCombo(f.formatting->indentCombo(), QStringLiteral("7"));
    QCOMPARE(blockFormat(f.editors->topicEditor(), 1).leftMargin(), twipsToPixels(140));
    QTest::keyClicks(f.formatting->indentCombo()->lineEdit(), QStringLiteral("5"));
    QCOMPARE(fromTextDocument(*f.editors->topicEditor()->document()).Paragraphs.at(1).LeftIndent, 1500);
    QTest::keyClick(f.formatting->indentCombo()->lineEdit(), Qt::Key_Enter);
    QVERIFY(f.editors->topicEditor()->hasFocus());
}

void MainWindowEditingTest::showingTheFormatRunsNoHandler()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    MainWindowHarness::typeInto(f.editors->headerEditor(), QStringLiteral("first"));
    QTest::keyClick(f.editors->headerEditor(), Qt::Key_Return);
    QTest::keyClicks(f.editors->headerEditor(), QStringLiteral("second"));
    // "first" bold italic Courier 14 indented 20; "second" as typed.
    QTextCursor c(f.editors->headerEditor()->document());
    c.setPosition(0);
    c.setPosition(5, QTextCursor::KeepAnchor);
    QTextCharFormat strong;
    strong.setFontWeight(QFont::Bold);
    strong.setFontItalic(true);
    strong.setFontPointSize(14);
    strong.setFontFamilies({QStringLiteral("Liberation Mono")});
    c.mergeCharFormat(strong);
    QTextBlockFormat indented;
    indented.setLeftMargin(twipsToPixels(400));
    c.mergeBlockFormat(indented);
    const RichDocument before = fromTextDocument(*f.editors->headerEditor()->document());

    // A selection growing from the plain paragraph back into the strong run
    // shows the format of its start; none of it may be applied to the rest.
    QTest::keyClick(f.editors->headerEditor(), Qt::Key_End, Qt::ControlModifier);
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(f.editors->headerEditor(), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(f.editors->headerEditor()->textCursor().selectionStart(), 3);
    QCOMPARE(f.formatting->sizeCombo()->currentText(), QStringLiteral("14"));
    QCOMPARE(f.formatting->fontCombo()->currentText(), QStringLiteral("Liberation Mono"));
    QCOMPARE(f.formatting->indentCombo()->currentText(), QStringLiteral("20"));
    QVERIFY(f.formatting->boldButton()->isChecked());
    QVERIFY(f.formatting->italicButton()->isChecked());
    QCOMPARE(fromTextDocument(*f.editors->headerEditor()->document()), before);

    QTest::keyClick(f.editors->headerEditor(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f.formatting->sizeCombo()->currentText(), QStringLiteral("8"));
    QCOMPARE(f.formatting->indentCombo()->currentText(), QStringLiteral("0"));
    QVERIFY(!f.formatting->boldButton()->isChecked());
    QCOMPARE(fromTextDocument(*f.editors->headerEditor()->document()), before);
    QVERIFY(f.editors->headerEditor()->hasFocus());
    QVERIFY(h.prompter.calls().empty());
}

// The Edit menu's keys act on the text the user is in, the keywords field
// included, as in any program of the desktop; elsewhere they change no text.
void MainWindowEditingTest::editKeysActOnTheTextInUse()
{
    MainWindowHarness h;
    MainWindow& f = withProject(h);
    QClipboard* clipboard = QGuiApplication::clipboard();
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("alpha beta"));
    MainWindowHarness::typeInto(f.editors->keywordsEdit(), QStringLiteral("keywords"));

    QLineEdit* keywords = f.editors->keywordsEdit();
    keywords->deselect();
    QTest::keyClick(keywords, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(keywords->selectedText(), QStringLiteral("keywords"));
    QTest::keyClick(keywords, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("keywords"));
    QTest::keyClick(keywords, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(keywords->text(), QString());
    QTest::keyClick(keywords, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(keywords, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(keywords->text(), QStringLiteral("keywordskeywords"));
    f.actions->undo->trigger();
    QCOMPARE(keywords->text(), QStringLiteral("keywords"));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("alpha beta"));
    clipboard->setText(QStringLiteral("before"));
    f.navigator->topicList->setFocus();
    QTest::keyClick(f.navigator->topicList, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("before"));

    // Undo and Redo, from the menu and by their keys, in the editor in use.
    clickInto(f.editors->topicEditor());
    selectByKeys(f.editors->topicEditor(), 6, 10);
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("BETA"));
    const QString before = QStringLiteral("alpha beta"), after = QStringLiteral("alpha BETA");
    f.actions->undo->trigger();
    QCOMPARE(f.editors->topicEditor()->toPlainText(), before);
    f.actions->redo->trigger();
    QCOMPARE(f.editors->topicEditor()->toPlainText(), after);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), before);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), after);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), after);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(f.editors->topicEditor()->textCursor().selectedText(), after);
    f.actions->undo->trigger();
    QCOMPARE(f.editors->topicEditor()->toPlainText(), before);

    // In the editors the keys cut, copy and paste with the formatting.
    clickInto(f.editors->topicEditor());
    selectByKeys(f.editors->topicEditor(), 0, 5);
    h.click(f.formatting->boldButton());
    selectByKeys(f.editors->topicEditor(), 0, 5);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("alpha"));
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_End);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("alpha betaalpha"));
    QVERIFY(charAt(f.editors->topicEditor(), 12).fontWeight() >= QFont::DemiBold);
    selectByKeys(f.editors->topicEditor(), 5, 10);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("alphaalpha"));
    QCOMPARE(clipboard->text(), QStringLiteral(" beta"));

    // The toolbar buttons and the menu do the same on the active editor.
    clickInto(f.editors->headerEditor());
    h.click(f.toolBar->button(f.actions->paste));
    QCOMPARE(f.editors->headerEditor()->toPlainText(), QStringLiteral(" beta"));
    f.actions->selectAll->trigger();
    QCOMPARE(f.editors->headerEditor()->textCursor().selectedText(), QStringLiteral(" beta"));
    h.click(f.toolBar->button(f.actions->cut));
    QCOMPARE(f.editors->headerEditor()->toPlainText(), QString());
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowEditingTest::formattingSurvivesSwitchAndReopen()
{
    const QString face = QStringLiteral("Liberation Serif");
    const auto check = [&](const MainWindow& f) {
        QCOMPARE(f.editors->headerEditor()->toPlainText(), QStringLiteral("Heading"));
        QCOMPARE(faceOf(charAt(f.editors->headerEditor(), 0)), face);
        QCOMPARE(charAt(f.editors->headerEditor(), 0).fontPointSize(), 16.0);
        QCOMPARE(alignment(f.editors->headerEditor(), 0), Qt::AlignHCenter);
        QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("plain bold red\nindented italic"));
        QCOMPARE(charAt(f.editors->topicEditor(), 0).fontWeight(), int(QFont::Normal));
        QCOMPARE(charAt(f.editors->topicEditor(), 6).fontWeight(), int(QFont::Bold));
        QCOMPARE(charAt(f.editors->topicEditor(), 11).foreground().color(), QColor(0, 128, 0));
        QVERIFY(!charAt(f.editors->topicEditor(), 6).hasProperty(QTextFormat::ForegroundBrush));
        QCOMPARE(blockFormat(f.editors->topicEditor(), 1).leftMargin(), twipsToPixels(300));
        QCOMPARE(blockFormat(f.editors->topicEditor(), 0).leftMargin(), 0.0);
        QVERIFY(charAt(f.editors->topicEditor(), 24).fontItalic());
        QVERIFY(!charAt(f.editors->topicEditor(), 15).fontItalic());
    };

    MainWindowHarness h;
    h.show();
    MainWindow& f = *h.form;
    h.newProject(QStringLiteral("STYLED"));
    h.activate();
    QVERIFY(f.formatting->fontCombo()->findText(face) >= 0);

    MainWindowHarness::typeInto(f.editors->headerEditor(), QStringLiteral("Heading"));
    selectByKeys(f.editors->headerEditor(), 0, 7);
    chooseFromList(f.formatting->fontCombo(), face);
    chooseFromList(f.formatting->sizeCombo(), QStringLiteral("16"));
    h.click(f.formatting->centreButton());

    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("plain "));
    h.click(f.formatting->boldButton());
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("bold"));
    h.click(f.formatting->boldButton());
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral(" red"));
    selectByKeys(f.editors->topicEditor(), 11, 14);
    h.prompter.colour(0x008000);
    QTest::mouseClick(f.formatting->colourSwatch(), Qt::LeftButton);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Return);
    chooseFromList(f.formatting->indentCombo(), QStringLiteral("15"));
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("indented "));
    h.click(f.formatting->italicButton());
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("italic"));
    check(f);

    h.addTopic(QStringLiteral("OTHER"));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QString());
    h.clickTab(0);
    check(f);
    h.activate();
    clickInto(f.editors->topicEditor());
    QCOMPARE(f.formatting->indentCombo()->currentText(), QStringLiteral("15"));

    const QString path = h.path(QStringLiteral("styled.tsp"));
    h.prompter.path(path);
    h.click(f.toolBar->button(f.actions->saveProject));
    QVERIFY(QFile::exists(path));
    QVERIFY(!h.prompter.unexpectedCall());

    MainWindowHarness again;
    again.show();
    again.form->projectCommands->setPendingOpenPath(path);
    again.form->projectCommands->openProject();
    QCOMPARE(again.tabCaptions(), (QStringList{QStringLiteral("STYLED"), QStringLiteral("OTHER")}));
    again.clickTab(0);
    check(*again.form);
    again.activate();
    clickInto(again.form->editors->topicEditor());
    QCOMPARE(again.form->formatting->indentCombo()->currentText(), QStringLiteral("15"));
    QVERIFY(again.form->formatting->italicButton()->isChecked());
}

QTEST_MAIN(MainWindowEditingTest)
#include "test_mainwindow_editing.moc"
