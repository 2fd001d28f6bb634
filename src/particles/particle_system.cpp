// Particle systems: the slot table with its first/last bookkeeping, the
// selection globals, and the operations that fill, copy and end particles
// of the current system.
#include "particles/particle_system.h"

#include <cassert>
#include <cstddef>

#include "host/memory.h"
#include "math/colour.h"
#include "math/random.h"

namespace lumivortex {

ParticleSystem* systemSlots[systemSlotCount] = {};
int firstSystemIndex = systemSlotCount;
int lastSystemIndex = 0;
int currentSystemIndex = 0;
ParticleSystem* currentSystem = nullptr;
int currentParticleIndex = 0;
Particle* currentParticle = nullptr;
std::uint8_t preserveMask = 0;

namespace {

bool validSystemIndex(int index) { return index >= 0 && index < systemSlotCount; }

// Makes index current; the index one past the table (no system) selects none.
void makeCurrent(int index) {
    currentSystemIndex = index;
    currentSystem = validSystemIndex(index) ? systemSlots[index] : nullptr;
}

void releaseBlock(void* block) {
    if (block != nullptr) alignedFree(block);
}

// Nearest occupied slot above (step +1) or below (step -1) index.
int occupiedFrom(int index, int step) {
    int i = index + step;
    while (validSystemIndex(i) && systemSlots[i] == nullptr) i += step;
    return i;
}

// randomSprite with lastSprite != 0: spread over firstSprite..lastSprite.
int randomSpriteBetween(int firstSprite, int lastSprite) {
    if (lastSprite == firstSprite) return firstSprite;
    const double r = randomDraw();
    return static_cast<int>(r * (lastSprite - firstSprite) / randomMax + firstSprite + 0.5);
}

void allocateParticles(ParticleSystem* system, std::uint32_t count) {
    if (system->particles != nullptr && system->count == count) return;
    releaseBlock(system->particles);
    system->particles = static_cast<Particle*>(
        alignedAlloc16(static_cast<std::size_t>(count) * sizeof(Particle), fillUndefined));
    system->count = count;
}

// Puts back into `into` the fields of `kept` that preserveMask names.
void restorePreserved(Particle* into, const Particle& kept) {
    if (preserveMask & preservePosition) into->position = kept.position;
    if (preserveMask & preserveVelocity) into->velocity = kept.velocity;
    if (preserveMask & preserveSprite) into->sprite = kept.sprite;
    if (preserveMask & preserveColour) into->colour = kept.colour;
    if (preserveMask & preserveLife) {
        into->lifeLeft = kept.lifeLeft;
        into->lifetime = kept.lifetime;
    }
}

}  // namespace

void initSystem(ParticleSystem* system) {
    const std::int32_t initialised = system->initialised;
    *system = ParticleSystem{};
    system->initialised = initialised;
}

void createSystem(int index) {
    assert(validSystemIndex(index));
    if (systemSlots[index] != nullptr) deleteSystems(index);
    auto* system = static_cast<ParticleSystem*>(alignedAlloc16(sizeof(ParticleSystem), fillZero));
    initSystem(system);
    systemSlots[index] = system;
    makeCurrent(index);
    if (static_cast<unsigned>(index) > static_cast<unsigned>(lastSystemIndex)) lastSystemIndex = index;
    if (static_cast<unsigned>(index) < static_cast<unsigned>(firstSystemIndex)) firstSystemIndex = index;
}

void selectSystem(int index) {
    assert(validSystemIndex(index));
    makeCurrent(index);
    if (currentSystem == nullptr) createSystem(index);
}

int deleteSystem(int index) {
    assert(validSystemIndex(index));
    ParticleSystem* system = systemSlots[index];
    if (system == nullptr) return 0;
    releaseBlock(system->particles);
    releaseBlock(system->linkParams);
    releaseBlock(system->links);
    alignedFree(system);
    systemSlots[index] = nullptr;
    // Never leave the selection pointing into released memory.
    if (currentSystem == system) {
        currentSystem = nullptr;
        currentParticle = nullptr;
    }
    if (index == firstSystemIndex) {
        if (index == lastSystemIndex) {
            firstSystemIndex = systemSlotCount;
            lastSystemIndex = 0;
            return 0;
        }
        firstSystemIndex = occupiedFrom(index, +1);
        return 1;
    }
    if (index == lastSystemIndex) lastSystemIndex = occupiedFrom(index, -1);
    return 1;
}

void deleteSystems(int code) {
    if (firstSystemIndex == systemSlotCount) return;
    switch (code) {
    case deleteAllSystems:
        while (deleteSystem(firstSystemIndex) != 0) {
        }
        break;
    case deleteFirstSystem:
        deleteSystem(firstSystemIndex);
        break;
    case deleteLastSystem:
        deleteSystem(lastSystemIndex);
        break;
    default:
        deleteSystem(code);
        break;
    }
}

int nextSystem() {
    if (currentSystemIndex != lastSystemIndex) {
        // Bounded by the table: a current index beyond the last (its system
        // was deleted) finds nothing and wraps like the last one.
        const int next = occupiedFrom(currentSystemIndex, +1);
        if (validSystemIndex(next)) {
            makeCurrent(next);
            return 1;
        }
    }
    makeCurrent(firstSystemIndex);
    return 0;
}

void selectParticle(int index) {
    assert(currentSystem != nullptr && currentSystem->particles != nullptr);
    assert(index >= 0 && static_cast<std::uint32_t>(index) < currentSystem->count);
    currentParticleIndex = index;
    currentParticle = &currentSystem->particles[index];
}

void initParticles(std::uint32_t count, int firstSprite, int lastSprite, int randomSprite) {
    ParticleSystem* system = currentSystem;
    assert(system != nullptr);
    allocateParticles(system, count);
    int spriteCounter = firstSprite;
    for (std::uint32_t j = 0; j < count; ++j) {
        selectParticle(static_cast<int>(j));
        Particle* p = currentParticle;
        const double s = randAround(system->speedMean, system->speedSpread);
        p->velocity = {s, s, s};
        const Vec3& c = system->spawnCentre;
        const Vec3& h = system->spawnHalfSize;
        randInBox(&p->position, c.x, c.y, c.z, h.x, h.y, h.z);
        if (randomSprite != 0) {
            p->sprite = lastSprite != 0 ? randomSpriteBetween(firstSprite, lastSprite) : randIndex(firstSprite);
        } else {
            p->sprite = spriteCounter++;
            if (static_cast<unsigned>(spriteCounter) > static_cast<unsigned>(lastSprite)) {
                spriteCounter = firstSprite;
            }
        }
        p->size = 1.0;
        p->lifetime = randIntAround(system->lifetimeBase, system->lifetimeJitter);
        p->lifeLeft = p->lifetime;
        p->colour = jitterColour(system->baseColour, system->colourJitter);
        p->timeStep = 1.0;
        p->spare = 5.0;
        p->friction = 0.1;
        p->response = 0.3;
    }
    system->initialised = 1;
}

void copyParticle(int source, int first, int last) {
    assert(currentSystem != nullptr);
    if (first == -1) {
        first = 0;
        last = static_cast<int>(currentSystem->count) - 1;
    } else if (last == -1) {
        last = first;
    }
    selectParticle(source);
    const Particle* from = currentParticle;
    for (int k = first; k <= last; ++k) {
        assert(k >= 0 && static_cast<std::uint32_t>(k) < currentSystem->count);
        Particle* target = &currentSystem->particles[k];
        Particle copy = *from;
        restorePreserved(&copy, *target);
        *target = copy;
    }
    // An empty system has no range start to select.
    if (currentSystem->count != 0) selectParticle(first);
}

void killParticles(int first, int last) {
    assert(currentSystem != nullptr);
    if (last == -1) {
        last = first + 1;
    } else if (last == -2) {
        last = static_cast<int>(currentSystem->count) - 1;
    }
    for (int k = first; k <= last; ++k) {
        selectParticle(k);
        currentParticle->lifetime = 1;
        currentParticle->lifeLeft = 0;
    }
}

}  // namespace lumivortex
