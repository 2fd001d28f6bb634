// The gallery's frame loop mirrors the animation's: the frame pacer is the
// scene's (the offscreen renderer replaces it), the random source is seeded
// from fixedRandomSeed when one is set, and Esc ends the run on release.
#include "gallery/gallery_loop.h"

#include "controllers/controller_registry.h"
#include "framebuffer/frame_buffer.h"
#include "framebuffer/trails.h"
#include "host/frame_rate.h"
#include "host/input_state.h"
#include "math/frame.h"
#include "math/projection.h"
#include "math/random.h"
#include "particles/particle_system.h"
#include "particles/simulation.h"
#include "render/particle_library.h"
#include "render/raster_state.h"
#include "render/render_pipeline.h"
#include "scene/scene_setup.h"
#include "scene/scene_step.h"

namespace lumivortex::gallery {

namespace {

void startLibrary() {
    if (fixedRandomSeed < 0)
        seedRandom();
    else
        setRandomSeed(static_cast<std::uint32_t>(fixedRandomSeed));
    zoom = 1.0;
    zoomLimit = 5.0;
    fadeAmount = 0;
    minPixelRadius = 2;
    setPerspective(-115.0, -1.0);
    setDepthFade(1200.0, -115.0, 1000);
    initialiseParticleLibrary();
}

// Returns 0 once Esc was released.
int galleryStep(void (*simulate)()) {
    frameRateBegin();
    updateControllers();
    updateFrames();
    simulate();
    renderFrame();
    frameRateEnd();
    framePacer(targetFrameRate);
    if (inputState.keysReleased[keySlotEscape] != 0) return 0;
    clearInput();
    return 1;
}

}  // namespace

void stepAllSystems() {
    for (int index = firstSystemIndex; index <= lastSystemIndex; ++index) {
        if (systemSlots[index] == nullptr) continue;
        selectSystem(index);
        updateLinks();
        updateParticles();
    }
}

void runGallery(void (*setup)(), void (*simulate)()) {
    startLibrary();
    setup();
    frameRateReset(10);
    clearInput();
    while (galleryStep(simulate) != 0) {
    }
    releaseParticleLibrary();
}

}  // namespace lumivortex::gallery
