// The help file reader over real files made by Microsoft's compilers: the
// shared samples, checked against the facts their list gives and against the
// files' own title lists.

#include "HelpReaderSupport.h"

#include "helpfile/ContainerReader.h"
#include "helpfile/ContextHash.h"
#include "helpfile/HelpIndexFiles.h"
#include "helpfile/IndexReader.h"
#include "helpfile/TreeReader.h"
#include "model/Windows1252.h"

#include <algorithm>
#include <set>

using namespace ts;
using namespace ts::testing;

namespace {

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
        // The keywords are stored in the order keywordLess gives (the Eudora
        // files have "Automation" before "Auto-Reply", byte order would not),
        // and the viewer lists them as stored.
        std::vector<HelpProblem> ignored;
        helpfile::reading::ReadProblems log(QString(), ignored);
        helpfile::reading::ContainerReader container;
        ASSERT_TRUE(container.read(bytes, log));
        for (const auto& [letter, stored] : helpfile::reading::readIndexes(container, log).keywords) {
            QStringList storedTexts, shown;
            for (std::size_t i = 0; i < stored.size(); ++i) {
                storedTexts << cp1252::decode(stored[i].text);
                if (i > 0) {
                    EXPECT_FALSE(helpfile::keywordLess(stored[i].text, stored[i - 1].text))
                        << stored[i - 1].text.constData() << " before " << stored[i].text.constData();
                }
            }
            for (const HelpKeyword& k : doc.keywordTables.at(QLatin1Char(letter)))
                shown << k.text;
            EXPECT_EQ(shown, storedTexts) << letter;
        }
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

