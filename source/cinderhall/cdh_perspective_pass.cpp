#include "cinderhall/cdh_perspective_pass.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <GL/glew.h>

#include <cmath>

namespace {
constexpr char kUnitName[] = "cdh_perspective_pass";

namespace Renderer = Marrowgate::Graphics;

bool IsWholeViewport(const std::array<int, 4>& pixels, const std::array<int, 4>& viewport)
{
    return pixels[0] == 0 && pixels[1] == 0 && pixels[2] == viewport[2] && pixels[3] == viewport[3];
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
    if (program_ != InvalidShader) {
        theShaderManager->BindShader(program_);
    }
    Renderer::BindTexture(Renderer::GetBlankTexture());
    savedProjection_ = Renderer::GetProjectionMatrix();
    savedModelView_ = Renderer::GetModelViewMatrix();
    drawnRectangle_ = GetScreenRectangle();
    view_ = view;
    projection_ = projection;
    hasBegun_ = true;
    changedViewport_ = false;
    if (Renderer::IsRendererReady()) {
        Renderer::Flush(); // the 2D drawn so far goes out under the 2D state
        glGetIntegerv(GL_VIEWPORT, savedViewport_.data());
        // OpenGL counts viewport rows from the bottom.
        const std::array<int, 4> pixels = {
            static_cast<int>(std::lround(drawnRectangle_.left)),
            static_cast<int>(std::lround(static_cast<float>(savedViewport_[3]) - drawnRectangle_.top -
                                         drawnRectangle_.height)),
            static_cast<int>(std::lround(drawnRectangle_.width)),
            static_cast<int>(std::lround(drawnRectangle_.height))};
        changedViewport_ = !IsWholeViewport(pixels, savedViewport_);
        if (changedViewport_) {
            glViewport(savedViewport_[0] + pixels[0], savedViewport_[1] + pixels[1], pixels[2], pixels[3]);
            glScissor(savedViewport_[0] + pixels[0], savedViewport_[1] + pixels[1], pixels[2], pixels[3]);
            glEnable(GL_SCISSOR_TEST);
        }
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    Renderer::SetModelViewMatrix(view);
    Renderer::SetProjectionMatrix(projection);
    // Under the view, so the world sun reaches the program in eye space.
    lighting_.ApplyLighting();
    isOpen_ = true;
}

void PerspectivePass::End()
{
    MG_ERROR_IF(!isOpen_, "mgExternalError: Cannot end a perspective pass that is not open.");
    if (!isOpen_) {
        return; // nothing was saved: restoring would replace the 2D state with stale values
    }
    theShaderManager->BindShader(savedProgram_);
    Renderer::SetProjectionMatrix(savedProjection_);
    Renderer::SetModelViewMatrix(savedModelView_);
    if (changedViewport_ && Renderer::IsRendererReady()) {
        glDisable(GL_SCISSOR_TEST);
        glViewport(savedViewport_[0], savedViewport_[1], savedViewport_[2], savedViewport_[3]);
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
