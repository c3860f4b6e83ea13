#pragma once
/// Fonts for text: TrueType data read with stb_truetype, a cache of loaded fonts by file name
/// (the empty name is the built-in font, Comfortaa Bold, compiled into the program), UTF-8
/// decoding, measuring with kerning and rasterising one line into a single-channel coverage
/// bitmap whose sides are powers of two.
/// @file
/// Internal to the graphics layer; Text is its user. Depends on core (errors) and stb_truetype.
/// Font data is checked before stb_truetype sees it (mg_font_check.h), so a damaged file is
/// refused with a report instead of being read out of bounds. Main thread only.
///
/// Limits: one line, no shaping; kerning comes from the 'kern' table or GPOS pair adjustments.
/// A cached font is shared, so its size is whatever the last caller set.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct stbtt_fontinfo;

namespace mgImplementation {

// Decodes the character that starts at position and moves position past it. A lead byte
// announces the sequence length; continuation bytes are not validated, a zero byte or the end
// of the text ends a sequence early, and nothing past the end is read. A stray continuation
// byte (0x80 to 0xBF) yields its value as a signed byte.
std::int32_t DecodeUtf8Character(std::string_view text, std::size_t& position);

// A single-channel coverage image of one line of text, rows top to bottom.
struct CoverageBitmap
{
    std::vector<unsigned char> pixels; // textureWidth * textureHeight bytes
    std::uint16_t textWidth = 0;
    std::uint16_t textHeight = 0;
    std::uint16_t textureWidth = 0;
    std::uint16_t textureHeight = 0;
};

class Font
{
public:
    // Texts are refused beyond this many pixels in either direction: no texture side fits.
    static constexpr std::uint32_t kMaximumTextSide = 32768;
    // ... and beyond this many texture bytes (64 MiB, an 8192 x 8192 texture).
    static constexpr double kMaximumTextureBytes = 64.0 * 1024.0 * 1024.0;

    // Null when the bytes are not a usable TrueType font. The size starts at 25 pixels.
    static std::unique_ptr<Font> Create(std::vector<unsigned char> bytes);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The em size in pixels; scale and baseline follow it.
    void SetFontSize(float size);
    float GetSize() const { return mSize; }
    float GetScale() const { return mScale; }
    int GetBaseline() const { return mBaseline; }
    bool HasKerning() const;

    // The pen advance of the text rounded up to whole pixels (saturating).
    std::uint32_t MeasureTextWidth(std::string_view text) const;
    // The height of a line's bitmap: ascent, descent and line gap at this size, in whole pixels.
    double MeasureLineHeight() const;
    // Reports and returns nothing when the text is too wide or too tall for a texture.
    std::optional<CoverageBitmap> RenderTextToBitmap(std::string_view text) const;

private:
    Font(std::vector<unsigned char> bytes, std::unique_ptr<stbtt_fontinfo> info);
    double MeasurePen(std::string_view text) const;
    int GlyphFor(std::int32_t codepoint) const;
    // In font units: the glyph's own advance, and the adjustment between a pair.
    int Advance(int glyph) const;
    int Kerning(int previousGlyph, int glyph) const;
    void DrawGlyph(CoverageBitmap& bitmap, int glyph, int penX, float fraction) const;

    std::vector<unsigned char> mBytes;
    std::unique_ptr<stbtt_fontinfo> mInfo;
    float mSize = 0.0f;
    float mScale = 0.0f;
    int mBaseline = 0;
    int mGlyphCount = 0;
};

// The cached font for the file name, loaded on a miss; the empty name is the built-in font.
// Reports and returns null when the file cannot be read or is not a usable font.
Font* FindFont(const std::string& fileName);

} // namespace mgImplementation
