#pragma once
/// The view: a logical resolution that the game draws at, whatever the window's size, and how
/// that picture is scaled into the window.
/// @file
/// By default there is no logical view: the game draws straight into the window's pixels. With
/// one set, the game application draws each frame into a render target of the logical size and
/// then shows it in the window:
///   Fit           as large as fits whole, centred; the rest are bars in the bar colour
///                 (letterbox or pillarbox);
///   Fill          as small as covers the window, centred; what overhangs is cropped;
///   Stretch       the whole window, the aspect ratio given up;
///   IntegerScale  whole multiples only (1x, 2x, ...), the largest that fits, with nearest
///                 filtering so pixel art stays sharp; the rest are bars. A window smaller than
///                 the logical size is clamped to 1x: the picture is centred and cropped.
/// Fit, Fill and Stretch filter smoothly. While a view is set, ScreenWidth and ScreenHeight (so
/// everything placed by them, the scene's turning about the screen centre, the 2D camera and its
/// shake) are in logical pixels, and the mouse position arrives in logical pixels. The picture
/// rectangle is placed on whole window pixels and follows every resize and full-screen switch.
/// Where the driver cannot make the render target (reported once), the picture is drawn straight
/// into the window's top-left corner, unscaled.
/// Depends on: render targets, the texture manager, screen metrics, the basic renderer.

#include "marrowgate/graphics/mg_color.h"
#include "marrowgate/graphics/mg_graphic.h"
#include "marrowgate/math/mg_vector.h"

#include <functional>

namespace Marrowgate::Graphics {

enum class ViewScaling
{
    Fit,
    Fill,
    Stretch,
    IntegerScale,
};

// Where the logical picture lands in the window, in window pixels (it may overhang with Fill).
struct ViewPlacement
{
    float x = 0.0f;
    float y = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

ViewPlacement PlaceView(PixelSpace logicalWidth, PixelSpace logicalHeight, PixelSpace windowWidth,
                        PixelSpace windowHeight, ViewScaling scaling);

// A side of 0 is reported and the view stays as it was.
void SetLogicalView(PixelSpace width, PixelSpace height, ViewScaling scaling,
                    const Color& barColor = Color(ColorPalette::Black));
// Back to drawing in the window's own pixels.
void ResetView();
bool HasLogicalView();
PixelSpace GetLogicalWidth();
PixelSpace GetLogicalHeight();
// Where the picture lands in the current window (the whole window without a logical view).
ViewPlacement GetViewPlacement();

// Between window pixels and logical pixels; the identity without a logical view. A point on a
// bar maps outside the logical area.
Core::Vector2 WindowToView(const Core::Vector2& windowPoint);
Core::Vector2 ViewToWindow(const Core::Vector2& viewPoint);

// Runs `draw` through the view: into the logical picture, which is then shown scaled with its
// bars; without a logical view simply runs it. The game application draws every frame so; call
// it between BeginDraw and EndDraw.
void RenderThroughView(const std::function<void()>& draw);

} // namespace Marrowgate::Graphics
