#include "gallery/gallery_particles.h"

#include "particles/particle_system.h"

namespace lumivortex::gallery {

void fillSystem(std::uint32_t count, const ParticleLook& look) {
    initParticles(count, look.sprite, look.sprite, 0);
    for (std::uint32_t i = 0; i < count; ++i) {
        Particle& p = currentSystem->particles[i];
        p.position = {0.0, 0.0, 0.0};
        p.velocity = {0.0, 0.0, 0.0};
        p.size = look.size;
        p.colour = look.colour;
        p.lifetime = 0;
        p.lifeLeft = 0;
        p.timeStep = 1.0;
        p.response = look.response;
        p.friction = look.friction;
    }
}

void placeParticle(int index, const Vec3& position, std::uint32_t colour) {
    selectParticle(index);
    currentParticle->position = position;
    currentParticle->colour = colour;
}

}  // namespace lumivortex::gallery
