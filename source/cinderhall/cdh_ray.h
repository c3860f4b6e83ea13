#pragma once
/// Rays and what they hit: spheres, axis-aligned boxes, triangles and triangle meshes, in world
/// units, for picking and line-of-sight tests.
/// @file
/// A Ray has an origin and a unit direction; a hit reports its distance along the ray (so the
/// point is origin + direction x distance), the point and a unit normal.
///  - Spheres and boxes are solids: a ray that starts inside one hits it at distance 0, at its
///    origin, with the normal facing back along the ray. A ray that only grazes one (touching
///    it at a single point or along a face) hits it.
///  - Triangles are surfaces seen from both sides: the normal faces the ray's origin. A ray
///    through an edge or a corner hits; a ray in the triangle's plane misses.
///  - Nothing is hit behind the origin or beyond the largest distance asked for.
/// Depends on: math, meshes' arrays and pieces (no GPU).

#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_mesh_format.h"
#include "marrowgate/math/mg_matrix.h"
#include "marrowgate/math/mg_vector.h"

#include <limits>
#include <optional>

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

struct RayHit
{
    float distance = 0.0f;
    Vector3 point;
    Vector3 normal;
};

inline constexpr float kUnlimitedRayDistance = std::numeric_limits<float>::max();

std::optional<RayHit> IntersectRaySphere(const Ray& ray, const Vector3& center, float radius,
                                         float maximumDistance = kUnlimitedRayDistance);
// An axis-aligned box of the given width, height and depth around its centre.
std::optional<RayHit> IntersectRayBox(const Ray& ray, const Vector3& center, const Vector3& size,
                                      float maximumDistance = kUnlimitedRayDistance);
std::optional<RayHit> IntersectRayTriangle(const Ray& ray, const Vector3& first, const Vector3& second,
                                           const Vector3& third,
                                           float maximumDistance = kUnlimitedRayDistance);
// The nearest of the mesh's triangles, placed in the world by `transform` (any affine transform,
// scale included); distances stay in world units. The arrays' form takes the triangles as
// stored; the mesh's form places them as it draws them, node transforms included.
std::optional<RayHit> IntersectRayMesh(const Ray& ray, const MeshData& mesh, const Matrix4& transform,
                                       float maximumDistance = kUnlimitedRayDistance);
std::optional<RayHit> IntersectRayMesh(const Ray& ray, const Mesh& mesh, const Matrix4& transform,
                                       float maximumDistance = kUnlimitedRayDistance);

} // namespace Cinderhall
