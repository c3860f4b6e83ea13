// Meshes lit by a sun and an ambient light, in the mesh's vertex colours times the material.
// No #version line: the shader manager adds the right one for desktop GL or GL ES.
//
// Lighting happens in eye space: the sun's direction arrives there (SceneLighting turns its
// world direction by the camera's view), and the normals get there through the model-view.
uniform mat4 mvpMatrix;
uniform mat4 modelViewMatrix;
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
    vec3 normal = normalize((modelViewMatrix * vec4(vertexNormal, 0.0)).xyz);
    float diffuse = max(dot(normal, sunLightDirection.xyz), 0.0);
    vec3 light = ambientLightColor.rgb + sunLightColor.rgb * diffuse;
    litColor = vec4(vertexColor.rgb * materialColor.rgb * light, vertexColor.a * materialColor.a);
    gl_Position = mvpMatrix * vec4(vertexPosition, 1.0);
}
