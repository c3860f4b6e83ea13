#include "marrowgate/graphics/mg_graphic.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_camera.h"

namespace {
constexpr char kUnitName[] = "mg_graphic";
} // namespace

namespace Marrowgate::Graphics {

PixelSpace ToPixelSpace(float pixels)
{
    if (!(pixels >= 0.0f)) {
        return 0;
    }
    if (pixels >= 65535.0f) {
        return 65535;
    }
    return static_cast<PixelSpace>(pixels);
}

void Graphic::Update(float deltaTime)
{
    if (mIsActive) {
        OnUpdate(deltaTime);
    }
}

void Graphic::Render()
{
    if (!mIsVisible) {
        return;
    }
    ApplyTransform();
    OnRender();
    PopTransform();
}

void Graphic::OnUpdate(float /*deltaTime*/) {}

void Graphic::SetOrigin(AnchorLocation anchor, const Vector2& offset)
{
    const float width = GetPixelWidth();
    const float height = GetPixelHeight();
    Vector2 anchorPoint;
    switch (anchor) {
    case AnchorLocation::Center:
        anchorPoint = Vector2(width / 2.0f, height / 2.0f);
        break;
    case AnchorLocation::TopCenter:
        anchorPoint = Vector2(width / 2.0f, 0.0f);
        break;
    case AnchorLocation::TopRight:
        anchorPoint = Vector2(width, 0.0f);
        break;
    case AnchorLocation::CenterLeft:
        anchorPoint = Vector2(0.0f, height / 2.0f);
        break;
    case AnchorLocation::CenterRight:
        anchorPoint = Vector2(width, height / 2.0f);
        break;
    case AnchorLocation::BottomLeft:
        anchorPoint = Vector2(0.0f, height);
        break;
    case AnchorLocation::BottomCenter:
        anchorPoint = Vector2(width / 2.0f, height);
        break;
    case AnchorLocation::BottomRight:
        anchorPoint = Vector2(width, height);
        break;
    case AnchorLocation::TopLeft:
    default:
        break;
    }
    mOrigin = Vector2(anchorPoint.x + offset.x, anchorPoint.y + offset.y);
}

void Graphic::SetScale(float scale)
{
    SetScale(Vector2(scale, scale));
}

void Graphic::SetScale(const Vector2& scale)
{
    // A mirrored graphic would wind its triangles the other way and be culled as back faces.
    if (scale.x < 0.0f || scale.y < 0.0f) {
        MG_ERROR("mgExternalError: Cannot set negative scales, perhaps use SetFlipped on the Sprite?");
        return;
    }
    mScale = scale;
}

void Graphic::ApplyTransform()
{
    PushMatrix();
    const Vector2 camera = GetActiveCamera().GetPosition();
    Translate(mPosition.x - mScrollFactor.x * camera.x, mPosition.y - mScrollFactor.y * camera.y, mDepth);
    Rotate(mOrientation, 0.0f, 0.0f, 1.0f);
    Translate(-mOrigin.x * mScale.x, -mOrigin.y * mScale.y, 0.0f);
    Scale(mScale.x, mScale.y, 1.0f);
}

void Graphic::PopTransform()
{
    PopMatrix();
}

} // namespace Marrowgate::Graphics
