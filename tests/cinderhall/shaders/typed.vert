// One active uniform of each common type.
uniform mat4 mvpMatrix;
uniform mat4 extraTransform;
uniform mat3 tint;
uniform vec2 offset;
uniform vec3 scale;
uniform float weight;
uniform int steps;

VERTEX_INPUT vec3 vertexPosition;

VERTEX_OUTPUT vec4 typedColor;

void main()
{
    typedColor = vec4(tint * scale, weight + float(steps));
    gl_Position = mvpMatrix * extraTransform * vec4(vertexPosition.xy + offset, vertexPosition.z, 1.0);
}
