#include "marrowgate/math/mg_contact.h"

#include <algorithm>
#include <cmath>

namespace Marrowgate::Core {

namespace {

// The order in which axes win ties, for both dimensions (2D uses the first two).
constexpr int kAxesByPreference[] = {1, 0, 2};

template <typename Vector> Vector AlongAxis(int axis, float value)
{
    Vector result;
    result[axis] = value;
    return result;
}

// Away from the second centre along the axis; +1 when the centres share the coordinate.
float SignAway(float offset)
{
    return offset < 0.0f ? -1.0f : 1.0f;
}

// The axis with the smallest value, ties going to the preferred axis.
template <typename Vector> int SmallestAxis(const Vector& values)
{
    int smallest = kAxesByPreference[0];
    for (int rank = 1; rank < Vector::kSize; ++rank) {
        const int axis = kAxesByPreference[rank];
        if (values[axis] < values[smallest]) {
            smallest = axis;
        }
    }
    return smallest;
}

// The contact whose first surface is met at firstSurface and second at secondSurface.
template <typename Vector>
Contact<Vector> Between(const Vector& normal, float depth, const Vector& firstSurface,
                        const Vector& secondSurface)
{
    return {normal, depth, (firstSurface + secondSurface) * 0.5f};
}

} // namespace

template <typename Vector>
Contact<Vector> ContactOfBalls(const Vector& centerA, float radiusA, const Vector& centerB, float radiusB)
{
    const Vector offset = centerA - centerB;
    const float distance = offset.Magnitude();
    const Vector normal = IsZero(distance) ? AlongAxis<Vector>(1, 1.0f) : offset / distance;
    return Between(normal, radiusA + radiusB - distance, centerA - normal * radiusA,
                   centerB + normal * radiusB);
}

template <typename Vector>
Contact<Vector> ContactOfBallAndBox(const Vector& ballCenter, float radius, const Vector& boxCenter,
                                    const Vector& boxHalfSize)
{
    const Vector offset = ballCenter - boxCenter;
    Vector half;
    Vector nearestOnBox;
    Vector toFaces;
    bool inside = true;
    for (int axis = 0; axis < Vector::kSize; ++axis) {
        // A box of negative size is taken as flat rather than handed to clamp the wrong way round.
        half[axis] = std::max(boxHalfSize[axis], 0.0f);
        nearestOnBox[axis] = boxCenter[axis] + std::clamp(offset[axis], -half[axis], half[axis]);
        toFaces[axis] = half[axis] - std::fabs(offset[axis]);
        inside = inside && toFaces[axis] >= 0.0f;
    }
    if (!inside) {
        const Vector outward = ballCenter - nearestOnBox;
        const float distance = outward.Magnitude();
        const Vector normal = outward / distance;
        return Between(normal, radius - distance, ballCenter - normal * radius, nearestOnBox);
    }
    // The centre is in the box (or on its surface): out through the nearest face.
    const int axis = SmallestAxis(toFaces);
    const Vector normal = AlongAxis<Vector>(axis, SignAway(offset[axis]));
    Vector onFace = ballCenter;
    onFace[axis] = boxCenter[axis] + normal[axis] * half[axis];
    return Between(normal, radius + toFaces[axis], ballCenter - normal * radius, onFace);
}

template <typename Vector>
Contact<Vector> ContactOfBoxes(const Vector& centerA, const Vector& halfSizeA, const Vector& centerB,
                               const Vector& halfSizeB)
{
    const Vector offset = centerA - centerB;
    Vector overlap;
    Vector point;
    for (int axis = 0; axis < Vector::kSize; ++axis) {
        overlap[axis] = halfSizeA[axis] + halfSizeB[axis] - std::fabs(offset[axis]);
        // The middle of the span both boxes share on this axis (of the gap when they do not).
        const float low = std::max(centerA[axis] - halfSizeA[axis], centerB[axis] - halfSizeB[axis]);
        const float high = std::min(centerA[axis] + halfSizeA[axis], centerB[axis] + halfSizeB[axis]);
        point[axis] = (low + high) * 0.5f;
    }
    const int axis = SmallestAxis(overlap);
    return {AlongAxis<Vector>(axis, SignAway(offset[axis])), overlap[axis], point};
}

template Contact2D ContactOfBalls(const Vector2&, float, const Vector2&, float);
template Contact3D ContactOfBalls(const Vector3&, float, const Vector3&, float);
template Contact2D ContactOfBallAndBox(const Vector2&, float, const Vector2&, const Vector2&);
template Contact3D ContactOfBallAndBox(const Vector3&, float, const Vector3&, const Vector3&);
template Contact2D ContactOfBoxes(const Vector2&, const Vector2&, const Vector2&, const Vector2&);
template Contact3D ContactOfBoxes(const Vector3&, const Vector3&, const Vector3&, const Vector3&);

} // namespace Marrowgate::Core
