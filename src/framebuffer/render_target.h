// The render target: the frame buffer together with a depth buffer of the
// same size, allocated and released as one unit by the particle library's
// start-up and release.
#pragma once

namespace lumivortex {

// Starts from scratch (also when called again): a fresh zeroed depth buffer
// of the current frame size, a fresh frame buffer, top-down rows.
void initRenderTarget();
// Releases the depth buffer, the frame buffer and any half buffer.
void shutdownRenderTarget();

}  // namespace lumivortex
