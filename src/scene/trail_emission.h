// Trail emission: each frame every emitter writes one particle of the trail
// ring (system 1) at its cursor: birth place and velocity from the emitter,
// the current colour, a 179-frame lifetime and the ramped remaining life.
#pragma once

namespace lumivortex {

inline constexpr int lastTrailParticle = 6999;

// Pins currentColour to the chosen palette entry, advances trailLifeRamp
// toward trailLifetime, then lets emitter i (0..38) fill particle
// trailCursor[i], moving every cursor on by one whether it emitted or not.
void emitTrails();

}  // namespace lumivortex
