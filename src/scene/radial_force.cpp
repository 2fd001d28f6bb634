#include "scene/radial_force.h"

#include "particles/particle_system.h"
#include "scene/scene_objects.h"

namespace lumivortex {

Vec3* radialForce(Vec3* out) {
    Vec3 n;
    normalised(&n, &currentParticle->position);
    *out = {-n.x * radialForceFactor, -n.y * radialForceFactor, -n.z * radialForceFactor};
    return out;
}

}  // namespace lumivortex
