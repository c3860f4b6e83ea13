// The least a program must do to show a frame with OpenGL through SDL2: open a window with a
// context of the same kind the game asks for first, clear it and present it once. The start-up
// benchmark measures the game's start-up against this program's. Like the game, it asks for 4x
// multisampling unless MARROWGATE_MULTISAMPLING=0, so that the two fill the same buffers.
//
// With --textured-quad the first frame also shows a small texture on one quad through one small
// shader program: the least any program that shows a logo must do, and on a software
// rasteriser the shader compile is a large share of a first frame.
#include <GL/glew.h>
#include <SDL2/SDL.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

constexpr char kVertexShader[] = "#version 150\n"
                                 "in vec2 corner;\n"
                                 "out vec2 textureCoordinate;\n"
                                 "void main() {\n"
                                 "    textureCoordinate = corner * 0.5 + 0.5;\n"
                                 "    gl_Position = vec4(corner * 0.5, 0.0, 1.0);\n"
                                 "}\n";
constexpr char kFragmentShader[] = "#version 150\n"
                                   "uniform sampler2D image;\n"
                                   "in vec2 textureCoordinate;\n"
                                   "out vec4 color;\n"
                                   "void main() { color = texture(image, textureCoordinate); }\n";
constexpr int kImageSize = 64;

GLuint CompileShader(GLenum stage, const char* source)
{
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

// A checkerboard texture on a centred quad, blended as a logo would be. Returns false when the
// program does not link, so that a broken floor is never reported as a fast one.
bool DrawTexturedQuad()
{
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        return false;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, CompileShader(GL_VERTEX_SHADER, kVertexShader));
    glAttachShader(program, CompileShader(GL_FRAGMENT_SHADER, kFragmentShader));
    glBindAttribLocation(program, 0, "corner");
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        return false;
    }
    std::array<std::uint32_t, kImageSize * kImageSize> pixels{};
    for (int index = 0; index < kImageSize * kImageSize; ++index) {
        const bool light = ((index % kImageSize) / 8 + (index / kImageSize) / 8) % 2 == 0;
        pixels[static_cast<std::size_t>(index)] = light ? 0xFFFFFFFFu : 0x80402010u;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, kImageSize, kImageSize, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 pixels.data());
    constexpr std::array<float, 8> kCorners{-1.0f, -1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f};
    GLuint vertexArray = 0;
    GLuint buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof kCorners, kCorners.data(), GL_STATIC_DRAW);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(0);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "image"), 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    return true;
}

} // namespace

int main(int argumentCount, char** arguments)
{
    const bool texturedQuad = argumentCount == 2 && std::strcmp(arguments[1], "--textured-quad") == 0;
    if (argumentCount > 2 || (argumentCount == 2 && !texturedQuad)) {
        std::fprintf(stderr, "usage: minimal_gl_window [--textured-quad]\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "minimal_gl_window: %s\n", SDL_GetError());
        return EXIT_FAILURE;
    }
    const char* multisampling = std::getenv("MARROWGATE_MULTISAMPLING");
    const bool isMultisampled = multisampling == nullptr || std::string_view(multisampling) != "0";
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, isMultisampled ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, isMultisampled ? 4 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 2);
    SDL_Window* window = SDL_CreateWindow("minimal", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 1280,
                                          720, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        std::fprintf(stderr, "minimal_gl_window: %s\n", SDL_GetError());
        SDL_Quit();
        return EXIT_FAILURE;
    }
    SDL_ShowWindow(window);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // No swap after a failed draw: the start-up probe would take that swap for a first frame.
    const bool drawn = !texturedQuad || DrawTexturedQuad();
    if (drawn) {
        SDL_GL_SwapWindow(window);
    } else {
        std::fprintf(stderr, "minimal_gl_window: the textured quad could not be drawn\n");
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return drawn ? EXIT_SUCCESS : EXIT_FAILURE;
}
