// One frame of the animation: controllers, frames, emission, simulation,
// rendering, the frame-rate check for half resolution, pacing to 30 frames
// per second and the two keys (Enter, Esc), both acting on release.
#pragma once

namespace lumivortex {

inline constexpr int targetFrameRate = 30;
inline constexpr int halfResTestFrames = 200;
inline constexpr int halfResMinimumRate = 20;
inline constexpr int keySlotEscape = 1;
inline constexpr int keySlotEnter = 2;

// Sleeps the rest of the frame period; paceFrame unless replaced (the
// offscreen renderer advances its own clock here instead of sleeping).
using FramePacer = void (*)(int target);
extern FramePacer framePacer;

// Returns 1 to go on, 0 when Esc was released.
int sceneStep();

// Links, then motion, for every existing system from the lowest index up;
// leaves the first system selected.
void stepParticleSystems();

}  // namespace lumivortex
