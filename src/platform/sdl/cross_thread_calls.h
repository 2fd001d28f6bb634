// Calls that other threads make into the window thread (sendMessage,
// presentPixels and message boxes, which SDL wants on the main thread): the caller queues a record on its own stack, wakes the
// window thread and waits until that thread has handled the record or the
// window has gone away. Only the window thread removes records from the
// queue and marks them done, so a record never outlives its caller.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/platform.h"

namespace lumivortex::platform::sdl {

struct PresentRequest {
    const std::uint32_t* pixels;
    int stride, bufferHeight;
    int x, y, width, height;
};

struct BoxRequest {
    Uint32 flags;
    const char* caption;
    const char* text;
};

// Window thread: start accepting calls (a window now exists).
void openCrossThreadCalls();
// Window thread: refuse new calls and release every waiting caller with 0.
void closeCrossThreadCalls();
// Window thread: handles every queued call.
void runPendingCalls();

// Other threads: queue the call and wait for it. Returns 0 at once when no
// window exists.
long sendFromOtherThread(const Message& message);
void presentFromOtherThread(const PresentRequest& request);
// Shows the box on the window thread and waits until it is dismissed (or the
// window goes away). False, without waiting, when no window exists.
bool showBoxFromOtherThread(const BoxRequest& request);

}  // namespace lumivortex::platform::sdl
