#pragma once
/// NineSlicePanel: a rectangle of any size drawn from a texture region whose corners stay
/// unscaled, whose edges stretch along one side and whose middle stretches both ways; the usual
/// frame of menus and dialogs.
/// @file
/// The region is cut by four borders given in texture pixels. A panel smaller than its two
/// borders shrinks the borders in proportion, so the corners never overlap. The nine pieces share
/// one texture and batch into one draw. Depends on: Graphic, sprites (SpriteFrame), the renderer.

#include "marrowgate/graphics/mg_graphic.h"
#include "marrowgate/graphics/mg_sprite.h"

namespace Marrowgate::Graphics {

struct NineSliceBorders
{
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

class NineSlicePanel : public Graphic
{
public:
    // `region` as from CreateSpriteFrame or GetAtlasFrame. Borders wider than the region are
    // reported and cut to fit it.
    NineSlicePanel(const SpriteFrame& region, const NineSliceBorders& borders, float width, float height);

    void SetSize(float width, float height);
    PixelSpace GetPixelWidth() const override { return ToPixelSpace(mWidth); }
    PixelSpace GetPixelHeight() const override { return ToPixelSpace(mHeight); }

protected:
    void OnRender() override;

private:
    SpriteFrame mRegion;
    NineSliceBorders mBorders;
    float mWidth = 0.0f;
    float mHeight = 0.0f;
};

} // namespace Marrowgate::Graphics
