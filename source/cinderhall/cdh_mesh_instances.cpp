#include "cinderhall/cdh_mesh_instances.h"

#include "cinderhall/cdh_gl_capabilities.h"
#include "cinderhall/cdh_mesh.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <vector>

namespace {

namespace Renderer = Marrowgate::Graphics;
using Marrowgate::Core::Matrix4;

struct InstanceStream
{
    std::uint64_t contextGeneration = 0;
    bool drawsInstances = false;
    GLuint buffer = 0;
    // Column by column, as OpenGL reads a matrix input.
    std::vector<float> columns;
    bool isEnabled = true;
};

void SetConstantColumns(const Matrix4& transform)
{
    const float* m = transform.m;
    for (GLuint columnIndex = 0; columnIndex < 4; ++columnIndex) {
        glVertexAttrib4f(Cinderhall::kInstanceTransformLocation + columnIndex, m[columnIndex],
                         m[4 + columnIndex], m[8 + columnIndex], m[12 + columnIndex]);
    }
}

// The stream of the renderer's current context: what an earlier one had went with it. A new
// context's constant transform starts at the identity (OpenGL's default, columns of (0, 0, 0, 1),
// would fold every vertex onto one point).
InstanceStream& Stream()
{
    static InstanceStream stream;
    const std::uint64_t generation = Renderer::GetContextGeneration();
    if (stream.contextGeneration != generation && Renderer::IsRendererReady()) {
        stream.contextGeneration = generation;
        stream.buffer = 0;
        stream.drawsInstances = Cinderhall::ContextDrawsInstances();
        if (!Renderer::IsFixedFunctionMode()) {
            SetConstantColumns(Matrix4());
        }
    }
    return stream;
}

} // namespace

namespace Cinderhall {

bool IsInstancingAvailable()
{
    const InstanceStream& stream = Stream();
    return Renderer::IsRendererReady() && stream.isEnabled && stream.drawsInstances;
}

void SetInstancingEnabled(bool isEnabled)
{
    Stream().isEnabled = isEnabled;
}

void EnableInstanceTransforms(std::span<const Matrix4> transforms)
{
    InstanceStream& stream = Stream();
    if (stream.buffer == 0) {
        glGenBuffers(1, &stream.buffer);
    }
    stream.columns.resize(transforms.size() * 16);
    float* column = stream.columns.data();
    for (const Matrix4& transform : transforms) {
        for (int columnIndex = 0; columnIndex < 4; ++columnIndex) {
            for (int row = 0; row < 4; ++row) {
                *column++ = transform.m[row * 4 + columnIndex];
            }
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, stream.buffer);
    // A fresh store each pass lets the driver keep drawing from the previous one.
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(stream.columns.size() * sizeof(float)),
                 stream.columns.data(), GL_STREAM_DRAW);
    constexpr GLsizei stride = 16 * sizeof(float);
    for (GLuint columnIndex = 0; columnIndex < 4; ++columnIndex) {
        const GLuint location = kInstanceTransformLocation + columnIndex;
        glVertexAttribPointer(location, 4, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(std::size_t{columnIndex} * 4 * sizeof(float)));
        glVertexAttribDivisor(location, 1);
        glEnableVertexAttribArray(location);
    }
}

void DisableInstanceTransforms()
{
    for (GLuint columnIndex = 0; columnIndex < 4; ++columnIndex) {
        const GLuint location = kInstanceTransformLocation + columnIndex;
        glVertexAttribDivisor(location, 0);
        glDisableVertexAttribArray(location);
    }
    // Older specifications leave the constant value undefined after an array fed the input.
    SetConstantColumns(Matrix4());
}

void PrepareInstanceTransforms()
{
    Stream();
}

void SetConstantInstanceTransform(const Matrix4& transform)
{
    SetConstantColumns(transform);
}

} // namespace Cinderhall
