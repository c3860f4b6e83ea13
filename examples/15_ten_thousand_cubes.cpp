// Example 15: ten thousand cubes of one mesh in a few draw calls.
//
// All the MeshObjects share one mesh (LoadSharedMesh) and have no program of their own, so the
// render list draws them with the built-in lit program. Objects that share a mesh, a texture and
// an equal Material are drawn together: one instanced draw per material where the context offers
// instancing (OpenGL 3.3, OpenGL ES 3.0), else one draw each, with the same pixels. Here four
// materials make four draws for 10,000 cubes; the label counts them. I switches instancing off
// and on, to compare. The scene clears to a colour of its own, and exponential fog fades the far
// rows into it.
//
// Usage: example_15_ten_thousand_cubes [seconds]
#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_mesh_cache.h"
#include "cinderhall/cdh_orbit_camera.h"
#include "cinderhall/cdh_perspective_pass.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_text.h"
#include "marrowgate/math/mg_matrix.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace Marrowgate;
using Application::Key;
using Core::Matrix4;

namespace {

constexpr int kSide = 100; // cubes along each side of the square
constexpr float kSpacing = 1.5f;
constexpr float kWaveSpeed = 2.0f; // radians a second
// The background, and the colour the fog fades into.
const Graphics::Color kBackground(1.0f, 0.06f, 0.08f, 0.16f);

} // namespace

class CubesScene : public Game::GameScene
{
public:
    explicit CubesScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        SetClearColor(kBackground);
        const std::shared_ptr<Cinderhall::Mesh> cube = Cinderhall::LoadSharedMesh("data/mesh/cube.msh");
        const std::array<Graphics::Color, 4> colors = {
            Graphics::Color(1.0f, 1.0f, 0.55f, 0.1f), Graphics::Color(1.0f, 0.2f, 0.8f, 0.4f),
            Graphics::Color(1.0f, 0.25f, 0.55f, 1.0f), Graphics::Color(1.0f, 0.95f, 0.9f, 0.85f)};
        for (int index = 0; index < kSide * kSide; ++index) {
            auto& object = mCubes.emplace_back(std::make_unique<Cinderhall::MeshObject>(mScene));
            object->SetMesh(cube);
            // Patches of 10 x 10 cubes in turn.
            const int patch = (index % kSide) / 10 + (index / kSide) / 10;
            Cinderhall::Material material;
            material.baseColor = colors[static_cast<std::size_t>(patch % 4)];
            object->SetMaterial(material);
        }
        mPass.SetClipPlanes(0.5f, 300.0f);
        Cinderhall::SceneLighting& lighting = mPass.GetLighting();
        lighting.sunDirection = Core::Vector3(0.4f, 1.0f, 0.7f);
        lighting.ambientColor = Graphics::Color(1.0f, 0.25f, 0.25f, 0.3f);
        lighting.fog.mode = Cinderhall::Fog::Mode::kExponential;
        lighting.fog.color = kBackground;
        lighting.fog.density = 0.012f;
        mLabel.SetPosition({20.0f, 20.0f});
        AddGraphic(&mLabel);
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        if (mToggleInstancing.IsPressed()) {
            mInstancing = !mInstancing;
            Cinderhall::SetInstancingEnabled(mInstancing);
        }
        mCamera.Turn(0.001f, 0.0f);
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mSecondsShown += deltaTime;
        // A wave runs across the square: each cube rises and falls with its distance from the middle.
        const float half = 0.5f * kSpacing * (kSide - 1);
        for (int index = 0; index < kSide * kSide; ++index) {
            const float x = kSpacing * static_cast<float>(index % kSide) - half;
            const float z = kSpacing * static_cast<float>(index / kSide) - half;
            const float height = std::sin(kWaveSpeed * mSecondsShown - 0.08f * std::sqrt(x * x + z * z));
            mCubes[static_cast<std::size_t>(index)]->SetTransform(
                Core::MatrixCreateTranslation(x, 2.0f * height, z));
        }
        if (mSecondsToRun > 0.0f && mSecondsToRun <= mSecondsShown) {
            Game::GameApplication::RequestQuit();
        }
    }

    void OnRender() override
    {
        const std::uint64_t drawsBefore = Cinderhall::GetMeshDrawCallCount();
        mPass.Begin(mCamera.ComputeView());
        mScene.Render(mPass.GetView());
        mPass.End();
        const std::uint64_t draws = Cinderhall::GetMeshDrawCallCount() - drawsBefore;
        mLabel.SetText(std::to_string(mCubes.size()) + " cubes in " + std::to_string(draws) +
                       " draw calls (" + (Cinderhall::IsInstancingAvailable() ? "instanced" : "one each") +
                       "). I: instancing on/off");
        GameScene::OnRender();
    }

private:
    Cinderhall::RenderList mScene;
    std::vector<std::unique_ptr<Cinderhall::MeshObject>> mCubes;
    Cinderhall::PerspectivePass mPass;
    Cinderhall::OrbitCamera mCamera{{0.0f, 0.0f, 0.0f}, 120.0f, 0.3f, 0.6f};
    Graphics::Text mLabel{"", 22.0f};
    Game::KeyBinding mToggleInstancing{Key::KeyI};
    bool mInstancing = true;
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
    application.SetWindowTitle("Ten thousand cubes");
    CubesScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
