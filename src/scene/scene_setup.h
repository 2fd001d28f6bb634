// Scene set-up: configures the particle library (projection, sprites,
// palette, the two particle systems, emitters, frames, camera, controllers),
// runs the frame loop until the user ends it and releases the library.
#pragma once

#include <cstdint>

namespace lumivortex {

// -1: the random source is seeded with the millisecond tick count, as the
// animation does; 0..2^32-1: seeded with this value instead (the offscreen
// renderer and the tests, for repeatable runs).
extern std::int64_t fixedRandomSeed;

// The first steps of set-up: seeds the random source (above), sets the
// projection with the depth fade ending at depthFadeEnd, and starts the
// library. The gallery scenes start the same way with a deeper fade.
void startSceneLibrary(double depthFadeEnd);

// Everything of sceneSetup before the frame loop: library start-up and the
// configuration of every object, the controllers' registration, the meter,
// the input flags and the legend's timer.
void configureScene();

// configureScene, sceneStep until it returns 0, then releaseParticleLibrary.
void sceneSetup();

}  // namespace lumivortex
