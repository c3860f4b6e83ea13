#include "marrowgate/graphics/fonts/mg_font.h"

#include "embedded/marrowgate_builtin_font.h"
#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/fonts/mg_font_check.h"

#include <stb/stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <new>

namespace {
constexpr char kUnitName[] = "mg_text";
constexpr float kInitialFontSize = 25.0f;
// Smallest power of two, up to 2^15, that holds value (value is at most 32768 here).
std::uint16_t PowerOfTwoAtLeast(std::uint32_t value)
{
    std::uint32_t side = 1;
    while (side < value && side < mgImplementation::Font::kMaximumTextSide) {
        side <<= 1u;
    }
    return static_cast<std::uint16_t>(side);
}
} // namespace

namespace mgImplementation {

std::int32_t DecodeUtf8Character(std::string_view text, std::size_t& position)
{
    if (position >= text.size()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(text[position++]);
    if (lead < 0xC0) {
        return static_cast<std::int32_t>(static_cast<signed char>(lead));
    }
    int continuationCount = 1;
    std::int32_t character = lead & 0x1F;
    if (lead >= 0xF0) {
        continuationCount = 3;
        character = lead & 0x07;
    } else if (lead >= 0xE0) {
        continuationCount = 2;
        character = lead & 0x0F;
    }
    for (int index = 0; index < continuationCount && position < text.size() && text[position] != '\0';
         ++index) {
        character = (character << 6) | (static_cast<unsigned char>(text[position++]) & 0x3F);
    }
    return character;
}

Font::Font(std::vector<unsigned char> bytes, std::unique_ptr<stbtt_fontinfo> info)
    : mBytes(std::move(bytes)), mInfo(std::move(info)), mGlyphCount(mInfo->numGlyphs)
{
    SetFontSize(kInitialFontSize);
}

Font::~Font() = default;

std::unique_ptr<Font> Font::Create(std::vector<unsigned char> bytes)
{
    if (!IsFontDataUsable(bytes)) {
        return nullptr;
    }
    auto info = std::make_unique<stbtt_fontinfo>();
    if (stbtt_InitFont(info.get(), bytes.data(), 0) == 0) {
        return nullptr;
    }
    // The info points into the byte array, whose heap block the move below keeps in place.
    return std::unique_ptr<Font>(new Font(std::move(bytes), std::move(info)));
}

void Font::SetFontSize(float size)
{
    const int unitsPerEm = mBytes[mInfo->head + 18] << 8 | mBytes[mInfo->head + 19];
    int ascent = 0;
    int descent = 0;
    int lineGap = 0;
    stbtt_GetFontVMetrics(mInfo.get(), &ascent, &descent, &lineGap);
    mSize = size;
    mScale = size / static_cast<float>(unitsPerEm);
    const float baseline = static_cast<float>(ascent) * mScale + 1.0f;
    mBaseline = std::isfinite(baseline) && std::fabs(baseline) < 1e9f ? static_cast<int>(baseline) : 0;
}

bool Font::HasKerning() const
{
    return mInfo->kern != 0 || mInfo->gpos != 0;
}

int Font::GlyphFor(std::int32_t codepoint) const
{
    // The character map may name glyphs the font does not have; they become the missing glyph.
    const int glyph = stbtt_FindGlyphIndex(mInfo.get(), codepoint);
    return glyph >= 0 && glyph < mGlyphCount ? glyph : 0;
}

int Font::Advance(int glyph) const
{
    int advance = 0;
    int leftSideBearing = 0;
    stbtt_GetGlyphHMetrics(mInfo.get(), glyph, &advance, &leftSideBearing);
    return advance;
}

int Font::Kerning(int previousGlyph, int glyph) const
{
    return previousGlyph >= 0 && HasKerning() ? stbtt_GetGlyphKernAdvance(mInfo.get(), previousGlyph, glyph)
                                              : 0;
}

double Font::MeasurePen(std::string_view text) const
{
    float pen = 0.0f;
    int previousGlyph = -1;
    std::size_t position = 0;
    while (position < text.size() && text[position] != '\0') {
        const int glyph = GlyphFor(DecodeUtf8Character(text, position));
        pen += static_cast<float>(Kerning(previousGlyph, glyph) + Advance(glyph)) * mScale;
        previousGlyph = glyph;
    }
    return pen;
}

std::uint32_t Font::MeasureTextWidth(std::string_view text) const
{
    const double pen = std::ceil(MeasurePen(text));
    if (!(pen > 0.0)) {
        return 0;
    }
    return pen >= 4294967295.0 ? 4294967295u : static_cast<std::uint32_t>(pen);
}

double Font::MeasureLineHeight() const
{
    int ascent = 0;
    int descent = 0;
    int lineGap = 0;
    stbtt_GetFontVMetrics(mInfo.get(), &ascent, &descent, &lineGap);
    return std::ceil(static_cast<float>(ascent - descent + lineGap) * mScale) + 1.0;
}

std::optional<CoverageBitmap> Font::RenderTextToBitmap(std::string_view text) const
{
    const double width = std::max(0.0, std::ceil(MeasurePen(text)));
    // Written so that a non-finite size (NaN) is refused as well.
    if (!(width <= kMaximumTextSide)) {
        MG_ERROR("mgInternalError: Text width is out of range of PixelSpace value, cast below.");
        return std::nullopt;
    }
    const double height = MeasureLineHeight();
    if (!(height <= kMaximumTextSide)) {
        MG_ERROR("mgInternalError: Text height is out of range of PixelSpace value, cast below.");
        return std::nullopt;
    }
    // A font's own metrics can make a short text enormous; a texture of this many bytes is
    // refused rather than allocated.
    const double textureBytes = static_cast<double>(PowerOfTwoAtLeast(static_cast<std::uint32_t>(width))) *
                                PowerOfTwoAtLeast(static_cast<std::uint32_t>(std::max(0.0, height)));
    if (textureBytes > kMaximumTextureBytes) {
        MG_ERROR("mgError: Text of %.0f x %.0f pixels is too large for a texture.", width, height);
        return std::nullopt;
    }
    CoverageBitmap bitmap;
    bitmap.textWidth = static_cast<std::uint16_t>(width);
    bitmap.textHeight = static_cast<std::uint16_t>(std::max(0.0, height));
    bitmap.textureWidth = PowerOfTwoAtLeast(bitmap.textWidth);
    bitmap.textureHeight = PowerOfTwoAtLeast(bitmap.textHeight);
    try {
        bitmap.pixels.assign(std::size_t{bitmap.textureWidth} * bitmap.textureHeight, 0);
    } catch (const std::bad_alloc&) {
        MG_ERROR("mgError: Failed to create image for TextObject.");
        return std::nullopt;
    }
    // The pen moves exactly as in MeasurePen, and the kerning between a pair moves it before
    // the second glyph is drawn, so the last glyph ends where the measured width does.
    float pen = 0.0f;
    int previousGlyph = -1;
    std::size_t position = 0;
    while (position < text.size() && text[position] != '\0') {
        const int glyph = GlyphFor(DecodeUtf8Character(text, position));
        pen += static_cast<float>(Kerning(previousGlyph, glyph)) * mScale;
        // Clamped so that a font with absurd negative advances cannot overflow the cast; a
        // glyph that far outside is clipped away either way.
        const int penX = static_cast<int>(std::clamp(std::floor(pen), -65536.0f, 65536.0f));
        DrawGlyph(bitmap, glyph, penX, pen - static_cast<float>(penX));
        pen += static_cast<float>(Advance(glyph)) * mScale;
        previousGlyph = glyph;
    }
    return bitmap;
}

// The glyph is rasterised into a scratch image of only the part that lies inside the text and
// merged by taking the larger coverage, so kerned neighbours that overlap keep both outlines
// and a glyph that reaches left of the first pixel is clipped rather than shifted.
void Font::DrawGlyph(CoverageBitmap& bitmap, int glyph, int penX, float fraction) const
{
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    stbtt_GetGlyphBitmapBoxSubpixel(mInfo.get(), glyph, mScale, mScale, fraction, 0.0f, &x0, &y0, &x1, &y1);
    const long long left = std::max(0LL, static_cast<long long>(penX) + x0);
    const long long top = std::max(0LL, static_cast<long long>(mBaseline) + y0);
    const long long right = std::min<long long>(bitmap.textWidth, static_cast<long long>(penX) + x1);
    const long long bottom = std::min<long long>(bitmap.textHeight, static_cast<long long>(mBaseline) + y1);
    if (left >= right || top >= bottom) {
        return;
    }
    stbtt_vertex* vertices = nullptr;
    const int vertexCount = stbtt_GetGlyphShape(mInfo.get(), glyph, &vertices);
    if (vertexCount <= 0) {
        stbtt_FreeShape(mInfo.get(), vertices);
        return;
    }
    const int columns = static_cast<int>(right - left);
    const int rows = static_cast<int>(bottom - top);
    std::vector<unsigned char> scratch(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0);
    stbtt__bitmap target{columns, rows, columns, scratch.data()};
    stbtt_Rasterize(&target, 0.35f, vertices, vertexCount, mScale, mScale, fraction, 0.0f,
                    static_cast<int>(left - penX), static_cast<int>(top - mBaseline), 1, nullptr);
    stbtt_FreeShape(mInfo.get(), vertices);
    for (int row = 0; row < rows; ++row) {
        unsigned char* destination =
            &bitmap.pixels[static_cast<std::size_t>(top + row) * bitmap.textureWidth + left];
        const unsigned char* source = &scratch[static_cast<std::size_t>(row) * columns];
        for (int column = 0; column < columns; ++column) {
            destination[column] = std::max(destination[column], source[column]);
        }
    }
}

namespace {

std::unique_ptr<Font> LoadFont(const std::string& fileName)
{
    // The built-in font has the empty name, which no report gets.
    const Marrowgate::Core::Error::ReportSubject subject(fileName);
    try {
        std::optional<std::vector<unsigned char>> bytes;
        if (fileName.empty()) {
            const std::span<const unsigned char> builtIn = marrowgate_builtin_font();
            bytes.emplace(builtIn.begin(), builtIn.end());
        } else {
            bytes = Marrowgate::Core::ReadDataFile<std::vector<unsigned char>>(
                fileName, Marrowgate::Core::kMaximumFontFileBytes);
        }
        return bytes ? Font::Create(std::move(*bytes)) : nullptr;
    } catch (const std::bad_alloc&) {
        MG_ERROR("mgError: Could not allocate resource for the new font.");
        return nullptr;
    }
}

} // namespace

Font* FindFont(const std::string& fileName)
{
    static std::map<std::string, std::unique_ptr<Font>> fontCache;
    const auto cached = fontCache.find(fileName);
    if (cached != fontCache.end()) {
        return cached->second.get();
    }
    std::unique_ptr<Font> font = LoadFont(fileName);
    if (!font) {
        MG_ERROR("mgExternalError: Was unable to load font from file: \"%s\"", fileName.c_str());
        return nullptr;
    }
    return fontCache.emplace(fileName, std::move(font)).first->second.get();
}

} // namespace mgImplementation
