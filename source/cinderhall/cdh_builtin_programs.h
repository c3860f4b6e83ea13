#pragma once
/// The kit's own 3D programs, so a lit, textured mesh draws without a shader of the game's:
/// unlit, and lit by the scene's ambient light, its sun and up to four point lights, both
/// taking a material, an optional texture and optional vertex colours.
/// @file
/// The lit program lights each pixel (Lambert diffuse and a Blinn-Phong highlight) in eye
/// space. Its normals are turned by the normal matrix, the inverse transpose of the model-view's
/// 3x3 part, which the vertex stage builds from that part's cofactors (GLSL ES 1.00 has no
/// inverse), so objects scaled unevenly still shade right. A point light fades to nothing at its
/// range, with the square of (1 - distance / range). Both programs fade to the fog colour with the
/// distance from the eye (see Fog in cdh_visualization.h), after emissive light; the lit one
/// darkens the sun's share where a shadow map (cdh_shadow_map.h) says the sun is hidden. Both
/// declare the per-instance `instanceTransform`, so a render list draws objects that share a
/// mesh, a texture and a material with one instanced draw (see cdh_mesh.h).
///
/// The programs are built on first use in each context by the shader manager and live until
/// the context goes; they draw in both shader set-ups. The fixed-function set-up has no
/// programs: there meshes draw unlit in their vertex colours and texture, and the render list
/// says so once on stderr.
///
/// Depends on: the shader manager, colours, math. Main thread only.

#include "cinderhall/cdh_shader_manager.h"
#include "marrowgate/graphics/mg_color.h"

#include <string>
#include <utility>
#include <vector>

namespace Cinderhall {

enum class BuiltInProgram
{
    kUnlit,
    kLit
};

struct Material
{
    // Multiplies the texture and the vertex colours; its alpha is the surface's.
    Marrowgate::Graphics::Color baseColor{1.0f, 1.0f, 1.0f, 1.0f};
    // Added after lighting, so a surface glows in the dark; black by default.
    Marrowgate::Graphics::Color emissiveColor{1.0f, 0.0f, 0.0f, 0.0f};
    // Strength of the white highlight (0 for none) and how tight it is.
    float specular = 0.0f;
    float shininess = 32.0f;
    bool lit = true;
    bool usesVertexColor = true;

    friend bool operator==(const Material& left, const Material& right) = default;
};

// The program of that kind in the renderer's current context, built on first use; InvalidShader
// without shaders. Never destroy it.
ShaderHandle GetBuiltInProgram(BuiltInProgram kind);

// Sends the material, and whether to sample the bound texture, to a built-in program.
void ApplyMaterial(ShaderHandle program, const Material& material, bool textured);

// (red, green, blue, alpha), as programs take colours.
Vector4 ColorAsVector(const Marrowgate::Graphics::Color& color);

// The lighting and fog uniforms as SceneLighting computed them last (eye space), and the shadow
// uniforms of the open perspective pass, kept for the built-in programs, which receive them when
// they are chosen to draw (see UseLastLighting). Names a program lacks are skipped.
void RememberLighting(std::vector<std::pair<std::string, Vector4>> uniforms);
void RememberShadows(std::vector<std::pair<std::string, Vector4>> uniforms);
void UseLastLighting(ShaderHandle program);

} // namespace Cinderhall
