#pragma once
/// ScopedGLSwitch: turns one OpenGL capability (depth test, face culling, ...) on or off for the
/// life of the object and puts it back as it was, so a pass that needs other switches leaves the
/// renderer's as it found them. Takes the capability's OpenGL enum value.
/// @file
/// Depends on: OpenGL (in the .cpp only). Main thread only; needs a current context.

#include <cstdint>

namespace Cinderhall {

class ScopedGLSwitch
{
public:
    ScopedGLSwitch(std::uint32_t capability, bool enabled);
    ~ScopedGLSwitch();
    ScopedGLSwitch(const ScopedGLSwitch&) = delete;
    ScopedGLSwitch& operator=(const ScopedGLSwitch&) = delete;

private:
    std::uint32_t capability_;
    bool wasEnabled_;
};

} // namespace Cinderhall
