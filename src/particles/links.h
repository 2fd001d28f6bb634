// Pair forces between the particles of one system. The application fills a
// system's `links` and `linkParams` tables; updateLinks calls applyLink for
// every record when the link period is due, before the particles move.
#pragma once

#include <cstdint>

namespace lumivortex {

struct ParticleSystem;

struct Link {
    std::int32_t type;   // topology of the linked pairs
    std::int32_t first;  // first particle of the range
    std::int32_t last;   // last particle of the range, inclusive
    std::int32_t width;  // row length or stride (type 2: start of the second range)
    std::int32_t height;  // rows per block; -3 = width, -2 = unlimited (type 2: end of the second range)
    std::int32_t paramSet;  // index into linkParams
};

struct LinkParams {
    double repelRadius;
    double attractRadius;
    double falloffRadius;
    double attractStrength;
    double repelStrength;
};

// Applies the pair force of link record `record` of `system` to every pair
// of its topology. The topologies are not built yet: a record applies no
// force, so a link table is timed by updateLinks but leaves velocities alone.
void applyLink(ParticleSystem* system, std::uint32_t record);

}  // namespace lumivortex
