// The scene's two corner bitmaps: the logo, subtracted at the bottom right
// on every frame, and the key legend, added at the bottom left until timer
// slot 0 fires ten seconds after set-up.
#pragma once

namespace lumivortex {

inline constexpr int legendTimerSlot = 0;
inline constexpr unsigned legendShownMs = 10000;

// Loads the logo (tinted to 0x4B/256 of its colours) and the legend, and
// installs drawOverlays as the render pipeline's draw hook.
void loadOverlays();

// The draw hook. Once timer slot 0 has fired it kills the timer and no
// longer draws the legend. An overlay that does not exist is skipped.
void drawOverlays();

// Deletes the logo and then the legend, each only if it exists.
void deleteOverlays();

}  // namespace lumivortex
