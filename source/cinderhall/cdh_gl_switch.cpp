#include "cinderhall/cdh_gl_switch.h"

#include <GL/glew.h>

namespace {

void Switch(std::uint32_t capability, bool enabled)
{
    if (enabled) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

} // namespace

namespace Cinderhall {

ScopedGLSwitch::ScopedGLSwitch(std::uint32_t capability, bool enabled)
    : capability_(capability), wasEnabled_(glIsEnabled(capability) == GL_TRUE)
{
    Switch(capability_, enabled);
}

ScopedGLSwitch::~ScopedGLSwitch()
{
    Switch(capability_, wasEnabled_);
}

} // namespace Cinderhall
