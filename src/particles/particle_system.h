// Particle systems: pools of particles with the settings that govern their
// birth, motion, ageing and rebirth, held in a 256-slot table and reached
// through the current-selection globals. Data flow: selectSystem makes a
// system current (creating it), the application writes its settings straight
// into the record, initParticles fills its particle array from those
// settings, and the emitters, the simulation step and the draw list then read
// and write the particles by index.
#pragma once

#include <cstdint>

#include "math/vec3.h"

namespace lumivortex {

struct DrawEntry;
struct Link;
struct LinkParams;

struct Particle {
    Vec3 position;  // in the system's frame coordinates
    Vec3 velocity;  // change of position per unit of timeStep
    double friction;
    double response;  // scales every force and the drag (an inverse mass)
    double spare;     // copied with the particle; nothing reads it
    double timeStep;
    double size;  // drawing size factor
    std::int32_t sprite;
    std::int32_t lifeLeft;  // steps of life remaining, counting down to 0
    std::int32_t lifetime;  // full life in steps; 0 = never dies
    std::uint32_t colour;   // 0xAARRGGBB; alpha is the particle's opacity
};

// Hooks reach the particle they concern through currentParticle.
// Returns the force to add (usually written into scratch).
using ForceHook = Vec3* (*)(Vec3* scratch);
// Returns k; the particle bounces when k * (vx + vy + vz) > 0.
using BounceHook = double (*)();
// Replaces the renderer's opacity-over-life curve for one draw-list entry.
using AgeCurveHook = double (*)(const DrawEntry* entry);
// Non-zero = the particle was reborn.
using RespawnHook = int (*)();

// Bits of ParticleSystem::respawnFlags.
inline constexpr std::int32_t respawnPosition = 1;
inline constexpr std::int32_t respawnVelocity = 2;
inline constexpr std::int32_t respawnColour = 4;

// The member initialisers are the settings of a new system.
struct ParticleSystem {
    std::uint32_t count = 0;      // particles in `particles`
    std::uint32_t linkCount = 0;  // records in `links`
    std::int32_t reserved = 0;
    std::int32_t linkPeriod = 0;  // links run every linkPeriod + 1 steps
    std::int32_t frameIndex = 0;  // frame of the particles' space; 0 = none
    std::uint32_t baseColour = 0xFFFFFFFF;
    std::int32_t colourJitter = 0;
    Vec3 spawnCentre = {0.0, 0.0, 0.0};
    Vec3 spawnHalfSize = {500.0, 500.0, 500.0};
    double speedMean = 100.0;
    double speedSpread = 50.0;
    std::int32_t lifetimeBase = 0;
    std::int32_t lifetimeJitter = 0;
    std::int32_t resetLifetime = 1;  // non-zero: a reborn particle draws a new lifetime
    std::int32_t ageCurveMode = 1002;
    std::int32_t respawnFlags = 0;  // respawnPosition | respawnVelocity | respawnColour
    ForceHook forceHook = nullptr;
    BounceHook bounceHook = nullptr;
    AgeCurveHook ageCurveHook = nullptr;
    RespawnHook respawnHook = nullptr;
    Particle* particles = nullptr;  // `count` particles, 16-byte aligned (alignedAlloc)
    Link* links = nullptr;          // owned by the system: allocate with alignedAlloc
    LinkParams* linkParams = nullptr;  // likewise
    std::int32_t initialised = 0;   // set by initParticles; nothing reads it
    std::int32_t linkCountdown = 0;  // steps until the next link evaluation
};

inline constexpr int systemSlotCount = 256;

// Slot table, indices 0..255, all empty at start.
extern ParticleSystem* systemSlots[systemSlotCount];
// Lowest and highest occupied index; systemSlotCount and 0 when none exists.
extern int firstSystemIndex;
extern int lastSystemIndex;
extern int currentSystemIndex;
extern ParticleSystem* currentSystem;
extern int currentParticleIndex;
extern Particle* currentParticle;

// Bits of preserveMask: the fields copyParticle keeps in its targets.
inline constexpr std::uint8_t preservePosition = 1;
inline constexpr std::uint8_t preserveVelocity = 2;
inline constexpr std::uint8_t preserveSprite = 4;
inline constexpr std::uint8_t preserveColour = 8;
inline constexpr std::uint8_t preserveLife = 16;  // lifeLeft and lifetime
extern std::uint8_t preserveMask;

// Codes of deleteSystems besides a plain index.
inline constexpr int deleteAllSystems = -10;
inline constexpr int deleteFirstSystem = -4;
inline constexpr int deleteLastSystem = -2;

// Makes the system at index (0..255) current, creating it if the slot is empty.
void selectSystem(int index);
// Makes a new system at index, replacing an existing one, and makes it current.
void createSystem(int index);
// Gives every setting its start value; `initialised` is left as it is.
void initSystem(ParticleSystem* system);
// Releases the system at index with its arrays. Returns 0 when the slot was
// empty or the system was the only one, else 1. If the deleted system was
// current, currentSystem and currentParticle become null.
int deleteSystem(int index);
// deleteAllSystems, deleteFirstSystem, deleteLastSystem or an index.
void deleteSystems(int code);
// Makes the next occupied slot current and returns 1; after the last one it
// wraps to the first and returns 0.
int nextSystem();

// Operations on currentSystem.
void selectParticle(int index);
// (Re)fills the particle array with count particles from the system's
// settings. Sprites cycle firstSprite..lastSprite, or are random when
// randomSprite is non-zero (lastSprite 0: randIndex (firstSprite)).
void initParticles(std::uint32_t count, int firstSprite, int lastSprite, int randomSprite);
// Copies particle source over first..last (first -1: all; last -1: first
// only), keeping the fields named by preserveMask; selects the range's start.
void copyParticle(int source, int first, int last);
// Ends the life of first..last (last -1: first + 1; last -2: the last particle).
void killParticles(int first, int last);

}  // namespace lumivortex
