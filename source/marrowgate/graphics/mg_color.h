#pragma once
/// Color: four channels in [0, 1] in the order alpha, red, green, blue, kept together with the
/// same colour packed as 0xAARRGGBB; the 17-entry palette; interpolation between two colours.
/// Vertices want a different packing (red in the lowest byte), which GetColorABGR gives.
/// @file
/// Depends on nothing but the standard library.

#include <cstdint>

namespace Marrowgate::Graphics {

enum class ColorPalette : int
{
    Default = 0,
    Transparent = 1,
    White = 2,
    Black = 3,
    Red = 4,
    Yellow = 5,
    Green = 6,
    Cyan = 7,
    Blue = 8,
    Magenta = 9,
    LightGrey = 10,
    Grey = 11,
    DarkGrey = 12,
    Brown = 13,
    Violet = 14,
    SkyBlue = 15,
    Orange = 16,
};

class Color
{
public:
    // Opaque white.
    Color() = default;
    // From 0xAARRGGBB; the word is kept exactly.
    explicit Color(std::uint32_t packedARGB);
    // Each channel is clamped to [0, 1]; the packed word follows the clamped channels.
    Color(float alpha, float red, float green, float blue);
    // A value outside the palette gives opaque white.
    explicit Color(ColorPalette paletteColor);

    float GetAlpha() const { return mAlpha; }
    float GetRed() const { return mRed; }
    float GetGreen() const { return mGreen; }
    float GetBlue() const { return mBlue; }
    // 0xAARRGGBB
    std::uint32_t GetColorARGB() const { return mPacked; }
    // The vertex word: alpha in the highest byte, then blue, green, and red in the lowest, so
    // that its bytes in memory read R, G, B, A.
    std::uint32_t GetColorABGR() const;

    friend bool operator==(const Color& left, const Color& right) = default;

private:
    float mAlpha = 1.0f;
    float mRed = 1.0f;
    float mGreen = 1.0f;
    float mBlue = 1.0f;
    std::uint32_t mPacked = 0xFFFFFFFFu;
};

// t is clamped to [0, 1]: 0 gives `from`, 1 gives `to`.
Color Interpolate(float t, const Color& from, const Color& to);

} // namespace Marrowgate::Graphics
