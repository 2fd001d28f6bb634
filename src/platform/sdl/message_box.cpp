// Message boxes: the text always goes to standard error as well, since the
// box cannot be shown without a display. SDL's box works from any thread
// and before the video subsystem is started.
#include <cstdio>

#include "platform/sdl/backend_state.h"

namespace lumivortex::platform {

void messageBox(BoxOwner /*owner*/, const std::string& text, const std::string& caption, BoxIcon icon) {
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    // No parent window: the box may come from the worker while the window
    // thread destroys the host window, and a parent would be read by both.
    const Uint32 flags = icon == BoxIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr);
}

}  // namespace lumivortex::platform
