// The game drawn for real under a display (Xvfb in CI), in each of the three renderer set-ups:
// the game's programs must compile and link, and a frame of play must show the car in the
// middle of the window, the grid around it and the two score texts in the top corners. Each run
// happens in a child process, because the OpenGL driver reads its version overrides once.

#include "gameplay_scene.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_screen.h"
#include "scene_manager.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Marrowgate::Game::GameApplication;

struct Pixel
{
    int red;
    int green;
    int blue;
};

// The frame as it was drawn, before the buffers are swapped; row 0 is the top of the window.
// Draws the renderer has gathered so far are drawn first, as for any direct use of OpenGL.
class Frame
{
public:
    Frame() : width(Marrowgate::Graphics::ScreenWidth()), height(Marrowgate::Graphics::ScreenHeight())
    {
        Marrowgate::Graphics::Flush();
        bytes.resize(static_cast<std::size_t>(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    }

    Pixel At(int x, int y) const
    {
        const std::size_t index = (static_cast<std::size_t>(height - 1 - y) * width + x) * 4;
        return {bytes[index], bytes[index + 1], bytes[index + 2]};
    }

    int CountIn(int left, int top, int right, int bottom, const std::function<bool(Pixel)>& matches) const
    {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                count += matches(At(x, y)) ? 1 : 0;
            }
        }
        return count;
    }

    int width;
    int height;
    std::vector<unsigned char> bytes;
};

bool IsCarRed(Pixel pixel)
{
    return pixel.red > 120 && pixel.green < 70 && pixel.blue < 70;
}

bool IsGridGreen(Pixel pixel)
{
    return pixel.green > 25 && pixel.red < pixel.green / 2 && pixel.blue < pixel.green / 2;
}

bool IsTextWhite(Pixel pixel)
{
    return pixel.red > 180 && pixel.green > 180 && pixel.blue > 180;
}

// Play as it looks a few frames after opening; then the game quits.
class InspectedGameplay : public GameplayScene
{
public:
    void OnRender() override
    {
        GameplayScene::OnRender();
        if (++frames != 3) {
            return;
        }
        const Frame frame;
        const int middleX = frame.width / 2;
        const int middleY = frame.height / 2;
        carPixels = frame.CountIn(middleX - 40, middleY - 40, middleX + 40, middleY + 40, IsCarRed);
        gridPixels = frame.CountIn(0, frame.height / 2, frame.width, frame.height, IsGridGreen);
        scoreTextPixels = frame.CountIn(10, 10, 200, 60, IsTextWhite);
        bestTextPixels = frame.CountIn(frame.width - 200, 10, frame.width - 10, 60, IsTextWhite);
        SceneManager::QuitGame();
    }

    int frames = 0;
    int carPixels = 0;
    int gridPixels = 0;
    int scoreTextPixels = 0;
    int bestTextPixels = 0;
};

[[noreturn]] void PlayOneScreen()
{
    int failures = 0;
    {
        GameApplication application(Marrowgate::Application::WindowMode::kWindowed, 0, 0, true);
        LoadShaders();
        SceneManager::Create();
        InspectedGameplay gameplay;
        GameApplication::ChangeToScene(&gameplay);
        application.RunGame(nullptr);
        std::fprintf(stderr, "frames %d, car %d, grid %d, score text %d, best text %d\n", gameplay.frames,
                     gameplay.carPixels, gameplay.gridPixels, gameplay.scoreTextPixels,
                     gameplay.bestTextPixels);
        failures += gameplay.frames < 3;
        failures += gameplay.carPixels < 200;
        failures += gameplay.gridPixels < 500;
        failures += gameplay.scoreTextPixels < 50;
        failures += gameplay.bestTextPixels < 50;
        SceneManager::Destroy();
        UnloadShaders();
    }
    std::fprintf(stderr, "failures %d\n", failures);
    std::exit(failures == 0 ? 0 : 2);
}

class GameplayRenderTest : public ::testing::Test
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

TEST_F(GameplayRenderTest, DesktopShadersDrawTheCarTheGridAndTheScores)
{
    EXPECT_EXIT(PlayOneScreen(), ::testing::ExitedWithCode(0), "desktop shaders\n(.|\n)*failures 0");
}

TEST_F(GameplayRenderTest, EmbeddedShadersDrawTheCarTheGridAndTheScores)
{
    EXPECT_EXIT(
        {
            setenv("MESA_GL_VERSION_OVERRIDE", "2.1", 1);
            PlayOneScreen();
        },
        ::testing::ExitedWithCode(0), "embedded shaders\n(.|\n)*failures 0");
}

TEST_F(GameplayRenderTest, TheFixedFunctionPipelineDrawsTheCarTheGridAndTheScores)
{
    EXPECT_EXIT(
        {
            setenv("MESA_GL_VERSION_OVERRIDE", "3.1", 1);
            setenv("MESA_GLES_VERSION_OVERRIDE", "1.1", 1);
            PlayOneScreen();
        },
        ::testing::ExitedWithCode(0), "fixed-function\n(.|\n)*failures 0");
}

} // namespace
