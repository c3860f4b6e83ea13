#pragma once
/// Contacts between two overlapping shapes: which way the first must move to leave the second,
/// how far, and where they meet. For the shapes of the bounding volumes in two and three
/// dimensions: balls (circles, spheres) and axis-aligned boxes, given by centre and radius or
/// centre and half size (zero sizes allowed).
/// @file
/// Every answer is for the first shape: `normal` is a unit vector pointing from the second
/// shape towards the first, so moving the first by normal * depth (or the second by
/// -normal * depth) separates them; `depth` is 0 when they just touch and negative, by the gap
/// along the normal, when they are apart; `point` lies midway between the two surfaces along
/// the normal (the meeting point when they touch). Boxes leave each other along the axis of
/// least overlap; a ball inside a box leaves through the nearest face. Where two axes serve
/// equally, y wins, then x, then z; where there is no direction at all (one centre on the
/// other), the first shape leaves towards +y.
/// Depends on: math (vectors). No allocation, no state.

#include "marrowgate/math/mg_vector.h"

namespace Marrowgate::Core {

template <typename Vector> struct Contact
{
    Vector normal;
    float depth = 0.0f;
    Vector point;
};

using Contact2D = Contact<Vector2>;
using Contact3D = Contact<Vector3>;

template <typename Vector>
Contact<Vector> ContactOfBalls(const Vector& centerA, float radiusA, const Vector& centerB, float radiusB);
template <typename Vector>
Contact<Vector> ContactOfBallAndBox(const Vector& ballCenter, float radius, const Vector& boxCenter,
                                    const Vector& boxHalfSize);
template <typename Vector>
Contact<Vector> ContactOfBoxes(const Vector& centerA, const Vector& halfSizeA, const Vector& centerB,
                               const Vector& halfSizeB);

// The same contact seen from the second shape: the normal turned round.
template <typename Vector> Contact<Vector> ForSecondShape(Contact<Vector> contact)
{
    contact.normal = -contact.normal;
    return contact;
}

// Compiled once, in mg_contact.cpp, for both dimensions.
extern template Contact2D ContactOfBalls(const Vector2&, float, const Vector2&, float);
extern template Contact3D ContactOfBalls(const Vector3&, float, const Vector3&, float);
extern template Contact2D ContactOfBallAndBox(const Vector2&, float, const Vector2&, const Vector2&);
extern template Contact3D ContactOfBallAndBox(const Vector3&, float, const Vector3&, const Vector3&);
extern template Contact2D ContactOfBoxes(const Vector2&, const Vector2&, const Vector2&, const Vector2&);
extern template Contact3D ContactOfBoxes(const Vector3&, const Vector3&, const Vector3&, const Vector3&);

} // namespace Marrowgate::Core
