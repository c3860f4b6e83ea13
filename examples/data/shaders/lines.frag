FRAGMENT_INPUT vec4 lineColor;

void main()
{
    FRAGMENT_COLOR = lineColor;
}
