// A topic's stored header or body read back as the help source writer and
// the built-in compiler see it.

#include "richtext/RtfWriter.h"
#include "richtext/StoredText.h"

#include <gtest/gtest.h>

using namespace ts;

TEST(StoredText, ABlockNeverStoredIsOneEmptyParagraph)
{
    const RichDocument never = readStoredText(QByteArray());
    ASSERT_EQ(never.Paragraphs.size(), 1u);
    EXPECT_TRUE(never.Paragraphs.front().isEmpty());
    EXPECT_FALSE(hasText(never));
    EXPECT_EQ(never, RichDocument());
}

TEST(StoredText, StoredRtfReadsBackAndTellsWhetherItHoldsText)
{
    RichDocument written;
    written.Paragraphs.front().Runs.front().Text = QStringLiteral("first");
    written.Paragraphs.emplace_back();
    const RichDocument read = readStoredText(RtfWriter::write(written));
    ASSERT_EQ(read.Paragraphs.size(), 2u);
    EXPECT_EQ(read.Paragraphs.front().Runs.front().Text, QStringLiteral("first"));
    EXPECT_TRUE(hasText(read));

    // Paragraphs without text, however many, hold no text.
    RichDocument empty;
    empty.Paragraphs.emplace_back();
    EXPECT_FALSE(hasText(readStoredText(RtfWriter::write(empty))));
}
