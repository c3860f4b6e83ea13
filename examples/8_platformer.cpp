// Example 8: a platformer character that lands on boxes and slides along them, using contacts.
//
// The collision pass says only that two entities touch. GetContactWith(other), asked inside
// OnCollide, says how: `normal` points from the other entity towards this one, `depth` is how
// far they overlap. Stepping out along the normal by the depth separates them; removing the
// part of the velocity that runs into the normal lets the rest carry on, so the character
// slides along a wall or a floor instead of sticking to it. A normal pointing up (y grows
// downwards on screen) means a floor is underfoot. `other.As<Platform>()` checks the other
// entity's class without a type name.
//
// Arrows run, Space or Up jumps. Until a key is pressed the runner plays by itself: it runs,
// jumps now and then, and turns round at walls. The bouncing balls use the same contact to
// reflect their velocity. The yellow square marks the runner's last contact point.
// Usage: example_8_platformer [seconds]
#include "marrowgate/game/mg_entity.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/mg_basic_shapes.h"
#include "marrowgate/graphics/mg_text.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

using namespace Marrowgate;
using Application::Key;
using Core::Vector2;
using Graphics::Color;
using Graphics::ColorPalette;

namespace {

// Speeds in pixels per fixed step (10 ms); accelerations in pixels per step per step.
constexpr float kGravity = 0.25f;
// Below the thinnest platform, so nothing falls through one in a single step.
constexpr float kFastestFall = 15.0f;
constexpr float kRunSpeed = 4.0f;
constexpr float kJumpSpeed = 10.0f;
constexpr float kRunnerWidth = 40.0f;
constexpr float kRunnerHeight = 56.0f;
constexpr float kBallRadius = 16.0f;
constexpr float kBallBounce = 0.8f; // share of the speed into a surface that comes back out
constexpr int kStepsBetweenAutomaticJumps = 90;

float theSecondsToRun = 0.0f;

// Moves `body` out of `platform` and takes away the velocity that runs into it, scaled by
// 1 + bounce (1 stops it there, 2 would reflect it whole). Returns the contact, if any is left.
std::optional<Game::Contact> StepOut(Game::Entity& body, Vector2& velocity, Game::Entity& platform,
                                     float bounce)
{
    const std::optional<Game::Contact> contact = body.GetContactWith(platform);
    if (contact) {
        body.SetPosition(body.GetPosition() + contact->normal * contact->depth);
        const float into = velocity | contact->normal;
        if (into < 0.0f) {
            velocity -= contact->normal * (into * (1.0f + bounce));
        }
    }
    return contact;
}

} // namespace

// A solid box the others stand on and bump into. It never moves.
class Platform : public Game::Entity
{
public:
    Platform(const Vector2& center, float width, float height)
        : Game::Entity("Platform"),
          mShape(width, height, Color(ColorPalette::Brown), {-width / 2, -height / 2})
    {
        SetPosition(center);
        AddGraphic(&mShape);
        AddBoundingVolume(Game::BoundingVolume::Box(width, height));
        SetCollidable(true);
    }

private:
    Graphics::BoxShape mShape;
};

class Runner : public Game::Entity
{
public:
    // The marker is the scene's: it draws over everything and shows where the runner last
    // touched a platform.
    Runner(const Vector2& start, Graphics::Graphic& contactMarker)
        : Game::Entity("Runner"), mContactMarker(contactMarker)
    {
        SetPosition(start);
        AddGraphic(&mShape);
        AddBoundingVolume(Game::BoundingVolume::Box(kRunnerWidth, kRunnerHeight));
        SetCollidable(true);
    }

    void OnSimulate() override
    {
        Game::Entity::OnSimulate();
        if (mLeft.IsPressed() || mRight.IsPressed() || mJump.IsPressed()) {
            mAutopilot = false;
        }
        const bool wantsJump = mAutopilot ? ++mSteps % kStepsBetweenAutomaticJumps == 0 : mJump.IsPressed();
        if (mAutopilot) {
            mVelocity.x = mDirection * kRunSpeed;
        } else {
            mVelocity.x = kRunSpeed * ((mRight.IsDown() ? 1.0f : 0.0f) - (mLeft.IsDown() ? 1.0f : 0.0f));
        }
        if (wantsJump && mOnGround) {
            mVelocity.y = -kJumpSpeed;
        }
        mVelocity.y = std::min(mVelocity.y + kGravity, kFastestFall);
        SetPosition(GetPosition() + mVelocity);
        // The collision pass that follows this step finds the floor again if there is one.
        mOnGround = false;
    }

    void OnCollide(Game::Entity& other) override
    {
        Game::Entity::OnCollide(other);
        if (other.As<Platform>() == nullptr) {
            return;
        }
        const std::optional<Game::Contact> contact = StepOut(*this, mVelocity, other, 0.0f);
        if (!contact) {
            return; // an earlier step-out this pass already cleared this platform
        }
        mContactMarker.SetPosition(contact->point - Vector2(5, 5));
        if (contact->normal.y < -0.7f) {
            mOnGround = true;
        } else if (contact->normal.x * mDirection < -0.7f) {
            mDirection = -mDirection; // a wall ahead: the autopilot turns round
        }
    }

private:
    Graphics::BoxShape mShape{
        kRunnerWidth, kRunnerHeight, Color(ColorPalette::Orange), {-kRunnerWidth / 2, -kRunnerHeight / 2}};
    Graphics::Graphic& mContactMarker;
    Game::KeyBinding mLeft{Key::KeyLeft};
    Game::KeyBinding mRight{Key::KeyRight};
    Game::KeyBinding mJump{Key::KeySpace, Key::KeyUp};
    Vector2 mVelocity;
    float mDirection = 1.0f;
    bool mOnGround = false;
    bool mAutopilot = true;
    int mSteps = 0;
};

class Ball : public Game::Entity
{
public:
    Ball(const Vector2& start, const Vector2& velocity) : Game::Entity("Ball"), mVelocity(velocity)
    {
        SetPosition(start);
        AddGraphic(&mShape);
        AddBoundingVolume(Game::BoundingVolume::Circle(kBallRadius));
        SetCollidable(true);
    }

    void OnSimulate() override
    {
        Game::Entity::OnSimulate();
        mVelocity.y = std::min(mVelocity.y + kGravity, kFastestFall);
        SetPosition(GetPosition() + mVelocity);
    }

    void OnCollide(Game::Entity& other) override
    {
        Game::Entity::OnCollide(other);
        if (other.As<Platform>() != nullptr) {
            StepOut(*this, mVelocity, other, kBallBounce);
        }
    }

private:
    Graphics::CircleShape mShape{kBallRadius, Color(ColorPalette::Cyan), {-kBallRadius, -kBallRadius}, 24};
    Vector2 mVelocity;
};

class PlatformScene : public Game::GameScene
{
public:
    PlatformScene()
    {
        // The ground, two walls, three ledges and a pillar to bump into, on a 1280 x 720 window.
        AddEntity(new Platform({640, 700}, 1280, 40));
        AddEntity(new Platform({15, 340}, 30, 680));
        AddEntity(new Platform({1265, 340}, 30, 680));
        AddEntity(new Platform({300, 540}, 240, 24));
        AddEntity(new Platform({640, 420}, 200, 24));
        AddEntity(new Platform({980, 300}, 240, 24));
        AddEntity(new Platform({820, 620}, 60, 120));
        AddEntity(new Runner({220, 300}, mContactMarker));
        AddEntity(new Ball({500, 100}, {3.0f, 0}));
        AddEntity(new Ball({900, 150}, {-2.0f, -2.0f}));
        AddEntity(new Ball({1100, 80}, {-4.0f, 1.0f}));
        // Added last, so drawn over everything.
        AddGraphic(&mContactMarker);
        mHelp.SetPosition({40, 20});
        AddGraphic(&mHelp);
    }

protected:
    void OnUpdate(float deltaTime) override
    {
        GameScene::OnUpdate(deltaTime);
        mSecondsShown += deltaTime;
        if (theSecondsToRun > 0.0f && mSecondsShown >= theSecondsToRun) {
            Game::GameApplication::RequestQuit();
        }
    }

private:
    Graphics::BoxShape mContactMarker{10, 10, Color(ColorPalette::Yellow), {-100, -100}};
    Graphics::Text mHelp{"Arrows run, Space jumps. Yellow: the runner's last contact point.", 22.0f};
    float mSecondsShown = 0.0f;
};

int main(int argumentCount, char** arguments)
{
    theSecondsToRun = argumentCount > 1 ? std::strtof(arguments[1], nullptr) : 0.0f;
    Game::GameApplication application(Application::WindowMode::kWindowed, 0, 0, true);
    application.SetWindowTitle("Platformer");
    PlatformScene scene;
    application.RunGame(&scene);
    return EXIT_SUCCESS;
}
