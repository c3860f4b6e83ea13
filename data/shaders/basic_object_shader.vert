// Lit, vertex-coloured meshes (the car and the chip).
// The shader manager puts the version line, the precision and the VERTEX_* words in front.
//
// The sun direction arrives in eye space; the normals are turned into eye space by the
// model-view. The game's meshes are only moved and turned, never scaled unevenly, so that matrix
// serves for normals too.
uniform mat4 mvpMatrix;
uniform mat4 modelViewMatrix;
uniform vec4 sunLightDirection;
uniform vec4 sunLightColor;
uniform vec4 ambientLightColor;
uniform vec4 materialColor;

VERTEX_INPUT vec3 vertexPosition;
VERTEX_INPUT vec3 vertexNormal;
VERTEX_INPUT vec4 vertexColor;
VERTEX_INPUT vec2 vertexTextureUV;

VERTEX_OUTPUT vec4 litColor;
VERTEX_OUTPUT vec2 textureUV;

void main()
{
    // Wrapped diffuse: faces at right angles to the sun keep half its light, so the sides of a
    // model stay readable under a high sun instead of falling to the (very dark) ambient.
    vec3 normal = normalize((modelViewMatrix * vec4(vertexNormal, 0.0)).xyz);
    float facing = dot(normal, sunLightDirection.xyz);
    float diffuse = clamp(facing * 0.5 + 0.5, 0.0, 1.0);
    vec3 light = ambientLightColor.rgb + sunLightColor.rgb * diffuse;
    litColor = vec4(vertexColor.rgb * materialColor.rgb * light, vertexColor.a * materialColor.a);
    textureUV = vertexTextureUV;
    gl_Position = mvpMatrix * vec4(vertexPosition, 1.0);
}
