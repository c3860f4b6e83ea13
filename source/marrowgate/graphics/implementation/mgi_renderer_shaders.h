#pragma once
// GLSL source of the renderer's built-in 2D program, compiled into the program in two dialects:
// GLSL 1.50 for desktop contexts and GLSL ES 1.00 for embedded ones. The two pairs differ only in
// the keywords the dialects spell differently.
//
// Vertex stage: positions are floored so that 2D geometry lands on whole pixels, and the vertex
// colour leaves premultiplied, matching the ONE / ONE_MINUS_SRC_ALPHA blending.
// Fragment stage: colorTint + colorMatrix * texel, clamped, times the vertex colour; nearly
// transparent fragments are discarded so they leave the depth buffer alone.

namespace mgImplementation {

inline constexpr char kDesktopVertexShader[] = R"(#version 150
in vec2 vertexPosition;
in vec4 vertexColor;
in vec2 vertexTextureUV;
uniform mat4 mvpMatrix;
out vec4 fragmentColor;
out vec2 fragmentTextureUV;
void main()
{
    gl_Position = mvpMatrix * vec4(floor(vertexPosition), 0.0, 1.0);
    fragmentColor = vec4(vertexColor.rgb * vertexColor.a, vertexColor.a);
    fragmentTextureUV = vertexTextureUV;
}
)";

inline constexpr char kDesktopFragmentShader[] = R"(#version 150
precision highp float;
in vec2 fragmentTextureUV;
in vec4 fragmentColor;
uniform sampler2D diffuseTexture;
uniform mat4 colorMatrix;
uniform vec4 colorTint;
out vec4 finalFragColor;
void main()
{
    vec4 color = texture(diffuseTexture, fragmentTextureUV);
    vec4 result = clamp(colorTint + colorMatrix * color, 0.0, 1.0) * fragmentColor;
    if (result.a < 0.01) {
        discard;
    }
    finalFragColor = result;
}
)";

inline constexpr char kEmbeddedVertexShader[] = R"(#version 100
attribute vec2 vertexPosition;
attribute vec4 vertexColor;
attribute vec2 vertexTextureUV;
uniform mat4 mvpMatrix;
varying vec4 fragmentColor;
varying vec2 fragmentTextureUV;
void main()
{
    gl_Position = mvpMatrix * vec4(floor(vertexPosition), 0.0, 1.0);
    fragmentColor = vec4(vertexColor.rgb * vertexColor.a, vertexColor.a);
    fragmentTextureUV = vertexTextureUV;
}
)";

inline constexpr char kEmbeddedFragmentShader[] = R"(#version 100
precision highp float;
varying vec2 fragmentTextureUV;
varying vec4 fragmentColor;
uniform sampler2D diffuseTexture;
uniform mat4 colorMatrix;
uniform vec4 colorTint;
void main()
{
    vec4 color = texture2D(diffuseTexture, fragmentTextureUV);
    vec4 result = clamp(colorTint + colorMatrix * color, 0.0, 1.0) * fragmentColor;
    if (result.a < 0.01) {
        discard;
    }
    gl_FragColor = result;
}
)";

} // namespace mgImplementation
