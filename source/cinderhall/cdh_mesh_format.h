#pragma once
/// The .msh mesh file format: reading and writing its three encodings in memory, with no GPU.
/// @file
///  - binary: "MSHB", version byte 1, a 28-byte little-endian header (index count, bytes per
///    index = 4, vertex count, bytes per vertex = 36, flags), then the indices, then the vertices
///    in the Vertex3D layout;
///  - text with a header: "MSH" plus any fourth byte but 'B', then whitespace-separated tokens:
///    version, nodes (version 2 and later), vertex and triangle counts, vertices as
///    "x y z nx ny nz a r g b u v", then three indices per triangle;
///  - headerless text (older files): counts, vertices as "x y z nx ny nz u v" written for a
///    left-handed world (z, nx, ny and v are converted on reading), indices.
/// Front faces are wound clockwise, matching the renderer's culling: a triangle (a, b, c) faces
/// along (c - a) x (b - a).
///
/// Every count is checked against the bytes or tokens actually present before anything is
/// allocated for it, and every index must be below the vertex count: a corrupt file yields a
/// "cdhDataError: " report and an empty mesh, never a large allocation or a read past its end.
///
/// Depends on: core error reporting, math, the renderer's Vertex3D (a plain record; no GL here).

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/math/mg_matrix.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Cinderhall {

using Marrowgate::Graphics::Vertex3D;

// Which vertex attributes carry data (one byte in the file).
enum MeshFlags : std::uint8_t
{
    kPositions = 1,
    kNormals = 2,
    kTextureCoordinates = 4,
    kColors = 8,
};

inline constexpr std::uint32_t kNoParentNode = std::numeric_limits<std::uint32_t>::max();

// A named transform hierarchy entry of version-2 text files. The two values are the node's first
// triangle and its triangle count: a mesh draws those triangles under the node's transform
// (see cdh_mesh_pieces.h). Files carry them through unchanged.
struct MeshNode
{
    std::string name;
    std::uint32_t firstValue = 0;
    std::uint32_t secondValue = 0;
    std::uint32_t parentIndex = kNoParentNode;
    std::vector<std::uint32_t> childIndices;
    Marrowgate::Core::Matrix4 transform;
};

struct MeshData
{
    std::vector<MeshNode> nodes;
    std::vector<Vertex3D> vertices;
    std::vector<std::uint32_t> indices;
    std::uint8_t flags = 0;
};

enum class MeshEncoding
{
    kBinary,
    kText,
    kHeaderlessText,
    kNotAMesh, // headerless text whose path does not name a .msh file
};

// Chooses the encoding from the first bytes and, for headerless text, the path.
MeshEncoding DetectMeshEncoding(std::span<const std::byte> fileBytes, std::string_view path);

inline constexpr std::size_t kBinaryMeshHeaderSize = 28;

struct BinaryMeshHeader
{
    std::uint32_t indexCount = 0;
    std::uint32_t vertexCount = 0;
    std::uint8_t flags = 0;
};

// Checks the header at the start of a binary file of fileSize bytes: magic, record sizes,
// version, and counts that fit in the bytes after the header. Reports and returns false
// otherwise. Lets a file reader size its arrays before reading them.
bool ReadBinaryMeshHeader(std::span<const std::byte> fileStart, std::uint64_t fileSize,
                          BinaryMeshHeader& header);

// Both readers return false, after a report, when the bytes do not hold a usable mesh; the
// result is then empty. The binary reader keeps the stored flags and normals; the text readers
// set the flags of their form and leave normal generation to the caller.
bool ReadBinaryMesh(std::span<const std::byte> fileBytes, MeshData& result);
bool ReadTextMesh(std::span<const std::byte> fileBytes, bool hasHeader, MeshData& result);

// The checks every mesh passes before it reaches the GPU, with the reports they make:
// at least three vertices, whole triangles, and every index below the vertex count.
bool IsDrawableMeshData(const MeshData& data);
// The triangle check alone: at least one, and an index count that is a multiple of three.
bool HasWholeTriangles(const MeshData& data);
// The index check alone ("cdhDataError: " report on the first index out of range).
bool HasIndicesInRange(const MeshData& data);

// How a checked mesh's indices go to the GPU: 16 bits while every index fits (at most 65536
// vertices), which every context draws; else 32 bits where the context has them (desktop
// OpenGL always, ES 2.0 and WebGL 1 only with GL_OES_element_index_uint). kNone, after a
// "cdhDataError: " report naming the vertex count, when the mesh cannot be drawn here.
enum class MeshIndexWidth
{
    k16Bit,
    k32Bit,
    kNone
};
MeshIndexWidth ChooseMeshIndexWidth(std::size_t vertexCount, bool hasWideIndices);

// One normal per triangle, (v2 - v0) x (v1 - v0) normalised, written to all three of its
// vertices in index order, so a shared vertex keeps the normal of the last triangle using it.
// Expects IsDrawableMeshData. Sets kNormals.
void ComputeTriangleNormals(MeshData& data);

std::vector<std::byte> WriteBinaryMesh(const MeshData& data);
// Writes version 2 when the mesh has nodes, else version 1. Floats keep every bit through a
// read, colour bytes survive exactly. A node name with white space, or a position, normal,
// texture coordinate or transform value that is infinite or NaN, cannot be read back: such a
// mesh is reported ("cdhDataError: ", naming the node or vertex and the value) and nothing
// is written.
std::optional<std::string> WriteTextMesh(const MeshData& data);

} // namespace Cinderhall
