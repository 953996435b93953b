#include "helpsource/HpjWriter.h"
#include "model/Project.h"

#include "model/IoError.h"
#include "model/WindowRules.h"

#include <gtest/gtest.h>

using namespace ts;

namespace {

TopicRecord topic(const char* id, bool mapped = false, int mapId = 0)
{
    TopicRecord t;
    t.TopicID.setBytes(QByteArray(id));
    t.HasCallId = mapped;
    t.CallId = mapId;
    return t;
}

WindowRecord popWindow()
{
    WindowRecord w;
    w.Name.setBytes("pop");
    w.Caption.setBytes("Pop-up");
    w.DefaultPosition = false;
    w.Left = 10;
    w.Top = 20;
    w.Width = 500;
    w.Height = 400;
    w.Buttons[Browse] = true;
    w.Buttons[Back] = true;
    w.OnTop = true;
    return w;
}

} // namespace

TEST(HpjWriter, NewProjectExample)
{
    Project p;
    p.ProjectPath = QStringLiteral("C:\\Help\\Demo.tsp");
    p.addTopic(topic("INTRO", true, 100));
    p.addTopic(topic("OTHER"));
    EXPECT_EQ(HpjWriter::generate(p), QByteArray("[OPTIONS]\r\n"
                                                 "COMPRESS=8 Zeck\r\n"
                                                 "ERRORLOG=C:\\Help\\Demo.LOG\r\n"
                                                 "HLP=C:\\Help\\Demo.HLP\r\n"
                                                 "\r\n"
                                                 "[FILES]\r\n"
                                                 "C:\\Help\\Demo.RTF\r\n"
                                                 "\r\n"
                                                 "[MAP]\r\n"
                                                 "INTRO=100\r\n"
                                                 "\r\n"
                                                 "[WINDOWS]\r\n"
                                                 "main=\"\",,4,(r14483455),(r12632256)\r\n"));
    EXPECT_EQ(HpjWriter::pathFor(p), QStringLiteral("C:\\Help\\Demo.HPJ"));
}

TEST(HpjWriter, WindowLineExampleAndFlagItems)
{
    WindowRecord w = popWindow();
    EXPECT_EQ(HpjWriter::windowLine(w), QByteArray("pop=\"Pop-up\",(10,20,500,400),16900,(r14483455),(r12632256),1"));

    w.AutoSizeHeight = true;
    EXPECT_TRUE(HpjWriter::windowLine(w).endsWith(",f3"));
    w.OnTop = false;
    EXPECT_TRUE(HpjWriter::windowLine(w).endsWith("(r12632256),f2"));
    w.AutoSizeHeight = false;
    EXPECT_TRUE(HpjWriter::windowLine(w).endsWith("(r12632256)"));

    // A default position hides whatever the coordinates hold; a caption is
    // written as stored, a quote inside it unescaped; negative numbers signed.
    w.DefaultPosition = true;
    w.Caption.setBytes("Say \"hi\"");
    w.TopicColour = 0xFF;
    w.NonScrollColour = 0;
    EXPECT_EQ(HpjWriter::windowLine(w), QByteArray("pop=\"Say \"hi\"\",,16900,(r255),(r0)"));
    w.DefaultPosition = false;
    w.Left = -5;
    EXPECT_TRUE(HpjWriter::windowLine(w).contains(",(-5,20,500,400),"));
}

TEST(HpjWriter, StateNumberWeights)
{
    WindowRecord w;
    EXPECT_EQ(windowState(w), 4);
    const int weights[ButtonCount] = {512, 1024, 2048, 8192, 16384, 32768};
    for (int i = 0; i < ButtonCount; ++i) {
        WindowRecord one;
        one.Buttons[size_t(i)] = true;
        EXPECT_EQ(windowState(one), 4 + weights[i]) << i;
    }
    w.Buttons.fill(true);
    EXPECT_EQ(windowState(w), 60932);
}

TEST(HpjWriter, MapAndWindowSections)
{
    Project p;
    p.ProjectPath = QStringLiteral("/h/D.tsp");
    // HasCallId off: no line, whatever CallId holds.
    p.addTopic(topic("A", false, 7));
    p.addTopic(topic("B", true, -3));
    p.addTopic(topic("C", true, 0));
    WindowRecord flagged = popWindow();
    p.addWindow(flagged);
    WindowRecord plain = popWindow();
    plain.Name.setBytes("plain");
    plain.OnTop = false;
    p.addWindow(plain);
    std::vector<int> steps;
    const QByteArray out = HpjWriter::generate(p, [&](int s) { steps.push_back(s); });
    EXPECT_TRUE(out.contains("[MAP]\r\nB=-3\r\nC=0\r\n\r\n[WINDOWS]\r\nmain="));
    EXPECT_TRUE(out.endsWith(",1\r\nplain=\"Pop-up\",(10,20,500,400),16900,(r14483455),(r12632256)\r\n"));
    EXPECT_EQ(steps, (std::vector<int>{33, 33, 33}));

    Project unmapped;
    unmapped.ProjectPath = QStringLiteral("/h/D.tsp");
    unmapped.addTopic(topic("A"));
    const QByteArray u = HpjWriter::generate(unmapped);
    EXPECT_TRUE(u.contains("[MAP]\r\n\r\n[WINDOWS]\r\n"));
    EXPECT_EQ(u.mid(u.indexOf("[WINDOWS]")).count("\r\n"), 2); // the heading and one window line
}

TEST(HpjWriter, PathsAreInTheCompilersFormAndMustBeWindows1252)
{
    Project p;
    p.ProjectPath = QStringLiteral("/home/u/Caf\u00e9/D.tsp");
    const QByteArray out = HpjWriter::generate(p);
    EXPECT_TRUE(out.contains("ERRORLOG=Z:\\home\\u\\Caf\xe9\\D.LOG\r\nHLP=Z:\\home\\u\\Caf\xe9\\D.HLP\r\n\r\n"
                             "[FILES]\r\nZ:\\home\\u\\Caf\xe9\\D.RTF\r\n"))
        << out.constData();

    p.ProjectPath = QStringLiteral("/home/u/\u0416/D.tsp");
    try {
        HpjWriter::generate(p);
        FAIL() << "a path the compiler can not read was written";
    } catch (const IoError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Cannot write the help project for '/home/u/\u0416/D.tsp': the help "
                                              "compiler can not read the character '\u0416' in its path"));
    }
}
