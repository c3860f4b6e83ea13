#pragma once
// Framebuffer objects for render targets, through whichever entry points the context offers:
// the core ones (desktop 3.0 and later, ES 2.0, ARB_framebuffer_object) or, in a legacy context,
// EXT_framebuffer_object. Internal to the graphics implementation.

#include <cstdint>
#include <string>

namespace mgImplementation {

// A framebuffer with a colour texture attached and, optionally, a depth renderbuffer. Names
// belong to the context generation they were made in; Release deletes them only there.
struct Framebuffer
{
    std::uint32_t framebuffer = 0;
    std::uint32_t depthBuffer = 0;
    std::uint64_t contextGeneration = 0;
};

// Empty when framebuffers can be made in the current context, else what is missing, for a report.
std::string FindMissingFramebufferSupport();
// The largest side the driver allows for a target's texture and renderbuffer.
int GetLargestTargetSide();
// Attaches the colour texture (an OpenGL name) and makes a depth buffer when asked. On failure
// the names are released and the reason comes back for a report; empty on success.
std::string CreateFramebuffer(Framebuffer& framebuffer, std::uint32_t colorTexture, int width, int height,
                              bool withDepth);
void ReleaseFramebuffer(Framebuffer& framebuffer);

std::uint32_t GetBoundFramebuffer();
void BindFramebuffer(std::uint32_t framebuffer);

// Copies the `width` x `height` pixels of `source` into the framebuffer being drawn into, with
// the copy's lower-left corner at (`x`, `y`) in OpenGL window coordinates and its rows in reverse
// order: a render target keeps its picture's top row first. Copies that exceed the destination,
// or fall outside the scissor box, are clipped. False, having done nothing, where the context
// cannot copy between framebuffers (no blit entry point, ES set-ups, a multisampled
// destination); the caller then draws the picture as a textured quad.
bool CopyRowsReversed(const Framebuffer& source, int width, int height, int x, int y);

} // namespace mgImplementation
