// The render pipeline: turns the current state of every particle system
// into one finished frame on the screen. Per frame it builds the depth-sorted
// draw list, installs the resolution of this frame, clears or fades the
// viewport and the depth buffer, hands every (particle, sprite) pair back to
// front to projectSprite, expands a half-resolution picture, calls drawHook
// (the overlays) and presents the viewport.
#pragma once

namespace lumivortex {

// Called once per frame after the particles and before the frame is
// presented. Starts as a function that does nothing; set by the application.
using DrawHook = void (*)();
extern DrawHook drawHook;

// The redraw function of the program. Worker thread only.
void renderFrame();

}  // namespace lumivortex
