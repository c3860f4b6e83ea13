// The floor of the page-cost benchmark: the least a page on SDL2 and WebGL does, built and
// linked as the game's page is. It opens the canvas's window and a WebGL 2 context with the
// game's framebuffer (24 depth bits, 4x multisampling), then clears every animation frame.
#include "marrowgate/application/implementation/web/mgi_web_page.h"

#include <GLES2/gl2.h>
#include <SDL2/SDL.h>

#include <cstdio>

int main()
{
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_ES);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
    SDL_Window* window =
        SDL_CreateWindow("minimal", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1280, 720,
                         SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window == nullptr || SDL_GL_CreateContext(window) == nullptr) {
        std::fprintf(stderr, "no window or WebGL context: %s\n", SDL_GetError());
        return 1;
    }
    while (true) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
        }
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        mgImplementation::WaitForAnimationFrame();
    }
}
