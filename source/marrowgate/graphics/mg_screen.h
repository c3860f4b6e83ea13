#pragma once
/// Screen metrics: the size in pixels of the window's drawable area. The window layer owns the
/// size and reports it here whenever it changes; 2D code reads it to place things on screen. @file

#include "marrowgate/math/mg_vector.h"

#include <cstdint>

namespace Marrowgate::Graphics {

void SetScreenSize(std::uint16_t width, std::uint16_t height);

std::uint16_t ScreenWidth();
std::uint16_t ScreenHeight();
// (width / 2, height / 2)
Core::Vector2 ScreenCenter();
// width / height; 0 while the height is 0.
float ScreenAspectRatio();

} // namespace Marrowgate::Graphics
