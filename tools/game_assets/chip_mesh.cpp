#include "game_meshes.h"

#include <algorithm>
#include <cmath>

namespace GameAssets {

namespace {

const Rgba kPackage = MakeRgba(0.16f, 0.16f, 0.19f);
const Rgba kGold = MakeRgba(0.95f, 0.74f, 0.22f);
const Rgba kMarking = MakeRgba(0.85f, 0.85f, 0.82f);

constexpr float kPackageTop = 0.25f;
constexpr int kPinsPerSide = 6;

void AddPins(MeshBuilder& mesh)
{
    constexpr float kPitch = 0.15f;
    constexpr float kPinHalfDepth = 0.045f;
    for (int pin = 0; pin < kPinsPerSide; ++pin) {
        const float z = (static_cast<float>(pin) - (kPinsPerSide - 1) * 0.5f) * kPitch;
        for (float side : {-1.0f, 1.0f}) {
            // A shoulder that leaves the package's flank, then a leg down to the ground.
            const float shoulderInner = 0.39f * side;
            const float shoulderOuter = 0.49f * side;
            mesh.AddBox({std::min(shoulderInner, shoulderOuter), -0.10f, z - kPinHalfDepth},
                        {std::max(shoulderInner, shoulderOuter), -0.04f, z + kPinHalfDepth}, kGold);
            const float legInner = 0.44f * side;
            const float legOuter = 0.49f * side;
            mesh.AddBox({std::min(legInner, legOuter), -0.50f, z - kPinHalfDepth},
                        {std::max(legInner, legOuter), -0.04f, z + kPinHalfDepth}, kGold);
        }
    }
}

void AddMarking(MeshBuilder& mesh)
{
    // Pin-one dimple near the front left corner, then three lines of "print" and a gold logo
    // square, all a hair above the top face.
    constexpr float kLift = 0.004f;
    const float top = kPackageTop + kLift;
    std::vector<Point3> dimple;
    for (int i = 0; i < 16; ++i) {
        const float angle = 6.2831853f * static_cast<float>(i) / 16.0f;
        dimple.push_back({-0.26f + 0.06f * std::cos(angle), top, 0.38f - 0.06f * std::sin(angle)});
    }
    mesh.AddPolygon(dimple, kMarking);
    mesh.AddBox({-0.24f, kPackageTop, -0.05f}, {0.24f, top, 0.02f}, kMarking);
    mesh.AddBox({-0.24f, kPackageTop, -0.16f}, {0.14f, top, -0.10f}, kMarking);
    mesh.AddBox({-0.24f, kPackageTop, -0.27f}, {0.20f, top, -0.21f}, kMarking);
    mesh.AddBox({0.06f, kPackageTop, 0.12f}, {0.26f, top, 0.32f}, kGold);
}

} // namespace

MeshBuilder BuildChipMesh()
{
    MeshBuilder mesh;
    mesh.AddBox({-0.40f, -0.22f, -0.50f}, {0.40f, kPackageTop, 0.50f}, kPackage);
    AddPins(mesh);
    AddMarking(mesh);
    return mesh;
}

} // namespace GameAssets
