// Gallery scene "links": a cloth sheet, a torus and a chain held together
// by particle links, falling and swinging under gravity.
#pragma once

namespace lumivortex::gallery {

// The host's process for this scene.
void linksGalleryProcess();

}  // namespace lumivortex::gallery
