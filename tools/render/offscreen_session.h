// One offscreen run of the program: the real scene, or a gallery scene,
// through hostMain on the headless backend, with a manual clock that
// advances one frame period per frame (no real sleeping), a fixed random
// seed, and the frames kept by the options written as PNG files.
#pragma once

#include <string>

#include "render_options.h"

namespace lumivortex::render_tool {

// Returns 0 when every frame was rendered and written; otherwise 1 with
// `error` saying why.
int renderOffscreen(const RenderOptions& options, std::string& error);

}  // namespace lumivortex::render_tool
