// The preview child: a plain Xlib window inside the screen-saver host's
// preview window, painted by the host's procedure through fillBlack and
// drawIcon. It has its own display connection and its own event loop; any
// X error on that connection ends the program quietly with exit code 0.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace lumivortex::platform::x11 {

// Creates and maps the child of `parent` with the given size.
bool createPreviewWindow(std::uintptr_t parent, int width, int height, WindowProc proc);
bool previewActive();

// Waits for the next X event and dispatches it (Paint on expose, Destroy
// when the child is gone, for instance because its parent was destroyed).
void handleNextPreviewEvent();

// Destroys the child; Destroy follows through the event loop.
void destroyPreviewWindow();

}  // namespace lumivortex::platform::x11
