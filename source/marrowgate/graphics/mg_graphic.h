#pragma once
/// Graphic: the abstract base of everything drawn in 2D (shapes, sprites, text, entities,
/// scenes). It holds a transform (position, origin, scale, orientation, depth), a colour and
/// the active/visible switches; Render applies the transform around OnRender.
/// @file
/// A local point p lands at position - scrollFactor * camera + R(orientation) * (scale * (p - origin)),
/// in pixels with y growing downwards; depth becomes z and must lie in [-1, 1] to survive the 2D
/// projection. Negative scales are refused (sprites mirror through SetFlipped instead).
/// Depends on: the basic renderer (matrix stack), the active camera, math.

#include "marrowgate/core/mg_noncopyable.h"
#include "marrowgate/graphics/mg_color.h"
#include "marrowgate/math/mg_vector.h"

#include <cstdint>

namespace Marrowgate::Graphics {

using Core::Vector2;

// Pixel counts of sizes.
using PixelSpace = std::uint16_t;

// Truncates to a whole pixel count; negative values and NaN give 0, values past the range 65535.
PixelSpace ToPixelSpace(float pixels);

enum class AnchorLocation : int
{
    Center = 0,
    TopLeft = 1,
    TopCenter = 2,
    TopRight = 3,
    CenterLeft = 4,
    CenterRight = 5,
    BottomLeft = 6,
    BottomCenter = 7,
    BottomRight = 8,
};

class Graphic : private Core::Noncopyable
{
public:
    Graphic() = default;
    virtual ~Graphic() = default;

    virtual void SetColor(const Color& color) { mColor = color; }
    const Color& GetColor() const { return mColor; }
    virtual PixelSpace GetPixelWidth() const { return 0; }
    virtual PixelSpace GetPixelHeight() const { return 0; }

    // OnUpdate when active.
    void Update(float deltaTime);
    // ApplyTransform, OnRender, PopTransform when visible.
    void Render();

    void SetPosition(const Vector2& position) { mPosition = position; }
    const Vector2& GetPosition() const { return mPosition; }
    // Share of the camera position subtracted from the position: 0 pins the graphic to the screen.
    void SetScrollFactor(const Vector2& scrollFactor) { mScrollFactor = scrollFactor; }
    const Vector2& GetScrollFactor() const { return mScrollFactor; }
    // The local pivot of rotation and scale, in unscaled local pixels.
    void SetOrigin(const Vector2& origin) { mOrigin = origin; }
    // Origin = the anchor point of the graphic's pixel box + offset; an unknown anchor acts as TopLeft.
    void SetOrigin(AnchorLocation anchor, const Vector2& offset = Vector2());
    const Vector2& GetOrigin() const { return mOrigin; }
    // A negative component is reported and the scale is left as it was.
    void SetScale(float scale);
    void SetScale(const Vector2& scale);
    const Vector2& GetScale() const { return mScale; }
    // Degrees; positive turns counter-clockwise on screen.
    void SetOrientation(float degrees) { mOrientation = degrees; }
    float GetOrientation() const { return mOrientation; }
    void SetDepth(float depth) { mDepth = depth; }
    float GetDepth() const { return mDepth; }
    void SetActive(bool isActive) { mIsActive = isActive; }
    bool IsActive() const { return mIsActive; }
    void SetVisible(bool isVisible) { mIsVisible = isVisible; }
    bool IsVisible() const { return mIsVisible; }

protected:
    virtual void OnUpdate(float deltaTime);
    virtual void OnRender() = 0;
    // Pushes the model-view and composes this graphic's transform onto it.
    virtual void ApplyTransform();
    virtual void PopTransform();

private:
    Vector2 mPosition;
    Vector2 mScrollFactor{1.0f, 1.0f};
    Vector2 mOrigin;
    Vector2 mScale{1.0f, 1.0f};
    float mOrientation = 0.0f;
    float mDepth = 0.0f;
    bool mIsActive = true;
    bool mIsVisible = true;
    Color mColor;
};

} // namespace Marrowgate::Graphics
