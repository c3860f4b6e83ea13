#include "cinderhall/cdh_gl_capabilities.h"

#include "marrowgate/graphics/implementation/mgi_renderer.h"

#include <GL/glew.h>

#include <cstdio>

namespace {

namespace Renderer = Marrowgate::Graphics;

struct ContextVersion
{
    int major = 0;
    int minor = 0;
};

// "OpenGL ES 3.2 Mesa ..." in an embedded context, "4.5 (Core Profile) Mesa ..." otherwise.
ContextVersion ReadContextVersion()
{
    ContextVersion version;
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (text == nullptr) {
        return version;
    }
    const char* format = Renderer::IsEmbeddedProfile() ? "OpenGL ES %d.%d" : "%d.%d";
    if (std::sscanf(text, format, &version.major, &version.minor) != 2) {
        return {};
    }
    return version;
}

} // namespace

namespace Cinderhall {

bool ContextDrawsInstances()
{
    if (Renderer::IsFixedFunctionMode() || !Renderer::HasEntryPoint(glDrawElementsInstanced) ||
        !Renderer::HasEntryPoint(glVertexAttribDivisor)) {
        return false;
    }
    const ContextVersion version = ReadContextVersion();
    if (Renderer::IsEmbeddedProfile()) {
        return version.major >= 3;
    }
    return version.major > 3 || (version.major == 3 && version.minor >= 3);
}

bool ContextHasShadowMaps()
{
    if (Renderer::IsFixedFunctionMode() || !Renderer::HasEntryPoint(glGenFramebuffers) ||
        !Renderer::HasEntryPoint(glDrawBuffers)) {
        return false;
    }
    // The desktop set-up starts at OpenGL 3.2, which has depth textures; core ES 2.0 has none.
    return !Renderer::IsEmbeddedProfile() || ReadContextVersion().major >= 3;
}

} // namespace Cinderhall
