#pragma once
/// The shape of the one window: how it sits on the desktop and whether it waits for the
/// display's vertical blank. The handler fills a default record before the window exists. @file

#include <cstdint>

namespace Marrowgate::Application {

enum class WindowMode : std::int32_t
{
    // A captioned window with a minimise box; the user cannot resize or maximise it.
    kWindowed = 0,
    // A borderless window at (0, 0); a zero size covers the desktop; the display mode stays.
    kFullScreenWindow = 1,
    // The display mode changes to the window's size (zero: the current one) and a borderless
    // window at (0, 0) covers it. The first desktop mode seen is restored on a later open.
    kFullScreen = 2,
};

struct WindowProperties
{
    std::uint16_t width = 1280;
    std::uint16_t height = 720;
    std::int16_t x = 100;
    std::int16_t y = 100;
    WindowMode mode = WindowMode::kWindowed;
    bool verticalSync = true;
    // Asks for a 4x multisampled framebuffer (smooth edges); where the driver refuses, the
    // window silently has none. A software rasteriser (an OpenGL renderer named llvmpipe,
    // softpipe, swrast or SwiftShader, as in a virtual machine or a remote desktop) gets none
    // either: it would spend most of every frame on the samples. The environment settles it:
    // MARROWGATE_MULTISAMPLING=0 turns it off everywhere (pixel checks compare exact colours),
    // MARROWGATE_MULTISAMPLING=1 asks for it even on a software rasteriser.
    bool multisampling = true;
};

} // namespace Marrowgate::Application
