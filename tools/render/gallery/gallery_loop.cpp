// The gallery's frame loop mirrors the animation's: the frame pacer is the
// scene's (the offscreen renderer replaces it), the random source is seeded
// from fixedRandomSeed when one is set, and Esc ends the run on release.
#include "gallery/gallery_loop.h"

#include "controllers/controller_registry.h"
#include "host/frame_rate.h"
#include "host/input_state.h"
#include "math/frame.h"
#include "render/particle_library.h"
#include "render/render_pipeline.h"
#include "scene/scene_setup.h"
#include "scene/scene_step.h"

namespace lumivortex::gallery {

namespace {

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

void runGallery(void (*setup)(), void (*simulate)()) {
    startSceneLibrary(1200.0);  // the gallery scenes reach deeper than the animation
    setup();
    frameRateReset(10);
    clearInput();
    while (galleryStep(simulate) != 0) {
    }
    releaseParticleLibrary();
}

}  // namespace lumivortex::gallery
