#include "cinderhall/cdh_shader_source.h"

#include "marrowgate/core/mg_data_file.h"
#include "marrowgate/core/mg_error.h"

namespace {
constexpr char kUnitName[] = "cdh_shader_manager";

// Each prelude ends by restarting the line count, so compiler logs give the lines of the file as
// written. GLSL 1.50 numbers the line after "#line N" as N + 1; GLSL ES 1.00 numbers it N.
constexpr std::string_view kDesktopVertexPrelude = "#version 150\n"
                                                   "precision highp float;\n"
                                                   "#define VERTEX_INPUT in\n"
                                                   "#define VERTEX_OUTPUT out\n"
                                                   "#line 0\n";

constexpr std::string_view kDesktopFragmentPrelude = "#version 150\n"
                                                     "precision highp float;\n"
                                                     "#define FRAGMENT_INPUT in\n"
                                                     "#define SAMPLE_TEXTURE texture\n"
                                                     "out vec4 preludeFragmentColor;\n"
                                                     "#define FRAGMENT_COLOR preludeFragmentColor\n"
                                                     "#line 0\n";

constexpr std::string_view kEmbeddedVertexPrelude = "#version 100\n"
                                                    "precision highp float;\n"
                                                    "#define VERTEX_INPUT attribute\n"
                                                    "#define VERTEX_OUTPUT varying\n"
                                                    "#line 1\n";

// High precision is optional in embedded fragment stages.
constexpr std::string_view kEmbeddedFragmentPrelude = "#version 100\n"
                                                      "#ifdef GL_FRAGMENT_PRECISION_HIGH\n"
                                                      "precision highp float;\n"
                                                      "#else\n"
                                                      "precision mediump float;\n"
                                                      "#endif\n"
                                                      "#define FRAGMENT_INPUT varying\n"
                                                      "#define SAMPLE_TEXTURE texture2D\n"
                                                      "#define FRAGMENT_COLOR gl_FragColor\n"
                                                      "#line 1\n";

std::string_view Prelude(Cinderhall::ShaderStage stage, bool embeddedProfile)
{
    if (stage == Cinderhall::ShaderStage::kVertex) {
        return embeddedProfile ? kEmbeddedVertexPrelude : kDesktopVertexPrelude;
    }
    return embeddedProfile ? kEmbeddedFragmentPrelude : kDesktopFragmentPrelude;
}

} // namespace

namespace Cinderhall {

std::string ReadShaderSource(const std::string& path)
{
    const Marrowgate::Core::Error::ReportSubject subject(path);
    std::string text =
        Marrowgate::Core::ReadDataFile<std::string>(path, Marrowgate::Core::kMaximumShaderFileBytes)
            .value_or(std::string());
    for (char character : text) {
        MG_ERROR_IF(static_cast<unsigned char>(character) >= 128,
                    "Error: What follows is an unsafe casting!");
    }
    return text;
}

bool HasVersionLine(std::string_view source)
{
    std::size_t lineStart = 0;
    while (lineStart < source.size()) {
        const std::size_t firstCharacter = source.find_first_not_of(" \t", lineStart);
        if (firstCharacter != std::string_view::npos &&
            source.substr(firstCharacter).starts_with("#version")) {
            return true;
        }
        const std::size_t lineEnd = source.find('\n', lineStart);
        if (lineEnd == std::string_view::npos) {
            break;
        }
        lineStart = lineEnd + 1;
    }
    return false;
}

std::string ComposeShaderSource(std::string_view source, ShaderStage stage, bool embeddedProfile)
{
    if (HasVersionLine(source)) {
        return std::string(source);
    }
    std::string composed(Prelude(stage, embeddedProfile));
    composed.append(source);
    return composed;
}

} // namespace Cinderhall
