#include "cinderhall/cdh_perspective_pass.h"

#include "cinderhall/cdh_builtin_programs.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {
constexpr char kUnitName[] = "cdh_perspective_pass";

namespace Renderer = Marrowgate::Graphics;

bool IsWholeViewport(const std::array<int, 4>& pixels, const std::array<int, 4>& viewport)
{
    return pixels[0] == 0 && pixels[1] == 0 && pixels[2] == viewport[2] && pixels[3] == viewport[3];
}

// The unit the built-in lit program reads the shadow map from; unit 0 is the surface's texture.
constexpr GLenum kShadowTextureUnit = GL_TEXTURE1;
constexpr int kShadowSamplerUnit = 1;

void BindShadowTexture(GLuint texture)
{
    glActiveTexture(kShadowTextureUnit);
    glBindTexture(GL_TEXTURE_2D, texture);
    glActiveTexture(GL_TEXTURE0);
}

void SayNoLookOnce()
{
    static bool saidOnce = false;
    if (!saidOnce) {
        std::fputs("Cinderhall: fixed-function set-up: scenes draw without sky, fog and shadows\n", stderr);
        saidOnce = true;
    }
}
} // namespace

namespace Cinderhall {

PerspectivePass::~PerspectivePass()
{
    if (isOpen_) {
        End();
    }
}

ScreenRectangle PerspectivePass::GetScreenRectangle() const
{
    if (rectangle_.width > 0.0f && rectangle_.height > 0.0f) {
        return rectangle_;
    }
    return {0.0f, 0.0f, static_cast<float>(Renderer::ScreenWidth()),
            static_cast<float>(Renderer::ScreenHeight())};
}

void PerspectivePass::SetFieldOfView(float verticalRadians)
{
    const bool valid = verticalRadians > 0.0f && verticalRadians < Marrowgate::Core::Pi;
    MG_ERROR_IF(!valid, "mgExternalError: Expected a field of view between 0 and pi radians, not %f.",
                static_cast<double>(verticalRadians));
    if (valid) {
        fieldOfView_ = verticalRadians;
    }
}

void PerspectivePass::SetClipPlanes(float nearPlane, float farPlane)
{
    const bool valid = nearPlane > 0.0f && nearPlane < farPlane && std::isfinite(farPlane);
    MG_ERROR_IF(!valid, "mgExternalError: Expected clip planes with 0 < near < far, not near %f and far %f.",
                static_cast<double>(nearPlane), static_cast<double>(farPlane));
    if (valid) {
        nearPlane_ = nearPlane;
        farPlane_ = farPlane;
    }
}

Matrix4 PerspectivePass::ComputeProjection() const
{
    const ScreenRectangle rectangle = GetScreenRectangle();
    // A window minimised to nothing still gets an invertible projection.
    const float aspectRatio = rectangle.height > 0.0f ? rectangle.width / rectangle.height : 1.0f;
    return Marrowgate::Core::CreatePerspectiveRH(fieldOfView_, aspectRatio > 0.0f ? aspectRatio : 1.0f,
                                                 nearPlane_, farPlane_);
}

void PerspectivePass::Begin(const Matrix4& view)
{
    Begin(view, ComputeProjection());
}

void PerspectivePass::Begin(const Matrix4& view, const Matrix4& projection)
{
    MG_ERROR_IF(isOpen_, "mgExternalError: Cannot begin a perspective pass that is already open.");
    if (isOpen_) {
        return; // saving again would lose the 2D state the open pass must restore
    }
    savedProgram_ = theShaderManager->GetBoundShader();
    Renderer::BindTexture(Renderer::GetBlankTexture());
    savedProjection_ = Renderer::GetProjectionMatrix();
    savedModelView_ = Renderer::GetModelViewMatrix();
    drawnRectangle_ = GetScreenRectangle();
    view_ = view;
    projection_ = projection;
    hasBegun_ = true;
    changedViewport_ = false;
    boundShadowMap_ = false;
    if (Renderer::IsFixedFunctionMode() &&
        (!sky_.IsEmpty() || lighting_.fog.mode != Fog::Mode::kNone || GetShadowSettings().enabled)) {
        SayNoLookOnce();
    }
    if (Renderer::IsRendererReady()) {
        Renderer::Flush(); // the 2D drawn so far goes out under the 2D state
        // Into its own framebuffer, before this pass's viewport and program are set.
        boundShadowMap_ = shadowMap_.Render(lighting_.sunDirection, shadowCasters_);
        savedViewport_ = Renderer::GetViewport();
        // OpenGL counts viewport rows from the bottom.
        const std::array<int, 4> pixels = {
            static_cast<int>(std::lround(drawnRectangle_.left)),
            static_cast<int>(std::lround(static_cast<float>(savedViewport_[3]) - drawnRectangle_.top -
                                         drawnRectangle_.height)),
            static_cast<int>(std::lround(drawnRectangle_.width)),
            static_cast<int>(std::lround(drawnRectangle_.height))};
        changedViewport_ = !IsWholeViewport(pixels, savedViewport_);
        if (changedViewport_) {
            Renderer::SetViewport(
                {savedViewport_[0] + pixels[0], savedViewport_[1] + pixels[1], pixels[2], pixels[3]});
            glScissor(savedViewport_[0] + pixels[0], savedViewport_[1] + pixels[1], pixels[2], pixels[3]);
            glEnable(GL_SCISSOR_TEST);
        }
        glClear(GL_DEPTH_BUFFER_BIT);
        sky_.Render(view, projection);
    }
    Renderer::SetModelViewMatrix(view);
    Renderer::SetProjectionMatrix(projection);
    // Bound once its matrices are set, so that it receives them once.
    if (program_ != InvalidShader) {
        theShaderManager->BindShader(program_);
    }
    // Under the view, so the world sun reaches the program in eye space.
    lighting_.ApplyLighting();
    ShareShadowMap();
    isOpen_ = true;
}

void PerspectivePass::ShareShadowMap()
{
    if (!boundShadowMap_) {
        RememberShadows({{"shadowParameters", {0.0f, 0.0f, 0.0f, 0.0f}}});
        return;
    }
    BindShadowTexture(shadowMap_.GetTextureName());
    const Matrix4 eyeToMap = shadowMap_.ComputeEyeToMap(view_);
    std::vector<std::pair<std::string, Vector4>> uniforms;
    for (int row = 0; row < 3; ++row) {
        uniforms.push_back({"shadowTransform[" + std::to_string(row) + "]",
                            {eyeToMap.m[row * 4], eyeToMap.m[row * 4 + 1], eyeToMap.m[row * 4 + 2],
                             eyeToMap.m[row * 4 + 3]}});
    }
    const float texel = 1.0f / static_cast<float>(GetShadowSettings().mapSize);
    uniforms.push_back({"shadowParameters", {1.0f, shadowMap_.GetDepthBias(), texel, 0.0f}});
    RememberShadows(std::move(uniforms));
    theShaderManager->SetShaderUniform(GetBuiltInProgram(BuiltInProgram::kLit), "shadowMap",
                                       kShadowSamplerUnit);
}

void PerspectivePass::End()
{
    MG_ERROR_IF(!isOpen_, "mgExternalError: Cannot end a perspective pass that is not open.");
    if (!isOpen_) {
        return; // nothing was saved: restoring would replace the 2D state with stale values
    }
    if (boundShadowMap_) {
        Renderer::Flush();
        BindShadowTexture(0);
        RememberShadows({{"shadowParameters", {0.0f, 0.0f, 0.0f, 0.0f}}});
        boundShadowMap_ = false;
    }
    theShaderManager->BindShader(savedProgram_);
    Renderer::SetProjectionMatrix(savedProjection_);
    Renderer::SetModelViewMatrix(savedModelView_);
    if (changedViewport_ && Renderer::IsRendererReady()) {
        glDisable(GL_SCISSOR_TEST);
        Renderer::SetViewport(savedViewport_);
    }
    isOpen_ = false;
}

Ray PerspectivePass::ScreenPointToRay(const Vector2& screenPoint) const
{
    if (!hasBegun_) {
        // Before the first frame (a scene's first update) the view to come is the best guess.
        return Cinderhall::ScreenPointToRay(screenPoint, GetScreenRectangle(), view_, ComputeProjection());
    }
    return Cinderhall::ScreenPointToRay(screenPoint, drawnRectangle_, view_, projection_);
}

} // namespace Cinderhall
