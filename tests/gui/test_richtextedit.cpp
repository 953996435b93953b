// The topic editor: hidden text drawn apart but stored as it was, typing
// and pasting at a hidden run's end not hidden, and the clipboard carrying
// every format between editors and from word processors.

#include "RichDocumentSamples.h"
#include "RichTextAdapter.h"
#include "RichTextEdit.h"
#include "richtext/RtfWriter.h"
#include "test_mainwindow_support.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include <algorithm>

using namespace ts;
using namespace ts::testing;

namespace {

QString stored(const QTextEdit& editor)
{
    return QString::fromLatin1(saveEditorRtf(editor));
}

QString written(RichDocument d)
{
    d.normalize();
    return QString::fromLatin1(RtfWriter::write(d));
}

void place(QTextEdit& editor, int position, int anchor = -1)
{
    QTextCursor c(editor.document());
    c.setPosition(anchor < 0 ? position : anchor);
    if (anchor >= 0)
        c.setPosition(position, QTextCursor::KeepAnchor);
    editor.setTextCursor(c);
}

// The darkest grey level drawn over the characters [from, to) of a one-line paragraph.
int darkestOver(QTextEdit& editor, int from, int to)
{
    QTextCursor a(editor.document());
    a.setPosition(from);
    QTextCursor b(editor.document());
    b.setPosition(to);
    const QRect start = editor.cursorRect(a);
    const QRect end = editor.cursorRect(b);
    const QRect area(QPoint(start.left() + 2, start.top()), QPoint(end.left() - 2, end.bottom() + 2));
    const QImage image = editor.viewport()->grab().toImage();
    int darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            darkest = std::min(darkest, qGray(image.pixel(x, y)));
    return darkest;
}

} // namespace

class RichTextEditTest : public QObject {
    Q_OBJECT

private slots:
    void hiddenTextIsDrawnApartAndNotContinued()
    {
        const CharFormat plain = fmt("Arial", 28);
        CharFormat hidden = plain;
        hidden.Hidden = true;
        RichDocument d;
        d.Paragraphs = {para({{QStringLiteral("Normal "), plain},
                                   {QStringLiteral("HIDDENRUN"), hidden},
                                   {QStringLiteral(" tail"), plain}})};
        RichTextEdit editor;
        editor.resize(500, 200);
        loadEditorRtf(editor, RtfWriter::write(d));
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        place(editor, 0);

        // Drawn grey (the darkest pixel of the hidden run is far from black),
        // stored without the grey or the underline.
        QVERIFY(darkestOver(editor, 0, 6) < 80);
        QVERIFY(darkestOver(editor, 7, 16) > 100);
        QCOMPARE(stored(editor), written(d));

        // Typed right after the run, at its start and by paste: not hidden.
        // Typed inside it: hidden.
        place(editor, 16);
        QVERIFY(!isHiddenText(selectionFormat(editor))); // what link insertion takes
        QTest::keyClicks(&editor, QStringLiteral("X"));
        place(editor, 7);
        QTest::keyClicks(&editor, QStringLiteral("Y"));
        place(editor, 11);
        QVERIFY(isHiddenText(selectionFormat(editor)));
        QTest::keyClicks(&editor, QStringLiteral("z"));
        QGuiApplication::clipboard()->setText(QStringLiteral("P"));
        place(editor, 18);
        editor.paste();
        RichDocument expected;
        expected.Paragraphs = {para({{QStringLiteral("Normal Y"), plain},
                                          {QStringLiteral("HIDzDENRUN"), hidden},
                                          {QStringLiteral("PX tail"), plain}})};
        QCOMPARE(stored(editor), written(expected));
        place(editor, 0);
        QVERIFY(darkestOver(editor, 18, 20) < 80); // "PX" drawn as normal text
    }

    void everyFormatSurvivesCopyAndPasteBetweenEditors()
    {
        const RichDocument d = everything();
        CharFormat hidden = fmt("Arial", 16);
        hidden.Hidden = true;
        RichTextEdit source;
        loadEditorRtf(source, RtfWriter::write(d));
        source.selectAll();
        source.copy();
        const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
        QVERIFY(clip->hasFormat(QStringLiteral("text/rtf")) && clip->hasHtml());
        QCOMPARE(clip->text(), source.document()->toPlainText());

        RichTextEdit target;
        loadEditorRtf(target, QByteArray());
        target.paste();
        QCOMPARE(stored(target), written(d));
        target.undo(); // the paste is one step
        QVERIFY(fromTextDocument(*target.document()) == RichDocument());

        // One run ("-->TARGET_2", at 6..17 of the second paragraph) into the
        // middle of another paragraph: the run keeps its format, the
        // paragraph keeps its own.
        const int second = source.document()->findBlockByNumber(1).position();
        place(source, second + 17, second + 6);
        source.copy();
        RichDocument right;
        right.Paragraphs = {para({{QStringLiteral("ab"), fmt("Arial", 16)}}, Alignment::Right, 200)};
        loadEditorRtf(target, RtfWriter::write(right));
        place(target, 1);
        target.paste();
        right.Paragraphs[0].Runs = {{QStringLiteral("a"), fmt("Arial", 16)},
                                    {QStringLiteral("-->TARGET_2"), hidden},
                                    {QStringLiteral("b"), fmt("Arial", 16)}};
        QCOMPARE(stored(target), written(right));
    }

    // Through the main window: the topic area's text copied with the Copy
    // button and pasted into another topic is stored as it was.
    void topicTextCopiedToAnotherTopicIsStoredTheSame()
    {
        testing::MainWindowHarness h;
        h.show();
        h.newProject(QStringLiteral("FROM"));
        h.activate();
        auto& f = *h.form;
        loadEditorRtf(*f.editors->topicEditor(), RtfWriter::write(everything()));
        h.addTopic(QStringLiteral("TO"));
        h.activate();
        h.clickTab(0);
        f.editors->topicEditor()->setFocus();
        f.editors->topicEditor()->selectAll();
        h.click(f.toolBar->button(f.actions->copy));
        h.clickTab(1);
        f.editors->topicEditor()->setFocus();
        h.click(f.toolBar->button(f.actions->paste));
        h.clickTab(0); // stores the topic shown
        QCOMPARE(f.project().topic(1).BodyRtf, RtfWriter::write(everything()));
        QCOMPARE(f.project().topic(1).BodyRtf, f.project().topic(0).BodyRtf);
    }

    void pasteTakesRtfFirstThenHtml()
    {
        // What a word processor puts on the clipboard: style sheet, page
        // setup, \rtlch/\loch groups, associated fonts, \cf0 for automatic.
        const QByteArray wordProcessor =
            "{\\rtf1\\ansi\\deff4\\adeflang1025\r\n"
            "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 Symbol;}"
            "{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}"
            "{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}}\r\n"
            "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
            "{\\stylesheet{\\s0\\snext0\\rtlch\\af6\\afs24\\alang1081 \\ltrch\\lang2057\\hich\\af3\\loch\\ql"
            "\\widctlpar\\cf0\\f3\\fs24\\kerning1 Normal;}\r\n"
            "{\\s15\\sbasedon0\\snext16\\rtlch\\af6\\afs28 \\ltrch\\hich\\af4\\loch\\sb240\\sa120\\keepn\\f4\\fs28"
            " Heading;}}{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64}{\\info{\\creatim\\yr2024\\mo5\\dy1}}"
            "\\deftab709\\hyphauto1\\viewscale100\r\n"
            "{\\*\\pgdsctbl{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\pgdscnxt0 Default Page Style;}}\r\n"
            "\\formshade\\paperh16838\\paperw11906\\margl1134\\margr1134\\sectd\\sbknone\\sftnnar\\pgndec"
            "\\pard\\plain \\s0\\rtlch\\af6\\afs24\\alang1081 \\ltrch\\lang2057\\hich\\af3\\loch\\ql\\widctlpar"
            "\\cf0\\f3\\fs24\\kerning1\\li567{\\rtlch \\ltrch\\loch\r\nPlain }{\\b\\rtlch \\ltrch\\loch\r\nbold }"
            "{\\cf2\\strike\\rtlch \\ltrch\\loch\r\nstruck red}{\\v\\rtlch \\ltrch\\loch\r\n-->HIDDEN}\r\n"
            "\\par \\pard\\plain \\s0\\rtlch\\af6\\afs24 \\ltrch\\hich\\af3\\loch\\widctlpar\\cf0\\f3\\fs24\\qc"
            "{\\i\\fs32\\cf3\\rtlch \\ltrch\\loch\\f4\r\nCentred blue}\r\n\\par }";
        auto* data = new QMimeData;
        data->setData(RichTextEdit::rtfMimeType(), wordProcessor);
        data->setHtml(QStringLiteral("<b>html</b>"));
        data->setText(QStringLiteral("plain"));
        QGuiApplication::clipboard()->setMimeData(data);

        RichTextEdit editor;
        loadEditorRtf(editor, QByteArray());
        editor.paste();
        const CharFormat serif = fmt("Liberation Serif", 24);
        CharFormat bold = serif;
        bold.Bold = true;
        CharFormat struck = serif;
        struck.Strike = true;
        struck.Colour = 0xFF0000;
        CharFormat hidden = serif;
        hidden.Hidden = true;
        CharFormat blue = fmt("Liberation Sans", 32);
        blue.Italic = true;
        blue.Colour = 0x0000FF;
        RichDocument expected;
        expected.Paragraphs = {
            para({{QStringLiteral("Plain "), serif},
                       {QStringLiteral("bold "), bold},
                       {QStringLiteral("struck red"), struck},
                       {QStringLiteral("-->HIDDEN"), hidden}},
                      Alignment::Left, 567),
            para({{QStringLiteral("Centred blue"), blue}}, Alignment::Center),
        };
        QCOMPARE(stored(editor), written(expected));

        // Dropped, the same data goes in the same way.
        RichTextEdit dropTarget;
        loadEditorRtf(dropTarget, QByteArray());
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dropTarget.viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(dropTarget.viewport(), &drop);
        QCOMPARE(stored(dropTarget), written(expected));

        // Without RTF, HTML is taken before plain text.
        auto* html = new QMimeData;
        html->setHtml(QStringLiteral("<b>html</b>"));
        html->setText(QStringLiteral("plain"));
        QGuiApplication::clipboard()->setMimeData(html);
        loadEditorRtf(editor, QByteArray());
        editor.paste();
        const RichDocument pasted = fromTextDocument(*editor.document());
        QCOMPARE(pasted.plainText(), QStringLiteral("html"));
        QVERIFY(pasted.Paragraphs.front().Runs.front().Format.Bold);
    }

    // Help source RTF pasted from another WinHelp tool: its hotspots become
    // the program's link markup, and LibreOffice's paragraph spacing stays.
    void pastedWinHelpHotspotsAndSpacingArriveAsTheProgramKeepsThem()
    {
        auto* data = new QMimeData;
        data->setData(RichTextEdit::rtfMimeType(),
                      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\pard\\plain\\sa140\\sl276\\slmult1\\f0\\fs20 "
                      "See {\\uldb the overview}{\\v OVERVIEW} and {\\ul a term}{\\v GLOSSARY}.\\par}");
        QGuiApplication::clipboard()->setMimeData(data);
        RichTextEdit editor;
        loadEditorRtf(editor, QByteArray());
        editor.paste();
        const QByteArray rtf = saveEditorRtf(editor);
        QVERIFY2(rtf.contains("\\strike the overview-->OVERVIEW"), rtf.constData());
        QVERIFY2(rtf.contains("\\ul a term-->GLOSSARY"), rtf.constData());
        QVERIFY2(rtf.contains("\\pard\\sa140\\sl276\\slmult1\\plain"), rtf.constData());
        QCOMPARE(editor.document()->firstBlock().blockFormat().bottomMargin(), twipsToPixels(140));
    }
};

QTEST_MAIN(RichTextEditTest)
#include "test_richtextedit.moc"
