#include "marrowgate/audio/implementation/mgi_vorbis_stream.h"

#include "audio_test_support.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <vector>

using mgImplementation::VorbisStream;
using QuorvaneTest::ErrorCapture;

namespace {

// Three seconds of mono at 44100 Hz: one stream buffer.
constexpr std::uint32_t kFramesPerBuffer = 132300;

} // namespace

TEST(VorbisStreaming, ATenSecondFileComesInThreeSecondPiecesThenRunsOut)
{
    VorbisStream stream(AudioTest::TestSoundPath("tone_10s_mono.ogg"));
    ASSERT_TRUE(stream.IsOpen());
    std::vector<std::int16_t> samples(kFramesPerBuffer);
    ErrorCapture errors;
    EXPECT_EQ(stream.Read(samples, 1, false), kFramesPerBuffer);
    EXPECT_EQ(stream.Read(samples, 1, false), kFramesPerBuffer);
    EXPECT_EQ(stream.Read(samples, 1, false), kFramesPerBuffer);
    EXPECT_EQ(stream.Read(samples, 1, false), 44100u);
    EXPECT_EQ(stream.Read(samples, 1, false), 0u);
    EXPECT_FALSE(errors.Fired());
}

TEST(VorbisStreaming, ALoopingReadWrapsToTheStartToFillItsPiece)
{
    VorbisStream stream(AudioTest::TestSoundPath("tone_10s_mono.ogg"));
    std::vector<std::int16_t> samples(kFramesPerBuffer);
    ErrorCapture errors;
    for (int piece = 0; piece < 3; ++piece) {
        EXPECT_EQ(stream.Read(samples, 1, true), kFramesPerBuffer);
    }
    EXPECT_EQ(stream.Read(samples, 1, true), kFramesPerBuffer); // 1 s of the end, 2 s of the start
    EXPECT_EQ(stream.Read(samples, 1, true), kFramesPerBuffer);
    EXPECT_FALSE(errors.Fired());
}

TEST(VorbisStreaming, ALoopingFileTooShortForOneWrapIsReported)
{
    std::vector<std::int16_t> samples(kFramesPerBuffer);
    {
        // Two seconds, then one more after the wrap: exactly one piece.
        VorbisStream stream(AudioTest::TestSoundPath("tone_2s_mono.ogg"));
        ErrorCapture errors;
        EXPECT_EQ(stream.Read(samples, 1, true), kFramesPerBuffer);
        EXPECT_FALSE(errors.Fired());
    }
    VorbisStream stream(AudioTest::TestSoundPath("tone_1s_mono.ogg"));
    ErrorCapture errors;
    EXPECT_EQ(stream.Read(samples, 1, true), 88200u);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "mgInternalError: Streaming and Looping Audio, perhaps buffer size too large?");
}

TEST(VorbisStreaming, AFileThatCannotBeOpenedYieldsNothing)
{
    VorbisStream stream("no/such/music.ogg");
    EXPECT_FALSE(stream.IsOpen());
    std::vector<std::int16_t> samples(64);
    EXPECT_EQ(stream.Read(samples, 1, true), 0u);
}
