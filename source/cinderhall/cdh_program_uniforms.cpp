#include "cinderhall/cdh_program_uniforms.h"

#include <GL/glew.h>

#include <array>
#include <utility>

namespace Cinderhall {

namespace {

// The declared type of an active uniform, or 0. Arrays are listed once, as "name[0]"; the name
// alone addresses their first element, "name[i]" any element.
GLenum ActiveUniformType(GLuint program, const std::string& name)
{
    const std::string arrayName = name.ends_with(']') ? name.substr(0, name.rfind('[')) : name;
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    GLint longest = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORM_MAX_LENGTH, &longest);
    std::string buffer(static_cast<std::size_t>(longest) + 1, '\0');
    for (GLint index = 0; index < count; ++index) {
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, static_cast<GLuint>(index), static_cast<GLsizei>(buffer.size()), &length,
                           &size, &type, buffer.data());
        const std::string_view active(buffer.data(), static_cast<std::size_t>(length));
        if (active == name || active == arrayName + "[0]") {
            return type;
        }
    }
    return 0;
}

constexpr std::array<std::pair<GLenum, const char*>, 16> kTypeNames = {{
    {GL_FLOAT, "float"},
    {GL_FLOAT_VEC2, "vec2"},
    {GL_FLOAT_VEC3, "vec3"},
    {GL_FLOAT_VEC4, "vec4"},
    {GL_INT, "int"},
    {GL_INT_VEC2, "ivec2"},
    {GL_INT_VEC3, "ivec3"},
    {GL_INT_VEC4, "ivec4"},
    {GL_BOOL, "bool"},
    {GL_FLOAT_MAT2, "mat2"},
    {GL_FLOAT_MAT3, "mat3"},
    {GL_FLOAT_MAT4, "mat4"},
    {GL_SAMPLER_2D, "sampler2D"},
    {GL_SAMPLER_CUBE, "samplerCube"},
    {GL_SAMPLER_3D, "sampler3D"},
    {GL_SAMPLER_2D_SHADOW, "sampler2DShadow"},
}};

bool IsSampler(GLenum type)
{
    return type == GL_SAMPLER_2D || type == GL_SAMPLER_CUBE || type == GL_SAMPLER_3D ||
           type == GL_SAMPLER_2D_SHADOW;
}

} // namespace

const char* UniformKindName(UniformKind kind)
{
    switch (kind) {
    case UniformKind::kFloat:
        return "float";
    case UniformKind::kInt:
        return "int";
    case UniformKind::kVector2:
        return "vec2";
    case UniformKind::kVector3:
        return "vec3";
    case UniformKind::kVector4:
        return "vec4";
    case UniformKind::kMatrix3:
        return "mat3";
    case UniformKind::kMatrix4:
        return "mat4";
    }
    return "value";
}

ProgramUniforms::Uniform& ProgramUniforms::Find(const std::string& name)
{
    const auto found = uniforms_.find(name);
    if (found != uniforms_.end()) {
        return found->second;
    }
    Uniform uniform;
    uniform.location = glGetUniformLocation(program_, name.c_str());
    if (uniform.location != -1) {
        uniform.type = ActiveUniformType(program_, name);
    }
    return uniforms_.emplace(name, uniform).first->second;
}

bool UniformAccepts(std::uint32_t declaredType, UniformKind kind)
{
    switch (kind) {
    case UniformKind::kFloat:
        return declaredType == GL_FLOAT;
    case UniformKind::kInt:
        // OpenGL sets bools and samplers (their texture unit) through the int call.
        return declaredType == GL_INT || declaredType == GL_BOOL || IsSampler(declaredType);
    case UniformKind::kVector2:
        return declaredType == GL_FLOAT_VEC2;
    case UniformKind::kVector3:
        return declaredType == GL_FLOAT_VEC3;
    case UniformKind::kVector4:
        return declaredType == GL_FLOAT_VEC4;
    case UniformKind::kMatrix3:
        return declaredType == GL_FLOAT_MAT3;
    case UniformKind::kMatrix4:
        return declaredType == GL_FLOAT_MAT4;
    }
    return false;
}

std::size_t UniformKindBytes(UniformKind kind)
{
    switch (kind) {
    case UniformKind::kFloat:
        return sizeof(GLfloat);
    case UniformKind::kInt:
        return sizeof(GLint);
    case UniformKind::kVector2:
        return 2 * sizeof(GLfloat);
    case UniformKind::kVector3:
        return 3 * sizeof(GLfloat);
    case UniformKind::kVector4:
        return 4 * sizeof(GLfloat);
    case UniformKind::kMatrix3:
        return 9 * sizeof(GLfloat);
    case UniformKind::kMatrix4:
        return 16 * sizeof(GLfloat);
    }
    return 0;
}

const char* UniformTypeName(std::uint32_t declaredType)
{
    for (const auto& [type, name] : kTypeNames) {
        if (type == declaredType) {
            return name;
        }
    }
    return "an unknown type";
}

} // namespace Cinderhall
