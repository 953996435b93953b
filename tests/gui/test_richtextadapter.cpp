// Rich text between the program's documents and the editors: every format
// survives document -> editor -> document and RTF -> editor -> RTF, and what
// a user types comes out as the expected runs.

#include "RichDocumentSamples.h"
#include "RichTextAdapter.h"
#include "RichTextEdit.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

using namespace ts;
using namespace ts::testing;

namespace {

QString describe(const RichDocument& d)
{
    return QString::fromLatin1(RtfWriter::write(d));
}

} // namespace

class RichTextAdapterTest : public QObject {
    Q_OBJECT

private slots:
    void documentSurvivesTheEditor()
    {
        const RichDocument original = everything();
        QTextDocument qt;
        toTextDocument(original, qt);
        QCOMPARE(qt.blockCount(), int(original.Paragraphs.size()));
        RichDocument back = fromTextDocument(qt);
        RichDocument expected = original;
        expected.normalize();
        back.normalize();
        QCOMPARE(describe(back), describe(expected));
        QVERIFY(back == expected);
        for (int twips : {1, 7, 399, -1, 28800})
            QCOMPARE(pixelsToTwips(twipsToPixels(twips)), twips);
    }

    // Spacing, tab stops and the character formats word processors add are
    // shown by the editor and come back from it unchanged.
    void spacingTabsAndWordProcessorFormatsSurviveTheEditor()
    {
        RichDocument d;
        Paragraph p;
        CharFormat raised, lowered, marked, doubled;
        raised.Vertical = VerticalPosition::Superscript;
        raised.SmallCaps = true;
        lowered.Vertical = VerticalPosition::Subscript;
        marked.Highlight = 0xFFFF00;
        doubled.DoubleUnderline = true;
        p.Runs = {{QStringLiteral("a\t"), CharFormat()}, {QStringLiteral("up"), raised}, {QStringLiteral("down"), lowered},
                  {QStringLiteral("marked"), marked}, {QStringLiteral("double"), doubled}};
        p.SpaceBefore = 120;
        p.SpaceAfter = 140;
        p.LineSpacing = 276;
        p.LineSpacingMultiple = true;
        p.Tabs = {{720, TabStop::Kind::Left, TabStop::Leader::None}, {2880, TabStop::Kind::Center, TabStop::Leader::None},
                  {4320, TabStop::Kind::Decimal, TabStop::Leader::None}, {8640, TabStop::Kind::Right, TabStop::Leader::Dots}};
        Paragraph exact = p;
        exact.Runs = {{QStringLiteral("exact"), CharFormat()}};
        exact.LineSpacing = -360;
        exact.LineSpacingMultiple = false;
        exact.Tabs.clear();
        Paragraph atLeast = exact;
        atLeast.LineSpacing = 300;
        Paragraph single = exact; // "\sl240\slmult1", as LibreOffice writes single spacing
        single.LineSpacing = 240;
        single.LineSpacingMultiple = true;
        d.Paragraphs = {p, exact, atLeast, single};

        QTextDocument qt;
        toTextDocument(d, qt);
        const QTextBlockFormat first = qt.firstBlock().blockFormat();
        QCOMPARE(first.topMargin(), twipsToPixels(120));
        QCOMPARE(first.bottomMargin(), twipsToPixels(140));
        QCOMPARE(first.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
        QCOMPARE(first.lineHeight(), 115.0);
        QCOMPARE(first.tabPositions().size(), 4);
        QCOMPARE(first.tabPositions()[3].type, QTextOption::RightTab);
        QCOMPARE(qt.firstBlock().next().blockFormat().lineHeightType(), int(QTextBlockFormat::FixedHeight));
        RichDocument back = fromTextDocument(qt);
        back.normalize();
        d.normalize();
        QCOMPARE(describe(back), describe(d));
        QVERIFY(back == d);
    }

    // Tabs stop every half inch, as in help files, in the editors and in
    // every document the adapter fills; a tab stop of the paragraph comes first.
    void tabsStopAtTheHelpFileGrid()
    {
        RichTextEdit editor;
        QCOMPARE(editor.tabStopDistance(), twipsToPixels(DefaultTabTwips));
        // Stops count from the left margin, as in help files, whatever the
        // paragraph's indents; a hanging indent is a stop of its own.
        const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard x\\tab y\\par\\pard\\tx2000 x\\tab y\\par"
                               "\\pard\\li720\\tx2000 x\\tab y\\par\\pard\\fi360\\li360\\tx1440 x\\tab y\\par"
                               "\\pard\\fi-360\\li720 \\'95\\tab y\\par"
                               "\\pard\\fi-360\\li720\\tx360\\tx2880 \\'95\\tab x\\tab y\\par}";
        loadEditorRtf(editor, rtf);
        editor.resize(800, 400);
        editor.show();
        QCOMPARE(editor.document()->defaultTextOption().tabStopDistance(), twipsToPixels(720));
        editor.document()->documentLayout(); // lays the blocks out
        struct Expected {
            int block, position, twips;
        };
        const Expected stops[] = {{0, 2, 720},  {1, 2, 2000}, {2, 2, 2000}, {3, 2, 1440},
                                  {4, 2, 720},  {5, 2, 720},  {5, 4, 2880}};
        for (const Expected& e : stops) {
            const QTextBlock block = editor.document()->findBlockByNumber(e.block);
            const qreal x = block.layout()->lineAt(0).cursorToX(e.position); // after a tab
            QVERIFY2(qAbs(x - twipsToPixels(e.twips)) < 1.5,
                     qPrintable(QStringLiteral("block %1: %2 px, not %3").arg(e.block).arg(x).arg(twipsToPixels(e.twips))));
        }
        // The stops come back as they were read; the one at the hanging
        // indent was never the paragraph's.
        const RichDocument read = RtfReader::read(rtf);
        const RichDocument back = fromTextDocument(*editor.document());
        const RichDocument saved = RtfReader::read(saveEditorRtf(editor));
        QCOMPARE(back.Paragraphs.size(), read.Paragraphs.size());
        for (std::size_t i = 0; i < read.Paragraphs.size(); ++i) {
            QVERIFY(back.Paragraphs[i].Tabs == read.Paragraphs[i].Tabs);
            QVERIFY(saved.Paragraphs[i].Tabs == read.Paragraphs[i].Tabs);
        }
        QCOMPARE(read.Paragraphs[5].Tabs.size(), std::size_t(2));
    }

    void editorRtfIsStable()
    {
        QTextEdit editor;
        const QByteArray ours = RtfWriter::write(everything());
        loadEditorRtf(editor, ours);
        QCOMPARE(saveEditorRtf(editor), ours);

        // RTF of another writer: once through the editor, it settles.
        const QByteArray foreign =
            "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss Arial;}}"
            "{\\colortbl;\\red0\\green0\\blue255;}\\pard\\qc\\li720 {\\b Bold}\\i  and \\cf1 blue\\par"
            "\\pard\\fi-360\\li360\\f1\\fs20 Item\\tab one\\line two{\\v hidden}\\par}";
        loadEditorRtf(editor, foreign);
        const QByteArray once = saveEditorRtf(editor);
        loadEditorRtf(editor, once);
        QCOMPARE(saveEditorRtf(editor), once);
        QCOMPARE(fromTextDocument(*editor.document()).paragraphTexts(),
                 (QStringList{QStringLiteral("Bold and blue"), QStringLiteral("Item\tone\u2028twohidden")}));
    }

    void emptyAndPlainBlocksLoad()
    {
        QTextEdit editor;
        loadEditorRtf(editor, QByteArray());
        QVERIFY(editor.toPlainText().isEmpty());
        QVERIFY(fromTextDocument(*editor.document()) == RichDocument());

        loadEditorRtf(editor, QByteArray("first line\r\nsecond"));
        QCOMPARE(editor.document()->blockCount(), 2);
        QCOMPARE(editor.toPlainText(), QStringLiteral("first line\nsecond"));
    }

    void typedTextGivesTheExpectedRuns()
    {
        QTextEdit editor;
        loadEditorRtf(editor, QByteArray());
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        QTest::keyClicks(&editor, QStringLiteral("Hello "));
        editor.setFontWeight(QFont::Bold); // the toolbar's Bold
        QTest::keyClicks(&editor, QStringLiteral("World"));
        QTest::keyClick(&editor, Qt::Key_Return);
        editor.setFontWeight(QFont::Normal);
        editor.setFontItalic(true);
        editor.setAlignment(Qt::AlignHCenter);
        QTest::keyClicks(&editor, QStringLiteral("Next"));

        CharFormat plain; // the empty document's format: Arial 8 pt
        CharFormat bold = plain;
        bold.Bold = true;
        CharFormat italic = plain;
        italic.Italic = true;
        RichDocument expected;
        expected.Paragraphs = {para({{QStringLiteral("Hello "), plain}, {QStringLiteral("World"), bold}}),
                               para({{QStringLiteral("Next"), italic}}, Alignment::Center)};
        const QByteArray rtf = saveEditorRtf(editor);
        QCOMPARE(QString::fromLatin1(rtf), describe(expected));
        QVERIFY(rtf.contains("\\pard\\plain\\f0\\fs16 Hello \\plain\\f0\\fs16\\b World\r\n"));
        QVERIFY(rtf.contains("\r\n\\par \\pard\\qc\\plain\\f0\\fs16\\i Next\r\n"));
    }

    // The document keeps the flag; a cursor writing into the document
    // continues the run's format (the editors decide what typing takes).
    void hiddenTextReadsBackAndCursorInsertsContinueIt()
    {
        CharFormat hidden;
        hidden.Hidden = true;
        RichDocument d;
        d.Paragraphs = {para({{QStringLiteral("Go"), CharFormat()}, {QStringLiteral("-->HERE"), hidden}})};
        QTextEdit editor;
        loadEditorRtf(editor, RtfWriter::write(d));
        QCOMPARE(editor.toPlainText(), QStringLiteral("Go-->HERE"));
        QTextCursor c(editor.document());
        c.movePosition(QTextCursor::End);
        c.insertText(QStringLiteral("X"));
        const RichDocument back = fromTextDocument(*editor.document());
        QCOMPARE(back.Paragraphs.front().Runs.back().Text, QStringLiteral("-->HEREX"));
        QVERIFY(back.Paragraphs.front().Runs.back().Format.Hidden);
    }

    // Undo after switching topics must not bring back the previous topic.
    void loadStartsAFreshUndoHistory()
    {
        QTextEdit editor;
        loadEditorRtf(editor, QByteArray("topic A"));
        editor.textCursor().insertText(QStringLiteral("typed "));
        loadEditorRtf(editor, QByteArray("topic B"));
        QVERIFY(!editor.document()->isUndoAvailable());
        editor.undo();
        QCOMPARE(editor.toPlainText(), QStringLiteral("topic B"));
    }

    // Text pasted from elsewhere arrives as HTML: the formats the editors
    // keep are recognised, the rest is dropped.
    void pastedHtmlKeepsItsFormats()
    {
        QTextEdit editor;
        loadEditorRtf(editor, QByteArray());
        editor.insertHtml(QStringLiteral("<p align=\"right\"><span style=\"font-family:'Courier New'; font-size:12pt;"
                                         " color:#0000ff; text-decoration: underline\">blue</span>"
                                         "<b> bold</b><img src=\"none.png\"></p>"));
        const RichDocument d = fromTextDocument(*editor.document());
        const Paragraph& p = d.Paragraphs.back();
        QCOMPARE(p.text(), QStringLiteral("blue bold"));
        QCOMPARE(p.Runs.front().Format.Face, QStringLiteral("Courier New"));
        QCOMPARE(p.Runs.front().Format.Size, 24);
        QCOMPARE(p.Runs.front().Format.Colour, std::optional<std::uint32_t>(0x0000FF));
        QVERIFY(p.Runs.front().Format.Underline);
        QVERIFY(p.Runs.back().Format.Bold);
    }
};

QTEST_MAIN(RichTextAdapterTest)
#include "test_richtextadapter.moc"
