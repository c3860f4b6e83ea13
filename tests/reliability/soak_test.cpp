// A long run of the whole game with scripted play: through the logo, splash and title into
// play, then many thousands of fixed steps of random driving, turning, resets and runs at the
// chip, ended with Escape as a player would. Built with the sanitizers this is the leak and
// memory-error soak; in any build it checks that nothing accumulates while playing.
//
// Counted after every 1000 steps of play: the texture memory counter (less what the score texts
// need for the current digits), live GL objects in the game's context (by asking the driver
// about every name it has handed out), active audio players, 3D entities and heap bytes in use.
// Steps are counted from the gameplay scene's step accumulator, frame by frame.
// QUORVANE_SOAK_STEPS sets the length.
#include "autopilot.h"
#include "driven_platform.h"
#include "game_session.h"
#include "gameplay_scene.h"
#include "quor_entity.h"
#include "resource_counters.h"

#include "marrowgate/audio/mg_audio_manager.h"
#include "marrowgate/game/mg_game_application.h"
#include "marrowgate/graphics/mg_text.h"
#include "marrowgate/graphics/mg_texture_manager.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

using Marrowgate::Application::Key;
using QuorvaneReliability::GLObjectCounts;

// Five fixed steps of 10 ms in every frame: the most a frame may run, so the most play per frame.
constexpr double kSecondsPerFrame = 0.05;
constexpr double kSecondsPerStep = 0.01;
constexpr std::uint64_t kStepsPerSample = 1000;
// The heap may breathe (string buffers, driver caches) but must not climb with play.
constexpr std::size_t kHeapSlackBytes = 512 * 1024;

std::uint64_t RequestedSteps()
{
    const char* value = std::getenv("QUORVANE_SOAK_STEPS");
    const long long steps = value != nullptr ? std::atoll(value) : 0;
    return steps > 0 ? static_cast<std::uint64_t>(steps) : 10'000;
}

// SDL loads the X11 client libraries at run time and the GL vendor library loads its driver;
// both are unloaded before exit, and what they keep allocated until then would reach the leak
// checker from an unknown module, past the suppressions for system libraries. Everything that
// is loaded once the game runs is marked never to be unloaded, so it stays mapped and named.
void PinLoadedLibraries()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] == '/') {
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
}

// Texture memory the score display's two texts need for the current scores: the score texts
// are rasterised into textures sized to the text, so the counter rightly moves with the digits.
std::uint64_t ScoreTextTextureMemory()
{
    const std::uint64_t before = Marrowgate::Graphics::GetTextureMemory();
    const Marrowgate::Graphics::Text score("Score: " + std::to_string(GetScore()), 25.0f);
    const Marrowgate::Graphics::Text best("Best: " + std::to_string(GetBestScore()), 25.0f);
    return Marrowgate::Graphics::GetTextureMemory() - before;
}

struct Sample
{
    std::uint64_t step = 0;
    std::uint64_t textureMemory = 0;
    std::uint64_t scoreTextMemory = 0;
    GLObjectCounts glObjects;
    std::size_t players = 0;
    std::size_t entities = 0;
    std::size_t heapBytes = 0;
};

// Plays the game from its pass callback: what the driver does in each phase of the run.
class SoakDriver
{
public:
    SoakDriver(QuorvaneReliability::DrivenPlatform& platform, std::uint64_t steps)
        : mPlatform(platform), mTargetSteps(steps), mAutopilot(20240611u)
    {}

    void OnPass();

    std::uint64_t stepsPlayed = 0;
    std::uint64_t framesBeforePlay = 0;
    Sample firstFrameOfPlay;
    std::vector<Sample> samples;
    bool quitSent = false;
    const QuorvaneReliability::Autopilot& GetAutopilot() const { return mAutopilot; }

private:
    GameplayScene* CurrentGameplay() const;
    Sample TakeSample(GameplayScene& scene) const;
    void HoldKeys(const std::set<Key>& keys);
    void Play(GameplayScene& scene);

    QuorvaneReliability::DrivenPlatform& mPlatform;
    std::uint64_t mTargetSteps;
    QuorvaneReliability::Autopilot mAutopilot;
    std::set<Key> mHeld;
    bool mFirstFrameSampled = false;
    bool mLibrariesPinned = false;
    // The scene's step accumulator at the previous pass: what a frame added to it and what is
    // left of it give the steps the frame ran.
    float mAccumulator = 0.0f;
};

GameplayScene* SoakDriver::CurrentGameplay() const
{
    Marrowgate::Game::GameScene* current = Marrowgate::Game::GameApplication::GetCurrentScene();
    return current != nullptr && current == SceneManager::GetScene(kGameplayScene)
               ? static_cast<GameplayScene*>(current)
               : nullptr;
}

Sample SoakDriver::TakeSample(GameplayScene& scene) const
{
    Sample sample;
    sample.step = stepsPlayed;
    sample.textureMemory = Marrowgate::Graphics::GetTextureMemory();
    sample.scoreTextMemory = ScoreTextTextureMemory();
    sample.glObjects = QuorvaneReliability::CountLiveGLObjects();
    sample.players = Marrowgate::Audio::theAudioManager.GetActivePlayerCount();
    sample.entities = scene.GetEntityManager().GetEntitiesByType("CarEntity").size() +
                      scene.GetEntityManager().GetEntitiesByType("QuorEntity").size();
    sample.heapBytes = QuorvaneReliability::GetHeapBytesInUse();
    return sample;
}

void SoakDriver::HoldKeys(const std::set<Key>& keys)
{
    for (const Key key : mHeld) {
        if (keys.count(key) == 0) {
            mPlatform.ReleaseKey(key);
        }
    }
    for (const Key key : keys) {
        if (mHeld.count(key) == 0) {
            mPlatform.PressKey(key);
        }
    }
    mHeld = keys;
}

void SoakDriver::OnPass()
{
    if (!mLibrariesPinned) {
        mLibrariesPinned = true;
        PinLoadedLibraries();
    }
    GameplayScene* gameplay = CurrentGameplay();
    if (gameplay == nullptr) {
        // Logo, splash and title: Space skips the splash when let go and starts from the title.
        ++framesBeforePlay;
        HoldKeys(framesBeforePlay % 2 == 0 ? std::set<Key>{Marrowgate::Application::KeySpace}
                                           : std::set<Key>{});
        return;
    }
    if (!mFirstFrameSampled) {
        // One frame of play has been drawn: its texts and meshes exist now.
        mFirstFrameSampled = true;
        HoldKeys({});
        firstFrameOfPlay = TakeSample(*gameplay);
        mAccumulator = gameplay->GetStepAccumulator();
        return;
    }
    Play(*gameplay);
}

void SoakDriver::Play(GameplayScene& scene)
{
    if (quitSent) {
        // Escape quits when it is let go, a frame after it went down.
        HoldKeys({});
        return;
    }
    const std::uint64_t before = stepsPlayed;
    const float accumulator = scene.GetStepAccumulator();
    stepsPlayed += static_cast<std::uint64_t>(
        std::lround((mAccumulator + kSecondsPerFrame - accumulator) / kSecondsPerStep));
    mAccumulator = accumulator;
    if (before / kStepsPerSample != stepsPlayed / kStepsPerSample) {
        samples.push_back(TakeSample(scene));
    }
    if (stepsPlayed >= mTargetSteps) {
        HoldKeys({Marrowgate::Application::KeyEscape});
        quitSent = true;
        return;
    }
    const std::vector<Orrery::Game::Entity*> cars = scene.GetEntityManager().GetEntitiesByType("CarEntity");
    const std::vector<Orrery::Game::Entity*> chips = scene.GetEntityManager().GetEntitiesByType("QuorEntity");
    if (cars.empty() || chips.empty()) {
        return;
    }
    HoldKeys(mAutopilot.ChooseKeys(cars.front()->GetTransform(), chips.front()->GetPosition()));
}

std::string Describe(const Sample& sample)
{
    return "step " + std::to_string(sample.step) + ": texture memory " +
           std::to_string(sample.textureMemory) + " (score texts " + std::to_string(sample.scoreTextMemory) +
           "), " + sample.glObjects.Describe() + ", " + std::to_string(sample.players) + " players, " +
           std::to_string(sample.entities) + " entities, heap " + std::to_string(sample.heapBytes);
}

TEST(Soak, LongPlayKeepsResourcesLevelAndCollectsChips)
{
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    }
    const std::uint64_t steps = RequestedSteps();
    QuorvaneReliability::DrivenPlatformScope scope(kSecondsPerFrame);
    SoakDriver driver(scope.GetPlatform(), steps);
    scope.GetPlatform().SetPassCallback([&driver] { driver.OnPass(); });
    const std::uint32_t scoreBefore = GetScore();

    QuorvaneReliability::RunGameSession({kSplashScene, false, {}});

    ASSERT_TRUE(driver.quitSent) << "the game ended before the soak was over";
    ASSERT_GE(driver.samples.size(), 2u);
    const std::uint32_t collected = GetScore() - scoreBefore;
    std::printf("soak: %llu steps of play (%.0f s of game time) after %llu frames of logo, splash and title; "
                "%u chips collected, %llu resets\n",
                static_cast<unsigned long long>(driver.stepsPlayed),
                static_cast<double>(driver.stepsPlayed) * 0.01,
                static_cast<unsigned long long>(driver.framesBeforePlay), collected,
                static_cast<unsigned long long>(driver.GetAutopilot().GetResets()));
    std::printf("soak: first frame of play: %s\n", Describe(driver.firstFrameOfPlay).c_str());
    for (const Sample& sample : driver.samples) {
        std::printf("soak: %s\n", Describe(sample).c_str());
    }
    EXPECT_GT(collected, 0u);

    // Warm-up: the first tenth of the run, at least one sample.
    const std::size_t warmUp = std::max<std::size_t>(1, driver.samples.size() / 10);
    const Sample& reference = driver.samples[warmUp - 1];
    std::size_t heapHighWater = reference.heapBytes;
    for (std::size_t index = warmUp; index < driver.samples.size(); ++index) {
        const Sample& sample = driver.samples[index];
        // Back at the first frame's level, apart from what the score texts need now.
        EXPECT_EQ(sample.textureMemory - sample.scoreTextMemory,
                  driver.firstFrameOfPlay.textureMemory - driver.firstFrameOfPlay.scoreTextMemory)
            << Describe(sample);
        EXPECT_EQ(sample.glObjects.Total(), reference.glObjects.Total()) << Describe(sample);
        EXPECT_EQ(sample.players, reference.players) << Describe(sample);
        EXPECT_EQ(sample.entities, 2u) << Describe(sample);
        heapHighWater = std::max(heapHighWater, sample.heapBytes);
    }
    EXPECT_LE(heapHighWater, reference.heapBytes + kHeapSlackBytes)
        << "heap after warm-up " << reference.heapBytes << ", highest later " << heapHighWater;
}

} // namespace
