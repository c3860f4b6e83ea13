#include "marrowgate/graphics/mg_view.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_render_target.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <algorithm>
#include <cmath>
#include <memory>

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
        SetTextureSmoothing(view.target->GetTexture(), view.scaling != ViewScaling::IntegerScale);
    }
    // Opaque black, as the window is cleared, so dark parts of the picture do not show the bars.
    if (!view.target->Draw(draw, Color(ColorPalette::Black))) {
        return;
    }
    const ViewPlacement placement = GetViewPlacement();
    BindTexture(GetBlankTexture());
    RenderQuad(Vector2(0.0f, 0.0f), Vector2(WindowWidth(), WindowHeight()), view.barColor.GetColorABGR(),
               0.0f, 0.0f, 1.0f, 1.0f);
    BindTexture(view.target->GetTexture());
    RenderQuad(Vector2(placement.x, placement.y),
               Vector2(placement.x + placement.width, placement.y + placement.height), Color().GetColorABGR(),
               0.0f, 0.0f, 1.0f, 1.0f);
}

} // namespace Marrowgate::Graphics
