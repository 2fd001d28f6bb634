// The scene's own objects: the 39 emitters with their trail cursors, the
// controllers that move the heads, the camera and the palette, the colour
// of new trail particles, the frame counters and the two overlays. They are
// built at program initialisation (constructSceneObjects), configured by
// sceneSetup and read and written by the per-frame hooks on the worker.
#pragma once

#include <cstdint>

#include "controllers/colour_controller.h"
#include "controllers/float_controller.h"
#include "controllers/rotate_controller.h"
#include "framebuffer/overlay_bitmap.h"
#include "particles/emitter.h"

namespace lumivortex {

inline constexpr int emitterCount = 39;
inline constexpr int firstEmitterFrame = 10;   // emitter i belongs to frame i + 10
inline constexpr int sceneFrame = 1;           // frame of both particle systems
inline constexpr int cameraFrame = 100;
inline constexpr int headSystem = 0;           // the 39 heads and the centre
inline constexpr int trailSystem = 1;          // the trail ring
inline constexpr int headCount = emitterCount + 1;
inline constexpr int centreParticle = emitterCount;
inline constexpr int trailParticleCount = 7000;
inline constexpr int pinnedPaletteSize = 12;   // paletteIndex 12 follows the controller
inline constexpr int followPalette = pinnedPaletteSize;

extern Emitter emitters[emitterCount];
extern SmRandRotateCNT headSpins[emitterCount];
extern SmRandRotateCNT cameraSpin;
extern SmRandUCNTfloat cameraDriftX;
extern SmRandUCNTfloat cameraDriftY;
extern SmRandUCNTfloat cameraDriftZ;
extern DataSmRandUCNTdwRGB paletteController;

extern std::uint32_t currentColour;  // colour of new trail particles
extern int paletteIndex;             // 0..11 pinned entry, 12 follow the controller
extern int trailCursor[emitterCount];  // next particle of system 1 emitter i writes
extern int trailLifetime;            // lifetime of every trail particle
extern int trailLifeRamp;            // lifeLeft of new trail particles, 1..179
extern int frameCounter;             // frames counted for the half-resolution test
extern double radialForceFactor;     // -5500.0 once set up

extern OverlayBitmap* logoOverlay;
extern OverlayBitmap* legendOverlay;

// Builds every object above afresh, in the program's order: emitters, trail
// cursors and lifetime, camera drifts, camera spin, head spins, palette
// controller; the counters and the palette selection start over, and the
// controller registry is emptied (it held the old objects).
void constructSceneObjects();

}  // namespace lumivortex
