#include "marrowgate/graphics/mg_color.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace Marrowgate::Graphics;

TEST(ColorTest, DefaultsToOpaqueWhite)
{
    const Color color;
    EXPECT_EQ(color.GetColorARGB(), 0xFFFFFFFFu);
    EXPECT_EQ(color.GetColorABGR(), 0xFFFFFFFFu);
}

TEST(ColorTest, KeepsAPackedWordAndSplitsItIntoChannels)
{
    const Color color(0x80FF4000u);
    EXPECT_EQ(color.GetColorARGB(), 0x80FF4000u);
    EXPECT_FLOAT_EQ(color.GetAlpha(), 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(color.GetRed(), 1.0f);
    EXPECT_FLOAT_EQ(color.GetGreen(), 64.0f / 255.0f);
    EXPECT_FLOAT_EQ(color.GetBlue(), 0.0f);
    // The vertex word swaps red and blue so its bytes read R, G, B, A in memory.
    EXPECT_EQ(color.GetColorABGR(), 0x800040FFu);
}

TEST(ColorTest, ClampsChannelsAndTruncatesThemIntoThePackedWord)
{
    const Color color(2.0f, -1.0f, 0.5f, std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(color.GetAlpha(), 1.0f);
    EXPECT_FLOAT_EQ(color.GetRed(), 0.0f);
    EXPECT_FLOAT_EQ(color.GetBlue(), 0.0f);
    // 0.5 * 255 = 127.5 truncates to 0x7F.
    EXPECT_EQ(color.GetColorARGB(), 0xFF007F00u);
}

TEST(ColorTest, PaletteEntriesMatchTheirWordsAndUnknownEntriesAreWhite)
{
    EXPECT_EQ(Color(ColorPalette::Transparent).GetColorARGB(), 0x00FFFFFFu);
    EXPECT_EQ(Color(ColorPalette::Black).GetColorARGB(), 0xFF000000u);
    EXPECT_EQ(Color(ColorPalette::SkyBlue).GetColorARGB(), 0xFF2E9FFFu);
    EXPECT_EQ(Color(ColorPalette::Orange).GetColorARGB(), 0xFFFF9F2Eu);
    EXPECT_EQ(Color(static_cast<ColorPalette>(17)).GetColorARGB(), 0xFFFFFFFFu);
    EXPECT_EQ(Color(static_cast<ColorPalette>(-1)).GetColorARGB(), 0xFFFFFFFFu);
}

TEST(ColorTest, InterpolationClampsItsParameter)
{
    const Color from(1.0f, 0.0f, 0.0f, 0.0f);
    const Color to(0.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_EQ(Interpolate(-1.0f, from, to), from);
    EXPECT_EQ(Interpolate(2.0f, from, to), to);
    const Color middle = Interpolate(0.5f, from, to);
    EXPECT_FLOAT_EQ(middle.GetAlpha(), 0.5f);
    EXPECT_EQ(middle.GetColorARGB(), 0x7F7F7F7Fu);
}

} // namespace
