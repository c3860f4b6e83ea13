// Drawing of the basic renderer. Shader set-ups draw from streaming buffers made with the
// renderer's other GL resources; the fixed-function set-up draws from client arrays. A 2D draw
// that can join the gathered batch goes there instead (mgi_renderer_batch.cpp).

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/implementation/mgi_renderer_state.h"
#include "marrowgate/graphics/implementation/mgi_vertex_arrays.h"

#include <GL/glew.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <vector>

namespace mgImplementation {

using Marrowgate::Graphics::PrimitiveType;
using Marrowgate::Graphics::Vertex2D;
using Marrowgate::Graphics::Vertex3D;

namespace {

GLenum ToGLMode(PrimitiveType type)
{
    switch (type) {
    case PrimitiveType::Triangles:
        return GL_TRIANGLES;
    case PrimitiveType::TriangleStrip:
        return GL_TRIANGLE_STRIP;
    case PrimitiveType::TriangleFan:
        return GL_TRIANGLE_FAN;
    case PrimitiveType::Lines:
        return GL_LINES;
    case PrimitiveType::LineStrip:
        return GL_LINE_STRIP;
    case PrimitiveType::LineLoop:
        return GL_LINE_LOOP;
    }
    return GL_TRIANGLES;
}

// The streaming buffers start with room for a few hundred sprites and grow, for programs that
// stream more, to hold a frame of about 40,000.
constexpr std::size_t kVertexStreamBytes = std::size_t{64} << 10;
constexpr std::size_t kVertexStreamGrownBytes = std::size_t{4} << 20;
constexpr std::size_t kIndexStreamBytes = std::size_t{16} << 10;
constexpr std::size_t kIndexStreamGrownBytes = std::size_t{1} << 20;

// Draws `count` vertices of the array buffer bound now, from byte `offset`.
void DrawArrays(GLenum mode, VertexLayout layout, std::size_t offset, std::uint32_t count)
{
    const std::uint32_t first = BindVertices(layout, offset, count, false);
    glDrawArrays(mode, static_cast<GLint>(first), static_cast<GLsizei>(count));
    ++theRendererState.drawCalls;
    UnbindVertices(layout);
}

void DrawStreamed(GLenum mode, const void* vertices, std::uint32_t count, VertexLayout layout)
{
    const std::size_t stride = GetVertexStride(layout);
    const std::size_t offset = theRendererState.vertexStream.Upload(vertices, stride * count, stride);
    DrawArrays(mode, layout, offset, count);
}

// A batch of at most this many indices (a hundred sprites) is drawn from its vertices repeated
// in index order, without indices: a third more bytes to upload, but two calls fewer, which
// in a browser weighs more than a few kilobytes.
constexpr std::size_t kUnindexedBatchLimit = 600;

void DrawBatchUnindexed(const Batch& batch)
{
    static std::vector<BatchVertex> repeated;
    repeated.clear();
    for (const std::uint16_t index : batch.indices) {
        repeated.push_back(batch.vertices[index]);
    }
    DrawStreamed(batch.key.mode, repeated.data(), static_cast<std::uint32_t>(repeated.size()),
                 VertexLayout::Batch);
}

// The batch's indices count from its first vertex; they are moved to count from the one the
// vertex array's attributes point at.
void DrawStreamedBatch(Batch& batch)
{
    if (batch.indices.size() <= kUnindexedBatchLimit) {
        DrawBatchUnindexed(batch);
        return;
    }
    RendererState& state = theRendererState;
    const std::size_t vertexOffset = state.vertexStream.Upload(
        batch.vertices.data(), batch.vertices.size() * sizeof(BatchVertex), sizeof(BatchVertex));
    const std::uint32_t first = BindVertices(VertexLayout::Batch, vertexOffset, batch.vertices.size(), true);
    if (first != 0) {
        for (std::uint16_t& index : batch.indices) {
            index = static_cast<std::uint16_t>(index + first);
        }
    }
    const std::size_t indexOffset = state.indexStream.Upload(
        batch.indices.data(), batch.indices.size() * sizeof(std::uint16_t), sizeof(std::uint16_t));
    glDrawElements(batch.key.mode, static_cast<GLsizei>(batch.indices.size()), GL_UNSIGNED_SHORT,
                   reinterpret_cast<const void*>(indexOffset));
    ++state.drawCalls;
    UnbindVertices(VertexLayout::Batch);
}

// Client arrays need no buffer bound; a context older than buffer objects has none to unbind.
// With `indices` the draw goes through them.
void DrawClientArrays(GLenum mode, const BatchVertex* vertices, std::uint32_t count,
                      std::span<const std::uint16_t> indices = {})
{
    if constexpr (Marrowgate::Graphics::kFixedFunctionBuilt) {
        if (Marrowgate::Graphics::HasEntryPoint(glBindBuffer)) {
            glBindBuffer(GL_ARRAY_BUFFER, 0);
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
        }
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, sizeof(BatchVertex), &vertices->x);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(BatchVertex), &vertices->color);
        glTexCoordPointer(2, GL_FLOAT, sizeof(BatchVertex), &vertices->u);
        if (indices.empty()) {
            glDrawArrays(mode, 0, static_cast<GLsizei>(count));
        } else {
            glDrawElements(mode, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT, indices.data());
        }
        ++theRendererState.drawCalls;
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
}

// 2D positions are floored as the built-in program does, so both pipelines hit the same pixels.
BatchVertex ToClientVertex(const Vertex2D& vertex)
{
    return {
        std::floor(vertex.x), std::floor(vertex.y), 0.0f, PremultiplyColor(vertex.color), vertex.u, vertex.v};
}
BatchVertex ToClientVertex(const Vertex3D& vertex)
{
    return {vertex.x, vertex.y, vertex.z, PremultiplyColor(vertex.color), vertex.u, vertex.v};
}

template <typename Vertex> void DrawFixedFunction(GLenum mode, const Vertex* vertices, std::uint32_t count)
{
    static std::vector<BatchVertex> converted;
    converted.clear();
    for (std::uint32_t index = 0; index < count; ++index) {
        converted.push_back(ToClientVertex(vertices[index]));
    }
    DrawClientArrays(mode, converted.data(), count);
}

// A draw outside the batch: whatever was gathered goes first.
void PrepareOwnDraw()
{
    FlushBatch();
    const RendererState& state = theRendererState;
    if (IsBuiltInProgramCurrent()) {
        PrepareBuiltInProgram(Marrowgate::Graphics::GetModelViewProjectionMatrix(), true,
                              state.isFontTexture);
    }
}

template <typename Vertex>
void DrawOnItsOwn(PrimitiveType type, const Vertex* vertices, std::uint32_t count, VertexLayout layout)
{
    if (theRendererState.isFixedFunction) {
        FlushBatch();
        DrawFixedFunction(ToGLMode(type), vertices, count);
        return;
    }
    PrepareOwnDraw();
    DrawStreamed(ToGLMode(type), vertices, count, layout);
}

} // namespace

std::uint32_t PremultiplyColor(std::uint32_t color)
{
    // The fixed-function pipeline does not premultiply the vertex colour the way the built-in
    // program does; doing it here keeps translucent colours alike in every set-up.
    const std::uint32_t alpha = (color >> 24) & 0xFFu;
    const auto premultiply = [alpha](std::uint32_t channel) { return channel * alpha / 255u; };
    return (alpha << 24) | (premultiply((color >> 16) & 0xFFu) << 16) |
           (premultiply((color >> 8) & 0xFFu) << 8) | premultiply(color & 0xFFu);
}

void CreateStreamObjects()
{
    RendererState& state = theRendererState;
    state.vertexStream.Create(kVertexStreamBytes, kVertexStreamGrownBytes);
    state.indexStream.Create(kIndexStreamBytes, kIndexStreamGrownBytes);
    CreateVertexArrays();
}

void DeleteStreamObjects()
{
    theRendererState.vertexStream.Delete();
    theRendererState.indexStream.Delete();
    DeleteVertexArrays();
}

void DrawBatch(Batch& batch)
{
    RendererState& state = theRendererState;
    if (state.isFixedFunction) {
        if constexpr (Marrowgate::Graphics::kFixedFunctionBuilt) {
            // The vertices are already through the model-view.
            glLoadIdentity();
            DrawClientArrays(batch.key.mode, batch.vertices.data(),
                             static_cast<std::uint32_t>(batch.vertices.size()), batch.indices);
            glLoadTransposeMatrixf(state.modelView.m);
        }
        return;
    }
    PrepareBuiltInProgram(state.projection, false, batch.key.isFontTexture);
    DrawStreamedBatch(batch);
}

} // namespace mgImplementation

namespace Marrowgate::Graphics {

void RenderVertices2D(PrimitiveType type, const Vertex2D* vertices, std::uint32_t count)
{
    if (count == 0 || vertices == nullptr || !mgImplementation::theRendererState.isReady) {
        return;
    }
    if (!mgImplementation::TryBatch(type, vertices, count)) {
        mgImplementation::DrawOnItsOwn(type, vertices, count, mgImplementation::VertexLayout::Vertex2D);
    }
}

void RenderVertices3D(PrimitiveType type, const Vertex3D* vertices, std::uint32_t count)
{
    if (count == 0 || vertices == nullptr || !mgImplementation::theRendererState.isReady) {
        return;
    }
    mgImplementation::DrawOnItsOwn(type, vertices, count, mgImplementation::VertexLayout::Vertex3D);
}

void RenderVertexBuffer3D(PrimitiveType type, std::uint32_t buffer, std::uint32_t count)
{
    const mgImplementation::RendererState& state = mgImplementation::theRendererState;
    if (count == 0 || buffer == 0 || !state.isReady || state.isFixedFunction) {
        return;
    }
    mgImplementation::PrepareOwnDraw();
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    mgImplementation::DrawArrays(mgImplementation::ToGLMode(type),
                                 mgImplementation::VertexLayout::CallerBuffer, 0, count);
}

std::uint32_t CreateVertexArray3D(std::uint32_t buffer)
{
    const mgImplementation::RendererState& state = mgImplementation::theRendererState;
    if (buffer == 0 || !state.isReady || state.isFixedFunction) {
        return 0;
    }
    return mgImplementation::CreateBufferVertexArray(mgImplementation::VertexLayout::CallerBuffer, buffer);
}

void RenderVertexArray3D(PrimitiveType type, std::uint32_t vertexArray, std::uint32_t count)
{
    mgImplementation::RendererState& state = mgImplementation::theRendererState;
    if (count == 0 || vertexArray == 0 || !state.isReady || state.isFixedFunction) {
        return;
    }
    mgImplementation::PrepareOwnDraw();
    glBindVertexArray(vertexArray);
    glDrawArrays(mgImplementation::ToGLMode(type), 0, static_cast<GLsizei>(count));
    ++state.drawCalls;
    glBindVertexArray(0);
}

void RenderQuad(const Vector2& topLeft, const Vector2& bottomRight, std::uint32_t color, float uLeft,
                float vTop, float uRight, float vBottom)
{
    // Clockwise on screen, as the face culling of the 2D pass expects.
    const std::array<Vertex2D, 4> vertices = {{
        {topLeft.x, bottomRight.y, color, uLeft, vBottom},
        {topLeft.x, topLeft.y, color, uLeft, vTop},
        {bottomRight.x, bottomRight.y, color, uRight, vBottom},
        {bottomRight.x, topLeft.y, color, uRight, vTop},
    }};
    RenderVertices2D(PrimitiveType::TriangleStrip, vertices.data(),
                     static_cast<std::uint32_t>(vertices.size()));
}

void RenderOpaqueQuad(const Vector2& topLeft, const Vector2& bottomRight, float uLeft, float vTop,
                      float uRight, float vBottom)
{
    Flush();
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    RenderQuad(topLeft, bottomRight, 0xFFFFFFFFu, uLeft, vTop, uRight, vBottom);
    Flush();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
}

} // namespace Marrowgate::Graphics
