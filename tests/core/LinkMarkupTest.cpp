#include "links/LinkMarkup.h"
#include "model/Project.h"

#include <gtest/gtest.h>

using namespace ts::links;

namespace {

std::string s(const QString& text) { return text.toStdString(); }

} // namespace

TEST(LinkMarkup, TopicLinkTakesTheTitleWhenTheHotspotIsEmpty)
{
    EXPECT_EQ(s(topicLink(QStringLiteral("Product overview"), QStringLiteral("OVERVIEW"), QStringLiteral("Overview"))),
              "Product overview-->OVERVIEW");
    EXPECT_EQ(s(topicLink(QString(), QStringLiteral("OVERVIEW"), QStringLiteral("Overview"))), "Overview-->OVERVIEW");
    EXPECT_EQ(s(topicLink(QString(), QStringLiteral("OVERVIEW"), QStringLiteral("Overview"), QStringLiteral("main"))),
              "Overview-->OVERVIEW>main");
    // The markup's own signs in the hotspot go in as they are.
    EXPECT_EQ(s(topicLink(QStringLiteral("a-->b"), QStringLiteral("X"), QString(), QStringLiteral("win 2"))),
              "a-->b-->X>win 2");
}

TEST(LinkMarkup, OtherHelpFileLinkKeepsTheFieldsAsTyped)
{
    EXPECT_EQ(s(otherHelpFileLink(QStringLiteral("See"), QStringLiteral(" intro "), QStringLiteral("C:\\h\\Other.hlp"))),
              "See--> intro @C:\\h\\Other.hlp");
    EXPECT_EQ(s(otherHelpFileLink(QString(), QStringLiteral("intro"), QStringLiteral("o.hlp"))), "-->intro@o.hlp");

    EXPECT_EQ(s(otherHelpFileRefusal(topicIdPrompt(), QString()).value()),
              "Could not create the link to another help file!\r\nThe Topic ID was not entered!");
    EXPECT_EQ(s(otherHelpFileRefusal(QStringLiteral("intro"), QString()).value()),
              "Could not create the link to another help file!\r\nThe file name was not entered!");
    EXPECT_FALSE(otherHelpFileRefusal(QStringLiteral("intro"), QStringLiteral("o.hlp")).has_value());
    // An ID left empty (or blank) is not entered either.
    for (const QString& id : {QString(), QStringLiteral("  ")})
        EXPECT_EQ(s(otherHelpFileRefusal(id, QStringLiteral("o.hlp")).value()),
                  "Could not create the link to another help file!\r\nThe Topic ID was not entered!");
}

TEST(LinkMarkup, WebAndMailLinks)
{
    EXPECT_EQ(s(ts::links::webLink(QStringLiteral("Our site"), QStringLiteral("http://x.com"), false)),
              "Our site-->!ExecFile(http://x.com)");
    EXPECT_EQ(s(ts::links::webLink(QString(), QStringLiteral("sales"), true)), "sales-->!ExecFile(mailto:sales)");
    EXPECT_EQ(s(ts::links::webLink(QString(), QString(), false)), "-->!ExecFile()");
    EXPECT_EQ(s(ts::links::webLink(QString(), QString(), true)), "-->!ExecFile(mailto:)");
}

TEST(LinkMarkup, ButtonsAndBitmaps)
{
    EXPECT_EQ(s(ts::links::relatedTopicsButton(QStringLiteral("See also"), QStringLiteral("printing;paper"))),
              " {button See also,Alink(printing;paper)} ");
    EXPECT_EQ(s(ts::links::relatedTopicsButton(QString(), QStringLiteral("printing"))),
              " {button ,Alink(printing)}  Related Topics");
    EXPECT_EQ(s(bitmapMarkup(QStringLiteral("c:\\Pics\\logo.bmp"), true)), " {bmct C:\\PICS\\LOGO.BMP} ");
    EXPECT_EQ(s(bitmapMarkup(QStringLiteral("/home/u/Pics/map.shg"), false)), " {bmc /HOME/U/PICS/MAP.SHG} ");
}

TEST(LinkMarkup, TopicChoice)
{
    EXPECT_EQ(s(topicChoiceText(QStringLiteral("OVERVIEW"), QStringLiteral("Overview"))), "OVERVIEW - Overview");
}

// What hidden text behind a hotspot may name: a Topic ID, with a window
// and a help file, or a macro; blanks and the characters Topic IDs refuse
// make it text, not a target.
TEST(LinkMarkup, LinkTargets)
{
    for (const char* target : {"INTRO", "intro_2", "MORE>second", "INTRO@other.hlp", "INTRO@c:\\help\\other.hlp>win",
                               "!ExecFile(\"notepad.exe\")", "!  JumpId(a,b)"})
        EXPECT_TRUE(ts::links::isLinkTarget(QString::fromLatin1(target))) << target;
    for (const char* text : {"", "two words", "ID>", "ID@", ">win", "a>b>c", "ID>win@file>win", "semi;colon", "!",
                             "{bmc x.bmp}", "100%"})
        EXPECT_FALSE(ts::links::isLinkTarget(QString::fromLatin1(text))) << text;
}

TEST(LinkMarkup, ProposedTargetIsAnotherTopicOrTheOneTheSelectionNames)
{
    ts::Project p;
    for (const char* id : {"WELCOME", "INSTALL_GUIDE", "USAGE"}) {
        ts::TopicRecord t;
        t.TopicID.setText(QString::fromLatin1(id));
        t.Title.setText(QStringLiteral("Title of ") + QString::fromLatin1(id).toLower());
        p.addTopic(t);
    }
    EXPECT_EQ(proposedLinkTarget(p, 0, QString()), 1);             // not itself
    EXPECT_EQ(proposedLinkTarget(p, 1, QStringLiteral("words")), 0); // no match: the first other
    EXPECT_EQ(proposedLinkTarget(p, 0, QStringLiteral(" install guide ")), 1); // an ID, case and blanks aside
    EXPECT_EQ(proposedLinkTarget(p, 0, QStringLiteral("TITLE OF\u2029usage")), 2); // a title, over a paragraph end
    EXPECT_EQ(proposedLinkTarget(p, 2, QStringLiteral("usage")), 0); // its own ID is no target
    ts::Project one;
    one.addTopic(p.topic(0));
    EXPECT_EQ(proposedLinkTarget(one, 0, QString()), 0);
    EXPECT_EQ(proposedLinkTarget(ts::Project(), -1, QString()), -1);
}
