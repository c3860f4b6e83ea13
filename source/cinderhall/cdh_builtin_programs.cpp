#include "cinderhall/cdh_builtin_programs.h"

namespace Cinderhall {

namespace {

// One vertex and one fragment text serve both programs; the lit one is compiled with LIT
// defined. Both follow the prelude's rule, so they build in either shader set-up.
constexpr char kVertexSource[] = R"(uniform mat4 mvpMatrix;
uniform mat4 modelViewMatrix;
uniform vec4 materialBaseColor;
uniform float materialUsesVertexColor;

VERTEX_INPUT vec3 vertexPosition;
VERTEX_INPUT vec3 vertexNormal;
VERTEX_INPUT vec4 vertexColor;
VERTEX_INPUT vec2 vertexTextureUV;

VERTEX_OUTPUT vec4 surfaceColor;
VERTEX_OUTPUT vec2 surfaceUV;
#ifdef LIT
VERTEX_OUTPUT vec3 eyeNormal;
VERTEX_OUTPUT vec3 eyePosition;
#endif

void main()
{
    surfaceColor = materialBaseColor * mix(vec4(1.0), vertexColor, materialUsesVertexColor);
    surfaceUV = vertexTextureUV;
#ifdef LIT
    // The normal matrix (the inverse transpose of the 3x3 part) is that part's cofactor matrix
    // divided by its determinant; only the determinant's sign matters before normalising.
    vec3 first = modelViewMatrix[0].xyz;
    vec3 second = modelViewMatrix[1].xyz;
    vec3 third = modelViewMatrix[2].xyz;
    vec3 normal = cross(second, third) * vertexNormal.x + cross(third, first) * vertexNormal.y +
                  cross(first, second) * vertexNormal.z;
    eyeNormal = dot(first, cross(second, third)) < 0.0 ? -normal : normal;
    eyePosition = (modelViewMatrix * vec4(vertexPosition, 1.0)).xyz;
#endif
    gl_Position = mvpMatrix * vec4(vertexPosition, 1.0);
}
)";

constexpr char kFragmentSource[] = R"(uniform sampler2D materialTexture;
uniform float materialUsesTexture;
uniform vec4 materialEmissiveColor;
#ifdef LIT
uniform vec4 materialSpecular;
uniform vec4 sunLightDirection;
uniform vec4 sunLightColor;
uniform vec4 ambientLightColor;
uniform vec4 pointLightPosition[4];
uniform vec4 pointLightColor[4];
#endif

FRAGMENT_INPUT vec4 surfaceColor;
FRAGMENT_INPUT vec2 surfaceUV;
#ifdef LIT
FRAGMENT_INPUT vec3 eyeNormal;
FRAGMENT_INPUT vec3 eyePosition;

// Diffuse plus highlight of one light from `toLight` (normalised) of `color`.
vec3 Shade(vec3 normal, vec3 toEye, vec3 toLight, vec3 color, vec3 base)
{
    float diffuse = max(dot(normal, toLight), 0.0);
    float highlight = 0.0;
    if (diffuse > 0.0 && materialSpecular.x > 0.0) {
        highlight = materialSpecular.x * pow(max(dot(normal, normalize(toLight + toEye)), 0.0),
                                             materialSpecular.y);
    }
    return color * (base * diffuse + vec3(highlight));
}
#endif

void main()
{
    vec4 textureColor = SAMPLE_TEXTURE(materialTexture, surfaceUV);
    vec4 base = surfaceColor * mix(vec4(1.0), textureColor, materialUsesTexture);
#ifdef LIT
    // A mesh without normals is lit as if it faced the viewer.
    vec3 normal = length(eyeNormal) > 0.0 ? normalize(eyeNormal) : vec3(0.0, 0.0, 1.0);
    vec3 toEye = normalize(-eyePosition);
    vec3 color = base.rgb * ambientLightColor.rgb;
    if (length(sunLightDirection.xyz) > 0.0) {
        color += Shade(normal, toEye, normalize(sunLightDirection.xyz), sunLightColor.rgb, base.rgb);
    }
    for (int light = 0; light < 4; ++light) {
        float range = pointLightPosition[light].w;
        if (range > 0.0) {
            vec3 toLight = pointLightPosition[light].xyz - eyePosition;
            float fade = max(1.0 - length(toLight) / range, 0.0);
            color += fade * fade * Shade(normal, toEye, normalize(toLight), pointLightColor[light].rgb, base.rgb);
        }
    }
#else
    vec3 color = base.rgb;
#endif
    FRAGMENT_COLOR = vec4(color + materialEmissiveColor.rgb, base.a);
}
)";

// Lighting as last applied, in the renderer's current context.
struct RememberedLighting
{
    std::vector<std::pair<std::string, Vector4>> uniforms;
};

RememberedLighting& Remembered()
{
    static RememberedLighting lighting;
    return lighting;
}

} // namespace

Vector4 ColorAsVector(const Marrowgate::Graphics::Color& color)
{
    return {color.GetRed(), color.GetGreen(), color.GetBlue(), color.GetAlpha()};
}

ShaderHandle GetBuiltInProgram(BuiltInProgram kind)
{
    const bool lit = kind == BuiltInProgram::kLit;
    return theShaderManager->CreateBuiltInShader(lit ? "built-in lit" : "built-in unlit",
                                                 lit ? "#define LIT\n" : "", kVertexSource, kFragmentSource);
}

void ApplyMaterial(ShaderHandle program, const Material& material, bool textured)
{
    ShaderManager& shaders = *theShaderManager;
    shaders.SetShaderUniform(program, "materialBaseColor", ColorAsVector(material.baseColor));
    shaders.SetShaderUniform(program, "materialUsesVertexColor", material.usesVertexColor ? 1.0f : 0.0f);
    shaders.SetShaderUniform(program, "materialUsesTexture", textured ? 1.0f : 0.0f);
    shaders.SetShaderUniform(program, "materialEmissiveColor", ColorAsVector(material.emissiveColor));
    if (material.lit) {
        shaders.SetShaderUniform(program, "materialSpecular",
                                 Vector4(material.specular, material.shininess, 0.0f, 0.0f));
    }
}

void RememberLighting(std::vector<std::pair<std::string, Vector4>> uniforms)
{
    Remembered().uniforms = std::move(uniforms);
}

void UseLastLighting(ShaderHandle program)
{
    for (const auto& [name, value] : Remembered().uniforms) {
        theShaderManager->SetShaderUniform(program, name, value.x, value.y, value.z, value.w);
    }
}

} // namespace Cinderhall
