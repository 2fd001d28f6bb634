// Opening the display. SDL quietly falls back to a video driver that shows
// nothing when no X server is reachable; the program would then run
// invisibly, so that case is reported as "no display" instead.
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/sdl/backend_state.h"

namespace lumivortex::platform::sdl {

std::atomic<Uint32> wakeEventType{0};
std::atomic<Uint32> timerEventType{0};

namespace {

std::atomic<std::thread::id> windowThread{};

bool isInvisibleDriver(const char* driver) {
    return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

// The window surface must be a plain shared-memory image: SDL would
// otherwise present through OpenGL, which is emulated on the CPU on
// machines without a GPU and costs several times as much. Set before any
// video start, hence before any surface exists.
void chooseSoftwarePresentation() { SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0"); }

// The application sizes its frame before the host opens the display, so
// asking for the screen size starts the video subsystem if need be.
SDL_DisplayMode desktopMode() {
    SDL_DisplayMode mode{};
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        chooseSoftwarePresentation();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return mode;
    }
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) mode.w = mode.h = 0;
    return mode;
}

}  // namespace

void becomeWindowThread() { windowThread = std::this_thread::get_id(); }
bool onWindowThread() { return windowThread.load() == std::this_thread::get_id(); }

}  // namespace lumivortex::platform::sdl

namespace lumivortex::platform {

bool initialise() {
    sdl::chooseSoftwarePresentation();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        std::fprintf(stderr, "No display available: %s\n", SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (sdl::isInvisibleDriver(driver) || SDL_GetNumVideoDisplays() < 1) {
        std::fprintf(stderr, "No display available: no X server could be reached (DISPLAY is %s)\n",
                     SDL_getenv("DISPLAY") ? SDL_getenv("DISPLAY") : "not set");
        return false;
    }
    const Uint32 first = SDL_RegisterEvents(2);
    if (first == static_cast<Uint32>(-1)) {
        std::fprintf(stderr, "No display available: %s\n", SDL_GetError());
        return false;
    }
    sdl::wakeEventType = first;
    sdl::timerEventType = first + 1;
    sdl::becomeWindowThread();
    return true;
}

int screenWidth() { return sdl::desktopMode().w; }
int screenHeight() { return sdl::desktopMode().h; }

}  // namespace lumivortex::platform
