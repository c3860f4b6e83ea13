#include "cinderhall/cdh_orbit_camera.h"

#include "marrowgate/core/mg_error.h"

#include <cmath>

namespace {
constexpr char kUnitName[] = "cdh_orbit_camera";
} // namespace

namespace Cinderhall {

using Marrowgate::Core::Clamp;

OrbitCamera::OrbitCamera(const Vector3& target, float distance, float yaw, float pitch) : target_(target)
{
    SetDistance(distance);
    SetYaw(yaw);
    SetPitch(pitch);
}

void OrbitCamera::SetYaw(float yaw)
{
    if (!std::isfinite(yaw)) {
        MG_ERROR("mgExternalError: Expected parameter yaw(%f) to be a finite number.",
                 static_cast<double>(yaw));
        return;
    }
    yaw_ = std::fmod(yaw, Marrowgate::Core::TwoPi);
    if (yaw_ < 0.0f) {
        yaw_ += Marrowgate::Core::TwoPi;
    }
}

void OrbitCamera::SetPitch(float pitch)
{
    if (!std::isfinite(pitch)) {
        MG_ERROR("mgExternalError: Expected parameter pitch(%f) to be a finite number.",
                 static_cast<double>(pitch));
        return;
    }
    pitch_ = Clamp(pitch, lowestPitch_, highestPitch_);
}

void OrbitCamera::SetDistance(float distance)
{
    if (!std::isfinite(distance)) {
        MG_ERROR("mgExternalError: Expected parameter distance(%f) to be a finite number.",
                 static_cast<double>(distance));
        return;
    }
    distance_ = Clamp(distance, nearestDistance_, farthestDistance_);
}

void OrbitCamera::Turn(float yawChange, float pitchChange)
{
    SetYaw(yaw_ + yawChange);
    SetPitch(pitch_ + pitchChange);
}

void OrbitCamera::SetPitchLimits(float lowest, float highest)
{
    const bool valid = lowest >= -kSteepestPitch && highest <= kSteepestPitch && lowest <= highest;
    MG_ERROR_IF(!valid,
                "mgExternalError: Expected pitch limits (%.3f, %.3f) in order within (-%.2f, %.2f); they "
                "are ignored.",
                static_cast<double>(lowest), static_cast<double>(highest),
                static_cast<double>(kSteepestPitch), static_cast<double>(kSteepestPitch));
    if (valid) {
        lowestPitch_ = lowest;
        highestPitch_ = highest;
        SetPitch(pitch_);
    }
}

void OrbitCamera::SetDistanceLimits(float nearest, float farthest)
{
    const bool valid = nearest > 0.0f && nearest <= farthest && std::isfinite(farthest);
    MG_ERROR_IF(!valid,
                "mgExternalError: Expected distance limits (%.3f, %.3f) in order and above 0; they are "
                "ignored.",
                static_cast<double>(nearest), static_cast<double>(farthest));
    if (valid) {
        nearestDistance_ = nearest;
        farthestDistance_ = farthest;
        SetDistance(distance_);
    }
}

Vector3 OrbitCamera::ComputePosition() const
{
    // The camera looks along (sin yaw cos pitch, -sin pitch, -cos yaw cos pitch) and sits
    // `distance` back from the target along that line.
    const float level = std::cos(pitch_);
    const Vector3 lookDirection(std::sin(yaw_) * level, -std::sin(pitch_), -std::cos(yaw_) * level);
    return target_ - lookDirection * distance_;
}

Matrix4 OrbitCamera::ComputeView() const
{
    return Marrowgate::Core::MatrixCreateLookAt(ComputePosition(), target_, Vector3(0.0f, 1.0f, 0.0f));
}

} // namespace Cinderhall
