#include "marrowgate/graphics/mg_screen.h"

#include "marrowgate/graphics/mg_view.h"

namespace Marrowgate::Graphics {

namespace {
std::uint16_t sScreenWidth = 0;
std::uint16_t sScreenHeight = 0;
} // namespace

void SetScreenSize(std::uint16_t width, std::uint16_t height)
{
    sScreenWidth = width;
    sScreenHeight = height;
}

std::uint16_t WindowWidth()
{
    return sScreenWidth;
}
std::uint16_t WindowHeight()
{
    return sScreenHeight;
}

std::uint16_t ScreenWidth()
{
    return HasLogicalView() ? GetLogicalWidth() : sScreenWidth;
}
std::uint16_t ScreenHeight()
{
    return HasLogicalView() ? GetLogicalHeight() : sScreenHeight;
}

Core::Vector2 ScreenCenter()
{
    return Core::Vector2(static_cast<float>(ScreenWidth()) * 0.5f, static_cast<float>(ScreenHeight()) * 0.5f);
}

float ScreenAspectRatio()
{
    // A window minimised to zero height must not turn every projection into NaN.
    if (ScreenHeight() == 0) {
        return 0.0f;
    }
    return static_cast<float>(ScreenWidth()) / static_cast<float>(ScreenHeight());
}

} // namespace Marrowgate::Graphics
