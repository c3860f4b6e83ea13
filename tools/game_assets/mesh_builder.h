#pragma once
// Builds coloured, flat- or smooth-shaded triangle meshes from simple solids and writes them
// as binary mesh files ("MSHB", version 1: a 28-byte header, 32-bit indices, 36-byte vertices).
//
// The solids are described counter-clockwise as seen from outside, but the triangles are
// written clockwise: the renderer culls with clockwise front faces in its 3D pass as in its
// 2D pass, so a mesh is seen from the side its triangles turn clockwise on screen.
//
// Used only by the asset generator; depends on nothing but the standard library.
// Limits: polygons handed to the builder must be convex (they are fanned from their first
// point).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace GameAssets {

struct Point3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

Point3 operator+(Point3 left, Point3 right);
Point3 operator-(Point3 left, Point3 right);
Point3 operator*(Point3 point, float factor);
Point3 Cross(Point3 left, Point3 right);
Point3 Normalized(Point3 point);

// Red, green, blue, alpha, each 0 to 255.
using Rgba = std::array<std::uint8_t, 4>;
Rgba MakeRgba(float red, float green, float blue);

struct MeshVertex
{
    Point3 position;
    Point3 normal;
    Rgba color{};
    float u = 0.0f;
    float v = 0.0f;
};

class MeshBuilder
{
public:
    // A flat polygon (convex, counter-clockwise from outside) with its face normal.
    void AddPolygon(const std::vector<Point3>& corners, Rgba color);
    // An axis-aligned box; `faceColors` in the order -x, +x, -y, +y, -z, +z.
    void AddBox(Point3 minimum, Point3 maximum, const std::array<Rgba, 6>& faceColors);
    void AddBox(Point3 minimum, Point3 maximum, Rgba color);
    // A prism made by sweeping a convex profile of (z, y) pairs, counter-clockwise when drawn
    // with z to the right and y up, from x = `left` to x = `right`. `sideColors[i]` colours the side that
    // starts at profile point i; the two caps take `capColor`.
    void AddPrismAlongX(const std::vector<std::array<float, 2>>& profile, float left, float right,
                        const std::vector<Rgba>& sideColors, Rgba capColor);
    // A smooth-sided cylinder whose axis is parallel to x.
    void AddCylinderAlongX(Point3 center, float radius, float left, float right, int segments, Rgba sideColor,
                           Rgba capColor);
    // A flat disc facing +x (facing = 1) or -x (facing = -1).
    void AddDiscAlongX(Point3 center, float radius, int segments, float facing, Rgba color);

    const std::vector<MeshVertex>& Vertices() const { return mVertices; }
    const std::vector<std::uint32_t>& Indices() const { return mIndices; }

    // The vertex flags written are positions, normals, texture coordinates and colours.
    bool WriteBinary(const std::string& path) const;

private:
    std::uint32_t AddVertex(Point3 position, Point3 normal, Rgba color);
    // Takes the corners counter-clockwise from outside and stores them clockwise.
    void AddTriangle(std::uint32_t first, std::uint32_t second, std::uint32_t third);

    std::vector<MeshVertex> mVertices;
    std::vector<std::uint32_t> mIndices;
};

} // namespace GameAssets
