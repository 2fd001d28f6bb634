// Half resolution keeps two copies of the frame-buffer geometry: the full
// state saved when the half state is installed, and the half state made once
// by setFrameSize at the first switch. Switching copies the fields and the
// used part of the row table; no pixel is touched until the expansion.
#include "framebuffer/half_resolution.h"

#include <algorithm>
#include <cstring>

#include "framebuffer/frame_buffer.h"
#include "host/memory.h"

namespace lumivortex {

int halfResRequested = 0;
int halfResActive = 0;
int halfResPrepared = 0;
std::uint32_t* halfBuffer = nullptr;

namespace {

// The frame-buffer globals that describe one resolution.
struct ResolutionState {
    int frameWidth, frameHeight;
    int viewportLeft, viewportTop, hasMargins;
    int viewportWidth, viewportHeight, viewportMaxX, viewportMaxY;
    double projectionScale, zoom;
    std::uint32_t* framePixels;
    int rowOffsets[rowTableCapacity];  // the first viewportHeight entries are in use
};

ResolutionState fullState;
ResolutionState halfState;

void saveState(ResolutionState& s) {
    s.frameWidth = frameWidth;
    s.frameHeight = frameHeight;
    s.viewportLeft = viewportLeft;
    s.viewportTop = viewportTop;
    s.hasMargins = hasMargins;
    s.viewportWidth = viewportWidth;
    s.viewportHeight = viewportHeight;
    s.viewportMaxX = viewportMaxX;
    s.viewportMaxY = viewportMaxY;
    s.projectionScale = projectionScale;
    s.zoom = zoom;
    s.framePixels = framePixels;
    std::copy_n(rowOffsets, viewportHeight, s.rowOffsets);
}

void installState(const ResolutionState& s) {
    frameWidth = s.frameWidth;
    frameHeight = s.frameHeight;
    viewportLeft = s.viewportLeft;
    viewportTop = s.viewportTop;
    hasMargins = s.hasMargins;
    viewportWidth = s.viewportWidth;
    viewportHeight = s.viewportHeight;
    viewportMaxX = s.viewportMaxX;
    viewportMaxY = s.viewportMaxY;
    projectionScale = s.projectionScale;
    zoom = s.zoom;
    framePixels = s.framePixels;
    std::copy_n(s.rowOffsets, s.viewportHeight, rowOffsets);
}

// First switch: the half geometry comes from setFrameSize (margins 0, the
// projection scaled for the half height, viewportChanged set so that the
// first half frame is cleared completely). setFrameSize keeps a minimum
// size, so the half buffer is sized from the geometry it actually made.
void prepareHalfResolution() {
    const int keepFullScreen = fullScreen;  // the window keeps its style
    setFrameSize(frameWidth / 2, frameHeight / 2);
    fullScreen = keepFullScreen;
    const std::size_t pixels = static_cast<std::size_t>(frameWidth) * static_cast<std::size_t>(frameHeight);
    halfBuffer = static_cast<std::uint32_t*>(alignedAlloc16(pixels * sizeof(std::uint32_t), fillUndefined));
    framePixels = halfBuffer;
    saveState(halfState);
    halfResPrepared = 1;
}

// One full memory row from one half memory row: each half pixel fills two
// full pixels; an odd last full column repeats the last half pixel.
void expandRow(const std::uint32_t* half, int halfWidth, std::uint32_t* full, int fullWidth) {
    const int pairs = std::min(fullWidth / 2, halfWidth);
    for (int c = 0; c < pairs; ++c) full[2 * c] = full[2 * c + 1] = half[c];
    for (int x = 2 * pairs; x < fullWidth; ++x) full[x] = half[std::min(x / 2, halfWidth - 1)];
}

}  // namespace

void restoreFullResolution() {
    if (!halfResPrepared || !halfResActive) return;
    installState(fullState);
    halfResActive = 0;
}

void updateHalfResolution() {
    if (!halfResRequested) {
        restoreFullResolution();
        return;
    }
    if (halfResActive) return;
    // The full state is saved at every switch, so margins or zoom changed
    // between two half-resolution frames survive the next restore.
    saveState(fullState);
    if (halfResPrepared) {
        installState(halfState);
    } else {
        prepareHalfResolution();
    }
    halfResActive = 1;
}

void upscaleHalfResolution() {
    if (!halfResActive) return;
    const std::uint32_t* half = framePixels;
    const int halfWidth = frameWidth;
    const int halfHeight = frameHeight;
    restoreFullResolution();
    if (framePixels == nullptr) return;  // no full buffer to expand into

    // Memory rows bottom-up in both buffers: full row y shows half row y / 2
    // (the last half row again for an odd last full row). The second row of
    // each pair is a copy of the first.
    for (int y = 0; y < frameHeight; ++y) {
        std::uint32_t* full = framePixels + static_cast<std::size_t>(y) * frameWidth;
        const int source = std::min(y / 2, halfHeight - 1);
        if (y > 0 && std::min((y - 1) / 2, halfHeight - 1) == source) {
            std::memcpy(full, full - frameWidth, static_cast<std::size_t>(frameWidth) * sizeof *full);
        } else {
            expandRow(half + static_cast<std::size_t>(source) * halfWidth, halfWidth, full, frameWidth);
        }
    }
}

void releaseHalfResolution() {
    restoreFullResolution();
    releaseFrameBuffer();
    alignedFree(halfBuffer);
    halfBuffer = nullptr;
    halfResPrepared = 0;
    halfResActive = 0;
}

}  // namespace lumivortex
