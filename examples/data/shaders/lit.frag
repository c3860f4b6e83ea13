FRAGMENT_INPUT vec4 litColor;

void main()
{
    FRAGMENT_COLOR = litColor;
}
