// The force hook of the trail system: a constant push along the line from
// the origin through the particle, so the trails stream outward.
#pragma once

#include "math/vec3.h"

namespace lumivortex {

// out = -radialForceFactor times the unit vector from the origin to the
// current particle (a particle exactly at the origin feels nothing). Returns out.
Vec3* radialForce(Vec3* out);

}  // namespace lumivortex
