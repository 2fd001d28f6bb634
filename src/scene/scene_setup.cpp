// Set-up order matters: the library start-up deletes every particle system,
// sprites are defined before the systems that name them, the frames exist
// before the controllers that turn or move them, and the registration order
// of the controllers is the order of their per-frame updates.
#include "scene/scene_setup.h"

#include <numbers>

#include "controllers/controller_registry.h"
#include "framebuffer/frame_buffer.h"
#include "framebuffer/trails.h"
#include "host/frame_rate.h"
#include "host/input_state.h"
#include "host/timers.h"
#include "math/frame.h"
#include "math/projection.h"
#include "math/random.h"
#include "particles/particle_system.h"
#include "render/particle_library.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "scene/overlays.h"
#include "scene/palette.h"
#include "scene/radial_force.h"
#include "scene/scene_objects.h"
#include "scene/scene_step.h"

namespace lumivortex {

std::int64_t fixedRandomSeed = -1;

namespace {

constexpr double pi = std::numbers::pi;
constexpr int presetIdentity = 2;
constexpr int presetRandom = 7;
constexpr std::int32_t ageCurveTrail = 1004;
constexpr std::uint32_t white = 0xFFFFFFFF;

// The centre's darkening halo (sprite 1) ends in a bright glow (sprite 0);
// each head's thin ring (sprite 3) ends in a small glow (sprite 2); the trail
// particles draw sprite 4.
void configureSprites() {
    selectSprite(0);
    currentSprite->sizeScale = 1.0;
    defineSprite(makeSpriteKind(Spot, BlendAdd), white, "SPOT03");
    currentSprite->fadeDivisor = 0.0;

    selectSprite(1);
    currentSprite->sizeScale = 0.78;
    defineSprite(makeSpriteKind(Spot, BlendMultiply), 0xFF555555, "SPOT04");
    currentSprite->fadeDivisor = 0.0;
    currentSprite->useParticleColour = 0;
    currentSprite->nextSprite = 0;

    selectSprite(2);
    currentSprite->sizeScale = 0.055;
    defineSprite(makeSpriteKind(Spot, BlendAdd), white, "SPOT01");

    selectSprite(3);
    currentSprite->sizeScale = 0.05;
    defineSprite(makeSpriteKind(Disc, BlendAdd), white, "");
    currentSprite->innerFraction = 0.95;
    currentSprite->nextSprite = 2;

    copySprite(2, 4);
    defineSprite(makeSpriteKind(Spot, BlendAdd), white, "SPOT02");
    currentSprite->sizeScale = 0.0375;
}

void configurePalette() {
    paletteController.setup(&currentColour, pinnedPaletteSize, 200, 50);
    for (int i = 0; i < pinnedPaletteSize; ++i) paletteController.setPaletteEntry(i, paletteColours[i]);
    paletteController.hook = onPaletteColour;
}

// System 0: the heads (sprite 3, placed every frame) and the centre (sprite 1).
void configureHeadSystem() {
    selectSystem(headSystem);
    initParticles(headCount, 0, 0, 1);
    selectParticle(0);
    Particle& first = *currentParticle;
    first.lifeLeft = 0;
    first.lifetime = 0;
    first.timeStep = 0.0;
    first.response = 0.0;
    first.position = {0.0, 0.0, 0.0};
    first.sprite = 3;
    // The whole particle is copied, also when an earlier set-up in this
    // process left the trail system's keep-mask behind.
    preserveMask = 0;
    copyParticle(0, -1, -1);
    selectParticle(centreParticle);
    currentParticle->sprite = 1;
    currentSystem->frameIndex = sceneFrame;
}

// System 1: the trail ring, all dead until the emitters write into it.
void configureTrailSystem() {
    selectSystem(trailSystem);
    initParticles(trailParticleCount, 4, 4, 0);
    selectParticle(0);
    currentParticle->timeStep = 0.0001;
    currentParticle->friction = 0.25;
    currentParticle->response = 0.5;
    preserveMask = preservePosition | preserveVelocity | preserveSprite | preserveColour;
    copyParticle(0, -1, -1);
    killParticles(0, -2);
    currentSystem->ageCurveMode = ageCurveTrail;
    currentSystem->resetLifetime = 0;
    currentSystem->forceHook = radialForce;
    radialForceFactor = -5500.0;
    currentSystem->frameIndex = sceneFrame;
}

// Emitter i shoots straight along the Z axis of frame i + 10, which starts in
// a random orientation and is turned by headSpins[i] 72 units out.
void configureEmitters() {
    for (int i = 0; i < emitterCount; ++i) {
        Emitter& emitter = emitters[i];
        emitter.burstSize = 1;
        emitter.frameIndex = i + firstEmitterFrame;
        setPointCount(&emitter, 1);
        selectEmitterPoint(&emitter, 0);
        setEmitterPoint(0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 50000.0, 0.0);
        selectFrame(i + firstEmitterFrame);
        setOrientationPreset(presetRandom);
        headSpins[i].setup(i + firstEmitterFrame, 0.0, pi / 25, pi / 150, 72.0, 15, 10);
    }
}

void configureCamera() {
    selectFrame(sceneFrame);
    setOrientationPreset(presetIdentity);
    setPosition(0.0, 0.0, 0.0);
    setCameraFrame(cameraFrame);
    setOrientationPreset(presetIdentity);
    cameraSpin.setup(cameraFrame, 0.0, pi / 125, pi / 200, 0.0, 75, 15);
    Vec3& position = frameSlots[cameraFrame]->position;
    cameraDriftX.setup(&position.x, 0.0, 50.0, 75, 20);
    cameraDriftY.setup(&position.y, 0.0, 35.0, 75, 20);
    cameraDriftZ.setup(&position.z, 20.0, 70.0, 75, 20);
}

// Group 1, in update order: camera position, camera turn, palette, heads.
void registerSceneControllers() {
    constexpr int group = 1;
    registerController(&cameraDriftX, group);
    registerController(&cameraDriftY, group);
    registerController(&cameraDriftZ, group);
    registerController(&cameraSpin, group);
    registerController(&paletteController, group);
    for (SmRandRotateCNT& spin : headSpins) registerController(&spin, group);
}

}  // namespace

void startSceneLibrary(double depthFadeEnd) {
    if (fixedRandomSeed < 0)
        seedRandom();
    else
        setRandomSeed(static_cast<std::uint32_t>(fixedRandomSeed));
    zoom = 1.0;
    zoomLimit = 5.0;
    fadeAmount = 0;
    minPixelRadius = 2;
    setPerspective(-115.0, -1.0);
    setDepthFade(depthFadeEnd, -115.0, 1000);
    initialiseParticleLibrary();
}

void configureScene() {
    startSceneLibrary(500.0);
    configureSprites();
    configurePalette();
    configureHeadSystem();
    configureTrailSystem();
    selectSystem(headSystem);
    configureEmitters();
    configureCamera();
    registerSceneControllers();
    frameRateReset(10);
    clearInput();
    setTimerSlot(legendTimerSlot, legendShownMs);
}

void sceneSetup() {
    configureScene();
    while (sceneStep() != 0) {
    }
    releaseParticleLibrary();
}

}  // namespace lumivortex
