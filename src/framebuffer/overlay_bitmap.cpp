// Load: resource -> image service (decode, optional rescale) -> tinted copy
// in the overlay's own pixels (or an alpha channel from a second image).
// Draw: the overlay rectangle clipped to the viewport, each row combined
// with framePixels[rowOffsets[y] + x] by the draw kind.
#include "framebuffer/overlay_bitmap.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "framebuffer/frame_buffer.h"
#include "framebuffer/image_service.h"
#include "host/fatal_error.h"
#include "host/memory.h"
#include "math/colour.h"

namespace lumivortex {

std::uint32_t imageTint = 0xFFFFFFFF;

namespace {

// Loads, rescales and locks a resource image inside an imaging bracket;
// releaseImage ends the bracket. width -1 keeps the image's own size.
void lockImage(std::string_view name, int width, int height) {
    acquireImaging();
    if (loadResourceImage(name) == 0) fatalError("JPG or BMP Resource Not Found");
    if (width != -1) {
        if (height == -1) height = width;
        if (width <= 0 || height <= 0 || resizeCurrentImage(width, height) == 0) {
            fatalError("Overlay size must be positive");
        }
    }
    if (lockCurrentImage() == 0) fatalError("JPG or BMP Resource Not Found");
}

void releaseImage() {
    unlockCurrentImage();
    releaseCurrentImage();
    releaseImaging();
}

// Pixel i of the locked image, rows top to bottom, whatever its stride.
std::uint32_t decodedPixel(int i) {
    const auto* row = reinterpret_cast<const unsigned char*>(decodedPixels) +
                      static_cast<std::ptrdiff_t>(i / decodedWidth) * decodedStride;
    std::uint32_t p;
    std::memcpy(&p, row + static_cast<std::ptrdiff_t>(i % decodedWidth) * 4, sizeof p);
    return p;
}

// Each channel times the tint's channel / 256, alpha 0xFF.
std::uint32_t tinted(std::uint32_t p, std::uint32_t tint) {
    std::uint32_t out = 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        out |= (((p >> shift) & 0xFFu) * ((tint >> shift) & 0xFFu) >> 8) << shift;
    }
    return out;
}

// Per-pixel rules, each returning the new frame pixel d for overlay pixel s.
// Lambdas rather than functions, so that every draw loop inlines its rule.
constexpr auto blendPixel = [](std::uint32_t d, std::uint32_t s) {
    const auto a = static_cast<std::int32_t>(s >> 24);
    const std::uint32_t mixed = lerpColour(d, s, a);
    return a == 255 ? s : (a == 0 ? d : mixed);
};
constexpr auto addPixel = [](std::uint32_t d, std::uint32_t s) { return addColour(d, s); };
constexpr auto subtractPixel = [](std::uint32_t d, std::uint32_t s) { return subtractColour(d, s); };
constexpr auto cutBlackPixel = [](std::uint32_t d, std::uint32_t s) { return s == 0xFF000000u ? 0u : d; };
constexpr auto cutWhitePixel = [](std::uint32_t d, std::uint32_t s) {
    return s == 0xFFFFFFFFu ? 0x00FFFFFFu : d;
};

}  // namespace

OverlayBitmap::OverlayBitmap(std::string_view colourName, std::string_view alphaName, int newWidth,
                             int newHeight) {
    loadOverlay(colourName, alphaName, newWidth, newHeight);
}

OverlayBitmap::~OverlayBitmap() { alignedFree(pixels); }

int OverlayBitmap::loadOverlay(std::string_view colourName, std::string_view alphaName, int newWidth,
                               int newHeight) {
    alignedFree(pixels);
    pixels = nullptr;
    width = height = 0;
    auto takeLockedSize = [this] {
        width = decodedWidth;
        height = decodedHeight;
        pixels = static_cast<std::uint32_t*>(
            alignedAlloc16(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, fillUndefined));
    };

    if (!colourName.empty()) {
        lockImage(colourName, newWidth, newHeight);
        takeLockedSize();
        for (int i = 0; i < width * height; ++i) pixels[i] = tinted(decodedPixel(i), imageTint);
        releaseImage();
    }
    if (!alphaName.empty()) {
        if (pixels != nullptr) {
            // Rescaled to the colour image's size, so it covers it pixel for pixel.
            lockImage(alphaName, width, height);
            for (int i = 0; i < width * height; ++i) {
                pixels[i] = (pixels[i] & 0x00FFFFFFu) | ((decodedPixel(i) & 0xFFu) << 24);
            }
        } else {
            lockImage(alphaName, newWidth, newHeight);
            takeLockedSize();
            for (int i = 0; i < width * height; ++i) pixels[i] = (decodedPixel(i) & 0xFFu) << 24 | imageTint;
        }
        releaseImage();
    }
    imageTint = 0xFFFFFFFF;
    right = left + width - 1;
    bottom = top + height - 1;
    return pixels != nullptr ? 1 : 0;
}

void OverlayBitmap::placeAt(int newLeft, int newTop, int kind) {
    if (kind != -1) drawKind = kind;
    left = newLeft;
    top = newTop;
    right = left + width - 1;
    bottom = top + height - 1;
}

void OverlayBitmap::anchorBottomLeft(int marginX, int marginY, int kind) {
    placeAt(marginX, viewportHeight - height - marginY, kind);
}

void OverlayBitmap::anchorBottomRight(int marginX, int marginY, int kind) {
    placeAt(viewportWidth - width - marginX, viewportHeight - height - marginY, kind);
}

void OverlayBitmap::drawOverlay() const {
    if (drawKind >= overlayHiddenFirst && drawKind <= overlayHiddenLast) return;
    if (pixels == nullptr || framePixels == nullptr) return;
    // The visible part: the rectangle clipped to the viewport.
    const int x0 = std::max(left, 0);
    const int x1 = std::min(left + width, viewportWidth) - 1;
    const int y0 = std::max(top, 0);
    const int y1 = std::min({top + height, viewportHeight, rowTableCapacity}) - 1;
    if (x0 > x1 || y0 > y1) return;
    const int count = x1 - x0 + 1;

    auto eachRow = [&](auto combineRow) {
        for (int y = y0; y <= y1; ++y) {
            combineRow(framePixels + rowOffsets[y] + x0,
                       pixels + static_cast<std::ptrdiff_t>(y - top) * width + (x0 - left));
        }
    };
    auto combineWith = [&](auto rule) {
        eachRow([&](std::uint32_t* d, const std::uint32_t* s) {
            for (int k = 0; k < count; ++k) d[k] = rule(d[k], s[k]);
        });
    };
    switch (drawKind) {
        case overlayBlend: combineWith(blendPixel); break;
        case overlayAdd: combineWith(addPixel); break;
        case overlaySubtract: combineWith(subtractPixel); break;
        case overlayCutBlack: combineWith(cutBlackPixel); break;
        case overlayCutWhite: combineWith(cutWhitePixel); break;
        default:
            eachRow([&](std::uint32_t* d, const std::uint32_t* s) { std::copy_n(s, count, d); });
            break;
    }
}

}  // namespace lumivortex
