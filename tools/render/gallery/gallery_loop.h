// What every gallery scene shares: the library start-up with the
// animation's projection settings and the frame loop. A scene's process is
// runGallery (its set-up, its simulation): start-up, set-up, then per frame
// controllers, frames, the scene's simulation, rendering and pacing until
// Esc is released, then the library's release.
#pragma once

namespace lumivortex::gallery {

// Runs a whole gallery scene on the worker. `setup` configures sprites,
// systems, frames and controllers after the library start-up; `simulate`
// advances the particles once per frame (before rendering).
void runGallery(void (*setup)(), void (*simulate)());

}  // namespace lumivortex::gallery
