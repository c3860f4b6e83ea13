#include "ogg_vorbis_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <fstream>

namespace SoundAssets {
namespace {

constexpr int kStreamSerialNumber = 0x51554f52; // "QUOR"
constexpr std::size_t kFramesPerChunk = 4096;

// libvorbis's encoder state, set up and torn down in the order the library asks for.
class VorbisEncoder
{
public:
    explicit VorbisEncoder(float quality)
    {
        vorbis_info_init(&mInfo);
        mReady = vorbis_encode_init_vbr(&mInfo, 1, kSampleRate, quality) == 0;
        vorbis_comment_init(&mComment);
        vorbis_comment_add_tag(&mComment, "ENCODER", "quorvane_sound_assets");
        if (mReady) {
            vorbis_analysis_init(&mState, &mInfo);
            vorbis_block_init(&mState, &mBlock);
            ogg_stream_init(&mStream, kStreamSerialNumber);
        }
    }

    ~VorbisEncoder()
    {
        if (mReady) {
            ogg_stream_clear(&mStream);
            vorbis_block_clear(&mBlock);
            vorbis_dsp_clear(&mState);
        }
        vorbis_comment_clear(&mComment);
        vorbis_info_clear(&mInfo);
    }

    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    bool IsReady() const { return mReady; }

    // The three header packets, each on pages of their own as the format asks.
    void WriteHeaders(std::ofstream& file)
    {
        ogg_packet identification;
        ogg_packet comments;
        ogg_packet codebooks;
        vorbis_analysis_headerout(&mState, &mComment, &identification, &comments, &codebooks);
        ogg_stream_packetin(&mStream, &identification);
        ogg_stream_packetin(&mStream, &comments);
        ogg_stream_packetin(&mStream, &codebooks);
        ogg_page page;
        while (ogg_stream_flush(&mStream, &page) != 0) {
            WritePage(file, page);
        }
    }

    // Hands over samples; an empty span marks the end of the stream.
    void Encode(std::ofstream& file, const float* samples, std::size_t frameCount)
    {
        if (frameCount > 0) {
            float** buffer = vorbis_analysis_buffer(&mState, static_cast<int>(frameCount));
            std::copy_n(samples, frameCount, buffer[0]);
        }
        vorbis_analysis_wrote(&mState, static_cast<int>(frameCount));
        while (vorbis_analysis_blockout(&mState, &mBlock) == 1) {
            vorbis_analysis(&mBlock, nullptr);
            vorbis_bitrate_addblock(&mBlock);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&mState, &packet) == 1) {
                ogg_stream_packetin(&mStream, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&mStream, &page) != 0) {
                    WritePage(file, page);
                }
            }
        }
    }

private:
    static void WritePage(std::ofstream& file, const ogg_page& page)
    {
        file.write(reinterpret_cast<const char*>(page.header), page.header_len);
        file.write(reinterpret_cast<const char*>(page.body), page.body_len);
    }

    vorbis_info mInfo{};
    vorbis_comment mComment{};
    vorbis_dsp_state mState{};
    vorbis_block mBlock{};
    ogg_stream_state mStream{};
    bool mReady = false;
};

} // namespace

bool WriteOggVorbis(const std::filesystem::path& path, const Signal& signal, float quality)
{
    VorbisEncoder encoder(quality);
    if (!encoder.IsReady()) {
        return false;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    encoder.WriteHeaders(file);
    for (std::size_t start = 0; start < signal.size(); start += kFramesPerChunk) {
        encoder.Encode(file, signal.data() + start, std::min(kFramesPerChunk, signal.size() - start));
    }
    encoder.Encode(file, nullptr, 0);
    return file.good();
}

} // namespace SoundAssets
