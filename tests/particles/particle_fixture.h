// Shared fixture of the particle tests: every test starts with no particle
// system, an empty preserve mask and a fixed random seed, and leaves no
// system behind.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "math/random.h"
#include "particles/particle_system.h"

namespace lumivortex::testing {

inline constexpr std::uint32_t testSeed = 12345;

class ParticleTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }

    static void reset() {
        deleteSystems(deleteAllSystems);
        preserveMask = 0;
        setRandomSeed(testSeed);
    }

    // A system at index with count particles of sprite 0, current afterwards.
    static ParticleSystem* makeSystem(int index, std::uint32_t count) {
        selectSystem(index);
        initParticles(count, 0, 0, 0);
        return currentSystem;
    }

    static Particle& particle(int index) { return currentSystem->particles[index]; }
};

}  // namespace lumivortex::testing
