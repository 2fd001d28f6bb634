#include "particles/particle_system.h"

#include <gtest/gtest.h>

#include <vector>

#include "math/colour.h"
#include "math/random.h"
#include "particle_fixture.h"

namespace lumivortex {
namespace {

using testing::ParticleTest;
using testing::testSeed;

std::vector<int> existingSystems() {
    std::vector<int> found;
    for (int i = 0; i < systemSlotCount; ++i) {
        if (systemSlots[i] != nullptr) found.push_back(i);
    }
    return found;
}

void createAll(const std::vector<int>& indices) {
    for (int i : indices) selectSystem(i);
}

// ---- index bookkeeping ----

struct DeleteCase {
    std::vector<int> created;
    int index;
    int expectedResult;
    int first;
    int last;
};

class DeleteSystemTest : public ParticleTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteSystemTest, ReturnsAndMovesFirstAndLast) {
    const DeleteCase& c = GetParam();
    createAll(c.created);
    EXPECT_EQ(deleteSystem(c.index), c.expectedResult);
    EXPECT_EQ(firstSystemIndex, c.first);
    EXPECT_EQ(lastSystemIndex, c.last);
    EXPECT_EQ(systemSlots[c.index], nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteSystemTest,
    ::testing::Values(DeleteCase{{0, 1}, 0, 1, 1, 1},       // the next one becomes first
                      DeleteCase{{1}, 1, 0, 256, 0},         // the only one: back to none
                      DeleteCase{{9, 0, 5}, 0, 1, 5, 9},     // creation order does not matter
                      DeleteCase{{0, 5, 9}, 9, 1, 0, 5},     // the next one below becomes last
                      DeleteCase{{0, 5, 9}, 5, 1, 0, 9},     // a middle one changes neither
                      DeleteCase{{0, 5, 9}, 3, 0, 0, 9},     // empty slot: nothing happens
                      DeleteCase{{255}, 255, 0, 256, 0}));

TEST_F(ParticleTest, CreateThenDeleteBothRestoresNoSystem) {
    createAll({0, 1});
    EXPECT_EQ(firstSystemIndex, 0);
    EXPECT_EQ(lastSystemIndex, 1);
    deleteSystem(0);
    EXPECT_EQ(firstSystemIndex, 1);
    deleteSystem(1);
    EXPECT_EQ(firstSystemIndex, 256);
    EXPECT_EQ(lastSystemIndex, 0);
}

struct DeleteCodeCase {
    std::vector<int> created;
    int code;
    std::vector<int> remaining;
};

class DeleteSystemsTest : public ParticleTest, public ::testing::WithParamInterface<DeleteCodeCase> {};

TEST_P(DeleteSystemsTest, DeletesWhatTheCodeNames) {
    const DeleteCodeCase& c = GetParam();
    createAll(c.created);
    deleteSystems(c.code);
    EXPECT_EQ(existingSystems(), c.remaining);
    if (c.remaining.empty()) {
        EXPECT_EQ(firstSystemIndex, 256);
        EXPECT_EQ(lastSystemIndex, 0);
    } else {
        EXPECT_EQ(firstSystemIndex, c.remaining.front());
        EXPECT_EQ(lastSystemIndex, c.remaining.back());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteSystemsTest,
    ::testing::Values(DeleteCodeCase{{}, deleteAllSystems, {}}, DeleteCodeCase{{0, 1}, deleteAllSystems, {}},
                      DeleteCodeCase{{0}, deleteAllSystems, {}},
                      DeleteCodeCase{{2, 5, 9}, deleteAllSystems, {}},
                      DeleteCodeCase{{2, 5, 9}, deleteFirstSystem, {5, 9}},
                      DeleteCodeCase{{2, 5, 9}, deleteLastSystem, {2, 5}},
                      DeleteCodeCase{{2, 5, 9}, 5, {2, 9}}, DeleteCodeCase{{}, deleteFirstSystem, {}},
                      DeleteCodeCase{{3}, deleteLastSystem, {}}));

TEST_F(ParticleTest, SelectingAnOccupiedSlotCreatesNothing) {
    selectSystem(4);
    ParticleSystem* first = currentSystem;
    first->speedMean = 7.0;
    selectSystem(4);
    EXPECT_EQ(currentSystem, first);
    EXPECT_EQ(currentSystem->speedMean, 7.0);
}

TEST_F(ParticleTest, CreateSystemReplacesAnOccupiedSlotWithDefaults) {
    makeSystem(4, 10);
    currentSystem->speedMean = 7.0;
    createSystem(4);
    EXPECT_EQ(currentSystemIndex, 4);
    EXPECT_EQ(currentSystem->count, 0u);
    EXPECT_EQ(currentSystem->particles, nullptr);
    EXPECT_EQ(currentSystem->speedMean, 100.0);
    EXPECT_EQ(existingSystems(), std::vector<int>{4});
}

TEST_F(ParticleTest, NewSystemHasTheStartSettings) {
    selectSystem(3);
    const ParticleSystem& s = *currentSystem;
    EXPECT_EQ(s.count, 0u);
    EXPECT_EQ(s.linkCount, 0u);
    EXPECT_EQ(s.linkPeriod, 0);
    EXPECT_EQ(s.frameIndex, 0);
    EXPECT_EQ(s.baseColour, 0xFFFFFFFFu);
    EXPECT_EQ(s.colourJitter, 0);
    EXPECT_EQ(s.spawnCentre.x, 0.0);
    EXPECT_EQ(s.spawnHalfSize.x, 500.0);
    EXPECT_EQ(s.spawnHalfSize.y, 500.0);
    EXPECT_EQ(s.spawnHalfSize.z, 500.0);
    EXPECT_EQ(s.speedMean, 100.0);
    EXPECT_EQ(s.speedSpread, 50.0);
    EXPECT_EQ(s.lifetimeBase, 0);
    EXPECT_EQ(s.lifetimeJitter, 0);
    EXPECT_EQ(s.resetLifetime, 1);
    EXPECT_EQ(s.ageCurveMode, 1002);
    EXPECT_EQ(s.respawnFlags, 0);
    EXPECT_EQ(s.forceHook, nullptr);
    EXPECT_EQ(s.bounceHook, nullptr);
    EXPECT_EQ(s.ageCurveHook, nullptr);
    EXPECT_EQ(s.respawnHook, nullptr);
    EXPECT_EQ(s.links, nullptr);
    EXPECT_EQ(s.linkParams, nullptr);
    EXPECT_EQ(s.linkCountdown, 0);
}

TEST_F(ParticleTest, DeletingTheCurrentSystemClearsTheSelection) {
    makeSystem(2, 5);
    selectParticle(3);
    deleteSystem(2);
    EXPECT_EQ(currentSystem, nullptr);
    EXPECT_EQ(currentParticle, nullptr);
}

TEST_F(ParticleTest, NextSystemWithASingleSystemWrapsAtOnce) {
    selectSystem(6);
    EXPECT_EQ(nextSystem(), 0);
    EXPECT_EQ(currentSystemIndex, 6);
    EXPECT_EQ(currentSystem, systemSlots[6]);
}

TEST_F(ParticleTest, NextSystemWalksOccupiedSlotsInAscendingOrder) {
    createAll({9, 2, 5});
    selectSystem(firstSystemIndex);
    std::vector<int> visited{currentSystemIndex};
    while (nextSystem() != 0) visited.push_back(currentSystemIndex);
    EXPECT_EQ(visited, (std::vector<int>{2, 5, 9}));
    EXPECT_EQ(currentSystemIndex, 2);
}

TEST_F(ParticleTest, NextSystemAfterTheCurrentLastWasDeletedWrapsToTheFirst) {
    createAll({2, 5});
    deleteSystem(5);  // current index 5 now lies beyond lastSystemIndex
    EXPECT_EQ(nextSystem(), 0);
    EXPECT_EQ(currentSystemIndex, 2);
    EXPECT_EQ(currentSystem, systemSlots[2]);
}

// ---- initParticles ----

struct SpriteCase {
    std::uint32_t count;
    int firstSprite;
    int lastSprite;
    int randomSprite;
    std::vector<int> expected;  // repeated cyclically over all particles
};

class InitParticlesSpriteTest : public ParticleTest, public ::testing::WithParamInterface<SpriteCase> {};

TEST_P(InitParticlesSpriteTest, AssignsSprites) {
    const SpriteCase& c = GetParam();
    selectSystem(0);
    initParticles(c.count, c.firstSprite, c.lastSprite, c.randomSprite);
    ASSERT_EQ(currentSystem->count, c.count);
    for (std::uint32_t j = 0; j < c.count; ++j) {
        ASSERT_EQ(particle(j).sprite, c.expected[j % c.expected.size()]) << "particle " << j;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, InitParticlesSpriteTest,
                         ::testing::Values(SpriteCase{7000, 4, 4, 0, {4}},     // the trail system
                                           SpriteCase{40, 0, 0, 1, {0}},       // the head system
                                           SpriteCase{10, 2, 4, 0, {2, 3, 4}},  // a cycle
                                           SpriteCase{6, 5, 5, 1, {5}},        // random over one sprite
                                           SpriteCase{4, 3, 1, 0, {3}}));      // last below first

TEST_F(ParticleTest, RandomSpritesFollowTheRoundedSpreadOverTheRange) {
    selectSystem(0);
    initParticles(50, 2, 6, 1);
    setRandomSeed(testSeed);
    for (int j = 0; j < 50; ++j) {
        for (int d = 0; d < 4; ++d) randomDraw();  // speed, then the box z, y, x
        const int r = randomDraw();
        const int expected = static_cast<int>(r * 4.0 / 32767 + 2 + 0.5);
        ASSERT_EQ(particle(j).sprite, expected) << "particle " << j;
        ASSERT_GE(expected, 2);
        ASSERT_LE(expected, 6);
    }
}

TEST_F(ParticleTest, RandomSpritesWithLastZeroUseRandIndexOfTheFirst) {
    selectSystem(0);
    initParticles(30, 3, 0, 1);
    setRandomSeed(testSeed);
    for (int j = 0; j < 30; ++j) {
        for (int d = 0; d < 4; ++d) randomDraw();
        ASSERT_EQ(particle(j).sprite, randIndex(3)) << "particle " << j;
    }
}

TEST_F(ParticleTest, InitParticlesDrawsInTheSpecifiedOrder) {
    selectSystem(1);
    ParticleSystem& s = *currentSystem;
    s.spawnCentre = {10.0, 20.0, 30.0};
    s.spawnHalfSize = {1.0, 0.0, 3.0};
    s.speedMean = 5.0;
    s.speedSpread = 2.0;
    s.lifetimeBase = 100;
    s.lifetimeJitter = 7;
    s.baseColour = 0x80808080;
    s.colourJitter = 20;
    initParticles(3, 1, 2, 1);

    setRandomSeed(testSeed);
    for (int j = 0; j < 3; ++j) {
        const Particle& p = particle(j);
        const double speed = randAround(5.0, 2.0);
        Vec3 position;
        randInBox(&position, 10.0, 20.0, 30.0, 1.0, 0.0, 3.0);
        const int sprite = static_cast<int>(randomDraw() * 1.0 / 32767 + 1 + 0.5);
        const int lifetime = randIntAround(100, 7);
        const std::uint32_t colour = jitterColour(0x80808080, 20);
        EXPECT_EQ(p.velocity.x, speed);
        EXPECT_EQ(p.velocity.y, speed);
        EXPECT_EQ(p.velocity.z, speed);
        EXPECT_EQ(p.position.x, position.x);
        EXPECT_EQ(p.position.y, position.y);
        EXPECT_EQ(p.position.z, position.z);
        EXPECT_EQ(p.sprite, sprite);
        EXPECT_EQ(p.lifetime, lifetime);
        EXPECT_EQ(p.lifeLeft, lifetime);
        EXPECT_EQ(p.colour, colour);
        EXPECT_EQ(p.size, 1.0);
        EXPECT_EQ(p.timeStep, 1.0);
        EXPECT_EQ(p.spare, 5.0);
        EXPECT_EQ(p.friction, 0.1);
        EXPECT_EQ(p.response, 0.3);
    }
    EXPECT_EQ(s.initialised, 1);
}

TEST_F(ParticleTest, InitParticlesKeepsTheArrayWhenTheCountIsUnchanged) {
    makeSystem(0, 100);
    const Particle* before = currentSystem->particles;
    initParticles(100, 0, 0, 0);
    EXPECT_EQ(currentSystem->particles, before);
    initParticles(101, 0, 0, 0);
    EXPECT_EQ(currentSystem->count, 101u);
}

// ---- copyParticle ----

// Particles 0..count-1 whose every field differs from every other's.
void makeDistinctParticles(std::uint32_t count) {
    selectSystem(0);
    currentSystem->lifetimeBase = 50;
    currentSystem->lifetimeJitter = 40;
    currentSystem->colourJitter = 60;
    initParticles(count, 0, count - 1, 0);
    for (std::uint32_t k = 0; k < count; ++k) {
        Particle& p = currentSystem->particles[k];
        p.friction = 0.01 * k;
        p.response = 0.02 * k;
        p.spare = 0.03 * k;
        p.timeStep = 0.04 * k;
        p.size = 0.05 * k;
        p.lifeLeft = static_cast<int>(k);
        p.lifetime = static_cast<int>(100 + k);
    }
}

void expectSameFields(const Particle& actual, const Particle& expected) {
    EXPECT_EQ(actual.position.x, expected.position.x);
    EXPECT_EQ(actual.position.y, expected.position.y);
    EXPECT_EQ(actual.position.z, expected.position.z);
    EXPECT_EQ(actual.velocity.x, expected.velocity.x);
    EXPECT_EQ(actual.velocity.y, expected.velocity.y);
    EXPECT_EQ(actual.velocity.z, expected.velocity.z);
    EXPECT_EQ(actual.friction, expected.friction);
    EXPECT_EQ(actual.response, expected.response);
    EXPECT_EQ(actual.spare, expected.spare);
    EXPECT_EQ(actual.timeStep, expected.timeStep);
    EXPECT_EQ(actual.size, expected.size);
    EXPECT_EQ(actual.sprite, expected.sprite);
    EXPECT_EQ(actual.lifeLeft, expected.lifeLeft);
    EXPECT_EQ(actual.lifetime, expected.lifetime);
    EXPECT_EQ(actual.colour, expected.colour);
}

struct CopyCase {
    std::uint8_t mask;
    int source;
    int first;
    int last;
    int rangeFirst;  // the range the call must touch
    int rangeLast;
};

class CopyParticleTest : public ParticleTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(CopyParticleTest, CopiesTheSourceOverTheRangeKeepingMaskedFields) {
    const CopyCase& c = GetParam();
    constexpr std::uint32_t count = 6;
    makeDistinctParticles(count);
    const std::vector<Particle> before(currentSystem->particles, currentSystem->particles + count);
    preserveMask = c.mask;
    copyParticle(c.source, c.first, c.last);

    for (int k = 0; k < static_cast<int>(count); ++k) {
        SCOPED_TRACE(k);
        Particle expected = before[k];
        if (k >= c.rangeFirst && k <= c.rangeLast) {
            expected = before[c.source];
            if (c.mask & preservePosition) expected.position = before[k].position;
            if (c.mask & preserveVelocity) expected.velocity = before[k].velocity;
            if (c.mask & preserveSprite) expected.sprite = before[k].sprite;
            if (c.mask & preserveColour) expected.colour = before[k].colour;
            if (c.mask & preserveLife) {
                expected.lifeLeft = before[k].lifeLeft;
                expected.lifetime = before[k].lifetime;
            }
        }
        expectSameFields(particle(k), expected);
    }
    EXPECT_EQ(currentParticleIndex, c.rangeFirst);
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyParticleTest,
                         ::testing::Values(CopyCase{15, 0, -1, -1, 0, 5},  // the trail set-up
                                           CopyCase{0, 0, -1, 3, 0, 5},    // first -1 ignores last
                                           CopyCase{0, 1, 3, -1, 3, 3},    // last -1: one particle
                                           CopyCase{16, 0, 2, 4, 2, 4},    // keeps the life counters
                                           CopyCase{31, 2, 1, 4, 1, 4},    // keeps every masked field
                                           CopyCase{1, 2, 0, 5, 0, 5}));   // source inside the range

// ---- killParticles ----

struct KillCase {
    int first;
    int last;
    int killedFirst;
    int killedLast;
};

class KillParticlesTest : public ParticleTest, public ::testing::WithParamInterface<KillCase> {};

TEST_P(KillParticlesTest, EndsTheLifeOfTheRangeOnly) {
    const KillCase& c = GetParam();
    selectSystem(0);
    currentSystem->lifetimeBase = 50;
    initParticles(10, 0, 0, 0);
    killParticles(c.first, c.last);
    for (int k = 0; k < 10; ++k) {
        const bool killed = k >= c.killedFirst && k <= c.killedLast;
        EXPECT_EQ(particle(k).lifetime, killed ? 1 : 50) << "particle " << k;
        EXPECT_EQ(particle(k).lifeLeft, killed ? 0 : 50) << "particle " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, KillParticlesTest,
                         ::testing::Values(KillCase{5, -1, 5, 6},   // -1: two particles
                                           KillCase{0, -2, 0, 9},   // -2: up to the last
                                           KillCase{2, 4, 2, 4}, KillCase{9, 9, 9, 9}));

}  // namespace
}  // namespace lumivortex
