#include "marrowgate/graphics/implementation/mgi_stream_buffer.h"

#include <algorithm>
#include <bit>

namespace mgImplementation {

namespace {

// A buffer that fills up again within this many frames grows.
constexpr std::uint64_t kFramesBetweenFills = 4;

// Uploads up to this size are remembered: a handful of sprites, texts or debug lines.
constexpr std::size_t kRememberedBytes = 1024;

// Any alignment, not only powers of two: vertices are 20, 24 or 36 bytes.
std::size_t AlignUp(std::size_t bytes, std::size_t alignment)
{
    return (bytes + alignment - 1u) / alignment * alignment;
}

} // namespace

void StreamBuffer::Create(std::size_t initialBytes, std::size_t grownBytes)
{
    GLuint name = 0;
    glGenBuffers(1, &name);
    buffer_ = GLName(GLNameKind::Buffer, name);
    capacity_ = std::bit_ceil(initialBytes);
    grownCapacity_ = std::max(capacity_, std::bit_ceil(grownBytes));
    used_ = 0;
    orphanedFrame_ = frame_;
    ForgetRecent();
    glBindBuffer(target_, name);
    glBufferData(target_, static_cast<GLsizeiptr>(capacity_), nullptr, GL_STREAM_DRAW);
    glBindBuffer(target_, 0);
}

void StreamBuffer::Delete()
{
    buffer_.Delete();
    capacity_ = 0;
    used_ = 0;
    ForgetRecent();
}

std::size_t StreamBuffer::Upload(const void* data, std::size_t bytes, std::size_t alignment)
{
    glBindBuffer(target_, buffer_.Get());
    if (bytes > kRememberedBytes) {
        return Write(data, bytes, alignment);
    }
    const std::span<const std::byte> content(static_cast<const std::byte*>(data), bytes);
    if (const RecentUpload* recent = FindRecent(content, alignment)) {
        return recent->offset;
    }
    const std::size_t offset = Write(data, bytes, alignment);
    Remember(content, offset);
    return offset;
}

// Writes after everything written since the last orphaning, orphaning first when it is full.
std::size_t StreamBuffer::Write(const void* data, std::size_t bytes, std::size_t alignment)
{
    std::size_t offset = AlignUp(used_, alignment);
    if (offset + bytes > capacity_) {
        const bool fillsQuickly = frame_ - orphanedFrame_ < kFramesBetweenFills;
        const std::size_t wanted = fillsQuickly ? std::min(capacity_ * 2u, grownCapacity_) : capacity_;
        capacity_ = std::bit_ceil(std::max(wanted, bytes));
        glBufferData(target_, static_cast<GLsizeiptr>(capacity_), nullptr, GL_STREAM_DRAW);
        offset = 0;
        orphanedFrame_ = frame_;
        ForgetRecent();
    }
    glBufferSubData(target_, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes), data);
    used_ = offset + bytes;
    return offset;
}

const StreamBuffer::RecentUpload* StreamBuffer::FindRecent(std::span<const std::byte> bytes,
                                                           std::size_t alignment) const
{
    for (const RecentUpload& recent : recent_) {
        // An empty record is free: nothing is ever uploaded empty.
        if (recent.bytes.size() == bytes.size() && recent.offset % alignment == 0 && !bytes.empty() &&
            std::equal(bytes.begin(), bytes.end(), recent.bytes.begin())) {
            return &recent;
        }
    }
    return nullptr;
}

void StreamBuffer::Remember(std::span<const std::byte> bytes, std::size_t offset)
{
    RecentUpload& slot = recent_[nextRecent_];
    slot.bytes.assign(bytes.begin(), bytes.end());
    slot.offset = offset;
    nextRecent_ = (nextRecent_ + 1u) % recent_.size();
}

void StreamBuffer::ForgetRecent()
{
    for (RecentUpload& recent : recent_) {
        recent.bytes.clear();
    }
}

} // namespace mgImplementation
