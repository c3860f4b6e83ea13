#pragma once
// Chooses the keys a player would hold in the next frame of play: stretches of random driving
// and turning, now and then a reset, and runs at the chip that steer towards it and slow down
// near it, so that a long run collects chips as well as wandering.

#include "marrowgate/application/mg_input.h"
#include "marrowgate/math/mg_matrix.h"
#include "marrowgate/math/mg_vector.h"

#include <cstdint>
#include <random>
#include <set>

namespace QuorvaneReliability {

class Autopilot
{
public:
    explicit Autopilot(std::uint32_t seed) : mRandom(seed) {}

    // The keys to hold during the next frame, from the car's transform and the chip's place.
    std::set<Marrowgate::Application::Key> ChooseKeys(const Marrowgate::Core::Matrix4& carTransform,
                                                      const Marrowgate::Core::Vector3& chipPosition);

    std::uint64_t GetResets() const { return mResets; }

private:
    enum class Mode
    {
        kWander,
        kSeek,
    };

    std::set<Marrowgate::Application::Key> Wander();
    std::set<Marrowgate::Application::Key> Seek(const Marrowgate::Core::Matrix4& carTransform,
                                                const Marrowgate::Core::Vector3& chipPosition);
    void StartMode();

    std::mt19937 mRandom;
    Mode mMode = Mode::kSeek;
    int mFramesLeft = 0;
    std::set<Marrowgate::Application::Key> mWanderKeys;
    std::uint64_t mResets = 0;
    bool mResetHeld = false;
};

} // namespace QuorvaneReliability
