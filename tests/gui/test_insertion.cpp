// Link, button and bitmap insertion from the main window: the markup and its
// style in the editor, the text around it left as it was, the clipboard left
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

#include <functional>

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

// A project of two topics, OVERVIEW "Overview" and SECOND (current): the
// link dialog proposes OVERVIEW, the first topic that is not the current one.
MainWindow& withTopics(MainWindowHarness& h)
{
    h.show();
    h.newProject(QStringLiteral("OVERVIEW"), QStringLiteral("Overview"));
    h.addTopic(QStringLiteral("SECOND"), QStringLiteral("Second one"));
    h.activate();
    return *h.form;
}

} // namespace

class InsertionTest : public QObject {
    Q_OBJECT

private slots:
    void jumpOverSelectionIsStruckOutAndReachesTheTopicFile();
    void jumpWithoutTextTakesTheTitleAndKeepsBold();
    void linkDialogProposesAnotherTopicOrTheOneSelected();
    void popupIsUnderlinedAndOneCharacterIsNotProposed();
    void otherHelpFileLinkAndItsRefusals();
    void webAndMailLinks();
    void relatedTopicsButtonAtEightPoints();
    void bitmapsOfBothKinds();
    void cancelAndNoActiveEditorInsertNothing();
    void oneUndoTakesBackAWholeInsertion();
    void aLinkReplacesExactlyTheSelection();
};

void InsertionTest::jumpOverSelectionIsStruckOutAndReachesTheTopicFile()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("Product overview"));
    selectRange(f.editors->topicEditor(), 0, 16);

    QStringList items;
    QString proposed;
    QTimer::singleShot(0, &f, [&] {
        LinkDialog* d = f.insertion->linkDialog;
        proposed = d->hotspotEdit->text();
        for (int k = 0; k < d->topicCombo->count(); ++k)
            items.append(d->topicCombo->itemText(k));
        QCOMPARE(d->topicCombo->currentIndex(), 0);
        QVERIFY(d->linkTypeButtons()[0]->isChecked());
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));

    QCOMPARE(proposed, QStringLiteral("Product overview"));
    QCOMPARE(items, QStringList({QStringLiteral("OVERVIEW - Overview"), QStringLiteral("SECOND - Second one")}));
    const QString markup = QStringLiteral("Product overview-->OVERVIEW");
    QCOMPARE(f.editors->topicEditor()->toPlainText(), markup);
    QVERIFY(struckOut(f.editors->topicEditor(), 0, int(markup.size())));
    QVERIFY(!underlined(f.editors->topicEditor(), 0, 1));
    QCOMPARE(clipboardText(), markup);
    QCOMPARE(f.editors->topicEditor()->textCursor().position(), int(markup.size()));

    // What is typed next is plain again.
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("x"));
    QVERIFY(!charAt(f.editors->topicEditor(), int(markup.size())).fontStrikeOut());

    f.navigator->storeCurrentTopic();
    const QByteArray rtf = TopicFileWriter::generate(f.project());
    QVERIFY2(rtf.contains("\\strike Product overview\\v OVERVIEW"), rtf.constData());
    QVERIFY(h.prompter.calls().empty());
}

void InsertionTest::jumpWithoutTextTakesTheTitleAndKeepsBold()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("See "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    f.editors->topicEditor()->mergeCurrentCharFormat(bold);

    QTimer::singleShot(0, &f, [&] {
        LinkDialog* d = f.insertion->linkDialog;
        QVERIFY(d->hotspotEdit->text().isEmpty());
        d->topicWindowCheck->setChecked(true);
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));

    const QString markup = QStringLiteral("Overview-->OVERVIEW>main");
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("See ") + markup);
    QVERIFY(struckOut(f.editors->topicEditor(), 4, 4 + int(markup.size())));
    QCOMPARE(charAt(f.editors->topicEditor(), 4).fontWeight(), int(QFont::Bold));
    QCOMPARE(charAt(f.editors->topicEditor(), 3 + int(markup.size())).fontWeight(), int(QFont::Bold));
    QVERIFY(!struckOut(f.editors->topicEditor(), 0, 1));

    // The second topic from the list, in no window.
    caretAtEnd(f.editors->topicEditor());
    QTimer::singleShot(0, &f, [&] {
        LinkDialog* d = f.insertion->linkDialog;
        QVERIFY(!d->topicWindowCheck->isChecked()); // reset by the command
        d->topicCombo->setCurrentIndex(1);
        d->hotspotEdit->setText(QStringLiteral("next"));
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));
    QVERIFY(f.editors->topicEditor()->toPlainText().endsWith(QStringLiteral(">mainnext-->SECOND")));
}

void InsertionTest::linkDialogProposesAnotherTopicOrTheOneSelected()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    h.addTopic(QStringLiteral("THIRD"), QStringLiteral("Third one"));
    h.clickTab(0);
    h.activate();
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("see third one here"));

    // Nothing selected in OVERVIEW: not OVERVIEW itself, the next topic.
    QList<int> proposed;
    QTimer::singleShot(0, &f, [&] {
        proposed.append(f.insertion->linkDialog->topicCombo->currentIndex());
        f.insertion->linkDialog->cancelButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));
    // "third one" selected: the topic of that title, also after a detour
    // through the other help file.
    selectRange(f.editors->topicEditor(), 4, 13);
    QTimer::singleShot(0, &f, [&] {
        LinkDialog* d = f.insertion->linkDialog;
        proposed.append(d->topicCombo->currentIndex());
        d->otherHelpFileCheck->setChecked(true);
        d->otherHelpFileCheck->setChecked(false);
        proposed.append(d->topicCombo->currentIndex());
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));
    QCOMPARE(proposed, (QList<int>{1, 2, 2}));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("see third one-->THIRD here"));
}

void InsertionTest::popupIsUnderlinedAndOneCharacterIsNotProposed()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("abc"));
    selectRange(f.editors->topicEditor(), 1, 2);

    QString proposed = QStringLiteral("unset");
    QTimer::singleShot(0, &f, [&] {
        LinkDialog* d = f.insertion->linkDialog;
        proposed = d->hotspotEdit->text();
        d->topicWindowCheck->setChecked(true);
        d->linkTypeButtons()[1]->click();
        QVERIFY(!d->topicWindowCheck->isChecked());
        QVERIFY(!d->topicWindowCheck->isEnabled());
        QVERIFY(!d->otherHelpFileCheck->isEnabled());
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));

    QCOMPARE(proposed, QString());
    const QString markup = QStringLiteral("Overview-->OVERVIEW");
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("a") + markup + QStringLiteral("c"));
    QVERIFY(underlined(f.editors->topicEditor(), 1, 1 + int(markup.size())));
    QVERIFY(!struckOut(f.editors->topicEditor(), 1, 2));
    QVERIFY(!charAt(f.editors->topicEditor(), 1 + int(markup.size())).fontUnderline());

    // Jump chosen again: the check boxes come back. A selection over two
    // paragraphs is proposed as one line.
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("ab"));
    QTest::keyClick(f.editors->topicEditor(), Qt::Key_Return);
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("cd"));
    selectRange(f.editors->topicEditor(), 0, 5);
    QTimer::singleShot(0, &f, [&] {
        LinkDialog* d = f.insertion->linkDialog;
        QCOMPARE(d->hotspotEdit->text(), QStringLiteral("ab cd"));
        QVERIFY(d->linkTypeButtons()[0]->isChecked());
        QVERIFY(d->topicWindowCheck->isEnabled() && d->otherHelpFileCheck->isEnabled());
        d->cancelButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));
}

void InsertionTest::otherHelpFileLinkAndItsRefusals()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("text"));
    const QString before = f.editors->topicEditor()->toHtml();

    // The prompt left in the topic field.
    QTimer::singleShot(0, &f, [&] {
        LinkDialog* d = f.insertion->linkDialog;
        d->topicWindowCheck->setChecked(true);
        d->otherHelpFileCheck->setChecked(true);
        QVERIFY(!d->topicWindowCheck->isChecked());
        // A plain box for the other file's Topic ID, no list of this project's topics.
        QVERIFY(d->topicCombo->isHidden());
        QVERIFY(!d->topicIdEdit->isHidden());
        QCOMPARE(d->topicIdEdit->text(), QStringLiteral("Please type in the topic ID!"));
        d->helpFileEdit->setText(QStringLiteral("other.hlp"));
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));
    QCOMPARE(h.prompter.lastMessage(),
             QStringLiteral("Could not create the link to another help file!\r\nThe Topic ID was not entered!"));
    QCOMPARE(f.editors->topicEditor()->toHtml(), before);

    // No file name.
    caretAtEnd(f.editors->topicEditor());
    QTimer::singleShot(0, &f, [&] {
        LinkDialog* d = f.insertion->linkDialog;
        QCOMPARE(d->helpFileEdit->text(), QStringLiteral("other.hlp")); // kept from the last use
        d->otherHelpFileCheck->setChecked(true);
        d->topicIdEdit->setText(QStringLiteral("intro"));
        d->helpFileEdit->clear();
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));
    QCOMPARE(h.prompter.lastMessage(),
             QStringLiteral("Could not create the link to another help file!\r\nThe file name was not entered!"));
    QCOMPARE(f.editors->topicEditor()->toHtml(), before);

    // The file chosen with Search; clearing the box brings the list back
    // first, then it is checked again.
    caretAtEnd(f.editors->topicEditor());
    h.prompter.path(QStringLiteral("/help/Other.hlp"));
    QTimer::singleShot(0, &f, [&] {
        LinkDialog* d = f.insertion->linkDialog;
        d->otherHelpFileCheck->setChecked(true);
        d->otherHelpFileCheck->setChecked(false);
        QVERIFY(!d->topicCombo->isHidden());
        QVERIFY(d->topicIdEdit->isHidden());
        QCOMPARE(d->topicCombo->currentIndex(), 0);
        d->otherHelpFileCheck->setChecked(true);
        d->topicIdEdit->setText(QStringLiteral("Intro"));
        d->browseButton()->click();
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addTopicLink));
    QCOMPARE(h.prompter.calls().back().filter, QStringLiteral("Help Files (*.hlp)|*.HLP"));
    const QString markup = QStringLiteral("-->Intro@/help/Other.hlp");
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("text") + markup);
    QVERIFY(struckOut(f.editors->topicEditor(), 4, 4 + int(markup.size())));
}

void InsertionTest::webAndMailLinks()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    caretAtEnd(f.editors->topicEditor());

    QTimer::singleShot(0, &f, [&] {
        ButtonDialog* d = f.insertion->buttonDialog;
        QCOMPARE(d->windowTitle(), QStringLiteral("Link to web site or e-mail"));
        QVERIFY(d->linkKindGroup()->isVisible());
        QCOMPARE(d->property("helpContext").toInt(), 170);
        QVERIFY(d->linkKindButtons()[0]->isChecked());
        d->linkKindButtons()[1]->click();
        QTest::keyClicks(d->targetEdit, QStringLiteral("sales"));
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addWebLink));

    const QString markup = QStringLiteral("sales-->!ExecFile(mailto:sales)");
    QCOMPARE(f.editors->topicEditor()->toPlainText(), markup);
    QVERIFY(struckOut(f.editors->topicEditor(), 0, int(markup.size())));
    QCOMPARE(clipboardText(), markup);

    // The choice is kept; the hotspot comes from a selection of two characters.
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("go"));
    selectRange(f.editors->topicEditor(), 0, 2);
    QTimer::singleShot(0, &f, [&] {
        ButtonDialog* d = f.insertion->buttonDialog;
        QVERIFY(d->linkKindButtons()[1]->isChecked());
        QCOMPARE(d->captionEdit->text(), QStringLiteral("go"));
        QVERIFY(d->targetEdit->text().isEmpty());
        d->linkKindButtons()[0]->click();
        d->targetEdit->setText(QStringLiteral("http://example.com"));
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addWebLink));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("go-->!ExecFile(http://example.com)"));
}

void InsertionTest::relatedTopicsButtonAtEightPoints()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("ab"));
    QTextCharFormat twelve;
    twelve.setFontPointSize(12);
    f.editors->topicEditor()->mergeCurrentCharFormat(twelve);

    QTimer::singleShot(0, &f, [&] {
        ButtonDialog* d = f.insertion->buttonDialog;
        QCOMPARE(d->windowTitle(), QStringLiteral("Insert Button"));
        QVERIFY(d->linkKindGroup()->isHidden());
        QCOMPARE(d->property("helpContext").toInt(), 160);
        QTest::keyClicks(d->targetEdit, QStringLiteral("printing"));
        d->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addRelatedTopicsButton));

    const QString markup = QStringLiteral(" {button ,Alink(printing)}  Related Topics");
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral("ab") + markup);
    for (int k = 2; k < 2 + int(markup.size()); ++k)
        QCOMPARE(charAt(f.editors->topicEditor(), k).fontPointSize(), 8.0);
    QVERIFY(!struckOut(f.editors->topicEditor(), 2, 3));
    QCOMPARE(clipboardText(), markup);

    // The size before is in force again, and a paste repeats the markup.
    QTest::keyClicks(f.editors->topicEditor(), QStringLiteral("z"));
    QCOMPARE(charAt(f.editors->topicEditor(), 2 + int(markup.size())).fontPointSize(), 12.0);
    f.editors->paste();
    QVERIFY(f.editors->topicEditor()->toPlainText().endsWith(QStringLiteral("z") + markup));
}

void InsertionTest::bitmapsOfBothKinds()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    caretAtEnd(f.editors->topicEditor());

    h.prompter.path(QStringLiteral("c:\\Pics\\logo.bmp"));
    h.click(f.toolBar->button(f.actions->addTransparentBitmap));
    const ScriptedPrompter::Call& call = h.prompter.calls().back();
    QCOMPARE(call.kind, ScriptedPrompter::Kind::OpenFile);
    QCOMPARE(call.filter, QStringLiteral("Bitmaps (*.bmp)|*.BMP|Segmented Hypergraphics (*.shg)|*.SHG"));
    QCOMPARE(call.fileName, QStringLiteral("*.bmp"));
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral(" {bmct C:\\PICS\\LOGO.BMP} "));
    QCOMPARE(charAt(f.editors->topicEditor(), 0).fontPointSize(), 8.0);

    h.prompter.path(QStringLiteral("/pics/Map.shg"));
    f.actions->addBitmap->trigger();
    QCOMPARE(f.editors->topicEditor()->toPlainText(), QStringLiteral(" {bmct C:\\PICS\\LOGO.BMP}  {bmc /PICS/MAP.SHG} "));
    QCOMPARE(clipboardText(), QStringLiteral(" {bmc /PICS/MAP.SHG} "));
    QVERIFY(!h.prompter.unexpectedCall());
}

void InsertionTest::cancelAndNoActiveEditorInsertNothing()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    MainWindowHarness::typeInto(f.editors->topicEditor(), QStringLiteral("keep me"));
    selectRange(f.editors->topicEditor(), 0, 4);
    const QString before = f.editors->topicEditor()->toHtml();
    QGuiApplication::clipboard()->setText(QStringLiteral("mine"));

    QTimer::singleShot(0, &f, [&] { f.insertion->linkDialog->cancelButton()->click(); });
    h.click(f.toolBar->button(f.actions->addTopicLink));
    QTimer::singleShot(0, &f, [&] { f.insertion->buttonDialog->cancelButton()->click(); });
    h.click(f.toolBar->button(f.actions->addRelatedTopicsButton));
    QTimer::singleShot(0, &f, [&] { f.insertion->buttonDialog->reject(); });
    h.click(f.toolBar->button(f.actions->addWebLink));
    h.prompter.path(QString());
    h.click(f.toolBar->button(f.actions->addBitmap));
    QCOMPARE(f.editors->topicEditor()->toHtml(), before);

    // With the focus in the keywords field the dialog runs and the clipboard
    // is replaced, but neither editor changes.
    const QString header = f.editors->headerEditor()->toHtml();
    f.editors->keywordsEdit()->setFocus();
    QTimer::singleShot(0, &f, [&] {
        f.insertion->buttonDialog->targetEdit->setText(QStringLiteral("kw"));
        f.insertion->buttonDialog->okButton()->click();
    });
    h.click(f.toolBar->button(f.actions->addRelatedTopicsButton));
    QCOMPARE(f.editors->topicEditor()->toHtml(), before);
    QCOMPARE(f.editors->headerEditor()->toHtml(), header);
    QCOMPARE(clipboardText(), QStringLiteral(" {button ,Alink(kw)}  Related Topics"));
}

void InsertionTest::oneUndoTakesBackAWholeInsertion()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    QTextEdit* editor = f.editors->topicEditor();
    MainWindowHarness::typeInto(editor, QStringLiteral("See the overview"));
    const auto undoneBy1 = [&](const std::function<void()>& insert) {
        const QString before = editor->toHtml();
        const QString plainBefore = editor->toPlainText();
        insert();
        if (editor->toPlainText() == plainBefore)
            return false; // nothing was inserted
        editor->undo();
        return editor->toHtml() == before;
    };

    // A link over a selection, a web link, a button and a bitmap.
    QVERIFY(undoneBy1([&] {
        selectRange(editor, 8, 16);
        QTimer::singleShot(0, &f, [&] { f.insertion->linkDialog->okButton()->click(); });
        h.click(f.toolBar->button(f.actions->addTopicLink));
    }));
    QVERIFY(undoneBy1([&] {
        caretAtEnd(editor);
        QTimer::singleShot(0, &f, [&] {
            QTest::keyClicks(f.insertion->buttonDialog->targetEdit, QStringLiteral("example.com"));
            f.insertion->buttonDialog->okButton()->click();
        });
        h.click(f.toolBar->button(f.actions->addWebLink));
    }));
    QVERIFY(undoneBy1([&] {
        selectRange(editor, 0, 3);
        QTimer::singleShot(0, &f, [&] {
            QTest::keyClicks(f.insertion->buttonDialog->targetEdit, QStringLiteral("printing"));
            f.insertion->buttonDialog->okButton()->click();
        });
        h.click(f.toolBar->button(f.actions->addRelatedTopicsButton));
    }));
    QVERIFY(undoneBy1([&] {
        caretAtEnd(editor);
        h.prompter.path(QStringLiteral("/pics/logo.bmp"));
        h.click(f.toolBar->button(f.actions->addBitmap));
    }));
    QCOMPARE(editor->toPlainText(), QStringLiteral("See the overview"));
}

// "installing Gadget before" with "Gadget" linked reads "installing
// Gadget-->INSTALL before": every kind of link, wherever the selection lies.
void InsertionTest::aLinkReplacesExactlyTheSelection()
{
    MainWindowHarness h;
    MainWindow& f = withTopics(h);
    QTextEdit* editor = f.editors->topicEditor();
    struct Kind {
        const char* name;
        QAbstractButton* button;
        std::function<void()> fillDialog;
        QString target; // what follows the selected text
    };
    const std::vector<Kind> kinds{
        {"jump", f.toolBar->button(f.actions->addTopicLink), [&] { f.insertion->linkDialog->topicCombo->setCurrentIndex(1); },
         QStringLiteral("-->SECOND")},
        {"pop-up", f.toolBar->button(f.actions->addTopicLink),
         [&] {
             f.insertion->linkDialog->topicCombo->setCurrentIndex(1);
             f.insertion->linkDialog->linkTypeButtons()[1]->click();
         },
         QStringLiteral("-->SECOND")},
        {"other help file", f.toolBar->button(f.actions->addTopicLink),
         [&] {
             LinkDialog* d = f.insertion->linkDialog;
             d->otherHelpFileCheck->setChecked(true);
             d->topicIdEdit->setText(QStringLiteral("INTRO"));
             d->helpFileEdit->setText(QStringLiteral("other.hlp"));
         },
         QStringLiteral("-->INTRO@other.hlp")},
        {"web", f.toolBar->button(f.actions->addWebLink),
         [&] {
             f.insertion->buttonDialog->linkKindButtons()[0]->click();
             f.insertion->buttonDialog->targetEdit->setText(QStringLiteral("example.com"));
         },
         QStringLiteral("-->!ExecFile(example.com)")},
    };
    const std::vector<std::pair<QString, QString>> around{
        {QString(), QStringLiteral(" before")},            // start, a blank after
        {QString(), QStringLiteral("s before")},           // start, no blank
        {QStringLiteral("installing "), QStringLiteral(" before")},
        {QStringLiteral("installing "), QStringLiteral(",before")},
        {QStringLiteral("installing "), QString()},        // end of the paragraph
    };
    for (const Kind& kind : kinds) {
        for (const auto& [left, right] : around) {
            editor->clear();
            editor->setCurrentCharFormat(QTextCharFormat()); // nothing of the last link
            MainWindowHarness::typeInto(editor, left + QStringLiteral("Gadget") + right);
            selectRange(editor, int(left.size()), int(left.size()) + 6);
            QTimer::singleShot(0, &f, [&] {
                kind.fillDialog();
                if (kind.button == f.toolBar->button(f.actions->addWebLink))
                    f.insertion->buttonDialog->okButton()->click();
                else
                    f.insertion->linkDialog->okButton()->click();
            });
            h.click(kind.button);
            QCOMPARE(editor->toPlainText(), left + QStringLiteral("Gadget") + kind.target + right);
            const int end = int(left.size()) + 6 + int(kind.target.size());
            QVERIFY2(right.isEmpty() || (!struckOut(editor, end, end + 1) && !underlined(editor, end, end + 1)),
                     qPrintable(QString::fromLatin1(kind.name) + QLatin1Char('|') + editor->toPlainText()));
        }
    }
    QVERIFY(!h.prompter.unexpectedCall());
}

QTEST_MAIN(InsertionTest)
#include "test_insertion.moc"
