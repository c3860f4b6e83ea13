// Gathering of 2D draws. A draw joins the batch when it shares the batch's texture, blending,
// colour matrix and joined primitive kind; its vertices are floored and moved through the
// model-view here, so model-view changes between draws do not split the batch. Strips and fans
// become indexed triangles with the winding the GPU would give them, so culling and coverage
// stay the same; line strips and loops are drawn on their own.

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/implementation/mgi_renderer_state.h"

#include <GL/glew.h>

#include <cmath>
#include <optional>

namespace mgImplementation {

using Marrowgate::Graphics::PrimitiveType;
using Marrowgate::Graphics::Vertex2D;

namespace {

// Large enough that a full frame of sprites takes few draw calls, small enough that one upload
// stays well inside any driver's comfortable buffer size and every index fits 16 bits. A batch
// never holds more than three indices per vertex.
constexpr std::size_t kBatchVertexLimit = 24576;
static_assert(kBatchVertexLimit <= 65536, "batch indices are 16-bit");

std::optional<GLenum> JoinedMode(PrimitiveType type)
{
    switch (type) {
    case PrimitiveType::Triangles:
    case PrimitiveType::TriangleStrip:
    case PrimitiveType::TriangleFan:
        return GL_TRIANGLES;
    case PrimitiveType::Lines:
        return GL_LINES;
    case PrimitiveType::LineStrip:
    case PrimitiveType::LineLoop:
        return std::nullopt;
    }
    return std::nullopt;
}

// Vertices the draw adds to the batch; incomplete primitives draw nothing.
std::size_t JoinedCount(PrimitiveType type, std::uint32_t count)
{
    switch (type) {
    case PrimitiveType::Triangles:
        return count - count % 3u;
    case PrimitiveType::TriangleStrip:
    case PrimitiveType::TriangleFan:
        return count < 3u ? 0u : count;
    default:
        return count - count % 2u;
    }
}

// The batch stores x, y and z only, so a model-view with a projective bottom row cannot join.
bool IsAffine(const Marrowgate::Core::Matrix4& matrix)
{
    return matrix.m[12] == 0.0f && matrix.m[13] == 0.0f && matrix.m[14] == 0.0f && matrix.m[15] == 1.0f;
}

BatchVertex Transform(const Vertex2D& vertex, const Marrowgate::Core::Matrix4& modelView, bool premultiply)
{
    const float x = std::floor(vertex.x);
    const float y = std::floor(vertex.y);
    const float* m = modelView.m;
    return {m[0] * x + m[1] * y + m[3],
            m[4] * x + m[5] * y + m[7],
            m[8] * x + m[9] * y + m[11],
            premultiply ? PremultiplyColor(vertex.color) : vertex.color,
            vertex.u,
            vertex.v};
}

void AppendTriangle(std::vector<std::uint16_t>& indices, std::size_t first, std::size_t second,
                    std::size_t third)
{
    indices.push_back(static_cast<std::uint16_t>(first));
    indices.push_back(static_cast<std::uint16_t>(second));
    indices.push_back(static_cast<std::uint16_t>(third));
}

// `added` vertices go in once each; strips and fans become triangles over them.
void Append(PrimitiveType type, const Vertex2D* vertices, std::size_t added)
{
    const RendererState& state = theRendererState;
    Batch& batch = theRendererState.batch;
    const std::size_t base = batch.vertices.size();
    for (std::size_t index = 0; index < added; ++index) {
        batch.vertices.push_back(Transform(vertices[index], state.modelView, state.isFixedFunction));
    }
    std::vector<std::uint16_t>& indices = batch.indices;
    if (type == PrimitiveType::TriangleStrip) {
        // Every other triangle of a strip is wound the other way round, as the GPU reads it.
        for (std::size_t first = base; first + 2u < base + added; ++first) {
            const bool isOdd = ((first - base) % 2u) != 0u;
            AppendTriangle(indices, isOdd ? first + 1u : first, isOdd ? first : first + 1u, first + 2u);
        }
    } else if (type == PrimitiveType::TriangleFan) {
        for (std::size_t first = base + 1u; first + 1u < base + added; ++first) {
            AppendTriangle(indices, base, first, first + 1u);
        }
    } else {
        for (std::size_t index = base; index < base + added; ++index) {
            indices.push_back(static_cast<std::uint16_t>(index));
        }
    }
}

} // namespace

bool TryBatch(PrimitiveType type, const Vertex2D* vertices, std::uint32_t count)
{
    RendererState& state = theRendererState;
    const std::optional<GLenum> mode = JoinedMode(type);
    if (!state.isBatching || !mode || !IsAffine(state.modelView) ||
        (!state.isFixedFunction && !IsBuiltInProgramCurrent())) {
        return false;
    }
    const std::size_t added = JoinedCount(type, count);
    if (added > kBatchVertexLimit) {
        return false; // drawn on its own, after the batch
    }
    const BatchKey key{*mode, state.currentTexture, state.isFontTexture};
    Batch& batch = state.batch;
    if (!batch.vertices.empty() && (key != batch.key || batch.vertices.size() + added > kBatchVertexLimit)) {
        FlushBatch();
    }
    batch.key = key;
    Append(type, vertices, added);
    return true;
}

void FlushBatch()
{
    Batch& batch = theRendererState.batch;
    if (batch.vertices.empty()) {
        return;
    }
    DrawBatch(batch);
    batch.Clear();
}

} // namespace mgImplementation

namespace Marrowgate::Graphics {

void Flush()
{
    if (!mgImplementation::theRendererState.isReady) {
        mgImplementation::theRendererState.batch.Clear();
        return;
    }
    mgImplementation::FlushBatch();
}

} // namespace Marrowgate::Graphics
