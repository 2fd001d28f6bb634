// Depth-tested ball kernels: draw a DepthBall sprite (normally the shaded
// "compBALL" image) and test every pixel against depthBuffer, so that balls
// which intersect in space intersect on screen too, their seams and rims
// softened. Inputs come from RasterState (centre, span radius, pixel
// radius, centre depth, tinyBall, scale row, quadrant images, alpha, tint,
// intensity and, when clipped, the limits setupClip derives); the outputs
// are framePixels and depthBuffer. These are the only kernels that touch
// depthBuffer.
#pragma once

#include <cstdint>

namespace lumivortex {

// The kernel pair of DepthBall sprites, reached through a sprite's
// unclippedKernel / clippedKernel. Preconditions (the image dispatcher's):
// pixelRadius 1..255, centreDepth within +-2^30, depthBuffer and the
// offset-scale and sphere tables exist; unclipped: the whole square inside
// the viewport; clipped: the square overlaps it.
void drawDepthBall();
void drawDepthBallClipped();

// Depth-tests one pixel and, where the ball is in front, blends `colour`
// (a quadrant texel) into *pixel and stores the ball's depth in *depth.
// Reads pixelDepth, depthFloor (-2036..-1) and depthDivisor (0..16) as the
// per-pixel set-up leaves them, and alpha, tintColour and intensity, from
// rasterState.
void writeDepthPixel(std::uint32_t* pixel, std::int32_t* depth, std::uint32_t colour);

}  // namespace lumivortex
