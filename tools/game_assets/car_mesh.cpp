#include "game_meshes.h"

#include <algorithm>
#include <cmath>

namespace GameAssets {

namespace {

const Rgba kBodyPaint = MakeRgba(0.86f, 0.10f, 0.08f);
const Rgba kUnderside = MakeRgba(0.12f, 0.12f, 0.12f);
const Rgba kGlass = MakeRgba(0.55f, 0.75f, 0.92f);
const Rgba kTrim = MakeRgba(0.22f, 0.22f, 0.24f);
const Rgba kTyre = MakeRgba(0.07f, 0.07f, 0.07f);
const Rgba kHubcap = MakeRgba(0.80f, 0.80f, 0.84f);
const Rgba kHeadlight = MakeRgba(1.00f, 0.96f, 0.70f);
const Rgba kTailLight = MakeRgba(1.00f, 0.15f, 0.10f);

constexpr float kHalfWidth = 0.5f;

void AddBody(MeshBuilder& mesh)
{
    // Side view, rear at the left: flat bottom, upright nose, a hood that rises towards the
    // windscreen and a short sloped tail.
    const std::vector<std::array<float, 2>> profile = {{-1.00f, 0.16f}, {1.00f, 0.16f}, {1.00f, 0.40f},
                                                       {0.92f, 0.47f},  {0.35f, 0.52f}, {-0.85f, 0.54f},
                                                       {-1.00f, 0.48f}};
    std::vector<Rgba> sides(profile.size(), kBodyPaint);
    sides[0] = kUnderside;
    mesh.AddPrismAlongX(profile, -kHalfWidth, kHalfWidth, sides, kBodyPaint);
}

void AddCabin(MeshBuilder& mesh)
{
    const std::vector<std::array<float, 2>> profile = {
        {-0.72f, 0.50f}, {0.32f, 0.50f}, {0.02f, 0.86f}, {-0.56f, 0.87f}};
    // Base (hidden), windscreen, roof, rear window.
    mesh.AddPrismAlongX(profile, -0.42f, 0.42f, {kBodyPaint, kGlass, kBodyPaint, kGlass}, kBodyPaint);

    // Side windows, split by a pillar, just outside the cabin's flanks.
    const std::vector<std::vector<std::array<float, 2>>> windows = {
        {{-0.62f, 0.57f}, {-0.20f, 0.57f}, {-0.20f, 0.81f}, {-0.52f, 0.81f}},
        {{-0.13f, 0.57f}, {0.20f, 0.57f}, {-0.01f, 0.81f}, {-0.13f, 0.81f}}};
    for (const auto& window : windows) {
        std::vector<Point3> leftSide;
        std::vector<Point3> rightSide;
        for (const auto& [z, y] : window) {
            leftSide.push_back({-0.425f, y, z});
            rightSide.insert(rightSide.begin(), Point3{0.425f, y, z});
        }
        mesh.AddPolygon(leftSide, kGlass);
        mesh.AddPolygon(rightSide, kGlass);
    }
}

void AddLightsAndBumpers(MeshBuilder& mesh)
{
    mesh.AddBox({-0.52f, 0.15f, 0.97f}, {0.52f, 0.25f, 1.05f}, kTrim);
    mesh.AddBox({-0.52f, 0.15f, -1.05f}, {0.52f, 0.25f, -0.97f}, kTrim);
    mesh.AddBox({-0.20f, 0.27f, 0.99f}, {0.20f, 0.36f, 1.01f}, kTrim);
    for (float side : {-1.0f, 1.0f}) {
        const float inner = 0.25f * side;
        const float outer = 0.45f * side;
        mesh.AddBox({std::min(inner, outer), 0.29f, 0.99f}, {std::max(inner, outer), 0.38f, 1.015f},
                    kHeadlight);
        mesh.AddBox({std::min(inner, outer), 0.33f, -1.015f}, {std::max(inner, outer), 0.43f, -0.99f},
                    kTailLight);
    }
    // A dark panel behind the tail lights so they read against the red paint.
    mesh.AddBox({-0.48f, 0.30f, -1.005f}, {0.48f, 0.46f, -0.985f}, kTrim);
}

void AddWheels(MeshBuilder& mesh)
{
    constexpr float kRadius = 0.20f;
    constexpr int kSegments = 20;
    for (float axle : {-0.62f, 0.62f}) {
        for (float side : {-1.0f, 1.0f}) {
            const float inner = 0.40f * side;
            const float outer = 0.55f * side;
            mesh.AddCylinderAlongX({0.0f, kRadius, axle}, kRadius, std::min(inner, outer),
                                   std::max(inner, outer), kSegments, kTyre, kTyre);
            mesh.AddDiscAlongX({outer + 0.002f * side, kRadius, axle}, 0.11f, kSegments, side, kHubcap);
        }
    }
}

} // namespace

MeshBuilder BuildCarMesh()
{
    MeshBuilder mesh;
    AddBody(mesh);
    AddCabin(mesh);
    AddLightsAndBumpers(mesh);
    AddWheels(mesh);
    return mesh;
}

} // namespace GameAssets
