#pragma once
/// The uniforms of one linked program as the shader manager sees them: each name's location and
/// declared type, looked up once, and which kinds of value a type accepts.
/// @file
/// Depends on: OpenGL inside the .cpp only. Main thread only; one table belongs to one program
/// of one context and goes with it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace Cinderhall {

// The kinds of value the manager's setters hand to a uniform.
enum class UniformKind
{
    kFloat,
    kInt, // an int, a bool or a sampler's texture unit
    kVector2,
    kVector3,
    kVector4,
    kMatrix3,
    kMatrix4
};

const char* UniformKindName(UniformKind kind);

class ProgramUniforms
{
public:
    struct Uniform
    {
        int location = -1;        // -1: no active uniform of that name
        std::uint32_t type = 0;   // the declared type, as OpenGL names it
        bool wasReported = false; // a failed set is reported once per name
        // The bytes uploaded last (none yet when empty), so that the same value again costs no call.
        std::array<std::byte, 64> value{};
        std::size_t valueBytes = 0;
    };

    explicit ProgramUniforms(std::uint32_t program) : program_(program) {}

    // The uniform of that name, looked up on the first call for it.
    Uniform& Find(const std::string& name);

private:
    std::uint32_t program_;
    // Hashed: lighting looks up a dozen names of common prefixes several times a frame.
    std::unordered_map<std::string, Uniform> uniforms_;
};

bool UniformAccepts(std::uint32_t declaredType, UniformKind kind);
// The bytes a value of that kind takes.
std::size_t UniformKindBytes(UniformKind kind);
// The GLSL name of a declared type ("vec3", "sampler2D"), or "an unknown type".
const char* UniformTypeName(std::uint32_t declaredType);

} // namespace Cinderhall
