// State the SDL backend's modules share. Everything here belongs to the
// window (main) thread unless it is atomic.
#pragma once

#include <SDL.h>

#include <atomic>

#include "platform/platform.h"

namespace lumivortex::platform::sdl {

extern SDL_Window* window;        // the host window; null before creation and after destruction
extern WindowProc windowProc;     // the host's procedure (also used by the preview window)
extern std::atomic<Uint32> wakeEventType;   // "cross-thread calls are waiting"
extern std::atomic<Uint32> timerEventType;  // a window timer fired

// Calls the host's procedure, if one is registered.
long dispatch(Message& message);
inline long dispatch(MessageType type, std::uint32_t wParam = 0, std::uint32_t lParam = 0) {
    Message message{type, wParam, lParam};
    return dispatch(message);
}

// Destroys the host window (or the preview child) and dispatches Destroy.
void destroyWindow();

// Asks the window thread's event wait to return.
void wakeWindowThread();

// The window thread is the one that called initialise().
void becomeWindowThread();
bool onWindowThread();

}  // namespace lumivortex::platform::sdl
