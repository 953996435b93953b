// Importing help files: Topic IDs that hash as the file's did, the text with
// its link markup, windows, contents, the project's limits and the import
// log; and the whole way round: a project compiled, imported and compiled
// again shows what the first help file showed, for our own projects and for
// the help files made by Microsoft's compilers in the samples folder.

#include "cli/CommandLine.h"
#include "contents/ContentsFile.h"
#include "helpdoc/HelpImportIds.h"
#include "helpdoc/HelpImporter.h"
#include "helpfile/ContextHash.h"
#include "helpfile/HelpCompiler.h"
#include "helpfile/HelpFileReader.h"
#include "helpsource/CntWriter.h"
#include "model/ProjectFile.h"
#include "model/WholeFile.h"
#include "model/Windows1252.h"
#include "richtext/RtfWriter.h"
#include "richtext/StoredText.h"
#include "TopicSamples.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace ts;
using namespace ts::helpimport;
using ts::testing::rtf;
using ts::testing::with;

namespace {

std::int32_t hashOf(const QString& id) { return helpfile::contextHash(cp1252::encode(id)); }

Run run(const QString& text, CharFormat f = CharFormat()) { return Run{text, f}; }

Paragraph para(std::vector<Run> runs, int left = 0, Alignment align = Alignment::Left)
{
    Paragraph p;
    p.Runs = std::move(runs);
    p.LeftIndent = left;
    p.Align = align;
    return p;
}

RichDocument bodyOf(const Project& p, int i) { return readStoredText(p.topic(i).BodyRtf); }

// A topic's text with its links marked, each target that leads to a topic
// of the file written as that topic's number, names of other files' topics
// as their hash; what a compiled file's reader shows, whatever the names.
QString comparableText(const HelpDocument& doc, int topic)
{
    static const QRegularExpression target(QStringLiteral(" -> ([^\\]]*)\\]"));
    QString text = doc.topicText(topic, HelpDocument::TextStyle::MarkedLinks);
    QString out;
    qsizetype at = 0;
    for (QRegularExpressionMatchIterator it = target.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString t = m.captured(1);
        if (!t.startsWith(QLatin1Char('!'))) {
            const qsizetype cut = t.indexOf(QRegularExpression(QStringLiteral("[>@]")));
            const QString id = cut < 0 ? t : t.left(cut);
            const qsizetype at = t.indexOf(QLatin1Char('@'));
            const bool elsewhere = at >= 0 && !namesThisHelpFile(doc, t.mid(at + 1).section(QLatin1Char('>'), 0, 0));
            const int index = elsewhere ? -1 : doc.findTopic(id);
            const QString hash = id.startsWith(QLatin1String("0x")) ? id : HelpDocument::hashText(hashOf(id));
            const QString rest = cut < 0 ? QString() : at >= 0 && !elsewhere ? t.mid(cut, at - cut) : t.mid(cut);
            t = (index >= 0 ? QStringLiteral("#%1").arg(index) : hash) + rest;
        }
        out += text.mid(at, m.capturedStart() - at) + QStringLiteral(" -> ") + t + QLatin1Char(']');
        at = m.capturedEnd();
    }
    out += text.mid(at);
    // A compiled topic always has a scrolling paragraph, if only an empty one.
    while (out.endsWith(QLatin1Char('\n')))
        out.chop(1);
    return out;
}

// A topic's paragraphs as the help file stores them, one line each: space
// above, below and between lines, indents and tab stops (in ascending order,
// as a project holds them).
QStringList paragraphLayout(const HelpDocument& doc, int topic)
{
    QStringList lines;
    const HelpTopicContent& c = doc.content(topic);
    for (const std::vector<HelpParagraph>* region : {&c.nonScrolling, &c.scrolling})
        for (const HelpParagraph& p : *region) {
            QString line = QStringLiteral("%1 %2 %3 | %4 %5 %6 |")
                               .arg(p.spaceBefore).arg(p.spaceAfter).arg(p.lineSpacing)
                               .arg(p.leftIndent).arg(p.rightIndent).arg(p.firstIndent);
            std::vector<HelpTabStop> tabs = p.tabs;
            std::stable_sort(tabs.begin(), tabs.end(), [](auto& a, auto& b) { return a.position < b.position; });
            for (const HelpTabStop& t : tabs)
                line += QStringLiteral(" %1%2").arg(t.position).arg(QLatin1Char("LRC"[int(t.kind)]));
            lines << line;
        }
    return lines;
}

// Compiles the project saved at `path`, writes its help file (and .cnt) and
// reads it back.
HelpDocument compileAndRead(const QString& path)
{
    const Project project = ProjectFile::load(path);
    HelpCompileReport report;
    writeWholeFile(helpFilePathFor(project), compileHelpFileBytes(project, report));
    CntWriter::write(project);
    return helpfile::readHelpFile(helpFilePathFor(project));
}

// The second help file shows what the first one showed: the same topics,
// titles (as far as a project holds them), text, links and keywords, every
// topic under a hash it had.
void expectSameHelp(const HelpDocument& before, const HelpDocument& after, const ImportLog& log)
{
    ASSERT_EQ(after.topics.size(), before.topics.size()) << before.fileName.toStdString();
    for (int i = 0; i < int(before.topics.size()); ++i) {
        const HelpTopic& b = before.topics[size_t(i)];
        const HelpTopic& a = after.topics[size_t(i)];
        const std::string where = before.fileName.toStdString() + " topic " + std::to_string(i + 1);
        EXPECT_EQ(a.title, b.title.left(50)) << where;
        if (!b.hashes.empty()) {
            EXPECT_NE(std::find(b.hashes.begin(), b.hashes.end(), a.hash), b.hashes.end()) << where;
        }
        EXPECT_EQ(comparableText(after, i).toStdString(), comparableText(before, i).toStdString()) << where;
        // Table rows come back as paragraphs of their own, laid out apart.
        if (before.content(i).tableRows.empty()) {
            QStringList layout = paragraphLayout(after, i);
            if (before.content(i).scrolling.empty() && !layout.isEmpty())
                layout.removeLast();
            EXPECT_EQ(layout.join(QLatin1Char('\n')).toStdString(), paragraphLayout(before, i).join(QLatin1Char('\n')).toStdString())
                << where;
        }
        QStringList beforeWords = b.keywords.count(QLatin1Char('K')) ? b.keywords.at(QLatin1Char('K')) : QStringList();
        if (b.keywords.count(QLatin1Char('A')))
            beforeWords += b.keywords.at(QLatin1Char('A'));
        const QStringList afterWords = a.keywords.count(QLatin1Char('K')) ? a.keywords.at(QLatin1Char('K')) : QStringList();
        for (const QString& word : beforeWords)
            EXPECT_TRUE(afterWords.contains(word, Qt::CaseInsensitive) || log.mentions(word)) << where << " " << word.toStdString();
        for (const QString& word : afterWords)
            EXPECT_TRUE(beforeWords.contains(word, Qt::CaseInsensitive)) << where;
    }
}

TEST(HelpImport, MadeUpTopicIdsHashToTheStoredValue)
{
    std::vector<std::int32_t> hashes{0, 1, -1, INT32_MIN, INT32_MAX, hashOf(QStringLiteral("CONTENTS"))};
    QRandomGenerator random(7);
    for (int i = 0; i < 200; ++i)
        hashes.push_back(std::int32_t(random.generate()));
    const QString longPrefix = QStringLiteral("A_RATHER_LONG_TITLE_THAT_FILLS_MOST_OF_THE_ID_");
    for (const QString& prefix : {QString(), QStringLiteral("GETTING_STARTED_"), longPrefix})
        for (const std::int32_t hash : hashes) {
            const QString id = idWithHash(prefix, hash);
            ASSERT_EQ(hashOf(id), hash) << id.toStdString();
            EXPECT_LE(id.size(), MaxTopicIdLength);
            EXPECT_TRUE(id.startsWith(prefix.left(40)));
            EXPECT_LE(id.size() - qMin(prefix.size(), id.size()), 9);
            EXPECT_TRUE(holdsAsTopicId(id, hash)) << id.toStdString();
        }

    EXPECT_EQ(idStem(QStringLiteral("Getting started: the 1st step..."), 40), QStringLiteral("GETTING_STARTED_THE_1ST_STEP"));
    EXPECT_EQ(idStem(QStringLiteral("?!"), 40), QStringLiteral("TOPIC"));
    EXPECT_EQ(idStem(QStringLiteral("abc def"), 5), QStringLiteral("ABC_D"));
    EXPECT_TRUE(holdsAsTopicId(QStringLiteral("Intro_2"), hashOf(QStringLiteral("INTRO_2"))));
    EXPECT_FALSE(holdsAsTopicId(QStringLiteral("two words"), hashOf(QStringLiteral("two words"))));
    EXPECT_FALSE(holdsAsTopicId(QStringLiteral("A>B"), hashOf(QStringLiteral("A>B"))));
    EXPECT_FALSE(holdsAsTopicId(QString(51, QLatin1Char('A')), hashOf(QString(51, QLatin1Char('A')))));
    // Upper-casing an accented letter changes its hash: such a name is no ID.
    EXPECT_FALSE(holdsAsTopicId(QStringLiteral("caf\u00e9"), hashOf(QStringLiteral("caf\u00e9"))));
}

// A help document built by hand: topics T0, T1, ... titled "Topic n", their
// IDs known (as from a Topic ID table), fonts 0 plain, 1 struck out, 2 small capitals.
HelpDocument handMade(int topics)
{
    HelpDocument doc;
    doc.fileName = QStringLiteral("HAND.HLP");
    doc.readable = true;
    HelpFont plain;
    plain.face = QStringLiteral("Arial");
    plain.halfPoints = 20;
    doc.fonts = {plain, plain, plain};
    doc.fonts[1].strikeOut = true;
    doc.fonts[2].smallCaps = true;
    for (int i = 0; i < topics; ++i) {
        HelpTopic t;
        t.title = QStringLiteral("Topic %1").arg(i);
        t.hash = hashOf(QStringLiteral("T%1").arg(i));
        t.hasHash = true;
        t.hashes = {t.hash};
        t.topicId = QStringLiteral("T%1").arg(i);
        t.topicOffset = std::uint32_t(i) * 0x8000;
        doc.topics.push_back(t);
    }
    doc.finishBuilding();
    return doc;
}

HelpRun textRun(const QString& text, int font = 0, int hotspot = -1)
{
    HelpRun r;
    r.text = text;
    r.font = font;
    r.hotspot = hotspot;
    return r;
}

HelpHotspot link(HelpHotspot::Kind kind, int topic, bool drawn = true)
{
    HelpHotspot h;
    h.kind = kind;
    h.targetHash = hashOf(QStringLiteral("T%1").arg(topic));
    h.targetTopic = topic;
    h.drawnAsHotspot = drawn;
    return h;
}

HelpParagraph helpParagraph(std::vector<HelpRun> runs, int row = -1, int column = -1)
{
    HelpParagraph p;
    p.runs = std::move(runs);
    p.tableRow = row;
    p.column = column;
    return p;
}

TEST(HelpImport, TextKeepsItsLinksAndSaysWhatItChanged)
{
    HelpDocument doc = handMade(3);
    HelpTopicContent c;
    HelpHotspot macro;
    macro.kind = HelpHotspot::Kind::Macro;
    macro.macro = QStringLiteral("CloseWindow(`main')");
    HelpHotspot self = link(HelpHotspot::Kind::Jump, 2);
    self.file = QStringLiteral("c:\\help\\hand.hlp");
    self.targetTopic = -1;
    c.hotspots = {link(HelpHotspot::Kind::Jump, 1), link(HelpHotspot::Kind::Jump, 2),
                  link(HelpHotspot::Kind::Popup, 1, false), macro, self};
    HelpRun ewc;
    ewc.kind = HelpRun::Kind::EmbeddedWindow;
    ewc.embedded = HelpEmbeddedWindow();
    ewc.embedded->definition = QStringLiteral("MYDLL,Player,1");
    doc.fonts.push_back(doc.fonts[0]);
    doc.fonts[3].doubleUnderline = true;
    HelpParagraph spaced = helpParagraph({textRun(QStringLiteral("a --> b "), 2), textRun(QStringLiteral("db"), 3), ewc});
    spaced.spaceBefore = 120;
    spaced.lineSpacing = -300;
    // Out of order, twice at one position, and past what a project holds.
    using Tab = HelpTabStop;
    spaced.tabs = {Tab{1440, Tab::Kind::Left}, Tab{720, Tab::Kind::Right}, Tab{1440, Tab::Kind::Center}, Tab{40000}};
    c.scrolling = {helpParagraph({textRun(QStringLiteral("one"), 1, 0), textRun(QStringLiteral("two"), 1, 1),
                                  textRun(QStringLiteral(" and "), 1), textRun(QStringLiteral("pop"), 1, 2),
                                  textRun(QStringLiteral(" run"), 0, 3)}),
                   spaced,
                   helpParagraph({textRun(QStringLiteral("c1"))}, 0, 0), helpParagraph({textRun(QStringLiteral("c2"))}, 0, 0),
                   helpParagraph({textRun(QStringLiteral("d"))}, 0, 1),
                   helpParagraph({textRun(QStringLiteral("self"), 0, 4)})};
    doc.setContent(0, c);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Hand.tsp"));
    const HelpImport import = importHelpDocument(doc, path);
    const RichDocument body = bodyOf(import.project, 0);
    ASSERT_EQ(body.Paragraphs.size(), 4u);
    // Targets that would run on into the struck-out text after them (the
    // next hotspot, plain text in a struck-out font) are a shade away.
    ASSERT_EQ(body.Paragraphs[0].Runs.size(), 7u);
    EXPECT_EQ(body.Paragraphs[0].Runs[0].Text, QStringLiteral("one"));
    EXPECT_EQ(body.Paragraphs[0].Runs[1].Text, QStringLiteral("-->T1"));
    EXPECT_EQ(body.Paragraphs[0].Runs[1].Format.Colour, 0x000000u);
    EXPECT_TRUE(body.Paragraphs[0].Runs[0].Format.Strike && body.Paragraphs[0].Runs[1].Format.Strike);
    EXPECT_EQ(body.Paragraphs[0].text(), QStringLiteral("one-->T1two-->T2 and pop-->T1 run-->!CloseWindow(`main')"));
    EXPECT_EQ(body.Paragraphs[0].Runs[3].Text, QStringLiteral("-->T2"));
    const ts::Run& popup = body.Paragraphs[0].Runs[5];
    EXPECT_TRUE(popup.Format.Underline && !popup.Format.Strike) << popup.Text.toStdString();
    const Paragraph& kept = body.Paragraphs[1];
    EXPECT_EQ(kept.text(), QStringLiteral("a -\u2011> b db"));
    EXPECT_TRUE(kept.Runs[0].Format.SmallCaps && !kept.Runs[0].Format.Underline);
    EXPECT_TRUE(kept.Runs[1].Format.DoubleUnderline && !kept.Runs[1].Format.Underline);
    EXPECT_EQ(kept.SpaceBefore, 120);
    EXPECT_EQ(kept.LineSpacing, -300);
    EXPECT_FALSE(kept.LineSpacingMultiple);
    using Stop = TabStop;
    EXPECT_EQ(kept.Tabs, (std::vector<Stop>{{720, Stop::Kind::Right}, {1440, Stop::Kind::Center}, {Stop::MaxPosition}}));
    EXPECT_EQ(body.Paragraphs[2].text(), QStringLiteral("c1\u2028c2\td"));
    // A jump into the help file itself by name stays in the project.
    EXPECT_EQ(body.Paragraphs[3].text(), QStringLiteral("self-->T2"));

    const ImportLog& log = import.log;
    for (const char* said : {"MYDLL,Player,1", "Struck-out text of pop-ups", "Hotspots drawn in the text's own format",
                             "\"-->\" in the text", "out of order or twice", "Tab stops further right",
                             "Table rows"})
        EXPECT_TRUE(log.mentions(QString::fromLatin1(said))) << said;
    for (const char* kept : {"small capitals", "double-underlined", "spacing", "tab stops are not kept"})
        EXPECT_FALSE(log.mentions(QString::fromLatin1(kept))) << kept;

    ProjectFile::save(import.project, path);
    EXPECT_EQ(comparableText(compileAndRead(path), 0).toStdString(), comparableText(doc, 0).toStdString());
}

TEST(HelpImport, WhatDoesNotFitTheProjectIsLogged)
{
    HelpDocument doc = handMade(Project::TopicSlots + 1);
    doc.topics[0].title = QString(60, QLatin1Char('x'));
    for (int k = 0; k < 40; ++k)
        doc.topics[1].keywords[QLatin1Char('K')] << QStringLiteral("keyword%1").arg(k);
    doc.topics[1].keywords[QLatin1Char('A')] << QStringLiteral("alink");
    doc.topics[2].keywords[QLatin1Char('A')] << QStringLiteral("Only an ALink");
    doc.mapEntries = {{10, {0, 0, true}}, {11, {0, 0, true}}, {10, {1, 0x8000, true}}, {99, {}}};
    for (int k = 0; k < 260; ++k) {
        HelpWindowDefinition w;
        w.name = QStringLiteral("w%1").arg(k);
        doc.windows.push_back(w);
    }
    doc.topics[3].window = 259;
    doc.finishBuilding();
    const HelpImport import = importHelpDocument(doc, QStringLiteral("/nowhere/Big.tsp"));
    const Project& p = import.project;
    ASSERT_EQ(p.TopicCount(), Project::TopicSlots);
    EXPECT_EQ(p.WindowCount(), Project::MaxWindows);
    EXPECT_EQ(p.topic(3).WindowIndex, 0);
    EXPECT_EQ(p.topic(0).Title.length(), 50);
    EXPECT_EQ(p.topic(0).CallId, 10);
    EXPECT_FALSE(p.topic(1).HasCallId);
    EXPECT_LE(p.topic(1).Keywords.length(), 255);
    EXPECT_TRUE(p.topic(1).Keywords.text().startsWith(QLatin1String("keyword0;keyword1;")));
    EXPECT_EQ(p.topic(2).Keywords.text(), QStringLiteral("Only an ALink"));
    for (const char* said : {"at most 2049 topics; the help file has 1 more, left out: T2049",
                             "at most 255 windows", "w259", "Titles longer than 50", "left out: keyword",
                             "ALink keywords join", "[MAP] number 11", "[MAP] number 10 belongs to an earlier topic",
                             "[MAP] numbers that name no topic"})
        EXPECT_TRUE(import.log.mentions(QString::fromLatin1(said))) << said;
}

TEST(HelpImport, SummaryCountsInTheNumberThatFits)
{
    HelpImportReport report;
    report.projectPath = QStringLiteral("/work/A.tsp");
    report.logPath = QStringLiteral("/work/A.import.log");
    report.topics = report.topicsInFile = report.windows = report.logEntries = 1;
    EXPECT_EQ(report.summary(), QStringLiteral("Imported 1 of 1 topic, 1 window and 0 pictures from the help file into "
                                               "A.tsp; 1 note in A.import.log"));
    report.topicsInFile = report.windows = report.pictures = report.logEntries = 2;
    EXPECT_EQ(report.summary(), QStringLiteral("Imported 1 of 2 topics, 2 windows and 2 pictures from the help file into "
                                               "A.tsp; 2 notes in A.import.log"));
}

TEST(HelpImport, WindowsAndContentsTakeTheProjectsForm)
{
    HelpDocument doc = handMade(2);
    HelpWindowDefinition second;
    second.name = QStringLiteral("secondary9");
    second.flags = HelpWindowDefinition::NameValid | HelpWindowDefinition::ScrollingColourValid | HelpWindowDefinition::OnTop;
    second.scrollingColour = 0x112233;
    second.state = 0x400 | 0x4000 | 0x1000 | 4;
    second.configMacros = {QStringLiteral("CS()")};
    HelpWindowDefinition main;
    main.name = QStringLiteral("Main");
    main.caption = QStringLiteral("Hand Help");
    main.flags = HelpWindowDefinition::NameValid | HelpWindowDefinition::CaptionValid | HelpWindowDefinition::XValid | HelpWindowDefinition::YValid
                 | HelpWindowDefinition::WidthValid | HelpWindowDefinition::HeightValid;
    main.x = 10, main.y = 20, main.width = 500, main.height = 600;
    doc.windows = {second, main};
    doc.topics[1].window = 0;

    HelpContents& c = doc.contents;
    c.path = QStringLiteral("HAND.CNT");
    c.title = QStringLiteral("Other title");
    c.links = {QStringLiteral("more.hlp")};
    const auto entry = [](HelpContentsEntry::Kind kind, int level, const QString& text, const QString& id = QString()) {
        HelpContentsEntry e;
        e.kind = kind;
        e.level = level;
        e.text = text;
        e.topicId = id;
        return e;
    };
    using K = HelpContentsEntry::Kind;
    c.entries = {entry(K::Book, 1, QStringLiteral("Start")), entry(K::Topic, 2, QStringLiteral("First"), QStringLiteral("t0")),
                 entry(K::Topic, 4, QStringLiteral("Deep"), QStringLiteral("T1")), entry(K::Macro, 1, QStringLiteral("Run")),
                 entry(K::Topic, 1, QStringLiteral("Away"), QStringLiteral("X")), entry(K::Include, 1, QString(), QStringLiteral("more.cnt"))};
    c.entries[2].file = QStringLiteral("hand.hlp");
    c.entries[2].window = QStringLiteral("secondary9");
    c.entries[3].macro = QStringLiteral("Contents()");
    c.entries[4].file = QStringLiteral("other.hlp");
    doc.finishBuilding();

    const HelpImport import = importHelpDocument(doc, QStringLiteral("/nowhere/Hand.tsp"));
    const Project& p = import.project;
    ASSERT_EQ(p.WindowCount(), 2);
    EXPECT_EQ(p.window(0).Name.text(), QStringLiteral("Main"));
    EXPECT_EQ(p.window(0).Caption.text(), QStringLiteral("Hand Help"));
    EXPECT_FALSE(p.window(0).DefaultPosition);
    EXPECT_EQ(p.window(0).Height, 600);
    EXPECT_EQ(p.window(0).TopicColour, 0xFFFFFFu);
    const WindowRecord& w = p.window(1);
    EXPECT_EQ(w.TopicColour, 0x332211u);
    EXPECT_TRUE(w.OnTop && w.DefaultPosition);
    EXPECT_EQ(w.Buttons, (std::array<bool, ButtonCount>{false, true, false, false, true, false}));
    EXPECT_EQ(p.topic(1).WindowIndex, 1);

    const std::vector<ContentsNode> nodes = contentsNodes(import.contents);
    QStringList lines;
    for (const ContentsNode& node : nodes)
        lines << QString(node.Level, QLatin1Char('\t')) + node.Entry->Text;
    EXPECT_EQ(lines, QStringList({QStringLiteral("Start"), QStringLiteral("\tFirst=T0"), QStringLiteral("\t\tDeep=T1>secondary9"),
                                  QStringLiteral("Run=!Contents()"), QStringLiteral("Away=X@other.hlp")}));
    for (const char* said : {"secondary9 0x1000", "secondary9: the name is longer", "CS()", "\"Other title\" is not kept",
                             ":Link more.hlp", ":Include more.cnt", "\"Deep\" stands 2 levels below"})
        EXPECT_TRUE(import.log.mentions(QString::fromLatin1(said))) << said;
}

// A project of our own, compiled: what the help file keeps comes back.
class OwnProjectRoundTrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        original.ProjectPath = dir.filePath(QStringLiteral("Gadget.tsp"));
        WindowRecord& main = original.window(0);
        main.Caption.setText(QStringLiteral("Gadget Help"));
        main.TopicColour = 0x00E0FFFF;
        WindowRecord pop = WindowRecord::defaultWindow();
        pop.Name.setText(QStringLiteral("pop"));
        pop.Caption.setText(QStringLiteral("Details"));
        pop.DefaultPosition = false;
        pop.Left = 100, pop.Top = 50, pop.Width = 400, pop.Height = 300;
        pop.OnTop = true;
        pop.Buttons[Contents] = pop.Buttons[Back] = true;
        original.addWindow(pop);

        CharFormat big;
        big.Size = 24;
        big.Bold = true;
        CharFormat red;
        red.Colour = 0xFF0000;
        const CharFormat jump = with(CharFormat(), &CharFormat::Strike);
        const CharFormat popup = with(CharFormat(), &CharFormat::Underline);
        TopicRecord intro = ts::testing::topic(
            "INTRO", "Introduction", "start;overview", rtf({para({run(QStringLiteral("Introduction"), big)}, 0, Alignment::Center)}),
            rtf({para({run(QStringLiteral("Welcome, see ")), run(QStringLiteral("Setup-->SETUP"), jump), run(QStringLiteral(" or ")),
                       run(QStringLiteral("a term-->GLOSSARY"), popup), run(QStringLiteral(" in red"), red)}),
                 para({run(QStringLiteral("More-->SETUP>pop"), jump), run(QStringLiteral(" ")),
                       run(QStringLiteral("Theirs-->THEIRS@other.hlp"), jump), run(QStringLiteral(" ")),
                       run(QStringLiteral("web-->!ExecFile(http://example.com)"), jump),
                       run(QStringLiteral(" {bmc PIC.BMP} {bmrt PIC.BMP}"))},
                      400),
                 para({run(QStringLiteral("Adjacent-->SETUP"), jump),
                       run(QStringLiteral("links-->GLOSSARY"), with(jump, &CharFormat::Bold))})}));
        intro.HasCallId = true;
        intro.CallId = 10;
        original.addTopic(intro);
        original.addTopic(ts::testing::topic("SETUP", "Setting up", "install", {}, rtf({para({run(QStringLiteral("Setup text"))})}), 1));
        // Spacing a multiple of lines is stored as "at least" so many twips.
        Paragraph terms = para({run(QStringLiteral("Terms"))});
        terms.LineSpacing = 360;
        terms.LineSpacingMultiple = true;
        original.addTopic(ts::testing::topic("GLOSSARY", "Glossary", "", {}, rtf({terms})));
        Paragraph laidOut = para({run(QStringLiteral("Name\t")), run(QStringLiteral("Size"), with(CharFormat(), &CharFormat::SmallCaps)),
                                  run(QStringLiteral("\tTotal"), with(CharFormat(), &CharFormat::DoubleUnderline))});
        laidOut.SpaceBefore = 120;
        laidOut.SpaceAfter = 60;
        laidOut.LineSpacing = -280;
        laidOut.Tabs = {TabStop{1440, TabStop::Kind::Center}, TabStop{4320, TabStop::Kind::Right}};
        original.addTopic(ts::testing::topic("T_42", "Details", "", {},
                                             rtf({laidOut, para({run(QStringLiteral("Back-->INTRO"), jump)})})));
        ProjectFile::save(original, original.ProjectPath);

        HelpImage image;
        image.width = 3, image.height = 2;
        image.rgba = QByteArray::fromHex("ff0000ff00ff00ff0000ffffffffffff000000ffff0000ff");
        writeWholeFile(dir.filePath(QStringLiteral("PIC.BMP")), bmpFromImage(image));
        contents = {ContentsEntry{QStringLiteral("Getting started"), ContentsKind::Heading,
                                  {ContentsEntry{QStringLiteral("Introduction=INTRO"), ContentsKind::Topic, {}},
                                   ContentsEntry{QStringLiteral("Setting up=SETUP>pop"), ContentsKind::Topic, {}}}}};
        ContentsFile::save(contents, ContentsFile::pathFor(original));
        compiled = compileAndRead(original.ProjectPath);
        ASSERT_TRUE(compiled.readable);
    }

    QTemporaryDir dir;
    Project original;
    ContentsTree contents;
    HelpDocument compiled;
};

TEST_F(OwnProjectRoundTrip, TheProjectComesBackAndCompilesToTheSameHelp)
{
    const QString path = dir.filePath(QStringLiteral("Imported.tsp"));
    const HelpImportReport report = importHelpFile(helpFilePathFor(original), path);
    const Project imported = ProjectFile::load(path);
    ASSERT_EQ(imported.TopicCount(), 4);

    // Named by the contents file, guessed from the title, made up with the hash.
    EXPECT_EQ(imported.topic(0).TopicID.text(), QStringLiteral("INTRO"));
    EXPECT_EQ(imported.topic(1).TopicID.text(), QStringLiteral("SETUP"));
    EXPECT_EQ(imported.topic(2).TopicID.text(), QStringLiteral("GLOSSARY"));
    EXPECT_TRUE(imported.topic(3).TopicID.text().startsWith(QLatin1String("DETAILS_")));
    EXPECT_EQ(hashOf(imported.topic(3).TopicID.text()), hashOf(QStringLiteral("T_42")));
    EXPECT_TRUE(report.logLines.join(QLatin1Char('\n')).contains(QLatin1String("Topic IDs made from the title")));

    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(imported.topic(i).Title, original.topic(i).Title);
        // The help file keeps keywords in the index's order.
        QStringList words = imported.topic(i).Keywords.text().split(QLatin1Char(';'));
        QStringList typed = original.topic(i).Keywords.text().split(QLatin1Char(';'));
        words.sort();
        typed.sort();
        EXPECT_EQ(words, typed);
        EXPECT_EQ(imported.topic(i).WindowIndex, original.topic(i).WindowIndex);
        EXPECT_EQ(imported.topic(i).HasCallId, original.topic(i).HasCallId);
        EXPECT_EQ(imported.topic(i).CallId, original.topic(i).CallId);
    }
    ASSERT_EQ(imported.WindowCount(), 2);
    EXPECT_EQ(imported.window(0), original.window(0));
    EXPECT_EQ(imported.window(1), original.window(1));

    // The text as it was typed, but for what the compiler stores its own way.
    EXPECT_EQ(readStoredText(imported.topic(0).HeaderRtf),
              readStoredText(original.topic(0).HeaderRtf));
    const RichDocument body = bodyOf(imported, 0);
    const RichDocument before = bodyOf(original, 0);
    EXPECT_EQ(body.Paragraphs[0], before.Paragraphs[0]);
    EXPECT_EQ(body.Paragraphs[1].LeftIndent, 400);
    EXPECT_EQ(body.Paragraphs[1].text(),
              QStringLiteral("More-->SETUP>pop Theirs-->Theirs@other.hlp web-->!ExecFile(\"http://example.com\") "
                             "{bmc IMPORTED_BM0.BMP} {bmrt IMPORTED_BM1.BMP}"));
    EXPECT_EQ(body.Paragraphs[2], before.Paragraphs[2]);
    EXPECT_EQ(bodyOf(imported, 3), bodyOf(original, 3));

    // Pictures keep their pixels; the contents file comes back as it was.
    EXPECT_EQ(readWholeFile(dir.filePath(QStringLiteral("Imported_bm0.bmp"))), readWholeFile(dir.filePath(QStringLiteral("PIC.BMP"))));
    EXPECT_EQ(ContentsFile::load(ContentsFile::pathFor(imported)), contents);

    const HelpDocument again = compileAndRead(path);
    expectSameHelp(compiled, again, ImportLog());
    EXPECT_EQ(again.contents.entries.size(), compiled.contents.entries.size());
}

TEST_F(OwnProjectRoundTrip, TheCommandLineImportsIntoANewProjectOnly)
{
    QString text, errors;
    QTextStream out(&text), err(&errors);
    const QString hlp = helpFilePathFor(original);
    const QString path = dir.filePath(QStringLiteral("Cli.tsp"));
    EXPECT_EQ(runHeadless({QStringLiteral("--import"), hlp, path}, out, err), 0) << errors.toStdString();
    EXPECT_TRUE(text.startsWith(QLatin1String("Imported 4 of 4 topics, 2 windows and 2 pictures"))) << text.toStdString();
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("Cli.import.log"))));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("Cli.tsc"))));

    errors.clear();
    EXPECT_EQ(runHeadless({QStringLiteral("--import"), hlp, path}, out, err), 1);
    EXPECT_TRUE(errors.contains(QLatin1String("already exists"))) << errors.toStdString();
    EXPECT_EQ(runHeadless({QStringLiteral("--import"), hlp}, out, err), 2);
    errors.clear();
    EXPECT_EQ(runHeadless({QStringLiteral("--import"), original.ProjectPath, dir.filePath(QStringLiteral("X.tsp"))}, out, err), 1);
    EXPECT_TRUE(errors.contains(QLatin1String("Gadget.tsp' can not be imported"))) << errors.toStdString();
    EXPECT_EQ(runHeadless({QStringLiteral("--import"), hlp, dir.filePath(QStringLiteral("X.prj"))}, out, err), 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("X.tsp"))));
}

// The help files made by Microsoft's compilers: imported, compiled again and
// read, each shows the same topics, titles, text, links and keywords.
TEST(HelpImport, SampleHelpFilesCompileToTheSameHelp)
{
    const QDir samples(QStringLiteral(TOPICSMITH_HLP_SAMPLES));
    const QStringList files = samples.entryList({QStringLiteral("*.hlp")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        GTEST_SKIP() << "no sample help files in " << samples.path().toStdString();
    for (const QString& file : files) {
        QTemporaryDir dir;
        const HelpDocument before = helpfile::readHelpFile(samples.filePath(file));
        const QString path = dir.filePath(QStringLiteral("sample.tsp"));
        const HelpImport import = importHelpDocument(before, path);
        ProjectFile::save(import.project, path);
        for (const ImportedFile& picture : import.files)
            writeWholeFile(picture.path, picture.bytes);
        expectSameHelp(before, compileAndRead(path), import.log);
    }
}

} // namespace
