// The help file reader over files our own compiler writes: links, formats,
// keywords, windows, pictures, the full topic table, the contents file
// beside it, --text, code pages, and cut or bit-flipped copies of every file.

#include "HelpFileChecks.h"
#include "HelpReaderSupport.h"
#include "TopicSamples.h"

#include "helpfile/ContainerReader.h"
#include "helpfile/ContextHash.h"
#include "helpfile/HelpCompiler.h"
#include "helpfile/HelpFileContainer.h"
#include "helpfile/ReadProblems.h"
#include "helpfile/SystemReader.h"
#include "links/LinkMarkup.h"
#include "model/Project.h"
#include "model/Windows1252.h"

#include <QDataStream>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <limits>

using namespace ts;
using namespace ts::testing;

namespace {

// A bottom-up 24-bit bitmap of 2 x 2 pixels: the first stored row is the bottom one.
QByteArray bmp24()
{
    auto le = [](quint32 v, int n) {
        QByteArray b;
        for (int i = 0; i < n; ++i)
            b += char(v >> (8 * i));
        return b;
    };
    // Bottom row: blue, green; top row: red, white (B, G, R per pixel, rows padded to 4 bytes).
    const QByteArray pixels = QByteArray("\xff\x00\x00\x00\xff\x00\x00\x00", 8) + QByteArray("\x00\x00\xff\xff\xff\xff\x00\x00", 8);
    return "BM" + le(54 + 16, 4) + le(0, 4) + le(54, 4) + le(40, 4) + le(2, 4) + le(2, 4) + le(1, 2) + le(24, 2) +
           le(0, 4) + le(16, 4) + le(2835, 4) + le(2835, 4) + le(0, 4) + le(0, 4) + pixels;
}

// HelpFile's project, compiled and read with the program's own reader.
class HelpReaderCompiled : public HelpFile {
protected:
    QString helpPath() const { return dir.filePath(QStringLiteral("Demo.HLP")); }
    // Compiles the project, writes Demo.HLP and reads it back.
    HelpDocument compile()
    {
        HelpCompileReport report;
        const QByteArray bytes = compileHelpFileBytes(project, report);
        EXPECT_EQ(report.warnings + report.errors, 0) << report.logLines.join(QLatin1Char('\n')).toStdString();
        put(QStringLiteral("Demo.HLP"), bytes);
        return helpfile::readHelpFile(helpPath());
    }
    // Three topics with every kind of link, format, keyword and window.
    void addDemoTopics()
    {
        project.window(0).Caption.setBytes("Demo Help");
        WindowRecord side = WindowRecord::defaultWindow();
        side.Name.setBytes("side");
        side.Caption.setBytes("Side window");
        side.DefaultPosition = false;
        side.Left = 100;
        side.Top = 50;
        side.Width = 400;
        side.Height = 600;
        side.TopicColour = 0xFFEBCA; // 0x00BBGGRR
        side.OnTop = side.AutoSizeHeight = true;
        ASSERT_TRUE(project.addWindow(side));
        put(QStringLiteral("photo.bmp"), bmp24());

        CharFormat heading = fmt("Arial", 28);
        heading.Bold = true;
        heading.Colour = 0xC00000;
        const CharFormat jump = with(fmt(), &CharFormat::Strike);
        const CharFormat popup = with(fmt(), &CharFormat::Underline);
        project.addTopic(topic(
            "INTRO", "Introduction", "start;Shared", rtf({para({run(QStringLiteral("Welcome"), heading)}, Alignment::Center)}),
            rtf({para({run(QStringLiteral("See ")), run(QStringLiteral("more-->MORE"), jump), run(QStringLiteral(", ")),
                       run(QStringLiteral("a note-->MORE"), popup), run(QStringLiteral("."))}),
                 para({run(QStringLiteral("Beside-->MORE>side"), jump), run(QStringLiteral(" and ")),
                       run(QStringLiteral("away-->ELSE@other.hlp"), jump), run(QStringLiteral(" and ")),
                       run(links::webLink(QStringLiteral("site"), QStringLiteral("www.example.org"), false), jump)}),
                 para({run(QStringLiteral("tab\there, line\u2028break"))}, Alignment::Right, 720, -360, 1440),
                 para({run(links::bitmapMarkup(dir.filePath(QStringLiteral("photo.bmp")), false)),
                       run(links::relatedTopicsButton(QStringLiteral("Related"), QStringLiteral("shared")))})})));
        project.addTopic(topic("MORE", "More", "shared;more", QByteArray(), rtf({para({run(QStringLiteral("Second topic."))})}), 1));
        project.addTopic(topic("THIRD", "Third", "SHARED", QByteArray(), rtf({para({run(QStringLiteral("Third topic."))})})));
        project.topic(1).HasCallId = true;
        project.topic(1).CallId = 42;
    }
};

} // namespace

TEST_F(HelpReaderCompiled, LinksFormatsKeywordsAndWindowsReadBack)
{
    addDemoTopics();
    const HelpDocument doc = compile();
    ASSERT_TRUE(doc.readable);
    EXPECT_EQ(problemsOf(doc), QString());
    EXPECT_EQ(doc.compilerName(), QStringLiteral("HCW 4.00"));
    EXPECT_EQ(doc.title, QStringLiteral("Demo Help"));
    ASSERT_EQ(doc.topics.size(), 3u);
    EXPECT_EQ(doc.contentsTopic, 0);

    // Topic IDs are stored only as hashes; looking one up by name hashes it.
    EXPECT_EQ(doc.topics[1].idOrHash(), HelpDocument::hashText(helpfile::contextHash("MORE")));
    EXPECT_EQ(doc.findTopic(QStringLiteral("more")), 1);
    EXPECT_EQ(doc.findTopic(doc.topics[2].idOrHash()), 2);
    EXPECT_EQ(doc.findTopic(QStringLiteral("NOWHERE")), -1);
    EXPECT_EQ(doc.locateMapNumber(42).topic, 1);
    EXPECT_EQ(doc.topicAtOffset(doc.topics[2].topicOffset + 3), 2);

    const QString more = HelpDocument::hashText(helpfile::contextHash("MORE"));
    const QString text = doc.topicText(0, HelpDocument::TextStyle::MarkedLinks);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Welcome\nSee [jump more -> %1], [pop-up a note -> %1].\n"
                                               "[jump Beside -> %1>side] and [jump away -> %2@other.hlp] and "
                                               "[macro site -> !ExecFile(\"www.example.org\")]\n")
                                    .arg(more, HelpDocument::hashText(helpfile::contextHash("ELSE")))))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\ntab\there, line\nbreak\n   {button Related} \n")));
    EXPECT_EQ(doc.topicText(1), QStringLiteral("Second topic.\n"));

    const HelpTopicContent& intro = doc.content(0);
    ASSERT_EQ(intro.nonScrolling.size(), 1u);
    EXPECT_EQ(intro.nonScrolling[0].align, HelpAlignment::Center);
    const HelpFont& heading = doc.fontOf(intro.nonScrolling[0].runs.at(0));
    EXPECT_TRUE(heading.bold);
    EXPECT_EQ(heading.halfPoints, 28);
    EXPECT_EQ(heading.colour, std::optional<std::uint32_t>(0xC00000));
    const HelpParagraph& indented = intro.scrolling.at(2);
    EXPECT_EQ(indented.align, HelpAlignment::Right);
    EXPECT_EQ(indented.leftIndent, 720);
    EXPECT_EQ(indented.firstIndent, -360);
    EXPECT_EQ(indented.rightIndent, 1440);
    ASSERT_EQ(intro.hotspots.size(), 5u);
    EXPECT_EQ(intro.hotspots[0].targetTopic, 1);
    EXPECT_EQ(intro.hotspots[2].window, QStringLiteral("side"));
    EXPECT_EQ(intro.hotspots[2].windowNumber, 1);
    EXPECT_EQ(intro.hotspots[3].targetTopic, -1);

    // The picture, top row first: red, white; then blue, green.
    int pictureNumber = -1;
    forEachRun(intro, [&](const HelpParagraph&, const HelpRun& r) {
        if (r.kind == HelpRun::Kind::Picture)
            pictureNumber = r.picture;
    });
    ASSERT_EQ(pictureNumber, 0);
    const HelpPicture& photo = doc.picture(0);
    EXPECT_EQ(photo.image.width, 2);
    EXPECT_EQ(photo.image.rgba, QByteArray("\xff\x00\x00\xff\xff\xff\xff\xff\x00\x00\xff\xff\x00\xff\x00\xff", 16));
    EXPECT_EQ(doc.picture(7).format, HelpPicture::Format::Missing);

    // Windows with every field; the topic that names one opens in it.
    ASSERT_EQ(doc.windows.size(), 2u);
    const HelpWindowDefinition& side = doc.windows[1];
    EXPECT_EQ(side.name, QStringLiteral("side"));
    EXPECT_EQ(side.caption, QStringLiteral("Side window"));
    EXPECT_TRUE(side.hasPosition());
    EXPECT_EQ(QRect(side.x, side.y, side.width, side.height), QRect(100, 50, 400, 600));
    EXPECT_EQ(side.scrollingColour, 0xCAEBFFu);
    EXPECT_TRUE(side.onTop() && side.autoSizeHeight());
    EXPECT_EQ(doc.topics[1].window, 1);
    EXPECT_EQ(doc.windowByName(QStringLiteral("SIDE")), 1);

    // One keyword in three spellings is one keyword of three topics.
    const HelpKeyword* shared = doc.findKeyword(QLatin1Char('K'), QStringLiteral("sHaReD"));
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->topics, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(doc.keywordTables.at(QLatin1Char('K')).at(size_t(doc.firstKeywordFrom(QLatin1Char('K'), QStringLiteral("s")))).text,
              QStringLiteral("Shared"));
    EXPECT_EQ(doc.findKeyword(QLatin1Char('K'), QStringLiteral("shar")), nullptr);
    EXPECT_EQ(doc.topics[1].keywords.at(QLatin1Char('K')), (QStringList{QStringLiteral("more"), QStringLiteral("Shared")}));
}

TEST_F(HelpReaderCompiled, TheFullTopicTableReadsBack)
{
    const CharFormat strike = with(fmt(), &CharFormat::Strike);
    for (int i = 0; i < Project::TopicSlots; ++i) {
        const QByteArray next = "T" + QByteArray::number((i + 1) % Project::TopicSlots);
        ASSERT_TRUE(project.addTopic(topic("T" + QByteArray::number(i), "Topic number " + QByteArray::number(i),
                                           "common;kw" + QByteArray::number(i % 700), QByteArray(),
                                           rtf({para({run(QStringLiteral("Paragraph of topic %1, with words. ").arg(i)),
                                                      run(QString::fromLatin1("next-->" + next), strike)})}))));
        project.topic(i).HasCallId = true;
        project.topic(i).CallId = 1000 + i;
    }
    const HelpDocument doc = compile();
    EXPECT_EQ(problemsOf(doc), QString());
    ASSERT_EQ(int(doc.topics.size()), Project::TopicSlots);
    EXPECT_TRUE(doc.compressed);
    for (int i = 0; i < Project::TopicSlots; i += 97) {
        EXPECT_EQ(doc.topics[size_t(i)].title, QStringLiteral("Topic number %1").arg(i));
        EXPECT_EQ(doc.findTopic(QStringLiteral("t%1").arg(i)), i);
        EXPECT_EQ(doc.locateMapNumber(1000 + i).topic, i);
        EXPECT_EQ(doc.content(i).hotspots.at(0).targetTopic, (i + 1) % Project::TopicSlots);
    }
    EXPECT_EQ(doc.findKeyword(QLatin1Char('K'), QStringLiteral("COMMON"))->topics.size(), size_t(Project::TopicSlots));
    EXPECT_EQ(doc.findKeyword(QLatin1Char('K'), QStringLiteral("kw5"))->topics, (std::vector<int>{5, 705, 1405}));
}

TEST_F(HelpReaderCompiled, TheContentsFileBesideItIsRead)
{
    addDemoTopics();
    put(QStringLiteral("demo.CNT"), ":Base Demo.hlp>main\r\n:Title Demo Contents\r\n:Index Other=other.hlp\r\n"
                                    ":Link other.hlp ; its keywords too\r\n1 Getting started\r\n2 Welcome=intro\r\n"
                                    "2 Beside=More>side\r\n\r\n2 Elsewhere=ELSE@other.hlp>main\r\n2 Run=!Finder()\r\n"
                                    ":Include part.cnt\r\nnonsense line\r\n");
    put(QStringLiteral("part.cnt"), "1 Part\r\n2 Third=THIRD@Demo.hlp\r\n:Include demo.cnt\r\n");
    const HelpDocument doc = compile();
    const HelpContents& cnt = doc.contents;
    EXPECT_EQ(QFileInfo(cnt.path).fileName(), QStringLiteral("demo.CNT"));
    EXPECT_EQ(cnt.base, QStringLiteral("Demo.hlp"));
    EXPECT_EQ(cnt.baseWindow, QStringLiteral("main"));
    EXPECT_EQ(cnt.title, QStringLiteral("Demo Contents"));
    EXPECT_EQ(cnt.links, QStringList{QStringLiteral("other.hlp")});
    ASSERT_EQ(cnt.indexes.size(), 1u);
    EXPECT_EQ(cnt.indexes[0].file, QStringLiteral("other.hlp"));
    using Kind = HelpContentsEntry::Kind;
    std::vector<std::tuple<Kind, int, QString, int>> entries;
    for (const HelpContentsEntry& e : cnt.entries)
        entries.emplace_back(e.kind, e.level, e.text, e.topic);
    EXPECT_EQ(entries, (std::vector<std::tuple<Kind, int, QString, int>>{
                           {Kind::Book, 1, QStringLiteral("Getting started"), -1},
                           {Kind::Topic, 2, QStringLiteral("Welcome"), 0},
                           {Kind::Topic, 2, QStringLiteral("Beside"), 1},
                           {Kind::Topic, 2, QStringLiteral("Elsewhere"), -1},
                           {Kind::Macro, 2, QStringLiteral("Run"), -1},
                           {Kind::Include, 2, QString(), -1},
                           {Kind::Book, 1, QStringLiteral("Part"), -1},
                           {Kind::Topic, 2, QStringLiteral("Third"), 2},
                           {Kind::Include, 2, QString(), -1}}));
    EXPECT_EQ(cnt.entries[2].window, QStringLiteral("side"));
    EXPECT_EQ(cnt.entries[3].file, QStringLiteral("other.hlp"));
    EXPECT_EQ(cnt.entries[4].macro, QStringLiteral("Finder()"));
    // The names the contents file gives become the topics' Topic IDs.
    ASSERT_GE(doc.topics.size(), 3u);
    EXPECT_EQ(doc.topics[0].topicId, QStringLiteral("intro"));
    EXPECT_EQ(doc.topics[2].idOrHash(), QStringLiteral("THIRD"));
    // The line that is no entry, and the include that would go round, are said.
    QStringList said;
    for (const HelpProblem& p : doc.problems)
        said << p.text();
    EXPECT_EQ(said, (QStringList{QStringLiteral("demo.CNT: line 12 is not a contents entry: nonsense line"),
                                 QStringLiteral("part.cnt: the included contents file demo.cnt is not read")}));
}

TEST_F(HelpReaderCompiled, TextCommandPrintsEveryTopicAndRefusesOtherFiles)
{
    addDemoTopics();
    compile();
    QProcess text;
    text.start(QStringLiteral(TOPICSMITH_BINARY), {QStringLiteral("--text"), helpPath()});
    ASSERT_TRUE(text.waitForFinished(30000));
    EXPECT_EQ(text.exitCode(), 0);
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    const QString more = HelpDocument::hashText(helpfile::contextHash("MORE"));
    EXPECT_TRUE(out.startsWith(HelpDocument::hashText(helpfile::contextHash("INTRO")) +
                               QStringLiteral("  Introduction\nWelcome\nSee [jump more -> %1]").arg(more)))
        << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("\n%1  More\nSecond topic.\n\n").arg(more)));
    EXPECT_TRUE(QString::fromUtf8(text.readAllStandardError()).isEmpty());

    put(QStringLiteral("notes.HLP"), "Just some text, not a help file at all.");
    for (const QString& name : {QStringLiteral("notes.HLP"), QStringLiteral("missing.HLP")}) {
        QProcess refused;
        refused.start(QStringLiteral(TOPICSMITH_BINARY), {QStringLiteral("--text"), dir.filePath(name)});
        ASSERT_TRUE(refused.waitForFinished(30000));
        EXPECT_EQ(refused.exitCode(), 1);
        const QString err = QString::fromUtf8(refused.readAllStandardError());
        EXPECT_TRUE(err.startsWith(dir.filePath(name) + QStringLiteral(": "))) << err.toStdString();
        EXPECT_TRUE(err.contains(name == QLatin1String("notes.HLP") ? QStringLiteral("not a help file")
                                                                    : QStringLiteral("cannot be read")));
        EXPECT_TRUE(refused.readAllStandardOutput().isEmpty());
    }
}

TEST_F(HelpReaderCompiled, TextIsReadInTheCodePageTheFileNames)
{
    project.addTopic(topic("INTRO", "\xcf\xf0\xe8\xe2\xe5\xf2", "", QByteArray(), QByteArray()));
    compile();
    // The same file, its character set record saying Cyrillic.
    std::vector<HelpProblem> problems;
    helpfile::reading::ReadProblems log(QString(), problems);
    helpfile::reading::ContainerReader read;
    ASSERT_TRUE(read.read(fileBytes(helpPath()), log));
    helpfile::HelpFileContainer written;
    for (const QByteArray& name : read.names())
        written.add(name, read.data(name) + (name == "|SYSTEM" ? QByteArray("\x0b\x00\x02\x00\xcc\x00", 6) : QByteArray()));
    const HelpDocument cyrillic = helpfile::readHelpFile(written.bytes(), QStringLiteral("ru.hlp"));
    EXPECT_EQ(cyrillic.codePage, 1251);
    EXPECT_EQ(cyrillic.topics.at(0).title, QString::fromUtf8("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82"));
    EXPECT_EQ(helpfile::readHelpFile(helpPath()).topics.at(0).title, cp1252::decode("\xcf\xf0\xe8\xe2\xe5\xf2"));
}

// ------------------------------------------------------------ damaged files

namespace {

// Reads damaged bytes and everything in them; true when the reader said
// something was wrong. A crash, a hang or a runaway allocation fails the
// whole test program.
bool readsDamaged(const QByteArray& bytes)
{
    const HelpDocument doc = helpfile::readHelpFile(bytes, QStringLiteral("damaged.hlp"));
    bool said = !doc.readable || !doc.problems.empty();
    for (int i = 0; i < int(doc.topics.size()); ++i) {
        doc.topicText(i, HelpDocument::TextStyle::MarkedLinks);
        said |= !doc.content(i).problems.empty();
    }
    for (const int n : doc.pictureNumbers())
        said |= !doc.picture(n).problem.isEmpty();
    for (const HelpProblem& p : doc.allProblems())
        EXPECT_TRUE(p.text().startsWith(QLatin1String("damaged.hlp: "))) << p.text().toStdString();
    return said;
}

} // namespace

TEST_F(HelpReaderCompiled, CutAndBitFlippedCopiesGiveProblemsNotCrashes)
{
    addDemoTopics();
    compile();
    std::vector<QByteArray> files{fileBytes(helpPath())};
    for (const Sample& s : samples())
        files.push_back(fileBytes(s.path()));
    QRandomGenerator random(20240611);
    int flipped = 0, flippedSaid = 0;
    for (const QByteArray& good : files) {
        // Cut anywhere, a file no longer holds what it says it holds.
        for (int k = 1; k <= 12; ++k) {
            const qsizetype length = good.size() * k / 13;
            EXPECT_TRUE(readsDamaged(good.left(length))) << "cut at " << length << " of " << good.size();
        }
        for (int k = 0; k < 12; ++k) {
            QByteArray bad = good;
            for (int flips = 0; flips < 1 + k % 4; ++flips)
                bad[random.bounded(int(bad.size()))] ^= char(1 << random.bounded(8));
            flippedSaid += readsDamaged(bad);
            ++flipped;
        }
    }
    // Flips in the text itself read as other text; over the samples most
    // flips hit structure (our one small file is mostly text, so without the
    // samples only the absence of crashes is measured).
    if (files.size() > 1) {
        EXPECT_GT(flippedSaid, flipped / 3) << flippedSaid << " of " << flipped;
    }
    EXPECT_FALSE(readsDamaged(files.front()));
}


TEST(HelpReaderFonts, ExtremeHeightsOfMultimediaViewerFontsStayInRange)
{
    // Face names at 12 in 32-byte slots, then one 46-byte descriptor: face,
    // colour, background, five bytes, the height in twips (negative as a
    // LOGFONT's may be), the rest zero.
    for (const std::int32_t height : {std::numeric_limits<std::int32_t>::min(), std::int32_t(-240), std::int32_t(0),
                                      std::numeric_limits<std::int32_t>::max()}) {
        QByteArray table;
        QDataStream out(&table, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out << quint16(1) << quint16(1) << quint16(12) << quint16(12 + 32) << quint32(0);
        table.append(QByteArray("Arial").leftJustified(32, '\0'));
        QByteArray descriptor(46, '\0');
        qToLittleEndian<std::int32_t>(height, descriptor.data() + 2 + 3 + 3 + 5);
        table.append(descriptor);
        std::vector<HelpProblem> said;
        helpfile::reading::ReadProblems problems(QStringLiteral("fonts.hlp"), said);
        const std::vector<HelpFont> fonts = helpfile::reading::readFonts(table, 1252, problems);
        ASSERT_EQ(fonts.size(), 1u) << height;
        EXPECT_EQ(fonts[0].face, QStringLiteral("Arial"));
        EXPECT_GE(fonts[0].halfPoints, 1) << height;
        EXPECT_LE(fonts[0].halfPoints, 32767) << height;
    }
}
