// The gallery: small compiled-in demonstration scenes of the particle
// library's features that the animation itself does not use (depth-tested
// balls, image discs, links). Each scene is an application like the
// animation: configureGallery registers its process with the host in place
// of the scene's, and hostMain then runs it on the worker, frame by frame,
// until Esc is released.
#pragma once

#include <string>
#include <string_view>

namespace lumivortex::gallery {

// Fills the host configuration for the named scene (hidden cursor, a
// full-screen frame, renderFrame as redraw, the scene's process) after
// emptying the controller registry. Returns false, changing nothing, for an
// unknown name.
bool configureGallery(std::string_view name);

// True when a scene of that name exists.
bool knowsGallery(std::string_view name);

// The scene names, comma-separated: "balls, discs, links".
std::string galleryNames();

}  // namespace lumivortex::gallery
