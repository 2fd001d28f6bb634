// The simulation step: link timer, then per particle force, bounce, move,
// drag, ageing and rebirth, in array order, with each particle selected so
// that the hooks reach it through currentParticle.
#include "particles/simulation.h"

#include <cassert>
#include <cstdint>

#include "host/fatal_error.h"
#include "math/colour.h"
#include "math/random.h"
#include "particles/links.h"
#include "particles/particle_system.h"

namespace lumivortex {

double bounceLoss = 1.0;

namespace {

constexpr const char* updateIncomplete = "PFX: Update is not complete";

void addScaled(Vec3* to, double k, const Vec3& v) {
    to->x += k * v.x;
    to->y += k * v.y;
    to->z += k * v.z;
}

void applyForce(Particle* p, ForceHook hook) {
    Vec3 scratch = {0.0, 0.0, 0.0};
    const Vec3* force = hook(&scratch);
    addScaled(&p->velocity, p->response, *force);
}

// A particle whose velocity runs along n = (k, k, k) loses the fraction
// bounceLoss of its speed; reflect passes such a velocity through unchanged.
void applyBounce(Particle* p, BounceHook hook) {
    const double k = hook();
    Vec3& v = p->velocity;
    if (!(k * (v.x + v.y + v.z) > 0.0)) return;
    const Vec3 n = {k, k, k};
    Vec3 unit;
    normalised(&unit, &v);
    const double speed = lastLength;
    Vec3 mirrored;
    reflect(&mirrored, &unit, &n);
    const double scale = (1.0 - bounceLoss) * speed;
    v = {scale * mirrored.x, scale * mirrored.y, scale * mirrored.z};
}

void respawnBuiltIn(const ParticleSystem* system, Particle* p) {
    if (system->respawnFlags & respawnPosition) {
        const Vec3& c = system->spawnCentre;
        const Vec3& h = system->spawnHalfSize;
        randInBox(&p->position, c.x, c.y, c.z, h.x, h.y, h.z);
    }
    if (system->respawnFlags & respawnVelocity) {
        randVelocity(&p->velocity, system->speedMean, system->speedSpread);
    }
    if (system->respawnFlags & respawnColour) {
        p->colour = jitterColour(system->baseColour, system->colourJitter);
    }
    if (system->resetLifetime != 0) {
        p->lifetime = randIntAround(system->lifetimeBase, system->lifetimeJitter);
        p->lifeLeft = p->lifetime;
    }
}

void respawnByHook(const ParticleSystem* system, Particle* p) {
    if (system->respawnHook() == 0) return;
    if (system->resetLifetime != 0) {
        p->lifetime = randIntAround(system->lifetimeBase, system->lifetimeJitter);
        p->lifeLeft = p->lifetime;
    }
    addScaled(&p->position, p->timeStep, p->velocity);
}

// Counts life down; at its end a mortal particle is reborn. A particle
// without a reset lifetime stays at lifeLeft 0 and takes this path again on
// every later step.
void age(const ParticleSystem* system, Particle* p) {
    if (p->lifeLeft != 0) {
        --p->lifeLeft;
    } else if (p->lifetime != 0) {
        if (system->respawnHook != nullptr) {
            respawnByHook(system, p);
        } else {
            respawnBuiltIn(system, p);
        }
    }
}

}  // namespace

void updateLinks() {
    ParticleSystem* system = currentSystem;
    assert(system != nullptr);
    if (system->linkCountdown != 0) {
        --system->linkCountdown;
        return;
    }
    system->linkCountdown = system->linkPeriod;
    if (system->links == nullptr || system->linkParams == nullptr) return;
    if (system->particles == nullptr) fatalError(updateIncomplete);
    for (std::uint32_t record = 0; record < system->linkCount; ++record) applyLink(system, record);
}

void updateParticles() {
    ParticleSystem* system = currentSystem;
    assert(system != nullptr);
    if (system->particles == nullptr) fatalError(updateIncomplete);
    for (std::uint32_t i = 0; i < system->count; ++i) {
        // Selected through the loop's own system, so a hook that selects
        // another system cannot redirect the step.
        Particle* p = &system->particles[i];
        currentParticleIndex = static_cast<int>(i);
        currentParticle = p;
        if (system->forceHook != nullptr) applyForce(p, system->forceHook);
        if (system->bounceHook != nullptr) applyBounce(p, system->bounceHook);
        addScaled(&p->position, p->timeStep, p->velocity);
        const double drag = 1.0 - p->response * p->friction;
        p->velocity = {p->velocity.x * drag, p->velocity.y * drag, p->velocity.z * drag};
        age(system, p);
    }
}

Vec3* reflect(Vec3* out, const Vec3* v, const Vec3* n) {
    const double e = 2.0 * (v->x * n->x + v->y * n->y + v->z * n->z);
    if (e > -1e-7) {
        *out = *v;
    } else {
        *out = {v->x - e * n->x, v->y - e * n->y, v->z - e * n->z};
    }
    return out;
}

}  // namespace lumivortex
