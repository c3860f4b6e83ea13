#include "marrowgate/graphics/mg_sprite.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <utility>

namespace {
constexpr char kUnitName[] = "mg_sprite";
} // namespace

namespace Marrowgate::Graphics {

SpriteFrame CreateSpriteFrame(TextureHandle texture, PixelSpace frameX, PixelSpace frameY,
                              PixelSpace frameWidth, PixelSpace frameHeight)
{
    if (texture == InvalidTexture) {
        MG_ERROR("mgExternalError: Expected texture handle to be valid when creating SpriteFrame.");
        return SpriteFrame();
    }
    const PixelSpace textureWidth = GetTextureWidth(texture);
    const PixelSpace textureHeight = GetTextureHeight(texture);
    if (textureWidth == 0 || textureHeight == 0) {
        // An unknown handle; the texture manager has reported it.
        return SpriteFrame();
    }
    frameWidth = frameWidth == 0 ? textureWidth : frameWidth;
    frameHeight = frameHeight == 0 ? textureHeight : frameHeight;
    bool fits = true;
    if (frameWidth > textureWidth) {
        MG_ERROR("mgExternalError: Expected frameWidth to be less than or equal to textureWidth");
        fits = false;
    }
    if (frameHeight > textureHeight) {
        MG_ERROR("mgExternalError: Expected frameHeight to be less than or equal to textureHeight");
        fits = false;
    }
    if (fits && frameX > textureWidth - frameWidth) {
        MG_ERROR("mgExternalError: Expected frameX location to allow frame (width) to fit on texture.");
        fits = false;
    }
    if (fits && frameY > textureHeight - frameHeight) {
        MG_ERROR("mgExternalError: Expected frameY location to allow frame (height) to fit on texture.");
        fits = false;
    }
    if (!fits) {
        return SpriteFrame();
    }
    const float width = textureWidth;
    const float height = textureHeight;
    SpriteFrame frame;
    frame.x = frameX;
    frame.y = frameY;
    frame.width = frameWidth;
    frame.height = frameHeight;
    frame.u = frame.x / width;
    frame.v = frame.y / height;
    frame.uWidth = frame.width / width;
    frame.vHeight = frame.height / height;
    frame.texture = texture;
    return frame;
}

Sprite::Sprite(TextureHandle texture, PixelSpace frameX, PixelSpace frameY, PixelSpace frameWidth,
               PixelSpace frameHeight)
    : mFrame(CreateSpriteFrame(texture, frameX, frameY, frameWidth, frameHeight))
{}

Sprite::Sprite(const std::string& textureFileName, PixelSpace frameX, PixelSpace frameY,
               PixelSpace frameWidth, PixelSpace frameHeight)
    : Sprite(CreateTextureFromFile(textureFileName), frameX, frameY, frameWidth, frameHeight)
{}

PixelSpace Sprite::GetPixelWidth() const
{
    return ToPixelSpace(mFrame.width);
}
PixelSpace Sprite::GetPixelHeight() const
{
    return ToPixelSpace(mFrame.height);
}

void Sprite::SetFlipped(bool horizontally, bool vertically)
{
    mIsFlippedHorizontally = horizontally;
    mIsFlippedVertically = vertically;
}

void Sprite::OnRender()
{
    if (mFrame.texture == InvalidTexture) {
        return;
    }
    BindTexture(mFrame.texture);
    float uLeft = mFrame.u;
    float uRight = mFrame.u + mFrame.uWidth;
    float vTop = mFrame.v;
    float vBottom = mFrame.v + mFrame.vHeight;
    if (mIsFlippedHorizontally) {
        std::swap(uLeft, uRight);
    }
    if (mIsFlippedVertically) {
        std::swap(vTop, vBottom);
    }
    const Vector2 bottomRight(GetPixelWidth(), GetPixelHeight());
    RenderQuad(Vector2(0.0f, 0.0f), bottomRight, GetColor().GetColorABGR(), uLeft, vTop, uRight, vBottom);
}

} // namespace Marrowgate::Graphics
