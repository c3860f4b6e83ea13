#include "marrowgate/graphics/mg_animation_player.h"

#include "marrowgate/core/mg_error.h"

#include <cmath>

namespace {
constexpr char kUnitName[] = "mg_animation_player";
} // namespace

namespace Marrowgate::Graphics {

bool AnimationPlayer::Play(const std::string& name, bool restart)
{
    if (!restart && mAnimation != nullptr && name == mAnimationName) {
        return true;
    }
    const Animation* animation = mSheet->FindAnimation(name);
    if (animation == nullptr) {
        MG_ERROR("mgExternalError: The sprite sheet has no animation \"%s\"; the sprite keeps its frame.",
                 name.c_str());
        return false;
    }
    mAnimation = animation;
    mAnimationName = name;
    mPosition = 0;
    mIsGoingBack = false;
    mIsFinished = false;
    mElapsedMilliseconds = 0.0;
    FireEvent();
    return true;
}

void AnimationPlayer::SetSpeed(float speed)
{
    if (!(speed >= 0.0f) || !std::isfinite(speed)) {
        MG_ERROR("mgExternalError: An animation speed must be a finite number of 0 or more, not %g.",
                 static_cast<double>(speed));
        return;
    }
    mSpeed = speed;
}

std::size_t AnimationPlayer::GetFrameIndex() const
{
    return mAnimation != nullptr ? mAnimation->frames[mPosition].frame : 0u;
}

std::uint32_t AnimationPlayer::CurrentDuration() const
{
    return mAnimation->frames[mPosition].durationMilliseconds;
}

std::uint64_t AnimationPlayer::CycleMilliseconds() const
{
    std::uint64_t total = 0;
    for (const AnimationFrame& frame : mAnimation->frames) {
        total += frame.durationMilliseconds;
    }
    const std::size_t count = mAnimation->frames.size();
    if (mAnimation->mode == AnimationMode::PingPong && count > 2) {
        // There and back, with the two ends shown once each.
        total = 2 * total - mAnimation->frames.front().durationMilliseconds -
                mAnimation->frames.back().durationMilliseconds;
    }
    return total;
}

bool AnimationPlayer::MoveToNextPosition()
{
    const std::size_t last = mAnimation->frames.size() - 1;
    switch (mAnimation->mode) {
    case AnimationMode::Loop:
        mPosition = mPosition == last ? 0 : mPosition + 1;
        return true;
    case AnimationMode::Once:
        if (mPosition == last) {
            return false;
        }
        ++mPosition;
        return true;
    case AnimationMode::PingPong:
        if (last == 0) {
            return true;
        }
        mPosition = mIsGoingBack ? mPosition - 1 : mPosition + 1;
        // The turn is taken on arrival, so each end shows once per pass.
        if (mPosition == 0) {
            mIsGoingBack = false;
        } else if (mPosition == last) {
            mIsGoingBack = true;
        }
        return true;
    }
    return true;
}

void AnimationPlayer::Advance(std::uint32_t milliseconds)
{
    if (mAnimation == nullptr || mIsFinished) {
        return;
    }
    mElapsedMilliseconds += static_cast<double>(milliseconds) * mSpeed;
    SkipWholeCycles();
    while (mElapsedMilliseconds >= CurrentDuration()) {
        mElapsedMilliseconds -= CurrentDuration();
        if (!MoveToNextPosition()) {
            mIsFinished = true;
            mElapsedMilliseconds = 0.0;
            return;
        }
        FireEvent();
        SkipWholeCycles();
    }
}

void AnimationPlayer::SkipWholeCycles()
{
    // A fast speed or a long pause must not walk frame by frame through many cycles. Every cycle
    // starts at the first frame going forwards, so from there the phase is all that matters.
    if (mAnimation->mode != AnimationMode::Once && mPosition == 0 && !mIsGoingBack) {
        mElapsedMilliseconds = std::fmod(mElapsedMilliseconds, static_cast<double>(CycleMilliseconds()));
    }
}

void AnimationPlayer::FireEvent() const
{
    const std::string& event = mAnimation->frames[mPosition].event;
    if (mEventCallback && !event.empty()) {
        mEventCallback(AnimationEvent{mAnimationName, mPosition, event});
    }
}

} // namespace Marrowgate::Graphics
