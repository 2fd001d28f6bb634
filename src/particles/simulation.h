// The per-step simulation of one particle system: its links when their
// period is due, then for every particle in array order the external force,
// the bounce, an explicit Euler move with the particle's own time step, drag
// and ageing, with rebirth by the system's respawn rules or its hook. The
// application walks the systems (selectSystem / nextSystem) and calls
// updateLinks then updateParticles for each current system.
#pragma once

#include "math/vec3.h"

namespace lumivortex {

// Fraction of speed a bounce removes (1.0: a bounce stops the particle).
extern double bounceLoss;

// Link timer of currentSystem: the link records are evaluated on one step out
// of linkPeriod + 1, starting with the first. Fatal "PFX: Update is not
// complete" when links are due on a system without particles.
void updateLinks();

// One simulation step of every particle of currentSystem; the hooks see each
// particle as currentParticle. Fatal "PFX: Update is not complete" on a
// system without particles.
void updateParticles();

// Mirror of v at a plane with normal n (a mirror only for a unit n); v passes
// unchanged when it does not move against n. out may be v. Returns out.
Vec3* reflect(Vec3* out, const Vec3* v, const Vec3* n);

}  // namespace lumivortex
