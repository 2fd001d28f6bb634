// The single random source of the particle library: a linear congruential
// generator (state = state * 214013 + 2531011 mod 2^32, draw = bits 16..30),
// seeded once, from which every random quantity below is built. Each
// operation consumes its draws in a fixed order; one that needs no
// randomness (zero spread or size) consumes none, so later draws are
// unaffected.
#pragma once

#include <cstdint>

#include "math/vec3.h"

namespace lumivortex {

inline constexpr int randomMax = 32767;

// Seeds the generator with the platform's millisecond tick count.
void seedRandom();

// Seeds the generator with a fixed value (offscreen rendering, tests).
void setRandomSeed(std::uint32_t seed);

// One draw r in 0..32767.
int randomDraw();

// u = r / 32767, in [0, 1] reaching both ends. One draw.
double randUnit();

// n = 0: 0 without a draw; else trunc(r*n/32767 + 0.5), in 0..n.
int randIndex(int n);

// s = 0: c without a draw; else c + trunc(r*2s/32767 - s + 0.5).
int randIntAround(int centre, int spread);

// s = 0: c without a draw; else c - s + r*2s/32767.
double randAround(double centre, double spread);

// Each axis: centre + (h = 0 ? 0 : -h + r*2h/32767); draws z, then y, then x.
Vec3* randInBox(Vec3* out, double cx, double cy, double cz, double hx, double hy, double hz);

// Each component -h + r*2h/32767 (x, y, z), or 0 without draws when h = 0.
Vec3* randInCube(double halfSize, Vec3* out);

// A random direction blended between a normalised cube point (mix 0) and a
// point on the surface of the cube with half size radius (mix 1).
Vec3* randDirection(double mix, double radius, Vec3* out);

// A normalised cube point scaled by randAround (mean, spread).
Vec3* randVelocity(Vec3* out, double mean, double spread);

}  // namespace lumivortex
