#include "obj_import.h"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <map>
#include <tuple>
#include <vector>

namespace MeshTool {

namespace {

struct Corner
{
    // Zero-based; -1 when the corner leaves it out.
    long position = -1;
    long textureCoordinate = -1;
    long normal = -1;
};

std::vector<std::string_view> Split(std::string_view line, char separator, bool keepEmpty)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = separator == ' ' ? line.find_first_of(" \t", start) : line.find(separator, start);
        end = end == std::string_view::npos ? line.size() : end;
        if (keepEmpty || end > start) {
            parts.push_back(line.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

// Infinities and NaN parse as numbers but make no geometry, so they are refused with the rest.
bool ParseFloat(std::string_view token, float& value)
{
    if (!token.empty() && token.front() == '+') {
        token.remove_prefix(1);
    }
    const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    return result.ec == std::errc() && result.ptr == token.data() + token.size() && std::isfinite(value);
}

using Normal = std::array<float, 3>;

// OBJ indices count from 1, or back from the latest element when negative.
bool ResolveIndex(std::string_view token, std::size_t count, long& index)
{
    long value = 0;
    const auto result = std::from_chars(token.data(), token.data() + token.size(), value);
    if (result.ec != std::errc() || result.ptr != token.data() + token.size() || value == 0) {
        return false;
    }
    index = value > 0 ? value - 1 : static_cast<long>(count) + value;
    return index >= 0 && static_cast<std::size_t>(index) < count;
}

class ObjReader
{
public:
    bool ReadLine(std::string_view line, std::string& error)
    {
        const std::vector<std::string_view> tokens = Split(line, ' ', false);
        if (tokens.empty() || tokens[0].starts_with('#')) {
            return true;
        }
        const std::string_view keyword = tokens[0];
        if (keyword == "v" || keyword == "vn") {
            std::array<float, 3> values{};
            if (tokens.size() < 4 || !ParseFloat(tokens[1], values[0]) || !ParseFloat(tokens[2], values[1]) ||
                !ParseFloat(tokens[3], values[2])) {
                error = "expected three finite numbers";
                return false;
            }
            (keyword == "v" ? positions_ : normals_).push_back(values);
            return true;
        }
        if (keyword == "vt") {
            std::array<float, 3> values{};
            if (tokens.size() < 2 || !ParseFloat(tokens[1], values[0]) ||
                (tokens.size() > 2 && !ParseFloat(tokens[2], values[1]))) {
                error = "expected finite texture coordinates";
                return false;
            }
            textureCoordinates_.push_back(values);
            return true;
        }
        if (keyword == "f") {
            return ReadFace(tokens, error);
        }
        return true; // o, g, s, usemtl, mtllib, l, p and the rest carry nothing a mesh keeps
    }

    bool Finish(Cinderhall::MeshData& result, std::string& error)
    {
        if (triangles_.empty()) {
            error = "no faces";
            return false;
        }
        Cinderhall::MeshData data;
        // Corners become one vertex only where position, coordinates and normal all agree, so
        // faces at an angle never share a corner and keep their own flat normals.
        using VertexKey = std::tuple<long, long, std::array<std::uint32_t, 3>>;
        std::map<VertexKey, std::uint32_t> vertexOf;
        bool anyTextureCoordinates = false;
        for (std::size_t first = 0; first < triangles_.size(); first += 3) {
            const Normal& flat = faceNormals_[first / 3];
            for (std::size_t k = first; k < first + 3; ++k) {
                const Corner& corner = triangles_[k];
                anyTextureCoordinates = anyTextureCoordinates || corner.textureCoordinate >= 0;
                const Normal normal =
                    corner.normal >= 0 ? normals_[static_cast<std::size_t>(corner.normal)] : flat;
                const VertexKey key{corner.position, corner.textureCoordinate,
                                    std::bit_cast<std::array<std::uint32_t, 3>>(normal)};
                const auto [found, isNew] =
                    vertexOf.try_emplace(key, static_cast<std::uint32_t>(data.vertices.size()));
                if (isNew) {
                    data.vertices.push_back(MakeVertex(corner, normal));
                }
                data.indices.push_back(found->second);
            }
        }
        data.flags = Cinderhall::kPositions | Cinderhall::kNormals | Cinderhall::kColors;
        if (anyTextureCoordinates) {
            data.flags |= Cinderhall::kTextureCoordinates;
        }
        if (data.vertices.size() < 3) {
            error = "fewer than three distinct vertices";
            return false;
        }
        result = std::move(data);
        return true;
    }

private:
    bool ReadFace(const std::vector<std::string_view>& tokens, std::string& error)
    {
        std::vector<Corner> corners;
        for (std::size_t i = 1; i < tokens.size(); ++i) {
            const std::vector<std::string_view> parts = Split(tokens[i], '/', true);
            Corner corner;
            if (parts.size() > 3 || !ResolveIndex(parts[0], positions_.size(), corner.position) ||
                (parts.size() > 1 && !parts[1].empty() &&
                 !ResolveIndex(parts[1], textureCoordinates_.size(), corner.textureCoordinate)) ||
                (parts.size() > 2 && !ResolveIndex(parts[2], normals_.size(), corner.normal))) {
                error = "face corner \"" + std::string(tokens[i]) + "\" names no defined element";
                return false;
            }
            corners.push_back(corner);
        }
        if (corners.size() < 3) {
            error = "a face needs at least three corners";
            return false;
        }
        // A fan from the first corner, each triangle reversed to clockwise. Every triangle of
        // the face carries the face's normal, so they share the corners along the fan.
        const Normal normal = FaceNormal(corners);
        for (std::size_t i = 1; i + 1 < corners.size(); ++i) {
            triangles_.insert(triangles_.end(), {corners[0], corners[i + 1], corners[i]});
            faceNormals_.push_back(normal);
        }
        return true;
    }

    // The outward normal of a counter-clockwise polygon by Newell's sum over its edges, which
    // also serves polygons that are not quite flat; in double so that large coordinates cannot
    // overflow into a NaN. Zero for a face without area.
    Normal FaceNormal(const std::vector<Corner>& corners) const
    {
        double sum[3] = {0.0, 0.0, 0.0};
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const auto& a = positions_[static_cast<std::size_t>(corners[i].position)];
            const auto& b = positions_[static_cast<std::size_t>(corners[(i + 1) % corners.size()].position)];
            sum[0] += (double{a[1]} - b[1]) * (double{a[2]} + b[2]);
            sum[1] += (double{a[2]} - b[2]) * (double{a[0]} + b[0]);
            sum[2] += (double{a[0]} - b[0]) * (double{a[1]} + b[1]);
        }
        const double length = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
        if (!(length > 0.0) || !std::isfinite(length)) {
            return {0.0f, 0.0f, 0.0f};
        }
        return {static_cast<float>(sum[0] / length), static_cast<float>(sum[1] / length),
                static_cast<float>(sum[2] / length)};
    }

    Cinderhall::Vertex3D MakeVertex(const Corner& corner, const Normal& normal) const
    {
        Cinderhall::Vertex3D vertex;
        const auto& position = positions_[static_cast<std::size_t>(corner.position)];
        vertex.x = position[0];
        vertex.y = position[1];
        vertex.z = position[2];
        vertex.normalX = normal[0];
        vertex.normalY = normal[1];
        vertex.normalZ = normal[2];
        if (corner.textureCoordinate >= 0) {
            const auto& coordinates = textureCoordinates_[static_cast<std::size_t>(corner.textureCoordinate)];
            vertex.u = coordinates[0];
            vertex.v = 1.0f - coordinates[1];
        }
        vertex.color = 0xFFFFFFFFu;
        return vertex;
    }

    std::vector<std::array<float, 3>> positions_;
    std::vector<std::array<float, 3>> textureCoordinates_;
    std::vector<std::array<float, 3>> normals_;
    std::vector<Corner> triangles_;
    std::vector<Normal> faceNormals_; // one per triangle
};

} // namespace

bool ImportObj(std::string_view text, Cinderhall::MeshData& result, std::string& error)
{
    ObjReader reader;
    // Some editors start UTF-8 files with a byte-order mark; it is no part of the first line.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++lineNumber;
        if (!reader.ReadLine(line, error)) {
            error = "line " + std::to_string(lineNumber) + ": " + error;
            return false;
        }
        start = end + 1;
    }
    return reader.Finish(result, error);
}

} // namespace MeshTool
