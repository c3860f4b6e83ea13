#include "cinderhall/cdh_mesh_format.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/math/mg_vector.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {
constexpr char kUnitName[] = "cdh_mesh";
} // namespace

// The file is little-endian and the records are copied as they stand.
static_assert(std::endian::native == std::endian::little, "binary meshes are read by direct copies");

namespace Cinderhall {

namespace {

constexpr std::size_t kBinaryHeaderSize = kBinaryMeshHeaderSize;
constexpr std::uint8_t kBinaryVersion = 1;
constexpr std::uint32_t kBytesPerIndex = sizeof(std::uint32_t);
constexpr std::uint32_t kBytesPerVertex = sizeof(Vertex3D);

std::uint32_t ReadWord(std::span<const std::byte> bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

bool StartsWith(std::span<const std::byte> bytes, std::string_view prefix)
{
    return bytes.size() >= prefix.size() && std::memcmp(bytes.data(), prefix.data(), prefix.size()) == 0;
}

void AppendWord(std::vector<std::byte>& out, std::uint32_t value)
{
    const auto* bytes = reinterpret_cast<const std::byte*>(&value);
    out.insert(out.end(), bytes, bytes + sizeof(value));
}

// memcpy's pointers must be valid even for zero bytes, and an empty vector's data() may be null.
void CopyBytes(void* destination, const std::byte* source, std::size_t byteCount)
{
    if (byteCount != 0) {
        std::memcpy(destination, source, byteCount);
    }
}

} // namespace

MeshEncoding DetectMeshEncoding(std::span<const std::byte> fileBytes, std::string_view path)
{
    if (StartsWith(fileBytes, "MSHB")) {
        return MeshEncoding::kBinary;
    }
    if (StartsWith(fileBytes, "MSH")) {
        return MeshEncoding::kText;
    }
    // Headerless files carry no signature at all, so only their name says they are meshes.
    return path.find(".msh") != std::string_view::npos ? MeshEncoding::kHeaderlessText
                                                       : MeshEncoding::kNotAMesh;
}

bool ReadBinaryMeshHeader(std::span<const std::byte> fileStart, std::uint64_t fileSize,
                          BinaryMeshHeader& header)
{
    if (fileStart.size() < kBinaryHeaderSize || fileSize < kBinaryHeaderSize ||
        !StartsWith(fileStart, "MSHB")) {
        MG_ERROR("cdhDataError: Binary mesh needs a %zu-byte header starting with MSHB; got %llu bytes.",
                 kBinaryHeaderSize, static_cast<unsigned long long>(fileSize));
        return false;
    }
    if (ReadWord(fileStart, 20) != kBytesPerVertex || ReadWord(fileStart, 12) != kBytesPerIndex) {
        MG_ERROR("cdhDataError: Size mismatch loading processed mesh.");
        return false;
    }
    const auto version = static_cast<unsigned>(fileStart[4]);
    if (version != kBinaryVersion) {
        MG_ERROR("cdhDataError: Binary mesh version %u is not supported (expected %u).", version,
                 static_cast<unsigned>(kBinaryVersion));
        return false;
    }
    header.indexCount = ReadWord(fileStart, 8);
    header.vertexCount = ReadWord(fileStart, 16);
    header.flags = static_cast<std::uint8_t>(fileStart[24]);
    // 64-bit products: two 32-bit counts cannot overflow them.
    const std::uint64_t needed = std::uint64_t{header.indexCount} * kBytesPerIndex +
                                 std::uint64_t{header.vertexCount} * kBytesPerVertex;
    if (needed > fileSize - kBinaryHeaderSize) {
        MG_ERROR(
            "cdhDataError: Binary mesh claims %u indices and %u vertices, more than its %llu bytes of data.",
            header.indexCount, header.vertexCount,
            static_cast<unsigned long long>(fileSize - kBinaryHeaderSize));
        return false;
    }
    return true;
}

bool ReadBinaryMesh(std::span<const std::byte> fileBytes, MeshData& result)
{
    result = MeshData{};
    BinaryMeshHeader header;
    if (!ReadBinaryMeshHeader(fileBytes, fileBytes.size(), header)) {
        return false;
    }
    MeshData data;
    data.flags = header.flags;
    data.indices.resize(header.indexCount);
    data.vertices.resize(header.vertexCount);
    const std::size_t indexBytes = data.indices.size() * kBytesPerIndex;
    const std::byte* cursor = fileBytes.data() + kBinaryHeaderSize;
    CopyBytes(data.indices.data(), cursor, indexBytes);
    CopyBytes(data.vertices.data(), cursor + indexBytes, data.vertices.size() * kBytesPerVertex);
    // Binary meshes are drawn as stored: only the index range matters for safety.
    if (!HasIndicesInRange(data)) {
        return false;
    }
    result = std::move(data);
    return true;
}

bool IsDrawableMeshData(const MeshData& data)
{
    const bool enoughVertices = data.vertices.size() >= 3;
    MG_ERROR_IF(!enoughVertices, "Expected vertex data to contain at least 3 vertices.");
    const bool wholeTriangles = HasWholeTriangles(data);
    return enoughVertices && wholeTriangles && HasIndicesInRange(data);
}

MeshIndexWidth ChooseMeshIndexWidth(std::size_t vertexCount, bool hasWideIndices)
{
    if (vertexCount <= std::size_t{65536}) {
        return MeshIndexWidth::k16Bit;
    }
    if (hasWideIndices) {
        return MeshIndexWidth::k32Bit;
    }
    MG_ERROR("cdhDataError: A mesh of %zu vertices needs 32-bit indices, which this OpenGL ES context "
             "cannot draw (it lacks GL_OES_element_index_uint); at most 65536 vertices per mesh draw "
             "here. The mesh is not drawn.",
             vertexCount);
    return MeshIndexWidth::kNone;
}

bool HasWholeTriangles(const MeshData& data)
{
    // A mesh with nothing to draw, or with a piece of a triangle, can only come from damage.
    MG_ERROR_IF(data.indices.empty(), "cdhDataError: Mesh holds no triangles.");
    MG_ERROR_IF(data.indices.size() % 3 != 0, "Expected face indices to contain sets of 3.");
    return !data.indices.empty() && data.indices.size() % 3 == 0;
}

bool HasIndicesInRange(const MeshData& data)
{
    const std::size_t vertexCount = data.vertices.size();
    const auto outOfRange = std::find_if(data.indices.begin(), data.indices.end(),
                                         [vertexCount](std::uint32_t index) { return index >= vertexCount; });
    if (outOfRange != data.indices.end()) {
        MG_ERROR("cdhDataError: Mesh index %u at position %zu is not below the vertex count %zu.",
                 *outOfRange, static_cast<std::size_t>(outOfRange - data.indices.begin()), vertexCount);
        return false;
    }
    return true;
}

void ComputeTriangleNormals(MeshData& data)
{
    using Marrowgate::Core::Vector3;
    auto position = [&data](std::uint32_t index) {
        const Vertex3D& vertex = data.vertices[index];
        return Vector3(vertex.x, vertex.y, vertex.z);
    };
    for (std::size_t first = 0; first + 2 < data.indices.size(); first += 3) {
        const std::uint32_t* corner = &data.indices[first];
        const Vector3 origin = position(corner[0]);
        Vector3 normal =
            Marrowgate::Core::CrossProduct(position(corner[2]) - origin, position(corner[1]) - origin);
        normal.Normalize();
        for (int k = 0; k < 3; ++k) {
            Vertex3D& vertex = data.vertices[corner[k]];
            vertex.normalX = normal.x;
            vertex.normalY = normal.y;
            vertex.normalZ = normal.z;
        }
    }
    data.flags |= kNormals;
}

std::vector<std::byte> WriteBinaryMesh(const MeshData& data)
{
    std::vector<std::byte> out;
    out.reserve(kBinaryHeaderSize + data.indices.size() * kBytesPerIndex +
                data.vertices.size() * kBytesPerVertex);
    for (char magic : std::string_view("MSHB")) {
        out.push_back(static_cast<std::byte>(magic));
    }
    out.push_back(static_cast<std::byte>(kBinaryVersion));
    out.resize(8, std::byte{0});
    AppendWord(out, static_cast<std::uint32_t>(data.indices.size()));
    AppendWord(out, kBytesPerIndex);
    AppendWord(out, static_cast<std::uint32_t>(data.vertices.size()));
    AppendWord(out, kBytesPerVertex);
    out.push_back(static_cast<std::byte>(data.flags));
    out.resize(kBinaryHeaderSize, std::byte{0});
    const auto* indexBytes = reinterpret_cast<const std::byte*>(data.indices.data());
    out.insert(out.end(), indexBytes, indexBytes + data.indices.size() * kBytesPerIndex);
    const auto* vertexBytes = reinterpret_cast<const std::byte*>(data.vertices.data());
    out.insert(out.end(), vertexBytes, vertexBytes + data.vertices.size() * kBytesPerVertex);
    return out;
}

} // namespace Cinderhall
