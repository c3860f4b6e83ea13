// Meshes lit by a sun and an ambient light, in the mesh's vertex colours times the material.
// No #version line: the shader manager adds the right one for desktop GL or GL ES.
//
// The examples light in world space: they apply the lighting before the camera, so the sun
// arrives as given, and their meshes are only moved, never turned, so a mesh's normals are
// already world directions.
uniform mat4 mvpMatrix;
uniform vec4 sunLightDirection;
uniform vec4 sunLightColor;
uniform vec4 ambientLightColor;
uniform vec4 materialColor;

VERTEX_INPUT vec3 vertexPosition;
VERTEX_INPUT vec3 vertexNormal;
VERTEX_INPUT vec4 vertexColor;

VERTEX_OUTPUT vec4 litColor;

void main()
{
    float diffuse = max(dot(normalize(vertexNormal), normalize(sunLightDirection.xyz)), 0.0);
    vec3 light = ambientLightColor.rgb + sunLightColor.rgb * diffuse;
    litColor = vec4(vertexColor.rgb * materialColor.rgb * light, vertexColor.a * materialColor.a);
    gl_Position = mvpMatrix * vec4(vertexPosition, 1.0);
}
