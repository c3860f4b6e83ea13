VERTEX_INPUT vec3 vertexPosition;

void main()
{
    gl_Position = vec4(vertexPosition, missingScale);
}
