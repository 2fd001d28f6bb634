// Frame buffer state and operations. The buffer is one aligned heap block
// (frameBufferBlock); framePixels normally points at it, but the half
// resolution machinery may point it elsewhere for a while, so releasing
// frees the block, not whatever framePixels shows.
#include "framebuffer/frame_buffer.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "framebuffer/trails.h"
#include "host/memory.h"
#include "host/worker.h"
#include "platform/platform.h"

namespace lumivortex {

std::uint32_t* framePixels = nullptr;
int rowOffsets[rowTableCapacity];
int rowsTopDown = 1;
int viewportLeft = 0, viewportTop = 0;
int viewportWidth = 0, viewportHeight = 0;
int viewportMaxX = -1, viewportMaxY = -1;
int hasMargins = 0;
int viewportChanged = 0;
double zoom = 1.0;
double projectionScale = 0.0;

namespace {

// Keeps frameWidth x frameHeight within int pixel indices.
constexpr int maximumFrameWidth = 32768;
constexpr std::size_t frameAlignment = 64;

std::uint32_t* frameBufferBlock = nullptr;

std::size_t framePixelCount() {
    return static_cast<std::size_t>(frameWidth) * static_cast<std::size_t>(frameHeight);
}

// Copies a rectangle of the picture to the window, bracketed by stop
// checkpoints so a close request ends the worker at its present.
void presentRegion(int x, int y, int width, int height) {
    workerCheckpoint();
    if (framePixels != nullptr && width > 0 && height > 0)
        platform::presentPixels(framePixels, frameWidth, frameHeight, x, y, width, height);
    workerCheckpoint();
}

}  // namespace

void fillPixels(std::uint32_t* pixels, std::size_t count, std::uint32_t colour) {
    std::uint32_t blue = colour & 0xFFu;
    if (((colour >> 8) & 0xFFu) == blue && ((colour >> 16) & 0xFFu) == blue)
        std::memset(pixels, static_cast<int>(blue), count * sizeof(std::uint32_t));
    else
        std::fill_n(pixels, count, colour);
}

void setFrameSize(int width, int height) {
    if (width == fullScreenSize) {
        width = platform::screenWidth();
        height = platform::screenHeight();
        fullScreen = 1;
    } else {
        fullScreen = 0;
    }
    frameWidth = std::clamp(width, minimumFrameSize, maximumFrameWidth);
    frameHeight = std::clamp(height, minimumFrameSize, rowTableCapacity);
    setViewportMargins(0, -1);
}

void setViewportMargins(int left, int top) {
    if (top == -1) top = left;
    // Negative margins would put the viewport outside the buffer.
    left = std::clamp(left, 0, (frameWidth - minimumFrameSize) / 2);
    top = std::clamp(top, 0, (frameHeight - minimumFrameSize) / 2);
    hasMargins = left | top;
    viewportLeft = left;
    viewportTop = top;
    viewportWidth = frameWidth - 2 * left;
    viewportHeight = frameHeight - 2 * top;
    viewportMaxX = viewportWidth - 1;
    viewportMaxY = viewportHeight - 1;
    viewportChanged = 1;
    buildRowTable(rowsTopDown);
    projectionScale = viewportHeight * zoom * (1.0 / 600.0);
}

void buildRowTable(int topDown) {
    assert(viewportHeight <= rowTableCapacity);
    rowsTopDown = topDown;
    int rows = std::min(viewportHeight, rowTableCapacity);
    // Bottom-up buffer: the picture's top row is the last memory row.
    int step = topDown ? -frameWidth : frameWidth;
    int start = topDown ? frameWidth * (frameHeight - viewportTop - 1) + viewportLeft
                        : frameWidth * viewportTop + viewportLeft;
    for (int y = 0; y < rows; ++y) rowOffsets[y] = start + y * step;
}

void createFrameBuffer() {
    if (frameBufferBlock != nullptr) releaseFrameBuffer();
    frameBufferBlock = static_cast<std::uint32_t*>(
        alignedAlloc(framePixelCount() * sizeof(std::uint32_t), frameAlignment, fillUndefined));
    framePixels = frameBufferBlock;
    fillPixels(framePixels, framePixelCount(), backgroundColour);
}

void releaseFrameBuffer() {
    alignedFree(frameBufferBlock);
    frameBufferBlock = nullptr;
    framePixels = nullptr;
}

void recreateFrameBuffer() {
    releaseFrameBuffer();
    createFrameBuffer();
}

void clearFrame(int left, int top) {
    if (top == -1) top = left;
    if (framePixels == nullptr) return;
    if (left == 0) {
        fillPixels(framePixels, framePixelCount(), backgroundColour);
        return;
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    int width = frameWidth - 2 * left;
    for (int row = top; row < frameHeight - top && width > 0; ++row)
        fillPixels(framePixels + static_cast<std::size_t>(row) * frameWidth + left,
                   static_cast<std::size_t>(width), backgroundColour);
}

int needsClear() { return (fadeAmount == 0 || viewportChanged) ? 1 : 0; }

void prepareFrame() {
    if (viewportChanged) {
        if (framePixels != nullptr) fillPixels(framePixels, framePixelCount(), clearColour);
        presentRegion(0, 0, frameWidth, frameHeight);
        viewportChanged = 0;
    }
    clearFrame(viewportLeft, viewportTop);
}

int presentFrame() {
    presentRegion(viewportLeft, viewportTop, viewportWidth, viewportHeight);
    return 1;
}

void presentRect(int x, int y) {
    if (y == -1) y = x;
    if (onWindowThread())
        platform::repaintWindow();
    else
        presentRegion(x, y, frameWidth - 2 * x, frameHeight - 2 * y);
}

}  // namespace lumivortex
