#pragma once
// GLSL source of the renderer's built-in 2D program in two dialects: GLSL 1.50 for desktop
// contexts and GLSL ES 1.00 for embedded ones. The two differ only in the keywords the dialects
// spell differently. Each is compiled as its version line, an optional define, then its body.
//
// Vertex stage: positions are floored so that 2D geometry lands on whole pixels (unless
// snapToPixel is 0: gathered draws arrive floored and already through the model-view, with a z),
// and the vertex colour leaves premultiplied, matching the ONE / ONE_MINUS_SRC_ALPHA blending.
// A position given with two components reads z = 0 and w = 1.
// Fragment stage: colorMatrix * texel, clamped, times the vertex colour; nearly transparent
// fragments are discarded so they leave the depth buffer alone.
//
// The colour transform is compiled in only under TRANSFORM_COLOR. For ordinary textures the
// transform is the identity and the texel is already in [0, 1], so leaving it out gives exactly
// the same result; a software rasteriser spends about a third of its fill time on that matrix
// product otherwise. Glyph textures use the variant with the transform.

namespace mgImplementation {

// Fragments whose alpha falls below this are dropped: the fragment stages below compare with it,
// and the fixed-function set-up's alpha test uses it too.
inline constexpr float kDiscardAlpha = 0.01f;

inline constexpr char kDesktopVersion[] = "#version 150\n";
inline constexpr char kEmbeddedVersion[] = "#version 100\n";
inline constexpr char kTransformColorDefine[] = "#define TRANSFORM_COLOR\n";

inline constexpr char kDesktopVertexShader[] = R"(
in vec4 vertexPosition;
in vec4 vertexColor;
in vec2 vertexTextureUV;
uniform mat4 mvpMatrix;
uniform float snapToPixel;
out vec4 fragmentColor;
out vec2 fragmentTextureUV;
void main()
{
    vec2 position = snapToPixel > 0.5 ? floor(vertexPosition.xy) : vertexPosition.xy;
    gl_Position = mvpMatrix * vec4(position, vertexPosition.zw);
    fragmentColor = vec4(vertexColor.rgb * vertexColor.a, vertexColor.a);
    fragmentTextureUV = vertexTextureUV;
}
)";

inline constexpr char kDesktopFragmentShader[] = R"(
precision highp float;
in vec2 fragmentTextureUV;
in vec4 fragmentColor;
uniform sampler2D diffuseTexture;
#ifdef TRANSFORM_COLOR
uniform mat4 colorMatrix;
#endif
out vec4 finalFragColor;
void main()
{
    vec4 color = texture(diffuseTexture, fragmentTextureUV);
#ifdef TRANSFORM_COLOR
    color = clamp(colorMatrix * color, 0.0, 1.0);
#endif
    vec4 result = color * fragmentColor;
    if (result.a < 0.01) {
        discard;
    }
    finalFragColor = result;
}
)";

inline constexpr char kEmbeddedVertexShader[] = R"(
attribute vec4 vertexPosition;
attribute vec4 vertexColor;
attribute vec2 vertexTextureUV;
uniform mat4 mvpMatrix;
uniform float snapToPixel;
varying vec4 fragmentColor;
varying vec2 fragmentTextureUV;
void main()
{
    vec2 position = snapToPixel > 0.5 ? floor(vertexPosition.xy) : vertexPosition.xy;
    gl_Position = mvpMatrix * vec4(position, vertexPosition.zw);
    fragmentColor = vec4(vertexColor.rgb * vertexColor.a, vertexColor.a);
    fragmentTextureUV = vertexTextureUV;
}
)";

// High precision is optional in ES 2.0 fragment stages (WebGL 1 on many phones lacks it).
inline constexpr char kEmbeddedFragmentShader[] = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec2 fragmentTextureUV;
varying vec4 fragmentColor;
uniform sampler2D diffuseTexture;
#ifdef TRANSFORM_COLOR
uniform mat4 colorMatrix;
#endif
void main()
{
    vec4 color = texture2D(diffuseTexture, fragmentTextureUV);
#ifdef TRANSFORM_COLOR
    color = clamp(colorMatrix * color, 0.0, 1.0);
#endif
    vec4 result = color * fragmentColor;
    if (result.a < 0.01) {
        discard;
    }
    gl_FragColor = result;
}
)";

} // namespace mgImplementation
