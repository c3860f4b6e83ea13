// Example 14: a lit, textured scene with fog, a sky and the sun's shadows, and no shader of its own.
//
// MeshObjects without a program of their own draw with Cinderhall's built-in lit program, which
// takes each object's texture and Material. The PerspectivePass gives the scene its look:
//  - a sky from six images (GetSky().LoadCubeMap), drawn behind everything;
//  - linear fog (GetLighting().fog), so the far crates fade into the sky's horizon colour;
//  - the sun's shadows (GetShadowSettings()): Begin first draws the objects of the lists given to
//    SetShadowCasters into a shadow map, and the lit program leaves the sun out where they hide it.
// An OrbitCamera circles the scene; Left and Right turn it faster, and S switches shadows.
//
// Usage: example_14_fog_sky_and_shadows [seconds]
#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_mesh_cache.h"
#include "cinderhall/cdh_orbit_camera.h"
#include "cinderhall/cdh_perspective_pass.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_text.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "marrowgate/math/mg_matrix.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

using namespace Marrowgate;
using Application::Key;
using Core::Matrix4;
using Core::Vector3;

namespace {

constexpr float kOrbitPerStep = 0.002f; // radians
constexpr float kFastOrbitPerStep = 0.02f;
constexpr float kSpinPerStep = 0.01f;
// The fog's colour is the sky's horizon, so far things melt into it.
const Graphics::Color kHorizon(1.0f, 0.81f, 0.89f, 0.95f);

Matrix4 Placement(const Vector3& position, const Vector3& size, float turn)
{
    return Core::MatrixCreateScale(size) * Core::CreateRotationY(turn) *
           Core::MatrixCreateTranslation(position);
}

} // namespace

class LookScene : public Game::GameScene
{
public:
    explicit LookScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        // One cube mesh, loaded once, for the ground, the crates and the tower.
        const std::shared_ptr<Cinderhall::Mesh> cube =
            Cinderhall::LoadSharedMesh("data/mesh/textured_cube.msh");
        const Graphics::TextureHandle grass = Graphics::CreateTextureFromFile("data/images/grass.png");
        const Graphics::TextureHandle crate = Graphics::CreateTextureFromFile("data/images/crate.png");

        AddObject(cube, grass, Placement({0.0f, -0.25f, 0.0f}, {60.0f, 0.5f, 60.0f}, 0.0f),
                  Cinderhall::Material());
        Cinderhall::Material wood;
        wood.specular = 0.3f; // a little shine
        // A ring of crates near the middle, and a row going off into the fog.
        for (int index = 0; index < 6; ++index) {
            const float angle = Core::TwoPi * static_cast<float>(index) / 6.0f;
            AddObject(
                cube, crate,
                Placement({5.0f * std::sin(angle), 0.75f, 5.0f * std::cos(angle)}, {1.5f, 1.5f, 1.5f}, angle),
                wood);
        }
        for (int index = 0; index < 8; ++index) {
            AddObject(
                cube, crate,
                Placement({-3.0f, 1.0f, -10.0f - 6.0f * static_cast<float>(index)}, {2.0f, 2.0f, 2.0f}, 0.3f),
                wood);
        }
        // A white tower that turns, hovering over the ground, so its shadow sweeps round beneath it.
        Cinderhall::Material paint;
        paint.baseColor = Graphics::Color(1.0f, 0.95f, 0.95f, 0.9f);
        mTower = AddObject(cube, Graphics::InvalidTexture, Matrix4(), paint);

        mPass.SetClipPlanes(0.1f, 200.0f);
        Cinderhall::SceneLighting& lighting = mPass.GetLighting();
        lighting.sunDirection = Vector3(0.6f, 1.0f, 0.4f);
        lighting.ambientColor = Graphics::Color(1.0f, 0.35f, 0.38f, 0.45f);
        lighting.fog.mode = Cinderhall::Fog::Mode::kLinear;
        lighting.fog.color = kHorizon;
        lighting.fog.start = 12.0f;
        lighting.fog.end = 55.0f;
        // +x, -x, +y, -y, +z, -z; a missing image is reported and the gradient stays.
        mPass.GetSky().SetGradient(Graphics::Color(1.0f, 0.37f, 0.61f, 0.88f), kHorizon, kHorizon);
        mPass.GetSky().LoadCubeMap({"data/images/sky/px.png", "data/images/sky/nx.png",
                                    "data/images/sky/py.png", "data/images/sky/ny.png",
                                    "data/images/sky/pz.png", "data/images/sky/nz.png"});
        Cinderhall::ShadowSettings& shadows = mPass.GetShadowSettings();
        shadows.enabled = true;
        shadows.center = Vector3(0.0f, 0.0f, 0.0f);
        shadows.radius = 14.0f; // what lies farther out casts and receives no shadow
        mPass.SetShadowCasters({&mScene});

        mLabel.SetPosition({20.0f, 20.0f});
        AddGraphic(&mLabel);
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        const float orbit = mLeft.IsDown()    ? -kFastOrbitPerStep
                            : mRight.IsDown() ? kFastOrbitPerStep
                                              : kOrbitPerStep;
        mCamera.Turn(orbit, 0.0f);
        mTowerTurn += kSpinPerStep;
        mTower->SetTransform(Placement({0.0f, 2.0f, 0.0f}, {1.0f, 3.0f, 1.0f}, mTowerTurn));
        if (mToggleShadows.IsPressed()) {
            mPass.GetShadowSettings().enabled = !mPass.GetShadowSettings().enabled;
        }
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
        // No program bound: the list draws with the built-in programs.
        mPass.Begin(mCamera.ComputeView());
        mScene.Render(mPass.GetView());
        mPass.End();
        GameScene::OnRender();
    }

private:
    Cinderhall::MeshObject* AddObject(const std::shared_ptr<Cinderhall::Mesh>& mesh,
                                      Graphics::TextureHandle texture, const Matrix4& transform,
                                      const Cinderhall::Material& material)
    {
        auto& object = mObjects.emplace_back(std::make_unique<Cinderhall::MeshObject>(mScene));
        object->SetMesh(mesh);
        object->SetTexture(texture);
        object->SetTransform(transform);
        object->SetMaterial(material);
        return object.get();
    }

    Cinderhall::RenderList mScene;
    std::vector<std::unique_ptr<Cinderhall::MeshObject>> mObjects;
    Cinderhall::MeshObject* mTower = nullptr;
    float mTowerTurn = 0.0f;
    Cinderhall::PerspectivePass mPass;
    Cinderhall::OrbitCamera mCamera{{0.0f, 1.0f, 0.0f}, 13.0f, 0.6f, 0.35f};
    Graphics::Text mLabel{"Fog, a sky and shadows. S: shadows on or off", 22.0f};
    Game::KeyBinding mLeft{Key::KeyLeft};
    Game::KeyBinding mRight{Key::KeyRight};
    Game::KeyBinding mToggleShadows{Key::KeyS};
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
    application.SetWindowTitle("Fog, sky and shadows");
    LookScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
