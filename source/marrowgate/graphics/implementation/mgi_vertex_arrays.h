#pragma once
// How the renderer's shader draws reach their vertices. Where the context has vertex array
// objects, each layout of streamed vertices has one whose attributes point into the vertex
// stream: a draw binds it and starts at the index of its first vertex, and the pointers move
// only when that index cannot reach the vertices (below the pointed offset, or past what 16-bit
// indices address). Vertices in a caller's buffer get a vertex array of their own, pointed anew
// at each draw, as a buffer name may belong to another buffer by then. Every draw leaves vertex
// array 0 bound, so outside code never changes the renderer's. Without vertex array objects the
// context's own attribute state is pointed, enabled and disabled again around each draw.

#include "marrowgate/graphics/implementation/mgi_gl_name.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace mgImplementation {

enum class VertexLayout : std::size_t
{
    Vertex2D,    // Marrowgate::Graphics::Vertex2D, streamed
    Vertex3D,    // Marrowgate::Graphics::Vertex3D, streamed
    Batch,       // BatchVertex, streamed and drawn through indices
    CallerBuffer // Vertex3D in a buffer the caller keeps
};
inline constexpr std::size_t kVertexLayoutCount = 4;

std::size_t GetVertexStride(VertexLayout layout);

struct LayoutVertexArray
{
    GLName vertexArray;
    // The byte offset into the vertex stream the attributes point at; empty before the first draw.
    std::optional<std::size_t> pointedOffset;
};
using VertexArrays = std::array<LayoutVertexArray, kVertexLayoutCount>;

// Makes the vertex arrays (nothing where the context has none) with their layouts enabled.
void CreateVertexArrays();
void DeleteVertexArrays();

// A vertex array of the caller's own over `buffer` in this layout, with its attributes enabled
// and pointed at the buffer's start; 0 where the context has none. Leaves vertex array 0 bound.
GLuint CreateBufferVertexArray(VertexLayout layout, GLuint buffer);

// For `count` vertices at byte `offset` of the array buffer bound now (the vertex stream, or the
// caller's buffer at offset 0): binds or points the layout's attributes and returns the index
// of the first vertex. With `isIndexed`, every vertex stays addressable by 16-bit indices
// counted from that index.
std::uint32_t BindVertices(VertexLayout layout, std::size_t offset, std::size_t count, bool isIndexed);
// After the draw.
void UnbindVertices(VertexLayout layout);

} // namespace mgImplementation
