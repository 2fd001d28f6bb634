// Link evaluation: a record is validated, its parameter set is loaded into
// the module's globals, and its topology walk feeds every pair to pairForce,
// which turns the pair's distance into a push or pull on both velocities.
#include "particles/links.h"

#include <cassert>

#include "math/random.h"
#include "math/vec3.h"
#include "particles/link_topology.h"
#include "particles/particle_system.h"

namespace lumivortex {

namespace {

// The parameter set of the record being applied.
LinkParams loadedParams = {};

// Smooth step x^2 (3 - 2x): 0 at 0, 1 at 1, flat at both ends.
double smoothStep(double x) { return x * x * (3.0 - 2.0 * x); }

// Strength of the pull at distance d with the loaded parameters, or 0:
// repulsion inside r0, rise to A at r1, falloff beyond r1. With r2 = r1
// there is no force outside r0.
double pullAt(double d) {
    const LinkParams& p = loadedParams;
    if (d < p.repelRadius) return -p.repelStrength * smoothStep(1.0 - d / p.repelRadius);
    if (p.falloffRadius == p.attractRadius) return 0.0;
    if (d < p.attractRadius) {
        return p.attractStrength * smoothStep((d - p.repelRadius) / (p.attractRadius - p.repelRadius));
    }
    return p.attractStrength * falloff(d - p.attractRadius, p.falloffRadius - p.attractRadius);
}

void addScaled(Vec3* to, double k, const Vec3& v) {
    to->x += k * v.x;
    to->y += k * v.y;
    to->z += k * v.z;
}

}  // namespace

double falloff(double x, double w) {
    const double t = x / w;
    return 1.0 / (1.0 + 9.0 * t * t);
}

void pairForce(ParticleSystem* system, std::uint32_t a, std::uint32_t b) {
    assert(a < system->count && b < system->count);
    if (a == b) return;
    Particle& pa = system->particles[a];
    Particle& pb = system->particles[b];
    const Vec3 d = {pb.position.x - pa.position.x, pb.position.y - pa.position.y, pb.position.z - pa.position.z};
    Vec3 u;
    normalised(&u, &d);
    double c = 1.0;
    if (lastLength == 0.0) {
        // No direction to push along: any will do, and it need not be a unit one.
        randInCube(1.0, &u);
    } else {
        c = pullAt(lastLength);
        if (c == 0.0) return;
    }
    addScaled(&pa.velocity, c * pa.response, u);
    addScaled(&pb.velocity, -c * pb.response, u);
}

void applyLink(ParticleSystem* system, std::uint32_t record) {
    assert(record < system->linkCount);
    const Link link = system->links[record];
    if (!linksPairs(link.type) || link.paramSet < 0 || !linkStaysInside(link, system->count)) return;
    loadedParams = system->linkParams[link.paramSet];
    forEachLinkPair(link, [system](std::int64_t a, std::int64_t b) {
        pairForce(system, static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b));
    });
}

}  // namespace lumivortex
