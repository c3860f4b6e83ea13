// Example 6: 3D entities colliding through the Orrery entity manager.
//
// Orrery's entities carry a transform and bounding volumes (spheres and axis-aligned boxes). The
// entity manager simulates them in fixed steps and then calls OnCollide on both entities of
// every touching pair, in the order they were added. Here blocks slide along two lanes and turn
// back when they meet; each one draws its own mesh in its own colour, flashing white on
// contact, and its bounding box as debug lines.
//
// Usage: example_6_colliding_entities [seconds]
#include "cinderhall/cdh_mesh.h"
#include "cinderhall/cdh_perspective_pass.h"
#include "cinderhall/cdh_shader_manager.h"
#include "cinderhall/cdh_visualization.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_game_timer.h"
#include "marrowgate/graphics/mg_text.h"
#include "marrowgate/math/mg_matrix.h"
#include "orrery/game_entity_manager.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

using namespace Marrowgate;
using Cinderhall::ShaderHandle;
using Cinderhall::theShaderManager;
using Core::Vector3;
using Graphics::Color;

namespace {

constexpr float kLaneHalfLength = 5.0f;
constexpr float kBlockSize = 1.0f;
constexpr std::uint32_t kBoxLineColor = 0xFFFFFFFF;

// The twelve edges of an axis-aligned box.
void AddBoxLines(Cinderhall::Visualization& lines, const Vector3& center, const Vector3& size)
{
    const Vector3 half = size * 0.5f;
    for (int axis = 0; axis < 3; ++axis) {
        const int first = (axis + 1) % 3;
        const int second = (axis + 2) % 3;
        for (const float a : {-1.0f, 1.0f}) {
            for (const float b : {-1.0f, 1.0f}) {
                Vector3 start = center;
                start[first] += a * half[first];
                start[second] += b * half[second];
                Vector3 end = start;
                start[axis] -= half[axis];
                end[axis] += half[axis];
                lines.AddLine(start, end, kBoxLineColor);
            }
        }
    }
}

} // namespace

class Block : public Orrery::Game::Entity
{
public:
    Block(Cinderhall::Mesh& mesh, ShaderHandle shader, const Vector3& position, float speed,
          const Color& color)
        : Orrery::Game::Entity("Block"), mMesh(mesh), mShader(shader), mColor(color), mSpeed(speed)
    {
        SetTransform(Core::MatrixCreateTranslation(position));
        AddBoundingBox(kBlockSize, kBlockSize, kBlockSize, Vector3());
    }

    void OnSimulate() override
    {
        Vector3 position = GetPosition();
        position.x += mSpeed;
        // The lane's ends turn the block back too.
        if ((position.x > kLaneHalfLength && mSpeed > 0.0f) ||
            (position.x < -kLaneHalfLength && mSpeed < 0.0f)) {
            mSpeed = -mSpeed;
        }
        SetTransform(Core::MatrixCreateTranslation(position));
        mFlash.DecrementStep();
    }

    void OnCollide(Orrery::Game::Entity& other) override
    {
        Orrery::Game::Entity::OnCollide(other);
        // Turn back only when heading towards the other block, so that two blocks that still
        // overlap on the next step do not turn again and stick together.
        if ((other.GetPosition().x - GetPosition().x) * mSpeed > 0.0f) {
            mSpeed = -mSpeed;
        }
        mFlash = 150;
    }

    // Called inside the scene's 3D pass, with the camera's view as the model-view.
    void OnRender() override
    {
        const Color color = mFlash.IsZero() ? mColor : Color(Graphics::ColorPalette::White);
        theShaderManager->SetShaderUniform(mShader, "materialColor", color.GetRed(), color.GetGreen(),
                                           color.GetBlue(), 1.0f);
        // One mesh serves every block; each draws it with its own transform and colour.
        mMesh.Render(GetWorldTransform());
    }

private:
    Cinderhall::Mesh& mMesh;
    ShaderHandle mShader;
    Color mColor;
    float mSpeed;
    Game::GameTimer mFlash;
};

class CollisionScene : public Game::GameScene
{
public:
    explicit CollisionScene(float secondsToRun) : mSecondsToRun(secondsToRun)
    {
        mLitShader = theShaderManager->CreateShaderFromFile("data/shaders/lit.vert", "data/shaders/lit.frag");
        mLineShader =
            theShaderManager->CreateShaderFromFile("data/shaders/lines.vert", "data/shaders/lines.frag");
        Cinderhall::SetVisualizationShader(mLineShader);
        mMesh = Cinderhall::LoadMeshFromFile("data/mesh/cube.msh");
        if (!mMesh) {
            mMesh = std::make_unique<Cinderhall::Mesh>();
        }
        const Color red(1.0f, 0.9f, 0.15f, 0.1f);
        const Color green(1.0f, 0.2f, 0.85f, 0.25f);
        const Color blue(1.0f, 0.2f, 0.4f, 1.0f);
        // The manager owns what it is given and deletes it with itself.
        mEntities.AddEntity(new Block(*mMesh, mLitShader, {-3.0f, 0.0f, -1.0f}, 0.04f, red));
        mEntities.AddEntity(new Block(*mMesh, mLitShader, {2.0f, 0.0f, -1.0f}, -0.03f, green));
        mEntities.AddEntity(new Block(*mMesh, mLitShader, {-4.0f, 0.0f, 1.0f}, 0.02f, blue));
        mEntities.AddEntity(new Block(*mMesh, mLitShader, {0.0f, 0.0f, 1.0f}, 0.05f, red));
        mEntities.AddEntity(new Block(*mMesh, mLitShader, {4.0f, 0.0f, 1.0f}, -0.04f, green));
        mPass.SetProgram(mLitShader);
        mPass.SetFieldOfView(0.8f);
        mPass.SetClipPlanes(0.1f, 100.0f);
        mPass.GetLighting().sunDirection = Vector3(0.3f, 1.0f, 0.6f);
        // A brighter ambient light than the default keeps the faces turned from the sun readable.
        mPass.GetLighting().ambientColor = Graphics::Color(1.0f, 0.2f, 0.2f, 0.22f);
        mLabel.SetPosition({20.0f, 20.0f});
        AddGraphic(&mLabel);
    }

    ~CollisionScene() override
    {
        Cinderhall::SetVisualizationShader(Cinderhall::InvalidShader);
        theShaderManager->DestroyShader(mLineShader);
        theShaderManager->DestroyShader(mLitShader);
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        // Every entity's OnSimulate, then OnCollide for each touching pair.
        mEntities.Simulate();
        mBoxLines.Clear(false);
        for (const Orrery::Game::Entity* entity : mEntities.GetEntities()) {
            for (const Orrery::Game::BoundingVolume& volume : entity->GetBoundingVolumes()) {
                AddBoxLines(mBoxLines, entity->GetPosition() + volume.center, volume.GetSize());
            }
        }
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mEntities.Update(deltaTime);
        mSecondsShown += deltaTime;
        if (mSecondsToRun > 0.0f && mSecondsToRun <= mSecondsShown) {
            Game::GameApplication::RequestQuit();
        }
    }

    void OnRender() override
    {
        // The 3D view over the whole screen, then the 2D children (the label) on top.
        const Cinderhall::cdhCamera camera(Vector3(0.0f, 6.0f, 9.0f), Vector3(), Vector3(0.0f, 1.0f, 0.0f));
        mPass.Begin(camera.ComputeView());
        mEntities.Render();
        mBoxLines.Render();
        mPass.End();
        GameScene::OnRender();
    }

private:
    ShaderHandle mLitShader = Cinderhall::InvalidShader;
    ShaderHandle mLineShader = Cinderhall::InvalidShader;
    std::unique_ptr<Cinderhall::Mesh> mMesh;
    // Declared after the mesh, so the blocks that refer to it go first.
    Orrery::Game::EntityManager mEntities;
    Cinderhall::PerspectivePass mPass;
    Cinderhall::Visualization mBoxLines;
    Graphics::Text mLabel{"Blocks colliding through the entity manager", 22.0f};
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
    application.SetWindowTitle("Colliding entities");
    CollisionScene scene(secondsToRun);
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
