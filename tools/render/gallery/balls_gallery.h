// Gallery scene "balls": a tumbling cluster of shaded balls that
// intersect one another, drawn with the depth-tested ball kernels.
#pragma once

namespace lumivortex::gallery {

// The host's process for this scene.
void ballsGalleryProcess();

}  // namespace lumivortex::gallery
