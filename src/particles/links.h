// Pair forces between the particles of one system. The application fills a
// system's `links` and `linkParams` tables; updateLinks calls applyLink for
// every record when the link period is due, before the particles move.
// applyLink checks the record against the system (link_topology.h), loads its
// parameter set and walks the record's pairs, and pairForce changes the two
// velocities of each pair; positions are left to the simulation step.
#pragma once

#include <cstdint>

namespace lumivortex {

struct ParticleSystem;

struct Link {
    std::int32_t type;      // topology of the linked pairs (LinkType)
    std::int32_t first;     // first particle of the range
    std::int32_t last;      // last particle of the range, inclusive
    std::int32_t width;     // row length or stride (type 2: start of the second range)
    std::int32_t height;    // rows per block; -3 = width, -2 = unlimited (type 2: end of the second range)
    std::int32_t paramSet;  // index into linkParams
};

// Shape of the force between two linked particles: repulsion inside
// repelRadius, attraction rising to attractStrength at attractRadius and
// falling to a tenth of it at falloffRadius.
struct LinkParams {
    double repelRadius;
    double attractRadius;
    double falloffRadius;
    double attractStrength;
    double repelStrength;
};

// Applies the pair force of record `record` (below linkCount) to every pair
// of its topology. A record whose pairs would leave the system's particles,
// or whose walk is undefined (see linkStaysInside), or whose paramSet is
// negative, is skipped as a whole. paramSet must name an existing set: the
// parameter table carries no length to check it against.
void applyLink(ParticleSystem* system, std::uint32_t record);

// The force between particles a and b (both below count) with the parameter
// set loaded by the latest applyLink. A positive force draws them together;
// each velocity changes by the force times its particle's response.
// Coincident particles are pushed apart along a random vector (three draws).
void pairForce(ParticleSystem* system, std::uint32_t a, std::uint32_t b);

// 1 / (1 + 9 (x/w)^2): 1 at x = 0, a tenth at x = w.
double falloff(double x, double w);

}  // namespace lumivortex
