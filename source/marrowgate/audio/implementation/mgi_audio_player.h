#pragma once
// One OpenAL source playing one AudioData, once or in a loop. A whole sound plays from its one
// buffer; a streaming sound is decoded into two rotating buffers of three seconds each, and
// Update refills whichever OpenAL has finished. Players are made and advanced only by the
// audio manager, once per fixed step, until IsFinished.
//
// Depends on AudioData and the Vorbis stream; AL names travel as plain integers.
//
// Known limits: needs a current OpenAL context for its whole life. A looping player never
// finishes on its own.

#include "marrowgate/audio/implementation/mgi_audio_data.h"
#include "marrowgate/core/mg_noncopyable.h"

#include <array>
#include <cstdint>
#include <memory>

namespace mgImplementation {

class VorbisStream;

class AudioPlayer : Marrowgate::Core::Noncopyable
{
public:
    explicit AudioPlayer(std::uint32_t channelIdentifier);
    ~AudioPlayer();

    void Play(std::shared_ptr<AudioData> data, bool looping);
    void Update();
    bool IsFinished() const;

    // The manager flags a music player right after making it.
    void SetMusic(bool music) { mMusic = music; }

    std::uint32_t GetChannelIdentifier() const { return mChannelIdentifier; }
    std::uint32_t GetSource() const { return mSource; }
    bool HoldsAudioData() const { return mAudioData != nullptr; }
    // The two buffers a stream rotates through; both 0 before a stream starts.
    std::array<std::uint32_t, 2> GetStreamBuffers() const;

private:
    struct StreamState;

    void StartStream();
    bool FillBuffer(std::uint32_t buffer);

    std::shared_ptr<AudioData> mAudioData;
    std::unique_ptr<StreamState> mStreamState;
    std::uint32_t mChannelIdentifier = 0;
    std::uint32_t mSource = 0;
    bool mMusic = false;
    bool mLooping = false;
};

// The live audio manager's level for music or for effects; 1 while no manager is live.
float LiveAudioVolume(bool music);

} // namespace mgImplementation
