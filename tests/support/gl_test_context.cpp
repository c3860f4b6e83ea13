#include "support/gl_test_context.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <GL/glew.h>
#include <SDL2/SDL.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstdlib>

namespace QuorvaneTest {

namespace Graphics = Marrowgate::Graphics;

namespace {

// The Mesa variables that make the driver refuse newer contexts, as an older driver would.
// They only take effect when set before the process's first context.
void LimitDriverFor(RendererSetUp setUp)
{
    unsetenv("MESA_GL_VERSION_OVERRIDE");
    unsetenv("MESA_GLES_VERSION_OVERRIDE");
    if (setUp == RendererSetUp::Embedded) {
        setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
    } else if (setUp == RendererSetUp::FixedFunction) {
        setenv("MESA_GL_VERSION_OVERRIDE", "3.1", 1);
        setenv("MESA_GLES_VERSION_OVERRIDE", "1.1", 1);
    }
}

void RequestContextFor(RendererSetUp setUp)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    if (setUp == RendererSetUp::Desktop) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 2);
    } else if (setUp == RendererSetUp::Embedded) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    }
    // The fixed-function set-up keeps SDL's default: a legacy context.
}

} // namespace

std::string SetUpName(RendererSetUp setUp)
{
    switch (setUp) {
    case RendererSetUp::Desktop:
        return "Desktop";
    case RendererSetUp::Embedded:
        return "Embedded";
    case RendererSetUp::FixedFunction:
        return "FixedFunction";
    }
    return "Unknown";
}

bool IsNear(const Pixel& actual, const Pixel& expected, int tolerance)
{
    return std::abs(actual.red - expected.red) <= tolerance &&
           std::abs(actual.green - expected.green) <= tolerance &&
           std::abs(actual.blue - expected.blue) <= tolerance;
}

std::unique_ptr<GLTestContext> GLTestContext::Create(RendererSetUp setUp, int width, int height,
                                                     std::string& failure)
{
    LimitDriverFor(setUp);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        failure = std::string("no video: ") + SDL_GetError();
        return nullptr;
    }
    std::unique_ptr<GLTestContext> test(new GLTestContext());
    test->mIsAttached = true;
    RequestContextFor(setUp);
    test->mWindow = SDL_CreateWindow("graphics test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                                     height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (test->mWindow == nullptr) {
        failure = std::string("no window: ") + SDL_GetError();
        return nullptr;
    }
    test->mContext = SDL_GL_CreateContext(static_cast<SDL_Window*>(test->mWindow));
    if (test->mContext == nullptr) {
        failure = "no " + SetUpName(setUp) + " context: " + SDL_GetError();
        return nullptr;
    }
    glewExperimental = GL_TRUE;
    const GLenum glewResult = glewInit();
    // GLEW cannot find a GLX display on EGL contexts, yet the entry points load.
    if (glewResult != GLEW_OK && glewResult != GLEW_ERROR_NO_GLX_DISPLAY) {
        failure = "glewInit failed: " + std::to_string(glewResult);
        return nullptr;
    }
    Graphics::ClearGLErrors();
    test->mWidth = width;
    test->mHeight = height;
    Graphics::SetEmbeddedProfile(setUp == RendererSetUp::Embedded);
    Graphics::SetFixedFunctionMode(setUp == RendererSetUp::FixedFunction);
    glViewport(0, 0, width, height);
    Graphics::SetScreenSize(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height));
    Graphics::InitializeRenderer();
    Graphics::CreateGraphicsResources();
    return test;
}

GLTestContext::~GLTestContext()
{
    Detach();
}

void GLTestContext::Detach()
{
    if (!mIsAttached) {
        return;
    }
    mIsAttached = false;
    if (mContext != nullptr) {
        if (Graphics::IsRendererReady()) {
            Graphics::ReleaseGraphicsResources();
            Graphics::CleanupRenderer();
        }
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(mContext));
    }
    Graphics::SetEmbeddedProfile(false);
    Graphics::SetFixedFunctionMode(false);
    mContext = nullptr;
    if (mWindow != nullptr) {
        SDL_DestroyWindow(static_cast<SDL_Window*>(mWindow));
    }
    mWindow = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void GLTestContext::DrawFrame(const std::function<void()>& draw)
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Graphics::BeginDraw();
    draw();
    Graphics::EndDraw();
    mPixels.assign(static_cast<std::size_t>(mWidth) * mHeight * 4u, 0u);
    std::vector<std::uint8_t> bottomUp(mPixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, mWidth, mHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    const std::size_t rowBytes = static_cast<std::size_t>(mWidth) * 4u;
    for (int row = 0; row < mHeight; ++row) {
        std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>(rowBytes * (mHeight - 1 - row)), rowBytes,
                    mPixels.begin() + static_cast<std::ptrdiff_t>(rowBytes * row));
    }
}

Pixel GLTestContext::At(int x, int y) const
{
    const std::size_t index = (static_cast<std::size_t>(y) * mWidth + x) * 4u;
    return Pixel{mPixels[index], mPixels[index + 1], mPixels[index + 2]};
}

int GLTestContext::CountDifferentPixels(const GLTestContext& other, int tolerance) const
{
    int different = 0;
    for (int y = 0; y < std::min(mHeight, other.mHeight); ++y) {
        for (int x = 0; x < std::min(mWidth, other.mWidth); ++x) {
            different += IsNear(At(x, y), other.At(x, y), tolerance) ? 0 : 1;
        }
    }
    return different;
}

void GLTestContext::SavePicture(const std::string& path) const
{
    stbi_write_png(path.c_str(), mWidth, mHeight, 4, mPixels.data(), mWidth * 4);
}

} // namespace QuorvaneTest

namespace QuorvaneTest {

void GLTestContext::BeginFrame()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Graphics::BeginDraw();
}

Rgba GLTestContext::ReadPixel(int x, int y) const
{
    // Gathered 2D draws are not in the framebuffer until they are flushed.
    Graphics::Flush();
    glFinish();
    Rgba pixel{};
    glReadPixels(x, mHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

std::string GLTestContext::GetVersion() const
{
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version != nullptr ? version : "";
}

std::uint32_t GLTestContext::CurrentProgram() const
{
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return static_cast<std::uint32_t>(program);
}

} // namespace QuorvaneTest
