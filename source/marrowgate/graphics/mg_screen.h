#pragma once
/// Screen metrics: the size in pixels of the area 2D code draws on. The window layer owns the
/// window's drawable size and reports it here whenever it changes; 2D code reads the screen size
/// to place things. The screen is the window itself unless a logical view is set (mg_view.h):
/// then it is the view's logical resolution, and WindowWidth and WindowHeight still give the
/// window's own pixels. @file

#include "marrowgate/math/mg_vector.h"

#include <cstdint>

namespace Marrowgate::Graphics {

// The window's drawable size.
void SetScreenSize(std::uint16_t width, std::uint16_t height);
std::uint16_t WindowWidth();
std::uint16_t WindowHeight();

std::uint16_t ScreenWidth();
std::uint16_t ScreenHeight();
// (width / 2, height / 2)
Core::Vector2 ScreenCenter();
// width / height; 0 while the height is 0.
float ScreenAspectRatio();

} // namespace Marrowgate::Graphics
