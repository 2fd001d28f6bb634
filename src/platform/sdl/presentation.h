// Copies a bottom-up frame buffer rectangle into the window surface.
#pragma once

#include <SDL.h>

#include "platform/sdl/cross_thread_calls.h"

namespace lumivortex::platform::sdl {

// Window thread. Copies the request's rectangle, clipped to the buffer and
// the window, into the window surface the right way up. Returns the copied
// rectangle (empty when nothing was copied); the caller shows it with
// showSurfaceRect once the buffer's owner may go on.
SDL_Rect copyToWindowSurface(const PresentRequest& request);
void showSurfaceRect(const SDL_Rect& rect);

}  // namespace lumivortex::platform::sdl
