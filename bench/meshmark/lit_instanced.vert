// The examples' lit program for objects drawn together: each vertex is placed by its object's
// instanceTransform before the view (the model-view holds the view alone).
uniform mat4 mvpMatrix;
uniform mat4 modelViewMatrix;
uniform vec4 sunLightDirection;
uniform vec4 sunLightColor;
uniform vec4 ambientLightColor;
uniform vec4 materialColor;

VERTEX_INPUT vec3 vertexPosition;
VERTEX_INPUT vec3 vertexNormal;
VERTEX_INPUT vec4 vertexColor;
VERTEX_INPUT mat4 instanceTransform;

VERTEX_OUTPUT vec4 litColor;

void main()
{
    // Vector by vector: a matrix product per vertex would cost four times the arithmetic.
    vec3 normal = normalize((modelViewMatrix * (instanceTransform * vec4(vertexNormal, 0.0))).xyz);
    float diffuse = max(dot(normal, sunLightDirection.xyz), 0.0);
    vec3 light = ambientLightColor.rgb + sunLightColor.rgb * diffuse;
    litColor = vec4(vertexColor.rgb * materialColor.rgb * light, vertexColor.a * materialColor.a);
    gl_Position = mvpMatrix * (instanceTransform * vec4(vertexPosition, 1.0));
}
