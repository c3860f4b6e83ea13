#include "cinderhall/cdh_builtin_programs.h"

namespace Cinderhall {

namespace {

// One vertex and one fragment text serve both programs; the lit one is compiled with LIT
// defined. Both follow the prelude's rule, so they build in either shader set-up. Both take the
// per-instance transform, so objects sharing a mesh and a material draw together.
constexpr char kVertexSource[] = R"(uniform mat4 mvpMatrix;
uniform mat4 modelViewMatrix;
uniform vec4 materialBaseColor;
uniform float materialUsesVertexColor;
#ifdef LIT
// Rows of the matrix from eye space to the shadow map's texture space (x, y) and depth (z).
uniform vec4 shadowTransform[3];
#endif

VERTEX_INPUT vec3 vertexPosition;
VERTEX_INPUT vec3 vertexNormal;
VERTEX_INPUT vec4 vertexColor;
VERTEX_INPUT vec2 vertexTextureUV;
// The object's transform when objects are drawn together (the model-view then holds the view
// alone); the identity otherwise.
VERTEX_INPUT mat4 instanceTransform;

VERTEX_OUTPUT vec4 surfaceColor;
VERTEX_OUTPUT vec2 surfaceUV;
VERTEX_OUTPUT vec3 eyePosition;
#ifdef LIT
VERTEX_OUTPUT vec3 eyeNormal;
VERTEX_OUTPUT vec3 shadowPosition;
#endif

void main()
{
    surfaceColor = materialBaseColor * mix(vec4(1.0), vertexColor, materialUsesVertexColor);
    surfaceUV = vertexTextureUV;
    mat4 modelView = modelViewMatrix * instanceTransform;
    vec4 eye = modelView * vec4(vertexPosition, 1.0);
    eyePosition = eye.xyz;
#ifdef LIT
    // The normal matrix (the inverse transpose of the 3x3 part) is that part's cofactor matrix
    // divided by its determinant; only the determinant's sign matters before normalising.
    vec3 first = modelView[0].xyz;
    vec3 second = modelView[1].xyz;
    vec3 third = modelView[2].xyz;
    vec3 normal = cross(second, third) * vertexNormal.x + cross(third, first) * vertexNormal.y +
                  cross(first, second) * vertexNormal.z;
    eyeNormal = dot(first, cross(second, third)) < 0.0 ? -normal : normal;
    shadowPosition = vec3(dot(shadowTransform[0], eye), dot(shadowTransform[1], eye),
                          dot(shadowTransform[2], eye));
#endif
    gl_Position = mvpMatrix * instanceTransform * vec4(vertexPosition, 1.0);
}
)";

constexpr char kFragmentSource[] = R"(uniform sampler2D materialTexture;
uniform float materialUsesTexture;
uniform vec4 materialEmissiveColor;
// x: 0 no fog, 1 linear, 2 exponential; y, z: where linear fog starts and is whole; w: density.
uniform vec4 fogParameters;
uniform vec4 fogColor;
#ifdef LIT
uniform vec4 materialSpecular;
uniform vec4 sunLightDirection;
uniform vec4 sunLightColor;
uniform vec4 ambientLightColor;
uniform vec4 pointLightPosition[4];
uniform vec4 pointLightColor[4];
uniform sampler2D shadowMap;
// x: 1 with a shadow map; y: the depth bias; z: one texel of the map.
uniform vec4 shadowParameters;
#endif

FRAGMENT_INPUT vec4 surfaceColor;
FRAGMENT_INPUT vec2 surfaceUV;
FRAGMENT_INPUT vec3 eyePosition;
#ifdef LIT
FRAGMENT_INPUT vec3 eyeNormal;
FRAGMENT_INPUT vec3 shadowPosition;

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

// How much of the sun reaches this pixel: the share of the nine map texels around it that the
// pixel is not behind. Outside the map everything is lit.
float SunVisibility()
{
    if (shadowParameters.x <= 0.0 || shadowPosition.x < 0.0 || shadowPosition.x > 1.0 ||
        shadowPosition.y < 0.0 || shadowPosition.y > 1.0 || shadowPosition.z > 1.0) {
        return 1.0;
    }
    float lit = 0.0;
    for (int row = -1; row <= 1; ++row) {
        for (int column = -1; column <= 1; ++column) {
            vec2 offset = vec2(float(column), float(row)) * shadowParameters.z;
            float nearest = SAMPLE_TEXTURE(shadowMap, shadowPosition.xy + offset).r;
            lit += shadowPosition.z - shadowParameters.y <= nearest ? 1.0 : 0.0;
        }
    }
    return lit / 9.0;
}
#endif

// The share of the surface's own colour that survives the fog at this distance from the eye.
float FogVisibility(float distance)
{
    if (fogParameters.x > 1.5) {
        return exp(-fogParameters.w * distance);
    }
    if (fogParameters.x > 0.5) {
        return clamp((fogParameters.z - distance) / max(fogParameters.z - fogParameters.y, 0.0001), 0.0, 1.0);
    }
    return 1.0;
}

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
        color += SunVisibility() *
                 Shade(normal, toEye, normalize(sunLightDirection.xyz), sunLightColor.rgb, base.rgb);
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
    color = mix(fogColor.rgb, color + materialEmissiveColor.rgb, FogVisibility(length(eyePosition)));
    FRAGMENT_COLOR = vec4(color, base.a);
}
)";

// Lighting, fog and shadows as last applied, in the renderer's current context.
struct RememberedLighting
{
    std::vector<std::pair<std::string, Vector4>> uniforms;
    std::vector<std::pair<std::string, Vector4>> shadowUniforms;
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

void RememberShadows(std::vector<std::pair<std::string, Vector4>> uniforms)
{
    Remembered().shadowUniforms = std::move(uniforms);
}

void UseLastLighting(ShaderHandle program)
{
    const RememberedLighting& remembered = Remembered();
    for (const auto* uniforms : {&remembered.uniforms, &remembered.shadowUniforms}) {
        for (const auto& [name, value] : *uniforms) {
            theShaderManager->SetShaderUniform(program, name, value.x, value.y, value.z, value.w);
        }
    }
}

} // namespace Cinderhall
