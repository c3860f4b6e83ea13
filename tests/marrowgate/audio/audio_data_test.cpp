// AudioData without an audio device: files are read and checked, nothing is uploaded.
#include "marrowgate/audio/implementation/mgi_audio_data.h"

#include "audio_test_support.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <AL/al.h>

using mgImplementation::AudioData;
using QuorvaneTest::ErrorCapture;

TEST(AudioDataFromFile, AStereo16BitWaveKeepsItsLayoutAndDataSize)
{
    const std::string path =
        AudioTest::WriteTemporaryFile("stereo.wav", AudioTest::SimpleWave(2, 44100, 16, 441));
    ErrorCapture errors;
    const AudioData data(path, false);
    EXPECT_FALSE(errors.Fired());
    EXPECT_EQ(data.GetFilePath(), path);
    EXPECT_EQ(data.GetFormat(), AL_FORMAT_STEREO16);
    EXPECT_EQ(data.GetSampleRate(), 44100u);
    EXPECT_EQ(data.GetDataSize(), 441u * 4);
    EXPECT_FALSE(data.IsStreaming());
}

TEST(AudioDataFromFile, AMissingFileIsReportedOnceWithTheReasonAndItsPath)
{
    for (const bool streaming : {false, true}) {
        for (const std::string path : {"no/such/sound.wav", "no/such/music.ogg"}) {
            SCOPED_TRACE(path + (streaming ? " streaming" : ""));
            ErrorCapture errors;
            const AudioData data(path, streaming);
            ASSERT_EQ(errors.messages.size(), 1u);
            EXPECT_EQ(errors.Last(),
                      "mgDataError: Could not open the file (No such file or directory). File: "
                      "\"" +
                          path + "\"");
            EXPECT_EQ(data.GetDataSize(), 0u);
            EXPECT_EQ(data.GetBuffer(), 0u);
            EXPECT_EQ(data.GetSampleRate(), 0u);
        }
    }
}

TEST(AudioDataFromFile, AnUnreadableSoundReportsThatItFailedToInitialize)
{
    const std::string path =
        AudioTest::WriteTemporaryFile("text.wav", AudioTest::Bytes{'h', 'e', 'l', 'l', 'o'});
    ErrorCapture errors;
    const AudioData data(path, false);
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.messages[1], "mgError: Was unable to initialize audio data for file, \"" + path + "\".");
    EXPECT_EQ(data.GetDataSize(), 0u);
}

TEST(AudioDataStreaming, AnOggFileKeepsOnlyItsLayout)
{
    ErrorCapture errors;
    const AudioData data(AudioTest::TestSoundPath("tone_10s_mono.ogg"), true);
    EXPECT_FALSE(errors.Fired());
    EXPECT_TRUE(data.IsStreaming());
    EXPECT_EQ(data.GetBuffer(), 0u);
    EXPECT_EQ(data.GetDataSize(), 0u);
    EXPECT_EQ(data.GetSampleRate(), 44100u);
    EXPECT_EQ(data.GetFormat(), AL_FORMAT_MONO16);
}

TEST(AudioDataStreaming, OnlyOggFilesStream)
{
    const std::string path = AudioTest::WriteTemporaryFile("mono.wav", AudioTest::SimpleWave(1, 8000, 8, 80));
    ErrorCapture errors;
    const AudioData data(path, true);
    EXPECT_FALSE(data.IsStreaming());
    EXPECT_EQ(data.GetDataSize(), 80u);
    EXPECT_EQ(data.GetFormat(), AL_FORMAT_MONO8);
    EXPECT_FALSE(errors.Fired());
}

TEST(AudioDataStreaming, AnOggFileThatHoldsNoVorbisStreamIsReportedOnce)
{
    const std::string path =
        AudioTest::WriteTemporaryFile("noise.ogg", AudioTest::Bytes{'O', 'g', 'g', 'S', 0, 1, 2, 3});
    ErrorCapture errors;
    const AudioData data(path, true);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "mgError: Was unable to initialize audio file for streaming, \"" + path + "\".");
    EXPECT_EQ(data.GetSampleRate(), 0u);
    EXPECT_EQ(data.GetFormat(), 0);
}

TEST(AudioDataFromMemory, EmptyImagesAreReported)
{
    const unsigned char byte = 0;
    {
        ErrorCapture errors;
        const AudioData data(nullptr, 10);
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.Last(),
                  "mgExternalError: Invalid file data, expected valid memory buffer containing file.");
    }
    ErrorCapture errors;
    const AudioData data(&byte, 0);
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(), "mgExternalError: Invalid file size, 0 bytes.");
    EXPECT_TRUE(data.GetFilePath().empty());
}

TEST(AudioDataFromMemory, AWaveImageLoadsWhole)
{
    const AudioTest::Bytes image = AudioTest::SimpleWave(1, 44100, 16, 100);
    ErrorCapture errors;
    const AudioData data(image.data(), image.size());
    EXPECT_FALSE(errors.Fired());
    EXPECT_EQ(data.GetFormat(), AL_FORMAT_MONO16);
    EXPECT_EQ(data.GetDataSize(), 200u);
}

TEST(OpenALErrors, EveryCodeHasItsName)
{
    EXPECT_STREQ(mgImplementation::OpenALErrorName(0), "AL_NO_ERROR");
    EXPECT_STREQ(mgImplementation::OpenALErrorName(0xA001), "AL_INVALID_NAME");
    EXPECT_STREQ(mgImplementation::OpenALErrorName(0xA002), "AL_INVALID_ENUM");
    EXPECT_STREQ(mgImplementation::OpenALErrorName(0xA003), "AL_INVALID_VALUE");
    EXPECT_STREQ(mgImplementation::OpenALErrorName(0xA004), "AL_INVALID_OPERATION");
    EXPECT_STREQ(mgImplementation::OpenALErrorName(0xA005), "AL_OUT_OF_MEMORY");
    EXPECT_STREQ(mgImplementation::OpenALErrorName(0xA006), "UNKNOWN_OPENAL_ERROR");
    EXPECT_STREQ(mgImplementation::OpenALErrorName(-1), "UNKNOWN_OPENAL_ERROR");
}
