#include "model/Project.h"
#include "model/TopicRules.h"
#include "model/UserInteger.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ts;

namespace {

TopicRecord topic(const char* id, const char* title, std::optional<int> callId = std::nullopt)
{
    TopicRecord t;
    t.TopicID.setBytes(QByteArray(id));
    t.Title.setBytes(QByteArray(title));
    if (callId) {
        t.HasCallId = true;
        t.CallId = *callId;
    }
    return t;
}

Project projectOf(std::initializer_list<TopicRecord> topics)
{
    Project p;
    for (const TopicRecord& t : topics)
        p.addTopic(t);
    return p;
}

TopicFields fields(const char* id, std::optional<const char*> callId = std::nullopt)
{
    TopicFields f;
    f.TopicID = QString::fromUtf8(id);
    f.AssignID = callId.has_value();
    f.CallId = callId ? QString::fromUtf8(*callId) : QString();
    return f;
}

} // namespace

TEST(UserInteger, AcceptsBlanksSignDecimalAndDollarHex)
{
    EXPECT_EQ(parseUserInteger(QStringLiteral("  12")), 12);
    EXPECT_EQ(parseUserInteger(QStringLiteral("+7")), 7);
    EXPECT_EQ(parseUserInteger(QStringLiteral("-40")), -40);
    EXPECT_EQ(parseUserInteger(QStringLiteral("$1f")), 31);
    EXPECT_EQ(parseUserInteger(QStringLiteral(" $7FFFFFFF")), std::numeric_limits<int>::max());
    EXPECT_EQ(parseUserInteger(QStringLiteral("2147483647")), std::numeric_limits<int>::max());
    EXPECT_EQ(parseUserInteger(QStringLiteral("-2147483648")), std::numeric_limits<int>::min());
}

TEST(UserInteger, RefusesEverythingElse)
{
    for (const char* bad : {"", "   ", "12 ", "1a", "+", "-", "$", "-$1", "0x10", "1.5", "2147483648",
                            "-2147483649", "$80000000", "99999999999999999999", "\t3"})
        EXPECT_FALSE(parseUserInteger(QString::fromUtf8(bad)).has_value()) << bad;
    EXPECT_EQ(notAnIntegerMessage(QStringLiteral("x1")), QStringLiteral("'x1' is not a valid integer value"));
}

TEST(TopicRules, ProposalFollowsTheNumbersInUse)
{
    EXPECT_EQ(proposeCallId(Project()), 10);
    EXPECT_EQ(proposeCallId(projectOf({topic("A", ""), topic("B", "")})), 10);
    EXPECT_EQ(proposeCallId(projectOf({topic("A", "", 10), topic("B", "", 20)})), 30);
    EXPECT_EQ(proposeCallId(projectOf({topic("A", "", 15)})), 20);
    // A number in use equal to the proposal raises it; one below does not.
    EXPECT_EQ(proposeCallId(projectOf({topic("A", "", 20)})), 30);
    EXPECT_EQ(proposeCallId(projectOf({topic("A", "", 19)})), 20);
    EXPECT_EQ(proposeCallId(projectOf({topic("A", "", 30), topic("B", "", 40)})), 50);
    // One pass in project order: 30 is raised to 40 at the first topic and
    // never checked against it again.
    EXPECT_EQ(proposeCallId(projectOf({topic("A", "", 40), topic("B", "", 30)})), 40);
    EXPECT_EQ(proposeCallId(projectOf({topic("A", "", std::numeric_limits<int>::max()), topic("B", "", 5)})), 40);
}

TEST(TopicRules, ProposalThatCollidesIsRefusedAtTheFirstTopic)
{
    const Project p = projectOf({topic("FIRST", "One", 40), topic("SECOND", "Two", 30)});
    const TopicCheck c = checkTopicProperties(p, fields("NEW", "40"), -1);
    ASSERT_TRUE(c.Refusal);
    EXPECT_EQ(*c.Refusal, QStringLiteral("Application Call ID 40 is already in use by:\r\nFIRST - One"));
}

TEST(TopicRules, EmptyTopicIdIsRequiredOnlyForTheFirstTopic)
{
    const TopicCheck first = checkTopicProperties(Project(), fields(""), -1);
    ASSERT_TRUE(first.Refusal);
    EXPECT_EQ(*first.Refusal, QStringLiteral("You must enter the Topic ID!"));

    // With topics present an empty entry cancels, whatever the other fields hold.
    const Project p = projectOf({topic("A", "", 10)});
    EXPECT_TRUE(checkTopicProperties(p, fields(""), -1).passes());
    EXPECT_TRUE(checkTopicProperties(p, fields("", "x"), 0).passes());
    EXPECT_TRUE(checkTopicProperties(p, fields("", "10"), -1).passes());
}

TEST(TopicRules, InvalidCallIdIsRefusedBeforeTheBlankNotice)
{
    const TopicCheck c = checkTopicProperties(Project(), fields("my topic", "ten"), -1);
    ASSERT_TRUE(c.Refusal);
    EXPECT_EQ(*c.Refusal, QStringLiteral("The Application Call ID number is not valid!"));
    EXPECT_FALSE(c.BlankNotice);
    EXPECT_EQ(c.TopicID, QStringLiteral("my topic"));
    // Unchecked, the number field is not read.
    EXPECT_TRUE(checkTopicProperties(Project(), fields("A"), -1).passes());
}

TEST(TopicRules, BlankNoticeThenConflictShowsTheEntryWithUnderscores)
{
    const Project p = projectOf({topic("INTRO", "Start"), topic("MY_TOPIC", "Mine")});
    const TopicCheck c = checkTopicProperties(p, fields("my topic"), -1);
    ASSERT_TRUE(c.BlankNotice);
    EXPECT_EQ(*c.BlankNotice, QStringLiteral("Spaces found in the Topic ID\rwill be replaced with the \"_\" sign."));
    EXPECT_EQ(c.TopicID, QStringLiteral("my_topic"));
    ASSERT_TRUE(c.Refusal);
    EXPECT_EQ(*c.Refusal, QStringLiteral("Topic ID my_topic is already in use by:\r\nMY_TOPIC - Mine"));

    // Without a conflict the notice is shown and the dialog closes.
    const TopicCheck ok = checkTopicProperties(p, fields(" a b "), -1);
    EXPECT_TRUE(ok.BlankNotice);
    EXPECT_TRUE(ok.passes());
    EXPECT_EQ(ok.TopicID, QStringLiteral("_a_b_"));
}

TEST(TopicRules, CharactersThatBreakLinksOrTheHelpProjectAreRefused)
{
    const Project p = projectOf({topic("OLD#ID", "Made before the rule")});
    for (const char c : QByteArray("#=+@*%!>;\"{}\\")) {
        const QString id = QStringLiteral("A") + QLatin1Char(c) + QStringLiteral("B");
        const TopicCheck check = checkTopicProperties(p, fields(id.toLatin1().constData()), -1);
        EXPECT_EQ(check.Refusal.value_or(QString()),
                  QStringLiteral("A Topic ID cannot contain the character '%1'.").arg(QLatin1Char(c)))
            << c;
    }
    EXPECT_EQ(checkTopicProperties(p, fields("A\tB"), -1).Refusal.value_or(QString()),
              QStringLiteral("A Topic ID cannot contain the control character 9."));
    // A blank is still replaced, and the result is checked.
    const TopicCheck blank = checkTopicProperties(p, fields("a b>c"), -1);
    EXPECT_TRUE(blank.BlankNotice);
    EXPECT_TRUE(blank.Refusal);
    EXPECT_TRUE(checkTopicProperties(p, fields("A-B_C.D(1)"), -1).passes());
    // The topic that already has such an ID keeps it when its other fields change.
    EXPECT_TRUE(checkTopicProperties(p, fields("old#id"), 0).passes());
    EXPECT_TRUE(checkTopicProperties(p, fields("NEW#ID"), 0).Refusal);
}

TEST(TopicRules, OwnTopicIsSkippedWhenChangingButComparedWhenAdding)
{
    const Project p = projectOf({topic("A", "First", 10), topic("B", "Second", 20)});
    EXPECT_TRUE(checkTopicProperties(p, fields("b", "20"), 1).passes());
    const TopicCheck adding = checkTopicProperties(p, fields("b", "30"), -1);
    ASSERT_TRUE(adding.Refusal);
    EXPECT_EQ(*adding.Refusal, QStringLiteral("Topic ID b is already in use by:\r\nB - Second"));
    // Changing topic 1 to topic 0's ID is still a conflict.
    EXPECT_FALSE(checkTopicProperties(p, fields("A"), 1).passes());
}

TEST(TopicRules, CallIdOfATopicIsCheckedBeforeItsTopicIdAndTheFirstConflictWins)
{
    const Project p = projectOf({topic("X", "Ex"), topic("Y", "Why", 10)});
    const TopicCheck sameTopic = checkTopicProperties(p, fields("Y", "10"), -1);
    EXPECT_EQ(sameTopic.Refusal, QStringLiteral("Application Call ID 10 is already in use by:\r\nY - Why"));
    // Topic 0's ID conflict comes before topic 1's call ID conflict.
    const TopicCheck order = checkTopicProperties(p, fields("x", "10"), -1);
    EXPECT_EQ(order.Refusal, QStringLiteral("Topic ID x is already in use by:\r\nX - Ex"));
    // Numbers are compared by value and shown as typed.
    const TopicCheck hex = checkTopicProperties(p, fields("Z", " $A"), -1);
    EXPECT_EQ(hex.Refusal, QStringLiteral("Application Call ID $A is already in use by:\r\nY - Why"));
    // A topic without a call ID holds 0 but is no conflict for 0.
    EXPECT_TRUE(checkTopicProperties(p, fields("Z", "0"), -1).passes());
}

// Topic IDs are compared as the project stores them: upper-cased within the
// code page and cut to 50 characters.
TEST(TopicRules, TopicIdsAreComparedInTheirStoredForm)
{
    EXPECT_EQ(upperTopicId(QStringLiteral("intro_2")), QStringLiteral("INTRO_2"));
    EXPECT_EQ(upperTopicId(QStringLiteral("caf\u00E9 \u00FF")), QStringLiteral("CAF\u00C9 \u0178"));
    // No single-character upper case in the code page: kept.
    EXPECT_EQ(upperTopicId(QStringLiteral("\u00DF\u00B5")), QStringLiteral("\u00DF\u00B5"));
    const Project p = projectOf({topic("CAF\xC9", "Coffee")});
    EXPECT_FALSE(checkTopicProperties(p, fields("caf\xC3\xA9"), -1).passes());

    const QByteArray fifty(50, 'l');
    const Project full = projectOf({topic(fifty.toUpper().constData(), "Long")});
    EXPECT_FALSE(checkTopicProperties(full, fields(fifty.constData()), -1).passes());
    EXPECT_FALSE(checkTopicProperties(full, fields(QByteArray(fifty + "x").constData()), -1).passes());
    EXPECT_TRUE(checkTopicProperties(full, fields(fifty.left(49).constData()), -1).passes());
}
