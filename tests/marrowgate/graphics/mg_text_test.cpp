// Text without a rendering context: UTF-8 decoding, the font cache, measuring with kerning,
// rasterising into power-of-two coverage bitmaps, refusals, and damaged font data.

#include "marrowgate/graphics/fonts/mg_font.h"
#include "marrowgate/graphics/mg_text.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Marrowgate::Graphics::Text;
using mgImplementation::DecodeUtf8Character;
using mgImplementation::FindFont;
using mgImplementation::Font;

std::vector<std::int32_t> DecodeAll(std::string_view text)
{
    std::vector<std::int32_t> characters;
    std::size_t position = 0;
    while (position < text.size() && text[position] != '\0') {
        characters.push_back(DecodeUtf8Character(text, position));
    }
    return characters;
}

std::vector<unsigned char> BuiltInFontBytes()
{
    std::ifstream file(QUORVANE_SOURCE_DIR "/source/marrowgate/graphics/fonts/Comfortaa-Bold.ttf",
                       std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(Utf8Decoding, DecodesOneToFourByteSequences)
{
    EXPECT_EQ(DecodeAll("Az"), (std::vector<std::int32_t>{'A', 'z'}));
    EXPECT_EQ(DecodeAll("\xC3\xA9"), std::vector<std::int32_t>{0xE9});       // e acute
    EXPECT_EQ(DecodeAll("\xE2\x82\xAC"), std::vector<std::int32_t>{0x20AC}); // euro sign
    EXPECT_EQ(DecodeAll("\xF0\x9F\x98\x80"), std::vector<std::int32_t>{0x1F600});
}

TEST(Utf8Decoding, NeverReadsPastTheEndOrAZeroByte)
{
    // The view ends inside a sequence; the bytes behind it must not be read.
    const std::string buffer = "x\xE2\x82\xAC";
    std::size_t position = 1;
    EXPECT_EQ(DecodeUtf8Character(std::string_view(buffer).substr(0, 3), position), (0x2 << 6) | 0x02);
    EXPECT_EQ(position, 3u);
    const std::string withZero("\xE2\x00\x41", 3);
    position = 0;
    EXPECT_EQ(DecodeUtf8Character(withZero, position), 0x2);
    EXPECT_EQ(position, 1u); // stopped at the zero byte
    position = 0;
    EXPECT_EQ(DecodeUtf8Character("\x80", position), -128); // a stray continuation byte
}

TEST(Fonts, TheBuiltInFontIsCachedUnderTheEmptyName)
{
    Font* font = FindFont("");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(FindFont(""), font);
    EXPECT_TRUE(font->HasKerning());
}

TEST(Fonts, KerningTightensAV)
{
    Font* font = FindFont("");
    ASSERT_NE(font, nullptr);
    font->SetFontSize(100.0f);
    EXPECT_LT(font->MeasureTextWidth("AV"), font->MeasureTextWidth("A") + font->MeasureTextWidth("V"));
}

TEST(Fonts, BitmapsHavePowerOfTwoSidesAndCoverageInsideTheText)
{
    Font* font = FindFont("");
    ASSERT_NE(font, nullptr);
    font->SetFontSize(30.0f);
    const std::optional<mgImplementation::CoverageBitmap> bitmap = font->RenderTextToBitmap("Quorvane");
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->textWidth, font->MeasureTextWidth("Quorvane"));
    for (const auto& [side, texture] : {std::pair{bitmap->textWidth, bitmap->textureWidth},
                                        std::pair{bitmap->textHeight, bitmap->textureHeight}}) {
        EXPECT_GE(texture, side);
        EXPECT_LT(texture / 2, side);
        EXPECT_EQ(texture & (texture - 1), 0);
    }
    ASSERT_EQ(bitmap->pixels.size(), std::size_t{bitmap->textureWidth} * bitmap->textureHeight);
    int covered = 0;
    for (int y = 0; y < bitmap->textureHeight; ++y) {
        for (int x = 0; x < bitmap->textureWidth; ++x) {
            const unsigned char coverage = bitmap->pixels[std::size_t(y) * bitmap->textureWidth + x];
            covered += coverage == 255 ? 1 : 0;
            if (x >= bitmap->textWidth || y >= bitmap->textHeight) {
                ASSERT_EQ(coverage, 0) << x << ", " << y; // the padding stays empty
            }
        }
    }
    EXPECT_GT(covered, 100);
}

// Typed names arrive as UTF-8 and must be drawn whole: an accented letter takes its own glyph,
// with ink past the letters before it, rather than vanishing.
TEST(Fonts, AccentedLettersFromUtf8TextAreDrawn)
{
    Font* font = FindFont("");
    ASSERT_NE(font, nullptr);
    font->SetFontSize(30.0f);
    const std::string typed = "Zo\u00EB";
    const int before = static_cast<int>(font->MeasureTextWidth("Zo"));
    EXPECT_GT(static_cast<int>(font->MeasureTextWidth(typed)), before + 5);
    const std::optional<mgImplementation::CoverageBitmap> bitmap = font->RenderTextToBitmap(typed);
    ASSERT_TRUE(bitmap);
    int inkAfterZo = 0;
    for (int y = 0; y < bitmap->textHeight; ++y) {
        for (int x = before + 1; x < bitmap->textWidth; ++x) {
            inkAfterZo += bitmap->pixels[std::size_t(y) * bitmap->textureWidth + x] > 128 ? 1 : 0;
        }
    }
    EXPECT_GT(inkAfterZo, 20);
}

TEST(Fonts, TextsBeyondTheLargestTextureAreRefused)
{
    Font* font = FindFont("");
    ASSERT_NE(font, nullptr);
    QuorvaneTest::ErrorCapture errors;
    font->SetFontSize(4000.0f);
    EXPECT_FALSE(font->RenderTextToBitmap("wide wide wide wide wide wide"));
    EXPECT_EQ(errors.Last(), "mgInternalError: Text width is out of range of PixelSpace value, cast below.");
    font->SetFontSize(40000.0f);
    EXPECT_FALSE(font->RenderTextToBitmap(""));
    EXPECT_EQ(errors.Last(), "mgInternalError: Text height is out of range of PixelSpace value, cast below.");
    // Each side fits, but not the area: 16384 x 16384 bytes would be a quarter of a gigabyte.
    font->SetFontSize(10000.0f);
    EXPECT_FALSE(font->RenderTextToBitmap("ab"));
    EXPECT_EQ(errors.Last().rfind("mgError: Text of ", 0), 0u) << errors.Last();
    font->SetFontSize(25.0f);
}

TEST(Fonts, DamagedFontDataIsRefusedWithoutReadingOutOfBounds)
{
    const std::vector<unsigned char> original = BuiltInFontBytes();
    ASSERT_GT(original.size(), 100000u);
    for (std::size_t length :
         {std::size_t{0}, std::size_t{11}, std::size_t{12}, std::size_t{300}, original.size() / 2}) {
        EXPECT_EQ(Font::Create(std::vector<unsigned char>(original.begin(), original.begin() + length)),
                  nullptr)
            << length;
    }
    // Corrupted bytes: the font is either refused or still draws; either way nothing crashes.
    std::mt19937 random(20261208u);
    std::uniform_int_distribution<std::size_t> anyByte(0, original.size() - 1);
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<unsigned char> damaged = original;
        // Most trials hit the table directory and headers, where a wrong offset does most harm.
        for (int flip = 0; flip < 4; ++flip) {
            const std::size_t at = trial % 2 == 0 ? anyByte(random) % 1024 : anyByte(random);
            damaged[at] = static_cast<unsigned char>(random());
        }
        if (std::unique_ptr<Font> font = Font::Create(std::move(damaged))) {
            font->SetFontSize(20.0f);
            (void)font->RenderTextToBitmap("AVWa\xC3\xA9\xE2\x82\xAC gj");
        }
    }
}

int ColumnInk(const mgImplementation::CoverageBitmap& bitmap, int column)
{
    int ink = 0;
    for (int row = 0; row < bitmap.textHeight; ++row) {
        ink += bitmap.pixels[std::size_t(row) * bitmap.textureWidth + column];
    }
    return ink;
}

int TotalInk(const mgImplementation::CoverageBitmap& bitmap)
{
    int ink = 0;
    for (int column = 0; column < bitmap.textWidth; ++column) {
        ink += ColumnInk(bitmap, column);
    }
    return ink;
}

int RightmostInkedColumn(const mgImplementation::CoverageBitmap& bitmap)
{
    int column = bitmap.textWidth - 1;
    while (column >= 0 && ColumnInk(bitmap, column) == 0) {
        --column;
    }
    return column;
}

// Kerning moves the second glyph of a pair before it is drawn: drawn after, every glyph behind
// a kerned pair lands one kerning amount right of where the measured width expects it, and the
// last one is cut at the edge of the texture.
TEST(Fonts, KernedTextsLoseNoInkAtTheirRightEdge)
{
    Font* font = FindFont("");
    ASSERT_NE(font, nullptr);
    font->SetFontSize(25.0f);
    for (const std::string text : {"AV", "To", "Wa", "LT", "Score: 45", "Score: 67"}) {
        SCOPED_TRACE(text);
        // A trailing space widens the texture without moving or adding any ink, so a text that
        // fits its measured width has exactly the same ink with and without it.
        const auto bare = font->RenderTextToBitmap(text);
        const auto spaced = font->RenderTextToBitmap(text + " ");
        ASSERT_TRUE(bare && spaced);
        EXPECT_EQ(TotalInk(*bare), TotalInk(*spaced));
    }
}

TEST(Fonts, TheGlyphAfterAKernedPairStartsWhereTheMeasuredAdvanceSays)
{
    Font* font = FindFont("");
    ASSERT_NE(font, nullptr);
    // Large enough that every pair's kerning is several pixels, well beyond the rounding.
    font->SetFontSize(100.0f);
    for (const std::string text : {"AV", "To", "Wa", "LT"}) {
        SCOPED_TRACE(text);
        const std::string last = text.substr(1);
        const auto spaced = font->RenderTextToBitmap(text + " ");
        const auto alone = font->RenderTextToBitmap(last);
        ASSERT_TRUE(spaced && alone);
        const int penBeforeLast =
            static_cast<int>(font->MeasureTextWidth(text)) - static_cast<int>(font->MeasureTextWidth(last));
        EXPECT_NEAR(RightmostInkedColumn(*spaced), RightmostInkedColumn(*alone) + penBeforeLast, 1);
    }
    font->SetFontSize(25.0f);
}

class TextWithoutContext : public testing::Test
{
protected:
    QuorvaneTest::ErrorCapture errors;
};

TEST_F(TextWithoutContext, MeasuresAndKeepsSizeAndFontWhenLeftOut)
{
    Text text("Score", 20.0f);
    const auto width = text.GetPixelWidth();
    EXPECT_GT(width, 0);
    EXPECT_GT(text.GetPixelHeight(), 0);
    text.SetText("Score!");
    EXPECT_EQ(text.GetFontSize(), 20.0f);
    EXPECT_GT(text.GetPixelWidth(), width);
    text.SetText("");
    EXPECT_EQ(text.GetPixelWidth(), 0);
    EXPECT_EQ(text.GetTextureWidth(), 0);
    EXPECT_FALSE(errors.Fired());
}

TEST_F(TextWithoutContext, TextsSharingAFontKeepTheirOwnSizes)
{
    Text small("same", 10.0f);
    Text large("same", 40.0f);
    small.SetText("same");
    EXPECT_LT(small.GetPixelWidth() * 3, large.GetPixelWidth());
    large.SetText("same");
    EXPECT_NEAR(large.GetPixelWidth(), small.GetPixelWidth() * 4, 4);
}

TEST_F(TextWithoutContext, AFontFileLoadsByNameAndAMissingOneIsReported)
{
    const std::string path =
        (std::filesystem::temp_directory_path() / "quorvane_text_test_font.ttf").string();
    {
        const std::vector<unsigned char> bytes = BuiltInFontBytes();
        std::ofstream file(path, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    Text fromFile("Quorvane", 25.0f, path);
    Text builtIn("Quorvane", 25.0f);
    EXPECT_EQ(fromFile.GetPixelWidth(), builtIn.GetPixelWidth());
    std::filesystem::remove(path);
    EXPECT_FALSE(errors.Fired());

    Text missing("Quorvane", 25.0f, "no/such/font.ttf");
    EXPECT_EQ(errors.Last(), "mgExternalError: Was unable to load font from file: \"no/such/font.ttf\"");
    EXPECT_EQ(missing.GetPixelWidth(), 0);
}

TEST_F(TextWithoutContext, SettingTheSameTextAgainDoesNotRasteriseAgain)
{
    // A missing font is looked up, and reported, on every rasterisation: the reports count them.
    Text text("Score: 1", 25.0f, "no/such/font.ttf");
    const std::size_t reportsPerRasterisation = errors.messages.size();
    ASSERT_GT(reportsPerRasterisation, 0u);
    text.SetText("Score: 1");
    text.SetText("Score: 1", 25.0f, "no/such/font.ttf");
    EXPECT_EQ(errors.messages.size(), reportsPerRasterisation);
    text.SetText("Score: 2");
    EXPECT_EQ(errors.messages.size(), 2 * reportsPerRasterisation);
    text.SetText("Score: 2", 30.0f);
    EXPECT_EQ(errors.messages.size(), 3 * reportsPerRasterisation);
    text.SetText("Score: 2", 30.0f, "no/other/font.ttf");
    EXPECT_EQ(errors.messages.size(), 4 * reportsPerRasterisation);
}

TEST_F(TextWithoutContext, AFileThatIsNotAFontIsReported)
{
    Text notAFont("x", 25.0f, QUORVANE_SOURCE_DIR "/CMakeLists.txt");
    EXPECT_EQ(errors.Last(), "mgExternalError: Was unable to load font from file: \"" QUORVANE_SOURCE_DIR
                             "/CMakeLists.txt\"");
    EXPECT_EQ(notAFont.GetPixelWidth(), 0);
}

TEST_F(TextWithoutContext, NoTextureMemoryIsCountedWithoutAContext)
{
    const std::uint64_t before = Marrowgate::Graphics::GetTextureMemory();
    {
        Text text("memory", 30.0f);
        EXPECT_EQ(Marrowgate::Graphics::GetTextureMemory(), before);
    }
    EXPECT_EQ(Marrowgate::Graphics::GetTextureMemory(), before);
}

} // namespace
