#include "model/Project.h"
#include "model/TopicList.h"
#include "model/Windows1252.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {

TopicRecord topic(const char* id, const char* title = "")
{
    TopicRecord t;
    t.TopicID.setBytes(QByteArray(id));
    t.Title.setBytes(QByteArray(title));
    return t;
}

} // namespace

TEST(Windows1252, RoundTripsEveryByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = cp1252::decode(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));
    EXPECT_EQ(text.at(0x9F), QChar(0x0178));
    EXPECT_EQ(text.at(0xE9), QChar(0x00E9));
    EXPECT_EQ(cp1252::encode(text), all);
    EXPECT_TRUE(cp1252::canEncode(text));
}

TEST(Windows1252, CharactersWithoutAFormAreReplacedOrFiltered)
{
    const QString s = QStringLiteral("a\u0416b\u20ACc");
    EXPECT_FALSE(cp1252::canEncode(s));
    EXPECT_EQ(cp1252::encode(s), QByteArray("a?b\x80" "c"));
    EXPECT_EQ(cp1252::filter(s), QStringLiteral("ab\u20ACc"));
}

TEST(CountedString, CutsToCapacityWhenStored)
{
    CountedString<50> id;
    id.setBytes(QByteArray(60, 'X'));
    EXPECT_EQ(id.length(), 50);
    CountedString<255> keywords;
    keywords.setText(QString(255, QLatin1Char('k')));
    EXPECT_EQ(keywords.length(), 255);
    keywords.setText(QString(300, QLatin1Char('k')));
    EXPECT_EQ(keywords.length(), 255);
    CountedString<30> name(QStringLiteral("caf\u00e9"));
    EXPECT_EQ(name.bytes(), QByteArray("caf\xe9"));
    EXPECT_EQ(name.text(), QStringLiteral("caf\u00e9"));
}

TEST(Project, StartStateHoldsTheDefaultWindowOnly)
{
    Project p(QStringLiteral("/opt/ts/"));
    EXPECT_EQ(p.TopicCount(), 0);
    EXPECT_EQ(p.WindowCount(), 1);
    const WindowRecord& w = p.window(0);
    EXPECT_EQ(w.Name.bytes(), QByteArray("main"));
    EXPECT_EQ(w.NonScrollColour, 0xC0C0C0u);
    EXPECT_EQ(w.TopicColour, 0xDCFFFFu);
    EXPECT_FALSE(w.OnTop);
    EXPECT_FALSE(w.AutoSizeHeight);
    EXPECT_EQ(w.Left, 0);
    EXPECT_EQ(w.Top, 0);
    EXPECT_EQ(w.Width, 300);
    EXPECT_EQ(w.Height, 300);
    EXPECT_TRUE(w.DefaultPosition);
    EXPECT_TRUE(w.Caption.isEmpty());
    for (bool b : w.Buttons)
        EXPECT_FALSE(b);
    EXPECT_EQ(p.ProjectPath, QStringLiteral("/opt/ts/NoName.tsp"));
    EXPECT_TRUE(p.isUnnamed());
    EXPECT_EQ(p.projectBase(), QStringLiteral("/opt/ts/NoName"));
    EXPECT_EQ(p.CompilerPath, QStringLiteral("NoCompiler"));
}

TEST(Project, DeleteTopicMovesLaterTopicsDownAndClearsTheFreedSlot)
{
    Project p;
    for (const char* id : {"A", "B", "C"}) {
        TopicRecord t = topic(id);
        t.BodyRtf = QByteArray("body of ") + id;
        t.HasCallId = true;
        t.CallId = 7;
        ASSERT_TRUE(p.addTopic(t));
    }
    p.deleteTopic(0);
    ASSERT_EQ(p.TopicCount(), 2);
    EXPECT_EQ(p.topic(0).TopicID.bytes(), QByteArray("B"));
    EXPECT_EQ(p.topic(0).BodyRtf, QByteArray("body of B"));
    EXPECT_EQ(p.topic(1).TopicID.bytes(), QByteArray("C"));
    // The freed slot is empty when it is used again.
    ASSERT_TRUE(p.addTopic(topic("D")));
    EXPECT_EQ(p.topic(2).BodyLen(), 0);
    EXPECT_FALSE(p.topic(2).HasCallId);

    p.deleteTopic(2); // the last slot: nothing moves
    ASSERT_EQ(p.TopicCount(), 2);
    EXPECT_EQ(p.topic(1).TopicID.bytes(), QByteArray("C"));
    EXPECT_EQ(p.findTopic("C"), 1);
    EXPECT_EQ(p.findTopic("D"), -1);
}

TEST(Project, TopicTableRefusesThe2050thTopic)
{
    Project p;
    for (int i = 0; i < Project::TopicSlots; ++i)
        ASSERT_TRUE(p.addTopic(topic("T")));
    EXPECT_TRUE(p.topicTableFull());
    EXPECT_FALSE(p.addTopic(topic("ONE_TOO_MANY")));
    EXPECT_EQ(p.TopicCount(), Project::TopicSlots);
}

TEST(Project, WindowTableHoldsAtMost255AndDeletingMovesTopics)
{
    Project p;
    WindowRecord w;
    for (int k = 1; k < Project::MaxWindows; ++k) {
        w.Name.setText(QStringLiteral("w%1").arg(k));
        ASSERT_TRUE(p.addWindow(w));
    }
    EXPECT_FALSE(p.addWindow(w));
    EXPECT_EQ(p.WindowCount(), 255);

    for (int k : {1, 2, 3}) {
        TopicRecord t = topic("X");
        t.WindowIndex = k;
        p.addTopic(t);
    }
    p.deleteWindow(2);
    EXPECT_EQ(p.WindowCount(), 254);
    EXPECT_EQ(p.topic(0).WindowIndex, 1);
    EXPECT_EQ(p.topic(1).WindowIndex, 0);
    EXPECT_EQ(p.topic(2).WindowIndex, 2);
    EXPECT_EQ(p.window(2).Name.bytes(), QByteArray("w3"));
}

TEST(Project, ResetLeavesOnlyTheDefaultMainWindow)
{
    Project p;
    p.window(0).Caption.setText(QStringLiteral("Changed"));
    p.window(0).TopicColour = 0x123456;
    for (int k = 0; k < 4; ++k)
        p.addWindow(WindowRecord());
    TopicRecord t = topic("A");
    t.HeaderRtf = "x";
    t.Keywords.setText(QStringLiteral("k"));
    p.addTopic(t);
    p.reset();
    EXPECT_EQ(p.TopicCount(), 0);
    EXPECT_EQ(p.WindowCount(), 1);
    EXPECT_EQ(p.window(0), WindowRecord::defaultWindow());
    ASSERT_TRUE(p.addTopic(topic("B")));
    EXPECT_TRUE(p.topic(0).Keywords.isEmpty());
    EXPECT_EQ(p.topic(0).HeaderLen(), 0);
}

TEST(TopicList, OneLinePerTopicWithOrWithoutCallId)
{
    Project p;
    TopicRecord intro = topic("INTRO", "Welcome");
    intro.HasCallId = true;
    intro.CallId = 10;
    p.addTopic(intro);
    TopicRecord plain = topic("PLAIN");
    plain.CallId = 99; // ignored without HasCallId
    p.addTopic(plain);
    EXPECT_EQ(topicListLines(p),
              (QStringList{QStringLiteral("INTRO : Welcome : Application Call ID: 10"),
                           QStringLiteral("PLAIN :  : No Application Call")}));
}
