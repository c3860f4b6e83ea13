#include "gl_fixture.h"

#include <cstdlib>
#include <utility>
#include <vector>

namespace CinderhallTest {

std::unique_ptr<Cinderhall::Mesh> MakeTestCube()
{
    std::vector<Cinderhall::Vertex3D> vertices;
    std::vector<std::uint32_t> indices;
    using Cinderhall::Vector3;
    const Vector3 normals[] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const Vector3& normal : normals) {
        const Vector3 up = normal.y != 0.0f ? Vector3(0, 0, -normal.y) : Vector3(0, 1, 0);
        const Vector3 right = Marrowgate::Core::CrossProduct(up, normal);
        const auto first = static_cast<std::uint32_t>(vertices.size());
        for (const auto& [across, along] :
             {std::pair{-1.0f, -1.0f}, {-1.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, -1.0f}}) {
            Cinderhall::Vertex3D vertex;
            vertex.x = normal.x + across * right.x + along * up.x;
            vertex.y = normal.y + across * right.y + along * up.y;
            vertex.z = normal.z + across * right.z + along * up.z;
            vertex.normalX = normal.x;
            vertex.normalY = normal.y;
            vertex.normalZ = normal.z;
            vertex.u = (across + 1.0f) * 0.5f;
            vertex.v = (along + 1.0f) * 0.5f;
            vertex.color = 0xFFFFFFFFu;
            vertices.push_back(vertex);
        }
        for (std::uint32_t corner : {0u, 1u, 2u, 0u, 2u, 3u}) {
            indices.push_back(first + corner);
        }
    }
    return Cinderhall::CreateMeshFromData(vertices, indices,
                                          Cinderhall::kPositions | Cinderhall::kNormals |
                                              Cinderhall::kColors | Cinderhall::kTextureCoordinates);
}

bool ColorNear(const GLTestContext& context, int x, int y, Rgba expected)
{
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const Rgba pixel = context.ReadPixel(x + dx, y + dy);
            bool same = true;
            for (int channel = 0; channel < 3; ++channel) {
                same = same && std::abs(pixel[channel] - expected[channel]) <= 3;
            }
            if (same) {
                return true;
            }
        }
    }
    return false;
}

} // namespace CinderhallTest
