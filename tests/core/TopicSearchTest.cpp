#include "richtext/RtfWriter.h"
#include "search/TopicSearch.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {

struct TopicSpec {
    TopicSpec(const QString& id, const QString& title = QString(), const QByteArray& header = QByteArray(),
              const QByteArray& body = QByteArray())
        : id(id), title(title), header(header), body(body)
    {
    }
    QString id;
    QString title;
    QByteArray header;
    QByteArray body;
};

Project projectOf(const std::vector<TopicSpec>& topics)
{
    Project p;
    for (const TopicSpec& s : topics) {
        TopicRecord t;
        t.TopicID.setText(s.id);
        t.Title.setText(s.title);
        t.HeaderRtf = s.header;
        t.BodyRtf = s.body;
        p.addTopic(t);
    }
    return p;
}

QByteArray rtfOf(const QString& paragraphs)
{
    return RtfWriter::write(RichDocument::fromPlainText(paragraphs));
}

std::vector<int> search(const Project& p, const char* query, SearchMode mode)
{
    return ts::searchTopics(p, QString::fromUtf8(query), mode);
}

} // namespace

TEST(TopicSearch, UpperCaseFollowsTheCodePageAndKeepsTheLength)
{
    EXPECT_EQ(searchUpper(QStringLiteral("intro_2 a-z")), QStringLiteral("INTRO_2 A-Z"));
    EXPECT_EQ(searchUpper(QString::fromUtf8("café àéïöü šœžÿ")), QString::fromUtf8("CAFÉ ÀÉÏÖÜ ŠŒŽŸ"));
    // No capital inside the code page: the letter stays, the length too.
    EXPECT_EQ(searchUpper(QString::fromUtf8("straße µ ƒ ÷")), QString::fromUtf8("STRAßE µ ƒ ÷"));
}

TEST(TopicSearch, TopicIdMatchesAnywhereWhateverTheLetterCase)
{
    const Project p = projectOf({{QStringLiteral("OVERVIEW"), QStringLiteral("Intro")},
                                 {QStringLiteral("INTRO"), {}},
                                 {QStringLiteral("INTRO_2"), {}},
                                 {QStringLiteral("SETUP"), {}},
                                 {QStringLiteral("MY_INTRO"), {}}});
    EXPECT_EQ(search(p, "intro", SearchMode::TopicId), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(search(p, "O_2", SearchMode::TopicId), (std::vector<int>{2}));
    EXPECT_TRUE(search(p, "INTROS", SearchMode::TopicId).empty());
    EXPECT_TRUE(search(p, "", SearchMode::TopicId).empty());
}

TEST(TopicSearch, TitleMatchesInTableOrderWithAccentedCapitals)
{
    const Project p = projectOf({{QStringLiteral("A"), QStringLiteral("First")},
                                 {QStringLiteral("B"), QStringLiteral("Every topic")},
                                 {QStringLiteral("C"), QStringLiteral("Zoom")},
                                 {QStringLiteral("D"), QStringLiteral("NOTE")},
                                 {QStringLiteral("E"), QString::fromUtf8("Le Café")},
                                 {QStringLiteral("F"), QString::fromUtf8("Straße")}});
    EXPECT_EQ(search(p, "e", SearchMode::TopicTitle), (std::vector<int>{1, 3, 4, 5}));
    EXPECT_EQ(search(p, "CAFÉ", SearchMode::TopicTitle), (std::vector<int>{4}));
    EXPECT_EQ(search(p, "straße", SearchMode::TopicTitle), (std::vector<int>{5}));
    // ß has no capital of its own here: "SS" is another text.
    EXPECT_TRUE(search(p, "strasse", SearchMode::TopicTitle).empty());
    // The title mode looks at titles only.
    EXPECT_TRUE(search(p, "d", SearchMode::TopicTitle).empty());
}

TEST(TopicSearch, TextMatchesInsideOneParagraphOfHeaderOrBody)
{
    const Project p = projectOf({
        {QStringLiteral("SPLIT"), QStringLiteral("Split"), {}, rtfOf(QStringLiteral("the quick\r\nbrown fox"))},
        {QStringLiteral("WHOLE"), QStringLiteral("Whole"), {}, rtfOf(QStringLiteral("x\r\nthe quick brown fox"))},
        {QStringLiteral("HEAD"), QStringLiteral("Head"), rtfOf(QStringLiteral("Quick Brown header")), {}},
        {QStringLiteral("EMPTY"), QStringLiteral("quick brown"), {}, {}},
    });
    EXPECT_EQ(search(p, "QUICK BROWN", SearchMode::TextInTopic), (std::vector<int>{1, 2}));
    // The header's last paragraph and the body's first do not join either.
    const Project seam = projectOf(
        {{QStringLiteral("SEAM"), {}, rtfOf(QStringLiteral("left")), rtfOf(QStringLiteral("right"))}});
    EXPECT_TRUE(search(seam, "leftright", SearchMode::TextInTopic).empty());
    EXPECT_EQ(search(seam, "right", SearchMode::TextInTopic), (std::vector<int>{0}));
}

TEST(TopicSearch, TextSearchSeesWhatTheEditorShows)
{
    // Runs of different formats join into one line; hidden link targets
    // show in the editor and are found; escaped and 8-bit characters are
    // read as text, not as RTF words.
    RichDocument doc;
    CharFormat bold;
    bold.Bold = true;
    CharFormat struck;
    struck.Strike = true;
    CharFormat hidden;
    hidden.Hidden = true;
    doc.Paragraphs[0].Runs = {ts::Run{QStringLiteral("Pro"), bold}, ts::Run{QStringLiteral("duct tour "), CharFormat()},
                              ts::Run{QStringLiteral("see-->"), struck}, ts::Run{QStringLiteral("OVERVIEW"), hidden}};
    Paragraph second;
    second.Runs = {ts::Run{QString::fromUtf8("{braces} \\ Ünïcode \u2028next line"), CharFormat()}};
    doc.Paragraphs.push_back(second);
    const Project p = projectOf({{QStringLiteral("T"), {}, {}, RtfWriter::write(doc)}});

    for (const char* query : {"product tour", "see-->overview", "{BRACES} \\ üNÏCODE", "next line"})
        EXPECT_EQ(search(p, query, SearchMode::TextInTopic), (std::vector<int>{0})) << query;
    // Words of the RTF itself are not text, and a line break ends a line.
    for (const char* query : {"\\plain", "fonttbl", "Arial", "unïcode next"})
        EXPECT_TRUE(search(p, query, SearchMode::TextInTopic).empty()) << query;

    EXPECT_EQ(topicTextLines(RtfWriter::write(doc)),
              (QStringList{QStringLiteral("Product tour see-->OVERVIEW"),
                           QString::fromUtf8("{braces} \\ Ünïcode "), QStringLiteral("next line")}));
    EXPECT_TRUE(topicTextLines(QByteArray()).isEmpty());
    // A block that is not RTF is plain text, one line per line.
    EXPECT_EQ(topicTextLines(QByteArray("plain\r\ntext")), (QStringList{QStringLiteral("plain"), QStringLiteral("text")}));
}

TEST(TopicSearch, ProgressAdvancesByTheWholeStepAfterEveryTopic)
{
    std::vector<TopicSpec> seven;
    for (int i = 0; i < 7; ++i)
        seven.push_back({QStringLiteral("T%1").arg(i), {}, {}, {}});
    const Project p = projectOf(seven);
    std::vector<int> positions;
    const auto found = ts::searchTopics(p, QStringLiteral("T3"), SearchMode::TopicId,
                                    [&](int position) { positions.push_back(position); });
    EXPECT_EQ(found, (std::vector<int>{3}));
    EXPECT_EQ(positions, (std::vector<int>{292, 584, 876, 1168, 1460, 1752, 2044}));

    positions.clear();
    ts::searchTopics(p, QString(), SearchMode::TopicId, [&](int position) { positions.push_back(position); });
    EXPECT_TRUE(positions.empty());

    EXPECT_EQ(searchStep(0), 0);
    EXPECT_EQ(searchStep(2048), 1);

    // A full table: the step is 0, the bar never moves, the last topic is
    // still searched.
    Project full;
    for (int i = 0; i < Project::TopicSlots; ++i) {
        TopicRecord t;
        t.TopicID.setText(QStringLiteral("T%1").arg(i));
        full.addTopic(t);
    }
    positions.clear();
    EXPECT_EQ(ts::searchTopics(full, QStringLiteral("t2048"), SearchMode::TopicId,
                           [&](int position) { positions.push_back(position); }),
              (std::vector<int>{2048}));
    EXPECT_EQ(positions, std::vector<int>(size_t(Project::TopicSlots), 0));
}
