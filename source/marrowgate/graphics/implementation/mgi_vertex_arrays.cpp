#include "marrowgate/graphics/implementation/mgi_vertex_arrays.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/implementation/mgi_renderer_state.h"

#include <span>

namespace mgImplementation {

using Marrowgate::Graphics::Vertex2D;
using Marrowgate::Graphics::Vertex3D;

namespace {

struct VertexAttribute
{
    GLuint location;
    GLint components;
    GLenum type;
    GLboolean isNormalized;
    std::size_t offset;
};

constexpr std::array<VertexAttribute, 3> kVertex2DAttributes = {{
    {0, 2, GL_FLOAT, GL_FALSE, offsetof(Vertex2D, x)},
    {1, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(Vertex2D, color)},
    {2, 2, GL_FLOAT, GL_FALSE, offsetof(Vertex2D, u)},
}};

constexpr std::array<VertexAttribute, 4> kVertex3DAttributes = {{
    {0, 3, GL_FLOAT, GL_FALSE, offsetof(Vertex3D, x)},
    {1, 3, GL_FLOAT, GL_FALSE, offsetof(Vertex3D, normalX)},
    {2, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(Vertex3D, color)},
    {3, 2, GL_FLOAT, GL_FALSE, offsetof(Vertex3D, u)},
}};

constexpr std::array<VertexAttribute, 3> kBatchAttributes = {{
    {0, 3, GL_FLOAT, GL_FALSE, offsetof(BatchVertex, x)},
    {1, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(BatchVertex, color)},
    {2, 2, GL_FLOAT, GL_FALSE, offsetof(BatchVertex, u)},
}};

// 16-bit indices address this many vertices from the first.
constexpr std::size_t kIndexedVertexLimit = 65536;

std::span<const VertexAttribute> AttributesOf(VertexLayout layout)
{
    switch (layout) {
    case VertexLayout::Vertex2D:
        return kVertex2DAttributes;
    case VertexLayout::Batch:
        return kBatchAttributes;
    case VertexLayout::Vertex3D:
    case VertexLayout::CallerBuffer:
        return kVertex3DAttributes;
    }
    return kVertex3DAttributes;
}

LayoutVertexArray& ArrayOf(VertexLayout layout)
{
    return theRendererState.vertexArrays[static_cast<std::size_t>(layout)];
}

void PointAttributes(VertexLayout layout, std::size_t offset)
{
    const auto stride = static_cast<GLsizei>(GetVertexStride(layout));
    for (const VertexAttribute& attribute : AttributesOf(layout)) {
        glVertexAttribPointer(attribute.location, attribute.components, attribute.type,
                              attribute.isNormalized, stride,
                              reinterpret_cast<const void*>(offset + attribute.offset));
    }
}

void EnableAttributes(VertexLayout layout, bool isEnabled)
{
    for (const VertexAttribute& attribute : AttributesOf(layout)) {
        if (isEnabled) {
            glEnableVertexAttribArray(attribute.location);
        } else {
            glDisableVertexAttribArray(attribute.location);
        }
    }
}

} // namespace

std::size_t GetVertexStride(VertexLayout layout)
{
    switch (layout) {
    case VertexLayout::Vertex2D:
        return sizeof(Vertex2D);
    case VertexLayout::Batch:
        return sizeof(BatchVertex);
    case VertexLayout::Vertex3D:
    case VertexLayout::CallerBuffer:
        return sizeof(Vertex3D);
    }
    return sizeof(Vertex3D);
}

void CreateVertexArrays()
{
    // ES 2.0 contexts may lack vertex array objects; there the default state serves.
    if (!Marrowgate::Graphics::HasEntryPoint(glGenVertexArrays)) {
        return;
    }
    for (std::size_t index = 0; index < kVertexLayoutCount; ++index) {
        GLuint name = 0;
        glGenVertexArrays(1, &name);
        glBindVertexArray(name);
        EnableAttributes(static_cast<VertexLayout>(index), true);
        theRendererState.vertexArrays[index] = {GLName(GLNameKind::VertexArray, name), std::nullopt};
    }
    glBindVertexArray(0);
}

void DeleteVertexArrays()
{
    for (LayoutVertexArray& array : theRendererState.vertexArrays) {
        array = LayoutVertexArray();
    }
}

GLuint CreateBufferVertexArray(VertexLayout layout, GLuint buffer)
{
    if (!Marrowgate::Graphics::HasEntryPoint(glGenVertexArrays)) {
        return 0;
    }
    GLuint name = 0;
    glGenVertexArrays(1, &name);
    glBindVertexArray(name);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    EnableAttributes(layout, true);
    PointAttributes(layout, 0);
    glBindVertexArray(0);
    return name;
}

std::uint32_t BindVertices(VertexLayout layout, std::size_t offset, std::size_t count, bool isIndexed)
{
    LayoutVertexArray& array = ArrayOf(layout);
    if (!array.vertexArray) {
        PointAttributes(layout, offset);
        EnableAttributes(layout, true);
        return 0;
    }
    glBindVertexArray(array.vertexArray.Get());
    // Stream uploads start on a multiple of their vertex size, so the distance from the pointed
    // offset is a whole number of vertices.
    if (layout != VertexLayout::CallerBuffer && array.pointedOffset && offset >= *array.pointedOffset) {
        const std::size_t first = (offset - *array.pointedOffset) / GetVertexStride(layout);
        if (!isIndexed || first + count <= kIndexedVertexLimit) {
            return static_cast<std::uint32_t>(first);
        }
    }
    PointAttributes(layout, offset);
    array.pointedOffset = offset;
    return 0;
}

void UnbindVertices(VertexLayout layout)
{
    if (ArrayOf(layout).vertexArray) {
        glBindVertexArray(0);
        return;
    }
    // The context's own attribute state is shared with outside code, which expects it as it was.
    EnableAttributes(layout, false);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

} // namespace mgImplementation
