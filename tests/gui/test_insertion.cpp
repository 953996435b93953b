// Link, button and bitmap insertion from the main window: the markup and its
// style in the editor, the blank that ends a hotspot, the clipboard left
// behind, the topic file built from the stored text, and the paths that
// insert nothing.

#include "test_mainwindow_support.h"

#include "ButtonDialog.h"
#include "LinkDialog.h"
#include "helpsource/TopicFileWriter.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QRadioButton>

using namespace ts;
using namespace ts::testing;

namespace {

QTextCharFormat charAt(const QTextEdit* editor, int position)
{
    QTextCursor c(editor->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

// Whether every character in [from, to) is struck out / underlined.
bool struckOut(const QTextEdit* editor, int from, int to)
{
    for (int k = from; k < to; ++k)
        if (!charAt(editor, k).fontStrikeOut())
            return false;
    return true;
}

bool underlined(const QTextEdit* editor, int from, int to)
{
    for (int k = from; k < to; ++k)
        if (!charAt(editor, k).fontUnderline())
            return false;
    return true;
}

void selectRange(QTextEdit* editor, int from, int to)
{
    editor->setFocus();
    QTextCursor c(editor->document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    editor->setTextCursor(c);
}

void caretAtEnd(QTextEdit* editor)
{
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

// A project of two topics, OVERVIEW "Overview" (current) and SECOND.
TGlavniForm& withTopics(MainWindowHarness& h)
{
    h.show();
    h.newProject(QStringLiteral("OVERVIEW"), QStringLiteral("Overview"));
    h.addTopic(QStringLiteral("SECOND"), QStringLiteral("Second one"));
    h.clickTab(0);
    h.activate();
    return *h.form;
}

} // namespace

class InsertionTest : public QObject {
    Q_OBJECT

private slots:
    void jumpOverSelectionIsStruckOutAndReachesTheTopicFile();
    void jumpWithoutTextTakesTheTitleAndKeepsBold();
    void popupIsUnderlinedAndOneCharacterIsNotProposed();
    void otherHelpFileLinkAndItsRefusals();
    void webAndMailLinks();
    void relatedTopicsButtonAtEightPoints();
    void bitmapsOfBothKinds();
    void cancelAndNoActiveEditorInsertNothing();
};

void InsertionTest::jumpOverSelectionIsStruckOutAndReachesTheTopicFile()
{
    MainWindowHarness h;
    TGlavniForm& f = withTopics(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("Product overview"));
    selectRange(f.TopicText, 0, 16);

    QStringList items;
    QString proposed;
    QTimer::singleShot(0, &f, [&] {
        TLinkForm* d = f.LinkForm;
        proposed = d->Edit1->text();
        for (int k = 0; k < d->ComboBox1->count(); ++k)
            items.append(d->ComboBox1->itemText(k));
        QCOMPARE(d->ComboBox1->currentIndex(), 0);
        QVERIFY(d->RadioButtons[0]->isChecked());
        d->Button1->click();
    });
    h.click(f.JumpButton);

    QCOMPARE(proposed, QStringLiteral("Product overview"));
    QCOMPARE(items, QStringList({QStringLiteral("OVERVIEW - Overview"), QStringLiteral("SECOND - Second one")}));
    const QString markup = QStringLiteral("Product overview-->OVERVIEW");
    QCOMPARE(f.TopicText->toPlainText(), markup + QLatin1Char(' '));
    QVERIFY(struckOut(f.TopicText, 0, int(markup.size())));
    QVERIFY(!charAt(f.TopicText, int(markup.size())).fontStrikeOut());
    QVERIFY(!underlined(f.TopicText, 0, 1));
    QCOMPARE(clipboardText(), QStringLiteral(" "));
    QCOMPARE(f.TopicText->textCursor().position(), int(markup.size()) + 1);

    // What is typed next is plain again.
    QTest::keyClicks(f.TopicText, QStringLiteral("x"));
    QVERIFY(!charAt(f.TopicText, int(markup.size()) + 1).fontStrikeOut());

    f.TopicTabChanging();
    const QByteArray rtf = TopicFileWriter::generate(f.project());
    QVERIFY2(rtf.contains("\\strike Product overview\\v OVERVIEW"), rtf.constData());
    QVERIFY(h.prompter.calls().empty());
}

void InsertionTest::jumpWithoutTextTakesTheTitleAndKeepsBold()
{
    MainWindowHarness h;
    TGlavniForm& f = withTopics(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("See "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    f.TopicText->mergeCurrentCharFormat(bold);

    QTimer::singleShot(0, &f, [&] {
        TLinkForm* d = f.LinkForm;
        QVERIFY(d->Edit1->text().isEmpty());
        d->CheckBox1->setChecked(true);
        d->Button1->click();
    });
    h.click(f.JumpButton);

    const QString markup = QStringLiteral("Overview-->OVERVIEW>main");
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("See ") + markup + QLatin1Char(' '));
    QVERIFY(struckOut(f.TopicText, 4, 4 + int(markup.size())));
    QCOMPARE(charAt(f.TopicText, 4).fontWeight(), int(QFont::Bold));
    QCOMPARE(charAt(f.TopicText, 3 + int(markup.size())).fontWeight(), int(QFont::Bold));
    QVERIFY(!struckOut(f.TopicText, 0, 1));

    // The second topic from the list, in no window.
    caretAtEnd(f.TopicText);
    QTimer::singleShot(0, &f, [&] {
        TLinkForm* d = f.LinkForm;
        QVERIFY(!d->CheckBox1->isChecked()); // reset by the command
        d->ComboBox1->setCurrentIndex(1);
        d->Edit1->setText(QStringLiteral("next"));
        d->Button1->click();
    });
    h.click(f.JumpButton);
    QVERIFY(f.TopicText->toPlainText().endsWith(QStringLiteral(" next-->SECOND ")));
}

void InsertionTest::popupIsUnderlinedAndOneCharacterIsNotProposed()
{
    MainWindowHarness h;
    TGlavniForm& f = withTopics(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("abc"));
    selectRange(f.TopicText, 1, 2);

    QString proposed = QStringLiteral("unset");
    QTimer::singleShot(0, &f, [&] {
        TLinkForm* d = f.LinkForm;
        proposed = d->Edit1->text();
        d->CheckBox1->setChecked(true);
        d->RadioButtons[1]->click();
        QVERIFY(!d->CheckBox1->isChecked());
        QVERIFY(!d->CheckBox1->isEnabled());
        QVERIFY(!d->CheckBox2->isEnabled());
        d->Button1->click();
    });
    h.click(f.JumpButton);

    QCOMPARE(proposed, QString());
    const QString markup = QStringLiteral("Overview-->OVERVIEW");
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("a") + markup + QStringLiteral(" c"));
    QVERIFY(underlined(f.TopicText, 1, 1 + int(markup.size())));
    QVERIFY(!struckOut(f.TopicText, 1, 2));
    QVERIFY(!charAt(f.TopicText, 1 + int(markup.size())).fontUnderline());

    // Jump chosen again: the check boxes come back. A selection over two
    // paragraphs is proposed as one line.
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("ab"));
    QTest::keyClick(f.TopicText, Qt::Key_Return);
    QTest::keyClicks(f.TopicText, QStringLiteral("cd"));
    selectRange(f.TopicText, 0, 5);
    QTimer::singleShot(0, &f, [&] {
        TLinkForm* d = f.LinkForm;
        QCOMPARE(d->Edit1->text(), QStringLiteral("ab cd"));
        QVERIFY(d->RadioButtons[0]->isChecked());
        QVERIFY(d->CheckBox1->isEnabled() && d->CheckBox2->isEnabled());
        d->Button2->click();
    });
    h.click(f.JumpButton);
}

void InsertionTest::otherHelpFileLinkAndItsRefusals()
{
    MainWindowHarness h;
    TGlavniForm& f = withTopics(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("text"));
    const QString before = f.TopicText->toHtml();

    // The prompt left in the topic field.
    QTimer::singleShot(0, &f, [&] {
        TLinkForm* d = f.LinkForm;
        d->CheckBox1->setChecked(true);
        d->CheckBox2->setChecked(true);
        QVERIFY(!d->CheckBox1->isChecked());
        QVERIFY(d->ComboBox1->isEditable());
        QCOMPARE(d->ComboBox1->currentText(), QStringLiteral("Please type in the topic ID!"));
        d->Edit2->setText(QStringLiteral("other.hlp"));
        d->Button1->click();
    });
    h.click(f.JumpButton);
    QCOMPARE(h.prompter.lastMessage(),
             QStringLiteral("Could not create link to onother help file!\r\nTopic ID not entered!"));
    QCOMPARE(f.TopicText->toHtml(), before);

    // No file name.
    caretAtEnd(f.TopicText);
    QTimer::singleShot(0, &f, [&] {
        TLinkForm* d = f.LinkForm;
        QCOMPARE(d->Edit2->text(), QStringLiteral("other.hlp")); // kept from the last use
        d->CheckBox2->setChecked(true);
        d->ComboBox1->setEditText(QStringLiteral("intro"));
        d->Edit2->clear();
        d->Button1->click();
    });
    h.click(f.JumpButton);
    QCOMPARE(h.prompter.lastMessage(),
             QStringLiteral("Could not create link to onother help file!\r\nFile name not entered!"));
    QCOMPARE(f.TopicText->toHtml(), before);

    // The file chosen with Search; clearing the box brings the list back
    // first, then it is checked again.
    caretAtEnd(f.TopicText);
    h.prompter.path(QStringLiteral("/help/Other.hlp"));
    QTimer::singleShot(0, &f, [&] {
        TLinkForm* d = f.LinkForm;
        d->CheckBox2->setChecked(true);
        d->CheckBox2->setChecked(false);
        QVERIFY(!d->ComboBox1->isEditable());
        QCOMPARE(d->ComboBox1->currentIndex(), 0);
        d->CheckBox2->setChecked(true);
        d->ComboBox1->setEditText(QStringLiteral("Intro"));
        d->Button3->click();
        d->Button1->click();
    });
    h.click(f.JumpButton);
    QCOMPARE(h.prompter.calls().back().filter, QStringLiteral("Help Files (*.hlp)|*.HLP"));
    const QString markup = QStringLiteral("-->Intro@/help/Other.hlp");
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("text") + markup + QLatin1Char(' '));
    QVERIFY(struckOut(f.TopicText, 4, 4 + int(markup.size())));
    QVERIFY(!struckOut(f.TopicText, 4 + int(markup.size()), 5 + int(markup.size())));
}

void InsertionTest::webAndMailLinks()
{
    MainWindowHarness h;
    TGlavniForm& f = withTopics(h);
    caretAtEnd(f.TopicText);

    QTimer::singleShot(0, &f, [&] {
        TInsertButton* d = f.InsertButton;
        QCOMPARE(d->windowTitle(), QStringLiteral("Link to web site or e-mail"));
        QVERIFY(d->RadioGroup1->isVisible());
        QCOMPARE(d->property("helpContext").toInt(), 170);
        QVERIFY(d->RadioButtons[0]->isChecked());
        d->RadioButtons[1]->click();
        QTest::keyClicks(d->Edit2, QStringLiteral("sales"));
        d->Button1->click();
    });
    h.click(f.WebButton);

    const QString markup = QStringLiteral("sales-->!ExecFile(mailto:sales) ");
    QCOMPARE(f.TopicText->toPlainText(), markup + QLatin1Char(' '));
    QVERIFY(struckOut(f.TopicText, 0, int(markup.size())));
    QVERIFY(!struckOut(f.TopicText, int(markup.size()), int(markup.size()) + 1));
    QCOMPARE(clipboardText(), QStringLiteral(" "));

    // The choice is kept; the hotspot comes from a selection of two characters.
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("go"));
    selectRange(f.TopicText, 0, 2);
    QTimer::singleShot(0, &f, [&] {
        TInsertButton* d = f.InsertButton;
        QVERIFY(d->RadioButtons[1]->isChecked());
        QCOMPARE(d->Edit1->text(), QStringLiteral("go"));
        QVERIFY(d->Edit2->text().isEmpty());
        d->RadioButtons[0]->click();
        d->Edit2->setText(QStringLiteral("http://example.com"));
        d->Button1->click();
    });
    h.click(f.WebButton);
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("go-->!ExecFile(http://example.com)  "));
}

void InsertionTest::relatedTopicsButtonAtEightPoints()
{
    MainWindowHarness h;
    TGlavniForm& f = withTopics(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("ab"));
    QTextCharFormat twelve;
    twelve.setFontPointSize(12);
    f.TopicText->mergeCurrentCharFormat(twelve);

    QTimer::singleShot(0, &f, [&] {
        TInsertButton* d = f.InsertButton;
        QCOMPARE(d->windowTitle(), QStringLiteral("Insert Button"));
        QVERIFY(d->RadioGroup1->isHidden());
        QCOMPARE(d->property("helpContext").toInt(), 160);
        QTest::keyClicks(d->Edit2, QStringLiteral("printing"));
        d->Button1->click();
    });
    h.click(f.ButtonButton);

    const QString markup = QStringLiteral(" {button ,Alink(printing)}  Related Topics");
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral("ab") + markup);
    for (int k = 2; k < 2 + int(markup.size()); ++k)
        QCOMPARE(charAt(f.TopicText, k).fontPointSize(), 8.0);
    QVERIFY(!struckOut(f.TopicText, 2, 3));
    QCOMPARE(clipboardText(), markup);

    // The size before is in force again, and a paste repeats the markup.
    QTest::keyClicks(f.TopicText, QStringLiteral("z"));
    QCOMPARE(charAt(f.TopicText, 2 + int(markup.size())).fontPointSize(), 12.0);
    f.PasteButtonClick();
    QVERIFY(f.TopicText->toPlainText().endsWith(QStringLiteral("z") + markup));
}

void InsertionTest::bitmapsOfBothKinds()
{
    MainWindowHarness h;
    TGlavniForm& f = withTopics(h);
    caretAtEnd(f.TopicText);

    h.prompter.path(QStringLiteral("c:\\Pics\\logo.bmp"));
    h.click(f.TBmpButton);
    const ScriptedPrompter::Call& call = h.prompter.calls().back();
    QCOMPARE(call.kind, ScriptedPrompter::Kind::OpenFile);
    QCOMPARE(call.filter, QStringLiteral("Bitmaps (*.bmp)|*.BMP|Segmented Hypergraphics (*.shg)|*.SHG"));
    QCOMPARE(call.fileName, QStringLiteral("*.bmp"));
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral(" {bmct C:\\PICS\\LOGO.BMP} "));
    QCOMPARE(charAt(f.TopicText, 0).fontPointSize(), 8.0);

    h.prompter.path(QStringLiteral("/pics/Map.shg"));
    f.AddBitmap1->trigger();
    QCOMPARE(f.TopicText->toPlainText(), QStringLiteral(" {bmct C:\\PICS\\LOGO.BMP}  {bmc /PICS/MAP.SHG} "));
    QCOMPARE(clipboardText(), QStringLiteral(" {bmc /PICS/MAP.SHG} "));
    QVERIFY(!h.prompter.unexpectedCall());
}

void InsertionTest::cancelAndNoActiveEditorInsertNothing()
{
    MainWindowHarness h;
    TGlavniForm& f = withTopics(h);
    MainWindowHarness::typeInto(f.TopicText, QStringLiteral("keep me"));
    selectRange(f.TopicText, 0, 4);
    const QString before = f.TopicText->toHtml();
    QGuiApplication::clipboard()->setText(QStringLiteral("mine"));

    QTimer::singleShot(0, &f, [&] { f.LinkForm->Button2->click(); });
    h.click(f.JumpButton);
    QTimer::singleShot(0, &f, [&] { f.InsertButton->Button2->click(); });
    h.click(f.ButtonButton);
    QTimer::singleShot(0, &f, [&] { f.InsertButton->reject(); });
    h.click(f.WebButton);
    h.prompter.path(QString());
    h.click(f.BmpButton);
    QCOMPARE(f.TopicText->toHtml(), before);

    // With the focus in the keywords field the dialog runs and the clipboard
    // is replaced, but neither editor changes.
    const QString header = f.Header->toHtml();
    f.Edit1->setFocus();
    QTimer::singleShot(0, &f, [&] {
        f.InsertButton->Edit2->setText(QStringLiteral("kw"));
        f.InsertButton->Button1->click();
    });
    h.click(f.ButtonButton);
    QCOMPARE(f.TopicText->toHtml(), before);
    QCOMPARE(f.Header->toHtml(), header);
    QCOMPARE(clipboardText(), QStringLiteral(" {button ,Alink(kw)}  Related Topics"));
}

QTEST_MAIN(InsertionTest)
#include "test_insertion.moc"
