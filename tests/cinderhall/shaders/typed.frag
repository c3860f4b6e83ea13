uniform sampler2D picture;
uniform vec4 shade;

FRAGMENT_INPUT vec4 typedColor;

void main()
{
    FRAGMENT_COLOR = typedColor * shade * SAMPLE_TEXTURE(picture, vec2(0.5, 0.5));
}
