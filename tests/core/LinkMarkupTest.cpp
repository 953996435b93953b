#include "links/LinkMarkup.h"

#include <gtest/gtest.h>

using namespace ts::links;

namespace {

std::string s(const QString& text) { return text.toStdString(); }

} // namespace

TEST(LinkMarkup, TopicLinkTakesTheTitleWhenTheHotspotIsEmpty)
{
    EXPECT_EQ(s(TopicLink(QStringLiteral("Product overview"), QStringLiteral("OVERVIEW"), QStringLiteral("Overview"))),
              "Product overview-->OVERVIEW");
    EXPECT_EQ(s(TopicLink(QString(), QStringLiteral("OVERVIEW"), QStringLiteral("Overview"))), "Overview-->OVERVIEW");
    EXPECT_EQ(s(TopicLink(QString(), QStringLiteral("OVERVIEW"), QStringLiteral("Overview"), QStringLiteral("main"))),
              "Overview-->OVERVIEW>main");
    // The markup's own signs in the hotspot go in as they are.
    EXPECT_EQ(s(TopicLink(QStringLiteral("a-->b"), QStringLiteral("X"), QString(), QStringLiteral("win 2"))),
              "a-->b-->X>win 2");
}

TEST(LinkMarkup, OtherHelpFileLinkKeepsTheFieldsAsTyped)
{
    EXPECT_EQ(s(OtherHelpFileLink(QStringLiteral("See"), QStringLiteral(" intro "), QStringLiteral("C:\\h\\Other.hlp"))),
              "See--> intro @C:\\h\\Other.hlp");
    EXPECT_EQ(s(OtherHelpFileLink(QString(), QStringLiteral("intro"), QStringLiteral("o.hlp"))), "-->intro@o.hlp");

    EXPECT_EQ(s(OtherHelpFileRefusal(TopicIdPrompt(), QString()).value()),
              "Could not create link to onother help file!\r\nTopic ID not entered!");
    EXPECT_EQ(s(OtherHelpFileRefusal(QStringLiteral("intro"), QString()).value()),
              "Could not create link to onother help file!\r\nFile name not entered!");
    EXPECT_FALSE(OtherHelpFileRefusal(QStringLiteral("intro"), QStringLiteral("o.hlp")).has_value());
    // Only the untouched prompt refuses; an empty typed ID is the user's choice.
    EXPECT_FALSE(OtherHelpFileRefusal(QString(), QStringLiteral("o.hlp")).has_value());
}

TEST(LinkMarkup, WebAndMailLinks)
{
    EXPECT_EQ(s(WebLink(QStringLiteral("Our site"), QStringLiteral("http://x.com"), false)),
              "Our site-->!ExecFile(http://x.com) ");
    EXPECT_EQ(s(WebLink(QString(), QStringLiteral("sales"), true)), "sales-->!ExecFile(mailto:sales) ");
    EXPECT_EQ(s(WebLink(QString(), QString(), false)), "-->!ExecFile() ");
    EXPECT_EQ(s(WebLink(QString(), QString(), true)), "-->!ExecFile(mailto:) ");
}

TEST(LinkMarkup, ButtonsAndBitmaps)
{
    EXPECT_EQ(s(RelatedTopicsButton(QStringLiteral("See also"), QStringLiteral("printing;paper"))),
              " {button See also,Alink(printing;paper)} ");
    EXPECT_EQ(s(RelatedTopicsButton(QString(), QStringLiteral("printing"))),
              " {button ,Alink(printing)}  Related Topics");
    EXPECT_EQ(s(BitmapMarkup(QStringLiteral("c:\\Pics\\logo.bmp"), true)), " {bmct C:\\PICS\\LOGO.BMP} ");
    EXPECT_EQ(s(BitmapMarkup(QStringLiteral("/home/u/Pics/map.shg"), false)), " {bmc /HOME/U/PICS/MAP.SHG} ");
}

TEST(LinkMarkup, TopicChoice)
{
    EXPECT_EQ(s(TopicChoiceText(QStringLiteral("OVERVIEW"), QStringLiteral("Overview"))), "OVERVIEW - Overview");
}
