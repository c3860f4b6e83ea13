#include "marrowgate/graphics/implementation/mgi_stream_buffer.h"

#include <algorithm>
#include <bit>

namespace mgImplementation {

namespace {

// Every upload starts on this boundary, which suits any attribute or index type.
constexpr std::size_t kUploadAlignment = 16;

std::size_t AlignUp(std::size_t bytes)
{
    return (bytes + kUploadAlignment - 1u) / kUploadAlignment * kUploadAlignment;
}

} // namespace

void StreamBuffer::Create(std::size_t initialBytes)
{
    GLuint name = 0;
    glGenBuffers(1, &name);
    buffer_ = GLName(GLNameKind::Buffer, name);
    capacity_ = std::bit_ceil(AlignUp(initialBytes));
    used_ = 0;
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
        capacity_ = std::bit_ceil(std::max(capacity_, aligned));
        glBufferData(target_, static_cast<GLsizeiptr>(capacity_), nullptr, GL_STREAM_DRAW);
        used_ = 0;
    }
    const std::size_t offset = used_;
    glBufferSubData(target_, static_cast<GLintptr>(offset), static_cast<GLsizeiptr>(bytes), data);
    used_ += aligned;
    return offset;
}

} // namespace mgImplementation
