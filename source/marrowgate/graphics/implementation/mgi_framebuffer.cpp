#include "marrowgate/graphics/implementation/mgi_framebuffer.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>

namespace mgImplementation {

namespace {

// The extension's entry points take and give the same values as the core ones.
struct FramebufferCalls
{
    PFNGLGENFRAMEBUFFERSPROC generate = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC remove = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bind = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DPROC attachTexture = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkStatus = nullptr;
    PFNGLGENRENDERBUFFERSPROC generateRenderbuffer = nullptr;
    PFNGLDELETERENDERBUFFERSPROC removeRenderbuffer = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC storage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC attachRenderbuffer = nullptr;
};

FramebufferCalls FindCalls()
{
    if (Marrowgate::Graphics::HasEntryPoint(glGenFramebuffers) &&
        Marrowgate::Graphics::HasEntryPoint(glFramebufferRenderbuffer)) {
        return {glGenFramebuffers,        glDeleteFramebuffers,     glBindFramebuffer,
                glFramebufferTexture2D,   glCheckFramebufferStatus, glGenRenderbuffers,
                glDeleteRenderbuffers,    glBindRenderbuffer,       glRenderbufferStorage,
                glFramebufferRenderbuffer};
    }
    if (Marrowgate::Graphics::HasEntryPoint(glGenFramebuffersEXT) &&
        Marrowgate::Graphics::HasEntryPoint(glFramebufferRenderbufferEXT)) {
        return {glGenFramebuffersEXT,        glDeleteFramebuffersEXT,     glBindFramebufferEXT,
                glFramebufferTexture2DEXT,   glCheckFramebufferStatusEXT, glGenRenderbuffersEXT,
                glDeleteRenderbuffersEXT,    glBindRenderbufferEXT,       glRenderbufferStorageEXT,
                glFramebufferRenderbufferEXT};
    }
    return {};
}

} // namespace

std::string FindMissingFramebufferSupport()
{
    if (FindCalls().generate == nullptr) {
        return "framebuffer objects (OpenGL 3.0, ARB_framebuffer_object or EXT_framebuffer_object)";
    }
    return {};
}

int GetLargestTargetSide()
{
    GLint textureSide = 0;
    GLint renderbufferSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &textureSide);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbufferSide);
    return renderbufferSide > 0 ? std::min(textureSide, renderbufferSide) : textureSide;
}

std::string CreateFramebuffer(Framebuffer& framebuffer, std::uint32_t colorTexture, int width, int height,
                              bool withDepth)
{
    const FramebufferCalls calls = FindCalls();
    const GLuint previous = GetBoundFramebuffer();
    framebuffer.contextGeneration = Marrowgate::Graphics::GetContextGeneration();
    calls.generate(1, &framebuffer.framebuffer);
    calls.bind(GL_FRAMEBUFFER, framebuffer.framebuffer);
    calls.attachTexture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture, 0);
    if (withDepth) {
        calls.generateRenderbuffer(1, &framebuffer.depthBuffer);
        calls.bindRenderbuffer(GL_RENDERBUFFER, framebuffer.depthBuffer);
        // 16 bits is the one depth format every ES 2.0 driver takes.
        calls.storage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
        calls.attachRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                 framebuffer.depthBuffer);
        calls.bindRenderbuffer(GL_RENDERBUFFER, 0);
    }
    const GLenum status = calls.checkStatus(GL_FRAMEBUFFER);
    calls.bind(GL_FRAMEBUFFER, previous);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        ReleaseFramebuffer(framebuffer);
        char reason[64];
        std::snprintf(reason, sizeof(reason), "framebuffer status 0x%04X", static_cast<unsigned>(status));
        return reason;
    }
    return {};
}

void ReleaseFramebuffer(Framebuffer& framebuffer)
{
    // Names of a context that is gone went with it.
    if (Marrowgate::Graphics::IsRendererReady() &&
        framebuffer.contextGeneration == Marrowgate::Graphics::GetContextGeneration()) {
        const FramebufferCalls calls = FindCalls();
        if (framebuffer.framebuffer != 0) {
            calls.remove(1, &framebuffer.framebuffer);
        }
        if (framebuffer.depthBuffer != 0) {
            calls.removeRenderbuffer(1, &framebuffer.depthBuffer);
        }
    }
    framebuffer = Framebuffer();
}

std::uint32_t GetBoundFramebuffer()
{
    GLint bound = 0;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
    return static_cast<std::uint32_t>(bound);
}

void BindFramebuffer(std::uint32_t framebuffer)
{
    FindCalls().bind(GL_FRAMEBUFFER, framebuffer);
}

bool CopyRowsReversed(const Framebuffer& source, int width, int height, int x, int y)
{
    // ES contexts keep the quad: ES 2.0 and WebGL 1 have no blit, and a browser's entry points
    // cannot say so.
    if (Marrowgate::Graphics::IsEmbeddedProfile()) {
        return false;
    }
    PFNGLBLITFRAMEBUFFERPROC blit = nullptr;
    if (Marrowgate::Graphics::HasEntryPoint(glBlitFramebuffer)) {
        blit = glBlitFramebuffer;
    } else if (Marrowgate::Graphics::HasEntryPoint(glBlitFramebufferEXT)) {
        blit = glBlitFramebufferEXT;
    }
    if (blit == nullptr) {
        return false;
    }
    // A blit into a multisampled framebuffer is an error; the quad draws into one fine.
    GLint sampleBuffers = 0;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &sampleBuffers);
    if (sampleBuffers != 0) {
        return false;
    }
    const FramebufferCalls calls = FindCalls();
    GLint previousRead = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
    calls.bind(GL_READ_FRAMEBUFFER, source.framebuffer);
    blit(0, 0, width, height, x, y + height, x + width, y, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    calls.bind(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
    return true;
}

} // namespace mgImplementation
