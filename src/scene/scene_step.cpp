// The measured part of a frame is everything from the controllers to the
// presentation; the pacing sleep and the key handling follow outside it.
#include "scene/scene_step.h"

#include "controllers/controller_registry.h"
#include "framebuffer/half_resolution.h"
#include "host/frame_rate.h"
#include "host/input_state.h"
#include "math/frame.h"
#include "particles/emitter.h"
#include "particles/particle_system.h"
#include "particles/simulation.h"
#include "render/render_pipeline.h"
#include "scene/emitter_heads.h"
#include "scene/palette.h"
#include "scene/scene_objects.h"
#include "scene/trail_emission.h"

namespace lumivortex {

FramePacer framePacer = paceFrame;

namespace {

// During the first 200 frames a machine too slow for 20 frames per second
// switches to half resolution for good.
void checkFrameRate() {
    if (frameCounter >= halfResTestFrames) return;
    if (frameRateValid && frameRate < halfResMinimumRate) halfResRequested = 1;
    ++frameCounter;
}

}  // namespace

void stepParticleSystems() {
    for (int index = firstSystemIndex; index <= lastSystemIndex; ++index) {
        if (systemSlots[index] == nullptr) continue;
        selectSystem(index);
        updateLinks();
        updateParticles();
    }
    selectSystem(firstSystemIndex);
}

int sceneStep() {
    frameRateBegin();
    updateControllers();
    updateFrames();
    for (Emitter& emitter : emitters) rearmEmitter(&emitter);
    emitTrails();
    placeEmitterHeads();
    stepParticleSystems();
    renderFrame();
    frameRateEnd();
    checkFrameRate();
    framePacer(targetFrameRate);
    if (inputState.keysReleased[keySlotEnter] != 0) stepPaletteIndex();
    if (inputState.keysReleased[keySlotEscape] != 0) return 0;
    clearInput();
    return 1;
}

}  // namespace lumivortex
