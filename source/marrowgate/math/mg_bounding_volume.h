#pragma once
/// The 2D collision shape of a framework entity: a circle or an axis-aligned box, placed at an
/// offset from its entity's position.
/// @file
/// Four floats in this order: size (a circle's radius or a box's width), height (0 or less for a
/// circle), and the offset. Intersects takes the two world-space centres, so volumes stay values
/// relative to their owner.
/// ContactWith says how two intersecting volumes touch (see mg_contact.h for the normal's
/// direction, the depth and the point). Formerly Marrowgate::Core::Unstable::BoundingVolume,
/// which remains as an alias (marrowgate/math/unstable/mgu_bounding_volume.h).
/// Depends on: core (errors), math (Vector2, contacts).
///
/// Limits: a circle and a box count as touching whenever the circle's centre lies within the
/// box's extent on one axis and within reach on both, as the edge test below states.

#include "marrowgate/math/mg_contact.h"
#include "marrowgate/math/mg_vector.h"

#include <optional>

namespace Marrowgate::Core {

class BoundingVolume
{
public:
    static BoundingVolume Circle(float radius, const Vector2& offset = Vector2());
    static BoundingVolume Box(float width, float height, const Vector2& offset = Vector2());

    BoundingVolume() = default;
    BoundingVolume(float size, float height, const Vector2& offset);

    bool IsCircle() const { return mHeight <= 0.0f; }
    bool IsBox() const { return mHeight > 0.0f; }

    // Asking a box for its radius, or a circle for its width or height, is reported; the
    // stored size is returned all the same.
    float GetRadius() const;
    float GetWidth() const;
    float GetHeight() const;

    const Vector2& GetOffset() const { return mOffset; }
    void SetOffset(const Vector2& offset) { mOffset = offset; }

    // This volume centred at center against other centred at otherCenter. Circles that only
    // touch do not intersect; boxes whose edges touch do.
    bool Intersects(const Vector2& center, const BoundingVolume& other, const Vector2& otherCenter) const;
    // The contact for this volume, exactly when Intersects is true (with depth 0 for volumes
    // that only touch), else none.
    std::optional<Contact2D> ContactWith(const Vector2& center, const BoundingVolume& other,
                                         const Vector2& otherCenter) const;

private:
    Vector2 HalfSize() const { return {mSize * 0.5f, mHeight * 0.5f}; }

    float mSize = 0.0f;
    float mHeight = 0.0f;
    Vector2 mOffset;
};

} // namespace Marrowgate::Core
