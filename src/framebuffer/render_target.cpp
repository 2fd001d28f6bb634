// Render target start-up and release. The half-resolution release is the
// one place that gives up the frame buffer, so both operations go through
// it; the depth buffer is sized for the full frame and serves the half
// frame from its first part.
#include "framebuffer/render_target.h"

#include <cstdint>

#include "framebuffer/depth_buffer.h"
#include "framebuffer/frame_buffer.h"
#include "framebuffer/half_resolution.h"
#include "host/memory.h"

namespace lumivortex {

namespace {

void releaseDepthBuffer() {
    globalBlockFree(depthBuffer);
    depthBuffer = nullptr;
    depthBufferSize = 0;
}

}  // namespace

void initRenderTarget() {
    releaseDepthBuffer();
    releaseHalfResolution();
    depthBufferSize = static_cast<std::size_t>(frameWidth) * static_cast<std::size_t>(frameHeight);
    depthBuffer = static_cast<std::int32_t*>(globalBlockAlloc(depthBufferSize * sizeof(std::int32_t), 0));
    recreateFrameBuffer();
    buildRowTable(1);
}

void shutdownRenderTarget() {
    releaseDepthBuffer();
    releaseHalfResolution();
}

}  // namespace lumivortex
