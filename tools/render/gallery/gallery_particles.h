// Filling particle systems by hand: the gallery places every particle
// itself instead of letting initParticles scatter them.
#pragma once

#include <cstdint>

#include "math/vec3.h"

namespace lumivortex::gallery {

// A particle that never dies, starts at rest, drifts with timeStep 1 under
// `response` and loses `friction` of its speed per step.
struct ParticleLook {
    double size;       // world radius / 100 at sizeScale 1
    std::uint32_t colour;
    std::int32_t sprite;
    double response = 0.0;  // 0: nothing moves it
    double friction = 0.0;
};

// Gives the current system `count` particles (initParticles) and makes each
// one a resting, immortal particle with look `look`.
void fillSystem(std::uint32_t count, const ParticleLook& look);

// Puts particle `index` of the current system at `position` with `colour`.
void placeParticle(int index, const Vec3& position, std::uint32_t colour);

}  // namespace lumivortex::gallery
