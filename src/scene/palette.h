// The scene's colours: twelve fixed palette entries that the palette
// controller glides between and that Enter pins one by one. Every update of
// the controller calls onPaletteColour, which derives the background and the
// heads' colour from the colour in force.
#pragma once

#include <cstdint>

#include "scene/scene_objects.h"

namespace lumivortex {

extern const std::uint32_t paletteColours[pinnedPaletteSize];

// Hook of paletteController: sets backgroundColour and the colour of every
// particle of system 0 from the gliding colour (as of the previous update)
// or from the pinned entry, which it also makes currentColour.
void onPaletteColour();

// Enter: 12 (follow), 0, 1, ..., 11, then back to 12.
void stepPaletteIndex();

}  // namespace lumivortex
