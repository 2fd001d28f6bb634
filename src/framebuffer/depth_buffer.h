// The depth buffer: one signed 32-bit value per frame-buffer pixel, addressed
// like framePixels (viewport pixel (x, y) is element rowOffsets[y] + x).
// Smaller values are nearer. The depth-tested ball kernels read and write
// it; the render pipeline resets the viewport part once per frame. It is
// allocated with the frame buffer by initRenderTarget (render_target.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumivortex {

extern std::int32_t* depthBuffer;       // null while none exists
extern std::size_t depthBufferSize;     // values in depthBuffer

// Lies behind every depth a ball writes; four equal bytes, so the reset is
// one byte-wise fill.
inline constexpr std::int32_t depthClearValue = 0x1F1F1F1F;

// Sets the values of the viewport (the whole buffer when there are no
// margins) to depthClearValue. At half resolution only the half-size part
// is reset, which is exactly what the half-size row table addresses.
void clearDepthBuffer();

}  // namespace lumivortex
