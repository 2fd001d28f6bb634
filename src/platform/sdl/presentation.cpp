// Presentation: the frame buffer is bottom-up (memory row 0 = bottom row of
// the picture) and the window surface top-down, so picture row r of the
// rectangle comes from memory row bufferHeight - 1 - r. The surface also
// keeps the last frame, from which an expose is repainted.
#include "platform/sdl/presentation.h"

#include <algorithm>
#include <cstring>

#include "platform/sdl/backend_state.h"

namespace lumivortex::platform::sdl {
namespace {

// Surfaces whose pixels are 0x??RRGGBB take the frame's rows unchanged.
bool takesFramePixelsAsIs(const SDL_PixelFormat* format) {
    return format->BytesPerPixel == 4 && format->Rmask == 0x00ff0000 && format->Gmask == 0x0000ff00 &&
           format->Bmask == 0x000000ff;
}

}  // namespace

SDL_Rect copyToWindowSurface(const PresentRequest& request) {
    SDL_Rect copied{0, 0, 0, 0};
    if (!window || !request.pixels) return copied;
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface) return copied;

    const int left = std::max(request.x, 0);
    const int top = std::max(request.y, 0);
    const int right = std::min({request.x + request.width, request.stride, surface->w});
    const int bottom = std::min({request.y + request.height, request.bufferHeight, surface->h});
    if (right <= left || bottom <= top) return copied;

    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return copied;
    const bool asIs = takesFramePixelsAsIs(surface->format);
    const int width = right - left;
    for (int row = top; row < bottom; ++row) {
        const std::uint32_t* source =
            request.pixels + static_cast<std::ptrdiff_t>(request.bufferHeight - 1 - row) * request.stride + left;
        auto* target = static_cast<std::uint8_t*>(surface->pixels) + static_cast<std::ptrdiff_t>(row) * surface->pitch +
                       static_cast<std::ptrdiff_t>(left) * surface->format->BytesPerPixel;
        if (asIs) {
            std::memcpy(target, source, static_cast<std::size_t>(width) * 4);
        } else {
            SDL_ConvertPixels(width, 1, SDL_PIXELFORMAT_ARGB8888, source, width * 4, surface->format->format,
                              target, surface->pitch);
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    copied = {left, top, width, bottom - top};
    return copied;
}

void showSurfaceRect(const SDL_Rect& rect) {
    if (window && rect.w > 0 && rect.h > 0) SDL_UpdateWindowSurfaceRects(window, &rect, 1);
}

}  // namespace lumivortex::platform::sdl

namespace lumivortex::platform {

void presentPixels(const std::uint32_t* pixels, int stride, int bufferHeight, int x, int y, int width,
                   int height) {
    const sdl::PresentRequest request{pixels, stride, bufferHeight, x, y, width, height};
    if (!sdl::onWindowThread()) {
        sdl::presentFromOtherThread(request);
        return;
    }
    sdl::showSurfaceRect(sdl::copyToWindowSurface(request));
}

void repaintWindow() {
    if (sdl::window && SDL_GetWindowSurface(sdl::window)) SDL_UpdateWindowSurface(sdl::window);
}

}  // namespace lumivortex::platform
