// The shipped meshes against what the game assumes of them: sizes that match the collision
// shapes, the car facing +z on the ground, the chip standing on the ground from height 0.5,
// and triangles wound for the renderer's clockwise front faces.
#include "cinderhall/cdh_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

namespace {

using Marrowgate::Graphics::Vertex3D;

struct Bounds
{
    float minimum[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                        std::numeric_limits<float>::max()};
    float maximum[3] = {-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                        -std::numeric_limits<float>::max()};
};

Bounds BoundsOf(const std::vector<Vertex3D>& vertices)
{
    Bounds bounds;
    for (const Vertex3D& vertex : vertices) {
        const float position[3] = {vertex.x, vertex.y, vertex.z};
        for (int axis = 0; axis < 3; ++axis) {
            bounds.minimum[axis] = std::min(bounds.minimum[axis], position[axis]);
            bounds.maximum[axis] = std::max(bounds.maximum[axis], position[axis]);
        }
    }
    return bounds;
}

const Cinderhall::MeshData& Load(const std::string& path, std::unique_ptr<Cinderhall::Mesh>& holder)
{
    holder = Cinderhall::LoadMeshFromFile(QUORVANE_SOURCE_DIR "/" + path);
    static const Cinderhall::MeshData empty;
    return holder != nullptr ? holder->GetData() : empty;
}

// Seen from outside a triangle must turn clockwise, so the normal its corners give by the
// right-hand rule points into the solid, against the stored outward normal.
int CountTrianglesFacingOutwards(const Cinderhall::MeshData& mesh)
{
    int wrong = 0;
    for (std::size_t index = 0; index + 2 < mesh.indices.size(); index += 3) {
        const Vertex3D& a = mesh.vertices[mesh.indices[index]];
        const Vertex3D& b = mesh.vertices[mesh.indices[index + 1]];
        const Vertex3D& c = mesh.vertices[mesh.indices[index + 2]];
        const float ab[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
        const float ac[3] = {c.x - a.x, c.y - a.y, c.z - a.z};
        const float cross[3] = {ab[1] * ac[2] - ab[2] * ac[1], ab[2] * ac[0] - ab[0] * ac[2],
                                ab[0] * ac[1] - ab[1] * ac[0]};
        const float normal[3] = {a.normalX + b.normalX + c.normalX, a.normalY + b.normalY + c.normalY,
                                 a.normalZ + b.normalZ + c.normalZ};
        wrong += cross[0] * normal[0] + cross[1] * normal[1] + cross[2] * normal[2] > 0.0f ? 1 : 0;
    }
    return wrong;
}

TEST(GameMeshesTest, TheCarIsAboutTwoUnitsLongOnTheGroundAndFitsItsCollisionSphereSideways)
{
    std::unique_ptr<Cinderhall::Mesh> holder;
    const Cinderhall::MeshData& car = Load("data/mesh/car.msh", holder);
    ASSERT_GE(car.indices.size(), 3u);
    const Bounds bounds = BoundsOf(car.vertices);
    EXPECT_NEAR(bounds.maximum[2] - bounds.minimum[2], 2.0f, 0.2f);
    EXPECT_NEAR(bounds.minimum[1], 0.0f, 1e-6f);
    EXPECT_LT(bounds.maximum[1], 1.0f);
    EXPECT_LT(bounds.maximum[0], 0.762f);
    EXPECT_GT(bounds.minimum[0], -0.762f);
    EXPECT_EQ(CountTrianglesFacingOutwards(car), 0);
}

TEST(GameMeshesTest, TheCarsHeadlightsAreAtPlusZAndItsTailLightsAtMinusZ)
{
    std::unique_ptr<Cinderhall::Mesh> holder;
    const Cinderhall::MeshData& car = Load("data/mesh/car.msh", holder);
    // Vertex colours read R, G, B, A in memory: red in the lowest byte.
    float headlightZ = 0.0f;
    float tailLightZ = 0.0f;
    for (const Vertex3D& vertex : car.vertices) {
        const unsigned red = vertex.color & 0xFF;
        const unsigned green = (vertex.color >> 8) & 0xFF;
        const unsigned blue = (vertex.color >> 16) & 0xFF;
        if (red > 240 && green > 230 && blue > 150) {
            headlightZ = std::max(headlightZ, vertex.z);
        }
        if (red > 240 && green < 60 && blue < 60) {
            tailLightZ = std::min(tailLightZ, vertex.z);
        }
    }
    EXPECT_GT(headlightZ, 0.95f);
    EXPECT_LT(tailLightZ, -0.95f);
}

TEST(GameMeshesTest, TheChipFitsItsUnitBoxAndReachesDownToTheGround)
{
    std::unique_ptr<Cinderhall::Mesh> holder;
    const Cinderhall::MeshData& chip = Load("data/mesh/quor.msh", holder);
    ASSERT_GE(chip.indices.size(), 3u);
    const Bounds bounds = BoundsOf(chip.vertices);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_GE(bounds.minimum[axis], -0.5f) << "axis " << axis;
        EXPECT_LE(bounds.maximum[axis], 0.5f) << "axis " << axis;
    }
    // The chip's entity sits at height 0.5, so -0.5 is the ground.
    EXPECT_FLOAT_EQ(bounds.minimum[1], -0.5f);
    EXPECT_EQ(CountTrianglesFacingOutwards(chip), 0);
}

} // namespace
