#pragma once
// The SDL2 platform: the window system duties of the realtime application on SDL2, GLEW and
// OpenGL. Only this folder includes SDL.
//
// Known limits: one window; the display mode of the full-screen mode is the window's while it
// is full screen (SDL restores the desktop mode when it leaves); no resizing.

#include "marrowgate/application/mg_input.h"

#include <filesystem>
#include <optional>

namespace mgImplementation {

// Letters follow the keyboard layout (the key that types "a" is KeyA); digits, punctuation, the
// keypad and the other keys follow their position, whatever they type. Returns nothing for keys
// the framework has no code for (media keys and the like).
std::optional<Marrowgate::Application::Key> TranslateKey(int keycode, int scancode);

// The folder of the running executable, empty when the system cannot say.
std::filesystem::path GetExecutableDirectory();

} // namespace mgImplementation
