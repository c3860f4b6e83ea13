// Debug lines and triangles in their vertex colours, unlit and untextured.
FRAGMENT_INPUT vec4 lineColor;

void main()
{
    FRAGMENT_COLOR = lineColor;
}
