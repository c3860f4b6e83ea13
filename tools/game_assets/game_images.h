#pragma once
// The game's pictures, drawn as flat vector art: the studio's splash logo (512 x 512, shown
// at half size on a black screen, so it is light on a transparent ground) and the desktop
// icon at any square size.

#include "canvas.h"

#include <vector>

namespace GameAssets {

// `font` holds the bytes of a TrueType font for the studio's name.
Canvas DrawStudioLogo(const std::vector<unsigned char>& font);
Canvas DrawGameIcon(int size);

} // namespace GameAssets
