#include "gl_test_context.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>
#include <SDL2/SDL.h>

namespace CinderhallTest {

namespace Renderer = Marrowgate::Graphics;

std::string SetUpName(GLSetUp setUp)
{
    switch (setUp) {
    case GLSetUp::kDesktop:
        return "Desktop";
    case GLSetUp::kEmbedded:
        return "Embedded";
    case GLSetUp::kFixedFunction:
        return "FixedFunction";
    }
    return "Unknown";
}

GLTestContext::GLTestContext(GLSetUp setUp, int width, int height) : height_(height)
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        failure_ = std::string("no video: ") + SDL_GetError();
        return;
    }
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (setUp == GLSetUp::kDesktop) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 2);
    } else if (setUp == GLSetUp::kEmbedded) {
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    }
    SDL_Window* window = SDL_CreateWindow("cinderhall test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    window_ = window;
    if (window == nullptr) {
        failure_ = std::string("no window: ") + SDL_GetError();
        return;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context == nullptr || SDL_GL_MakeCurrent(window, context) != 0) {
        failure_ = std::string("no context: ") + SDL_GetError();
        return;
    }
    context_ = context;
    glewExperimental = GL_FALSE;
    glewInit(); // an ES context on GLX reports spurious errors, yet the entry points load
    Renderer::SetFixedFunctionMode(setUp == GLSetUp::kFixedFunction);
    Renderer::SetEmbeddedProfile(setUp == GLSetUp::kEmbedded);
    Renderer::InitializeRenderer();
    glViewport(0, 0, width, height);
}

GLTestContext::~GLTestContext()
{
    if (context_ != nullptr) {
        Renderer::CleanupRenderer();
        SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window_), nullptr);
        SDL_GL_DeleteContext(context_);
    }
    if (window_ != nullptr) {
        SDL_DestroyWindow(static_cast<SDL_Window*>(window_));
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void GLTestContext::BeginFrame()
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Renderer::BeginDraw();
}

Rgba GLTestContext::ReadPixel(int x, int y) const
{
    glFinish();
    Rgba pixel{};
    glReadPixels(x, height_ - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
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

} // namespace CinderhallTest
