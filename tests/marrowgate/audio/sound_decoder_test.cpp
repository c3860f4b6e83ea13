#include "marrowgate/audio/implementation/mgi_sound_decoder.h"

#include "audio_test_support.h"
#include "support/error_capture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using AudioTest::Bytes;
using AudioTest::Chunk;
using AudioTest::ExtensibleFormatChunk;
using AudioTest::FormatChunk;
using AudioTest::RiffWave;
using mgImplementation::DecodedSound;
using mgImplementation::DecodeSoundFile;
using mgImplementation::ParseWave;
using QuorvaneTest::ErrorCapture;

namespace {

Bytes ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Bytes Samples(std::size_t count)
{
    Bytes samples(count);
    for (std::size_t index = 0; index < count; ++index) {
        samples[index] = static_cast<std::uint8_t>(index);
    }
    return samples;
}

} // namespace

TEST(WaveParsing, SkipsChunksBeforeAndBetweenFormatAndData)
{
    const Bytes samples = Samples(400);
    const Bytes before =
        RiffWave({Chunk("JUNK", Samples(10)), FormatChunk(2, 44100, 16), Chunk("data", samples)});
    const Bytes between =
        RiffWave({FormatChunk(2, 44100, 16), Chunk("LIST", Samples(26)), Chunk("data", samples)});
    for (const Bytes& file : {before, between}) {
        ErrorCapture errors;
        DecodedSound sound;
        ASSERT_TRUE(ParseWave(file, "layout.wav", sound));
        EXPECT_FALSE(errors.Fired());
        EXPECT_EQ(sound.channels, 2);
        EXPECT_EQ(sound.sampleRate, 44100u);
        EXPECT_EQ(sound.bitsPerSample, 16);
        EXPECT_EQ(sound.samples, samples);
    }
}

TEST(WaveParsing, StepsOverThePadByteOfAnOddSizedChunk)
{
    ErrorCapture errors;
    DecodedSound sound;
    const Bytes samples = Samples(8);
    ASSERT_TRUE(
        ParseWave(RiffWave({FormatChunk(1, 8000, 8), Chunk("LIST", Samples(7)), Chunk("data", samples)}),
                  "odd.wav", sound));
    EXPECT_FALSE(errors.Fired());
    EXPECT_EQ(sound.samples, samples);
}

TEST(WaveParsing, ExtendedAndExtensiblePcmFormatChunksReadWithoutAReport)
{
    // 18 bytes with an empty extension, and the 40-byte extensible form with the PCM sub-format.
    for (const Bytes& format : {FormatChunk(1, 22050, 16, 2), ExtensibleFormatChunk(1, 22050, 16, 1)}) {
        ErrorCapture errors;
        DecodedSound sound;
        ASSERT_TRUE(ParseWave(RiffWave({format, Chunk("data", Samples(6))}), "long.wav", sound));
        EXPECT_FALSE(errors.Fired()) << errors.Last();
        EXPECT_EQ(sound.channels, 1);
        EXPECT_EQ(sound.bitsPerSample, 16);
        EXPECT_EQ(sound.sampleRate, 22050u);
        EXPECT_EQ(sound.samples, Samples(6));
    }
}

TEST(WaveParsing, FormatsThePlayerCannotTakeAreReportedAsUnsupported)
{
    Bytes floatTag = FormatChunk(1, 22050, 32);
    floatTag[8] = 3;
    Bytes cutExtensible = ExtensibleFormatChunk(1, 22050, 16, 1);
    cutExtensible.resize(8 + 30);
    cutExtensible[4] = 30;
    Bytes unknownGuid = ExtensibleFormatChunk(1, 22050, 16, 1);
    unknownGuid.back() = 0;
    Bytes muLaw = FormatChunk(1, 8000, 8);
    muLaw[8] = 7;
    for (const Bytes& format :
         {floatTag, ExtensibleFormatChunk(2, 44100, 32, 3), cutExtensible, unknownGuid, muLaw}) {
        ErrorCapture errors;
        DecodedSound sound;
        EXPECT_FALSE(ParseWave(RiffWave({format, Chunk("data", Samples(8))}), "odd.wav", sound));
        ASSERT_TRUE(errors.Fired());
        EXPECT_EQ(errors.Last(), "mgExternalError: Failed to process audio file, \"odd.wav\", audio file is "
                                 "not a supported WAV file.");
        EXPECT_TRUE(sound.samples.empty());
    }
    ErrorCapture errors;
    DecodedSound sound;
    ParseWave(RiffWave({floatTag, Chunk("data", Samples(8))}), "float.wav", sound);
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_NE(errors.messages[0].find("floating-point samples"), std::string::npos);
}

TEST(WaveParsing, AShortFormatChunkFails)
{
    ErrorCapture errors;
    DecodedSound sound;
    Bytes format = FormatChunk(1, 22050, 16);
    format.resize(8 + 12);
    format[4] = 12;
    EXPECT_FALSE(ParseWave(RiffWave({format, Chunk("data", Samples(6))}), "short.wav", sound));
    ASSERT_EQ(errors.messages.size(), 2u);
    EXPECT_EQ(errors.messages[0], "Expected \"fmt \" sub-chunk size to be 16 bytes.");
    EXPECT_EQ(errors.messages[1], "mgExternalError: Failed to process audio file, \"short.wav\", audio file "
                                  "is not a supported WAV file.");
}

TEST(WaveParsing, ADataChunkLongerThanTheFileLoadsTheWholeFramesThatAreThere)
{
    Bytes file = RiffWave({FormatChunk(2, 44100, 16), Chunk("data", Samples(4000))});
    file.resize(file.size() - 4000 + 1001); // 1001 bytes remain: 250 whole frames and a torn one
    ErrorCapture errors;
    DecodedSound sound;
    ASSERT_TRUE(ParseWave(file, "cut.wav", sound));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Audio file \"cut.wav\" is cut short: its data chunk announces 4000 bytes "
              "but holds 1001. The bytes it holds are loaded.");
    EXPECT_EQ(sound.samples.size(), 1000u);

    // A size near 4 GiB must neither allocate it nor read past the end.
    Bytes huge = RiffWave({FormatChunk(1, 8000, 8), Chunk("data", Samples(2))});
    const std::size_t sizeOffset = huge.size() - 2 - 4;
    for (int index = 0; index < 4; ++index) {
        huge[sizeOffset + static_cast<std::size_t>(index)] = 0xFF;
    }
    ASSERT_TRUE(ParseWave(huge, "huge.wav", sound));
    EXPECT_EQ(sound.samples.size(), 2u);
}

TEST(WaveParsing, UnsupportedLayoutsAreReportedAndLoadNoSamples)
{
    struct Case
    {
        int channels;
        int bits;
        const char* message;
    };
    const Case cases[] = {
        {1, 24, "mgExternalError: Audio file \"layout.wav\" is not a 8bit or 16bit WAV file."},
        {3, 16, "mgExternalError: Audio file \"layout.wav\" is not a mono or stereo WAV file."},
    };
    for (const Case& layout : cases) {
        ErrorCapture errors;
        DecodedSound sound;
        ASSERT_TRUE(ParseWave(
            RiffWave({FormatChunk(layout.channels, 44100, layout.bits), Chunk("data", Samples(36))}),
            "layout.wav", sound));
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.Last(), layout.message);
        EXPECT_EQ(sound.bitsPerSample, layout.bits);
        EXPECT_TRUE(sound.samples.empty());
    }
}

TEST(WaveParsing, BrokenFilesFailWithTheirReport)
{
    struct Case
    {
        Bytes file;
        const char* message;
    };
    Bytes notWave = AudioTest::SimpleWave(1, 8000, 8, 4);
    notWave[8] = 'A';
    const Case cases[] = {
        {Bytes{'R', 'I', 'F', 'F'}, "mgExternalError: Failed to process audio file, \"broken.wav\", audio "
                                    "file is not a supported WAV file."},
        {notWave, "mgExternalError: Failed to process audio file, \"broken.wav\", audio file is not a "
                  "supported WAV file."},
        {RiffWave({Chunk("data", Samples(4))}),
         "mgExternalError: Was unable to find 'fmt ' chunk in wave file."},
        {RiffWave({FormatChunk(1, 8000, 8), Chunk("LIST", Samples(4))}),
         "mgExternalError: Was unable to find data chunk in wave file."},
    };
    for (const Case& broken : cases) {
        ErrorCapture errors;
        DecodedSound sound;
        EXPECT_FALSE(ParseWave(broken.file, "broken.wav", sound));
        ASSERT_EQ(errors.messages.size(), 1u);
        EXPECT_EQ(errors.Last(), broken.message);
        EXPECT_TRUE(sound.samples.empty());
    }
}

TEST(OggVorbisDecoding, DecodesAStereoFileWholeTo16BitSamples)
{
    ErrorCapture errors;
    DecodedSound sound;
    ASSERT_TRUE(DecodeSoundFile(ReadFile(AudioTest::TestSoundPath("tone_1s_stereo.ogg")),
                                "tone_1s_stereo.ogg", sound));
    EXPECT_FALSE(errors.Fired());
    EXPECT_EQ(sound.channels, 2);
    EXPECT_EQ(sound.sampleRate, 44100u);
    EXPECT_EQ(sound.bitsPerSample, 16);
    EXPECT_EQ(sound.samples.size(), 44100u * 2 * 2);
}

TEST(OggVorbisDecoding, MoreThanTwoChannelsAreReportedAndLoadNoSamples)
{
    ErrorCapture errors;
    DecodedSound sound;
    ASSERT_TRUE(DecodeSoundFile(ReadFile(AudioTest::TestSoundPath("tone_3ch.ogg")), "tone_3ch.ogg", sound));
    ASSERT_EQ(errors.messages.size(), 1u);
    EXPECT_EQ(errors.Last(),
              "mgExternalError: Audio file \"tone_3ch.ogg\" is not a mono or stereo OGG file.");
    EXPECT_TRUE(sound.samples.empty());
}

TEST(SoundFileKind, OggIsChosenByNameAnywhereInThePathOrByContent)
{
    const Bytes wave = AudioTest::SimpleWave(1, 8000, 8, 4);
    const Bytes ogg = ReadFile(AudioTest::TestSoundPath("tone_1s_mono.ogg"));
    DecodedSound sound;
    {
        ErrorCapture errors;
        // The name wins: a WAV called *.ogg.wav goes to the Vorbis decoder, which refuses it.
        EXPECT_FALSE(DecodeSoundFile(wave, "sound.ogg.wav", sound));
        EXPECT_FALSE(errors.Fired());
    }
    ErrorCapture errors;
    EXPECT_TRUE(DecodeSoundFile(wave, "SOUND.OGG", sound));
    EXPECT_EQ(sound.bitsPerSample, 8);
    EXPECT_TRUE(DecodeSoundFile(ogg, "SOUND.OGG", sound));
    EXPECT_EQ(sound.samples.size(), 44100u * 2);
    EXPECT_TRUE(DecodeSoundFile(ogg, "", sound)); // an image in memory has no name
    EXPECT_FALSE(errors.Fired());
}

TEST(RealSoundFiles, DebianAlsaWavesParse)
{
    const std::filesystem::path folder = "/usr/share/sounds/alsa";
    if (!std::filesystem::exists(folder / "Front_Center.wav")) {
        GTEST_SKIP() << "alsa-utils sounds are not installed";
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        ErrorCapture errors;
        DecodedSound sound;
        const Bytes file = ReadFile(entry.path().string());
        ASSERT_TRUE(DecodeSoundFile(file, entry.path().string(), sound));
        EXPECT_FALSE(errors.Fired());
        EXPECT_EQ(sound.channels, 1);
        EXPECT_EQ(sound.sampleRate, 48000u);
        EXPECT_GT(sound.samples.size(), 48000u);
    }
}

TEST(RealSoundFiles, FreedesktopOggVorbisSoundsDecode)
{
    const std::filesystem::path folder = "/usr/share/sounds/freedesktop/stereo";
    if (!std::filesystem::exists(folder / "bell.oga")) {
        GTEST_SKIP() << "sound-theme-freedesktop is not installed";
    }
    int decoded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        ErrorCapture errors;
        DecodedSound sound;
        ASSERT_TRUE(DecodeSoundFile(ReadFile(entry.path().string()), entry.path().string(), sound));
        EXPECT_FALSE(errors.Fired());
        EXPECT_TRUE(sound.channels == 1 || sound.channels == 2);
        EXPECT_FALSE(sound.samples.empty());
        ++decoded;
    }
    EXPECT_GT(decoded, 10);
}
