// Lit, vertex-coloured meshes (the car and the chip).
// The shader manager puts the version line, the precision and the VERTEX_* words in front.
//
// The sun direction arrives in the frame the lighting was applied in, which for the game's
// scenes is the ground's frame. The normals are compared in the mesh's own frame: the game's
// meshes only turn about the vertical axis and the sun stands nearly overhead, so the shading
// barely depends on the heading, and no normal matrix is needed.
uniform mat4 mvpMatrix;
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
    float facing = dot(normalize(vertexNormal), sunLightDirection.xyz);
    float diffuse = clamp(facing * 0.5 + 0.5, 0.0, 1.0);
    vec3 light = ambientLightColor.rgb + sunLightColor.rgb * diffuse;
    litColor = vec4(vertexColor.rgb * materialColor.rgb * light, vertexColor.a * materialColor.a);
    textureUV = vertexTextureUV;
    gl_Position = mvpMatrix * vec4(vertexPosition, 1.0);
}
