#pragma once
/// The shader manager: GLSL vertex/fragment file pairs compiled and linked into programs, cached
/// by their paths, reference counted, made current directly or through a bind stack, and given
/// uniforms of the common types by name.
/// @file
/// The cache key is the vertex path immediately followed by the fragment path (no separator), so
/// two pairs whose concatenations match share one program. The first bind ever captures the
/// program that was current (the renderer's 2D program) as the fallback that InvalidShader
/// restores. Before linking, the vertex inputs `vertexPosition`, `vertexNormal`, `vertexColor`
/// and `vertexTextureUV` are bound to locations 0 to 3, the Vertex3D layout that meshes and the
/// renderer's 3D drawing use, and a `mat4 instanceTransform` to locations 4 to 7 (see
/// cdh_mesh.h for the programs that declare it). See cdh_shader_source.h for how one file serves both
/// set-ups.
///
/// Without shaders (the renderer's fixed-function mode, or no ready renderer) no call reaches
/// OpenGL: creating returns InvalidShader and binding only records the handle.
///
/// Programs belong to the renderer's context: once the renderer starts on a new one (its context
/// generation moves on) the manager forgets every program, the fallback, the bound handle and the
/// bind stack. A handle from before is then unknown (binding it is reported) and the same pair
/// loads anew.
///
/// Depends on: core error reporting, the basic renderer. Main thread only.

#include "cinderhall/cdh_program_uniforms.h"
#include "marrowgate/math/mg_matrix.h"

#include <cstdint>
#include <deque>
#include <string>

namespace Cinderhall {

using Marrowgate::Core::Matrix3;
using Marrowgate::Core::Matrix4;
using Marrowgate::Core::Vector2;
using Marrowgate::Core::Vector3;
using Marrowgate::Core::Vector4;

// The OpenGL name of a linked program.
using ShaderHandle = std::uint32_t;
inline constexpr ShaderHandle InvalidShader = 0xFFFFFFFFu;

class ShaderManager
{
public:
    ShaderManager() = default;
    ShaderManager(const ShaderManager&) = delete;
    ShaderManager& operator=(const ShaderManager&) = delete;

    ShaderHandle CreateShaderFromFile(const std::string& vertexPath, const std::string& fragmentPath);
    // A program from source text in the kit (see cdh_builtin_programs.h), cached by name and kept
    // until the context goes; `definitions` go in front of both stages' source.
    ShaderHandle CreateBuiltInShader(const std::string& name, const std::string& definitions,
                                     const std::string& vertexSource, const std::string& fragmentSource);
    // Drops one reference; the program is deleted with the last. A no-op once the renderer is gone.
    void DestroyShader(ShaderHandle handle);

    void BindShader(ShaderHandle handle);
    // Binds, remembering the handle bound before. Every program made current receives the
    // renderer's current matrices (see UseProgramName in mgi_renderer.h).
    void PushShader(ShaderHandle handle);
    // Returns to the handle bound before the matching push.
    void PopShader();
    ShaderHandle GetBoundShader();

    // Set a uniform of that program by name and leave the current program as it was: directly
    // when the program is current, else by making it current for the call. Each name's location
    // and declared type are looked up once per program and context. A value whose kind the
    // declared type does not take is reported (naming the program and the uniform) and not set;
    // so is a name the program lacks (unused uniforms are removed by the compiler), except
    // through the four-float form, which the lighting uses on programs that may not be lit.
    // Each uniform is reported at most once. The int form also sets bools and samplers (the
    // texture unit); matrices are given in the math library's layout. A value the uniform
    // already holds from the last set is not uploaded again, so set a managed program's uniforms
    // through the manager only.
    void SetShaderUniform(ShaderHandle handle, const std::string& name, float x, float y, float z, float w);
    void SetShaderUniform(ShaderHandle handle, const std::string& name, float value);
    void SetShaderUniform(ShaderHandle handle, const std::string& name, int value);
    void SetShaderUniform(ShaderHandle handle, const std::string& name, const Vector2& value);
    void SetShaderUniform(ShaderHandle handle, const std::string& name, const Vector3& value);
    void SetShaderUniform(ShaderHandle handle, const std::string& name, const Vector4& value);
    void SetShaderUniform(ShaderHandle handle, const std::string& name, const Matrix3& value);
    void SetShaderUniform(ShaderHandle handle, const std::string& name, const Matrix4& value);

    // Whether the program declares the `mat4 instanceTransform` input (and so draws instances).
    bool HasInstanceTransform(ShaderHandle handle);

private:
    enum class MissingUniform
    {
        kIgnore,
        kReport
    };

    // A stage's source and where it came from, for reports.
    struct StageText
    {
        std::string source;
        std::string origin;
    };

    ShaderHandle BuildProgram(const std::string& key, const std::string& description, const StageText& vertex,
                              const StageText& fragment, bool builtIn);
    // A new context starts with nothing bound and an empty bind stack.
    void ForgetEarlierContexts();
    // `values` holds the kind's components, matrices already column by column.
    void SetUniform(ShaderHandle handle, const std::string& name, UniformKind kind, const void* values,
                    MissingUniform missing);

    std::deque<ShaderHandle> bindStack_;
    ShaderHandle boundShader_ = InvalidShader;
    std::uint64_t contextGeneration_ = 0;
};

extern ShaderManager* const theShaderManager;

} // namespace Cinderhall
