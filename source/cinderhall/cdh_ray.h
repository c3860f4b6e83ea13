#pragma once
/// Rays: an origin and a unit direction, for picking.
/// @file
/// Depends on: math.

#include "marrowgate/math/mg_matrix.h"
#include "marrowgate/math/mg_vector.h"


namespace Cinderhall {

using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector3;

struct Ray
{
    Ray() = default;
    // The direction is normalised; a zero direction stays zero and such a ray hits nothing.
    Ray(const Vector3& rayOrigin, const Vector3& rayDirection)
        : origin(rayOrigin), direction(rayDirection.GetNormalized())
    {}

    Vector3 PointAt(float distance) const { return origin + direction * distance; }

    Vector3 origin;
    Vector3 direction{0.0f, 0.0f, -1.0f};
};

} // namespace Cinderhall
