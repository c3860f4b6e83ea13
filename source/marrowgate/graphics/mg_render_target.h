#pragma once
/// RenderTarget: a texture that graphics draw into instead of the screen (a framebuffer object
/// with a colour texture and, when asked, a depth buffer), for minimaps, post effects, pixel-art
/// upscaling and cached backgrounds.
/// @file
/// Draw runs the caller's drawing with the target as the place pixels go: its own viewport, a
/// 2D projection over its pixels (0, 0 at the top-left, y downwards, as on screen), an identity
/// model-view, and the target cleared first. Afterwards the previous target (the screen or an
/// outer target), viewport, projection and model-view are back, also when the drawing reports an
/// error and the report throws. Call it while rendering (from OnRender, between BeginDraw and
/// EndDraw). The texture is a texture manager handle: a Sprite draws it (upright, as it was drawn)
/// and batches with other draws of it; GetTextureGLName hands it to a caller's own shader. Its
/// pixels hold premultiplied alpha, as every texture of the renderer does.
///
/// The target is made when first drawn into. A context rebuild (the window layer recreating the
/// context) loses its contents: the next Draw makes it again, and HaveContentsBeenLost says so once,
/// so a cached picture knows to draw itself again. Window resizes and full-screen switches keep it.
///
/// Works in the desktop and ES set-ups, and in the legacy set-up where the driver offers
/// framebuffer objects. A target the driver cannot make (no framebuffer objects, sides above the
/// driver's largest, a refused combination) is reported once with the sizes, and its Draw then
/// runs nothing. Depends on: the texture manager, the basic renderer, colours.

#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/graphics/mg_color.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace Marrowgate::Graphics {

class RenderTarget : private Core::Noncopyable
{
public:
    // Sides of 0 are reported; such a target never draws.
    RenderTarget(PixelSpace width, PixelSpace height, bool withDepth = false);
    ~RenderTarget();

    // Clears to `clearColor` (transparent by default), runs `draw` into the target and puts the
    // previous target back. False, without running `draw`, when the target cannot be made.
    bool Draw(const std::function<void()>& draw, const Color& clearColor = Color(0.0f, 0.0f, 0.0f, 0.0f));

    TextureHandle GetTexture() const { return mTexture; }
    std::uint32_t GetTextureGLName() const;
    PixelSpace GetWidth() const { return mWidth; }
    PixelSpace GetHeight() const { return mHeight; }
    bool HasDepth() const { return mHasDepth; }

    // Copies the target's pixels unscaled into the screen (or the target being drawn into), their
    // top-left corner at (`left`, `top`) in pixels from the current viewport's top-left. They
    // replace what is there rather than blend over it, so this is for opaque pictures, and it is
    // cheaper than drawing the texture, as no pixel is shaded. False, having drawn nothing, where
    // the context cannot copy (ES set-ups, a multisampled window) or the target holds no picture:
    // draw the texture as a sprite instead.
    bool CopyPixelForPixel(int left, int top) const;

    // True once after a context rebuild cost the target its contents; false afterwards until
    // the next rebuild.
    bool HaveContentsBeenLost();

private:
    struct Framebuffer;

    // Makes the framebuffer for the current context when it has none; false after a report.
    bool Prepare();

    PixelSpace mWidth;
    PixelSpace mHeight;
    bool mHasDepth;
    TextureHandle mTexture = InvalidTexture;
    std::unique_ptr<Framebuffer> mFramebuffer;
    bool mHasFailed = false;
    bool mHasContents = false;
    bool mWereContentsLost = false;
};

} // namespace Marrowgate::Graphics
