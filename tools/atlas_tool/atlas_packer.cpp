#include "atlas_packer.h"

#include <stb/stb_rect_pack.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace AtlasTool {

namespace {

struct Trim
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

unsigned char AlphaAt(const Image& image, int x, int y)
{
    return image.rgba[(static_cast<std::size_t>(y) * image.width + x) * 4u + 3u];
}

// The smallest rectangle holding every pixel that is not fully transparent; a wholly
// transparent image keeps one pixel, so it still has a frame.
Trim FindTrim(const Image& image)
{
    int left = image.width;
    int top = image.height;
    int right = -1;
    int bottom = -1;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (AlphaAt(image, x, y) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return {0, 0, 1, 1};
    }
    return {left, top, right - left + 1, bottom - top + 1};
}

int NextPowerOfTwo(int value)
{
    int power = 1;
    while (power < value) {
        power *= 2;
    }
    return power;
}

bool TryPack(std::vector<stbrp_rect>& rects, int width, int height)
{
    std::vector<stbrp_node> nodes(static_cast<std::size_t>(width));
    stbrp_context context;
    stbrp_init_target(&context, width, height, nodes.data(), static_cast<int>(nodes.size()));
    return stbrp_pack_rects(&context, rects.data(), static_cast<int>(rects.size())) == 1;
}

// Copies the trimmed pixels to (atlasX, atlasY) and repeats their edge one pixel outwards.
void CopyExtruded(const Image& source, const Trim& trim, Image& atlas, int atlasX, int atlasY)
{
    for (int y = -1; y <= trim.height; ++y) {
        const int sourceY = trim.y + std::clamp(y, 0, trim.height - 1);
        for (int x = -1; x <= trim.width; ++x) {
            const int sourceX = trim.x + std::clamp(x, 0, trim.width - 1);
            const std::size_t from = (static_cast<std::size_t>(sourceY) * source.width + sourceX) * 4u;
            const std::size_t to = (static_cast<std::size_t>(atlasY + y) * atlas.width + atlasX + x) * 4u;
            std::memcpy(&atlas.rgba[to], &source.rgba[from], 4u);
        }
    }
}

} // namespace

std::optional<Atlas> PackAtlas(std::vector<Image> images, int maximumSide)
{
    std::sort(images.begin(), images.end(), [](const Image& a, const Image& b) { return a.name < b.name; });
    std::vector<Trim> trims;
    std::vector<stbrp_rect> rects;
    long long area = 0;
    for (std::size_t index = 0; index < images.size(); ++index) {
        trims.push_back(FindTrim(images[index]));
        stbrp_rect rect{};
        rect.id = static_cast<int>(index);
        rect.w = trims.back().width + 2 * kGap;
        rect.h = trims.back().height + 2 * kGap;
        area += static_cast<long long>(rect.w) * rect.h;
        rects.push_back(rect);
    }
    // Sizes from the least that could hold the area, growing the width first.
    int width = 1;
    int height = 1;
    while (static_cast<long long>(width) * height < area) {
        (width <= height ? width : height) *= 2;
    }
    for (const stbrp_rect& rect : rects) {
        width = std::max(width, NextPowerOfTwo(rect.w));
        height = std::max(height, NextPowerOfTwo(rect.h));
    }
    while (!TryPack(rects, width, height)) {
        (width <= height ? width : height) *= 2;
        if (width > maximumSide || height > maximumSide) {
            return std::nullopt;
        }
    }
    if (width > maximumSide || height > maximumSide) {
        return std::nullopt;
    }
    Atlas atlas;
    atlas.image.width = width;
    atlas.image.height = height;
    atlas.image.rgba.assign(static_cast<std::size_t>(width) * height * 4u, 0u);
    for (const stbrp_rect& rect : rects) {
        const Image& source = images[static_cast<std::size_t>(rect.id)];
        const Trim& trim = trims[static_cast<std::size_t>(rect.id)];
        CopyExtruded(source, trim, atlas.image, rect.x + kGap, rect.y + kGap);
        atlas.placed.push_back({source.name, rect.x + kGap, rect.y + kGap, trim.width, trim.height, trim.x,
                                trim.y, source.width, source.height});
    }
    std::sort(atlas.placed.begin(), atlas.placed.end(),
              [](const PlacedImage& a, const PlacedImage& b) { return a.name < b.name; });
    return atlas;
}

std::string DescribeAtlas(const Atlas& atlas, const std::string& imageFileName)
{
    const auto quoted = [](const std::string& text) {
        std::string result = "\"";
        for (const char character : text) {
            const auto byte = static_cast<unsigned char>(character);
            if (byte < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(byte));
                result += escaped;
                continue;
            }
            if (character == '"' || character == '\\') {
                result += '\\';
            }
            result += character;
        }
        return result + "\"";
    };
    std::ostringstream json;
    json << "{\n  \"image\": " << quoted(imageFileName) << ",\n  \"frames\": {";
    for (std::size_t index = 0; index < atlas.placed.size(); ++index) {
        const PlacedImage& placed = atlas.placed[index];
        json << (index == 0 ? "\n" : ",\n") << "    " << quoted(placed.name) << ": {\"x\": " << placed.x
             << ", \"y\": " << placed.y << ", \"w\": " << placed.width << ", \"h\": " << placed.height;
        if (placed.width != placed.originalWidth || placed.height != placed.originalHeight) {
            json << ", \"trim\": {\"x\": " << placed.trimX << ", \"y\": " << placed.trimY
                 << ", \"w\": " << placed.originalWidth << ", \"h\": " << placed.originalHeight << "}";
        }
        json << "}";
    }
    json << "\n  }\n}\n";
    return json.str();
}

} // namespace AtlasTool
