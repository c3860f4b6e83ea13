#include "marrowgate/game/mg_game_application.h"

#include "marrowgate/application/implementation/sdl/mgi_realtime_sdl_application.h"
#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/core/mg_frame_timer.h"
#include "marrowgate/core/mg_out_of_memory.h"
#include "marrowgate/game/mg_default_scene.h"
#include "marrowgate/game/mg_game_scene.h"
#include "marrowgate/game/mg_game_timer.h"
#include "marrowgate/game/mg_key_binding.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"
#include "marrowgate/graphics/mg_camera.h"
#include "marrowgate/graphics/mg_text.h"
#include "marrowgate/graphics/mg_texture_manager.h"
#include "marrowgate/graphics/mg_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr char kUnitName[] = "mg_game_application";

// A long stall (a dragged window, a debugger) must not turn into a burst of catch-up steps.
constexpr float kMaximumFrameDelta = 0.1f;
constexpr std::uint32_t kLongestStepMilliseconds = 1000;

using Marrowgate::Application::ApplicationHandlerInterface;
using Marrowgate::Application::WindowMode;
using Marrowgate::Application::WindowProperties;
using Marrowgate::Game::GameApplication;
using Marrowgate::Game::GameScene;

struct GameState
{
    GameScene* currentScene = nullptr;
    GameScene* nextScene = nullptr;
    bool quitRequested = false;
    bool windowActive = false;
    bool paused = false;
    // The pause holds the sounds too; the window coming back on screen must not resume them.
    bool soundsPaused = false;
};

GameState& State()
{
    static GameState state;
    return state;
}

// Settings of the loop, kept from one application to the next like the step length.
struct LoopSettings
{
    int maximumStepsPerFrame = 5;
    float timeScale = 1.0f;
};

LoopSettings& Loop()
{
    static LoopSettings settings;
    return settings;
}

} // namespace

namespace mgImplementation {

// The one handler that links the window layer to the game application.
class GameApplicationHandler final : public ApplicationHandlerInterface
{
public:
    void OnWindowOpen() override;
    void OnBecomeActive() override { State().windowActive = true; }
    void OnBecomeInactive() override { State().windowActive = false; }
    void OnRealtimeUpdate() override;
    void OnNotifyA(int a, int b) override;
    void OnNotifyB(int a, int b) override;
    void CollectWindowProperties(WindowProperties& properties) override { properties = windowProperties; }
    void OnGraphicsContextCreated() override;
    void OnGraphicsContextDestroyed() override;
    void OnWindowHidden() override;
    void OnWindowShown() override;
    void OnTextInput(const std::string& text) override;
    void OnTextComposition(const std::string& text, int cursor, int selectionLength) override;

    GameApplication* application = nullptr;
    ApplicationHandlerInterface* delegate = nullptr;
    Marrowgate::Core::FrameTimer frameTimer;
    WindowProperties windowProperties;
};

namespace {

GameApplicationHandler& TheHandler()
{
    static GameApplicationHandler handler;
    return handler;
}

GameScene& CurrentScene()
{
    return State().currentScene != nullptr ? *State().currentScene : GetDefaultScene();
}

void ApplyPendingSceneChange()
{
    GameState& state = State();
    if (state.nextScene == nullptr) {
        return;
    }
    if (state.currentScene != nullptr) {
        state.currentScene->OnClose();
    }
    state.currentScene = state.nextScene;
    state.nextScene = nullptr;
    state.currentScene->OnOpen();
}

void RunFixedSteps(GameScene& scene, float deltaTime)
{
    if (State().paused) {
        // No simulation time passes. The bindings still refresh, once a frame, so that a pause
        // screen can read them in its update.
        RefreshKeyBindings();
        return;
    }
    const float step = Marrowgate::Game::GameTimer::GetSecondsPerStep();
    float accumulator = scene.GetStepAccumulator() + deltaTime * Loop().timeScale;
    // Only strictly more than a step runs one, and what the capped steps leave stays for later
    // frames.
    for (int steps = 0; accumulator > step && steps < Loop().maximumStepsPerFrame; ++steps) {
        if (GameApplication::sUpdateInputEveryStep) {
            RefreshKeyBindings();
        }
        scene.OnSimulate();
        Marrowgate::Audio::theAudioManager.Update(step);
        accumulator -= step;
    }
    scene.SetStepAccumulator(accumulator);
    if (!GameApplication::sUpdateInputEveryStep) {
        RefreshKeyBindings();
    }
}

void RunSceneFrame(GameScene& scene, float deltaTime)
{
    RunFixedSteps(scene, deltaTime);
    scene.Update(deltaTime);
    Marrowgate::Graphics::GetActiveCamera().Update(deltaTime);
    if (Marrowgate::Graphics::IsRendererReady()) {
        Marrowgate::Application::ClearFrame(scene.GetClearColor());
        Marrowgate::Graphics::BeginDraw();
        Marrowgate::Graphics::RenderThroughView([&scene] { scene.Render(); });
        Marrowgate::Graphics::EndDraw();
    }
    if (State().quitRequested) {
        scene.OnClose();
    }
}

} // namespace

void GameApplicationHandler::OnWindowOpen()
{
    MG_ERROR_IF(application == nullptr,
                "mgInternalError: Game Application has not been set before OnWindowOpen().");
    Marrowgate::Core::InitializeClock();
    frameTimer.Start();
    State().windowActive = true;
}

void GameApplicationHandler::OnRealtimeUpdate()
{
    MG_ERROR_IF(application == nullptr,
                "mgInternalError: Game Application has not been set before OnRealtimeUpdate().");
    frameTimer.Update();
    const float deltaTime = std::min(kMaximumFrameDelta, static_cast<float>(frameTimer.GetDeltaTime()));
    ApplyPendingSceneChange();
    GameState& state = State();
    RunSceneFrame(CurrentScene(), deltaTime);
    if (state.quitRequested && application != nullptr) {
        application->Close();
    }
}

void GameApplicationHandler::OnWindowHidden()
{
    Marrowgate::Audio::theAudioManager.SetPaused(true);
}

void GameApplicationHandler::OnWindowShown()
{
    // The span out of sight is measured here and dropped, so the next frame's delta is only the
    // time since the window came back: no burst of catch-up steps, the game goes on as it was.
    frameTimer.Update();
    if (!State().soundsPaused) {
        Marrowgate::Audio::theAudioManager.SetPaused(false);
    }
}

void GameApplicationHandler::OnTextInput(const std::string& text)
{
    CurrentScene().OnTextInput(text);
}

void GameApplicationHandler::OnTextComposition(const std::string& text, int cursor, int selectionLength)
{
    CurrentScene().OnTextComposition(text, cursor, selectionLength);
}

void GameApplicationHandler::OnNotifyA(int a, int b)
{
    if (delegate != nullptr) {
        delegate->OnNotifyA(a, b);
    }
}

void GameApplicationHandler::OnNotifyB(int a, int b)
{
    if (delegate != nullptr) {
        delegate->OnNotifyB(a, b);
    }
}

void GameApplicationHandler::OnGraphicsContextCreated()
{
    // Texts draw with textures, so the texture manager comes first.
    Marrowgate::Graphics::CreateGraphicsResources();
    Marrowgate::Graphics::Text::CreateGraphicsResources();
}

void GameApplicationHandler::OnGraphicsContextDestroyed()
{
    Marrowgate::Graphics::ReleaseGraphicsResources();
    Marrowgate::Graphics::Text::ReleaseGraphicsResources();
}

} // namespace mgImplementation

namespace Marrowgate::Game {

bool GameApplication::sUpdateInputEveryStep = true;

GameApplication::GameApplication(const WindowMode& windowMode, const std::uint16_t& width,
                                 const std::uint16_t& height, bool verticalSync)
    : RealtimeApplication(mgImplementation::TheHandler())
{
    Core::EndProgramWhenMemoryRunsOut();
    mgImplementation::GameApplicationHandler& handler = mgImplementation::TheHandler();
    MG_ERROR_IF(handler.application != nullptr, "mgInternalError: GameApplication has already been set.");
    handler.application = this;
    // A new application starts with no scene and no quit left over from an earlier one.
    State() = GameState{};
    // Sound starts with the application, before the window, as its start-up line always has.
    Marrowgate::Audio::theAudioManager.Open();

    WindowProperties& properties = handler.windowProperties;
    properties.mode = windowMode;
    properties.width = width;
    properties.height = height;
    properties.verticalSync = verticalSync;
    if (windowMode == WindowMode::kWindowed && width == 0 && height == 0) {
        const WindowProperties defaults;
        properties.width = defaults.width;
        properties.height = defaults.height;
        properties.x = defaults.x;
        properties.y = defaults.y;
    }
    Open();
    Core::Error::AddErrorHandler(this);
}

GameApplication::~GameApplication()
{
    Core::Error::RemoveErrorHandler(this);
    // An application destroyed before its window closed must not leave the window layer
    // holding a context nobody will release.
    if (mgImplementation::IsApplicationOpen()) {
        Close();
    }
    mgImplementation::GameApplicationHandler& handler = mgImplementation::TheHandler();
    if (handler.application == this) {
        handler.application = nullptr;
    }
}

void GameApplication::SetWindowTitle(const std::string& title)
{
    RealtimeApplication::SetWindowTitle(title);
}

void GameApplication::RunGame(GameScene* firstScene)
{
    if (firstScene != mScene && mgImplementation::DefaultScene::IsLogoSkipped()) {
        ChangeToScene(firstScene);
    } else if (firstScene != mScene) {
        mgImplementation::GetDefaultScene().ShowLogoBefore(firstScene);
    }
    Run();
}

void GameApplication::ChangeToScene(GameScene* scene)
{
    State().nextScene = scene;
}

void GameApplication::RequestQuit()
{
    State().quitRequested = true;
}

GameScene* GameApplication::GetCurrentScene()
{
    return State().currentScene;
}

void GameApplication::ForgetScene(const GameScene* scene)
{
    GameState& state = State();
    if (state.currentScene == scene) {
        state.currentScene = nullptr;
    }
    if (state.nextScene == scene) {
        state.nextScene = nullptr;
    }
}

void GameApplication::SetPaused(bool paused, bool pauseSounds)
{
    GameState& state = State();
    state.paused = paused;
    const bool soundsPaused = paused && pauseSounds;
    if (soundsPaused != state.soundsPaused) {
        state.soundsPaused = soundsPaused;
        Audio::theAudioManager.SetPaused(soundsPaused);
    }
}

bool GameApplication::IsPaused()
{
    return State().paused;
}

void GameApplication::SetMillisecondsPerStep(std::uint32_t milliseconds)
{
    const bool valid = milliseconds >= 1 && milliseconds <= kLongestStepMilliseconds;
    MG_ERROR_IF(!valid, "mgExternalError: Expected a step length from 1 to %u milliseconds, not %u.",
                static_cast<unsigned>(kLongestStepMilliseconds), static_cast<unsigned>(milliseconds));
    if (valid) {
        GameTimer::sMillisecondsPerStep = milliseconds;
    }
}

void GameApplication::SetMaximumStepsPerFrame(int steps)
{
    MG_ERROR_IF(steps < 1, "mgExternalError: Expected at least one step per frame, not %d.", steps);
    if (steps >= 1) {
        Loop().maximumStepsPerFrame = steps;
    }
}

int GameApplication::GetMaximumStepsPerFrame()
{
    return Loop().maximumStepsPerFrame;
}

void GameApplication::SetTimeScale(float scale)
{
    const bool valid = std::isfinite(scale) && scale >= 0.0f;
    MG_ERROR_IF(!valid, "mgExternalError: Expected a time scale of 0 or more, not %g.",
                static_cast<double>(scale));
    if (valid) {
        Loop().timeScale = scale;
    }
}

float GameApplication::GetTimeScale()
{
    return Loop().timeScale;
}

bool GameApplication::IsWindowActive()
{
    return State().windowActive;
}

void GameApplication::OnErrorFired(const std::string& message)
{
    const std::string text = message + "\n\n" + Core::Error::GetLastErrorFile() +
                             "  LINE: " + std::to_string(Core::Error::GetLastErrorLine());
    Application::OpenMessageBox("Error Condition Triggered", text, "Okay", "");
    // The report can come from deep inside a frame, with scenes, sounds and the window still in
    // use further up the stack: running the static destructors now could crash on the way out,
    // so the program ends at once, as a failure, but without an abort signal or a core dump.
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace Marrowgate::Game
