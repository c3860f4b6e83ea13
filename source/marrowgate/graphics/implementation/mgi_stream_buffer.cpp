#include "marrowgate/graphics/implementation/mgi_stream_buffer.h"

#include <algorithm>
#include <bit>

namespace mgImplementation {

namespace {

// Every upload starts on this boundary, which suits any attribute or index type.
constexpr std::size_t kUploadAlignment = 16;
// A buffer that fills up again within this many frames grows.
constexpr std::uint64_t kFramesBetweenFills = 4;

std::size_t AlignUp(std::size_t bytes)
{
    return (bytes + kUploadAlignment - 1u) / kUploadAlignment * kUploadAlignment;
}

} // namespace

void StreamBuffer::Create(std::size_t initialBytes, std::size_t grownBytes)
{
    GLuint name = 0;
    glGenBuffers(1, &name);
    buffer_ = GLName(GLNameKind::Buffer, name);
    capacity_ = std::bit_ceil(AlignUp(initialBytes));
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

std::size_t StreamBuffer::Upload(const void* data, std::size_t bytes)
{
    glBindBuffer(target_, buffer_.Get());
    const std::size_t aligned = AlignUp(bytes);
    if (used_ + aligned > capacity_) {
        const bool fillsQuickly = frame_ - orphanedFrame_ < kFramesBetweenFills;
        const std::size_t wanted = fillsQuickly ? std::min(capacity_ * 2u, grownCapacity_) : capacity_;
        capacity_ = std::bit_ceil(std::max(wanted, aligned));
        glBufferData(target_, static_cast<GLsizeiptr>(capacity_), nullptr, GL_STREAM_DRAW);
        used_ = 0;
        orphanedFrame_ = frame_;
    }
    const std::size_t offset = used_;
    glBufferSubData(target_, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes), data);
    used_ += aligned;
    return offset;
}

} // namespace mgImplementation
