// Disc coverage kernels: draw an imageless Disc sprite as an antialiased
// filled disc in one colour, or as a ring (outer disc minus an inner disc,
// plus an optional innermost core disc), reading the pixel coverage from
// coverageTables through the coverage cursors. Inputs come from RasterState
// (centre, span radius, the three quarter radii, sprite colour, tint, alpha,
// intensity and, when clipped, the limits setupClip derives); the only
// output is framePixels, plus what they leave in RasterState: the combined
// intensity (add, subtract, multiply), solidColour, and the quarter radii
// bounded to the coverage tables (a radius above 1020 quarter pixels is
// drawn at 1020, a ring's inner circles scaled with it).
//
// A sprite's kernel slots hold the disc kernels of its blend mode. A disc
// kernel premixes the colour, bounds the radii to the tables, selects the
// outer cursor and, when the sprite has an inner or core circle, hands over
// to the ring kernel of the same mode and clipping case.
#pragma once

namespace lumivortex {

// Reached through a sprite's unclippedKernel / clippedKernel. Preconditions
// (the image dispatcher's): pixelRadius >= 1; unclipped: the whole square
// inside the viewport; clipped: the square overlaps it. The coverage tables
// exist (selectKernels builds them for every imageless Disc sprite).
void drawDiscAlpha();  // blend modes 0 and 1
void drawDiscAlphaClipped();
void drawDiscAdd();
void drawDiscAddClipped();
void drawDiscSubtract();
void drawDiscSubtractClipped();
void drawDiscMultiply();
void drawDiscMultiplyClipped();

// The ring walks, entered only from the disc kernel of the same mode and
// clipping case (never through a sprite slot), after its colour set-up and
// radius bounding, with outerCursor selected and, clipped, after setupClip
// with outerCursor moved down to row firstRow.
void drawRingAlpha();
void drawRingAlphaClipped();
void drawRingAdd();
void drawRingAddClipped();
void drawRingSubtract();
void drawRingSubtractClipped();
void drawRingMultiply();
void drawRingMultiplyClipped();

}  // namespace lumivortex
