#pragma once
/// Bounding volumes of 3D entities: spheres and axis-aligned boxes.
/// @file
/// A volume's centre is relative to its entity until the entity manager moves a copy of it to
/// world space for a test; the entity's rotation is never applied, so boxes stay axis-aligned.
/// The kind is not stored: a sphere carries -1 in its height and depth. ContactWith says how
/// two intersecting volumes touch (the normal's direction, the depth and the point are those of
/// marrowgate/math/mg_contact.h).
/// Depends on: marrowgate core (errors) and math (Vector3, contacts).
///
/// Limits: the box-sphere test answers true whenever the sphere's centre lies within the box's
/// extent along any one axis (and within reach on all three), without a finer test; this errs
/// towards reporting contact near a box's edges. Such a contact has depth 0.

#include "marrowgate/math/mg_contact.h"
#include "marrowgate/math/mg_vector.h"

#include <optional>

namespace Orrery::Game {

class BoundingVolume
{
public:
    // A sphere; a radius that is not above zero is reported.
    explicit BoundingVolume(float radius);
    // An axis-aligned box; every size must be above zero.
    BoundingVolume(float width, float height, float depth);

    bool IsBox() const { return mSize.y > 0.0f && mSize.z > 0.0f; }
    bool IsSphere() const { return mSize.y <= 0.0f || mSize.z < 0.0f; }

    // The radius; asking a box reports and returns its width.
    float GetRadius() const;
    // Width, height and depth of a box; (radius, -1, -1) for a sphere.
    const Marrowgate::Core::Vector3& GetSize() const { return mSize; }

    // Both volumes must be in the same frame. Symmetric in its operands.
    bool Intersects(const BoundingVolume& other) const;
    // The contact for this volume, exactly when Intersects is true, else none. Both volumes
    // must be in the same frame.
    std::optional<Marrowgate::Core::Contact3D> ContactWith(const BoundingVolume& other) const;

    // Relative to the owner, or in world space once the manager has offset a copy.
    Marrowgate::Core::Vector3 center;

private:
    Marrowgate::Core::Vector3 mSize;
};

} // namespace Orrery::Game
