#include "marrowgate/graphics/mg_nine_slice.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <algorithm>
#include <array>

namespace {
constexpr char kUnitName[] = "mg_nine_slice";
} // namespace

namespace Marrowgate::Graphics {

namespace {

// Three spans along one axis: where the cuts fall on screen and on the texture.
struct Cuts
{
    std::array<float, 4> screen;
    std::array<float, 4> texture;
};

Cuts CutAxis(float size, float first, float last, float regionSize, float textureStart, float textureSize)
{
    // A panel narrower than its borders shrinks them alike, so the corners meet but never cross.
    const float shrink = first + last > size && first + last > 0.0f ? size / (first + last) : 1.0f;
    const float perPixel = textureSize / regionSize;
    return {{0.0f, first * shrink, size - last * shrink, size},
            {textureStart, textureStart + first * perPixel, textureStart + (regionSize - last) * perPixel,
             textureStart + textureSize}};
}

} // namespace

NineSlicePanel::NineSlicePanel(const SpriteFrame& region, const NineSliceBorders& borders, float width,
                               float height)
    : mRegion(region), mBorders(borders), mWidth(std::max(0.0f, width)), mHeight(std::max(0.0f, height))
{
    const bool fits = borders.left >= 0.0f && borders.right >= 0.0f && borders.top >= 0.0f &&
                      borders.bottom >= 0.0f && borders.left + borders.right <= region.width &&
                      borders.top + borders.bottom <= region.height;
    if (!fits) {
        MG_ERROR("mgExternalError: Nine-slice borders (%g, %g, %g, %g) do not fit the %g x %g region; they "
                 "are cut "
                 "to fit.",
                 static_cast<double>(borders.left), static_cast<double>(borders.top),
                 static_cast<double>(borders.right), static_cast<double>(borders.bottom),
                 static_cast<double>(region.width), static_cast<double>(region.height));
        mBorders.left = std::clamp(borders.left, 0.0f, region.width / 2.0f);
        mBorders.right = std::clamp(borders.right, 0.0f, region.width / 2.0f);
        mBorders.top = std::clamp(borders.top, 0.0f, region.height / 2.0f);
        mBorders.bottom = std::clamp(borders.bottom, 0.0f, region.height / 2.0f);
    }
}

void NineSlicePanel::SetSize(float width, float height)
{
    mWidth = std::max(0.0f, width);
    mHeight = std::max(0.0f, height);
}

void NineSlicePanel::OnRender()
{
    if (mRegion.texture == InvalidTexture || mRegion.width <= 0.0f || mRegion.height <= 0.0f) {
        return;
    }
    const Cuts columns =
        CutAxis(mWidth, mBorders.left, mBorders.right, mRegion.width, mRegion.u, mRegion.uWidth);
    const Cuts rows =
        CutAxis(mHeight, mBorders.top, mBorders.bottom, mRegion.height, mRegion.v, mRegion.vHeight);
    BindTexture(mRegion.texture);
    const std::uint32_t color = GetColor().GetColorABGR();
    for (std::size_t row = 0; row < 3; ++row) {
        for (std::size_t column = 0; column < 3; ++column) {
            if (columns.screen[column] >= columns.screen[column + 1] ||
                rows.screen[row] >= rows.screen[row + 1]) {
                continue; // an empty piece: a border of 0 or a panel no larger than its borders
            }
            RenderQuad(Vector2(columns.screen[column], rows.screen[row]),
                       Vector2(columns.screen[column + 1], rows.screen[row + 1]), color,
                       columns.texture[column], rows.texture[row], columns.texture[column + 1],
                       rows.texture[row + 1]);
        }
    }
}

} // namespace Marrowgate::Graphics
