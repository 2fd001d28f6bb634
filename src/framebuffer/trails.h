// Trails: instead of clearing the viewport every frame the renderer may fade
// the previous picture, so that moving particles leave streaks. The render
// pipeline calls fadeFrame once per frame, after the (optional) clear and
// before any particle is drawn; it works on whatever buffer is installed,
// so at half resolution it fades the half buffer.
#pragma once

namespace lumivortex {

// 0: no fading (the frame is cleared every frame instead);
// fadeToBackground: every channel moves 127/256 of the way to
// backgroundColour (with a background of exactly 0: every channel halved);
// any other n: n is subtracted from every channel, and a channel whose
// result leaves 0..255 becomes 0. Every faded pixel gets alpha 0.
extern int fadeAmount;
inline constexpr int fadeToBackground = 1001;

// Fades every viewport pixel by fadeAmount.
void fadeFrame();

}  // namespace lumivortex
