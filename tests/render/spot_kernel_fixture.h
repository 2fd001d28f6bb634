// Shared set-up of the spot kernel tests: a small frame buffer of known
// pixels, four quadrant images, the offset-scale table and a raster state
// for one sprite, plus the plain reference walk the fast kernels are
// checked against.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "kernel_test_support.h"
#include "math/colour.h"
#include "render/kernels/spot_kernels.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex::testing {

inline SpriteKernel spotKernel(KernelMode mode, bool clipped) {
    switch (mode) {
    case KernelMode::Add: return clipped ? drawSpotAddClipped : drawSpotAdd;
    case KernelMode::Subtract: return clipped ? drawSpotSubtractClipped : drawSpotSubtract;
    case KernelMode::Multiply: return clipped ? drawSpotMultiplyClipped : drawSpotMultiply;
    case KernelMode::Alpha: return clipped ? drawSpotAlphaClipped : drawSpotAlpha;
    }
    return nullptr;
}

inline std::uint32_t endMarkerOf(KernelMode mode) { return mode == KernelMode::Multiply ? noTint : 0u; }

// ---------------------------------------------------------------------------
// Reference walk: the kernels' steps one by one, per pixel, with the walk
// state in rasterState exactly as the kernels are described (null source
// rows for finished quadrants, limits tested at every pixel).

inline std::uint32_t referenceTexel(const std::uint32_t* row, std::int32_t byteOffset) {
    return row[byteOffset / 4];
}

inline void referencePixel(KernelMode mode, std::uint32_t* p, std::uint32_t s) {
    const RasterState& rs = rasterState;
    const std::int32_t a = rs.intensity;  // combined brightness after set-up
    switch (mode) {
    case KernelMode::Add:
    case KernelMode::Subtract: {
        std::uint32_t c = rs.tintColour == noTint ? s : modulateColour(s, rs.tintColour);
        if (a != 255) c = scaleChannels(c, a);
        *p = mode == KernelMode::Add ? addColour(*p, c) : subtractColour(*p, c);
        break;
    }
    case KernelMode::Multiply: {
        const std::int32_t level = static_cast<std::int32_t>(s & 0xFF);
        std::uint32_t c = rs.tintColour == noTint ? s : lerpColour(rs.tintColour, noTint, level);
        if (a != 255) c = lerpColour(noTint, c, a);
        *p = modulateColour(*p, c);
        break;
    }
    case KernelMode::Alpha: {
        const std::int32_t w = static_cast<std::int32_t>(s & 0xFF);
        if (rs.alpha == 255) {
            *p = lerpColour(*p, rs.solidColour, w);
        } else {
            const std::uint32_t t = lerpColour(*p, rs.solidColour, rs.alpha);
            *p = lerpColour(*p, t, w);
        }
        break;
    }
    }
}

inline void referenceSetUp(KernelMode mode) {
    RasterState& rs = rasterState;
    if (mode == KernelMode::Alpha) {
        rs.solidColour =
            rs.tintColour == noTint ? rs.spriteColour : modulateColour(rs.spriteColour, rs.tintColour);
        if (rs.intensity != 255) rs.solidColour = lerpColour(0xFF000000u, rs.solidColour, rs.intensity);
    } else {
        rs.intensity = rs.alpha * rs.intensity / 255;
    }
}

// Visits one texel of a quadrant: reads it unless the quadrant is finished,
// ends the quadrant at the marker or at its column limit.
inline void referenceQuadrantStep(KernelMode mode, const std::uint32_t*& srcRow, std::uint32_t* dest, int dx,
                                  int direction, int limitBytes) {
    if (srcRow == nullptr) return;
    const std::uint32_t s = referenceTexel(srcRow, rasterState.srcColOffset);
    if (s == endMarkerOf(mode)) {
        srcRow = nullptr;
        return;
    }
    referencePixel(mode, dest + direction * dx, s);
    if (4 * dx == limitBytes) srcRow = nullptr;
}

inline void referenceSpot(KernelMode mode, bool clipped) {
    RasterState& rs = rasterState;
    referenceSetUp(mode);
    const int r = rs.spanRadius;
    referenceLimits(clipped);
    int dy = rs.firstRow;
    for (;;) {
        rs.srcRowOffset = rs.scaleRow[dy] * 256;
        rs.srcRowUL = rs.srcRowUR = rs.srcRowDL = rs.srcRowDR = nullptr;
        const std::int32_t rowTexels = rs.srcRowOffset / 4;
        if (rs.upActive) {
            rs.destRowUp = framePixels + rowOffsets[rs.centreY - dy] + rs.centreX;
            if (rs.leftActive) rs.srcRowUL = rs.quadUL + rowTexels;
            if (rs.rightActive) rs.srcRowUR = rs.quadUR + rowTexels;
            rs.upActive = dy != rs.rowsUp;
        }
        if (rs.downActive) {
            if (dy != 0) {
                rs.destRowDown = framePixels + rowOffsets[rs.centreY + dy] + rs.centreX;
                if (rs.leftActive) rs.srcRowDL = rs.quadDL + rowTexels;
                if (rs.rightActive) rs.srcRowDR = rs.quadDR + rowTexels;
            }
            rs.downActive = dy != rs.rowsDown;
        }
        for (int dx = rs.firstCol;; ++dx) {
            rs.srcColOffset = rs.scaleRow[dx];
            referenceQuadrantStep(mode, rs.srcRowUL, rs.destRowUp, dx, -1, rs.colsLeftBytes);
            referenceQuadrantStep(mode, rs.srcRowDL, rs.destRowDown, dx, -1, rs.colsLeftBytes);
            if (dx != 0) {
                referenceQuadrantStep(mode, rs.srcRowUR, rs.destRowUp, dx, +1, rs.colsRightBytes);
                referenceQuadrantStep(mode, rs.srcRowDR, rs.destRowDown, dx, +1, rs.colsRightBytes);
            } else if (rs.colsRightBytes == 0) {
                rs.srcRowUR = rs.srcRowDR = nullptr;
            }
            const bool rowDone = rs.srcRowUL == nullptr && rs.srcRowUR == nullptr && rs.srcRowDL == nullptr &&
                                 rs.srcRowDR == nullptr;
            if (rowDone || (!clipped && dx == r)) break;
        }
        if (!rs.upActive && !rs.downActive) return;
        ++dy;
    }
}

// ---------------------------------------------------------------------------

class SpotKernelTest : public ::testing::Test {
protected:
    static constexpr int width = 24;
    static constexpr int height = 20;

    void SetUp() override {
        useFrame(pixels, width, height, 0u);
        buildOffsetScaleTable();
        rasterState = RasterState{};
    }

    void TearDown() override {
        releaseOffsetScaleTable();
        framePixels = nullptr;
    }

    // Viewport pixel (x, y), top row 0.
    std::uint32_t& pixel(int x, int y) { return framePixels[rowOffsets[y] + x]; }

    void fillFrame(std::uint32_t colour) { pixels.assign(pixels.size(), colour); }

    void fillQuadrant(int q, std::uint32_t texel) { std::fill_n(quads[q], quadrantSide * quadrantSide, texel); }

    std::uint32_t& texel(int q, int row, int col) { return quads[q][row * quadrantSide + col]; }

    // What the spot dispatcher writes before a kernel runs.
    void placeSprite(int centreX, int centreY, int spanRadius) {
        placeSquare(centreX, centreY, spanRadius);
        rasterState.pixelRadius = spanRadius + 1;
        placeImage(quads);
    }

    void setColours(std::uint32_t tint, std::uint32_t spriteColour, int alpha, int intensity) {
        rasterState.tintColour = tint;
        rasterState.spriteColour = spriteColour;
        rasterState.alpha = alpha;
        rasterState.intensity = intensity;
    }

    std::vector<std::uint32_t> pixels;
    QuadrantImages quads;
};

}  // namespace lumivortex::testing
