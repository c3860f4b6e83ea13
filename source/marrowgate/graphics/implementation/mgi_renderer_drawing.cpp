// Immediate drawing of the basic renderer: each call uploads its vertices into a fresh buffer,
// draws and deletes the buffer again. Nothing is cached between calls.

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/implementation/mgi_renderer_state.h"

#include <GL/glew.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <span>

namespace Marrowgate::Graphics {

using mgImplementation::GLName;
using mgImplementation::GLNameKind;
using mgImplementation::theRendererState;

namespace {

struct VertexAttribute
{
    GLuint location;
    GLint components;
    GLenum type;
    GLboolean isNormalized;
    std::size_t offset;
};

constexpr std::array<VertexAttribute, 3> kVertex2DLayout = {{
    {0, 2, GL_FLOAT, GL_FALSE, offsetof(Vertex2D, x)},
    {1, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(Vertex2D, color)},
    {2, 2, GL_FLOAT, GL_FALSE, offsetof(Vertex2D, u)},
}};

constexpr std::array<VertexAttribute, 4> kVertex3DLayout = {{
    {0, 3, GL_FLOAT, GL_FALSE, offsetof(Vertex3D, x)},
    {1, 3, GL_FLOAT, GL_FALSE, offsetof(Vertex3D, normalX)},
    {2, 4, GL_UNSIGNED_BYTE, GL_TRUE, offsetof(Vertex3D, color)},
    {3, 2, GL_FLOAT, GL_FALSE, offsetof(Vertex3D, u)},
}};

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

template <typename Vertex>
void DrawWithBuffer(PrimitiveType type, const Vertex* vertices, std::uint32_t count,
                    std::span<const VertexAttribute> layout)
{
    // ES 2.0 contexts may lack vertex array objects; there the default state serves.
    GLName vertexArray;
    if (glGenVertexArrays != nullptr) {
        GLuint name = 0;
        glGenVertexArrays(1, &name);
        vertexArray = GLName(GLNameKind::VertexArray, name);
        glBindVertexArray(name);
    }
    GLuint bufferName = 0;
    glGenBuffers(1, &bufferName);
    GLName buffer(GLNameKind::Buffer, bufferName);
    glBindBuffer(GL_ARRAY_BUFFER, bufferName);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(Vertex) * count), vertices, GL_STATIC_DRAW);
    for (const VertexAttribute& attribute : layout) {
        glVertexAttribPointer(attribute.location, attribute.components, attribute.type,
                              attribute.isNormalized, sizeof(Vertex),
                              reinterpret_cast<const void*>(attribute.offset));
        glEnableVertexAttribArray(attribute.location);
    }
    glDrawArrays(ToGLMode(type), 0, static_cast<GLsizei>(count));
    for (const VertexAttribute& attribute : layout) {
        glDisableVertexAttribArray(attribute.location);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (vertexArray) {
        glBindVertexArray(0);
    }
}

// The fixed-function pipeline does not premultiply the vertex colour the way the built-in
// program does; doing it here keeps translucent colours alike in every set-up.
void EmitFixedFunctionColor(std::uint32_t color)
{
    const unsigned alpha = (color >> 24) & 0xFFu;
    const auto premultiply = [alpha](unsigned channel) {
        return static_cast<GLubyte>(channel * alpha / 255u);
    };
    glColor4ub(premultiply(color & 0xFFu), premultiply((color >> 8) & 0xFFu),
               premultiply((color >> 16) & 0xFFu), static_cast<GLubyte>(alpha));
}

// 2D positions are floored as the built-in program does, so both pipelines hit the same pixels.
void EmitFixedFunctionPosition(const Vertex2D& vertex)
{
    glVertex2f(std::floor(vertex.x), std::floor(vertex.y));
}
void EmitFixedFunctionPosition(const Vertex3D& vertex)
{
    glVertex3f(vertex.x, vertex.y, vertex.z);
}

template <typename Vertex>
void DrawFixedFunction(PrimitiveType type, const Vertex* vertices, std::uint32_t count)
{
    glBegin(ToGLMode(type));
    for (std::uint32_t index = 0; index < count; ++index) {
        const Vertex& vertex = vertices[index];
        glTexCoord2f(vertex.u, vertex.v);
        EmitFixedFunctionColor(vertex.color);
        EmitFixedFunctionPosition(vertex);
    }
    glEnd();
}

template <typename Vertex>
void RenderVertices(PrimitiveType type, const Vertex* vertices, std::uint32_t count,
                    std::span<const VertexAttribute> layout)
{
    if (count == 0 || vertices == nullptr || !theRendererState.isReady) {
        return;
    }
    if (theRendererState.isFixedFunction) {
        DrawFixedFunction(type, vertices, count);
    } else {
        DrawWithBuffer(type, vertices, count, layout);
    }
}

} // namespace

void RenderVertices2D(PrimitiveType type, const Vertex2D* vertices, std::uint32_t count)
{
    RenderVertices(type, vertices, count, std::span<const VertexAttribute>(kVertex2DLayout));
}

void RenderVertices3D(PrimitiveType type, const Vertex3D* vertices, std::uint32_t count)
{
    RenderVertices(type, vertices, count, std::span<const VertexAttribute>(kVertex3DLayout));
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

} // namespace Marrowgate::Graphics
