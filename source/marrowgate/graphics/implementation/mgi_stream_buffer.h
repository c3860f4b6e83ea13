#pragma once
// A streaming OpenGL buffer written front to back. Each upload goes after the one before it, so
// no draw still reading earlier data has to be waited for; only when the buffer is full is its
// storage given up (orphaned) for a fresh one, which costs the driver an allocation and the
// first writes page faults.
//
// It starts small and doubles, up to a limit, whenever it fills up again within a few frames of
// the last time: a program that draws little keeps a small buffer, and one that streams tens of
// thousands of sprites a frame gets one that is orphaned only every few frames.
//
// Small uploads are remembered by content until the storage is given up: the same bytes again
// (a score that did not change, axes drawn every frame) are drawn from where they already are.
// In a browser each upload costs far more than its bytes, and a frame's first costs most.

#include "marrowgate/graphics/implementation/mgi_gl_name.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace mgImplementation {

class StreamBuffer
{
public:
    // `target` is GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER.
    explicit StreamBuffer(GLenum target) : target_(target) {}

    // Makes the buffer with room for `initialBytes`, to grow up to `grownBytes` (or to the largest
    // single upload), and leaves its target unbound.
    void Create(std::size_t initialBytes, std::size_t grownBytes);
    void Delete();
    GLuint Get() const { return buffer_.Get(); }
    std::size_t GetCapacity() const { return capacity_; }

    // Counts frames, which tell how quickly the buffer fills.
    void StartFrame() { ++frame_; }

    // Binds the buffer to its target and writes `bytes` of `data` where no draw has read since
    // the last orphaning, at a multiple of `alignment` (the size of one vertex or index, so
    // uploads can be addressed as whole vertices from any earlier one). Returns the byte offset
    // they went to, or where the same bytes already are.
    std::size_t Upload(const void* data, std::size_t bytes, std::size_t alignment);

private:
    struct RecentUpload
    {
        std::vector<std::byte> bytes;
        std::size_t offset = 0;
    };

    std::size_t Write(const void* data, std::size_t bytes, std::size_t alignment);
    const RecentUpload* FindRecent(std::span<const std::byte> bytes, std::size_t alignment) const;
    void Remember(std::span<const std::byte> bytes, std::size_t offset);
    void ForgetRecent();

    GLenum target_;
    GLName buffer_;
    std::size_t capacity_ = 0;
    std::size_t grownCapacity_ = 0;
    std::size_t used_ = 0;
    std::uint64_t frame_ = 0;
    std::uint64_t orphanedFrame_ = 0;
    std::array<RecentUpload, 8> recent_;
    std::size_t nextRecent_ = 0;
};

} // namespace mgImplementation
