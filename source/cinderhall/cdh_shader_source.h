#pragma once
/// Shader source text: reading shader files and the rule that lets one file serve both shader
/// set-ups of the renderer.
/// @file
/// The rule for shader authors: write the file WITHOUT a `#version` line and use these words
/// where GLSL 1.50 (desktop) and GLSL ES 1.00 (embedded) differ:
///     VERTEX_INPUT    vertex stage inputs         (in        / attribute)
///     VERTEX_OUTPUT   vertex stage outputs        (out       / varying)
///     FRAGMENT_INPUT  fragment stage inputs       (in        / varying)
///     FRAGMENT_COLOR  the fragment's output colour (a declared out vec4 / gl_FragColor)
///     SAMPLE_TEXTURE  2D texture lookup           (texture   / texture2D)
/// The prelude puts the version line, these definitions and the default float precision in front
/// (highp; mediump in an embedded fragment stage without high precision), so the file declares
/// no precision of its own. A file that has its own `#version` line is compiled exactly as written.
/// Vertex inputs are bound by name (see cdh_shader_manager.h). Files are 7-bit ASCII. Line
/// numbers in compiler logs are those of the file: the prelude ends by restarting the count.
///
/// Depends on: core error reporting. No GL.

#include <string>
#include <string_view>

namespace Cinderhall {

enum class ShaderStage
{
    kVertex = 0,
    kFragment = 1
};

// The whole file as text, or empty when it cannot be read (see mg_data_file.h: only regular
// files up to kMaximumShaderFileBytes, each refusal reported). Every byte of 128 or more is
// reported as unsafe (and still kept), once per byte, naming the file.
std::string ReadShaderSource(const std::string& path);

bool HasVersionLine(std::string_view source);
// The text handed to the compiler: the prelude for the stage and set-up, then the source; or
// the source alone when it has its own #version line.
std::string ComposeShaderSource(std::string_view source, ShaderStage stage, bool embeddedProfile);

} // namespace Cinderhall
