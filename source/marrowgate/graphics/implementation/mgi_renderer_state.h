#pragma once
// The basic renderer's module state, shared by its two source files (set-up and matrices in
// mgi_renderer.cpp, drawing in mgi_renderer_drawing.cpp). Nothing outside the renderer includes it.

#include "marrowgate/graphics/implementation/mgi_gl_name.h"
#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <deque>

namespace mgImplementation {

struct RendererState
{
    bool isFixedFunction = false;
    bool isEmbedded = false;
    bool isReady = false;
    GLName vertexShader;
    GLName fragmentShader;
    GLName program;
    Marrowgate::Core::Matrix4 projection;
    Marrowgate::Core::Matrix4 modelView;
    Marrowgate::Core::Matrix4 modelViewProjection;
    // Saved model-view matrices; grows as needed.
    std::deque<Marrowgate::Core::Matrix4> matrixStack;
};

extern RendererState theRendererState;

} // namespace mgImplementation
