#include "marrowgate/graphics/mg_view.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_render_target.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>

namespace {
constexpr char kUnitName[] = "mg_view";
} // namespace

namespace Marrowgate::Graphics {

namespace {

struct ViewState
{
    PixelSpace width = 0; // 0: no logical view
    PixelSpace height = 0;
    ViewScaling scaling = ViewScaling::Fit;
    Color barColor = Color(ColorPalette::Black);
    std::unique_ptr<RenderTarget> target;
    // The target's filtering as last set; none until set for the current target.
    std::optional<bool> isTargetSmooth;
};

ViewState& TheView()
{
    static ViewState view;
    return view;
}

} // namespace

ViewPlacement PlaceView(PixelSpace logicalWidth, PixelSpace logicalHeight, PixelSpace windowWidth,
                        PixelSpace windowHeight, ViewScaling scaling)
{
    if (logicalWidth == 0 || logicalHeight == 0) {
        return {0.0f, 0.0f, static_cast<float>(windowWidth), static_cast<float>(windowHeight)};
    }
    const float scaleX = static_cast<float>(windowWidth) / static_cast<float>(logicalWidth);
    const float scaleY = static_cast<float>(windowHeight) / static_cast<float>(logicalHeight);
    float scale = 1.0f;
    switch (scaling) {
    case ViewScaling::Stretch:
        return {0.0f, 0.0f, static_cast<float>(windowWidth), static_cast<float>(windowHeight)};
    case ViewScaling::Fit:
        scale = std::min(scaleX, scaleY);
        break;
    case ViewScaling::Fill:
        scale = std::max(scaleX, scaleY);
        break;
    case ViewScaling::IntegerScale:
        scale = std::max(1.0f, std::floor(std::min(scaleX, scaleY)));
        break;
    }
    // Whole pixels, so the picture's edges are sharp and integer scaling stays exact.
    const float width = std::round(static_cast<float>(logicalWidth) * scale);
    const float height = std::round(static_cast<float>(logicalHeight) * scale);
    return {std::floor((static_cast<float>(windowWidth) - width) / 2.0f),
            std::floor((static_cast<float>(windowHeight) - height) / 2.0f), width, height};
}

void SetLogicalView(PixelSpace width, PixelSpace height, ViewScaling scaling, const Color& barColor)
{
    if (width == 0 || height == 0) {
        MG_ERROR(
            "mgExternalError: A logical view needs a width and a height above 0, not %u x %u; the view is "
            "left as it was.",
            unsigned{width}, unsigned{height});
        return;
    }
    ViewState& view = TheView();
    if (view.width != width || view.height != height || view.scaling != scaling) {
        view.target.reset(); // made again at the next frame, with this size and filtering
    }
    view.width = width;
    view.height = height;
    view.scaling = scaling;
    view.barColor = barColor;
}

void ResetView()
{
    ViewState& view = TheView();
    view.width = 0;
    view.height = 0;
    view.target.reset();
}

bool HasLogicalView()
{
    return TheView().width != 0;
}

PixelSpace GetLogicalWidth()
{
    return TheView().width;
}

PixelSpace GetLogicalHeight()
{
    return TheView().height;
}

ViewPlacement GetViewPlacement()
{
    const ViewState& view = TheView();
    return PlaceView(view.width, view.height, WindowWidth(), WindowHeight(), view.scaling);
}

Core::Vector2 WindowToView(const Core::Vector2& windowPoint)
{
    const ViewPlacement placement = GetViewPlacement();
    if (!HasLogicalView() || placement.width <= 0.0f || placement.height <= 0.0f) {
        return windowPoint;
    }
    return Core::Vector2(
        (windowPoint.x - placement.x) * static_cast<float>(GetLogicalWidth()) / placement.width,
        (windowPoint.y - placement.y) * static_cast<float>(GetLogicalHeight()) / placement.height);
}

Core::Vector2 ViewToWindow(const Core::Vector2& viewPoint)
{
    const ViewPlacement placement = GetViewPlacement();
    if (!HasLogicalView()) {
        return viewPoint;
    }
    return Core::Vector2(placement.x + viewPoint.x * placement.width / static_cast<float>(GetLogicalWidth()),
                         placement.y +
                             viewPoint.y * placement.height / static_cast<float>(GetLogicalHeight()));
}

namespace {

// The bars: the strips of the window around the picture, none when the picture covers it.
void RenderBars(const ViewPlacement& placement, const Color& barColor)
{
    const float windowWidth = static_cast<float>(WindowWidth());
    const float windowHeight = static_cast<float>(WindowHeight());
    const float left = std::max(placement.x, 0.0f);
    const float top = std::max(placement.y, 0.0f);
    const float right = std::min(placement.x + placement.width, windowWidth);
    const float bottom = std::min(placement.y + placement.height, windowHeight);
    const std::array<std::pair<Vector2, Vector2>, 4> strips = {{
        {Vector2(0.0f, 0.0f), Vector2(windowWidth, top)},
        {Vector2(0.0f, bottom), Vector2(windowWidth, windowHeight)},
        {Vector2(0.0f, top), Vector2(left, bottom)},
        {Vector2(right, top), Vector2(windowWidth, bottom)},
    }};
    BindTexture(GetBlankTexture());
    for (const auto& [topLeft, bottomRight] : strips) {
        if (bottomRight.x > topLeft.x && bottomRight.y > topLeft.y) {
            RenderQuad(topLeft, bottomRight, barColor.GetColorABGR(), 0.0f, 0.0f, 1.0f, 1.0f);
        }
    }
}

} // namespace

void RenderThroughView(const std::function<void()>& draw)
{
    ViewState& view = TheView();
    if (!HasLogicalView()) {
        draw();
        return;
    }
    if (!view.target) {
        // With depth, so a scene's perspective pass works inside the view as it does on screen.
        view.target = std::make_unique<RenderTarget>(view.width, view.height, true);
        view.isTargetSmooth.reset();
    }
    // Opaque black, as the window is cleared, so dark parts of the picture do not show the bars.
    if (!view.target->Draw(draw, Color(ColorPalette::Black))) {
        // The driver cannot make the target (reported once): the game still shows, unscaled.
        draw();
        return;
    }
    const ViewPlacement placement = GetViewPlacement();
    // Shown pixel for pixel, nearest and smooth filtering give the same picture, and nearest is
    // the cheaper.
    const bool isOneToOne = placement.width == static_cast<float>(view.width) &&
                            placement.height == static_cast<float>(view.height);
    const bool isSmooth = view.scaling != ViewScaling::IntegerScale && !isOneToOne;
    if (view.isTargetSmooth != isSmooth) {
        SetTextureSmoothing(view.target->GetTexture(), isSmooth);
        view.isTargetSmooth = isSmooth;
    }
    RenderBars(placement, view.barColor);
    // The picture is opaque (cleared so, and premultiplied blending keeps its alpha at one), so
    // it replaces the window's pixels rather than blending over them: shown pixel for pixel, a
    // straight copy does that without shading a pixel.
    if (isOneToOne &&
        view.target->CopyPixelForPixel(static_cast<int>(placement.x), static_cast<int>(placement.y))) {
        return;
    }
    BindTexture(view.target->GetTexture());
    RenderOpaqueQuad(Vector2(placement.x, placement.y),
                     Vector2(placement.x + placement.width, placement.y + placement.height), 0.0f, 0.0f, 1.0f,
                     1.0f);
}

} // namespace Marrowgate::Graphics
