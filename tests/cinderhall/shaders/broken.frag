void main()
{
    FRAGMENT_COLOR = undeclaredValue;
}
