#include "marrowgate/graphics/implementation/mgi_stream_buffer.h"

#include <algorithm>
#include <bit>

namespace mgImplementation {

namespace {

// A buffer that fills up again within this many frames grows.
constexpr std::uint64_t kFramesBetweenFills = 4;

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
    glBindBuffer(target_, name);
    glBufferData(target_, static_cast<GLsizeiptr>(capacity_), nullptr, GL_STREAM_DRAW);
    glBindBuffer(target_, 0);
}

void StreamBuffer::Delete()
{
    buffer_.Delete();
    capacity_ = 0;
    used_ = 0;
}

std::size_t StreamBuffer::Upload(const void* data, std::size_t bytes, std::size_t alignment)
{
    glBindBuffer(target_, buffer_.Get());
    std::size_t offset = AlignUp(used_, alignment);
    if (offset + bytes > capacity_) {
        const bool fillsQuickly = frame_ - orphanedFrame_ < kFramesBetweenFills;
        const std::size_t wanted = fillsQuickly ? std::min(capacity_ * 2u, grownCapacity_) : capacity_;
        capacity_ = std::bit_ceil(std::max(wanted, bytes));
        glBufferData(target_, static_cast<GLsizeiptr>(capacity_), nullptr, GL_STREAM_DRAW);
        offset = 0;
        orphanedFrame_ = frame_;
    }
    glBufferSubData(target_, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes), data);
    used_ = offset + bytes;
    return offset;
}

} // namespace mgImplementation
