#pragma once
/// Sprite: a graphic that draws one rectangle of a texture (its SpriteFrame) as a quad of the
/// frame's pixel size, tinted by the graphic's colour and optionally mirrored. Mirroring takes the
/// place of negative scales, which Graphic refuses.
/// Depends on: Graphic, the texture manager, the basic renderer. @file

#include "marrowgate/graphics/mg_graphic.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <string>

namespace Marrowgate::Graphics {

struct SpriteFrame
{
    float x = 0.0f; // top-left corner on the texture, pixels
    float y = 0.0f;
    float width = 0.0f; // frame size, pixels
    float height = 0.0f;
    float u = 0.0f;       // x / texture width
    float v = 0.0f;       // y / texture height
    float uWidth = 0.0f;  // width / texture width
    float vHeight = 0.0f; // height / texture height
    TextureHandle texture = InvalidTexture;
};

// A frame width or height of 0 means the whole texture width or height. A frame that does not
// fit on the texture is reported and comes back empty (no texture, zero size).
SpriteFrame CreateSpriteFrame(TextureHandle texture, PixelSpace frameX, PixelSpace frameY,
                              PixelSpace frameWidth, PixelSpace frameHeight);

class Sprite : public Graphic
{
public:
    explicit Sprite(TextureHandle texture, PixelSpace frameX = 0, PixelSpace frameY = 0,
                    PixelSpace frameWidth = 0, PixelSpace frameHeight = 0);
    // The texture comes from CreateTextureFromFile, which shares and counts cached textures.
    explicit Sprite(const std::string& textureFileName, PixelSpace frameX = 0, PixelSpace frameY = 0,
                    PixelSpace frameWidth = 0, PixelSpace frameHeight = 0);
    // One image of an atlas or sheet (GetAtlasFrame); sprites of one atlas share its texture.
    explicit Sprite(const SpriteFrame& frame) : mFrame(frame) {}
    ~Sprite() override = default;

    // The frame size, whatever the scale.
    PixelSpace GetPixelWidth() const override;
    PixelSpace GetPixelHeight() const override;

    void SetFlipped(bool horizontally, bool vertically);
    bool IsFlippedHorizontally() const { return mIsFlippedHorizontally; }
    bool IsFlippedVertically() const { return mIsFlippedVertically; }
    const SpriteFrame& GetFrame() const { return mFrame; }

protected:
    void OnRender() override;

private:
    SpriteFrame mFrame;
    bool mIsFlippedHorizontally = false;
    bool mIsFlippedVertically = false;
};

} // namespace Marrowgate::Graphics
