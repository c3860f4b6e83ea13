#include "cinderhall/cdh_follow_camera.h"

#include "marrowgate/core/mg_error.h"

#include <cmath>

namespace {
constexpr char kUnitName[] = "cdh_follow_camera";

float CheckedLag(float lagSeconds)
{
    MG_ERROR_IF(!(lagSeconds >= 0.0f), "mgExternalError: Expected parameter lag(%.3f) to be 0 or greater.",
                static_cast<double>(lagSeconds));
    return lagSeconds >= 0.0f ? lagSeconds : 0.0f;
}
} // namespace

namespace Cinderhall {

FollowCamera::FollowCamera(const Vector3& offset, float lagSeconds)
    : offset_(offset), lagSeconds_(CheckedLag(lagSeconds))
{}

void FollowCamera::SetLag(float lagSeconds)
{
    lagSeconds_ = CheckedLag(lagSeconds);
}

Vector3 FollowCamera::ComputePlace(const Vector3& targetPosition, float targetHeading) const
{
    const Vector3 forward = Marrowgate::Core::DirectionFromHeading(targetHeading);
    const Vector3 right(-forward.z, 0.0f, forward.x);
    return targetPosition + right * offset_.x + Vector3(0.0f, offset_.y, 0.0f) - forward * offset_.z;
}

void FollowCamera::Follow(const Vector3& targetPosition, float targetHeading, float deltaTime)
{
    if (!placed_ || lagSeconds_ <= 0.0f) {
        SnapTo(targetPosition, targetHeading);
        return;
    }
    // Exponential smoothing: the share of the way covered depends only on elapsed time, so
    // a frame of 2 d moves the camera exactly as two frames of d do.
    const float share = 1.0f - std::exp(-std::fmax(deltaTime, 0.0f) / lagSeconds_);
    position_ += (ComputePlace(targetPosition, targetHeading) - position_) * share;
    lookPoint_ = targetPosition + lookOffset_;
}

void FollowCamera::SnapTo(const Vector3& targetPosition, float targetHeading)
{
    position_ = ComputePlace(targetPosition, targetHeading);
    lookPoint_ = targetPosition + lookOffset_;
    placed_ = true;
}

Matrix4 FollowCamera::ComputeView() const
{
    return Marrowgate::Core::MatrixCreateLookAt(position_, lookPoint_, Vector3(0.0f, 1.0f, 0.0f));
}

} // namespace Cinderhall
