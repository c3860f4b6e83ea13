#include "cinderhall/cdh_mesh_instances.h"

#include "cinderhall/cdh_mesh.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <cstdio>
#include <vector>

namespace {

namespace Renderer = Marrowgate::Graphics;
using Marrowgate::Core::Matrix4;

// Instanced draws and per-instance inputs are core from OpenGL 3.3 and OpenGL ES 3.0.
bool ContextDrawsInstances()
{
    if (glDrawElementsInstanced == nullptr || glVertexAttribDivisor == nullptr) {
        return false;
    }
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    int minor = 0;
    if (version == nullptr) {
        return false;
    }
    if (Renderer::IsEmbeddedProfile()) {
        return std::sscanf(version, "OpenGL ES %d.%d", &major, &minor) == 2 && major >= 3;
    }
    return std::sscanf(version, "%d.%d", &major, &minor) == 2 && (major > 3 || (major == 3 && minor >= 3));
}

struct InstanceStream
{
    std::uint64_t contextGeneration = 0;
    bool drawsInstances = false;
    GLuint buffer = 0;
    // Column by column, as OpenGL reads a matrix input.
    std::vector<float> columns;
    bool isEnabled = true;
};

// The stream of the renderer's current context: what an earlier one had went with it.
InstanceStream& Stream()
{
    static InstanceStream stream;
    const std::uint64_t generation = Renderer::GetContextGeneration();
    if (stream.contextGeneration != generation && Renderer::IsRendererReady()) {
        stream.contextGeneration = generation;
        stream.buffer = 0;
        stream.drawsInstances = !Renderer::IsFixedFunctionMode() && ContextDrawsInstances();
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
}

void SetConstantInstanceTransform(const Matrix4& transform)
{
    const float* m = transform.m;
    for (GLuint columnIndex = 0; columnIndex < 4; ++columnIndex) {
        glVertexAttrib4f(kInstanceTransformLocation + columnIndex, m[columnIndex], m[4 + columnIndex],
                         m[8 + columnIndex], m[12 + columnIndex]);
    }
}

} // namespace Cinderhall
