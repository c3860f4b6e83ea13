// Example 5: a 3D mesh lit by the scene lighting, seen through the 3D camera, with debug lines.
//
// Cinderhall draws meshes (.msh files; quorvane-mesh makes them from Wavefront OBJ) with GLSL
// programs from the shader manager. A PerspectivePass hosts the 3D view inside the 2D scene:
// Begin sets a perspective projection and the camera's view, binds the pass's program and hands
// it the pass's lighting (a sun, in world space, and an ambient light); End puts the 2D state
// back, so text drawn afterwards lands on top as usual. A Visualization holds debug lines.
//
// The camera circles the cube and the sun circles the sky (the yellow line points at it); Left
// and Right move the camera faster.
// Usage: example_5_mesh_and_lighting [seconds]
#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_perspective_pass.h"
#include "cinderhall/cdh_shader_manager.h"
#include "cinderhall/cdh_visualization.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_text.h"
#include "marrowgate/math/mg_matrix.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace Marrowgate;
using Application::Key;
using Cinderhall::theShaderManager;
using Core::Vector3;

namespace {

constexpr float kFieldOfView = 0.9f; // vertical, radians
constexpr float kCameraDistance = 4.0f;
constexpr float kCameraHeight = 2.5f;
constexpr float kOrbitPerStep = 0.003f; // radians
constexpr float kFastOrbitPerStep = 0.02f;
constexpr float kSunTurnPerStep = 0.004f;
constexpr std::uint32_t kGridColor = 0xFF406040; // 0xAARRGGBB

} // namespace

class MeshScene : public Game::GameScene
{
public:
    explicit MeshScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        // Programs are compiled from files relative to the data folder.
        mLitShader = theShaderManager->CreateShaderFromFile("data/shaders/lit.vert", "data/shaders/lit.frag");
        mLineShader =
            theShaderManager->CreateShaderFromFile("data/shaders/lines.vert", "data/shaders/lines.frag");
        Cinderhall::SetVisualizationShader(mLineShader);
        // A mesh object is drawn by the render list every time the list is drawn.
        mCube.LoadMesh("data/mesh/cube.msh");
        mCube.SetShader(mLitShader);
        // A persistent grid on the ground, one unit apart.
        for (int line = -5; line <= 5; ++line) {
            const float offset = static_cast<float>(line);
            mDebugLines.AddPersistentLine({offset, -0.5f, -5.0f}, {offset, -0.5f, 5.0f}, kGridColor);
            mDebugLines.AddPersistentLine({-5.0f, -0.5f, offset}, {5.0f, -0.5f, offset}, kGridColor);
        }
        // The pass draws with the lit program; a brighter ambient light than the default keeps
        // the faces turned from the sun readable.
        mPass.SetProgram(mLitShader);
        mPass.SetFieldOfView(kFieldOfView);
        mPass.SetClipPlanes(0.1f, 100.0f);
        mPass.GetLighting().ambientColor = Graphics::Color(1.0f, 0.2f, 0.2f, 0.22f);
        mLabel.SetPosition({20.0f, 20.0f});
        AddGraphic(&mLabel);
    }

    ~MeshScene() override
    {
        Cinderhall::SetVisualizationShader(Cinderhall::InvalidShader);
        theShaderManager->DestroyShader(mLineShader);
        theShaderManager->DestroyShader(mLitShader);
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        mOrbitAngle += kOrbitPerStep +
                       kFastOrbitPerStep * ((mRight.IsDown() ? 1.0f : 0.0f) - (mLeft.IsDown() ? 1.0f : 0.0f));
        mSunAngle += kSunTurnPerStep;
        Vector3& sun = mPass.GetLighting().sunDirection;
        sun = Vector3(std::cos(mSunAngle), 1.0f, std::sin(mSunAngle));
        // Transient lines last until the next Clear(false): here, one step.
        mDebugLines.Clear(false);
        mDebugLines.AddLine(Vector3(), sun * 1.5f, 0xFFFFFF00);
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mSecondsShown += deltaTime;
        if (mSecondsToRun > 0.0f && mSecondsToRun <= mSecondsShown) {
            Game::GameApplication::RequestQuit();
        }
    }

    void OnRender() override
    {
        const Cinderhall::cdhCamera camera(Vector3(kCameraDistance * std::sin(mOrbitAngle), kCameraHeight,
                                                   kCameraDistance * std::cos(mOrbitAngle)),
                                           Vector3(), Vector3(0.0f, 1.0f, 0.0f));
        mPass.Begin(camera.ComputeView());
        // The material colour tints the white cube; the lighting set it to white at Begin.
        theShaderManager->SetShaderUniform(mLitShader, "materialColor", 1.0f, 0.55f, 0.1f, 1.0f);
        Cinderhall::RenderList::Get().Render(mPass.GetView());
        // Debug lines and the axes switch to the visualization shader and back by themselves.
        mDebugLines.Render();
        Cinderhall::RenderAxes(1.5f, false);
        mPass.End();
        // Then the 2D children (the label) on top.
        GameScene::OnRender();
    }

private:
    Cinderhall::ShaderHandle mLitShader = Cinderhall::InvalidShader;
    Cinderhall::ShaderHandle mLineShader = Cinderhall::InvalidShader;
    Cinderhall::MeshObject mCube;
    Cinderhall::PerspectivePass mPass;
    Cinderhall::Visualization mDebugLines;
    Graphics::Text mLabel{"A lit mesh, the axes and a grid. Left and Right orbit.", 22.0f};
    Game::KeyBinding mLeft{Key::KeyLeft};
    Game::KeyBinding mRight{Key::KeyRight};
    float mOrbitAngle = 0.6f;
    float mSunAngle = 0.0f;
    float mSecondsToRun;
    float mSecondsShown = 0.0f;
};

int main(int argumentCount, char** arguments)
{
    const float secondsToRun = argumentCount > 1 ? std::strtof(arguments[1], nullptr) : 0.0f;
    std::error_code error;
    std::filesystem::current_path(EXAMPLES_DIRECTORY, error);
    if (error) {
        std::fprintf(stderr, "cannot change to the examples folder %s\n", EXAMPLES_DIRECTORY);
        return EXIT_FAILURE;
    }
    Game::GameApplication application(Application::WindowMode::kWindowed, 0, 0, true);
    application.SetWindowTitle("Mesh and lighting");
    // The scene's programs and mesh buffers go before the window's context does.
    MeshScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
