// Example 13: a character followed by a camera, picking up the items the mouse points at.
//
// The arrows drive the orange character; a FollowCamera trails it with a lag. Each frame the
// mouse position becomes a world ray through the PerspectivePass (ScreenPointToRay), and
// Orrery's CastRay finds the nearest "Item" entity under it, which lights up. A left click on a
// lit item within reach picks it up: the item becomes a child of the character (SetParent), so
// from then on it rides on the character's back, moving and turning with it. Entities draw
// their meshes under GetWorldTransform, which includes their parents'.
//
// Usage: example_13_follow_and_pick [seconds]
#include "cinderhall/cdh_follow_camera.h"
#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_perspective_pass.h"
#include "cinderhall/cdh_shader_manager.h"
#include "marrowgate/application/mg_input.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_text.h"
#include "marrowgate/math/mg_matrix.h"
#include "orrery/game_entity_manager.h"
#include "orrery/game_ray_cast.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace Marrowgate;
using Application::Key;
using Cinderhall::theShaderManager;
using Core::Matrix4;
using Core::Vector3;

namespace {

constexpr float kSpeedPerStep = 0.05f;
constexpr float kTurnPerStep = 0.03f; // radians
constexpr float kReach = 6.0f;        // how far from the character an item can be picked up
constexpr int kItemCount = 8;

Matrix4 Placement(const Vector3& position, float heading, float size)
{
    // Headings turn from -Z towards +X, the opposite sense of a rotation about +Y.
    return Core::MatrixCreateScale(size, size, size) * Core::CreateRotationY(-heading) *
           Core::MatrixCreateTranslation(position);
}

} // namespace

// Draws the shared cube mesh in one colour under the entity's world transform.
class Block : public Orrery::Game::Entity
{
public:
    Block(const std::string& type, Cinderhall::Mesh& mesh, Cinderhall::ShaderHandle shader,
          const Graphics::Color& color)
        : Orrery::Game::Entity(type), mMesh(mesh), mShader(shader), mColor(color)
    {}

    void SetHighlighted(bool highlighted) { mHighlighted = highlighted; }

    void OnRender() override
    {
        const Graphics::Color color = mHighlighted ? Graphics::Color(Graphics::ColorPalette::White) : mColor;
        theShaderManager->SetShaderUniform(mShader, "materialColor", color.GetRed(), color.GetGreen(),
                                           color.GetBlue(), 1.0f);
        mMesh.Render(GetWorldTransform());
    }

private:
    Cinderhall::Mesh& mMesh;
    Cinderhall::ShaderHandle mShader;
    Graphics::Color mColor;
    bool mHighlighted = false;
};

class PickScene : public Game::GameScene
{
public:
    explicit PickScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        mLitShader = theShaderManager->CreateShaderFromFile("data/shaders/lit.vert", "data/shaders/lit.frag");
        mLineShader =
            theShaderManager->CreateShaderFromFile("data/shaders/lines.vert", "data/shaders/lines.frag");
        Cinderhall::SetVisualizationShader(mLineShader);
        mMesh = Cinderhall::LoadMeshFromFile("data/mesh/cube.msh");
        if (!mMesh) {
            mMesh = std::make_unique<Cinderhall::Mesh>();
        }
        mCharacter = new Block("Character", *mMesh, mLitShader, Graphics::Color(1.0f, 0.95f, 0.5f, 0.1f));
        mEntities.AddEntity(mCharacter);
        // Items in a ring around the start, each with a sphere for the ray casts to find.
        for (int item = 0; item < kItemCount; ++item) {
            const float angle = Core::TwoPi * static_cast<float>(item) / kItemCount;
            auto* block = new Block("Item", *mMesh, mLitShader, Graphics::Color(1.0f, 0.2f, 0.85f, 0.25f));
            block->SetTransform(
                Placement({5.0f * std::sin(angle), 0.0f, 5.0f * std::cos(angle)}, angle, 0.5f));
            block->AddBoundingSphere(0.4f, Vector3());
            mEntities.AddEntity(block);
        }
        for (int line = -10; line <= 10; ++line) {
            const float offset = static_cast<float>(line);
            mGround.AddPersistentLine({offset, -0.5f, -10.0f}, {offset, -0.5f, 10.0f}, 0xFF406040);
            mGround.AddPersistentLine({-10.0f, -0.5f, offset}, {10.0f, -0.5f, offset}, 0xFF406040);
        }
        mPass.SetProgram(mLitShader);
        mPass.SetClipPlanes(0.1f, 100.0f);
        mPass.GetLighting().sunDirection = Vector3(0.3f, 1.0f, 0.6f);
        mPass.GetLighting().ambientColor = Graphics::Color(1.0f, 0.25f, 0.25f, 0.27f);
        mCamera.SetLookOffset({0.0f, 1.0f, 0.0f});
        mLabel.SetPosition({20.0f, 20.0f});
        AddGraphic(&mLabel);
    }

    ~PickScene() override
    {
        Cinderhall::SetVisualizationShader(Cinderhall::InvalidShader);
        theShaderManager->DestroyShader(mLineShader);
        theShaderManager->DestroyShader(mLitShader);
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        mHeading += kTurnPerStep * ((mRight.IsDown() ? 1.0f : 0.0f) - (mLeft.IsDown() ? 1.0f : 0.0f));
        const float drive = (mForward.IsDown() ? 1.0f : 0.0f) - (mBackward.IsDown() ? 1.0f : 0.0f);
        mPosition += Core::DirectionFromHeading(mHeading) * (drive * kSpeedPerStep);
        mCharacter->SetTransform(Placement(mPosition, mHeading, 1.0f));
        mEntities.Simulate();
        // On release, as buttons do: the pointer is where the player let go.
        if (mPick.IsReleased() && mPointedAt != nullptr) {
            PickUp(*mPointedAt);
        }
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mEntities.Update(deltaTime);
        mCamera.Follow(mPosition, mHeading, deltaTime);
        // The ray under the mouse, through the view drawn last frame.
        const Application::MousePosition mouse = Application::GetMousePosition();
        const Cinderhall::Ray ray =
            mPass.ScreenPointToRay({static_cast<float>(mouse.x), static_cast<float>(mouse.y)});
        const auto hit = Orrery::Game::CastRay(mEntities, ray, "Item");
        const bool inReach = hit && (hit->entity->GetWorldPosition() - mPosition).Magnitude() <= kReach;
        if (mPointedAt != nullptr) {
            mPointedAt->SetHighlighted(false);
        }
        mPointedAt = inReach ? static_cast<Block*>(hit->entity) : nullptr;
        if (mPointedAt != nullptr) {
            mPointedAt->SetHighlighted(true);
        }
        mSecondsShown += deltaTime;
        if (mSecondsToRun > 0.0f && mSecondsToRun <= mSecondsShown) {
            Game::GameApplication::RequestQuit();
        }
    }

    void OnRender() override
    {
        mPass.Begin(mCamera.ComputeView());
        mEntities.Render();
        mGround.Render();
        mPass.End();
        GameScene::OnRender();
    }

private:
    // The item rides on the character's back from now on, stacked on those picked before.
    void PickUp(Block& item)
    {
        item.SetParent(mCharacter);
        item.SetTransform(Placement({0.0f, 0.6f + 0.5f * static_cast<float>(mCarried), 0.2f}, 0.0f, 0.5f));
        item.SetCollidable(false); // out of the ray casts' sight
        item.SetHighlighted(false);
        mPointedAt = nullptr;
        ++mCarried;
        mLabel.SetText("Carried: " + std::to_string(mCarried) + " of " + std::to_string(kItemCount));
    }

    Cinderhall::ShaderHandle mLitShader = Cinderhall::InvalidShader;
    Cinderhall::ShaderHandle mLineShader = Cinderhall::InvalidShader;
    std::unique_ptr<Cinderhall::Mesh> mMesh;
    // Declared after the mesh, so the blocks that refer to it go first.
    Orrery::Game::EntityManager mEntities;
    Block* mCharacter = nullptr;
    Block* mPointedAt = nullptr;
    int mCarried = 0;
    Vector3 mPosition;
    float mHeading = 0.0f;
    Cinderhall::FollowCamera mCamera{{0.0f, 4.0f, 7.0f}, 0.3f};
    Cinderhall::PerspectivePass mPass;
    Cinderhall::Visualization mGround;
    Graphics::Text mLabel{"Point at a green block and click to pick it up", 22.0f};
    Game::KeyBinding mForward{Key::KeyUp};
    Game::KeyBinding mBackward{Key::KeyDown};
    Game::KeyBinding mLeft{Key::KeyLeft};
    Game::KeyBinding mRight{Key::KeyRight};
    Game::KeyBinding mPick{Key::MouseLeft};
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
    application.SetWindowTitle("Follow and pick");
    PickScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
