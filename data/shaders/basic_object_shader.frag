// Lit, vertex-coloured meshes: the lit vertex colour times the bound texture (the blank
// white texture unless a mesh object names another).
uniform sampler2D diffuseTexture;

FRAGMENT_INPUT vec4 litColor;
FRAGMENT_INPUT vec2 textureUV;

void main()
{
    FRAGMENT_COLOR = litColor * SAMPLE_TEXTURE(diffuseTexture, textureUV);
}
