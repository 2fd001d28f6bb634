// Depth buffer reset: byte-wise fills over the current frame geometry,
// limited to the values allocated (the frame may be resized after the
// buffer was made; the depth buffer never is).
#include "framebuffer/depth_buffer.h"

#include <algorithm>
#include <cstring>

#include "framebuffer/frame_buffer.h"

namespace lumivortex {

std::int32_t* depthBuffer = nullptr;
std::size_t depthBufferSize = 0;

namespace {

void fillDepth(std::size_t first, std::size_t count) {
    if (first >= depthBufferSize) return;
    count = std::min(count, depthBufferSize - first);
    std::memset(depthBuffer + first, depthClearValue & 0xFF, count * sizeof *depthBuffer);
}

}  // namespace

void clearDepthBuffer() {
    if (depthBuffer == nullptr) return;
    const auto width = static_cast<std::size_t>(frameWidth);
    if (!hasMargins) {
        fillDepth(0, width * static_cast<std::size_t>(frameHeight));
        return;
    }
    const auto columns = static_cast<std::size_t>(frameWidth - 2 * viewportLeft);
    for (int row = viewportTop; row < frameHeight - viewportTop; ++row)
        fillDepth(static_cast<std::size_t>(row) * width + static_cast<std::size_t>(viewportLeft), columns);
}

}  // namespace lumivortex
