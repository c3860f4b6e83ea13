#pragma once
// Counts of what a long run must not pile up: live OpenGL objects in the current context and
// the bytes the process has on its heap.

#include <cstddef>
#include <string>

namespace QuorvaneReliability {

struct GLObjectCounts
{
    std::size_t textures = 0;
    std::size_t buffers = 0;
    std::size_t programs = 0;
    std::size_t shaders = 0;

    std::size_t Total() const { return textures + buffers + programs + shaders; }
    std::string Describe() const;
};

// Asks the current context about every name up to the next one it would hand out (a name
// the driver has never given cannot be alive). Needs the game's context current.
GLObjectCounts CountLiveGLObjects();

// Bytes in live heap allocations: the sanitizer's allocator count under AddressSanitizer,
// glibc's in-use bytes otherwise.
std::size_t GetHeapBytesInUse();

} // namespace QuorvaneReliability
