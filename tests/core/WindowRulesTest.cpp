#include "model/Project.h"
#include "model/WindowRules.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ts;

namespace {

WindowFields validFields()
{
    WindowFields f;
    f.Caption = QStringLiteral("Help caption");
    f.Left = QStringLiteral("10");
    f.Width = QStringLiteral("20");
    f.Top = QStringLiteral("30");
    f.Height = QStringLiteral("40");
    return f;
}

} // namespace

TEST(WindowRules, LoadThenStoreGivesTheSameRecord)
{
    WindowRecord w = WindowRecord::defaultWindow();
    w.Name.setText(QStringLiteral("pop"));
    w.Caption.setText(QStringLiteral("Pop-up"));
    w.Left = -5;
    w.Top = 12;
    w.Width = 9999;
    w.Height = 1;
    w.OnTop = true;
    w.DefaultPosition = false;
    w.NonScrollColour = 0x123456;
    w.TopicColour = 0xABCDEF;
    w.Buttons = {true, false, true, false, false, true};

    const WindowFields f = ts::loadWindowFields(w);
    EXPECT_EQ(f.Left, QStringLiteral("-5"));
    EXPECT_EQ(f.Width, QStringLiteral("9999"));

    WindowRecord back = WindowRecord::defaultWindow();
    back.Name = w.Name;
    EXPECT_FALSE(ts::storeWindowFields(back, f));
    EXPECT_EQ(back, w);
}

TEST(WindowRules, StoreTakesSignedAndHexadecimalNumbers)
{
    WindowFields f = validFields();
    f.Left = QStringLiteral("-5");
    f.Width = QStringLiteral("$1F");
    f.Top = QStringLiteral("  +7");
    f.Height = QStringLiteral("$fff");
    WindowRecord w;
    ASSERT_FALSE(ts::storeWindowFields(w, f));
    EXPECT_EQ(w.Left, -5);
    EXPECT_EQ(w.Width, 31);
    EXPECT_EQ(w.Top, 7);
    EXPECT_EQ(w.Height, 4095);
}

TEST(WindowRules, StoreStopsAtTheFirstBoxThatIsNoInteger)
{
    WindowRecord w;
    w.Left = 1;
    w.Width = 2;
    w.Top = 3;
    w.Height = 4;
    w.OnTop = false;

    WindowFields f = validFields();
    f.Top = QStringLiteral("12a"); // Left and Width come before it, Height after
    f.OnTop = true;
    const auto refusal = ts::storeWindowFields(w, f);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(*refusal, QStringLiteral("'12a' is not a valid integer value"));
    EXPECT_EQ(w.Caption.text(), QStringLiteral("Help caption"));
    EXPECT_EQ(w.Left, 10);
    EXPECT_EQ(w.Width, 20);
    EXPECT_EQ(w.Top, 3);
    EXPECT_EQ(w.Height, 4);
    EXPECT_FALSE(w.OnTop);
}

TEST(WindowRules, OnlyFourIntegersPassTheOkCheck)
{
    EXPECT_TRUE(windowFieldsHoldIntegers(validFields()));
    for (const QString& bad : {QString(), QStringLiteral("x"), QStringLiteral("12a"), QStringLiteral("$"),
                              QStringLiteral("1 "), QStringLiteral("-")}) {
        for (QString WindowFields::*box : {&WindowFields::Left, &WindowFields::Width, &WindowFields::Top,
                                           &WindowFields::Height}) {
            WindowFields f = validFields();
            f.*box = bad;
            EXPECT_FALSE(windowFieldsHoldIntegers(f)) << qPrintable(bad);
        }
    }
}

TEST(WindowRules, NewNamesHoldOneToEightCharacters)
{
    EXPECT_EQ(checkNewWindowName(QString()), QStringLiteral("Please type in the name of the new window!"));
    EXPECT_FALSE(checkNewWindowName(QStringLiteral("m")));
    EXPECT_FALSE(checkNewWindowName(QStringLiteral("abcdefgh")));
    EXPECT_EQ(checkNewWindowName(QStringLiteral("abcdefghi")),
              QStringLiteral("A window name cannot have more than 8 characters!"));
    // Names need not be unique, and blanks are kept.
    EXPECT_FALSE(checkNewWindowName(QStringLiteral("main")));
    EXPECT_FALSE(checkNewWindowName(QStringLiteral("a b")));
}

TEST(WindowRules, NoWindowIsAddedPast255)
{
    Project p;
    for (int k = 1; k < Project::MaxWindows; ++k)
        ASSERT_EQ(addWindowLikeMain(p, QStringLiteral("w%1").arg(k)), k);
    EXPECT_EQ(addWindowLikeMain(p, QStringLiteral("extra")), -1);
    EXPECT_EQ(p.WindowCount(), Project::MaxWindows);
}

TEST(WindowRules, HelpUnitsAndPixelsConvertWithEvenRounding)
{
    // A 1024 by 768 screen.
    EXPECT_EQ(pixelsToHelpUnits(100, 1024), 100);
    EXPECT_EQ(pixelsToHelpUnits(300, 1024), 300);
    EXPECT_EQ(pixelsToHelpUnits(96, 768), 128);
    EXPECT_EQ(pixelsToHelpUnits(384, 768), 512);
    EXPECT_EQ(helpUnitsToPixels(128, 768), 96);
    EXPECT_EQ(helpUnitsToPixels(512, 768), 384);
    // Halves go to the even neighbour: 1 unit on a 512-pixel screen is half
    // a pixel, 3 units one and a half.
    EXPECT_EQ(helpUnitsToPixels(1, 512), 0);
    EXPECT_EQ(helpUnitsToPixels(3, 512), 2);
    EXPECT_EQ(helpUnitsToPixels(5, 512), 2);
    EXPECT_EQ(pixelsToHelpUnits(1, 2048), 0);
    EXPECT_EQ(pixelsToHelpUnits(3, 2048), 2);
    EXPECT_EQ(helpUnitsToPixels(-5, 1024), -5);
    // Huge values are held at the ends of int, a screen without size gives 0.
    EXPECT_EQ(pixelsToHelpUnits(std::numeric_limits<int>::max(), 1), std::numeric_limits<int>::max());
    EXPECT_EQ(helpUnitsToPixels(std::numeric_limits<int>::min(), 4096), std::numeric_limits<int>::min());
    EXPECT_EQ(helpUnitsToPixels(100, 0), 0);
}

TEST(WindowRules, DeleteQuestionNamesTheWindow)
{
    EXPECT_EQ(WindowMessages::deleteQuestion(QStringLiteral("pop")),
              QStringLiteral("You are about to delete Window: pop\rAll topics assigned to this window will be reset "
                             "to the \"main\" window.\rAre you sure?"));
}
