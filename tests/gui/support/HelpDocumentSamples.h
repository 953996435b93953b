#pragma once
// Help documents built by hand for the help viewer's tests, and ways to click
// what the viewer draws.
//
// The sample: topics 0 "Contents" (a band, then a jump, a pop-up, a macro
// hotspot and a hotspot drawn as plain text), 1 "Printing", 2 "Definition"
// (the pop-up's text), 3 "Setup" (shown in the secondary window "sec");
// the K keyword "printer" leads to 1 and 3.

#include "HelpDocumentParts.h"
#include "helpfile/HelpDocument.h"
#include "helpfile/ContextHash.h"
#include "helpfile/HelpCodePage.h"
#include "viewer/HelpTopicListDialog.h"
#include "viewer/HelpTopicView.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>

namespace ts::testing {

inline const QString FilePath = QStringLiteral("/nonexistent/demo.hlp");

inline HelpRun text(const QString& s, int hotspot = -1, int font = -1) { return textRun(s, font, hotspot); }
inline HelpParagraph paragraph(std::vector<HelpRun> runs) { return paragraphOf(std::move(runs)); }

// Topics: 0 "Contents" (band + links), 1 "Printing", 2 "Definition" (pop-up
// text), 3 "Setup", shown in the secondary window "sec".
inline HelpDocument sampleDocument()
{
    HelpDocument doc;
    doc.title = QStringLiteral("Demo Help");
    HelpFont body;
    body.face = QStringLiteral("Arial");
    body.halfPoints = 20;
    HelpFont heading = body;
    heading.halfPoints = 28;
    heading.bold = true;
    heading.colour = 0x000080;
    doc.fonts = {body, heading};

    HelpWindowDefinition main;
    main.flags = HelpWindowDefinition::NameValid | HelpWindowDefinition::CaptionValid | HelpWindowDefinition::ScrollingColourValid
                 | HelpWindowDefinition::NonScrollingColourValid;
    main.name = QStringLiteral("main");
    main.caption = QStringLiteral("Demo Main Caption");
    main.scrollingColour = 0xFFFFE0;
    main.nonScrollingColour = 0xC0C0FF;
    HelpWindowDefinition sec;
    sec.flags = HelpWindowDefinition::NameValid | HelpWindowDefinition::CaptionValid | HelpWindowDefinition::XValid | HelpWindowDefinition::YValid
                | HelpWindowDefinition::WidthValid | HelpWindowDefinition::HeightValid | HelpWindowDefinition::ScrollingColourValid | HelpWindowDefinition::OnTop;
    sec.name = QStringLiteral("sec");
    sec.caption = QStringLiteral("Side Notes");
    sec.x = 512;
    sec.y = 256;
    sec.width = 256;
    sec.height = 512;
    sec.state = 0x4000 | 0x0400; // Back and Contents buttons
    sec.scrollingColour = 0xE0FFE0;
    doc.windows = {main, sec};

    const char* titles[] = {"Contents", "Printing", "Definition", "Setup"};
    const char* ids[] = {"contents", "printing", "definition", "setup"};
    for (int i = 0; i < 4; ++i) {
        HelpTopic topic;
        topic.title = QString::fromLatin1(titles[i]);
        topic.topicId = QString::fromLatin1(ids[i]);
        topic.topicOffset = std::uint32_t(i * 0x1000);
        topic.hash = helpfile::contextHash(helpfile::encodeText(topic.topicId, 1252));
        topic.hasHash = true;
        doc.topics.push_back(topic);
    }
    doc.topics[1].browseNext = 3;
    doc.topics[3].browsePrevious = 1;
    doc.topics[3].window = 1;

    HelpTopicContent contents;
    contents.nonScrolling = {paragraph({text(QStringLiteral("Demo Contents"), -1, 1)})};
    contents.hotspots = {hotspotTo(HelpHotspot::Kind::Jump, 1), hotspotTo(HelpHotspot::Kind::Popup, 2),
                         macroHotspot(QStringLiteral("ExecFile(`notepad.exe', `readme.txt')")),
                         hotspotTo(HelpHotspot::Kind::Jump, 3)};
    contents.hotspots[3].drawnAsHotspot = false;
    contents.scrolling = {paragraph({text(QStringLiteral("See "), -1, 0), text(QStringLiteral("Printing"), 0, 0),
                                     text(QStringLiteral(" and the "), -1, 0), text(QStringLiteral("definition"), 1, 0),
                                     text(QStringLiteral(".")), text(QStringLiteral(" Notepad"), 2),
                                     text(QStringLiteral(" Setup"), 3)})};
    doc.setContent(0, contents);
    HelpTopicContent printing;
    printing.scrolling = {paragraph({text(QStringLiteral("To print a topic, click Print."))})};
    doc.setContent(1, printing);
    HelpTopicContent definition;
    definition.scrolling = {paragraph({text(QStringLiteral("A short definition."))})};
    doc.setContent(2, definition);
    HelpTopicContent setup;
    setup.scrolling = {paragraph({text(QStringLiteral("Run setup from the printer disk."))})};
    doc.setContent(3, setup);

    HelpKeyword shared{QStringLiteral("printer"), {1, 3}, {}};
    HelpKeyword single{QStringLiteral("definitions"), {2}, {}};
    doc.keywordTables[QLatin1Char('K')] = {shared, single};
    doc.contentsTopic = 0;
    doc.finishBuilding();
    return doc;
}

// Where the anchor `href` is drawn in `view`, in viewport coordinates.
inline QPoint anchorPoint(HelpTopicView* view, const QString& href)
{
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().anchorHref() == href) {
                // Midway between the caret before and after its first character.
                QTextCursor cursor(view->document());
                cursor.setPosition(fragment.position());
                const QRect before = view->cursorRect(cursor);
                cursor.setPosition(fragment.position() + 1);
                const QRect after = view->cursorRect(cursor);
                return QPoint((before.left() + after.left()) / 2, after.center().y());
            }
        }
    return QPoint(-1, -1);
}

inline void clickAnchor(HelpTopicView* view, const QString& href)
{
    const QPoint at = anchorPoint(view, href);
    QVERIFY2(at.x() >= 0, qPrintable(href));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

inline QTextCharFormat formatOfAnchor(HelpTopicView* view, const QString& href)
{
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorHref() == href)
                return it.fragment().charFormat();
    return {};
}

// Answers the modal list dialog that opens next by choosing `row`.
inline void chooseInNextList(int row)
{
    QTimer::singleShot(0, [row] {
        auto* dialog = qobject_cast<HelpTopicListDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Topics Found"));
        dialog->topicList()->setCurrentItem(dialog->topicList()->topLevelItem(row));
        dialog->displayButton->click();
    });
}


} // namespace ts::testing
