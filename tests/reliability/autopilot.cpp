#include "autopilot.h"

#include <cmath>

namespace QuorvaneReliability {
namespace {

using Marrowgate::Application::Key;

constexpr double kPi = 3.14159265358979323846;
// Far enough out that the chip (always within 10 of the origin) is a long drive away.
constexpr float kWanderLimit = 80.0f;

double WrapAngle(double radians)
{
    while (radians > kPi) {
        radians -= 2.0 * kPi;
    }
    while (radians < -kPi) {
        radians += 2.0 * kPi;
    }
    return radians;
}

} // namespace

std::set<Key> Autopilot::ChooseKeys(const Marrowgate::Core::Matrix4& carTransform,
                                    const Marrowgate::Core::Vector3& chipPosition)
{
    if (mResetHeld) {
        mResetHeld = false;
        return {};
    }
    if (mFramesLeft-- <= 0) {
        StartMode();
    }
    const Marrowgate::Core::Vector3 carPosition = carTransform.GetPosition();
    const bool farAway = std::fabs(carPosition.x) > kWanderLimit || std::fabs(carPosition.z) > kWanderLimit;
    // Space goes down for one frame; the car resets on the step that sees it go down.
    if (farAway || std::uniform_int_distribution<int>(0, 399)(mRandom) == 0) {
        ++mResets;
        mResetHeld = true;
        return {Marrowgate::Application::KeySpace};
    }
    return mMode == Mode::kWander ? Wander() : Seek(carTransform, chipPosition);
}

void Autopilot::StartMode()
{
    const bool seek = std::uniform_int_distribution<int>(0, 2)(mRandom) != 0;
    mMode = seek ? Mode::kSeek : Mode::kWander;
    mFramesLeft = std::uniform_int_distribution<int>(seek ? 100 : 10, seek ? 300 : 80)(mRandom);
}

std::set<Key> Autopilot::Wander()
{
    // A new random set of arrow keys every few frames, opposite keys included.
    if (std::uniform_int_distribution<int>(0, 7)(mRandom) == 0 || mWanderKeys.empty()) {
        mWanderKeys.clear();
        for (const Key key : {Marrowgate::Application::KeyUp, Marrowgate::Application::KeyDown,
                              Marrowgate::Application::KeyLeft, Marrowgate::Application::KeyRight}) {
            if (std::uniform_int_distribution<int>(0, 2)(mRandom) == 0) {
                mWanderKeys.insert(key);
            }
        }
    }
    return mWanderKeys;
}

std::set<Key> Autopilot::Seek(const Marrowgate::Core::Matrix4& carTransform,
                              const Marrowgate::Core::Vector3& chipPosition)
{
    // The car's heading is its transform applied to +Z; Left turns it towards +X.
    const double heading = std::atan2(carTransform[2], carTransform[10]);
    const Marrowgate::Core::Vector3 toChip = chipPosition - carTransform.GetPosition();
    const double wanted = std::atan2(toChip.x, toChip.z);
    const double error = WrapAngle(wanted - heading);
    const double distance = std::sqrt(toChip.x * toChip.x + toChip.z * toChip.z);

    std::set<Key> keys;
    // A frame holds about five steps of 3.6 degrees each.
    if (std::fabs(error) > 0.2) {
        keys.insert(error > 0.0 ? Marrowgate::Application::KeyLeft : Marrowgate::Application::KeyRight);
    }
    if (std::fabs(error) < 0.5 || distance > 6.0) {
        keys.insert(Marrowgate::Application::KeyUp);
    }
    return keys;
}

} // namespace QuorvaneReliability
