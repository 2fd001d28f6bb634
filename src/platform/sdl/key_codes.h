// Translation of SDL key events into the platform's virtual-key codes
// (Esc 27, Enter 13, F1 112, A 65 ...), which the host's key-slot table uses.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace lumivortex::platform::sdl {

// Code for keys that have no virtual-key code (it maps to no key slot).
inline constexpr std::uint32_t unmappedKeyCode = 0xff;

std::uint32_t virtualKeyCode(const SDL_Keysym& key);

}  // namespace lumivortex::platform::sdl
