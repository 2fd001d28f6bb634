// The scene's globals live here. Rebuilding them in place (destroy, then
// construct) gives a second run in the same process (tests, the offscreen
// renderer) exactly the objects a fresh program starts with.
#include "scene/scene_objects.h"

#include <memory>

#include "controllers/controller_registry.h"

namespace lumivortex {

Emitter emitters[emitterCount];
SmRandRotateCNT headSpins[emitterCount];
SmRandRotateCNT cameraSpin;
SmRandUCNTfloat cameraDriftX;
SmRandUCNTfloat cameraDriftY;
SmRandUCNTfloat cameraDriftZ;
DataSmRandUCNTdwRGB paletteController;

std::uint32_t currentColour = 0;
int paletteIndex = followPalette;
int trailCursor[emitterCount] = {};
int trailLifetime = 0;
int trailLifeRamp = 0;
int frameCounter = 0;
double radialForceFactor = 0.0;

OverlayBitmap* logoOverlay = nullptr;
OverlayBitmap* legendOverlay = nullptr;

namespace {

// The cursors start this far apart, so no two emitters meet in one frame.
constexpr int trailSpacing = 179;
constexpr int trailParticleLifetime = 179;

template <typename T>
void rebuild(T& object) {
    std::destroy_at(&object);
    std::construct_at(&object);
}

}  // namespace

void constructSceneObjects() {
    clearControllers();
    for (Emitter& emitter : emitters) {
        releaseEmitter(&emitter);
        initEmitter(&emitter);
    }
    for (int i = 0; i < emitterCount; ++i) trailCursor[i] = i * trailSpacing;
    trailLifetime = trailParticleLifetime;
    rebuild(cameraDriftX);
    rebuild(cameraDriftY);
    rebuild(cameraDriftZ);
    rebuild(cameraSpin);
    for (SmRandRotateCNT& spin : headSpins) rebuild(spin);
    rebuild(paletteController);
    currentColour = 0;
    paletteIndex = followPalette;
    trailLifeRamp = 0;
    frameCounter = 0;
    radialForceFactor = 0.0;
}

}  // namespace lumivortex
