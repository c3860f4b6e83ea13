// Channels, events and levels on a real OpenAL device (the null back-end under CTest): what a
// game can rely on besides the sound itself.
#include "marrowgate/audio/mg_audio_manager.h"

#include "marrowgate/audio/implementation/mgi_audio_data.h"

#include "audio_test_support.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

using Marrowgate::Audio::AudioBus;
using Marrowgate::Audio::AudioChannel;
using Marrowgate::Audio::AudioHandle;
using Marrowgate::Audio::theAudioManager;
using QuorvaneTest::ErrorCapture;

namespace {

class ChannelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        theAudioManager.Restart();
        if (!theAudioManager.HasDevice()) {
            GTEST_SKIP() << "no OpenAL device; ALSOFT_DRIVERS=null gives one";
        }
        const AudioTest::Bytes wave = AudioTest::SineWave(440.0, 1.0, 0.5);
        tone = theAudioManager.CreateSoundFromMemory(wave.data(), wave.size());
    }

    static bool LoadTable(const std::string& events)
    {
        const std::string path = AudioTest::WriteTemporaryFile("channel_events.json", {});
        std::ofstream(path) << R"({"audio_events": [)" << events << "]}";
        return theAudioManager.LoadEventTable("events", path);
    }

    AudioHandle tone = 0;
};

} // namespace

TEST_F(ChannelTest, OutOfRangeLevelsAreReportedByNameAndChangeNothing)
{
    const AudioChannel channel = theAudioManager.PlaySound(tone, true, false);
    ErrorCapture errors;
    channel.SetVolume(std::nanf(""));
    EXPECT_EQ(errors.Last(), "mgExternalError: The channel volume must be a gain from 0 to 1, not nan.");
    channel.SetVolume(-0.1f);
    channel.SetVolume(1.5f);
    channel.SetPitch(0.0f);
    EXPECT_EQ(errors.Last(), "mgExternalError: A pitch must be above 0, not 0.");
    channel.SetPitch(-1.0f);
    channel.SetPan(2.0f);
    EXPECT_EQ(errors.Last(), "mgExternalError: A pan must be from -1 to 1, not 2.");
    channel.FadeOutAndStop(-1.0f);
    EXPECT_EQ(errors.Last(), "mgExternalError: A fade must last 0 seconds or more, not -1.");
    channel.FadeTo(2.0f, 1.0f);
    theAudioManager.CrossfadeMusic(channel, std::nanf(""));
    theAudioManager.SetMasterVolume(-1.0f);
    EXPECT_EQ(errors.Last(), "mgExternalError: The master volume must be a gain from 0 to 1, not -1.");
    theAudioManager.SetBusVolume(AudioBus::kMusic, std::nanf(""));
    EXPECT_EQ(errors.Last(), "mgExternalError: The music bus volume must be a gain from 0 to 1, not nan.");
    theAudioManager.SetListener({0.0f, std::nanf(""), 0.0f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});
    EXPECT_EQ(errors.Last(), "mgExternalError: The listener position must be finite, not (0, nan, 0).");
    theAudioManager.SetListener({}, {0.0f, 2.0f, 0.0f}, {0.0f, 1.0f, 0.0f});
    EXPECT_EQ(errors.Last(),
              "mgExternalError: The listener's forward (0, 2, 0) and up (0, 1, 0) directions must "
              "be non-zero and not parallel.");
    EXPECT_EQ(theAudioManager.PlaySoundAt(tone, false, {INFINITY, 0.0f, 0.0f}).channelIdentifier, 0u);
    EXPECT_EQ(errors.messages.size(), 14u);

    theAudioManager.Update();
    EXPECT_TRUE(channel.IsPlaying());
    EXPECT_FLOAT_EQ(channel.GetVolume(), 1.0f);
    EXPECT_FLOAT_EQ(theAudioManager.GetMasterVolume(), 1.0f);
    EXPECT_FLOAT_EQ(theAudioManager.GetBusVolume(AudioBus::kMusic), 1.0f);
}

TEST_F(ChannelTest, UnknownTablesAndEventsAreReportedAndStartNothing)
{
    ASSERT_TRUE(
        LoadTable(R"({"name": "blip", "file": ")" + AudioTest::TestSoundPath("tone_1s_mono.ogg") + "\"}"));
    ErrorCapture errors;
    EXPECT_EQ(theAudioManager.PlayEvent("nothing", "blip").channelIdentifier, 0u);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: No audio event table \"nothing\" has been loaded (playing event \"blip\").");
    EXPECT_EQ(theAudioManager.PlayEventAt("events", "blop", {}).channelIdentifier, 0u);
    EXPECT_EQ(errors.Last(), "mgExternalError: The audio event table \"events\" has no event \"blop\".");
    EXPECT_EQ(theAudioManager.GetActivePlayerCount(), 0u);
    EXPECT_NE(theAudioManager.PlayEvent("events", "blip").channelIdentifier, 0u);
    EXPECT_EQ(errors.messages.size(), 2u);
}

TEST_F(ChannelTest, ATableAskingForANegativePitchIsReportedAndLoudnessAboveOneIsCappedAtOne)
{
    const std::string file = AudioTest::TestSoundPath("tone_1s_mono.ogg");
    ASSERT_TRUE(LoadTable(R"({"name": "down", "file": ")" + file + R"(", "pitch": -1},
                             {"name": "loud", "file": ")" +
                          file + R"(", "volume": 3})"));
    ErrorCapture errors;
    EXPECT_EQ(theAudioManager.PlayEvent("events", "down").channelIdentifier, 0u);
    EXPECT_EQ(errors.Last(),
              "mgDataError: The audio event \"down\" of table \"events\" asks for volume 1 and "
              "pitch -1; a volume must be 0 or more and a pitch above 0.");
    EXPECT_FLOAT_EQ(theAudioManager.PlayEvent("events", "loud").GetVolume(), 1.0f);
}

TEST_F(ChannelTest, AnEndedChannelIgnoresEverythingAndNeverReachesTheNextSound)
{
    ErrorCapture errors;
    const AudioChannel ended = theAudioManager.PlaySound(tone, true, false);
    ended.Stop();
    EXPECT_FALSE(ended.IsPlaying());
    theAudioManager.Update();
    EXPECT_EQ(theAudioManager.GetActivePlayerCount(), 0u);

    const AudioChannel next = theAudioManager.PlaySound(tone, true, false);
    ended.Stop();
    ended.Pause();
    ended.SetVolume(0.0f);
    ended.FadeOutAndStop(0.0f);
    ended.SetPitch(2.0f);
    EXPECT_FALSE(ended.IsPlaying());
    EXPECT_FLOAT_EQ(ended.GetVolume(), 0.0f);
    EXPECT_TRUE(next.IsPlaying());
    EXPECT_FALSE(next.IsPaused());
    EXPECT_FLOAT_EQ(next.GetVolume(), 1.0f);
    // A channel that never started behaves the same.
    AudioChannel{}.Stop();
    EXPECT_FALSE(AudioChannel{}.IsPlaying());
    EXPECT_FALSE(errors.Fired());
}

TEST_F(ChannelTest, AChannelPausedByTheGameStaysPausedWhenTheWindowComesBack)
{
    const AudioChannel held = theAudioManager.PlaySound(tone, true, false);
    const AudioChannel playing = theAudioManager.PlaySound(tone, true, false);
    held.Pause();
    theAudioManager.SetPaused(true);
    theAudioManager.SetPaused(false);
    EXPECT_TRUE(held.IsPaused());
    EXPECT_TRUE(held.IsPlaying());
    EXPECT_FALSE(playing.IsPaused());

    // Resumed while the window is away, it waits for the window.
    theAudioManager.SetPaused(true);
    held.Resume();
    EXPECT_FALSE(held.IsPaused());
    theAudioManager.SetPaused(false);
    EXPECT_TRUE(held.IsPlaying());
}

TEST_F(ChannelTest, AFadeThatIsHeldByAPauseWaitsAndAZeroFadeActsAtOnce)
{
    const AudioChannel channel = theAudioManager.PlaySound(tone, true, false);
    channel.FadeTo(0.5f, 0.1f);
    channel.Pause();
    for (int step = 0; step < 20; ++step) {
        theAudioManager.Update();
    }
    EXPECT_FLOAT_EQ(channel.GetVolume(), 1.0f);
    channel.Resume();
    for (int step = 0; step < 10; ++step) {
        theAudioManager.Update();
    }
    EXPECT_FLOAT_EQ(channel.GetVolume(), 0.5f);

    channel.FadeOutAndStop(0.0f);
    EXPECT_FALSE(channel.IsPlaying());
}

TEST_F(ChannelTest, EventsOfATwoVariantTableAlternateAndStreamingEventsStream)
{
    const std::string shortTone = AudioTest::TestSoundPath("tone_1s_mono.ogg");
    const std::string longTone = AudioTest::TestSoundPath("tone_10s_mono.ogg");
    ASSERT_TRUE(LoadTable(R"({"name": "pair", "file": [")" + shortTone + R"(", ")" + longTone + R"("]},
                             {"name": "theme", "file": ")" +
                          longTone + R"(", "streaming": true, "music": true})"));
    AudioHandle previous = 0;
    for (int play = 0; play < 6; ++play) {
        const AudioChannel channel = theAudioManager.PlayEvent("events", "pair");
        EXPECT_NE(channel.handle, previous);
        previous = channel.handle;
    }
    const AudioChannel theme = theAudioManager.PlayEvent("events", "theme");
    EXPECT_TRUE(theAudioManager.FindSound(theme.handle)->audioData->IsStreaming());
    // The same file played whole by the other event is a sound of its own.
    EXPECT_NE(theme.handle, previous);
    EXPECT_TRUE(theme.IsPlaying());
}

TEST_F(ChannelTest, SoundsMadeFromMemoryMayBeOggVorbisOrWave)
{
    std::ifstream file(AudioTest::TestSoundPath("tone_1s_stereo.ogg"), std::ios::binary);
    const std::vector<std::uint8_t> ogg((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
    ErrorCapture errors;
    const AudioHandle fromOgg =
        theAudioManager.CreateSoundFromMemory(ogg.data(), ogg.size(), "tone_1s_stereo.ogg");
    const mgImplementation::AudioData& data = *theAudioManager.FindSound(fromOgg)->audioData;
    EXPECT_EQ(data.GetChannels(), 2);
    EXPECT_EQ(data.GetDataSize(), 44100u * 2 * 2);
    EXPECT_NE(data.GetBuffer(), 0u);
    EXPECT_NE(theAudioManager.PlaySound(fromOgg, false, false).channelIdentifier, 0u);
    EXPECT_NE(fromOgg, tone);
    EXPECT_FALSE(errors.Fired());

    const std::uint8_t damaged[] = {'O', 'g', 'g', 'S', 0, 0, 0};
    theAudioManager.CreateSoundFromMemory(damaged, sizeof(damaged), "damaged.ogg");
    ASSERT_TRUE(errors.Fired());
    EXPECT_NE(errors.Last().find("damaged.ogg"), std::string::npos) << errors.Last();
}
