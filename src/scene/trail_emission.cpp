// The cursors start 179 apart and all advance together, so within one frame
// no two emitters write the same particle; a particle is overwritten only
// when the preceding emitter's cursor comes round to it 179 (or 198) frames
// later, after its life is over.
#include "scene/trail_emission.h"

#include "particles/emitter.h"
#include "particles/particle_system.h"
#include "scene/palette.h"
#include "scene/scene_objects.h"

namespace lumivortex {

namespace {

void writeTrailParticle(Particle& particle) {
    particle.position = emissionPosition;
    particle.velocity = {emissionDirection.x * emissionSpeed, emissionDirection.y * emissionSpeed,
                         emissionDirection.z * emissionSpeed};
    particle.colour = currentColour;
    particle.lifetime = trailLifetime;
    particle.lifeLeft = trailLifeRamp;
}

}  // namespace

void emitTrails() {
    if (paletteIndex != followPalette) currentColour = paletteColours[paletteIndex];
    selectSystem(trailSystem);
    if (trailLifeRamp != trailLifetime) ++trailLifeRamp;
    for (int i = 0; i < emitterCount; ++i) {
        const int p = trailCursor[i];
        selectParticle(p);
        Particle& particle = *currentParticle;
        if (emit(&emitters[i]) != 0) writeTrailParticle(particle);
        trailCursor[i] = p + 1 > lastTrailParticle ? 0 : p + 1;
    }
}

}  // namespace lumivortex
