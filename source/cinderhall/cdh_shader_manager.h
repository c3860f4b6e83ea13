#pragma once
/// The shader manager: GLSL vertex/fragment file pairs compiled and linked into programs, cached
/// by their paths, reference counted, made current directly or through a bind stack, and given
/// vec4 uniforms.
/// @file
/// The cache key is the vertex path immediately followed by the fragment path (no separator), so
/// two pairs whose concatenations match share one program. The first bind ever captures the
/// program that was current (the renderer's 2D program) as the fallback that InvalidShader
/// restores. Before linking, the vertex inputs `vertexPosition`, `vertexNormal`, `vertexColor`
/// and `vertexTextureUV` are bound to locations 0 to 3, the Vertex3D layout that meshes and the
/// renderer's 3D drawing use. See cdh_shader_source.h for how one file serves both set-ups.
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

#include <cstdint>
#include <deque>
#include <string>

namespace Cinderhall {

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
    // Drops one reference; the program is deleted with the last. A no-op once the renderer is gone.
    void DestroyShader(ShaderHandle handle);

    void BindShader(ShaderHandle handle);
    // Binds, remembering the handle bound before. Every program made current receives the
    // renderer's current matrices (see UseProgramName in mgi_renderer.h).
    void PushShader(ShaderHandle handle);
    // Returns to the handle bound before the matching push.
    void PopShader();
    ShaderHandle GetBoundShader();

    // Sets a vec4 uniform of that program and leaves the current program as it was: directly
    // when the program is current, else by making it current for the call. Locations are looked
    // up once per program. A name the program lacks is ignored.
    void SetShaderUniform(ShaderHandle handle, const std::string& name, float x, float y, float z, float w);

private:
    // A new context starts with nothing bound and an empty bind stack.
    void ForgetEarlierContexts();

    std::deque<ShaderHandle> bindStack_;
    ShaderHandle boundShader_ = InvalidShader;
    std::uint64_t contextGeneration_ = 0;
};

extern ShaderManager* const theShaderManager;

} // namespace Cinderhall
