#include "spelling/SpellWords.h"

#include <gtest/gtest.h>

#include <set>

using namespace ts;

namespace {

QStringList wordsOf(const QString& text)
{
    QStringList out;
    for (const TextWord& w : splitWords(text))
        out.append(text.mid(w.offset, w.length));
    return out;
}

} // namespace

TEST(SpellWords, ExceptionsAreExactAndComplete)
{
    EXPECT_EQ(spellExceptionWords().size(), 24);
    EXPECT_EQ(spellExceptionWords().first(), QStringLiteral("Alink"));
    EXPECT_EQ(spellExceptionWords().last(), QStringLiteral("Internet"));
    EXPECT_TRUE(isSpellException(QStringLiteral("bmct")));
    EXPECT_FALSE(isSpellException(QStringLiteral("Bmct")));
    EXPECT_TRUE(isSpellException(QStringLiteral("automaticly")));
    EXPECT_FALSE(isSpellException(QStringLiteral("KEYWORD")));
    EXPECT_FALSE(isSpellException(QStringLiteral("bmcs")));
}

TEST(SpellWords, SplitsLettersKeepsInnerApostrophesSkipsDigitRuns)
{
    EXPECT_EQ(wordsOf(QStringLiteral("{bmct logo.bmp} Don't 'quote' Win32 3rd x")),
              (QStringList{QStringLiteral("bmct"), QStringLiteral("Don't"), QStringLiteral("quote"),
                           QStringLiteral("x")}));
    // File names and addresses are passed over whole; the punctuation of the
    // sentence around them is not part of them.
    EXPECT_EQ(wordsOf(QStringLiteral("Run setup.exe, see www.example.com or mail me@example.org (C:\\Help\\a.hlp). "
                                     "Done.")),
              (QStringList{QStringLiteral("Run"), QStringLiteral("see"), QStringLiteral("or"), QStringLiteral("mail"),
                           QStringLiteral("Done")}));
    EXPECT_EQ(wordsOf(QStringLiteral("Setup guide-->SETUP")),
              (QStringList{QStringLiteral("Setup"), QStringLiteral("guide"), QStringLiteral("SETUP")}));
    EXPECT_EQ(wordsOf(QStringLiteral("caf\u00e9 na\u00efve\nline\u2029two")),
              (QStringList{QStringLiteral("caf\u00e9"), QStringLiteral("na\u00efve"), QStringLiteral("line"),
                           QStringLiteral("two")}));
    EXPECT_TRUE(splitWords(QString()).isEmpty());
    EXPECT_TRUE(splitWords(QStringLiteral(" -- 42 '' ")).isEmpty());
    const auto w = nextWord(QStringLiteral("ab cd"), 1);
    ASSERT_TRUE(w.has_value());
    EXPECT_EQ(*w, (TextWord{1, 1}));
}

TEST(SpellWords, ReplacementsShiftLaterOffsets)
{
    QString text = QStringLiteral("teh cat adn teh dog");
    const std::set<QString> known{QStringLiteral("cat"), QStringLiteral("dog")};
    QList<std::pair<QString, qsizetype>> seen;
    const bool done = runSpellCheck(
        text, [&](const QString& w) { return known.count(w) > 0; },
        [&](const QString& w, qsizetype offset) {
            seen.append({w, offset});
            if (w == QStringLiteral("teh"))
                return SpellDecision{SpellDecision::Kind::Replace, QStringLiteral("the")};
            return SpellDecision{SpellDecision::Kind::Replace, QStringLiteral("and also")};
        });
    EXPECT_TRUE(done);
    EXPECT_EQ(text, QStringLiteral("the cat and also the dog"));
    ASSERT_EQ(seen.size(), 3);
    EXPECT_EQ(seen[1], (std::pair{QStringLiteral("adn"), qsizetype(8)}));
    // The third word's offset is that of the text after "adn" became "and also".
    EXPECT_EQ(seen[2], (std::pair{QStringLiteral("teh"), qsizetype(17)}));
}

TEST(SpellWords, ReplacementIsNotCheckedAgainAndStopEndsTheCheck)
{
    QString text = QStringLiteral("aa bb cc");
    QStringList seen;
    const bool done = runSpellCheck(
        text, [](const QString&) { return false; },
        [&](const QString& w, qsizetype) {
            seen.append(w);
            if (w == QStringLiteral("aa"))
                return SpellDecision{SpellDecision::Kind::Replace, QStringLiteral("xx yy")};
            if (w == QStringLiteral("bb"))
                return SpellDecision{SpellDecision::Kind::Stop, {}};
            return SpellDecision{};
        });
    EXPECT_FALSE(done);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("aa"), QStringLiteral("bb")}));
    EXPECT_EQ(text, QStringLiteral("xx yy bb cc"));
}
