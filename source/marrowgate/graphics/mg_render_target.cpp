#include "marrowgate/graphics/mg_render_target.h"

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_framebuffer.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <array>
#include <utility>

namespace {
constexpr char kUnitName[] = "mg_render_target";
} // namespace

namespace Marrowgate::Graphics {

struct RenderTarget::Framebuffer : mgImplementation::Framebuffer
{
};

namespace {

// What drawing into a target changes, put back when the pass ends however it ends.
class TargetPass
{
public:
    TargetPass(std::uint32_t framebuffer, PixelSpace width, PixelSpace height)
        : mPreviousFramebuffer(mgImplementation::GetBoundFramebuffer()), mProjection(GetProjectionMatrix()),
          mModelView(GetModelViewMatrix()), mViewport(GetViewport())
    {
        Flush();
        glGetIntegerv(GL_FRONT_FACE, &mFrontFace);
        mgImplementation::BindFramebuffer(framebuffer);
        SetViewport({0, 0, width, height});
        // Texture rows run from the bottom up, so the target's top row is drawn at the bottom:
        // a sprite of the texture then shows the picture upright. The turn mirrors every
        // triangle, so the front faces swap winding with it.
        SetProjectionMatrix(Core::CreateOrthoRH(0.0f, width, height, 0.0f, -1.0f, 1.0f));
        glFrontFace(mFrontFace == GL_CW ? GL_CCW : GL_CW);
        SetModelViewMatrix(Matrix4());
    }

    ~TargetPass()
    {
        Flush();
        mgImplementation::BindFramebuffer(mPreviousFramebuffer);
        SetViewport(mViewport);
        glFrontFace(static_cast<GLenum>(mFrontFace));
        SetProjectionMatrix(mProjection);
        SetModelViewMatrix(mModelView);
    }

    TargetPass(const TargetPass&) = delete;
    TargetPass& operator=(const TargetPass&) = delete;

private:
    std::uint32_t mPreviousFramebuffer;
    Matrix4 mProjection;
    Matrix4 mModelView;
    Viewport mViewport;
    GLint mFrontFace = GL_CW;
};

} // namespace

RenderTarget::RenderTarget(PixelSpace width, PixelSpace height, bool withDepth)
    : mWidth(width), mHeight(height), mHasDepth(withDepth), mTexture(CreateTargetTexture(width, height))
{
    mHasFailed = mTexture == InvalidTexture;
}

RenderTarget::~RenderTarget()
{
    if (mFramebuffer) {
        Flush();
        mgImplementation::ReleaseFramebuffer(*mFramebuffer);
    }
}

std::uint32_t RenderTarget::GetTextureGLName() const
{
    return Graphics::GetTextureGLName(mTexture);
}

bool RenderTarget::CopyPixelForPixel(int left, int top) const
{
    if (!mHasContents || !mFramebuffer || mFramebuffer->contextGeneration != GetContextGeneration()) {
        return false;
    }
    Flush(); // what was drawn before the copy stays before it
    const Viewport viewport = GetViewport();
    return mgImplementation::CopyRowsReversed(*mFramebuffer, mWidth, mHeight, viewport[0] + left,
                                              viewport[1] + viewport[3] - top - mHeight);
}

bool RenderTarget::HaveContentsBeenLost()
{
    return std::exchange(mWereContentsLost, false);
}

bool RenderTarget::Prepare()
{
    if (mHasFailed || !IsRendererReady()) {
        return false;
    }
    if (mFramebuffer && mFramebuffer->contextGeneration == GetContextGeneration()) {
        return true;
    }
    if (mFramebuffer) {
        // Made in a context that is gone: its names went with it, and so did the pixels.
        mgImplementation::ReleaseFramebuffer(*mFramebuffer);
        mWereContentsLost = mHasContents;
        mHasContents = false;
    }
    if (const std::string missing = mgImplementation::FindMissingFramebufferSupport(); !missing.empty()) {
        MG_ERROR(
            "mgError: A render target of %u x %u pixels needs %s, which this OpenGL driver does not offer.",
            unsigned{mWidth}, unsigned{mHeight}, missing.c_str());
        mHasFailed = true;
        return false;
    }
    const int largest = mgImplementation::GetLargestTargetSide();
    if (mWidth > largest || mHeight > largest) {
        MG_ERROR(
            "mgError: A render target of %u x %u pixels is larger than this OpenGL driver allows (%d x %d).",
            unsigned{mWidth}, unsigned{mHeight}, largest, largest);
        mHasFailed = true;
        return false;
    }
    auto framebuffer = std::make_unique<Framebuffer>();
    const std::string refusal =
        mgImplementation::CreateFramebuffer(*framebuffer, GetTextureGLName(), mWidth, mHeight, mHasDepth);
    if (!refusal.empty()) {
        MG_ERROR("mgError: The OpenGL driver refuses a render target of %u x %u pixels%s (%s).",
                 unsigned{mWidth}, unsigned{mHeight}, mHasDepth ? " with depth" : "", refusal.c_str());
        mHasFailed = true;
        return false;
    }
    mFramebuffer = std::move(framebuffer);
    return true;
}

bool RenderTarget::Draw(const std::function<void()>& draw, const Color& clearColor)
{
    if (!Prepare()) {
        return false;
    }
    const TargetPass pass(mFramebuffer->framebuffer, mWidth, mHeight);
    // Premultiplied, as everything drawn into the target will be.
    const float alpha = clearColor.GetAlpha();
    glClearColor(clearColor.GetRed() * alpha, clearColor.GetGreen() * alpha, clearColor.GetBlue() * alpha,
                 alpha);
    glClear(GL_COLOR_BUFFER_BIT | (mHasDepth ? GL_DEPTH_BUFFER_BIT : 0u));
    mHasContents = true;
    if (draw) {
        draw();
    }
    return true;
}

} // namespace Marrowgate::Graphics
