#include "marrowgate/graphics/mg_color.h"

#include <array>

namespace Marrowgate::Graphics {

namespace {

constexpr std::array<std::uint32_t, 17> kPalette = {
    0xFFFFFFFFu, 0x00FFFFFFu, 0xFFFFFFFFu, 0xFF000000u, 0xFFFF0000u, 0xFFFFFF00u,
    0xFF00FF00u, 0xFF00FFFFu, 0xFF0000FFu, 0xFFFF00FFu, 0xFFC0C0C0u, 0xFF808080u,
    0xFF404040u, 0xFF996633u, 0xFFBB00FFu, 0xFF2E9FFFu, 0xFFFF9F2Eu,
};

float ChannelFromByte(std::uint32_t packed, int shift)
{
    return static_cast<float>((packed >> shift) & 0xFFu) / 255.0f;
}

// NaN becomes 0, so no channel ever leaves [0, 1].
float ClampChannel(float channel)
{
    if (channel >= 0.0f) {
        return channel <= 1.0f ? channel : 1.0f;
    }
    return 0.0f;
}

// Channels are clamped on entry, so the product stays within 0..255.
std::uint32_t ByteFromChannel(float channel)
{
    return static_cast<std::uint32_t>(channel * 255.0f);
}

} // namespace

Color::Color(std::uint32_t packedARGB)
    : mAlpha(ChannelFromByte(packedARGB, 24)), mRed(ChannelFromByte(packedARGB, 16)),
      mGreen(ChannelFromByte(packedARGB, 8)), mBlue(ChannelFromByte(packedARGB, 0)), mPacked(packedARGB)
{}

Color::Color(float alpha, float red, float green, float blue)
    : mAlpha(ClampChannel(alpha)), mRed(ClampChannel(red)), mGreen(ClampChannel(green)),
      mBlue(ClampChannel(blue))
{
    mPacked = ByteFromChannel(mAlpha) << 24 | ByteFromChannel(mRed) << 16 | ByteFromChannel(mGreen) << 8 |
              ByteFromChannel(mBlue);
}

Color::Color(ColorPalette paletteColor)
{
    const auto index = static_cast<int>(paletteColor);
    if (index >= 0 && index < static_cast<int>(kPalette.size())) {
        *this = Color(kPalette[static_cast<std::size_t>(index)]);
    }
}

std::uint32_t Color::GetColorABGR() const
{
    return ByteFromChannel(mAlpha) << 24 | ByteFromChannel(mBlue) << 16 | ByteFromChannel(mGreen) << 8 |
           ByteFromChannel(mRed);
}

Color Interpolate(float t, const Color& from, const Color& to)
{
    const float clamped = ClampChannel(t);
    const auto mix = [clamped](float start, float end) { return start + (end - start) * clamped; };
    return Color(mix(from.GetAlpha(), to.GetAlpha()), mix(from.GetRed(), to.GetRed()),
                 mix(from.GetGreen(), to.GetGreen()), mix(from.GetBlue(), to.GetBlue()));
}

} // namespace Marrowgate::Graphics
