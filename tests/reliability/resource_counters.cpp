#include "resource_counters.h"

#include <GL/glew.h>

#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
// Part of the sanitizer runtime's allocator interface; GCC ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace QuorvaneReliability {
namespace {

// Program and shader names share one namespace in the drivers this runs on, and the game
// creates them only while loading, so a fixed range covers them.
constexpr GLuint kProgramNameRange = 4096;

template <typename IsName> std::size_t CountNames(GLuint upperBound, IsName isName)
{
    std::size_t count = 0;
    for (GLuint name = 1; name <= upperBound; ++name) {
        count += isName(name) == GL_TRUE ? 1u : 0u;
    }
    return count;
}

GLuint NextTextureName()
{
    GLuint name = 0;
    glGenTextures(1, &name);
    glDeleteTextures(1, &name);
    return name;
}

GLuint NextBufferName()
{
    GLuint name = 0;
    if (glGenBuffers == nullptr) {
        return 0;
    }
    glGenBuffers(1, &name);
    glDeleteBuffers(1, &name);
    return name;
}

} // namespace

std::string GLObjectCounts::Describe() const
{
    return std::to_string(textures) + " textures, " + std::to_string(buffers) + " buffers, " +
           std::to_string(programs) + " programs, " + std::to_string(shaders) + " shaders";
}

GLObjectCounts CountLiveGLObjects()
{
    GLObjectCounts counts;
    counts.textures = CountNames(NextTextureName(), [](GLuint name) { return glIsTexture(name); });
    if (glIsBuffer != nullptr) {
        counts.buffers = CountNames(NextBufferName(), [](GLuint name) { return glIsBuffer(name); });
    }
    if (glIsProgram != nullptr && glIsShader != nullptr) {
        counts.programs = CountNames(kProgramNameRange, [](GLuint name) { return glIsProgram(name); });
        counts.shaders = CountNames(kProgramNameRange, [](GLuint name) { return glIsShader(name); });
    }
    return counts;
}

std::size_t GetHeapBytesInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

} // namespace QuorvaneReliability
