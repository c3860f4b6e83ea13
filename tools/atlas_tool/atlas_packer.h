#pragma once
// Packing many small RGBA images into one atlas image, and describing where each landed in the
// sprite sheet JSON that SpriteSheet::LoadFromFile reads.
//
// Each image is trimmed of its fully transparent border (recorded as "trim", so animations keep
// their place), placed with a gap around it, and its edge pixels are copied one pixel outwards
// into the gap, so that linear filtering at a frame's edge never picks up a neighbour. The atlas
// is the smallest power-of-two rectangle (width first) up to the maximum side that holds them all.
// The result depends only on the images and their names. Depends on: stb_rect_pack.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace AtlasTool {

struct Image
{
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba; // straight alpha, rows from the top
};

struct PlacedImage
{
    std::string name;
    int x = 0; // of the trimmed pixels on the atlas
    int y = 0;
    int width = 0;
    int height = 0;
    int trimX = 0; // where the trimmed pixels sat in the original image
    int trimY = 0;
    int originalWidth = 0;
    int originalHeight = 0;
};

struct Atlas
{
    Image image;
    std::vector<PlacedImage> placed; // in name order
};

inline constexpr int kGap = 2;

// Nothing when the images do not fit a square of `maximumSide` pixels; names must be unique.
std::optional<Atlas> PackAtlas(std::vector<Image> images, int maximumSide);
// The sheet JSON for the atlas saved as `imageFileName` beside it.
std::string DescribeAtlas(const Atlas& atlas, const std::string& imageFileName);

} // namespace AtlasTool
