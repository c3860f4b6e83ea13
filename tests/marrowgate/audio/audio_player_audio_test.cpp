// Players on a real OpenAL device (the null back-end under CTest).
#include "marrowgate/audio/implementation/mgi_audio_player.h"
#include "marrowgate/audio/mg_audio_manager.h"

#include "audio_test_support.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <AL/al.h>

#include <chrono>
#include <filesystem>
#include <thread>

using mgImplementation::AudioData;
using mgImplementation::AudioPlayer;
using QuorvaneTest::ErrorCapture;
using namespace std::chrono_literals;

namespace {

constexpr ALint kFramesPerStreamBuffer = 132300;

class AudioPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!Marrowgate::Audio::theAudioManager.HasDevice()) {
            GTEST_SKIP() << "no OpenAL device; ALSOFT_DRIVERS=null gives one";
        }
    }

    static std::shared_ptr<AudioData> ShortSound(const char* name, std::uint32_t frames)
    {
        return std::make_shared<AudioData>(
            AudioTest::WriteTemporaryFile(name, AudioTest::SimpleWave(1, 44100, 16, frames)), false);
    }
};

ALint SourceInteger(const AudioPlayer& player, ALenum property)
{
    ALint value = 0;
    alGetSourcei(player.GetSource(), property, &value);
    return value;
}

ALint BufferInteger(std::uint32_t buffer, ALenum property)
{
    ALint value = 0;
    alGetBufferi(buffer, property, &value);
    return value;
}

// Updates once per fixed step, as the manager does, until the player finishes or time runs out.
bool UpdateUntilFinished(AudioPlayer& player, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        player.Update();
        if (player.IsFinished()) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

} // namespace

TEST_F(AudioPlayerTest, AWholeSoundPlaysOnceAndLetsGoOfItsData)
{
    ErrorCapture errors;
    AudioPlayer player(1);
    player.Play(ShortSound("tenth.wav", 4410), false);
    EXPECT_EQ(SourceInteger(player, AL_BUFFERS_QUEUED), 1);
    EXPECT_EQ(SourceInteger(player, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_FALSE(player.IsFinished());

    EXPECT_TRUE(UpdateUntilFinished(player, 3s));
    EXPECT_FALSE(player.HoldsAudioData());
    EXPECT_EQ(SourceInteger(player, AL_BUFFERS_QUEUED), 0);
    EXPECT_FALSE(errors.Fired());
}

TEST_F(AudioPlayerTest, AWholeLoopingSoundLoopsInOpenALAndNeverFinishes)
{
    ErrorCapture errors;
    AudioPlayer player(1);
    player.Play(ShortSound("loop.wav", 2205), true);
    EXPECT_EQ(SourceInteger(player, AL_LOOPING), 1);
    EXPECT_FALSE(UpdateUntilFinished(player, 300ms)); // six times its length
    EXPECT_TRUE(player.HoldsAudioData());
    EXPECT_EQ(SourceInteger(player, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_FALSE(errors.Fired());
}

TEST_F(AudioPlayerTest, PlayingTwiceIsReported)
{
    ErrorCapture errors;
    AudioPlayer player(1);
    const auto sound = ShortSound("twice.wav", 441);
    player.Play(sound, false);
    player.Play(sound, false);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "mgInternalError: This player already has valid audio data.");
}

TEST_F(AudioPlayerTest, ASoundWithoutSamplesFinishesAtItsFirstUpdate)
{
    ErrorCapture errors;
    const auto empty = std::make_shared<AudioData>(
        AudioTest::WriteTemporaryFile("24bit.wav", AudioTest::SimpleWave(1, 44100, 24, 100)), false);
    for (const bool looping : {false, true}) {
        AudioPlayer player(1);
        player.Play(empty, looping);
        player.Update();
        EXPECT_TRUE(player.IsFinished());
    }
}

TEST_F(AudioPlayerTest, ATenSecondStreamQueuesTwoBuffersOfThreeSeconds)
{
    ErrorCapture errors;
    AudioPlayer player(1);
    player.Play(std::make_shared<AudioData>(AudioTest::TestSoundPath("tone_10s_mono.ogg"), true), false);
    EXPECT_EQ(SourceInteger(player, AL_BUFFERS_QUEUED), 2);
    EXPECT_EQ(SourceInteger(player, AL_LOOPING), 0);
    for (const std::uint32_t buffer : player.GetStreamBuffers()) {
        EXPECT_EQ(BufferInteger(buffer, AL_SIZE), kFramesPerStreamBuffer * 2); // mono, 16 bits
        EXPECT_EQ(BufferInteger(buffer, AL_FREQUENCY), 44100);
    }
    EXPECT_FALSE(errors.Fired());
}

TEST_F(AudioPlayerTest, AStreamThatRanDryBetweenUpdatesIsRefilledAndRestarted)
{
    ErrorCapture errors;
    AudioPlayer player(1);
    player.Play(std::make_shared<AudioData>(AudioTest::TestSoundPath("tone_10s_mono.ogg"), true), false);
    // Both three-second buffers play out with nobody refilling them (with room for a busy machine).
    std::this_thread::sleep_for(7000ms);
    ASSERT_EQ(SourceInteger(player, AL_SOURCE_STATE), AL_STOPPED);
    player.Update();
    EXPECT_EQ(SourceInteger(player, AL_SOURCE_STATE), AL_PLAYING);
    EXPECT_EQ(SourceInteger(player, AL_BUFFERS_QUEUED), 2);
    EXPECT_FALSE(player.IsFinished());
    EXPECT_FALSE(errors.Fired());
}

TEST_F(AudioPlayerTest, AShortStreamPlaysOutAndFinishes)
{
    ErrorCapture errors;
    AudioPlayer player(1);
    player.Play(std::make_shared<AudioData>(AudioTest::TestSoundPath("tone_1s_mono.ogg"), true), false);
    EXPECT_EQ(SourceInteger(player, AL_BUFFERS_QUEUED), 1);
    EXPECT_TRUE(UpdateUntilFinished(player, 4s));
    EXPECT_FALSE(errors.Fired());
}

TEST_F(AudioPlayerTest, ALoopingStreamOfTwoSecondsFillsBothBuffersByWrapping)
{
    ErrorCapture errors;
    AudioPlayer player(1);
    player.Play(std::make_shared<AudioData>(AudioTest::TestSoundPath("tone_2s_mono.ogg"), true), true);
    EXPECT_EQ(SourceInteger(player, AL_BUFFERS_QUEUED), 2);
    EXPECT_EQ(SourceInteger(player, AL_LOOPING), 0);
    EXPECT_FALSE(UpdateUntilFinished(player, 200ms));
    EXPECT_FALSE(errors.Fired());
}

TEST_F(AudioPlayerTest, ASoundThatCannotBeStreamedFinishesAtItsFirstUpdate)
{
    ErrorCapture errors;
    AudioPlayer player(1);
    player.Play(std::make_shared<AudioData>("no/such/music.ogg", true), true);
    player.Update();
    EXPECT_TRUE(player.IsFinished());
}

TEST_F(AudioPlayerTest, RealDebianSoundsLoadAndPlay)
{
    const std::vector<std::pair<std::string, bool>> files = {
        {"/usr/share/sounds/alsa/Front_Center.wav", false},
        {"/usr/share/sounds/alsa/Noise.wav", false},
        {"/usr/share/sounds/freedesktop/stereo/bell.oga", false},
        {"/usr/share/sounds/freedesktop/stereo/complete.oga", true},
    };
    for (const auto& [path, streaming] : files) {
        SCOPED_TRACE(path);
        if (!std::filesystem::exists(path)) {
            continue;
        }
        ErrorCapture errors;
        const auto data = std::make_shared<AudioData>(path, streaming);
        EXPECT_EQ(data->GetBuffer() != 0, !streaming);
        AudioPlayer player(1);
        player.Play(data, false);
        player.Update();
        EXPECT_EQ(SourceInteger(player, AL_SOURCE_STATE), AL_PLAYING);
        EXPECT_FALSE(errors.Fired());
    }
}
