#pragma once
// Help documents built by hand for the publishing tests: a small file with
// every kind of link, a pop-up, a secondary window, keywords, [MAP]
// numbers, a contents file and a transparent picture; and texts and Topic
// IDs that try to break out of a page or the output folder.

#include "HelpDocumentParts.h"
#include "helpfile/HelpDocument.h"
#include "helpdoc/HtmlPublisher.h"
#include "helpfile/ContextHash.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace ts::samples {

using testing::macroHotspot;
using testing::paragraphOf;
using testing::textRun;

inline HelpHotspot jumpTo(int topic, const QString& id, HelpHotspot::Kind kind = HelpHotspot::Kind::Jump)
{
    return testing::hotspotTo(kind, topic, id);
}

// Topics: 0 Contents (CONTENTS), 1 "<script>alert(1)</script>" (../x),
// 2 the pop-up Definition (DEF), 3 Second (../X, the same name but for case).
inline HelpDocument sampleHelpDocument()
{
    HelpDocument doc;
    doc.fileName = QStringLiteral("/somewhere/SAMPLE.HLP");
    doc.readable = true;
    doc.title = QStringLiteral("Sample Help");
    HelpWindowDefinition main;
    main.flags = HelpWindowDefinition::NameValid | HelpWindowDefinition::ScrollingColourValid | HelpWindowDefinition::NonScrollingColourValid;
    main.name = QStringLiteral("main");
    main.scrollingColour = 0xFFFFF0;
    main.nonScrollingColour = 0xC0C0FF;
    HelpWindowDefinition sec;
    sec.flags = HelpWindowDefinition::NameValid | HelpWindowDefinition::CaptionValid | HelpWindowDefinition::ScrollingColourValid;
    sec.name = QStringLiteral("sec");
    sec.type = QStringLiteral("secondary");
    sec.caption = QStringLiteral("Glossary <b>");
    sec.scrollingColour = 0x204060;
    doc.windows = {main, sec};
    HelpFont plain;
    plain.face = QStringLiteral("Arial");
    HelpFont heading = plain;
    heading.halfPoints = 28;
    heading.bold = true;
    heading.colour = 0x800000;
    doc.fonts = {plain, heading};

    const QStringList titles = {QStringLiteral("Contents"), QStringLiteral("<script>alert(1)</script>"),
                                QStringLiteral("Definition"), QStringLiteral("Second")};
    const QStringList ids = {QStringLiteral("CONTENTS"), QStringLiteral("../x"), QStringLiteral("DEF"), QStringLiteral("../X")};
    for (int i = 0; i < 4; ++i) {
        HelpTopic t;
        t.title = titles[i];
        t.topicId = ids[i];
        t.hash = helpfile::contextHash(ids[i].toLatin1());
        t.hasHash = true;
        t.topicOffset = std::uint32_t(i * 0x1000);
        doc.topics.push_back(t);
    }
    doc.topics[0].keywords[QLatin1Char('K')] = {QStringLiteral("alpha")};
    doc.contentsTopic = 0;
    doc.keywordTables[QLatin1Char('K')] = {HelpKeyword{QStringLiteral("alpha"), {0, 1}, {0, 0x1000}},
                                           HelpKeyword{QStringLiteral("beta <i>"), {1}, {0x1000}}};
    doc.keywordTables[QLatin1Char('A')] = {HelpKeyword{QStringLiteral("related"), {1, 3}, {0x1000, 0x3000}}};
    doc.mapEntries = {HelpMapEntry{100, HelpLocation{1, 0x1000, true}}, HelpMapEntry{200, HelpLocation{}},
                      HelpMapEntry{300, HelpLocation{1, 0x1000, true}}};

    HelpContentsEntry book;
    book.kind = HelpContentsEntry::Kind::Book;
    book.text = QStringLiteral("Getting started");
    HelpContentsEntry intro;
    intro.level = 2;
    intro.text = QStringLiteral("Introduction");
    intro.topicId = QStringLiteral("CONTENTS");
    intro.topic = 0;
    HelpContentsEntry missing = intro;
    missing.text = QStringLiteral("Gone");
    missing.topicId = QStringLiteral("NOPE");
    missing.topic = -1;
    doc.contents.entries = {book, intro, missing};
    doc.contents.path = QStringLiteral("/somewhere/SAMPLE.CNT");
    doc.configMacros = {QStringLiteral("BrowseButtons()"), QStringLiteral("RegisterRoutine(\"x.dll\",\"F\",\"\")")};
    doc.finishBuilding();

    HelpTopicContent c0;
    c0.nonScrolling = {paragraphOf({textRun(QStringLiteral("Welcome"), 1)})};
    HelpHotspot other = jumpTo(-1, QStringLiteral("FAR_AWAY"));
    other.file = QStringLiteral("OTHER.HLP");
    HelpHotspot broken = jumpTo(-1, QStringLiteral("NOWHERE"));
    HelpHotspot inSec = jumpTo(3, QStringLiteral("../X"));
    inSec.window = QStringLiteral("sec");
    c0.hotspots = {jumpTo(1, QStringLiteral("../x")), jumpTo(2, QStringLiteral("DEF"), HelpHotspot::Kind::Popup), inSec,
                   other, broken, macroHotspot(QStringLiteral("KLink(`alpha', 0)")),
                   macroHotspot(QStringLiteral("ExecFile(notepad.exe)"))};
    HelpRun picture;
    picture.kind = HelpRun::Kind::Picture;
    picture.picture = 0;
    picture.placement = HelpPlacement::Left;
    HelpRun button;
    button.kind = HelpRun::Kind::EmbeddedWindow;
    button.embedded = HelpEmbeddedWindow{HelpEmbeddedWindow::Kind::Button, QStringLiteral("!Go,JumpId(`', `DEF')"),
                                         QStringLiteral("Go & see"), QStringLiteral("JumpId(`', `DEF')"), {}, {}, {}, {}, {}, 0, 0};
    HelpParagraph tabbed = paragraphOf({textRun(QStringLiteral("Name\tValue & <more>"))});
    tabbed.tabs = {HelpTabStop{1440, HelpTabStop::Kind::Left}};
    tabbed.leftIndent = 360;
    tabbed.align = HelpAlignment::Center;
    c0.scrolling = {
        paragraphOf({picture, textRun(QStringLiteral("See ")), textRun(QStringLiteral("the script topic"), -1, 0),
                     textRun(QStringLiteral(", a ")), textRun(QStringLiteral("term"), -1, 1), textRun(QStringLiteral(", ")),
                     textRun(QStringLiteral("a glossary entry"), -1, 2)}),
        paragraphOf({textRun(QStringLiteral("Far"), -1, 3), textRun(QStringLiteral(" and ")),
                     textRun(QStringLiteral("lost"), -1, 4), textRun(QStringLiteral(" ")),
                     textRun(QStringLiteral("alpha topics"), -1, 5), textRun(QStringLiteral(" ")),
                     textRun(QStringLiteral("Notepad"), -1, 6), button}),
        tabbed};
    doc.setContent(0, c0);

    HelpTopicContent c1;
    c1.scrolling = {paragraphOf({textRun(QStringLiteral("</p><script>alert(2)</script> zebra"))})};
    doc.setContent(1, c1);
    HelpTopicContent c2;
    c2.scrolling = {paragraphOf({textRun(QStringLiteral("A definition with quokka words."))})};
    doc.setContent(2, c2);
    HelpTopicContent c3;
    c3.scrolling = {paragraphOf({textRun(QStringLiteral("Second text.\u2028New line."))})};
    doc.setContent(3, c3);

    HelpPicture pic;
    pic.format = HelpPicture::Format::Bitmap;
    pic.transparent = true;
    pic.image.width = 2;
    pic.image.height = 2;
    pic.image.rgba = QByteArray("\xFF\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00\xFF\xFF\x00\x00\x00\x00", 16);
    doc.setPicture(0, pic);
    return doc;
}

inline QString fileText(const publish::HtmlSite& site, const QString& path)
{
    const publish::SiteFile* f = site.file(path);
    return f ? QString::fromUtf8(f->bytes) : QString();
}

} // namespace ts::samples
