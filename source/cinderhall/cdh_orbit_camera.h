#pragma once
/// OrbitCamera: a camera on a sphere around a target point, turned by yaw and pitch and moved in
/// and out by distance, each kept within limits; the usual inspection or strategy camera.
/// @file
/// Yaw is the heading the camera looks along, as in mg_vector.h's HeadingOnXZPlane (0 looks
/// along -Z, a quarter turn along +X); pitch is how far it looks down on the target (0 level,
/// positive from above), in radians. With yaw 0 and pitch 0 the camera sits on +Z of the target.
/// Pitch limits lie within (-1.55, 1.55), short of straight up or down where "up" on screen has
/// no direction; distance limits are above 0. Every change, limits included, clamps the current
/// values into the limits; yaw is kept in [0, 2 pi).
/// Depends on: math. No renderer: ComputeView gives the view matrix for a 3D pass.

#include "marrowgate/math/mg_matrix.h"
#include "marrowgate/math/mg_vector.h"

namespace Cinderhall {

using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector3;

class OrbitCamera
{
public:
    static constexpr float kSteepestPitch = 1.55f;

    OrbitCamera(const Vector3& target, float distance, float yaw, float pitch);

    void SetTarget(const Vector3& target) { target_ = target; }
    const Vector3& GetTarget() const { return target_; }

    void SetYaw(float yaw);
    void SetPitch(float pitch);
    void SetDistance(float distance);
    // Adds to yaw and pitch (for a mouse drag), within the limits.
    void Turn(float yawChange, float pitchChange);
    float GetYaw() const { return yaw_; }
    float GetPitch() const { return pitch_; }
    float GetDistance() const { return distance_; }

    // Limits outside the ranges above, or a lowest above a highest, are reported and ignored.
    void SetPitchLimits(float lowest, float highest);
    void SetDistanceLimits(float nearest, float farthest);

    Vector3 ComputePosition() const;
    // The right-handed view from the camera's position towards the target, y up.
    Matrix4 ComputeView() const;

private:
    Vector3 target_;
    float distance_ = 1.0f;
    float yaw_ = 0.0f;
    float pitch_ = 0.0f;
    float lowestPitch_ = -kSteepestPitch;
    float highestPitch_ = kSteepestPitch;
    float nearestDistance_ = 0.1f;
    float farthestDistance_ = 10000.0f;
};

} // namespace Cinderhall
