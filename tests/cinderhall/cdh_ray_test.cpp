// Rays against spheres, boxes, triangles and meshes: hits with their distance, point and normal,
// misses, grazes, starts inside, and the distance limit.

#include "cinderhall/cdh_ray.h"

#include "support/vector_expectations.h"

#include <gtest/gtest.h>

namespace {

using namespace Cinderhall;
using Marrowgate::Core::MatrixCreateScale;
using Marrowgate::Core::MatrixCreateTranslation;
using QuorvaneTest::ExpectNear;

void ExpectHit(const std::optional<RayHit>& hit, float distance, const Vector3& point, const Vector3& normal)
{
    ASSERT_TRUE(hit.has_value());
    EXPECT_NEAR(hit->distance, distance, 1e-4f);
    ExpectNear(hit->point, point);
    ExpectNear(hit->normal, normal);
}

const Ray kAlongX({-5.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f});

TEST(RaySphere, HitsTheNearSideWithAnOutwardNormal)
{
    ExpectHit(IntersectRaySphere(kAlongX, {0.0f, 0.0f, 0.0f}, 1.0f), 4.0f, {-1.0f, 0.0f, 0.0f},
              {-1.0f, 0.0f, 0.0f});
    // The direction need not be given with unit length.
    const Ray diagonal({0.0f, 5.0f, 5.0f}, {0.0f, -3.0f, -3.0f});
    const float toSurface = std::sqrt(50.0f) - 2.0f;
    ExpectHit(IntersectRaySphere(diagonal, {0.0f, 0.0f, 0.0f}, 2.0f), toSurface,
              Vector3(0.0f, 1.0f, 1.0f) * std::sqrt(2.0f), Vector3(0.0f, 1.0f, 1.0f).GetNormalized());
}

TEST(RaySphere, MissesBesideBehindAndBeyondTheLimit)
{
    EXPECT_FALSE(IntersectRaySphere(kAlongX, {0.0f, 1.001f, 0.0f}, 1.0f));
    EXPECT_FALSE(IntersectRaySphere(kAlongX, {-7.0f, 0.0f, 0.0f}, 1.0f)) << "behind the origin";
    EXPECT_FALSE(IntersectRaySphere(kAlongX, {0.0f, 0.0f, 0.0f}, 1.0f, 3.999f));
    EXPECT_TRUE(IntersectRaySphere(kAlongX, {0.0f, 0.0f, 0.0f}, 1.0f, 4.0f)) << "the limit itself counts";
}

TEST(RaySphere, AGrazeTouchesAtOnePoint)
{
    ExpectHit(IntersectRaySphere(kAlongX, {0.0f, 1.0f, 0.0f}, 1.0f), 5.0f, {0.0f, 0.0f, 0.0f},
              {0.0f, -1.0f, 0.0f});
}

TEST(RaySphere, AStartInsideOrOnTheSurfaceHitsAtOnce)
{
    ExpectHit(IntersectRaySphere(kAlongX, {-5.5f, 0.0f, 0.0f}, 1.0f), 0.0f, {-5.0f, 0.0f, 0.0f},
              {-1.0f, 0.0f, 0.0f});
    ExpectHit(IntersectRaySphere(kAlongX, {-6.0f, 0.0f, 0.0f}, 1.0f), 0.0f, {-5.0f, 0.0f, 0.0f},
              {-1.0f, 0.0f, 0.0f});
}

TEST(RayBox, HitsTheFaceItEntersWithThatFacesNormal)
{
    const Vector3 size(2.0f, 4.0f, 6.0f);
    ExpectHit(IntersectRayBox(kAlongX, {0.0f, 0.0f, 0.0f}, size), 4.0f, {-1.0f, 0.0f, 0.0f},
              {-1.0f, 0.0f, 0.0f});
    const Ray down({0.5f, 10.0f, 2.0f}, {0.0f, -1.0f, 0.0f});
    ExpectHit(IntersectRayBox(down, {0.0f, 0.0f, 0.0f}, size), 8.0f, {0.5f, 2.0f, 2.0f}, {0.0f, 1.0f, 0.0f});
    // Entering through an edge region at a slant: the face crossed last decides.
    const Ray slanted({-3.0f, 0.0f, -5.0f}, {1.0f, 0.0f, 1.0f});
    ExpectHit(IntersectRayBox(slanted, {0.0f, 0.0f, 0.0f}, size), std::sqrt(8.0f), {-1.0f, 0.0f, -3.0f},
              {-1.0f, 0.0f, 0.0f});
}

TEST(RayBox, MissesBesideBehindAndBeyondTheLimit)
{
    const Vector3 size(2.0f, 2.0f, 2.0f);
    EXPECT_FALSE(IntersectRayBox(kAlongX, {0.0f, 1.001f, 0.0f}, size));
    EXPECT_FALSE(IntersectRayBox(kAlongX, {-8.0f, 0.0f, 0.0f}, size));
    EXPECT_FALSE(IntersectRayBox(kAlongX, {0.0f, 0.0f, 0.0f}, size, 3.5f));
    // Passing a corner diagonally outside.
    EXPECT_FALSE(IntersectRayBox(Ray({-5.0f, -2.9f, 0.0f}, {1.0f, 1.0f, 0.0f}), {0.0f, 0.0f, 0.0f}, size));
}

TEST(RayBox, GrazingAFaceOrAnEdgeHits)
{
    const Vector3 size(2.0f, 2.0f, 2.0f);
    // Along the top face, parallel to it.
    ExpectHit(IntersectRayBox(kAlongX, {0.0f, -1.0f, 0.0f}, size), 4.0f, {-1.0f, 0.0f, 0.0f},
              {-1.0f, 0.0f, 0.0f});
    // Along an edge.
    ExpectHit(IntersectRayBox(kAlongX, {0.0f, -1.0f, 1.0f}, size), 4.0f, {-1.0f, 0.0f, 0.0f},
              {-1.0f, 0.0f, 0.0f});
}

TEST(RayBox, AStartInsideHitsAtOnceAndAZeroSizeBoxIsAPoint)
{
    ExpectHit(IntersectRayBox(kAlongX, {-5.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}), 0.0f, {-5.0f, 0.0f, 0.0f},
              {-1.0f, 0.0f, 0.0f});
    ExpectHit(IntersectRayBox(kAlongX, {2.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}), 7.0f, {2.0f, 0.0f, 0.0f},
              {-1.0f, 0.0f, 0.0f});
    EXPECT_FALSE(IntersectRayBox(kAlongX, {2.0f, 0.001f, 0.0f}, {0.0f, 0.0f, 0.0f}));
}

// A right triangle in the plane z = 0 with its right angle at the origin.
const Vector3 kA(0.0f, 0.0f, 0.0f);
const Vector3 kB(2.0f, 0.0f, 0.0f);
const Vector3 kC(0.0f, 2.0f, 0.0f);

TEST(RayTriangle, HitsFromEitherSideWithTheNormalFacingTheRay)
{
    const Ray fromFront({0.5f, 0.5f, 3.0f}, {0.0f, 0.0f, -1.0f});
    ExpectHit(IntersectRayTriangle(fromFront, kA, kB, kC), 3.0f, {0.5f, 0.5f, 0.0f}, {0.0f, 0.0f, 1.0f});
    const Ray fromBack({0.5f, 0.5f, -2.0f}, {0.0f, 0.0f, 1.0f});
    ExpectHit(IntersectRayTriangle(fromBack, kA, kB, kC), 2.0f, {0.5f, 0.5f, 0.0f}, {0.0f, 0.0f, -1.0f});
}

TEST(RayTriangle, EdgesAndCornersHitAndOutsideMisses)
{
    const auto down = [](float x, float y) { return Ray({x, y, 1.0f}, {0.0f, 0.0f, -1.0f}); };
    EXPECT_TRUE(IntersectRayTriangle(down(1.0f, 1.0f), kA, kB, kC)) << "on the long edge";
    EXPECT_TRUE(IntersectRayTriangle(down(2.0f, 0.0f), kA, kB, kC)) << "on a corner";
    EXPECT_FALSE(IntersectRayTriangle(down(1.01f, 1.0f), kA, kB, kC));
    EXPECT_FALSE(IntersectRayTriangle(down(-0.01f, 0.5f), kA, kB, kC));
}

TEST(RayTriangle, MissesInItsPlaneBehindAndBeyondTheLimit)
{
    EXPECT_FALSE(IntersectRayTriangle(Ray({-1.0f, 0.5f, 0.0f}, {1.0f, 0.0f, 0.0f}), kA, kB, kC));
    EXPECT_FALSE(IntersectRayTriangle(Ray({0.5f, 0.5f, -1.0f}, {0.0f, 0.0f, -1.0f}), kA, kB, kC));
    EXPECT_FALSE(IntersectRayTriangle(Ray({0.5f, 0.5f, 3.0f}, {0.0f, 0.0f, -1.0f}), kA, kB, kC, 2.9f));
    EXPECT_FALSE(IntersectRayTriangle(Ray({0.5f, 0.5f, 3.0f}, {0.0f, 0.0f, 0.0f}), kA, kB, kC));
    EXPECT_FALSE(IntersectRayTriangle(Ray({0.5f, 0.5f, 3.0f}, {0.0f, 0.0f, -1.0f}), kA, kB, kB))
        << "a triangle with no area";
}

// Two squares' worth of triangles: one at z = 0 and one at z = -1, both 2 x 2 around the z axis.
MeshData TwoPanels()
{
    MeshData mesh;
    for (float z : {0.0f, -1.0f}) {
        for (auto [x, y] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}}) {
            Marrowgate::Graphics::Vertex3D vertex;
            vertex.x = x;
            vertex.y = y;
            vertex.z = z;
            mesh.vertices.push_back(vertex);
        }
    }
    mesh.indices = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7};
    return mesh;
}

TEST(RayMesh, TheNearestTriangleWinsInWorldUnits)
{
    const MeshData mesh = TwoPanels();
    const Ray fromFront({0.2f, 0.3f, 5.0f}, {0.0f, 0.0f, -1.0f});
    ExpectHit(IntersectRayMesh(fromFront, mesh, Matrix4()), 5.0f, {0.2f, 0.3f, 0.0f}, {0.0f, 0.0f, 1.0f});
    const Ray fromBehind({0.2f, 0.3f, -5.0f}, {0.0f, 0.0f, 1.0f});
    ExpectHit(IntersectRayMesh(fromBehind, mesh, Matrix4()), 4.0f, {0.2f, 0.3f, -1.0f}, {0.0f, 0.0f, -1.0f});
    EXPECT_FALSE(IntersectRayMesh(Ray({1.5f, 0.0f, 5.0f}, {0.0f, 0.0f, -1.0f}), mesh, Matrix4()));
}

TEST(RayMesh, TheTransformMovesAndStretchesTheMeshButNotTheDistances)
{
    const MeshData mesh = TwoPanels();
    // Scaled by 3 in depth, then moved 10 along z: the panels lie at z = 10 and z = 7.
    const Matrix4 transform =
        MatrixCreateScale(1.0f, 1.0f, 3.0f) * MatrixCreateTranslation(0.0f, 0.0f, 10.0f);
    const Ray fromBehind({0.2f, 0.3f, 0.0f}, {0.0f, 0.0f, 1.0f});
    ExpectHit(IntersectRayMesh(fromBehind, mesh, transform), 7.0f, {0.2f, 0.3f, 7.0f}, {0.0f, 0.0f, -1.0f});

    // A slanted panel under a non-uniform scale keeps its normal at right angles to the surface.
    MeshData slope;
    slope.vertices.resize(3);
    slope.vertices[1].x = 1.0f;
    slope.vertices[2].z = -1.0f;
    slope.vertices[2].y = 1.0f; // in the plane y + z = 0
    slope.indices = {0, 1, 2};
    const std::optional<RayHit> hit = IntersectRayMesh(Ray({0.1f, 5.0f, -0.2f}, {0.0f, -1.0f, 0.0f}), slope,
                                                       MatrixCreateScale(1.0f, 2.0f, 1.0f));
    ASSERT_TRUE(hit);
    // Stretched by 2 in y the plane is y + 2z = 0, whose normal is (0, 1, 2) / sqrt 5.
    ExpectNear(hit->normal, Vector3(0.0f, 1.0f, 2.0f).GetNormalized());
    EXPECT_NEAR(hit->point.y + 2.0f * hit->point.z, 0.0f, 1e-5f);
}

TEST(RayMesh, AMeshWithNodesIsHitWhereItsNodesPutItsTriangles)
{
    // The front panel belongs to a node moved 5 along x; the back panel to no node.
    MeshData data = TwoPanels();
    MeshNode moved;
    moved.firstValue = 0;
    moved.secondValue = 2;
    moved.transform = MatrixCreateTranslation(5.0f, 0.0f, 0.0f);
    data.nodes.push_back(moved);
    const Mesh mesh(data);
    const Matrix4 lifted = MatrixCreateTranslation(0.0f, 10.0f, 0.0f);
    const Ray atTheMovedPanel({5.2f, 10.3f, 5.0f}, {0.0f, 0.0f, -1.0f});
    ExpectHit(IntersectRayMesh(atTheMovedPanel, mesh, lifted), 5.0f, {5.2f, 10.3f, 0.0f}, {0.0f, 0.0f, 1.0f});
    const Ray atTheOrigin({0.2f, 10.3f, 5.0f}, {0.0f, 0.0f, -1.0f});
    ExpectHit(IntersectRayMesh(atTheOrigin, mesh, lifted), 6.0f, {0.2f, 10.3f, -1.0f}, {0.0f, 0.0f, 1.0f});
    // The arrays alone know nothing of nodes.
    ExpectHit(IntersectRayMesh(atTheOrigin, data, lifted), 5.0f, {0.2f, 10.3f, 0.0f}, {0.0f, 0.0f, 1.0f});
}

TEST(RayMesh, AFlattenedOrEmptyMeshIsNeverHit)
{
    const Ray fromFront({0.2f, 0.3f, 5.0f}, {0.0f, 0.0f, -1.0f});
    EXPECT_FALSE(IntersectRayMesh(fromFront, TwoPanels(), MatrixCreateScale(1.0f, 0.0f, 1.0f)));
    EXPECT_FALSE(IntersectRayMesh(fromFront, MeshData(), Matrix4()));
}

} // namespace
