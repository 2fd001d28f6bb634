// Adaptive half resolution: on a slow machine every frame is drawn into a
// buffer of half the width and half the height and expanded two by two
// before it is presented.
//
// Data flow per frame (render pipeline): updateHalfResolution installs the
// half state (framePixels, rowOffsets, the viewport globals and
// projectionScale all describe the half buffer, so every drawing routine
// works on it unawares); the frame is cleared, faded and drawn there;
// upscaleHalfResolution puts the full state back and expands the half
// picture over the whole full buffer; overlays and presentation then work
// at full resolution.
#pragma once

#include <cstdint>

namespace lumivortex {

extern int halfResRequested;   // set by the application; never cleared here
extern int halfResActive;      // the half state is installed for this frame
extern int halfResPrepared;    // halfBuffer and both saved states exist
extern std::uint32_t* halfBuffer;  // the half-size pixels, null until the first switch

// First frame-buffer step of every frame: installs the half state when half
// resolution is requested (switching on the first time), else the full one.
void updateHalfResolution();
// After the particles: back to the full state, and every full-buffer pixel
// (margins included) is rewritten from the half picture, each half pixel
// becoming a 2 x 2 block. With an odd width or height the last full column
// or row repeats the last half column or row.
void upscaleHalfResolution();
// Puts the saved full state back when the half state is installed.
void restoreFullResolution();
// Returns to the full state, releases the frame buffer and the half buffer
// and forgets both saved states; halfResRequested keeps its value.
void releaseHalfResolution();

}  // namespace lumivortex
