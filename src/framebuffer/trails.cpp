// Trails. fadeFrame walks the viewport rows through rowOffsets and rewrites
// each pixel with one of three fades chosen once per frame from fadeAmount
// and backgroundColour.
#include "framebuffer/trails.h"

#include <algorithm>
#include <cstdint>

#include "framebuffer/frame_buffer.h"
#include "math/colour.h"

namespace lumivortex {

int fadeAmount = 0;

namespace {

// Applies fade(pixel) to every viewport pixel.
template <class Fade>
void fadeViewport(Fade fade) {
    if (framePixels == nullptr) return;
    for (int y = 0; y < viewportHeight; ++y) {
        std::uint32_t* row = framePixels + rowOffsets[y];
        for (int x = 0; x < viewportWidth; ++x) row[x] = fade(row[x]);
    }
}

// c - n where that stays within 0..255, else 0; n is limited to -256..256,
// beyond which every channel leaves the range anyway.
std::uint32_t subtractChannels(std::uint32_t pixel, int n) {
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int c = static_cast<int>((pixel >> shift) & 0xFF) - n;
        const std::uint32_t inRange = static_cast<unsigned>(c) <= 255u ? 0xFFu : 0u;
        out |= (static_cast<std::uint32_t>(c) & inRange) << shift;
    }
    return out;
}

}  // namespace

void fadeFrame() {
    if (fadeAmount == 0) return;
    if (fadeAmount == fadeToBackground) {
        const std::uint32_t background = backgroundColour;
        if (background == 0) {
            // Halving towards black: one shift, the mask drops the bit each
            // channel shifts into its neighbour and the alpha byte.
            fadeViewport([](std::uint32_t p) { return (p >> 1) & 0x7F7F7Fu; });
        } else {
            fadeViewport([background](std::uint32_t p) { return lerpColour(p, background, 127); });
        }
        return;
    }
    const int n = std::clamp(fadeAmount, -256, 256);
    fadeViewport([n](std::uint32_t p) { return subtractChannels(p, n); });
}

}  // namespace lumivortex
