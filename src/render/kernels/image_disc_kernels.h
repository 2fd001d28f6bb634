// Image disc kernels: composite one projected Disc sprite that was defined
// with an image name ("compBALL", "compSPOT" or a picture resource) into the
// frame buffer. Its four quadrant images are resampled like a spot's, but
// cut to the ball of sphereTable and softened at the silhouette: every
// sampled texel gets a coverage weight from the ball's height there, the
// steepness of its surface and the sprite's size on screen. Everything they
// read comes from RasterState (centre, span and pixel radius, tinyBall, scale
// row, quadrant images, tint, alpha, intensity and, when clipped, the limits
// setupClip derives); their only output is framePixels, plus the coverage of
// the last pixel and, in the add, subtract and multiply modes, the combined
// intensity left in RasterState. No depth test.
#pragma once

namespace lumivortex {

// Reached through a sprite's unclippedKernel / clippedKernel. Preconditions
// (the image dispatcher's): pixelRadius >= 1 and tinyBall written for this
// sprite; unclipped: the whole square inside the viewport; clipped: the
// square overlaps it.
void drawImageDiscAlpha();  // blend modes 0 and 1
void drawImageDiscAlphaClipped();
void drawImageDiscAdd();
void drawImageDiscAddClipped();
void drawImageDiscSubtract();
void drawImageDiscSubtractClipped();
void drawImageDiscMultiply();
void drawImageDiscMultiplyClipped();

}  // namespace lumivortex
