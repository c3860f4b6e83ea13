#pragma once
/// AnimatedSprite: a graphic that shows the frame an AnimationPlayer has reached on a sprite
/// sheet. Every animated sprite of one sheet draws from the sheet's texture, so a crowd of them
/// batches into few draw calls.
/// @file
/// The sprite does not read a clock: the game hands it time with Advance, normally from
/// OnSimulate with the fixed step (Game::MillisecondsPerStep()), so the same steps always show the
/// same frames. A frame's pivot lands on the local point (0, 0), so the pixel box of a frame with
/// a pivot starts at minus the pivot; trimmed frames keep their place in the untrimmed frame.
/// Flipping mirrors the untrimmed frame in its box, about the pivot when the frame has one. Until an
/// animation plays, the sheet's first frame shows; after a refused Play the frame on show stays. Depends on:
/// Graphic, SpriteSheet, AnimationPlayer, the basic renderer.

#include "marrowgate/graphics/mg_animation_player.h"
#include "marrowgate/graphics/mg_graphic.h"
#include "marrowgate/graphics/mg_sprite_sheet.h"

#include <cstdint>
#include <string>

namespace Marrowgate::Graphics {

class AnimatedSprite : public Graphic
{
public:
    // The sheet must outlive the sprite.
    explicit AnimatedSprite(const SpriteSheet& sheet);
    AnimatedSprite(SpriteSheet&&) = delete;

    bool Play(const std::string& animation, bool restart = false) { return mPlayer.Play(animation, restart); }
    void Advance(std::uint32_t milliseconds) { mPlayer.Advance(milliseconds); }
    AnimationPlayer& GetPlayer() { return mPlayer; }
    const AnimationPlayer& GetPlayer() const { return mPlayer; }

    void SetFlipped(bool horizontally, bool vertically);
    bool IsFlippedHorizontally() const { return mIsFlippedHorizontally; }
    bool IsFlippedVertically() const { return mIsFlippedVertically; }

    // The untrimmed size of the frame on show.
    PixelSpace GetPixelWidth() const override;
    PixelSpace GetPixelHeight() const override;

protected:
    void OnRender() override;

private:
    const SheetFrame* CurrentFrame() const;

    const SpriteSheet& mSheet;
    AnimationPlayer mPlayer;
    bool mIsFlippedHorizontally = false;
    bool mIsFlippedVertically = false;
};

} // namespace Marrowgate::Graphics
