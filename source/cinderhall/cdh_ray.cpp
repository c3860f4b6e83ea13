#include "cinderhall/cdh_ray.h"

#include <algorithm>
#include <cmath>

namespace {

using Cinderhall::Ray;
using Cinderhall::RayHit;
using Cinderhall::Vector3;

// Determinants below this (relative to the triangle's and the direction's sizes) mean the ray runs in the
// triangle's plane.
constexpr float kParallelTolerance = 1e-8f;

bool HasDirection(const Ray& ray)
{
    return ray.direction.MagnitudeSquared() > 0.0f;
}

RayHit HitFromInside(const Ray& ray)
{
    return {0.0f, ray.origin, -ray.direction};
}

} // namespace

namespace Cinderhall {

std::optional<RayHit> IntersectRaySphere(const Ray& ray, const Vector3& center, float radius,
                                         float maximumDistance)
{
    if (!HasDirection(ray)) {
        return std::nullopt;
    }
    const Vector3 fromCenter = ray.origin - center;
    const float along = fromCenter | ray.direction;
    const float outside = fromCenter.MagnitudeSquared() - radius * radius;
    if (outside <= 0.0f) {
        return HitFromInside(ray);
    }
    const float discriminant = along * along - outside;
    if (along > 0.0f || discriminant < 0.0f) {
        return std::nullopt; // heading away, or passing by
    }
    const float distance = -along - std::sqrt(discriminant);
    if (distance > maximumDistance) {
        return std::nullopt;
    }
    const Vector3 point = ray.PointAt(distance);
    return RayHit{distance, point, (point - center).GetNormalized()};
}

std::optional<RayHit> IntersectRayBox(const Ray& ray, const Vector3& center, const Vector3& size,
                                      float maximumDistance)
{
    if (!HasDirection(ray)) {
        return std::nullopt;
    }
    // Slabs: the ray is inside the box between the latest entry and the earliest exit.
    float entry = -INFINITY;
    float exit = INFINITY;
    int entryAxis = -1;
    for (int axis = 0; axis < 3; ++axis) {
        const float low = center[axis] - size[axis] * 0.5f;
        const float high = center[axis] + size[axis] * 0.5f;
        const float origin = ray.origin[axis];
        const float direction = ray.direction[axis];
        if (direction == 0.0f) {
            // Parallel to this slab: inside it (faces included) for ever, or never.
            if (origin < low || origin > high) {
                return std::nullopt;
            }
            continue;
        }
        float near = (low - origin) / direction;
        float far = (high - origin) / direction;
        if (near > far) {
            std::swap(near, far);
        }
        if (near > entry) {
            entry = near;
            entryAxis = axis;
        }
        exit = std::fmin(exit, far);
    }
    if (entry > exit || exit < 0.0f) {
        return std::nullopt;
    }
    if (entry <= 0.0f) {
        return HitFromInside(ray);
    }
    if (entry > maximumDistance) {
        return std::nullopt;
    }
    Vector3 normal;
    normal[entryAxis] = ray.direction[entryAxis] > 0.0f ? -1.0f : 1.0f;
    return RayHit{entry, ray.PointAt(entry), normal};
}

std::optional<RayHit> IntersectRayTriangle(const Ray& ray, const Vector3& first, const Vector3& second,
                                           const Vector3& third, float maximumDistance)
{
    // Möller and Trumbore: solve origin + t direction = first + u edge1 + v edge2.
    const Vector3 edge1 = second - first;
    const Vector3 edge2 = third - first;
    const Vector3 across = ray.direction ^ edge2;
    const float determinant = edge1 | across;
    const float scale =
        edge1.MagnitudeSquared() * edge2.MagnitudeSquared() * ray.direction.MagnitudeSquared();
    if (!HasDirection(ray) || determinant * determinant <= kParallelTolerance * kParallelTolerance * scale) {
        return std::nullopt;
    }
    const Vector3 fromFirst = ray.origin - first;
    const float u = (fromFirst | across) / determinant;
    if (u < 0.0f || u > 1.0f) {
        return std::nullopt;
    }
    const Vector3 upward = fromFirst ^ edge1;
    const float v = (ray.direction | upward) / determinant;
    if (v < 0.0f || u + v > 1.0f) {
        return std::nullopt;
    }
    const float distance = (edge2 | upward) / determinant;
    if (distance < 0.0f || distance > maximumDistance) {
        return std::nullopt;
    }
    Vector3 normal = (edge1 ^ edge2).GetNormalized();
    if ((normal | ray.direction) > 0.0f) {
        normal = -normal;
    }
    return RayHit{distance, ray.PointAt(distance), normal};
}

namespace {

// The nearest hit among the triangles [firstIndex, firstIndex + indexCount) of the arrays.
std::optional<RayHit> IntersectRayTriangles(const Ray& ray, const MeshData& mesh, std::size_t firstIndex,
                                            std::size_t indexCount, const Matrix4& transform,
                                            float maximumDistance)
{
    if (Marrowgate::Core::IsZero(transform.Determinant())) {
        return std::nullopt; // flattened to nothing: no surface to hit
    }
    // The ray goes into the mesh's own space rather than every vertex into the world. An affine
    // map keeps the ray's parameter, so with the direction left unnormalised there a local
    // distance is the world distance.
    const Matrix4 toMesh = transform.ComputeInverse();
    Ray local;
    local.origin = Marrowgate::Core::TransformCoordinate(ray.origin, toMesh);
    local.direction = Marrowgate::Core::TransformNormal(ray.direction, toMesh);
    const auto position = [&](std::uint32_t vertex) {
        return Vector3(mesh.vertices[vertex].x, mesh.vertices[vertex].y, mesh.vertices[vertex].z);
    };
    std::optional<RayHit> nearest;
    const std::size_t end = std::min(mesh.indices.size() / 3 * 3, firstIndex + indexCount / 3 * 3);
    for (std::size_t index = firstIndex; index < end; index += 3) {
        const std::uint32_t a = mesh.indices[index];
        const std::uint32_t b = mesh.indices[index + 1];
        const std::uint32_t c = mesh.indices[index + 2];
        if (a >= mesh.vertices.size() || b >= mesh.vertices.size() || c >= mesh.vertices.size()) {
            continue;
        }
        const float limit = nearest ? nearest->distance : maximumDistance;
        if (auto hit = IntersectRayTriangle(local, position(a), position(b), position(c), limit)) {
            nearest = hit;
        }
    }
    if (nearest) {
        // Normals go back through the inverse transpose, which keeps them at right angles to
        // surfaces that a non-uniform scale has stretched.
        nearest->point = ray.PointAt(nearest->distance);
        nearest->normal =
            Marrowgate::Core::TransformNormal(nearest->normal, toMesh.GetTransposed()).GetNormalized();
    }
    return nearest;
}

} // namespace

std::optional<RayHit> IntersectRayMesh(const Ray& ray, const MeshData& mesh, const Matrix4& transform,
                                       float maximumDistance)
{
    return IntersectRayTriangles(ray, mesh, 0, mesh.indices.size(), transform, maximumDistance);
}

std::optional<RayHit> IntersectRayMesh(const Ray& ray, const Mesh& mesh, const Matrix4& transform,
                                       float maximumDistance)
{
    std::optional<RayHit> nearest;
    for (const MeshPiece& piece : mesh.GetPieces()) {
        // The piece's node transform applies first, then the mesh's.
        const Matrix4 placement = piece.isTransformed ? piece.transform * transform : transform;
        const float limit = nearest ? nearest->distance : maximumDistance;
        if (auto hit = IntersectRayTriangles(ray, mesh.GetData(), piece.firstIndex, piece.indexCount,
                                             placement, limit)) {
            nearest = hit;
        }
    }
    return nearest;
}

} // namespace Cinderhall
