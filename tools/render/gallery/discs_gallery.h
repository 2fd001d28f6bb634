// Gallery scene "discs": image discs in the four blend modes, one turning
// wheel per mode.
#pragma once

namespace lumivortex::gallery {

// The host's process for this scene.
void discsGalleryProcess();

}  // namespace lumivortex::gallery
