// The built-in program's uniforms: their locations are looked up once when the program is made,
// and each value is uploaded only when a draw needs a different one.

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer_state.h"

#include <GL/glew.h>

#include <cstring>

namespace {
constexpr char kUnitName[] = "mgi_renderer";
} // namespace

namespace mgImplementation {

bool IsBuiltInProgramCurrent()
{
    return theRendererState.program && theRendererState.currentProgram == theRendererState.program.Get();
}

void FindBuiltInUniforms()
{
    BuiltInUniforms& uniforms = theRendererState.uniforms;
    uniforms = BuiltInUniforms();
    const GLuint program = theRendererState.program.Get();
    uniforms.mvpLocation = glGetUniformLocation(program, "mvpMatrix");
    uniforms.colorMatrixLocation = glGetUniformLocation(program, "colorMatrix");
    uniforms.colorTintLocation = glGetUniformLocation(program, "colorTint");
    uniforms.snapLocation = glGetUniformLocation(program, "snapToPixel");
    MG_ERROR_IF(uniforms.mvpLocation == -1,
                "mgInternalError: GLSL Uniform \"mvpMatrix\" was not found in shader program.");
    MG_ERROR_IF(uniforms.colorMatrixLocation == -1,
                "mgInternalError: GLSL Uniform \"colorMatrix\" was not found in shader program.");
    MG_ERROR_IF(uniforms.colorTintLocation == -1,
                "mgInternalError: GLSL Uniform \"colorTint\" was not found in shader program.");
    glUniform1i(glGetUniformLocation(program, "diffuseTexture"), 0);
}

namespace {

void UploadColorMode(bool isFontTexture)
{
    // Uploaded as it stands: OpenGL reads these 16 values column by column.
    float colorMatrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float tint[4] = {0, 0, 0, 0};
    if (isFontTexture) {
        if (theRendererState.isEmbedded) {
            // Alpha-only glyph texture: every channel gains the alpha.
            colorMatrix[12] = colorMatrix[13] = colorMatrix[14] = colorMatrix[15] = 1.0f;
            colorMatrix[1] = colorMatrix[6] = colorMatrix[11] = 0.0f;
        } else {
            // Red-only glyph texture: the red coverage goes to every channel.
            colorMatrix[0] = colorMatrix[1] = colorMatrix[2] = colorMatrix[3] = 1.0f;
            colorMatrix[5] = colorMatrix[10] = colorMatrix[15] = 0.0f;
        }
        tint[0] = tint[1] = tint[2] = 1.0f;
    }
    glUniformMatrix4fv(theRendererState.uniforms.colorMatrixLocation, 1, GL_FALSE, colorMatrix);
    glUniform4fv(theRendererState.uniforms.colorTintLocation, 1, tint);
}

} // namespace

void PrepareBuiltInProgram(const Marrowgate::Core::Matrix4& mvp, bool snapToPixel, bool isFontTexture)
{
    BuiltInUniforms& uniforms = theRendererState.uniforms;
    if (!uniforms.hasMvp || std::memcmp(uniforms.mvp.m, mvp.m, sizeof(mvp.m)) != 0) {
        // OpenGL reads matrices column by column; ours are stored row by row.
        const Marrowgate::Core::Matrix4 transposed = mvp.GetTransposed();
        glUniformMatrix4fv(uniforms.mvpLocation, 1, GL_FALSE, transposed.m);
        uniforms.mvp = mvp;
        uniforms.hasMvp = true;
    }
    const int snap = snapToPixel ? 1 : 0;
    if (uniforms.snap != snap) {
        glUniform1f(uniforms.snapLocation, static_cast<float>(snap));
        uniforms.snap = snap;
    }
    const int colorMode = isFontTexture ? 1 : 0;
    if (uniforms.colorMode != colorMode) {
        UploadColorMode(isFontTexture);
        uniforms.colorMode = colorMode;
    }
}

} // namespace mgImplementation
