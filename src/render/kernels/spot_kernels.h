// Spot kernels: composite one projected sprite of the Spot family into the
// frame buffer. Everything they read comes from RasterState (centre, span
// radius, scale row, the four quadrant images, tint, alpha, intensity and,
// when clipped, the limits setupClip derives); their only output is
// framePixels. One per blend mode and clipping case; they are reached through
// a sprite's unclippedKernel / clippedKernel slots.
#pragma once

namespace lumivortex {

void drawSpotAdd();
void drawSpotAddClipped();
void drawSpotSubtract();
void drawSpotSubtractClipped();
void drawSpotMultiply();
void drawSpotMultiplyClipped();
void drawSpotAlpha();
void drawSpotAlphaClipped();

}  // namespace lumivortex
