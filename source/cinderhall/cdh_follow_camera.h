#pragma once
/// FollowCamera: a camera that trails a moving target from a place set relative to the target,
/// catching up with a lag, and keeps looking at it.
/// @file
/// The offset is in the target's frame: x to its right, y up, z behind it, where the target
/// faces along its heading (the heading of mg_vector.h's HeadingOnXZPlane: 0 faces -Z). So
/// (0, 3, 6) sits 3 units above and 6 behind, turning round with the target.
/// The lag is a time constant in seconds: each frame the camera closes 1 - exp(-delta / lag) of
/// the way to its place, the same path at any frame rate; a lag of 0 keeps it exactly in place.
/// The first Follow (and every SnapTo) puts it in place at once. An offset straight above the
/// target (no x or z) leaves no direction for "up" on screen: give it some distance behind.
/// Depends on: math. No renderer: ComputeView gives the view matrix for a 3D pass.

#include "marrowgate/math/mg_matrix.h"
#include "marrowgate/math/mg_vector.h"

namespace Cinderhall {

using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector3;

class FollowCamera
{
public:
    // A negative lag is reported and taken as 0.
    FollowCamera(const Vector3& offset, float lagSeconds);

    void SetOffset(const Vector3& offset) { offset_ = offset; }
    const Vector3& GetOffset() const { return offset_; }
    // A negative lag is reported and taken as 0.
    void SetLag(float lagSeconds);
    float GetLag() const { return lagSeconds_; }
    // Added to the target's position to give the point looked at (for example, its head).
    void SetLookOffset(const Vector3& lookOffset) { lookOffset_ = lookOffset; }

    // Moves the camera towards its place behind the target by one frame of deltaTime seconds.
    void Follow(const Vector3& targetPosition, float targetHeading, float deltaTime);
    // Puts the camera in its place at once, as after a teleport.
    void SnapTo(const Vector3& targetPosition, float targetHeading);

    const Vector3& GetPosition() const { return position_; }
    const Vector3& GetLookPoint() const { return lookPoint_; }
    // Where the camera heads for: the target's position plus the offset turned by the heading.
    Vector3 ComputePlace(const Vector3& targetPosition, float targetHeading) const;
    // The right-handed view from the camera's position towards the look point, y up.
    Matrix4 ComputeView() const;

private:
    Vector3 offset_;
    Vector3 lookOffset_;
    float lagSeconds_ = 0.0f;
    Vector3 position_;
    Vector3 lookPoint_;
    bool placed_ = false;
};

} // namespace Cinderhall
