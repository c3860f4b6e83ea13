// The built-in 2D program: both variants are compiled and linked once per context, their uniform
// locations looked up then, and each uniform value uploaded only when a draw needs a different
// one. The glyph variant's colour transform never changes, so it is uploaded once.

#include "marrowgate/core/mg_error.h"
#include "marrowgate/graphics/implementation/mgi_renderer_shaders.h"
#include "marrowgate/graphics/implementation/mgi_renderer_state.h"

#include <GL/glew.h>

#include <array>
#include <cstring>

namespace {
constexpr char kUnitName[] = "mgi_renderer";
} // namespace

namespace mgImplementation {

namespace {

using Marrowgate::Graphics::CheckProgramLinked;
using Marrowgate::Graphics::CheckShaderCompiled;
using Marrowgate::Graphics::GetProgramLog;
using Marrowgate::Graphics::GetShaderLog;

constexpr std::size_t kOrdinary = 0;
constexpr std::size_t kGlyph = 1;

GLName CompileShader(GLenum stage, const std::array<const char*, 3>& parts)
{
    GLName shader(GLNameKind::Shader, glCreateShader(stage));
    glShaderSource(shader.Get(), static_cast<GLsizei>(parts.size()), parts.data(), nullptr);
    glCompileShader(shader.Get());
    MG_ERROR_IF(!CheckShaderCompiled(shader.Get()),
                "mgInternalError: Shader did not compile, what does log say?\n%s",
                GetShaderLog(shader.Get()).c_str());
    return shader;
}

GLName LinkProgram(const GLName& vertexShader, const GLName& fragmentShader)
{
    GLName program(GLNameKind::Program, glCreateProgram());
    glAttachShader(program.Get(), vertexShader.Get());
    glAttachShader(program.Get(), fragmentShader.Get());
    glBindAttribLocation(program.Get(), 0, "vertexPosition");
    glBindAttribLocation(program.Get(), 1, "vertexColor");
    glBindAttribLocation(program.Get(), 2, "vertexTextureUV");
    glLinkProgram(program.Get());
    MG_ERROR_IF(!CheckProgramLinked(program.Get()),
                "mgInternalError: Program did not link, what does log say?\n%s",
                GetProgramLog(program.Get()).c_str());
    // The shaders go with the program once it no longer needs them.
    glDetachShader(program.Get(), vertexShader.Get());
    glDetachShader(program.Get(), fragmentShader.Get());
    return program;
}

// The glyph variant turns single-channel coverage into coverage in every channel: a
// premultiplied white of that coverage, so a glyph pixel is the (premultiplied) vertex colour
// scaled by its coverage and blends like any other translucent colour. Uploaded as it stands:
// OpenGL reads these 16 values column by column.
void UploadGlyphColorTransform(GLuint program)
{
    const GLint colorMatrixLocation = glGetUniformLocation(program, "colorMatrix");
    MG_ERROR_IF(colorMatrixLocation == -1,
                "mgInternalError: GLSL Uniform \"colorMatrix\" was not found in shader program.");
    float colorMatrix[16] = {};
    // Alpha-only glyph textures (embedded) carry coverage in alpha, red-only ones (desktop) in red:
    // that column of the matrix sends it to every channel.
    const int coverageColumn = theRendererState.isEmbedded ? 3 : 0;
    for (int row = 0; row < 4; ++row) {
        colorMatrix[coverageColumn * 4 + row] = 1.0f;
    }
    glUniformMatrix4fv(colorMatrixLocation, 1, GL_FALSE, colorMatrix);
}

BuiltInProgram MakeVariant(const GLName& vertexShader, const GLName& fragmentShader, bool isGlyph)
{
    BuiltInProgram variant;
    variant.program = LinkProgram(vertexShader, fragmentShader);
    const GLuint program = variant.program.Get();
    glUseProgram(program);
    variant.mvpLocation = glGetUniformLocation(program, "mvpMatrix");
    variant.snapLocation = glGetUniformLocation(program, "snapToPixel");
    MG_ERROR_IF(variant.mvpLocation == -1,
                "mgInternalError: GLSL Uniform \"mvpMatrix\" was not found in shader program.");
    glUniform1i(glGetUniformLocation(program, "diffuseTexture"), 0);
    if (isGlyph) {
        UploadGlyphColorTransform(program);
    }
    return variant;
}

} // namespace

void CreateBuiltInProgram()
{
    const bool isEmbedded = theRendererState.isEmbedded;
    const char* version = isEmbedded ? kEmbeddedVersion : kDesktopVersion;
    const GLName vertexShader = CompileShader(
        GL_VERTEX_SHADER, {version, "", isEmbedded ? kEmbeddedVertexShader : kDesktopVertexShader});
    const char* fragmentBody = isEmbedded ? kEmbeddedFragmentShader : kDesktopFragmentShader;
    const GLName ordinaryShader = CompileShader(GL_FRAGMENT_SHADER, {version, "", fragmentBody});
    const GLName glyphShader =
        CompileShader(GL_FRAGMENT_SHADER, {version, kTransformColorDefine, fragmentBody});
    theRendererState.builtIn[kGlyph] = MakeVariant(vertexShader, glyphShader, true);
    theRendererState.builtIn[kOrdinary] = MakeVariant(vertexShader, ordinaryShader, false);
    theRendererState.currentProgram = theRendererState.builtIn[kOrdinary].program.Get();
    theRendererState.isProgramKnown = true;
}

void DeleteBuiltInProgram()
{
    for (BuiltInProgram& variant : theRendererState.builtIn) {
        variant = BuiltInProgram();
    }
}

bool IsBuiltInProgramCurrent()
{
    const GLuint current = theRendererState.currentProgram;
    return current != 0 && (current == theRendererState.builtIn[kOrdinary].program.Get() ||
                            current == theRendererState.builtIn[kGlyph].program.Get());
}

void PrepareBuiltInProgram(const Marrowgate::Core::Matrix4& mvp, bool snapToPixel, bool isFontTexture)
{
    BuiltInProgram& variant = theRendererState.builtIn[isFontTexture ? kGlyph : kOrdinary];
    if (theRendererState.currentProgram != variant.program.Get() || !theRendererState.isProgramKnown) {
        glUseProgram(variant.program.Get());
        theRendererState.currentProgram = variant.program.Get();
        theRendererState.isProgramKnown = true;
    }
    if (!variant.hasMvp || std::memcmp(variant.mvp.m, mvp.m, sizeof(mvp.m)) != 0) {
        // OpenGL reads matrices column by column; ours are stored row by row.
        const Marrowgate::Core::Matrix4 transposed = mvp.GetTransposed();
        glUniformMatrix4fv(variant.mvpLocation, 1, GL_FALSE, transposed.m);
        variant.mvp = mvp;
        variant.hasMvp = true;
    }
    const int snap = snapToPixel ? 1 : 0;
    if (variant.snap != snap) {
        glUniform1f(variant.snapLocation, static_cast<float>(snap));
        variant.snap = snap;
    }
}

} // namespace mgImplementation
