// Real windows under a display (Xvfb in CI). Each run happens in a child process, because the
// OpenGL driver reads its version overrides once per process, and because the point is to see
// the whole run end with exit code 0 after the window is closed.

#include "marrowgate/game/mg_game_application.h"

#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Marrowgate::Application::WindowMode;
using Marrowgate::Game::GameApplication;

// Asks the window system to close the window after a few frames, as a user would.
class ClosingScene : public Marrowgate::Game::GameScene
{
public:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        if (++frames == 5) {
            SDL_Event close{};
            close.type = SDL_WINDOWEVENT;
            close.window.event = SDL_WINDOWEVENT_CLOSE;
            close.window.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
            SDL_PushEvent(&close);
        }
    }
    int frames = 0;
};

std::string GlVersion()
{
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version != nullptr ? version : "";
}

// Opens the default window, checks it, runs until the close event, and exits 0 only if every
// check held; the checks print what they saw so a failure explains itself.
[[noreturn]] void RunDefaultWindow()
{
    int failures = 0;
    {
        const WindowMode mode = WindowMode::kWindowed;
        const std::uint16_t zero = 0;
        GameApplication application(mode, zero, zero, true);
        application.SetWindowTitle("Window test");

        int width = 0;
        int height = 0;
        SDL_GetWindowSize(SDL_GL_GetCurrentWindow(), &width, &height);
        std::fprintf(stderr, "client area %dx%d, screen %dx%d\n", width, height,
                     Marrowgate::Graphics::ScreenWidth(), Marrowgate::Graphics::ScreenHeight());
        failures += width != 1280 || height != 720;

        const std::string version = GlVersion();
        const bool isEmbeddedContext = version.starts_with("OpenGL ES");
        const bool isVersioned = isEmbeddedContext || std::atof(version.c_str()) >= 3.2;
        failures += Marrowgate::Graphics::IsEmbeddedProfile() != isEmbeddedContext;
        failures += Marrowgate::Graphics::IsFixedFunctionMode() == isVersioned;
        failures += !Marrowgate::Graphics::IsRendererReady();

        ClosingScene scene;
        GameApplication::ChangeToScene(&scene);
        application.RunGame(nullptr);
        std::fprintf(stderr, "frames %d\n", scene.frames);
        failures += scene.frames < 5;
    }
    std::fprintf(stderr, "failures %d\n", failures);
    std::exit(failures == 0 ? 0 : 2);
}

// Reads the window's middle pixel as the frame begins, before anything is drawn over the clear,
// and after a few frames hands over to the next scene, or closes the window when there is none.
class ClearColorScene : public ClosingScene
{
public:
    explicit ClearColorScene(GameScene* next) : mNext(next) {}
    void OnUpdate(float deltaTime) override
    {
        if (mNext == nullptr) {
            ClosingScene::OnUpdate(deltaTime);
            return;
        }
        GameScene::OnUpdate(deltaTime);
        if (++frames == 3) {
            GameApplication::ChangeToScene(mNext);
        }
    }
    void OnRender() override
    {
        glReadPixels(640, 360, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        ClosingScene::OnRender();
    }
    unsigned char pixel[4] = {};

private:
    GameScene* mNext;
};

// One scene clears to its own colour, the next to the default transparent black.
[[noreturn]] void RunScenesWithClearColors()
{
    int failures = 0;
    {
        GameApplication application(WindowMode::kWindowed, 0, 0, true);
        application.SetWindowTitle("Clear colour test");
        ClearColorScene plain(nullptr);
        ClearColorScene colored(&plain);
        colored.SetClearColor(Marrowgate::Graphics::Color(1.0f, 0.2f, 0.6f, 1.0f));
        GameApplication::ChangeToScene(&colored);
        application.RunGame(nullptr);
        const int expected[2][3] = {{51, 153, 255}, {0, 0, 0}};
        int index = 0;
        for (const ClearColorScene* scene : {&colored, &plain}) {
            std::fprintf(stderr, "clear %d %d %d\n", scene->pixel[0], scene->pixel[1], scene->pixel[2]);
            for (int channel = 0; channel < 3; ++channel) {
                failures += std::abs(scene->pixel[channel] - expected[index][channel]) > 1;
            }
            ++index;
        }
    }
    std::fprintf(stderr, "failures %d\n", failures);
    std::exit(failures == 0 ? 0 : 2);
}

class GameApplicationWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
            GTEST_SKIP() << "needs a display (run under xvfb-run)";
        }
    }
};

TEST_F(GameApplicationWindowTest, DesktopShadersOnACore32Context)
{
    EXPECT_EXIT(RunDefaultWindow(), ::testing::ExitedWithCode(0),
                "renderer set-up: desktop shaders\n(.|\n)*client area 1280x720(.|\n)*failures 0");
}

TEST_F(GameApplicationWindowTest, EmbeddedShadersWhenOnlyOpenGL21IsOffered)
{
    EXPECT_EXIT(
        {
            setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
            RunDefaultWindow();
        },
        ::testing::ExitedWithCode(0),
        "OpenGL \"OpenGL ES [^\n]*renderer set-up: embedded shaders\n(.|\n)*failures 0");
}

TEST_F(GameApplicationWindowTest, FixedFunctionOnALegacyContext)
{
    EXPECT_EXIT(
        {
            setenv("MESA_GL_VERSION_OVERRIDE", "3.1", 1);
            setenv("MESA_GLES_VERSION_OVERRIDE", "1.1", 1);
            RunDefaultWindow();
        },
        ::testing::ExitedWithCode(0), "renderer set-up: fixed-function\n(.|\n)*failures 0");
}

TEST_F(GameApplicationWindowTest, EachSceneClearsTheWindowToItsOwnColour)
{
    EXPECT_EXIT(RunScenesWithClearColors(), ::testing::ExitedWithCode(0),
                "clear 51 153 255\n(.|\n)*clear 0 0 0\n(.|\n)*failures 0");
}

} // namespace
