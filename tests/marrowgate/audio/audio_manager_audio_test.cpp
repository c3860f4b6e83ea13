// The audio manager on a real OpenAL device (the null back-end under CTest).
#include "marrowgate/audio/mg_audio_manager.h"

#include "marrowgate/audio/implementation/mgi_audio_data.h"

#include "audio_test_support.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

using Marrowgate::Audio::AudioChannel;
using Marrowgate::Audio::AudioHandle;
using Marrowgate::Audio::kInvalidAudioHandle;
using Marrowgate::Audio::theAudioManager;
using Marrowgate::Audio::theLogoSound;
using QuorvaneTest::ErrorCapture;
using namespace std::chrono_literals;

namespace {

class AudioManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!theAudioManager.HasDevice()) {
            GTEST_SKIP() << "no OpenAL device; ALSOFT_DRIVERS=null gives one";
        }
        // Every test starts from a fresh manager: no sounds, no players, no logo sound.
        theAudioManager.Restart();
    }

    static AudioHandle ShortSound(const char* name, std::uint32_t frames)
    {
        return theAudioManager.CreateSoundFromFile(
            AudioTest::WriteTemporaryFile(name, AudioTest::SimpleWave(1, 44100, 16, frames)));
    }
};

// One fixed step after another, in real time, until no player is left or time runs out.
bool UpdateUntilSilent(std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        theAudioManager.Update();
        if (theAudioManager.GetActivePlayerCount() == 0) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

} // namespace

TEST_F(AudioManagerTest, TheFirstPlaySoundRegistersTheLogoSoundAndCanPlayIt)
{
    ErrorCapture errors;
    const AudioChannel channel = theAudioManager.PlaySound(theLogoSound, false, false);
    EXPECT_EQ(theLogoSound, 1u);
    EXPECT_EQ(channel.handle, 1u);
    EXPECT_EQ(channel.channelIdentifier, 1u);
    const mgImplementation::CachedAudioData* logo = theAudioManager.FindSound(theLogoSound);
    ASSERT_NE(logo, nullptr);
    EXPECT_TRUE(logo->filePath.empty());
    EXPECT_EQ(logo->referenceCount, 0u);
    EXPECT_EQ(logo->audioData->GetDataSize(), 167456u);
    EXPECT_NE(logo->audioData->GetBuffer(), 0u);

    EXPECT_EQ(ShortSound("after_logo.wav", 100), 2u);
    EXPECT_FALSE(errors.Fired());
}

TEST_F(AudioManagerTest, AFinishedPlayerIsDroppedAndALoopingOneStays)
{
    ErrorCapture errors;
    const AudioHandle blip = ShortSound("blip.wav", 2205);
    const AudioChannel once = theAudioManager.PlaySound(blip, false, false);
    EXPECT_EQ(once.handle, blip);
    EXPECT_EQ(theAudioManager.GetActivePlayerCount(), 1u);
    EXPECT_TRUE(UpdateUntilSilent(3s));

    const AudioChannel looping = theAudioManager.PlaySound(blip, true, false);
    EXPECT_EQ(looping.channelIdentifier, once.channelIdentifier + 1);
    EXPECT_FALSE(UpdateUntilSilent(300ms)); // six times the sound's length
    EXPECT_EQ(theAudioManager.GetActivePlayerCount(), 1u);
    EXPECT_FALSE(errors.Fired());
}

TEST_F(AudioManagerTest, APausedSoundHoldsItsPlaceAndFinishesAfterTheResume)
{
    ErrorCapture errors;
    const AudioHandle blip = ShortSound("paused_blip.wav", 4410); // 100 ms
    theAudioManager.PlaySound(blip, false, false);
    theAudioManager.SetPaused(true);
    // Three times the sound's length: a sound that went on playing would be dropped here.
    EXPECT_FALSE(UpdateUntilSilent(300ms));
    EXPECT_EQ(theAudioManager.GetActivePlayerCount(), 1u);
    theAudioManager.SetPaused(false);
    EXPECT_TRUE(UpdateUntilSilent(3s));
    EXPECT_FALSE(errors.Fired());
}

TEST_F(AudioManagerTest, AtMostThirtyTwoPlayersSoundAtOnce)
{
    ErrorCapture errors;
    const AudioHandle loop = ShortSound("loop.wav", 4410);
    const AudioHandle blip = ShortSound("blip.wav", 441);
    for (int index = 0; index < 31; ++index) {
        EXPECT_NE(theAudioManager.PlaySound(loop, true, false).channelIdentifier, 0u);
    }
    EXPECT_EQ(theAudioManager.PlaySound(blip, false, true).channelIdentifier, 32u);

    const AudioChannel refused = theAudioManager.PlaySound(loop, false, false);
    EXPECT_EQ(refused.handle, kInvalidAudioHandle);
    EXPECT_EQ(refused.channelIdentifier, 0u);
    EXPECT_EQ(theAudioManager.GetActivePlayerCount(), 32u);
    EXPECT_FALSE(errors.Fired());

    // Once the short sound has ended and Update has let its player go, a new one may start.
    const auto end = std::chrono::steady_clock::now() + 3s;
    while (theAudioManager.GetActivePlayerCount() == 32 && std::chrono::steady_clock::now() < end) {
        theAudioManager.Update();
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(theAudioManager.GetActivePlayerCount(), 31u);
    EXPECT_EQ(theAudioManager.PlaySound(loop, false, false).channelIdentifier, 33u);
}

TEST_F(AudioManagerTest, PlayingAnInvalidOrUnknownHandleIsReported)
{
    ErrorCapture errors;
    const AudioChannel invalid = theAudioManager.PlaySound(kInvalidAudioHandle, false, false);
    EXPECT_EQ(invalid.handle, kInvalidAudioHandle);
    EXPECT_EQ(invalid.channelIdentifier, 0u);
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.messages[0], "mgExternalError: Attempting to play an invalid audio handle.");
    EXPECT_EQ(errors.messages[1], "mgError: Unable to find audio handle to play, was it unloaded?");

    errors.messages.clear();
    EXPECT_EQ(theAudioManager.PlaySound(99, false, false).channelIdentifier, 0u);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "mgError: Unable to find audio handle to play, was it unloaded?");
    EXPECT_EQ(theAudioManager.GetActivePlayerCount(), 0u);
}

TEST_F(AudioManagerTest, ASoundFileIsLoadedOnceAndCounted)
{
    ErrorCapture errors;
    const std::string path =
        AudioTest::WriteTemporaryFile("shared.wav", AudioTest::SimpleWave(2, 22050, 8, 50));
    const AudioHandle first = theAudioManager.CreateSoundFromFile(path);
    const AudioHandle second = theAudioManager.CreateSoundFromFile(path);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(second, first);
    EXPECT_EQ(theAudioManager.FindSound(first)->referenceCount, 2u);

    // A file that fails still gets its handle and record; the failure is reported once.
    const AudioHandle missing = theAudioManager.CreateSoundFromFile("no/such/sound.wav");
    EXPECT_EQ(missing, 2u);
    EXPECT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(theAudioManager.PlaySound(missing, false, false).channelIdentifier, 1u);
    EXPECT_TRUE(UpdateUntilSilent(1s));
}

TEST_F(AudioManagerTest, RealDebianSoundsLoadAndPlay)
{
    std::vector<std::string> files;
    for (const char* folder : {"/usr/share/sounds/alsa", "/usr/share/sounds/freedesktop/stereo"}) {
        if (std::filesystem::exists(folder)) {
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                files.push_back(entry.path().string());
            }
        }
    }
    if (files.empty()) {
        GTEST_SKIP() << "neither alsa-utils nor sound-theme-freedesktop sounds are installed";
    }
    ErrorCapture errors;
    for (std::size_t index = 0; index < files.size() && index < 32; ++index) {
        SCOPED_TRACE(files[index]);
        const AudioHandle handle = theAudioManager.CreateSoundFromFile(files[index]);
        EXPECT_NE(theAudioManager.PlaySound(handle, false, false).channelIdentifier, 0u);
        EXPECT_NE(theAudioManager.FindSound(handle)->audioData->GetBuffer(), 0u);
    }
    theAudioManager.Update();
    EXPECT_FALSE(errors.Fired());
}
