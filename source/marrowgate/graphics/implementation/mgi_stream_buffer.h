#pragma once
// A streaming OpenGL buffer written front to back. Each upload goes after the one before it, so
// no draw still reading earlier data has to be waited for; only when the buffer is full is its
// storage given up (orphaned) for a fresh one. Reallocating for every draw would cost every
// upload fresh pages, which a software rasteriser pays for in page faults.

#include "marrowgate/graphics/implementation/mgi_gl_name.h"

#include <cstddef>

namespace mgImplementation {

class StreamBuffer
{
public:
    // `target` is GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER.
    explicit StreamBuffer(GLenum target) : target_(target) {}

    // Makes the buffer with room for `initialBytes` and leaves its target unbound.
    void Create(std::size_t initialBytes);
    void Delete();
    GLuint Get() const { return buffer_.Get(); }

    // Binds the buffer to its target and writes `bytes` of `data` where no draw has read since
    // the last orphaning. Returns the byte offset they went to. The buffer grows to the largest
    // upload it was given.
    std::size_t Upload(const void* data, std::size_t bytes);

private:
    GLenum target_;
    GLName buffer_;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
};

} // namespace mgImplementation
