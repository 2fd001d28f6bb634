// Shared by the sprite kernel tests: the blend modes, the frame buffer and
// quadrant images a kernel draws with, what a dispatcher writes into
// rasterState before a kernel runs, the limits of the reference walks, a
// way to draw and restore the input, and the random sprite helpers. Each
// test file adds its own kernels, reference walk and fixture on top.
#pragma once

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "host/memory.h"
#include "math/colour.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex::testing {

enum class KernelMode { Add, Subtract, Multiply, Alpha };
inline constexpr KernelMode allModes[] = {KernelMode::Add, KernelMode::Subtract, KernelMode::Multiply,
                                          KernelMode::Alpha};

inline const char* modeName(KernelMode mode) {
    switch (mode) {
    case KernelMode::Add: return "add";
    case KernelMode::Subtract: return "subtract";
    case KernelMode::Multiply: return "multiply";
    case KernelMode::Alpha: return "alpha";
    }
    return "?";
}

// A frame of w x h pixels, all `fill`, in `pixels`, which the kernels then
// draw into.
inline void useFrame(std::vector<std::uint32_t>& pixels, int w, int h, std::uint32_t fill) {
    setFrameSize(w, h);
    pixels.assign(static_cast<std::size_t>(frameWidth) * static_cast<std::size_t>(frameHeight), fill);
    framePixels = pixels.data();
}

// The four quadrant images of a sprite, zeroed, aligned as the image service
// aligns them; indexed by QuadUpLeft ... QuadDownRight.
class QuadrantImages {
public:
    QuadrantImages() {
        for (std::uint32_t*& q : images_)
            q = static_cast<std::uint32_t*>(alignedAlloc(quadrantBytes, quadrantAlignment, fillZero));
    }
    ~QuadrantImages() {
        for (std::uint32_t* q : images_) alignedFree(q);
    }
    QuadrantImages(const QuadrantImages&) = delete;
    QuadrantImages& operator=(const QuadrantImages&) = delete;

    std::uint32_t* operator[](int q) const { return images_[q]; }
    std::uint32_t* const* begin() const { return images_; }
    std::uint32_t* const* end() const { return images_ + 4; }

private:
    std::uint32_t* images_[4] = {};
};

// What a dispatcher writes for a square of spanRadius around the centre.
inline void placeSquare(int centreX, int centreY, int spanRadius) {
    RasterState& rs = rasterState;
    rs.spanRadius = spanRadius;
    rs.centreX = centreX;
    rs.centreY = centreY;
    rs.left = centreX - spanRadius;
    rs.right = centreX + spanRadius;
    rs.top = centreY - spanRadius;
    rs.bottom = centreY + spanRadius;
}

// What an image dispatcher writes besides the square: the scale row of the
// span radius and the quadrant images.
inline void placeImage(const QuadrantImages& quads) {
    RasterState& rs = rasterState;
    rs.scaleRow = offsetScaleRow(rs.spanRadius);
    rs.quadUL = quads[QuadUpLeft];
    rs.quadUR = quads[QuadUpRight];
    rs.quadDL = quads[QuadDownLeft];
    rs.quadDR = quads[QuadDownRight];
}

// Whether the placed square lies wholly inside the viewport (the
// dispatcher's choice between the unclipped and the clipped kernel).
inline bool insideViewport() {
    const RasterState& rs = rasterState;
    return rs.left >= 0 && rs.top >= 0 && rs.right <= viewportMaxX && rs.bottom <= viewportMaxY;
}

// The limits a reference walk starts from: setupClip's when clipped, else
// the whole square with every half and side active.
inline void referenceLimits(bool clipped) {
    RasterState& rs = rasterState;
    if (clipped) {
        setupClip();
        return;
    }
    const int r = rs.spanRadius;
    rs.upActive = rs.downActive = rs.leftActive = rs.rightActive = 1;
    rs.rowsUp = rs.rowsDown = r;
    rs.colsLeftBytes = rs.colsRightBytes = 4 * r;
    rs.firstRow = rs.firstCol = 0;
}

// The frame and raster state one draw left.
struct DrawOutcome {
    std::vector<std::uint32_t> frame;
    RasterState state;
};

// Runs `draw` on the current frame and raster state and returns what it
// left; both are then restored, so the next draw starts from the same input.
template <class Draw>
DrawOutcome drawOutcome(std::vector<std::uint32_t>& pixels, Draw draw) {
    const std::vector<std::uint32_t> before = pixels;
    const RasterState input = rasterState;
    draw();
    DrawOutcome outcome{std::exchange(pixels, before), rasterState};
    framePixels = pixels.data();
    rasterState = input;
    return outcome;
}

// Random sprites, from the same seed in every test.
struct KernelRandom {
    std::mt19937 rng{20261211};

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool chance(int percent) { return uniform(0, 99) < percent; }
    std::uint32_t anyColour() { return static_cast<std::uint32_t>(rng()); }

    // No tint, opaque white or any colour.
    std::uint32_t randomTint() {
        const int pick = uniform(0, 3);
        if (pick == 0) return noTint;
        if (pick == 1) return 0xFFFFFFFFu;
        return anyColour();
    }

    // Full (255) in 40 %, else 1..255.
    int randomWeight() { return chance(40) ? 255 : uniform(1, 255); }
};

// Only the texels a span radius samples matter: fills those, quadrant by
// quadrant, row by row, with next().
template <class Next>
void fillSampledTexels(const QuadrantImages& quads, int spanRadius, Next next) {
    const std::int32_t* scale = offsetScaleRow(spanRadius);
    for (int q = 0; q < 4; ++q)
        for (int dy = 0; dy <= spanRadius; ++dy)
            for (int dx = 0; dx <= spanRadius; ++dx) quads[q][scale[dy] / 4 * quadrantSide + scale[dx] / 4] = next();
}

}  // namespace lumivortex::testing
