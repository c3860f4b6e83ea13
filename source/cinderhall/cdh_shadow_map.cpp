#include "cinderhall/cdh_shadow_map.h"

#include "cinderhall/cdh_gl_capabilities.h"
#include "cinderhall/cdh_gl_switch.h"
#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <array>
#include <cmath>
#include <cstdio>

namespace {
constexpr char kUnitName[] = "cdh_shadow_map";

namespace Renderer = Marrowgate::Graphics;
using Cinderhall::Matrix4;
using Cinderhall::Vector3;

// Depth alone: the casters' own programs and looks do not matter to the map.
constexpr char kDepthVertexSource[] = R"(uniform mat4 mvpMatrix;

VERTEX_INPUT vec3 vertexPosition;
VERTEX_INPUT mat4 instanceTransform;

void main()
{
    gl_Position = mvpMatrix * instanceTransform * vec4(vertexPosition, 1.0);
}
)";

constexpr char kDepthFragmentSource[] = R"(void main()
{
    FRAGMENT_COLOR = vec4(1.0);
}
)";

constexpr float kSlopeOffset = 2.0f;
constexpr float kUnitsOffset = 4.0f;

// The fixed-function set-up lacks more than shadows; the perspective pass says so for all.
void SayNoShadowMapsOnce()
{
    static bool saidOnce = false;
    if (saidOnce || Renderer::IsFixedFunctionMode()) {
        return;
    }
    saidOnce = true;
    std::fputs(
        "Cinderhall: OpenGL ES 2.0 set-up: no shadow maps (they need OpenGL 3.2 or OpenGL ES 3.0); scenes "
        "draw without shadows\n",
        stderr);
}

// Clip space (-1 to 1) to texture coordinates and depth (0 to 1).
constexpr Matrix4 kClipToMap(0.5f, 0.0f, 0.0f, 0.5f, 0.0f, 0.5f, 0.0f, 0.5f, 0.0f, 0.0f, 0.5f, 0.5f, 0.0f,
                             0.0f, 0.0f, 1.0f);

} // namespace

namespace Cinderhall {

ShadowMap::~ShadowMap()
{
    Release();
}

void ShadowMap::Release()
{
    // Names of an earlier context went with it and may belong to the current one.
    if (Renderer::IsRendererReady() && generation_ == Renderer::GetContextGeneration()) {
        if (framebuffer_ != 0) {
            const GLuint framebuffer = framebuffer_;
            glDeleteFramebuffers(1, &framebuffer);
        }
        if (texture_ != 0) {
            const GLuint texture = texture_;
            glDeleteTextures(1, &texture);
        }
    }
    framebuffer_ = 0;
    texture_ = 0;
    builtSize_ = 0;
}

bool ShadowMap::Prepare()
{
    const std::uint64_t generation = Renderer::GetContextGeneration();
    const int size = settings_.mapSize;
    if (generation_ == generation) {
        if (framebuffer_ != 0 && builtSize_ == size) {
            return true;
        }
        if (refusedSize_ == size) {
            return false; // reported already
        }
    }
    Release();
    generation_ = generation;
    refusedSize_ = 0;
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (size < 1 || size > largest) {
        MG_ERROR(
            "mgError: A shadow map of %d x %d texels is beyond what the OpenGL driver allows (sides of 1 "
            "to %d); the scene draws without shadows.",
            size, size, largest);
        refusedSize_ = size;
        return false;
    }
    Renderer::ClearGLErrors();
    GLint previousTexture = 0;
    GLint previousFramebuffer = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, size, size, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT,
                 nullptr);
    // Depth is compared by the program, texel by texel: no filtering between depths.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, texture, 0);
    const GLenum noColor = GL_NONE;
    glDrawBuffers(1, &noColor);
    glReadBuffer(GL_NONE);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    const GLenum error = glGetError();
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFramebuffer));
    if (status != GL_FRAMEBUFFER_COMPLETE || error != GL_NO_ERROR) {
        MG_ERROR(
            "mgError: The OpenGL driver refuses a shadow map of %d x %d texels (framebuffer status 0x%x, "
            "error 0x%x); the scene draws without shadows.",
            size, size, status, error);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &texture);
        refusedSize_ = size;
        return false;
    }
    texture_ = texture;
    framebuffer_ = framebuffer;
    builtSize_ = size;
    return true;
}

bool ShadowMap::Render(const Vector3& sunDirection, std::span<const RenderList* const> casters)
{
    const float sunLength = sunDirection.Magnitude();
    if (!settings_.enabled || !Renderer::IsRendererReady() || sunLength <= Marrowgate::Core::Epsilon ||
        settings_.radius <= 0.0f) {
        return false;
    }
    if (!ContextHasShadowMaps()) {
        SayNoShadowMapsOnce();
        return false;
    }
    const ShaderHandle program = theShaderManager->CreateBuiltInShader(
        "built-in shadow depth", "", kDepthVertexSource, kDepthFragmentSource);
    if (program == InvalidShader || !Prepare()) {
        return false;
    }
    const Vector3 toSun = sunDirection / sunLength;
    const float radius = settings_.radius;
    // Any up that is not along the sun's direction will do.
    const Vector3 up = std::fabs(toSun.y) > 0.99f ? Vector3(0.0f, 0.0f, -1.0f) : Vector3(0.0f, 1.0f, 0.0f);
    const Matrix4 lightView =
        Marrowgate::Core::MatrixCreateLookAt(settings_.center + toSun * radius, settings_.center, up);
    const Matrix4 lightProjection =
        Marrowgate::Core::CreateOrthoRH(-radius, radius, radius, -radius, 0.0f, 2.0f * radius);
    worldToMap_ = lightView * lightProjection * kClipToMap;

    Renderer::Flush();
    GLint previousFramebuffer = 0;
    const Renderer::Viewport viewport = Renderer::GetViewport();
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer);
    GLboolean depthWrites = GL_TRUE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    Renderer::SetViewport({0, 0, builtSize_, builtSize_});
    {
        const ScopedGLSwitch noScissor(GL_SCISSOR_TEST, false);
        // Open meshes (a single plane) cast shadows too.
        const ScopedGLSwitch noCulling(GL_CULL_FACE, false);
        const ScopedGLSwitch depthTest(GL_DEPTH_TEST, true);
        const ScopedGLSwitch offset(GL_POLYGON_OFFSET_FILL, true);
        glPolygonOffset(kSlopeOffset, kUnitsOffset);
        glDepthMask(GL_TRUE);
        glClear(GL_DEPTH_BUFFER_BIT);
        const Matrix4 savedProjection = Renderer::GetProjectionMatrix();
        Renderer::PushMatrix();
        Renderer::SetProjectionMatrix(lightProjection);
        for (const RenderList* list : casters) {
            if (list != nullptr) {
                list->RenderWithProgram(lightView, program);
            }
        }
        Renderer::PopMatrix();
        Renderer::SetProjectionMatrix(savedProjection);
        glPolygonOffset(0.0f, 0.0f);
    }
    glDepthMask(depthWrites);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFramebuffer));
    Renderer::SetViewport(viewport);
    return true;
}

Matrix4 ShadowMap::ComputeEyeToMap(const Matrix4& view) const
{
    return view.ComputeInverse() * worldToMap_;
}

float ShadowMap::GetDepthBias() const
{
    // The orthographic depth runs linearly over 2 x radius.
    return settings_.radius > 0.0f ? settings_.bias / (2.0f * settings_.radius) : 0.0f;
}

std::uint32_t ShadowMap::GetTextureName() const
{
    return generation_ == Renderer::GetContextGeneration() ? texture_ : 0;
}

} // namespace Cinderhall
