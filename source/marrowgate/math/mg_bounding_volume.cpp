#include "marrowgate/math/mg_bounding_volume.h"

#include "marrowgate/core/mg_error.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr char kUnitName[] = "mg_bounding_volume";
}

namespace Marrowgate::Core {

namespace {

bool CirclesIntersect(const Vector2& centerA, float radiusA, const Vector2& centerB, float radiusB)
{
    const Vector2 between = centerB - centerA;
    const float reach = radiusA + radiusB;
    return reach * reach > (between | between);
}

bool CircleIntersectsBox(const Vector2& circleCenter, float radius, const Vector2& boxCenter, float width,
                         float height)
{
    const float halfWidth = width * 0.5f;
    const float halfHeight = height * 0.5f;
    const float dx = std::fabs(circleCenter.x - boxCenter.x);
    const float dy = std::fabs(circleCenter.y - boxCenter.y);
    if (dx > halfWidth + radius || dy > halfHeight + radius) {
        return false;
    }
    if (dx <= halfWidth || dy <= halfHeight) {
        return true;
    }
    const float cornerX = dx - halfWidth;
    const float cornerY = dy - halfHeight;
    return radius * radius >= cornerX * cornerX + cornerY * cornerY;
}

bool BoxesIntersect(const Vector2& centerA, float widthA, float heightA, const Vector2& centerB, float widthB,
                    float heightB)
{
    const float leftA = centerA.x - widthA * 0.5f;
    const float rightA = centerA.x + widthA * 0.5f;
    const float topA = centerA.y - heightA * 0.5f;
    const float bottomA = centerA.y + heightA * 0.5f;
    const float leftB = centerB.x - widthB * 0.5f;
    const float rightB = centerB.x + widthB * 0.5f;
    const float topB = centerB.y - heightB * 0.5f;
    const float bottomB = centerB.y + heightB * 0.5f;
    return !(leftA > rightB || leftB > rightA || topA > bottomB || topB > bottomA);
}

} // namespace

BoundingVolume BoundingVolume::Circle(float radius, const Vector2& offset)
{
    return {radius, 0.0f, offset};
}

BoundingVolume BoundingVolume::Box(float width, float height, const Vector2& offset)
{
    return {width, height, offset};
}

BoundingVolume::BoundingVolume(float size, float height, const Vector2& offset)
    : mSize(size), mHeight(height), mOffset(offset)
{}

float BoundingVolume::GetRadius() const
{
    MG_ERROR_IF(IsBox(), "mgExternalError: This bounding volume is not a circle.");
    return mSize;
}

float BoundingVolume::GetWidth() const
{
    MG_ERROR_IF(IsCircle(), "mgExternalError: This bounding volume is not a box.");
    return mSize;
}

float BoundingVolume::GetHeight() const
{
    MG_ERROR_IF(IsCircle(), "mgExternalError: This bounding volume is not a box.");
    return mHeight;
}

bool BoundingVolume::Intersects(const Vector2& center, const BoundingVolume& other,
                                const Vector2& otherCenter) const
{
    if (IsCircle()) {
        return other.IsCircle() ? CirclesIntersect(center, mSize, otherCenter, other.mSize)
                                : CircleIntersectsBox(center, mSize, otherCenter, other.mSize, other.mHeight);
    }
    return other.IsCircle() ? CircleIntersectsBox(otherCenter, other.mSize, center, mSize, mHeight)
                            : BoxesIntersect(center, mSize, mHeight, otherCenter, other.mSize, other.mHeight);
}

std::optional<Contact2D> BoundingVolume::ContactWith(const Vector2& center, const BoundingVolume& other,
                                                     const Vector2& otherCenter) const
{
    if (!Intersects(center, other, otherCenter)) {
        return std::nullopt;
    }
    Contact2D contact;
    if (IsCircle()) {
        contact = other.IsCircle() ? ContactOfBalls(center, mSize, otherCenter, other.mSize)
                                   : ContactOfBallAndBox(center, mSize, otherCenter, other.HalfSize());
    } else {
        contact = other.IsCircle()
                      ? ForSecondShape(ContactOfBallAndBox(otherCenter, other.mSize, center, HalfSize()))
                      : ContactOfBoxes(center, HalfSize(), otherCenter, other.HalfSize());
    }
    // Rounding may leave volumes that the test above saw touching a hair apart.
    contact.depth = std::max(contact.depth, 0.0f);
    return contact;
}

} // namespace Marrowgate::Core
