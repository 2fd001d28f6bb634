// The host window: created hidden, shown on request, destroyed through the
// default handling of Close. The window procedure sees every message on the
// window thread only; other threads reach it through cross-thread calls.
#include <cstdio>

#include "platform/sdl/backend_state.h"
#include "platform/sdl/cross_thread_calls.h"
#include "platform/sdl/icon_image.h"
#include "platform/sdl/timer_table.h"
#include "platform/x11/preview_window.h"

namespace lumivortex::platform::sdl {

SDL_Window* window = nullptr;
WindowProc windowProc = nullptr;

namespace {

WindowStyle windowStyle = WindowStyle::Popup;
int requestedWidth = 0;   // outer size asked for (the overlapped style includes its frame)
int requestedHeight = 0;

// The window icon: the largest image of the icon resource.
void setWindowIcon(const std::string& iconResource) {
    if (iconResource.empty()) return;
    IconImage icon;
    if (!loadIcon(iconResource, 48, icon)) return;  // the window system's default icon stays
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(icon.argb.data(), icon.width, icon.height, 32,
                                                              icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

// The procedure decides the largest size the user may give the window.
void applyMaximumSize() {
    Message info{MessageType::GetMinMaxInfo};
    dispatch(info);
    if (info.maxTrackWidth > 0 && info.maxTrackHeight > 0) {
        SDL_SetWindowMaximumSize(window, info.maxTrackWidth, info.maxTrackHeight);
    }
}

// SDL sizes the client area; a decorated window's outer size is the
// requested one once the window manager has told us its frame.
void fitOuterSize() {
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0) return;
    if (top + left + bottom + right == 0) return;
    const int width = requestedWidth - left - right;
    const int height = requestedHeight - top - bottom;
    if (width > 0 && height > 0) SDL_SetWindowSize(window, width, height);
}

}  // namespace

long dispatch(Message& message) { return windowProc ? windowProc(message) : 0; }

void destroyWindow() {
    if (x11::previewActive()) {
        x11::destroyPreviewWindow();
        return;
    }
    if (!window) return;
    closeCrossThreadCalls();
    killAllTimers();
    SDL_DestroyWindow(window);
    window = nullptr;
    dispatch(MessageType::Destroy);
}

}  // namespace lumivortex::platform::sdl

namespace lumivortex::platform {

bool createWindow(const std::string& title, int x, int y, int width, int height, WindowStyle style,
                  const std::string& iconResource, std::uintptr_t parent, WindowProc proc) {
    using sdl::window;
    if (style == WindowStyle::PreviewChild) {
        sdl::windowProc = proc;
        return x11::createPreviewWindow(parent, width, height, proc);
    }
    if (window) return false;  // one host window per process
    const Uint32 flags =
        SDL_WINDOW_HIDDEN | (style == WindowStyle::Popup ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_RESIZABLE);
    window = SDL_CreateWindow(title.c_str(), x, y, width, height, flags);
    if (!window) {
        std::fprintf(stderr, "cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    sdl::windowProc = proc;
    sdl::windowStyle = style;
    sdl::requestedWidth = width;
    sdl::requestedHeight = height;
    sdl::openCrossThreadCalls();
    sdl::setWindowIcon(iconResource);
    sdl::applyMaximumSize();
    return true;
}

void showWindow() {
    using sdl::window;
    if (!window) return;
    SDL_ShowWindow(window);
    if (sdl::windowStyle == WindowStyle::Popup) SDL_RaiseWindow(window);
    else sdl::fitOuterSize();
}

void showCursor(int show) {
    if (x11::previewActive()) return;  // the preview never touches the cursor
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

long defaultWindowProc(Message& message) {
    if (message.type == MessageType::Close) sdl::destroyWindow();
    return 0;
}

long sendMessage(const Message& message) {
    if (!sdl::onWindowThread()) return sdl::sendFromOtherThread(message);
    if (!sdl::window && !x11::previewActive()) return 0;
    Message copy = message;
    return sdl::dispatch(copy);
}

}  // namespace lumivortex::platform
