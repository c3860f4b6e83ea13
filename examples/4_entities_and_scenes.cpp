// Example 4: 2D entities in a scene, with collision and a change of scene.
//
// An Entity is a graphic list that also simulates in fixed steps and carries bounding volumes.
// A scene is an entity manager: every step it simulates each entity and then calls OnCollide
// on both entities of every touching pair. Removing an entity during a pass is safe; it
// leaves at the end of the pass. GameApplication::ChangeToScene switches scenes at the next
// frame: the old scene's OnClose and the new one's OnOpen run in between.
//
// Arrows move the orange paddle; catch every ball to win. Enter skips to the next scene.
// Usage: example_4_entities_and_scenes [seconds]
#include "marrowgate/game/mg_entity.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_screen.h"
#include "marrowgate/graphics/mg_text.h"
#include "marrowgate/math/mg_random_numbers.h"

#include <cstdlib>
#include <string>

using namespace Marrowgate;
using Application::Key;
using Core::Vector2;
using Graphics::Color;
using Graphics::ColorPalette;

namespace {

constexpr float kBallRadius = 24.0f;
constexpr float kBallSpeed = 3.0f; // pixels per step
constexpr float kPaddleWidth = 160.0f;
constexpr float kPaddleHeight = 30.0f;
constexpr float kPaddleSpeed = 6.0f;
constexpr int kBallCount = 8;

// The time limit shared by both scenes.
float theSecondsToRun = 0.0f;
float theSecondsShown = 0.0f;

void QuitWhenTimeIsUp(float deltaTime)
{
    theSecondsShown += deltaTime;
    if (theSecondsToRun > 0.0f && theSecondsShown >= theSecondsToRun) {
        Game::GameApplication::RequestQuit();
    }
}

} // namespace

// A ball that bounces off the window's edges and off the other balls.
class Ball : public Game::Entity
{
public:
    Ball(const Vector2& position, const Vector2& velocity) : Game::Entity("Ball"), mVelocity(velocity)
    {
        SetPosition(position);
        // Children are drawn relative to the entity; the circle's box starts at its top-left.
        AddGraphic(&mShape);
        AddBoundingVolume(Game::BoundingVolume::Circle(kBallRadius));
        SetCollidable(true);
    }

    void OnSimulate() override
    {
        Game::Entity::OnSimulate();
        Vector2 position = GetPosition() + mVelocity;
        const float width = Graphics::ScreenWidth();
        const float height = Graphics::ScreenHeight();
        if (position.x < kBallRadius || position.x > width - kBallRadius) {
            mVelocity.x = -mVelocity.x;
        }
        if (position.y < kBallRadius || position.y > height - kBallRadius) {
            mVelocity.y = -mVelocity.y;
        }
        SetPosition(position);
    }

    void OnCollide(Game::Entity& other) override
    {
        Game::Entity::OnCollide(other);
        if (other.IsEntityType("Ball")) {
            // Move away from the other ball; it does the same in its own call.
            mVelocity = (GetPosition() - other.GetPosition()).GetNormalized() * kBallSpeed;
        }
    }

private:
    Graphics::CircleShape mShape{kBallRadius, Color(ColorPalette::Cyan), {-kBallRadius, -kBallRadius}, 32};
    Vector2 mVelocity;
};

// The player's paddle: it catches the balls it touches.
class Paddle : public Game::Entity
{
public:
    Paddle() : Game::Entity("Paddle")
    {
        SetPosition({Graphics::ScreenCenter().x, Graphics::ScreenHeight() - 60.0f});
        AddGraphic(&mShape);
        // A box volume is centred on the entity's position plus its offset.
        AddBoundingVolume(Game::BoundingVolume::Box(kPaddleWidth, kPaddleHeight));
        SetCollidable(true);
    }

    void OnSimulate() override
    {
        Game::Entity::OnSimulate();
        Vector2 position = GetPosition();
        position.x += kPaddleSpeed * ((mRight.IsDown() ? 1.0f : 0.0f) - (mLeft.IsDown() ? 1.0f : 0.0f));
        position.y += kPaddleSpeed * ((mDown.IsDown() ? 1.0f : 0.0f) - (mUp.IsDown() ? 1.0f : 0.0f));
        SetPosition(position);
    }

    void OnCollide(Game::Entity& other) override
    {
        Game::Entity::OnCollide(other);
        if (other.IsEntityType("Ball")) {
            // Owned entities are deleted once the collision pass is over.
            GetManager()->RemoveEntity(&other);
        }
    }

private:
    Graphics::BoxShape mShape{kPaddleWidth,
                              kPaddleHeight,
                              Color(ColorPalette::Orange),
                              {-kPaddleWidth / 2.0f, -kPaddleHeight / 2.0f}};
    Game::KeyBinding mLeft{Key::KeyLeft};
    Game::KeyBinding mRight{Key::KeyRight};
    Game::KeyBinding mUp{Key::KeyUp};
    Game::KeyBinding mDown{Key::KeyDown};
};

// Shows a message and goes to another scene when Enter is pressed.
class MessageScene : public Game::GameScene
{
public:
    explicit MessageScene(const std::string& message)
    {
        mMessage.SetText(message, 48.0f);
        mMessage.SetColor(Color(ColorPalette::Yellow));
        AddGraphic(&mMessage);
    }

    void SetNextScene(Game::GameScene* scene) { mNextScene = scene; }

    void OnOpen() override
    {
        GameScene::OnOpen();
        mMessage.SetOrigin(Graphics::AnchorLocation::Center);
        mMessage.SetPosition(Graphics::ScreenCenter());
    }

    void OnSimulate() override
    {
        GameScene::OnSimulate();
        if (mEnter.IsPressed()) {
            Game::GameApplication::ChangeToScene(mNextScene);
        }
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        QuitWhenTimeIsUp(deltaTime);
    }

private:
    Graphics::Text mMessage;
    Game::KeyBinding mEnter{Key::KeyEnter};
    Game::GameScene* mNextScene = nullptr;
};

// The balls and the paddle; when the last ball is caught the game moves on.
class CatchScene : public Game::GameScene
{
public:
    CatchScene()
    {
        mHelp.SetPosition({20.0f, 20.0f});
        AddGraphic(&mHelp);
    }

    void SetNextScene(Game::GameScene* scene) { mNextScene = scene; }

    // Every visit starts a new round: the entities of the last one are removed and new ones made.
    void OnOpen() override
    {
        GameScene::OnOpen();
        // A copy of the list: removing changes it.
        for (Game::Entity* entity : std::vector<Game::Entity*>(GetEntities())) {
            RemoveEntity(entity);
        }
        for (int index = 0; index < kBallCount; ++index) {
            const Vector2 position(Core::RandomFloat(100.0f, Graphics::ScreenWidth() - 100.0f),
                                   Core::RandomFloat(100.0f, Graphics::ScreenHeight() / 2.0f));
            const Vector2 direction(Core::RandomFloat(-1.0f, 1.0f), Core::RandomFloat(-1.0f, 1.0f));
            AddEntity(new Ball(position, direction.GetNormalized() * kBallSpeed));
        }
        AddEntity(new Paddle());
    }

    void OnSimulate() override
    {
        // Steps the entities and runs the collision pass.
        GameScene::OnSimulate();
        if (GetEntitiesByType("Ball").empty() || mEnter.IsPressed()) {
            Game::GameApplication::ChangeToScene(mNextScene);
        }
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        QuitWhenTimeIsUp(deltaTime);
    }

private:
    Graphics::Text mHelp{"Arrows move the paddle: catch every ball. Enter skips.", 22.0f};
    Game::KeyBinding mEnter{Key::KeyEnter};
    Game::GameScene* mNextScene = nullptr;
};

int main(int argumentCount, char** arguments)
{
    theSecondsToRun = argumentCount > 1 ? std::strtof(arguments[1], nullptr) : 0.0f;
    Game::GameApplication application(Application::WindowMode::kWindowed, 0, 0, true);
    application.SetWindowTitle("Entities and scenes");
    CatchScene catchScene;
    MessageScene wonScene("All caught! Enter plays again.");
    catchScene.SetNextScene(&wonScene);
    wonScene.SetNextScene(&catchScene);
    application.RunGame(&catchScene);
    return EXIT_SUCCESS;
}
