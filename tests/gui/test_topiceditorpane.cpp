// The editor pane's operations as the other parts use them: which area is
// in use, markup put in as one undo step in its own style, words selected
// and replaced, and formats merged into the area last used.

#include "TopicEditorPane.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>
#include <optional>

using namespace ts;
using Area = TopicEditorPane::Area;

namespace {

QTextCharFormat charAt(QTextEdit* editor, int position)
{
    QTextCursor c(editor->document());
    c.setPosition(position + 1);
    return c.charFormat();
}

void type(QTextEdit* editor, const QString& text)
{
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, text);
}

void select(QTextEdit* editor, int from, int to)
{
    QTextCursor c(editor->document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    editor->setTextCursor(c);
}

QTextCharFormat struck(bool on)
{
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    return f;
}

} // namespace

class TopicEditorPaneTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> window;
    TopicEditorPane* pane = nullptr;

private slots:
    void init()
    {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        pane = new TopicEditorPane(window.get());
        layout->addWidget(pane);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
    }

    void cleanup() { window.reset(); }

    void theAreaInUseAndTheOneLastUsedFollowTheFocus()
    {
        QCOMPARE(pane->lastUsedArea(), Area::Header);
        pane->focusArea(Area::Topic);
        QVERIFY(pane->topicEditor()->hasFocus());
        QCOMPARE(pane->areaInUse(), std::optional<Area>(Area::Topic));
        QCOMPARE(pane->lastUsedArea(), Area::Topic);

        // The keywords field is no area; the topic stays the one last used.
        pane->keywordsEdit()->setFocus();
        QCOMPARE(pane->areaInUse(), std::optional<Area>());
        QCOMPARE(pane->lastUsedArea(), Area::Topic);
        pane->focusLastUsedArea();
        QVERIFY(pane->topicEditor()->hasFocus());
        pane->focusArea(Area::Header);
        QCOMPARE(pane->areaInUse(), std::optional<Area>(Area::Header));
        QCOMPARE(pane->lastUsedArea(), Area::Header);
    }

    void markupGoesInAsOneUndoStepInItsOwnStyle()
    {
        QTextEdit* topic = pane->topicEditor();
        type(topic, QStringLiteral("see here now"));
        select(topic, 4, 8); // "here"
        pane->insertMarkup(Area::Topic, QStringLiteral("Here-->HERE"), struck(true), struck(false));

        QCOMPARE(topic->toPlainText(), QStringLiteral("see Here-->HERE now"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Here-->HERE"));
        QVERIFY(pane->isStruckOut(Area::Topic, 4, 11));
        QVERIFY(!pane->isStruckOut(Area::Topic, 3, 12)); // the blank before is plain
        QVERIFY(!pane->isStruckOut(Area::Topic, 4, 0));
        QCOMPARE(topic->textCursor().position(), 15);
        // What is typed next is plain again.
        QTest::keyClicks(topic, QStringLiteral("x"));
        QVERIFY(!charAt(topic, 15).fontStrikeOut());
        topic->undo(); // the "x"
        topic->undo(); // the whole insertion
        QCOMPARE(topic->toPlainText(), QStringLiteral("see here now"));
        QVERIFY(!charAt(topic, 4).fontStrikeOut());

        // With no area only the clipboard takes it; an empty text leaves it.
        const QString header = pane->headerEditor()->toHtml();
        const QString body = topic->toHtml();
        pane->insertMarkup(std::nullopt, QStringLiteral("{bmc a.bmp}"), QTextCharFormat(), QTextCharFormat());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("{bmc a.bmp}"));
        putOnClipboard(QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("{bmc a.bmp}"));
        QCOMPARE(pane->headerEditor()->toHtml(), header);
        QCOMPARE(topic->toHtml(), body);
    }

    void selectionsAreCopiedFromTheirLeastLength()
    {
        QTextEdit* header = pane->headerEditor();
        type(header, QStringLiteral("ab cd"));
        QGuiApplication::clipboard()->setText(QStringLiteral("mine"));
        select(header, 0, 1);
        QVERIFY(!pane->copySelection(Area::Header, 2));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("mine"));
        select(header, 3, 5);
        QCOMPARE(pane->selectedText(Area::Header), QStringLiteral("cd"));
        QVERIFY(pane->copySelection(Area::Header, 2));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("cd"));
    }

    void aWordIsSelectedUpToTheEndAndReplacedInItsFormat()
    {
        QTextEdit* topic = pane->topicEditor();
        type(topic, QStringLiteral("one twoo"));
        QCOMPARE(pane->plainText(Area::Topic), QStringLiteral("one twoo"));
        QTextCursor bold(topic->document());
        bold.setPosition(4);
        bold.setPosition(8, QTextCursor::KeepAnchor);
        QTextCharFormat b;
        b.setFontWeight(QFont::Bold);
        bold.mergeCharFormat(b);

        // A word said to run past the end stops at it.
        QCOMPARE(pane->selectText(Area::Topic, 4, 10), 4);
        QCOMPARE(pane->selectedText(Area::Topic), QStringLiteral("twoo"));
        QCOMPARE(pane->selectText(Area::Topic, 20, 3), 0);
        QCOMPARE(pane->selectedText(Area::Topic), QString());

        pane->selectText(Area::Topic, 4, 4);
        pane->replaceSelection(Area::Topic, QStringLiteral("two"));
        QCOMPARE(topic->toPlainText(), QStringLiteral("one two"));
        QCOMPARE(charAt(topic, 4).fontWeight(), int(QFont::Bold));
        QCOMPARE(charAt(topic, 6).fontWeight(), int(QFont::Bold));
        QCOMPARE(charAt(topic, 2).fontWeight(), int(QFont::Normal));

        pane->selectText(Area::Topic, 0, 3);
        pane->clearSelection(Area::Topic);
        QVERIFY(!topic->textCursor().hasSelection());
        QCOMPARE(topic->textCursor().position(), 3);
    }

    void formatsGoToTheAreaLastUsedAndAlignmentOnlyToTheOneInUse()
    {
        QTextEdit* header = pane->headerEditor();
        QTextEdit* topic = pane->topicEditor();
        type(topic, QStringLiteral("body"));
        type(header, QStringLiteral("head"));
        select(header, 0, 4);
        pane->keywordsEdit()->setFocus();

        QTextCharFormat italic;
        italic.setFontItalic(true);
        pane->mergeCharFormat(italic);
        QVERIFY(charAt(header, 0).fontItalic());
        QVERIFY(!charAt(topic, 0).fontItalic());
        QVERIFY(pane->formatAtCaret(Area::Header).fontItalic());

        QTextBlockFormat indent;
        indent.setLeftMargin(30);
        indent.setIndent(1);
        pane->mergeBlockFormat(indent);
        QCOMPARE(pane->paragraphIndentAtCaret(), 30 + header->document()->indentWidth());
        QCOMPARE(topic->document()->firstBlock().blockFormat().leftMargin(), 0.0);

        // From outside the areas alignment changes nothing.
        pane->alignParagraphs(Qt::AlignHCenter);
        QCOMPARE(pane->paragraphAlignmentAtCaret(), Qt::Alignment(Qt::AlignLeft));
        pane->focusArea(Area::Topic);
        pane->alignParagraphs(Qt::AlignHCenter);
        QCOMPARE(pane->paragraphAlignmentAtCaret(), Qt::Alignment(Qt::AlignHCenter));
        QCOMPARE(header->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
                 Qt::Alignment(Qt::AlignLeft));
    }
};

QTEST_MAIN(TopicEditorPaneTest)
#include "test_topiceditorpane.moc"
