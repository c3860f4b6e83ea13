#include "marrowgate/graphics/mg_animated_sprite.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <utility>

namespace Marrowgate::Graphics {

namespace {

// The span [start, start + length) of stored pixels inside an untrimmed side of `side` pixels,
// relative to the pivot. Mirroring turns the frame within its box, and so about a pivot the
// sheet gave (a character's feet stay where they are); the default pivot, the box's corner,
// stays put so that the frame mirrors in place as a plain sprite does.
std::pair<float, float> PlaceSpan(float start, float length, float side, float pivot, bool hasPivot,
                                  bool isMirrored)
{
    if (isMirrored) {
        start = side - start - length;
        pivot = hasPivot ? side - pivot : pivot;
    }
    return {start - pivot, start + length - pivot};
}

} // namespace

AnimatedSprite::AnimatedSprite(const SpriteSheet& sheet) : mSheet(sheet), mPlayer(sheet) {}

void AnimatedSprite::SetFlipped(bool horizontally, bool vertically)
{
    mIsFlippedHorizontally = horizontally;
    mIsFlippedVertically = vertically;
}

const SheetFrame* AnimatedSprite::CurrentFrame() const
{
    const std::size_t index = mPlayer.GetFrameIndex();
    return index < mSheet.GetFrameCount() ? &mSheet.GetFrame(index) : nullptr;
}

PixelSpace AnimatedSprite::GetPixelWidth() const
{
    const SheetFrame* frame = CurrentFrame();
    return frame != nullptr ? ToPixelSpace(frame->untrimmedWidth) : PixelSpace{0};
}

PixelSpace AnimatedSprite::GetPixelHeight() const
{
    const SheetFrame* frame = CurrentFrame();
    return frame != nullptr ? ToPixelSpace(frame->untrimmedHeight) : PixelSpace{0};
}

void AnimatedSprite::OnRender()
{
    const SheetFrame* frame = CurrentFrame();
    if (frame == nullptr || frame->image.texture == InvalidTexture) {
        return;
    }
    const SpriteFrame& image = frame->image;
    const auto [left, right] = PlaceSpan(frame->trimOffset.x, image.width, frame->untrimmedWidth,
                                         frame->pivot.x, frame->hasPivot, mIsFlippedHorizontally);
    const auto [top, bottom] = PlaceSpan(frame->trimOffset.y, image.height, frame->untrimmedHeight,
                                         frame->pivot.y, frame->hasPivot, mIsFlippedVertically);
    float uLeft = image.u;
    float uRight = image.u + image.uWidth;
    float vTop = image.v;
    float vBottom = image.v + image.vHeight;
    if (mIsFlippedHorizontally) {
        std::swap(uLeft, uRight);
    }
    if (mIsFlippedVertically) {
        std::swap(vTop, vBottom);
    }
    BindTexture(image.texture);
    RenderQuad(Vector2(left, top), Vector2(right, bottom), GetColor().GetColorABGR(), uLeft, vTop, uRight,
               vBottom);
}

} // namespace Marrowgate::Graphics
