// Message boxes: the text always goes to standard error as well, since the
// box cannot be shown without a display. SDL wants a box without a parent on
// the main thread, so a box asked for by the worker while the window exists
// is shown by the window thread, the worker waiting until it is dismissed.
// Before the window exists (the help box) the box is shown directly.
#include <cstdio>

#include "platform/sdl/backend_state.h"
#include "platform/sdl/cross_thread_calls.h"

namespace lumivortex::platform {

void messageBox(BoxOwner /*owner*/, const std::string& text, const std::string& caption, BoxIcon icon) {
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    // No parent window: the box outlives nothing it depends on.
    const Uint32 flags = icon == BoxIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    if (!sdl::onWindowThread() && sdl::showBoxFromOtherThread({flags, caption.c_str(), text.c_str()})) return;
    SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr);
}

}  // namespace lumivortex::platform
