// The builders of a sprite's four quadrant images: the procedural shaded
// ball "compBALL", the procedural soft spot "compSPOT", and greyscale JPEG
// resources of type "BINARYDATA". defineSprite calls them right after
// allocateQuadrants, so they write only into freshly allocated quadrants;
// pixels they do not write keep the initial fill (zero, or white for the
// multiply mode outside the Disc family).
#pragma once

#include <string_view>

namespace lumivortex {

struct Sprite;

// Shaded ball lit from lightDirection, in the sprite's colour; elements
// outside the ball are left untouched.
void buildBallImage(Sprite* sprite);
// Soft radial spot in the sprite's colour (white-based for the multiply mode,
// a blue-channel weight for the alpha mode).
void buildSpotImage(Sprite* sprite);
// Fills the quadrants from a square 511 x 511 or 255 x 255 "BINARYDATA"
// resource. Fatal when the image service cannot start, the resource is
// missing or undecodable, or the image has another size.
void loadImageQuadrants(Sprite* sprite, std::string_view name);
// The steps of loadImageQuadrants after a successful load: locks the image
// service's current image, checks its size, fills the quadrants, then
// releases the image and this use of the service.
void fillQuadrantsFromCurrentImage(Sprite* sprite);

}  // namespace lumivortex
