#include "orrery/game_bounding_volumes.h"

#include "marrowgate/core/mg_error.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr char kUnitName[] = "game_bounding_volumes";
}

namespace Orrery::Game {

using Marrowgate::Core::Contact3D;
using Marrowgate::Core::Vector3;

namespace {

Vector3 AbsoluteDifference(const Vector3& a, const Vector3& b)
{
    return {std::fabs(a.x - b.x), std::fabs(a.y - b.y), std::fabs(a.z - b.z)};
}

bool BoxesIntersect(const BoundingVolume& a, const BoundingVolume& b)
{
    const Vector3 aHalf = a.GetSize() * 0.5f;
    const Vector3 bHalf = b.GetSize() * 0.5f;
    for (int axis = 0; axis < 3; ++axis) {
        const bool apart = b.center[axis] - bHalf[axis] > a.center[axis] + aHalf[axis] ||
                           a.center[axis] - aHalf[axis] > b.center[axis] + bHalf[axis];
        if (apart) {
            return false;
        }
    }
    return true;
}

bool BoxIntersectsSphere(const BoundingVolume& box, const BoundingVolume& sphere)
{
    const Vector3 half = box.GetSize() * 0.5f;
    const Vector3 distance = AbsoluteDifference(box.center, sphere.center);
    const float radius = sphere.GetSize().x;
    if (distance.x > half.x + radius || distance.y > half.y + radius || distance.z > half.z + radius) {
        return false;
    }
    // Within the box's extent along one axis: the slab test above has already decided.
    if (half.x >= distance.x || half.y >= distance.y || half.z >= distance.z) {
        return true;
    }
    const Vector3 toCorner = distance - half;
    return (toCorner | toCorner) <= radius * radius;
}

bool SpheresIntersect(const BoundingVolume& a, const BoundingVolume& b)
{
    const float reach = a.GetSize().x + b.GetSize().x;
    const Vector3 between = b.center - a.center;
    return reach * reach > (between | between);
}

} // namespace

BoundingVolume::BoundingVolume(float radius) : mSize(radius, -1.0f, -1.0f)
{
    MG_ERROR_IF(radius <= 0.0f, "mgExternalError: Expected parameter radius(%.3f) to be greater than 0.0",
                static_cast<double>(radius));
}

BoundingVolume::BoundingVolume(float width, float height, float depth) : mSize(width, height, depth)
{
    MG_ERROR_IF(width <= 0.0f, "mgExternalError: Expected parameter width(%.3f) to be greater than 0.0",
                static_cast<double>(width));
    MG_ERROR_IF(height <= 0.0f, "mgExternalError: Expected parameter height(%.3f) to be greater than 0.0",
                static_cast<double>(height));
    MG_ERROR_IF(depth <= 0.0f, "mgExternalError: Expected parameter depth(%.3f) to be greater than 0.0",
                static_cast<double>(depth));
}

float BoundingVolume::GetRadius() const
{
    MG_ERROR_IF(!IsSphere(), "mgExternalError: This bounding volume is not a sphere.");
    return mSize.x;
}

bool BoundingVolume::Intersects(const BoundingVolume& other) const
{
    if (IsBox()) {
        return other.IsBox() ? BoxesIntersect(*this, other) : BoxIntersectsSphere(*this, other);
    }
    return other.IsBox() ? BoxIntersectsSphere(other, *this) : SpheresIntersect(*this, other);
}

std::optional<Contact3D> BoundingVolume::ContactWith(const BoundingVolume& other) const
{
    if (!Intersects(other)) {
        return std::nullopt;
    }
    using Marrowgate::Core::ContactOfBallAndBox;
    Contact3D contact;
    if (IsBox()) {
        contact =
            other.IsBox()
                ? Marrowgate::Core::ContactOfBoxes(center, mSize * 0.5f, other.center, other.mSize * 0.5f)
                : ForSecondShape(ContactOfBallAndBox(other.center, other.mSize.x, center, mSize * 0.5f));
    } else {
        contact = other.IsBox()
                      ? ContactOfBallAndBox(center, mSize.x, other.center, other.mSize * 0.5f)
                      : Marrowgate::Core::ContactOfBalls(center, mSize.x, other.center, other.mSize.x);
    }
    // The box-sphere test above also passes spheres just off a box's edge, and rounding may leave
    // touching volumes a hair apart: neither overlaps.
    contact.depth = std::max(contact.depth, 0.0f);
    return contact;
}

} // namespace Orrery::Game
