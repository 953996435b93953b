// The help file reader: real files made by Microsoft's compilers (the shared
// samples, with the facts their list gives), files our own compiler writes,
// and damaged copies of both.

#include "TopicSamples.h"

#include "helpfile/ContainerReader.h"
#include "helpfile/ContextHash.h"
#include "helpfile/HelpCompiler.h"
#include "helpfile/HelpFileBytes.h"
#include "helpfile/HelpFileContainer.h"
#include "helpfile/HelpFileReader.h"
#include "helpfile/TreeReader.h"
#include "links/LinkMarkup.h"
#include "model/Project.h"
#include "model/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <set>
#include <gtest/gtest.h>

using namespace ts;
using namespace ts::testing;

// Failures show text as text.
static void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

QString samplesFolder() { return QStringLiteral(TOPICSMITH_HLP_SAMPLES); }

#define REQUIRE_SAMPLES()                                                                                              \
    if (!QFile::exists(QDir(samplesFolder()).filePath(QStringLiteral("SOURCES.txt"))))                               \
    GTEST_SKIP() << "the sample help files are not at " << samplesFolder().toStdString()

// One line of the samples' list: the file, the compiler and what it holds.
struct Sample {
    QString file, compiler, features;
    int number(const QString& pattern) const
    {
        const auto m = QRegularExpression(pattern).match(features);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    }
    QString path() const { return QDir(samplesFolder()).filePath(file); }
};

std::vector<Sample> samples()
{
    std::vector<Sample> out;
    QFile list(QDir(samplesFolder()).filePath(QStringLiteral("SOURCES.txt")));
    if (!list.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : list.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (fields.size() >= 8 && !fields[0].startsWith(QLatin1Char('#')))
            out.push_back({fields[0], fields[5], fields[7]});
    }
    return out;
}

const Sample& sample(const char* file)
{
    static const std::vector<Sample> all = samples();
    for (const Sample& s : all)
        if (s.file == QLatin1String(file))
            return s;
    static const Sample none;
    return none;
}

HelpDocument readSample(const char* file) { return helpfile::readHelpFile(sample(file).path()); }

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The titles as |TTLBTREE lists them, by position: a second source of each
// topic's title beside its header in the topic text.
std::map<std::uint32_t, QByteArray> titleTree(const QByteArray& file)
{
    std::vector<HelpProblem> problems;
    helpfile::reading::ReadProblems log(QString(), problems);
    helpfile::reading::ContainerReader container;
    std::map<std::uint32_t, QByteArray> titles;
    if (container.read(file, log))
        helpfile::reading::readTree(container.data("|TTLBTREE"), QString(), log, [&](helpfile::reading::ByteCursor& c) {
            const std::uint32_t offset = c.u32();
            titles[offset] = c.stringz();
            return c.ok();
        });
    return titles;
}

// Everything of a topic's content, visited once.
template <typename F> void forEachRun(const HelpTopicContent& c, F f)
{
    for (const auto* region : {&c.nonScrolling, &c.scrolling})
        for (const HelpParagraph& p : *region)
            for (const HelpRun& r : p.runs)
                f(p, r);
}

struct Counts {
    int tableRows = 0, embedded = 0, macroHotspots = 0, pictures = 0;
};

Counts countsOf(const HelpDocument& doc)
{
    Counts n;
    for (int i = 0; i < int(doc.topics.size()); ++i) {
        const HelpTopicContent& c = doc.content(i);
        n.tableRows += int(c.tableRows.size());
        for (const HelpHotspot& h : c.hotspots)
            n.macroHotspots += h.kind == HelpHotspot::Kind::Macro;
        forEachRun(c, [&](const HelpParagraph&, const HelpRun& r) {
            n.embedded += r.kind == HelpRun::Kind::EmbeddedWindow;
        });
    }
    return n;
}

QString problemsOf(const HelpDocument& doc)
{
    QStringList lines;
    for (const HelpProblem& p : doc.allProblems())
        lines << p.text();
    return lines.join(QLatin1Char('\n'));
}

} // namespace

// ------------------------------------------------------------ the samples

TEST(HelpReaderSamples, EverySampleOpensWithWhatItsListSays)
{
    REQUIRE_SAMPLES();
    const std::vector<Sample> all = samples();
    ASSERT_GE(all.size(), 21u);
    for (const Sample& s : all) {
        SCOPED_TRACE(s.file.toStdString());
        const QByteArray bytes = fileBytes(s.path());
        const HelpDocument doc = helpfile::readHelpFile(s.path());
        ASSERT_TRUE(doc.readable);
        EXPECT_EQ(problemsOf(doc), QString());
        EXPECT_EQ(int(doc.topics.size()), s.number(QStringLiteral("(\\d+) topics")));
        EXPECT_TRUE(s.compiler.contains(doc.compilerName())) << doc.compilerName().toStdString();
        EXPECT_EQ(doc.compressed, !s.features.contains(QLatin1String("not LZ77")));
        EXPECT_EQ(doc.phraseCompression, s.features.contains(QLatin1String("Hall"))        ? QStringLiteral("Hall")
                                         : s.features.contains(QLatin1String("|Phrases")) ? QStringLiteral("Phrases")
                                                                                           : QString());
        // Each title, decoded from the topic text, is the one the title list holds at the topic's position.
        const auto titles = titleTree(bytes);
        for (const HelpTopic& topic : doc.topics) {
            ASSERT_EQ(titles.count(topic.topicOffset), 1u) << topic.title.toStdString();
            EXPECT_EQ(topic.title, cp1252::decode(titles.at(topic.topicOffset)));
        }
        EXPECT_EQ(int(doc.windows.size()), s.number(QStringLiteral("(\\d+) window records")));
        EXPECT_EQ(int(doc.configMacros.size()), s.number(QStringLiteral("\\((\\d+) config")));
        EXPECT_EQ(int(doc.pictureNumbers().size()), s.number(QStringLiteral("(\\d+) pictures")));
        for (const int n : doc.pictureNumbers()) {
            EXPECT_NE(doc.picture(n).format, HelpPicture::Format::Missing) << n;
            EXPECT_EQ(doc.picture(n).problem, QString()) << n;
        }
        const Counts counts = countsOf(doc);
        EXPECT_EQ(counts.tableRows, s.number(QStringLiteral("(\\d+) table records")));
        EXPECT_EQ(counts.embedded, s.number(QStringLiteral("(\\d+) embedded")));
        EXPECT_EQ(counts.macroHotspots, s.number(QStringLiteral("(\\d+) hotspot\\)")));
        EXPECT_EQ(doc.keywordTables.count(QLatin1Char('K')) == 1, s.features.contains(QLatin1String("keywords")));
        EXPECT_EQ(doc.keywordTables.count(QLatin1Char('A')) == 1, s.features.contains(QLatin1String("keywords A")));
    }
}

// One sample for each way of storing text, tables, pictures and hotspots.
TEST(HelpReaderSamples, EachKindOfContentReadsAsStored)
{
    REQUIRE_SAMPLES();
    // |Phrases and LZ77 (HC 3.1): text, pop-ups into another file, [MAP] numbers without topic.
    const HelpDocument winfile = readSample("ms-winfile.hlp");
    ASSERT_EQ(winfile.topics.size(), 169u);
    EXPECT_EQ(winfile.topics[0].title, QStringLiteral("Contents for File Manager Help"));
    EXPECT_TRUE(winfile.topicText(0).contains(QStringLiteral(
        "Windows NT File Manager is a tool you can use to organize and work with your files and directories.")));
    EXPECT_EQ(winfile.findTopic(winfile.topics[5].idOrHash()), 5);
    EXPECT_TRUE(winfile.topicText(0, HelpDocument::TextStyle::MarkedLinks)
                    .contains(QStringLiteral("[jump What Is File Manager? -> 0x")));
    int intoOtherFile = 0;
    for (int i = 0; i < int(winfile.topics.size()); ++i)
        for (const HelpHotspot& h : winfile.content(i).hotspots)
            intoOtherFile += h.kind == HelpHotspot::Kind::Popup && h.file == QLatin1String("glossary.hlp") && h.targetTopic < 0;
    EXPECT_EQ(intoOtherFile, 72);
    EXPECT_EQ(std::count_if(winfile.mapEntries.begin(), winfile.mapEntries.end(),
                            [](const HelpMapEntry& m) { return !m.location.isValid(); }),
              2);

    // Hall and LZ77: text, Topic IDs and source files, each window's own macros.
    const HelpDocument acm = readSample("ms-acmsetup-a.hlp");
    EXPECT_EQ(acm.topicText(0), QStringLiteral("Type your full name in the Name box.\n"));
    EXPECT_EQ(acm.topics[0].topicId, QStringLiteral("stcmdNameCopyDisincentiveDialog"));
    EXPECT_EQ(acm.findTopic(QStringLiteral("STCMDNAMECOPYDISINCENTIVEDIALOG")), 0);
    EXPECT_TRUE(acm.topics[0].sourceFile.endsWith(QLatin1String("qacme.acm")));
    ASSERT_EQ(acm.windows.size(), 9u);
    EXPECT_EQ(acm.windows[2].caption, QStringLiteral("Visual Basic Reference"));
    EXPECT_EQ(acm.windows[0].configMacros, QStringList{QStringLiteral("CS()")});
    EXPECT_TRUE(acm.windows[5].configMacros.isEmpty());

    // Fixed-width tables, jumps into a secondary window, A keywords.
    const HelpDocument msinfo = readSample("ms-msinfo32.hlp");
    const int view = int(std::find_if(msinfo.topics.begin(), msinfo.topics.end(),
                                      [](const HelpTopic& t) { return t.title == QLatin1String("View menu commands"); })
                         - msinfo.topics.begin());
    ASSERT_LT(view, int(msinfo.topics.size()));
    const HelpTableRow& row = msinfo.content(view).tableRows.at(0);
    EXPECT_TRUE(row.fixedWidth);
    ASSERT_EQ(row.columns.size(), 2u);
    EXPECT_EQ(row.columns[0].width, 1380);
    EXPECT_EQ(row.columns[1].width, 4210);
    bool intoWindow = false;
    for (int i = 0; i < int(msinfo.topics.size()); ++i)
        for (const HelpHotspot& h : msinfo.content(i).hotspots)
            intoWindow |= h.kind == HelpHotspot::Kind::Jump && h.window == QLatin1String("proc4") && h.targetTopic >= 0;
    EXPECT_TRUE(intoWindow);
    const HelpKeyword* category = msinfo.findKeyword(QLatin1Char('A'), QStringLiteral("CATEGORY"));
    ASSERT_NE(category, nullptr);
    EXPECT_EQ(category->topics.size(), 36u);

    // Buttons, a media player on a baggage file, plain jumps, borders.
    const HelpDocument mm = readSample("ms-mm.hlp");
    int buttons = 0, plainJumps = 0, borders = 0;
    QString media;
    for (int i = 0; i < int(mm.topics.size()); ++i) {
        const HelpTopicContent& c = mm.content(i);
        for (const HelpHotspot& h : c.hotspots)
            plainJumps += h.kind == HelpHotspot::Kind::Jump && !h.drawnAsHotspot;
        for (const HelpParagraph& p : c.scrolling)
            borders += p.border.bottom || p.border.top;
        forEachRun(c, [&](const HelpParagraph&, const HelpRun& r) {
            if (r.embedded && r.embedded->kind == HelpEmbeddedWindow::Kind::Button)
                buttons += r.embedded->macro.startsWith(QLatin1String("AL(")) || r.embedded->macro.startsWith(QLatin1String("KL("));
            if (r.embedded && r.embedded->kind == HelpEmbeddedWindow::Kind::Media)
                media = r.embedded->file;
        });
    }
    EXPECT_GT(buttons, 90);
    EXPECT_GT(plainJumps, 0);
    EXPECT_GT(borders, 0);
    EXPECT_EQ(media, QStringLiteral("MM.HLP+SOUND1.WAV"));
    EXPECT_EQ(mm.baggageFiles, QStringList{QStringLiteral("SOUND1.WAV")});
    EXPECT_TRUE(mm.baggage(QStringLiteral("sound1.wav")).startsWith("RIFF"));

    // Macro hotspots, drawn and plain.
    const HelpDocument faq = readSample("tp-aprofaq.hlp");
    int drawn = 0, plain = 0;
    for (int i = 0; i < int(faq.topics.size()); ++i)
        for (const HelpHotspot& h : faq.content(i).hotspots)
            if (h.kind == HelpHotspot::Kind::Macro && h.macro.startsWith(QLatin1String("EF(`http")))
                (h.drawnAsHotspot ? drawn : plain)++;
    EXPECT_EQ(drawn, 9);
    EXPECT_EQ(plain, 1);
}

TEST(HelpReaderSamples, PicturesDecodeWithTheirHotspots)
{
    REQUIRE_SAMPLES();
    // A segmented picture: one invisible pop-up hotspot to "setup2".
    const HelpDocument setup = readSample("ms-3dmm.hlp");
    const HelpPicture& segmented = setup.picture(1);
    EXPECT_EQ(segmented.format, HelpPicture::Format::Bitmap);
    EXPECT_EQ(segmented.image.width, 366);
    EXPECT_EQ(segmented.image.height, 269);
    EXPECT_EQ(segmented.image.rgba.size(), 366 * 269 * 4);
    ASSERT_EQ(segmented.hotspots.size(), 1u);
    const HelpPictureHotspot& spot = segmented.hotspots[0];
    EXPECT_EQ(spot.area, QRect(180, 71, 27, 38));
    EXPECT_EQ(spot.hotspot.kind, HelpHotspot::Kind::Popup);
    EXPECT_FALSE(spot.hotspot.drawnAsHotspot);
    EXPECT_EQ(spot.hotspot.targetId, QStringLiteral("setup2"));
    EXPECT_EQ(spot.hotspot.targetHash, std::int32_t(0x37233861));
    EXPECT_EQ(spot.hotspot.targetTopic, setup.findTopic(QStringLiteral("setup2")));
    EXPECT_GE(spot.hotspot.targetTopic, 0);

    // A 1-bit picture (packing 0): black and white only, opaque.
    const HelpDocument winfile = readSample("ms-winfile.hlp");
    const HelpPicture& folder = winfile.picture(1);
    ASSERT_EQ(folder.image.rgba.size(), 15 * 12 * 4);
    std::set<QByteArray> colours;
    for (qsizetype i = 0; i < folder.image.rgba.size(); i += 4)
        colours.insert(folder.image.rgba.mid(i, 4));
    EXPECT_EQ(colours, (std::set<QByteArray>{QByteArray("\0\0\0\xff", 4), QByteArray("\xff\xff\xff\xff", 4)}));

    // A transparent picture placed at the left margin.
    const HelpDocument about = readSample("dd-pjabout.hlp");
    EXPECT_TRUE(about.picture(0).transparent);
    EXPECT_TRUE(about.picture(0).image.rgba.contains(QByteArray("\xff\xff\xff\x00", 4)));
    bool left = false;
    forEachRun(about.content(1), [&](const HelpParagraph&, const HelpRun& r) {
        left |= r.kind == HelpRun::Kind::Picture && r.picture == 0 && r.placement == HelpPlacement::Left;
    });
    EXPECT_TRUE(left);

    // Metafiles are kept as .WMF bytes behind a placeable header.
    const HelpDocument purevoice = readSample("eu-purevoice.hlp");
    const HelpPicture& metafile = purevoice.picture(0);
    EXPECT_EQ(metafile.format, HelpPicture::Format::Metafile);
    EXPECT_TRUE(metafile.metafile.startsWith(QByteArray("\xd7\xcd\xc6\x9a", 4)));
    EXPECT_EQ(metafile.metafile.mid(22, 6), QByteArray("\x01\x00\x09\x00\x00\x03", 6));
    EXPECT_GT(metafile.metafileWidth, 0);
}

// ----------------------------------------------------- our own help files

namespace {

CharFormat fmt(int halfPoints = 20)
{
    CharFormat f;
    f.Face = QStringLiteral("Arial");
    f.Size = halfPoints;
    return f;
}

ts::Paragraph para(std::vector<ts::Run> runs, Alignment align = Alignment::Left, int left = 0, int first = 0, int right = 0)
{
    ts::Paragraph p;
    p.Runs = std::move(runs);
    p.Align = align;
    p.LeftIndent = left;
    p.FirstIndent = first;
    p.RightIndent = right;
    return p;
}

ts::Run run(const QString& text, const CharFormat& f = fmt()) { return ts::Run{text, f}; }

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

class HelpReaderCompiled : public ::testing::Test {
protected:
    QTemporaryDir dir;
    Project project;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project.ProjectPath = dir.filePath(QStringLiteral("Demo.tsp"));
    }
    QString helpPath() const { return dir.filePath(QStringLiteral("Demo.HLP")); }
    void put(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
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
        TWindowRecord side = TWindowRecord::defaultWindow();
        side.Name.setBytes("side");
        side.Caption.setBytes("Side window");
        side.DefaultPosition = false;
        side.Left = 100;
        side.Top = 50;
        side.Width = 400;
        side.Height = 600;
        side.TopicColor = 0xFFEBCA; // 0x00BBGGRR
        side.OnTop = side.AutoSizeHeight = true;
        ASSERT_TRUE(project.addWindow(side));
        put(QStringLiteral("photo.bmp"), bmp24());

        CharFormat heading = fmt(28);
        heading.Bold = true;
        heading.Color = 0xC00000;
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
        project.topic(1).HasMapID = true;
        project.topic(1).MapID = 42;
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
    EXPECT_EQ(heading.color, std::optional<std::uint32_t>(0xC00000));
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
    const HelpWindow& side = doc.windows[1];
    EXPECT_EQ(side.name, QStringLiteral("side"));
    EXPECT_EQ(side.caption, QStringLiteral("Side window"));
    EXPECT_TRUE(side.hasPosition());
    EXPECT_EQ(QRect(side.x, side.y, side.width, side.height), QRect(100, 50, 400, 600));
    EXPECT_EQ(side.scrollingColor, 0xCAEBFFu);
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
        project.topic(i).HasMapID = true;
        project.topic(i).MapID = 1000 + i;
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

// ------------------------------------------------------------- HC 3.0 files

namespace {

// A help file as the Windows 3.0 compiler lays it out: 2 KB topic blocks
// addressed by raw offset, links between records as distances, text records
// of type 1, jumps by topic number through |TOMAP, |Phrases stored plainly.
QByteArray oldStyleHelpFile()
{
    using namespace ts::helpfile;
    struct Record {
        int type;
        QByteArray linkData1, linkData2;
        int expandedLength = -1; // of linkData2 once its phrases are expanded; -1: as stored
    };
    auto header = [](int previous, int next) {
        QByteArray d;
        putS32(d, 0);
        putS32(d, previous);
        putS32(d, next);
        return d;
    };
    auto text = [](const QByteArray& commands) -> QByteArray {
        QByteArray paragraph("\x00\x80\x00\x00", 4);
        putU16(paragraph, 0x0010); // left indent
        putCompressedS16(paragraph, 36);
        QByteArray d;
        putCompressedS32(d, std::int32_t(paragraph.size() + commands.size()));
        return d + paragraph + commands;
    };
    const QByteArray jump("\x80\x00\x00\xe1\x01\x00\x00\x00\x89\x82\xff", 11);
    // Phrase 0 is "second"; the code 01 01 stands for it and a blank.
    const QByteArray phrased = QByteArray("The \x01\x01topic.", 12) + '\0' + '\0';
    const std::vector<Record> records{
        {2, header(-1, 1), "First"},
        {1, text(jump), '\0' + QByteArray(2100, 'x') + " See " + '\0' + "second" + '\0' + "." + '\0' + '\0'},
        {2, header(0, -1), "Second"},
        {1, text(QByteArray("\x82\xff", 2)), phrased, int(QByteArray("The second topic.").size()) + 2},
    };
    // Stream positions, then raw offsets: 2036 data bytes behind each 12-byte block header.
    std::vector<qsizetype> at;
    qsizetype stream = 0;
    for (const Record& r : records) {
        at.push_back(stream);
        stream += 21 + r.linkData1.size() + r.linkData2.size();
    }
    auto raw = [](qsizetype s) { return std::int32_t(s / 2036 * 2048 + 12 + s % 2036); };
    QByteArray data;
    for (size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        putS32(data, std::int32_t(21 + r.linkData1.size() + r.linkData2.size()));
        putS32(data, r.expandedLength >= 0 ? r.expandedLength : std::int32_t(r.linkData2.size()));
        putS32(data, i == 0 ? -1 : raw(at[i]) - raw(at[i - 1]));
        putS32(data, i + 1 < records.size() ? raw(at[i + 1]) - raw(at[i]) : 0);
        putS32(data, std::int32_t(21 + r.linkData1.size()));
        putU8(data, unsigned(r.type));
        data += r.linkData1 + r.linkData2;
    }
    QByteArray topic;
    for (qsizetype from = 0; from < data.size(); from += 2036) {
        putS32(topic, -1);
        putS32(topic, 12);
        putS32(topic, 0);
        topic += data.mid(from, 2036);
    }
    QByteArray system;
    putU16(system, 0x036C);
    putU16(system, 15);
    putU16(system, 1);
    putU32(system, 0);
    putU16(system, 0);
    system += QByteArray("Old Help") + '\0';
    QByteArray font;
    for (const unsigned v : {1u, 1u, 8u, 28u})
        putU16(font, v);
    putFixed(font, "Arial", 20);
    font += QByteArray("\x01\x14\x03\x00\x00\x00\x00\x00\x00\x00\x00", 11);
    QByteArray phrases;
    for (const unsigned v : {1u, 0x100u, 4u, 10u})
        putU16(phrases, v);
    phrases += "second";
    QByteArray map;
    putU32(map, std::uint32_t(raw(at[0])));
    putU32(map, std::uint32_t(raw(at[2])));
    HelpFileContainer file;
    file.add("|SYSTEM", system);
    file.add("|TOPIC", topic);
    file.add("|FONT", font);
    file.add("|Phrases", phrases);
    file.add("|TOMAP", map);
    return file.bytes();
}

} // namespace

TEST(HelpReaderOldFiles, TopicsOfAWindows30FileRead)
{
    const HelpDocument doc = helpfile::readHelpFile(oldStyleHelpFile(), QStringLiteral("old.hlp"));
    EXPECT_EQ(problemsOf(doc), QString());
    EXPECT_EQ(doc.compilerName(), QStringLiteral("HC 3.0"));
    EXPECT_EQ(doc.title, QStringLiteral("Old Help"));
    ASSERT_EQ(doc.topics.size(), 2u);
    EXPECT_EQ(doc.topics[0].title, QStringLiteral("First"));
    EXPECT_EQ(doc.topics[1].title, QStringLiteral("Second"));
    EXPECT_EQ(doc.topics[0].browseNext, 1);
    EXPECT_EQ(doc.topics[1].browsePrevious, 0);
    EXPECT_EQ(doc.contentsTopic, 0);
    // The first topic's text runs on into the second block.
    EXPECT_EQ(doc.topicText(0, HelpDocument::TextStyle::MarkedLinks),
              QString(2100, QLatin1Char('x')) + QStringLiteral(" See [jump second -> #1].\n"));
    EXPECT_EQ(doc.content(0).hotspots.at(0).targetTopic, 1);
    EXPECT_EQ(doc.content(0).scrolling.at(0).leftIndent, 360);
    EXPECT_TRUE(doc.fontOf(doc.content(0).scrolling.at(0).runs.at(0)).bold);
    EXPECT_EQ(doc.topicText(1), QStringLiteral("The second topic.\n"));
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
    // Flips in the text itself read as other text; most flips hit structure.
    EXPECT_GT(flippedSaid, flipped / 3) << flippedSaid << " of " << flipped;
    EXPECT_FALSE(readsDamaged(files.front()));
}
