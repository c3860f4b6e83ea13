// The whole game on a real window driven by a game controller that SDL simulates in-process: a
// virtual joystick with the standard controller layout is plugged in while the game runs,
// starts play from the title with its south button, drives the car with the d-pad, and is
// pulled out while its left stick is pushed forwards. Time comes from the driven platform, so
// every frame runs the same two fixed steps however slow the machine is.

#include "car_entity.h"
#include "driven_platform.h"
#include "game_session.h"
#include "gameplay_scene.h"

#include "marrowgate/game/mg_game_application.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr double kSecondsPerFrame = 0.02;
constexpr int kDrivingFrames = 50;
constexpr int kFramesAfterRemoval = 20;
constexpr int kMostFrames = 1000;

// A controller with every standard button up to the d-pad, both sticks and both triggers. With
// all of them in the masks, virtual button n is SDL's controller button n.
int AttachVirtualController()
{
    SDL_VirtualJoystickDesc description{};
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = SDL_CONTROLLER_AXIS_MAX;
    description.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
    description.button_mask = (1u << (SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1)) - 1;
    description.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    description.name = "Test controller";
    return SDL_JoystickAttachVirtualEx(&description);
}

Marrowgate::Game::GameScene* CurrentScene(SceneIdentifier identifier)
{
    Marrowgate::Game::GameScene* current = Marrowgate::Game::GameApplication::GetCurrentScene();
    return current != nullptr && current == SceneManager::GetScene(identifier) ? current : nullptr;
}

CarEntity* PlayedCar()
{
    auto* gameplay = static_cast<GameplayScene*>(CurrentScene(kGameplayScene));
    if (gameplay == nullptr) {
        return nullptr;
    }
    const std::vector<Orrery::Game::Entity*> cars =
        gameplay->GetEntityManager().GetEntitiesByType("CarEntity");
    return cars.empty() ? nullptr : static_cast<CarEntity*>(cars.front());
}

// What the player does, frame by frame, from the pass callback.
class ControllerPlayer
{
public:
    explicit ControllerPlayer(QuorvaneReliability::DrivenPlatform& platform) : mPlatform(platform) {}
    ~ControllerPlayer()
    {
        if (mJoystick != nullptr) {
            SDL_JoystickClose(mJoystick);
        }
    }

    void PlugIn()
    {
        mDeviceIndex = AttachVirtualController();
        mJoystick = mDeviceIndex >= 0 ? SDL_JoystickOpen(mDeviceIndex) : nullptr;
        pluggedIn = mJoystick != nullptr;
    }

    void OnPass();

    bool pluggedIn = false;
    int framesOnTitle = 0;
    float distanceDriven = 0.0f;
    bool stickHeldAtRemoval = false;
    float speedAtRemoval = 0.0f;
    std::vector<float> speedsAfterRemoval;

private:
    void Finish();
    void Drive(CarEntity& car);

    QuorvaneReliability::DrivenPlatform& mPlatform;
    int mDeviceIndex = -1;
    SDL_Joystick* mJoystick = nullptr;
    int mPasses = 0;
    int mFramesOfPlay = 0;
    bool mFinished = false;
};

void ControllerPlayer::Finish()
{
    mFinished = true;
    mPlatform.RequestClose();
}

void ControllerPlayer::OnPass()
{
    // The logo takes 125 frames and the title about 30; a game that never gets to play must
    // still end.
    if (mFinished) {
        return;
    }
    if (!pluggedIn || ++mPasses > kMostFrames) {
        Finish();
        return;
    }
    if (CurrentScene(kTitleScene) != nullptr) {
        // The south button goes down in one frame and comes up in the next.
        ++framesOnTitle;
        SDL_JoystickSetVirtualButton(mJoystick, SDL_CONTROLLER_BUTTON_A, framesOnTitle % 2 == 1);
    } else if (CarEntity* car = PlayedCar()) {
        Drive(*car);
    }
}

// The d-pad held for a while, then the left stick pushed fully forwards, then the controller
// pulled out with the stick still pushed.
void ControllerPlayer::Drive(CarEntity& car)
{
    const int frame = mFramesOfPlay++;
    if (frame == 0) {
        SDL_JoystickSetVirtualButton(mJoystick, SDL_CONTROLLER_BUTTON_A, 0);
        SDL_JoystickSetVirtualButton(mJoystick, SDL_CONTROLLER_BUTTON_DPAD_UP, 1);
    } else if (frame == kDrivingFrames) {
        distanceDriven = car.GetPosition().Magnitude();
        SDL_JoystickSetVirtualButton(mJoystick, SDL_CONTROLLER_BUTTON_DPAD_UP, 0);
        SDL_JoystickSetVirtualAxis(mJoystick, SDL_CONTROLLER_AXIS_LEFTY, SDL_JOYSTICK_AXIS_MIN);
    } else if (frame == 2 * kDrivingFrames) {
        // The pass has not read its events yet: the input state is the previous frame's.
        stickHeldAtRemoval = Marrowgate::Application::IsKeyDown(Marrowgate::Application::ControllerStickUp);
        speedAtRemoval = car.GetVelocity().Magnitude();
        SDL_JoystickClose(mJoystick);
        mJoystick = nullptr;
        SDL_JoystickDetachVirtual(mDeviceIndex);
    } else if (frame > 2 * kDrivingFrames) {
        speedsAfterRemoval.push_back(car.GetVelocity().Magnitude());
        if (speedsAfterRemoval.size() == kFramesAfterRemoval) {
            Finish();
        }
    }
}

TEST(GameControllerPlay, AVirtualControllerStartsPlayDrivesAndLetsGoWhenPulledOut)
{
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    }
    // Without a window manager nothing promises the window the focus, and SDL drops controller
    // presses that arrive while the program is in the background.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    QuorvaneReliability::DrivenPlatformScope scope(kSecondsPerFrame);
    ControllerPlayer player(scope.GetPlatform());
    scope.GetPlatform().SetPassCallback([&player] { player.OnPass(); });

    QuorvaneReliability::RunGameSession({kTitleScene, false, [&player] { player.PlugIn(); }});

    ASSERT_TRUE(player.pluggedIn) << SDL_GetError();
    // The title fades out over 50 steps (25 frames) after the press.
    EXPECT_GT(player.framesOnTitle, 0);
    EXPECT_LT(player.framesOnTitle, 40);
    EXPECT_GT(player.distanceDriven, 1.0f);
    EXPECT_TRUE(player.stickHeldAtRemoval);
    EXPECT_GT(player.speedAtRemoval, 5.0f);
    ASSERT_EQ(player.speedsAfterRemoval.size(), static_cast<std::size_t>(kFramesAfterRemoval));
    float previous = player.speedAtRemoval;
    for (const float speed : player.speedsAfterRemoval) {
        EXPECT_LT(speed, previous) << "the car still accelerates after the controller was pulled out";
        previous = speed;
    }
}

} // namespace
