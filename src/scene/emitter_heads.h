// The heads: particles 0..38 of system 0 sit at the origin of the frames
// 10..48 that carry the emitters, 72 units out along each frame's pivot.
#pragma once

namespace lumivortex {

// Moves head i to the point (0, 0, 0) of frame i + 10 in its parent's
// coordinates. The centre (particle 39) stays at the origin.
void placeEmitterHeads();

}  // namespace lumivortex
