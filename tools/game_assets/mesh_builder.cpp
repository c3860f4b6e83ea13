#include "mesh_builder.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>

namespace GameAssets {

Point3 operator+(Point3 left, Point3 right)
{
    return {left.x + right.x, left.y + right.y, left.z + right.z};
}
Point3 operator-(Point3 left, Point3 right)
{
    return {left.x - right.x, left.y - right.y, left.z - right.z};
}
Point3 operator*(Point3 point, float factor)
{
    return {point.x * factor, point.y * factor, point.z * factor};
}

Point3 Cross(Point3 left, Point3 right)
{
    return {left.y * right.z - left.z * right.y, left.z * right.x - left.x * right.z,
            left.x * right.y - left.y * right.x};
}

Point3 Normalized(Point3 point)
{
    const float length = std::sqrt(point.x * point.x + point.y * point.y + point.z * point.z);
    return length > 0.0f ? point * (1.0f / length) : point;
}

Rgba MakeRgba(float red, float green, float blue)
{
    const auto toByte = [](float channel) {
        return static_cast<std::uint8_t>(std::lround(std::fmin(std::fmax(channel, 0.0f), 1.0f) * 255.0f));
    };
    return {toByte(red), toByte(green), toByte(blue), 255};
}

std::uint32_t MeshBuilder::AddVertex(Point3 position, Point3 normal, Rgba color)
{
    mVertices.push_back({position, normal, color, 0.0f, 0.0f});
    return static_cast<std::uint32_t>(mVertices.size() - 1);
}

void MeshBuilder::AddTriangle(std::uint32_t first, std::uint32_t second, std::uint32_t third)
{
    mIndices.insert(mIndices.end(), {first, third, second});
}

void MeshBuilder::AddPolygon(const std::vector<Point3>& corners, Rgba color)
{
    const Point3 normal = Normalized(Cross(corners[1] - corners[0], corners[2] - corners[0]));
    const std::uint32_t first = static_cast<std::uint32_t>(mVertices.size());
    for (const Point3& corner : corners) {
        AddVertex(corner, normal, color);
    }
    for (std::uint32_t i = 1; i + 1 < corners.size(); ++i) {
        AddTriangle(first, first + i, first + i + 1);
    }
}

void MeshBuilder::AddBox(Point3 minimum, Point3 maximum, const std::array<Rgba, 6>& faceColors)
{
    const float x0 = minimum.x, y0 = minimum.y, z0 = minimum.z;
    const float x1 = maximum.x, y1 = maximum.y, z1 = maximum.z;
    AddPolygon({{x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {x0, y1, z0}}, faceColors[0]);
    AddPolygon({{x1, y0, z1}, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}}, faceColors[1]);
    AddPolygon({{x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}}, faceColors[2]);
    AddPolygon({{x0, y1, z1}, {x1, y1, z1}, {x1, y1, z0}, {x0, y1, z0}}, faceColors[3]);
    AddPolygon({{x1, y0, z0}, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}}, faceColors[4]);
    AddPolygon({{x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}}, faceColors[5]);
}

void MeshBuilder::AddBox(Point3 minimum, Point3 maximum, Rgba color)
{
    AddBox(minimum, maximum, {color, color, color, color, color, color});
}

void MeshBuilder::AddPrismAlongX(const std::vector<std::array<float, 2>>& profile, float left, float right,
                                 const std::vector<Rgba>& sideColors, Rgba capColor)
{
    // A profile that runs counter-clockwise with z to the right and y up runs counter-clockwise
    // as seen from -x, so the -x cap keeps its order and the +x cap reverses it.
    std::vector<Point3> leftCap;
    std::vector<Point3> rightCap;
    for (const auto& [z, y] : profile) {
        leftCap.push_back({left, y, z});
    }
    for (auto point = profile.rbegin(); point != profile.rend(); ++point) {
        rightCap.push_back({right, (*point)[1], (*point)[0]});
    }
    AddPolygon(rightCap, capColor);
    AddPolygon(leftCap, capColor);
    for (std::size_t i = 0; i < profile.size(); ++i) {
        const auto& [z0, y0] = profile[i];
        const auto& [z1, y1] = profile[(i + 1) % profile.size()];
        AddPolygon({{left, y0, z0}, {right, y0, z0}, {right, y1, z1}, {left, y1, z1}}, sideColors[i]);
    }
}

void MeshBuilder::AddCylinderAlongX(Point3 center, float radius, float left, float right, int segments,
                                    Rgba sideColor, Rgba capColor)
{
    const float pi = 3.14159265358979f;
    const std::uint32_t first = static_cast<std::uint32_t>(mVertices.size());
    for (int i = 0; i <= segments; ++i) {
        const float angle = 2.0f * pi * static_cast<float>(i) / static_cast<float>(segments);
        const Point3 radial{0.0f, std::sin(angle), std::cos(angle)};
        const Point3 rim = center + radial * radius;
        AddVertex({left, rim.y, rim.z}, radial, sideColor);
        AddVertex({right, rim.y, rim.z}, radial, sideColor);
    }
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(segments); ++i) {
        const std::uint32_t a = first + 2 * i;
        // Each quad is wound (this left, this right, next left) so its normal points outwards.
        AddTriangle(a, a + 1, a + 2);
        AddTriangle(a + 1, a + 3, a + 2);
    }
    AddDiscAlongX({left, center.y, center.z}, radius, segments, -1.0f, capColor);
    AddDiscAlongX({right, center.y, center.z}, radius, segments, 1.0f, capColor);
}

void MeshBuilder::AddDiscAlongX(Point3 center, float radius, int segments, float facing, Rgba color)
{
    const float pi = 3.14159265358979f;
    std::vector<Point3> rim;
    for (int i = 0; i < segments; ++i) {
        // Counter-clockwise as seen from the side the disc faces.
        const float angle = facing * 2.0f * pi * static_cast<float>(i) / static_cast<float>(segments);
        rim.push_back({center.x, center.y + radius * std::cos(angle), center.z + radius * std::sin(angle)});
    }
    AddPolygon(rim, color);
}

namespace {

template <typename Value> void Put(std::vector<char>& bytes, Value value)
{
    char raw[sizeof(Value)];
    std::memcpy(raw, &value, sizeof(Value));
    bytes.insert(bytes.end(), raw, raw + sizeof(Value));
}

} // namespace

bool MeshBuilder::WriteBinary(const std::string& path) const
{
    static_assert(std::endian::native == std::endian::little, "the mesh file is little-endian");
    constexpr std::uint8_t kAllAttributes = 1 | 2 | 4 | 8;
    std::vector<char> bytes{'M', 'S', 'H', 'B', 1, 0, 0, 0};
    Put(bytes, static_cast<std::uint32_t>(mIndices.size()));
    Put(bytes, std::uint32_t{4});
    Put(bytes, static_cast<std::uint32_t>(mVertices.size()));
    Put(bytes, std::uint32_t{36});
    bytes.insert(bytes.end(), {static_cast<char>(kAllAttributes), 0, 0, 0});
    for (std::uint32_t index : mIndices) {
        Put(bytes, index);
    }
    for (const MeshVertex& vertex : mVertices) {
        for (float value : {vertex.position.x, vertex.position.y, vertex.position.z, vertex.normal.x,
                            vertex.normal.y, vertex.normal.z}) {
            Put(bytes, value);
        }
        bytes.insert(bytes.end(), vertex.color.begin(), vertex.color.end());
        Put(bytes, vertex.u);
        Put(bytes, vertex.v);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace GameAssets
