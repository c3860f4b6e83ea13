#pragma once
/// AnimationPlayer: plays the named animations of a sprite sheet in time that the caller hands
/// it, normally one fixed simulation step at a time, so the same steps always show the same
/// frames.
/// @file
/// Loop starts again after the last frame; once stops on the last frame and is then finished;
/// ping-pong runs to the last frame and back to the first without showing either end twice.
/// The speed scales the time handed in (2 plays twice as fast; 0 pauses). A frame event fires
/// each time the player enters a frame that has one, and also for the first frame when an
/// animation starts. When more than a whole cycle passes in one call, the whole cycles are skipped
/// without firing their events. Depends on: SpriteSheet.

#include "marrowgate/graphics/mg_sprite_sheet.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace Marrowgate::Graphics {

struct AnimationEvent
{
    const std::string& animation;
    std::size_t position; // in the animation's frame list
    const std::string& event;
};

class AnimationPlayer
{
public:
    using EventCallback = std::function<void(const AnimationEvent&)>;

    // The sheet must outlive the player.
    explicit AnimationPlayer(const SpriteSheet& sheet) : mSheet(&sheet) {}
    AnimationPlayer(SpriteSheet&&) = delete;

    // Starts the named animation from its first frame; playing the current one again carries on
    // unless `restart`. An unknown name is reported and the player keeps what it shows.
    bool Play(const std::string& name, bool restart = false);
    // Moves on by `milliseconds` times the speed.
    void Advance(std::uint32_t milliseconds);
    // A negative or non-finite speed is reported and the speed is left as it was.
    void SetSpeed(float speed);
    float GetSpeed() const { return mSpeed; }
    void SetEventCallback(EventCallback callback) { mEventCallback = std::move(callback); }

    bool IsPlaying() const { return mAnimation != nullptr; }
    // A "once" animation that has reached its end.
    bool IsFinished() const { return mIsFinished; }
    const std::string& GetAnimationName() const { return mAnimationName; }
    std::size_t GetPosition() const { return mPosition; }
    // The sheet frame on show: the current animation's, else the sheet's first.
    std::size_t GetFrameIndex() const;

private:
    std::uint32_t CurrentDuration() const;
    // One frame on in the animation's order; false when a "once" animation has ended.
    bool MoveToNextPosition();
    std::uint64_t CycleMilliseconds() const;
    void SkipWholeCycles();
    void FireEvent() const;

    const SpriteSheet* mSheet;
    const Animation* mAnimation = nullptr;
    std::string mAnimationName;
    std::size_t mPosition = 0;
    bool mIsGoingBack = false;
    bool mIsFinished = false;
    double mElapsedMilliseconds = 0.0;
    float mSpeed = 1.0f;
    EventCallback mEventCallback;
};

} // namespace Marrowgate::Graphics
