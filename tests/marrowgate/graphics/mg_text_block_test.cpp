#include "marrowgate/graphics/mg_text_block.h"

#include <gtest/gtest.h>

namespace {

using namespace Marrowgate::Graphics;

// Every byte is 10 pixels wide.
float TenPerByte(std::string_view text)
{
    return static_cast<float>(text.size()) * 10.0f;
}

using Lines = std::vector<std::string>;

TEST(WrapTextTest, BreaksAtNewlinesAndWrapsAtTheLastSpaceThatFits)
{
    EXPECT_EQ(WrapText("one two three\nfour", 0.0f, TenPerByte), (Lines{"one two three", "four"}));
    EXPECT_EQ(WrapText("one two three", 70.0f, TenPerByte), (Lines{"one two", "three"}));
    // Exactly the width fits; one pixel less does not.
    EXPECT_EQ(WrapText("ab cd", 50.0f, TenPerByte), (Lines{"ab cd"}));
    EXPECT_EQ(WrapText("ab cd", 49.0f, TenPerByte), (Lines{"ab", "cd"}));
    EXPECT_EQ(WrapText("a\n\nb", 100.0f, TenPerByte), (Lines{"a", "", "b"}));
    EXPECT_EQ(WrapText("", 100.0f, TenPerByte), (Lines{""}));
}

TEST(WrapTextTest, AWordWiderThanTheWidthIsBrokenBetweenCharactersNeverInsideOne)
{
    EXPECT_EQ(WrapText("go abcdefgh ok", 30.0f, TenPerByte), (Lines{"go", "abc", "def", "gh", "ok"}));
    // Two-byte characters (20 px each) stay whole, and a line holds at least one of them.
    EXPECT_EQ(WrapText("\xC3\xA9\xC3\xA9\xC3\xA9", 45.0f, TenPerByte),
              (Lines{"\xC3\xA9\xC3\xA9", "\xC3\xA9"}));
    EXPECT_EQ(WrapText("\xC3\xA9\xC3\xA9", 5.0f, TenPerByte), (Lines{"\xC3\xA9", "\xC3\xA9"}));
}

TEST(TextBlockTest, AlignsEachLineWithinTheMeasuredBlock)
{
    TextBlock block("A fairly long first line\nshort", 20.0f);
    ASSERT_EQ(block.GetLineCount(), 2u);
    const TextLineBounds first = block.GetLineBounds(0);
    const TextLineBounds last = block.GetLineBounds(1);
    EXPECT_EQ(block.GetPixelWidth(), static_cast<PixelSpace>(first.width));
    EXPECT_FLOAT_EQ(last.x, 0.0f);
    EXPECT_EQ(block.GetPixelHeight(), static_cast<PixelSpace>(last.y + last.height));
    block.SetAlignment(TextAlignment::Right);
    EXPECT_FLOAT_EQ(block.GetLineBounds(1).x + block.GetLineBounds(1).width, first.width);
    block.SetAlignment(TextAlignment::Center);
    EXPECT_NEAR(block.GetLineBounds(1).x, (first.width - last.width) / 2.0f, 0.5f);
    block.SetLineSpacing(2.0f);
    EXPECT_FLOAT_EQ(block.GetLineBounds(1).y, 2.0f * last.y);
}

TEST(TextBlockTest, WrappingToAWidthMakesTheBlockThatWideWithEveryLineInside)
{
    TextBlock block("The quick brown fox jumps over the lazy dog", 20.0f);
    block.SetWrapWidth(120.0f);
    EXPECT_GT(block.GetLineCount(), 2u);
    EXPECT_EQ(block.GetPixelWidth(), 120);
    for (std::size_t line = 0; line < block.GetLineCount(); ++line) {
        EXPECT_LE(block.GetLineBounds(line).width, 120.0f) << block.GetLineText(line);
    }
}

} // namespace
