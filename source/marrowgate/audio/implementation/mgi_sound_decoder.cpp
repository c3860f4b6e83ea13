#include "marrowgate/audio/implementation/mgi_sound_decoder.h"

#include "marrowgate/core/mg_error.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace mgImplementation {
namespace {

constexpr char kUnitName[] = "mgi_sound_decoder";

constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kFormatRecordBytes = 16;

std::uint16_t ReadLittleEndian16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// A cursor over the file that can never step outside it.
class ByteReader
{
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : mBytes(bytes) {}

    std::size_t Remaining() const { return mBytes.size() - mPosition; }
    const std::uint8_t* Current() const { return mBytes.data() + mPosition; }
    void Skip(std::uint64_t count)
    {
        mPosition += static_cast<std::size_t>(std::min<std::uint64_t>(count, Remaining()));
    }

private:
    std::span<const std::uint8_t> mBytes;
    std::size_t mPosition = 0;
};

bool HasIdentifier(const std::uint8_t* bytes, const char* identifier)
{
    return std::memcmp(bytes, identifier, 4) == 0;
}

// Walks chunk headers until one carries `identifier`, skipping the bodies of the others, and
// leaves the reader at that chunk's body. Chunk bodies of odd size are followed by one pad
// byte, which is skipped too, so files written by conforming RIFF writers are read correctly.
bool FindChunk(ByteReader& reader, const char* identifier, std::uint32_t& chunkSize)
{
    while (reader.Remaining() >= kChunkHeaderBytes) {
        const std::uint8_t* header = reader.Current();
        chunkSize = ReadLittleEndian32(header + 4);
        reader.Skip(kChunkHeaderBytes);
        if (HasIdentifier(header, identifier)) {
            return true;
        }
        reader.Skip(static_cast<std::uint64_t>(chunkSize) + (chunkSize & 1u));
    }
    return false;
}

struct FormatRecord
{
    std::int16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::int16_t bitsPerSample = 0;
};

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatFloat = 3;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;
// An extensible record: the 16-byte record, the extension size, valid bits, channel mask and
// the 16-byte sub-format GUID, whose first two bytes are the format code.
constexpr std::size_t kExtensibleRecordBytes = 40;
constexpr std::size_t kSubFormatOffset = 24;
// The rest of the GUID every standard sub-format shares.
constexpr std::uint8_t kSubFormatGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// The format code of the record: the tag itself, or for an extensible record the sub-format's
// code (0 when the record is too short or its sub-format is not a standard one).
std::uint16_t FormatCode(const std::uint8_t* record, std::uint32_t chunkSize)
{
    const std::uint16_t tag = ReadLittleEndian16(record);
    if (tag != kFormatExtensible) {
        return tag;
    }
    if (chunkSize < kExtensibleRecordBytes ||
        std::memcmp(record + kSubFormatOffset + 2, kSubFormatGuidTail, sizeof kSubFormatGuidTail) != 0) {
        return 0;
    }
    return ReadLittleEndian16(record + kSubFormatOffset);
}

bool ReadFormatChunk(ByteReader& reader, const std::string& filePath, FormatRecord& format)
{
    std::uint32_t chunkSize = 0;
    if (!FindChunk(reader, "fmt ", chunkSize)) {
        MG_ERROR("mgExternalError: Was unable to find 'fmt ' chunk in wave file.");
        return false;
    }
    // Writers add an extension to the 16-byte record (18 bytes with an empty one, 40 for the
    // extensible form); it is read where it says what the samples are, and skipped otherwise.
    const std::size_t recordBytes = std::min<std::size_t>(chunkSize, reader.Remaining());
    if (recordBytes < kFormatRecordBytes) {
        MG_ERROR("Expected \"fmt \" sub-chunk size to be 16 bytes.");
        MG_ERROR(
            "mgExternalError: Failed to process audio file, \"%s\", audio file is not a supported WAV file.",
            filePath.c_str());
        return false;
    }
    const std::uint8_t* record = reader.Current();
    const std::uint16_t formatCode = FormatCode(record, static_cast<std::uint32_t>(recordBytes));
    if (formatCode != kFormatPcm) {
        MG_ERROR_IF(formatCode == kFormatFloat,
                    "mgExternalError: Audio file \"%s\" holds floating-point samples; only 8bit or 16bit "
                    "PCM WAV files are played.",
                    filePath.c_str());
        MG_ERROR(
            "mgExternalError: Failed to process audio file, \"%s\", audio file is not a supported WAV file.",
            filePath.c_str());
        return false;
    }
    format.channels = static_cast<std::int16_t>(ReadLittleEndian16(record + 2));
    format.sampleRate = ReadLittleEndian32(record + 4);
    format.bitsPerSample = static_cast<std::int16_t>(ReadLittleEndian16(record + 14));
    reader.Skip(static_cast<std::uint64_t>(chunkSize) + (chunkSize & 1u));
    return true;
}

bool IsSupportedLayout(const FormatRecord& format, const std::string& filePath)
{
    const bool channelsSupported = format.channels == 1 || format.channels == 2;
    const bool bitsSupported = format.bitsPerSample == 8 || format.bitsPerSample == 16;
    MG_ERROR_IF(!channelsSupported, "mgExternalError: Audio file \"%s\" is not a mono or stereo WAV file.",
                filePath.c_str());
    MG_ERROR_IF(!bitsSupported, "mgExternalError: Audio file \"%s\" is not a 8bit or 16bit WAV file.",
                filePath.c_str());
    return channelsSupported && bitsSupported;
}

struct FreeDeleter
{
    void operator()(short* samples) const { std::free(samples); }
};

} // namespace

bool IsOggVorbisPath(std::string_view filePath)
{
    return filePath.find(".ogg") != std::string_view::npos;
}

bool StartsWithOggCapturePattern(std::span<const std::uint8_t> fileBytes)
{
    return fileBytes.size() >= 4 && HasIdentifier(fileBytes.data(), "OggS");
}

bool ParseWave(std::span<const std::uint8_t> fileBytes, const std::string& filePath, DecodedSound& sound)
{
    sound = DecodedSound{};
    ByteReader reader(fileBytes);
    if (reader.Remaining() < 12 || !HasIdentifier(reader.Current(), "RIFF") ||
        !HasIdentifier(reader.Current() + 8, "WAVE")) {
        MG_ERROR(
            "mgExternalError: Failed to process audio file, \"%s\", audio file is not a supported WAV file.",
            filePath.c_str());
        return false;
    }
    reader.Skip(12);

    FormatRecord format;
    if (!ReadFormatChunk(reader, filePath, format)) {
        return false;
    }
    std::uint32_t dataSize = 0;
    if (!FindChunk(reader, "data", dataSize)) {
        MG_ERROR("mgExternalError: Was unable to find data chunk in wave file.");
        return false;
    }
    if (dataSize > reader.Remaining()) {
        MG_ERROR("mgExternalError: Audio file \"%s\" is cut short: its data chunk announces %u bytes but "
                 "holds %zu. "
                 "The bytes it holds are loaded.",
                 filePath.c_str(), dataSize, reader.Remaining());
        dataSize = static_cast<std::uint32_t>(reader.Remaining());
    }

    sound.channels = format.channels;
    sound.sampleRate = format.sampleRate;
    sound.bitsPerSample = format.bitsPerSample;
    if (!IsSupportedLayout(format, filePath)) {
        return true;
    }
    // OpenAL takes whole sample frames only; a torn last frame of a cut file is dropped.
    const std::uint32_t frameBytes = static_cast<std::uint32_t>(format.channels * (format.bitsPerSample / 8));
    dataSize -= dataSize % frameBytes;
    sound.samples.assign(reader.Current(), reader.Current() + dataSize);
    return true;
}

bool DecodeOggVorbis(std::span<const std::uint8_t> fileBytes, const std::string& filePath,
                     DecodedSound& sound)
{
    sound = DecodedSound{};
    if (fileBytes.empty() || fileBytes.size() > static_cast<std::size_t>(INT_MAX)) {
        return false;
    }
    int channels = 0;
    int sampleRate = 0;
    short* decoded = nullptr;
    const int samplesPerChannel = stb_vorbis_decode_memory(
        fileBytes.data(), static_cast<int>(fileBytes.size()), &channels, &sampleRate, &decoded);
    const std::unique_ptr<short, FreeDeleter> decodedOwner(decoded);
    if (samplesPerChannel <= 0 || decoded == nullptr) {
        return false;
    }
    sound.channels = channels;
    sound.sampleRate = static_cast<std::uint32_t>(sampleRate);
    sound.bitsPerSample = 16;
    if (channels != 1 && channels != 2) {
        MG_ERROR("mgExternalError: Audio file \"%s\" is not a mono or stereo OGG file.", filePath.c_str());
        return true;
    }
    const std::size_t byteCount =
        static_cast<std::size_t>(samplesPerChannel) * static_cast<std::size_t>(channels) * 2;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(decoded);
    sound.samples.assign(bytes, bytes + byteCount);
    return true;
}

bool DecodeSoundFile(std::span<const std::uint8_t> fileBytes, const std::string& filePath,
                     DecodedSound& sound)
{
    if (IsOggVorbisPath(filePath) || StartsWithOggCapturePattern(fileBytes)) {
        return DecodeOggVorbis(fileBytes, filePath, sound);
    }
    return ParseWave(fileBytes, filePath, sound);
}

} // namespace mgImplementation
