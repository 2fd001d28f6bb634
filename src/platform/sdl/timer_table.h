// Window timers on SDL's timer thread: each firing pushes an event that the
// window thread turns into a Timer message, if the timer still runs.
#pragma once

#include <SDL.h>

namespace lumivortex::platform::sdl {

// Window thread: a timer event arrived; dispatches Timer when it is current.
void deliverTimerEvent(const SDL_UserEvent& event);

// Stops every timer (the window is going away).
void killAllTimers();

}  // namespace lumivortex::platform::sdl
