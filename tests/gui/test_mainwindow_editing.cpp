// The formatting toolbar and the Edit commands of the main window, driven
// with clicks and keys: which editor they act on, where the focus goes, the
// toolbar following the caret, refusals of size and indent texts, the
// clipboard keys, and formatting that lives on in the stored topics.

#include "test_mainwindow_support.h"

#include "RichTextAdapter.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QLabel>
#include <QTextBlock>

using namespace ts;
using namespace ts::testing;

namespace {

// The format of the character at `position` (0-based) of the plain text.
QTextCharFormat charAt(const QTextEdit* editor, int position)
{
    QTextCursor c(editor->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

QTextBlockFormat blockFormat(const QTextEdit* editor, int block)
{
    return editor->document()->findBlockByNumber(block).blockFormat();
}

Qt::Alignment alignment(const QTextEdit* editor, int block)
{
    return blockFormat(editor, block).alignment() & Qt::AlignHorizontal_Mask;
}

// A mouse click into the editor's empty lower right corner: the caret goes
// to the end of the text.
void clickInto(QTextEdit* editor)
{
    QWidget* v = editor->viewport();
    QTest::mouseClick(v, Qt::LeftButton, {}, QPoint(v->width() - 4, v->height() - 4));
    QVERIFY(editor->hasFocus());
}

// Selects characters [from, to) of the current paragraph-free text with the
// keyboard.
void selectByKeys(QTextEdit* editor, int from, int to)
{
    QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < from; ++i)
        QTest::keyClick(editor, Qt::Key_Right);
    for (int i = from; i < to; ++i)
        QTest::keyClick(editor, Qt::Key_Right, Qt::ShiftModifier);
}

void clickCombo(QComboBox* combo)
{
    QTest::mouseClick(combo->lineEdit(), Qt::LeftButton);
    QVERIFY(combo->lineEdit()->hasFocus());
}

// Opens the drop-down list and clicks the entry `text`.
void chooseFromList(QComboBox* combo, const QString& text)
{
    clickCombo(combo);
    const int row = combo->findText(text);
    QVERIFY2(row >= 0, qPrintable(text));
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(combo->currentText(), text);
}

// Replaces the text of the combo box with `keys`, typed one by one.
void typeIntoCombo(QComboBox* combo, const QString& keys)
{
    clickCombo(combo);
    QTest::keyClick(combo->lineEdit(), Qt::Key_End);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClicks(combo->lineEdit(), keys);
}

// The window with a new project of one topic, active.
TGlavniForm& withProject(MainWindowHarness& h)
{
    h.show();
    h.newProject(QStringLiteral("ONE"));
    h.activate();
    return *h.form;
}

QString faceOf(const QTextCharFormat& f)
{
    const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() ? QString() : families.front();
}

QColor swatch(const TGlavniForm& f)
{
    return f.Panel6->palette().color(QPalette::Window);
}

} // namespace

class MainWindowEditingTest : public QObject {
    Q_OBJECT

private slots:
    void sizeGoesToTheLastEditorAndTheFocusBack();
    void fontGoesToTheLastEditorWhenTheFocusIsElsewhere();
    void boldAndItalicWhileTyping();
    void unboldingKeepsStrikeOut();
    void sizeAndIndentTextsAreDecimalWholeNumbers();
    void colourDialogStartsOnTheLastColour();
    void alignmentFollowsTheCaretAndActsOnTheActiveEditor();
    void indentIsInPointsAndShownBack();
    void showingTheFormatRunsNoHandler();
    void clipboardKeysActOnTheEditorsOnly();
    void formattingSurvivesSwitchAndReopen();
};

void MainWindowEditingTest::sizeGoesToTheLastEditorAndTheFocusBack()
{
    MainWindowHarness h;
    TGlavniForm& f = withProject(h);
    MainWindowHarness::typeInto(f.Header, QStringLiteral("head"));
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("body text"));
    const RichDocument header = FromTextDocument(*f.Header->document());

    clickInto(f.TopicText);
    selectByKeys(f.TopicText, 0, 4);
    chooseFromList(f.FSize, QStringLiteral("12"));

    QVERIFY(f.TopicText->hasFocus());
    QCOMPARE(f.TopicText->textCursor().selectedText(), QStringLiteral("body"));
    QCOMPARE(charAt(f.TopicText, 0).fontPointSize(), 12.0);
    QCOMPARE(charAt(f.TopicText, 3).fontPointSize(), 12.0);
    QCOMPARE(charAt(f.TopicText, 5).fontPointSize(), 8.0);
    QCOMPARE(FromTextDocument(*f.Header->document()), header);
    QVERIFY(h.prompter.calls().empty());
}

void MainWindowEditingTest::fontGoesToTheLastEditorWhenTheFocusIsElsewhere()
{
    MainWindowHarness h;
    TGlavniForm& f = withProject(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("body"));
    MainWindowHarness::typeInto(f.Header, QStringLiteral("head line"));
    const RichDocument body = FromTextDocument(*f.TopicText->document());
    selectByKeys(f.Header, 0, 4);
    QCOMPARE(f.LastUsedEditor(), f.Header);

    QTest::mouseClick(f.Edit1, Qt::LeftButton);
    QVERIFY(f.Edit1->hasFocus());
    QCOMPARE(f.ActiveEditor(), nullptr);
    const QString face = QStringLiteral("Liberation Serif");
    chooseFromList(f.FontCombo, face);

    QVERIFY(f.Header->hasFocus());
    QCOMPARE(faceOf(charAt(f.Header, 0)), face);
    QCOMPARE(faceOf(charAt(f.Header, 3)), face);
    QVERIFY(faceOf(charAt(f.Header, 5)) != face);
    QCOMPARE(FromTextDocument(*f.TopicText->document()), body);
}

void MainWindowEditingTest::boldAndItalicWhileTyping()
{
    MainWindowHarness h;
    TGlavniForm& f = withProject(h);
    clickInto(f.TopicText);
    QTest::keyClicks(f.TopicText, QStringLiteral("a"));
    h.click(f.FBold);
    QVERIFY(f.FBold->isChecked());
    QVERIFY(f.TopicText->hasFocus());
    QTest::keyClicks(f.TopicText, QStringLiteral("bc"));
    QVERIFY(f.FBold->isChecked());
    h.click(f.Fitalic);
    QTest::keyClicks(f.TopicText, QStringLiteral("d"));
    h.click(f.FBold);
    QVERIFY(!f.FBold->isChecked());
    QTest::keyClicks(f.TopicText, QStringLiteral("e"));
    QVERIFY(!f.FBold->isChecked());
    QVERIFY(f.Fitalic->isChecked());

    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("abcde"));
    const auto bold = [&](int i) { return charAt(f.TopicText, i).fontWeight() >= QFont::DemiBold; };
    const auto italic = [&](int i) { return charAt(f.TopicText, i).fontItalic(); };
    QVERIFY(!bold(0) && bold(1) && bold(2) && bold(3) && !bold(4));
    QVERIFY(!italic(2) && italic(3) && italic(4));
}

void MainWindowEditingTest::unboldingKeepsStrikeOut()
{
    MainWindowHarness h;
    TGlavniForm& f = withProject(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("see Intro-->INTRO now"));
    // A hotspot as link insertion leaves it: bold and struck out.
    QTextCursor c(f.TopicText->document());
    c.setPosition(4);
    c.setPosition(16, QTextCursor::KeepAnchor);
    QTextCharFormat link;
    link.setFontWeight(QFont::Bold);
    link.setFontStrikeOut(true);
    c.mergeCharFormat(link);

    selectByKeys(f.TopicText, 4, 16);
    QVERIFY(f.FBold->isChecked());
    h.click(f.FBold);
    for (int i = 4; i < 16; ++i) {
        QCOMPARE(charAt(f.TopicText, i).fontWeight(), int(QFont::Normal));
        QVERIFY(charAt(f.TopicText, i).fontStrikeOut());
    }
    QVERIFY(!charAt(f.TopicText, 17).fontStrikeOut());
}

void MainWindowEditingTest::sizeAndIndentTextsAreDecimalWholeNumbers()
{
    MainWindowHarness h;
    TGlavniForm& f = withProject(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("body text"));
    selectByKeys(f.TopicText, 0, 4);

    // Each digit applies at once; the focus stays in the box so that the
    // next digit does not replace the selected text; Enter hands it back.
    typeIntoCombo(f.FSize, QStringLiteral("1"));
    QCOMPARE(charAt(f.TopicText, 0).fontPointSize(), 1.0);
    QTest::keyClicks(f.FSize->lineEdit(), QStringLiteral("8"));
    QCOMPARE(charAt(f.TopicText, 0).fontPointSize(), 18.0);
    QCOMPARE(charAt(f.TopicText, 3).fontPointSize(), 18.0);
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("body text"));
    QVERIFY(f.FSize->lineEdit()->hasFocus());
    QTest::keyClick(f.FSize->lineEdit(), Qt::Key_Return);
    QVERIFY(f.TopicText->hasFocus());
    QCOMPARE(f.TopicText->textCursor().selectedText(), QStringLiteral("body"));
    QVERIFY(h.prompter.calls().empty());

    // Emptying the box is refused; the focus stays for the correction.
    const RichDocument before = FromTextDocument(*f.TopicText->document());
    typeIntoCombo(f.FSize, QString());
    QTest::keyClick(f.FSize->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(h.prompter.messages(), QStringList{QStringLiteral("'' is not a valid integer value")});
    QVERIFY(f.FSize->lineEdit()->hasFocus());

    // The size box wants decimal digits; the indent box the same.
    h.prompter.reset();
    QTest::keyClicks(f.FSize->lineEdit(), QStringLiteral("$"));
    typeIntoCombo(f.IndentCombo, QStringLiteral("x"));
    QCOMPARE(h.prompter.messages(), (QStringList{QStringLiteral("'$' is not a valid integer value"),
                                                 QStringLiteral("'x' is not a valid integer value")}));
    QCOMPARE(h.prompter.calls().front().caption, QStringLiteral("Topicsmith"));
    QVERIFY(f.IndentCombo->lineEdit()->hasFocus());
    QCOMPARE(FromTextDocument(*f.TopicText->document()), before);

    // Values no editor can show are held to the nearest sensible one rather
    // than taken as they stand.
    selectByKeys(f.TopicText, 0, 4);
    typeIntoCombo(f.FSize, QStringLiteral("0"));
    QCOMPARE(charAt(f.TopicText, 0).fontPointSize(), 1.0);
    typeIntoCombo(f.FSize, QStringLiteral("99999"));
    QCOMPARE(charAt(f.TopicText, 0).fontPointSize(), 1638.0);
    chooseFromList(f.IndentCombo, QStringLiteral("10"));
    QCOMPARE(blockFormat(f.TopicText, 0).leftMargin(), TwipsToPixels(200));
    // "-" alone is refused; "-5" would put the text left of the page.
    typeIntoCombo(f.IndentCombo, QStringLiteral("-"));
    QCOMPARE(h.prompter.lastMessage(), QStringLiteral("'-' is not a valid integer value"));
    QTest::keyClicks(f.IndentCombo->lineEdit(), QStringLiteral("5"));
    QCOMPARE(blockFormat(f.TopicText, 0).leftMargin(), 0.0);
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("body text"));
}

void MainWindowEditingTest::colourDialogStartsOnTheLastColour()
{
    MainWindowHarness h;
    TGlavniForm& f = withProject(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("red words"));
    selectByKeys(f.TopicText, 0, 3);

    h.prompter.color(0x0000FF); // 0x00BBGGRR: red
    QTest::mouseClick(f.Panel6, Qt::LeftButton);
    QCOMPARE(h.prompter.calls().back().color, 0u);
    QCOMPARE(charAt(f.TopicText, 0).foreground().color(), QColor(255, 0, 0));
    QCOMPARE(charAt(f.TopicText, 2).foreground().color(), QColor(255, 0, 0));
    QVERIFY(!charAt(f.TopicText, 4).hasProperty(QTextFormat::ForegroundBrush));
    QCOMPARE(swatch(f), QColor(255, 0, 0));
    QVERIFY(f.TopicText->hasFocus());

    // The caption above the swatch opens it too, on the colour of last time;
    // Cancel changes nothing.
    selectByKeys(f.TopicText, 4, 9);
    QCOMPARE(swatch(f), QApplication::palette().color(QPalette::Text));
    const RichDocument before = FromTextDocument(*f.TopicText->document());
    h.prompter.color(std::nullopt);
    QTest::mouseClick(f.Panel7, Qt::LeftButton);
    QCOMPARE(h.prompter.calls().back().color, 0x0000FFu);
    QCOMPARE(FromTextDocument(*f.TopicText->document()), before);
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowEditingTest::alignmentFollowsTheCaretAndActsOnTheActiveEditor()
{
    MainWindowHarness h;
    TGlavniForm& f = withProject(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("left"));
    QTest::keyClick(f.TopicText, Qt::Key_Return);
    QTest::keyClicks(f.TopicText, QStringLiteral("centred"));
    h.click(f.CenterButton);
    QCOMPARE(alignment(f.TopicText, 1), Qt::AlignHCenter);
    QTest::keyClick(f.TopicText, Qt::Key_Return);
    QTest::keyClicks(f.TopicText, QStringLiteral("right"));
    // A right-aligned paragraph, as pasted text brings it.
    QTextCursor(f.TopicText->document()->lastBlock()).mergeBlockFormat([] {
        QTextBlockFormat b;
        b.setAlignment(Qt::AlignRight);
        return b;
    }());

    QTest::keyClick(f.TopicText, Qt::Key_Up);
    QVERIFY(f.CenterButton->isChecked());
    QTest::keyClick(f.TopicText, Qt::Key_Down);
    QVERIFY(f.LeftButton->isChecked());
    QTest::keyClick(f.TopicText, Qt::Key_Up);
    QVERIFY(f.CenterButton->isChecked());
    QTest::keyClick(f.TopicText, Qt::Key_Up);
    QVERIFY(f.LeftButton->isChecked());

    // With the focus in the keywords the buttons change no paragraph.
    QTest::mouseClick(f.Edit1, Qt::LeftButton);
    h.click(f.CenterButton);
    QCOMPARE(alignment(f.TopicText, 0), Qt::AlignLeft);
    QVERIFY(f.CenterButton->isChecked());
}

void MainWindowEditingTest::indentIsInPointsAndShownBack()
{
    MainWindowHarness h;
    TGlavniForm& f = withProject(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("one"));
    QTest::keyClick(f.TopicText, Qt::Key_Return);
    QTest::keyClicks(f.TopicText, QStringLiteral("two"));
    QTest::keyClick(f.TopicText, Qt::Key_Return);
    QTest::keyClicks(f.TopicText, QStringLiteral("three"));
    // "one" and "two" selected.
    QTest::keyClick(f.TopicText, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(f.TopicText, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(f.TopicText, Qt::Key_Right, Qt::ShiftModifier);

    chooseFromList(f.IndentCombo, QStringLiteral("20"));
    QVERIFY(f.TopicText->hasFocus());
    QCOMPARE(blockFormat(f.TopicText, 0).leftMargin(), TwipsToPixels(400));
    QCOMPARE(blockFormat(f.TopicText, 1).leftMargin(), TwipsToPixels(400));
    QCOMPARE(blockFormat(f.TopicText, 2).leftMargin(), 0.0);

    const RichDocument stored = FromTextDocument(*f.TopicText->document());
    QCOMPARE(stored.Paragraphs.at(0).LeftIndent, 400);
    QCOMPARE(stored.Paragraphs.at(1).LeftIndent, 400);
    QCOMPARE(stored.Paragraphs.at(2).LeftIndent, 0);

    QTest::keyClick(f.TopicText, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f.IndentCombo->currentText(), QStringLiteral("0"));
    QTest::keyClick(f.TopicText, Qt::Key_Up);
    QCOMPARE(f.IndentCombo->currentText(), QStringLiteral("20"));
    // Typed, not chosen: applied as it stands at every keystroke.
    typeIntoCombo(f.IndentCombo, QStringLiteral("7"));
    QCOMPARE(blockFormat(f.TopicText, 1).leftMargin(), TwipsToPixels(140));
    QTest::keyClicks(f.IndentCombo->lineEdit(), QStringLiteral("5"));
    QCOMPARE(FromTextDocument(*f.TopicText->document()).Paragraphs.at(1).LeftIndent, 1500);
    QTest::keyClick(f.IndentCombo->lineEdit(), Qt::Key_Enter);
    QVERIFY(f.TopicText->hasFocus());
}

void MainWindowEditingTest::showingTheFormatRunsNoHandler()
{
    MainWindowHarness h;
    TGlavniForm& f = withProject(h);
    MainWindowHarness::typeInto(f.Header, QStringLiteral("first"));
    QTest::keyClick(f.Header, Qt::Key_Return);
    QTest::keyClicks(f.Header, QStringLiteral("second"));
    // "first" bold italic Courier 14 indented 20; "second" as typed.
    QTextCursor c(f.Header->document());
    c.setPosition(0);
    c.setPosition(5, QTextCursor::KeepAnchor);
    QTextCharFormat strong;
    strong.setFontWeight(QFont::Bold);
    strong.setFontItalic(true);
    strong.setFontPointSize(14);
    strong.setFontFamilies({QStringLiteral("Liberation Mono")});
    c.mergeCharFormat(strong);
    QTextBlockFormat indented;
    indented.setLeftMargin(TwipsToPixels(400));
    c.mergeBlockFormat(indented);
    const RichDocument before = FromTextDocument(*f.Header->document());

    // A selection growing from the plain paragraph back into the strong run
    // shows the format of its start; none of it may be applied to the rest.
    QTest::keyClick(f.Header, Qt::Key_End, Qt::ControlModifier);
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(f.Header, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(f.Header->textCursor().selectionStart(), 3);
    QCOMPARE(f.FSize->currentText(), QStringLiteral("14"));
    QCOMPARE(f.FontCombo->currentText(), QStringLiteral("Liberation Mono"));
    QCOMPARE(f.IndentCombo->currentText(), QStringLiteral("20"));
    QVERIFY(f.FBold->isChecked());
    QVERIFY(f.Fitalic->isChecked());
    QCOMPARE(FromTextDocument(*f.Header->document()), before);

    QTest::keyClick(f.Header, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f.FSize->currentText(), QStringLiteral("8"));
    QCOMPARE(f.IndentCombo->currentText(), QStringLiteral("0"));
    QVERIFY(!f.FBold->isChecked());
    QCOMPARE(FromTextDocument(*f.Header->document()), before);
    QVERIFY(f.Header->hasFocus());
    QVERIFY(h.prompter.calls().empty());
}

void MainWindowEditingTest::clipboardKeysActOnTheEditorsOnly()
{
    MainWindowHarness h;
    TGlavniForm& f = withProject(h);
    QClipboard* clipboard = QGuiApplication::clipboard();
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("alpha beta"));
    MainWindowHarness::typeInto(f.Edit1, QStringLiteral("keywords"));

    clipboard->setText(QStringLiteral("before"));
    f.Edit1->selectAll();
    QTest::keyClick(f.Edit1, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("before"));
    QTest::keyClick(f.Edit1, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(f.Edit1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.Edit1->text(), QStringLiteral("keywords"));
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("alpha beta"));
    f.TopicLB->setFocus();
    QTest::keyClick(f.TopicLB, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("before"));
    // "Select All" reaches no editor from the keywords field either.
    f.Edit1->setFocus();
    f.SelectAll1->trigger();
    QVERIFY(!f.TopicText->textCursor().hasSelection());

    // In the editors the keys cut, copy and paste with the formatting.
    clickInto(f.TopicText);
    selectByKeys(f.TopicText, 0, 5);
    h.click(f.FBold);
    selectByKeys(f.TopicText, 0, 5);
    QTest::keyClick(f.TopicText, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("alpha"));
    QTest::keyClick(f.TopicText, Qt::Key_End);
    QTest::keyClick(f.TopicText, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("alpha betaalpha"));
    QVERIFY(charAt(f.TopicText, 12).fontWeight() >= QFont::DemiBold);
    selectByKeys(f.TopicText, 5, 10);
    QTest::keyClick(f.TopicText, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("alphaalpha"));
    QCOMPARE(clipboard->text(), QStringLiteral(" beta"));

    // The toolbar buttons and the menu do the same on the active editor.
    clickInto(f.Header);
    h.click(f.PasteButton);
    QCOMPARE(f.Header->toPlainText(), QStringLiteral(" beta"));
    f.SelectAll1->trigger();
    QCOMPARE(f.Header->textCursor().selectedText(), QStringLiteral(" beta"));
    h.click(f.CutButton);
    QCOMPARE(f.Header->toPlainText(), QString());
    QVERIFY(!h.prompter.unexpectedCall());
}

void MainWindowEditingTest::formattingSurvivesSwitchAndReopen()
{
    const QString face = QStringLiteral("Liberation Serif");
    const auto check = [&](const TGlavniForm& f) {
        QCOMPARE(f.Header->toPlainText(), QStringLiteral("Heading"));
        QCOMPARE(faceOf(charAt(f.Header, 0)), face);
        QCOMPARE(charAt(f.Header, 0).fontPointSize(), 16.0);
        QCOMPARE(alignment(f.Header, 0), Qt::AlignHCenter);
        QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("plain bold red\nindented italic"));
        QCOMPARE(charAt(f.TopicText, 0).fontWeight(), int(QFont::Normal));
        QCOMPARE(charAt(f.TopicText, 6).fontWeight(), int(QFont::Bold));
        QCOMPARE(charAt(f.TopicText, 11).foreground().color(), QColor(0, 128, 0));
        QVERIFY(!charAt(f.TopicText, 6).hasProperty(QTextFormat::ForegroundBrush));
        QCOMPARE(blockFormat(f.TopicText, 1).leftMargin(), TwipsToPixels(300));
        QCOMPARE(blockFormat(f.TopicText, 0).leftMargin(), 0.0);
        QVERIFY(charAt(f.TopicText, 24).fontItalic());
        QVERIFY(!charAt(f.TopicText, 15).fontItalic());
    };

    MainWindowHarness h;
    h.show();
    TGlavniForm& f = *h.form;
    h.newProject(QStringLiteral("STYLED"));
    h.activate();
    QVERIFY(f.FontCombo->findText(face) >= 0);

    MainWindowHarness::typeInto(f.Header, QStringLiteral("Heading"));
    selectByKeys(f.Header, 0, 7);
    chooseFromList(f.FontCombo, face);
    chooseFromList(f.FSize, QStringLiteral("16"));
    h.click(f.CenterButton);

    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("plain "));
    h.click(f.FBold);
    QTest::keyClicks(f.TopicText, QStringLiteral("bold"));
    h.click(f.FBold);
    QTest::keyClicks(f.TopicText, QStringLiteral(" red"));
    selectByKeys(f.TopicText, 11, 14);
    h.prompter.color(0x008000);
    QTest::mouseClick(f.Panel6, Qt::LeftButton);
    QTest::keyClick(f.TopicText, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(f.TopicText, Qt::Key_Return);
    chooseFromList(f.IndentCombo, QStringLiteral("15"));
    QTest::keyClicks(f.TopicText, QStringLiteral("indented "));
    h.click(f.Fitalic);
    QTest::keyClicks(f.TopicText, QStringLiteral("italic"));
    check(f);

    h.addTopic(QStringLiteral("OTHER"));
    QCOMPARE(f.TopicText->toPlainText(), QString());
    h.clickTab(0);
    check(f);
    h.activate();
    clickInto(f.TopicText);
    QCOMPARE(f.IndentCombo->currentText(), QStringLiteral("15"));

    const QString path = h.path(QStringLiteral("styled.tsp"));
    h.prompter.path(path);
    h.click(f.SaveButton);
    QVERIFY(QFile::exists(path));
    QVERIFY(!h.prompter.unexpectedCall());

    MainWindowHarness again;
    again.show();
    again.form->project().PendingOpenPath = path;
    again.form->Open1Click();
    QCOMPARE(again.tabCaptions(), (QStringList{QStringLiteral("STYLED"), QStringLiteral("OTHER")}));
    again.clickTab(0);
    check(*again.form);
    again.activate();
    clickInto(again.form->TopicText);
    QCOMPARE(again.form->IndentCombo->currentText(), QStringLiteral("15"));
    QVERIFY(again.form->Fitalic->isChecked());
}

QTEST_MAIN(MainWindowEditingTest)
#include "test_mainwindow_editing.moc"
