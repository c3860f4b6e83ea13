#pragma once
/// What the renderer's current context can do beyond the renderer's own needs: instanced draws
/// and shadow maps. Both follow the context's version, read from OpenGL, so they answer for
/// the context that is current when asked.
/// @file
/// Depends on: the basic renderer. Main thread only; call with a ready renderer.

namespace Cinderhall {

// Instanced draws and per-instance inputs: core from OpenGL 3.3 and OpenGL ES 3.0.
bool ContextDrawsInstances();
// Depth textures a framebuffer can draw into and a program can read: the desktop shader set-up
// (OpenGL 3.2) and OpenGL ES 3.0 (WebGL 2). Never in the fixed-function set-up.
bool ContextHasShadowMaps();

} // namespace Cinderhall
