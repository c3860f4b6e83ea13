// Debug lines in their own colours, unlit.
uniform mat4 mvpMatrix;

VERTEX_INPUT vec3 vertexPosition;
VERTEX_INPUT vec4 vertexColor;

VERTEX_OUTPUT vec4 lineColor;

void main()
{
    lineColor = vertexColor;
    gl_Position = mvpMatrix * vec4(vertexPosition, 1.0);
}
