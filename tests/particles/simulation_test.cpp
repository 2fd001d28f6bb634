#include "particles/simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "host/memory.h"
#include "math/colour.h"
#include "math/random.h"
#include "particle_fixture.h"
#include "particles/links.h"

namespace lumivortex {
namespace {

using testing::ParticleTest;
using testing::testSeed;

// One particle at the origin moving (1, 2, 3) with the given drag settings.
class StepTest : public ParticleTest {
protected:
    Particle& single(double friction, double response, double timeStep) {
        makeSystem(0, 1);
        Particle& p = particle(0);
        p.position = {0.0, 0.0, 0.0};
        p.velocity = {1.0, 2.0, 3.0};
        p.friction = friction;
        p.response = response;
        p.timeStep = timeStep;
        p.lifetime = 0;
        p.lifeLeft = 0;
        return p;
    }
};

// ---- move and drag ----

struct DragCase {
    double friction;
    double response;
    double timeStep;
    double velocityFactor;  // per step
};

class DragTest : public StepTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(DragTest, MovesByTheOldVelocityThenSlowsIt) {
    const DragCase& c = GetParam();
    Particle& p = single(c.friction, c.response, c.timeStep);
    Vec3 expectedPosition = {0.0, 0.0, 0.0};
    Vec3 expectedVelocity = {1.0, 2.0, 3.0};
    for (int step = 0; step < 3; ++step) {
        updateParticles();
        expectedPosition.x += c.timeStep * expectedVelocity.x;
        expectedPosition.z += c.timeStep * expectedVelocity.z;
        expectedVelocity.x *= c.velocityFactor;
        expectedVelocity.z *= c.velocityFactor;
    }
    EXPECT_DOUBLE_EQ(p.velocity.x, expectedVelocity.x);
    EXPECT_DOUBLE_EQ(p.velocity.z, expectedVelocity.z);
    EXPECT_DOUBLE_EQ(p.position.x, expectedPosition.x);
    EXPECT_DOUBLE_EQ(p.position.z, expectedPosition.z);
}

INSTANTIATE_TEST_SUITE_P(Cases, DragTest,
                         ::testing::Values(DragCase{0.1, 0.3, 1.0, 0.97},   // the default particle
                                           DragCase{0.1, 0.0, 1.0, 1.0},    // no response: no drag
                                           DragCase{0.1, 0.3, 0.0, 0.97},   // no time step: stays put
                                           DragCase{0.25, 0.5, 0.0001, 0.875}));  // the trail particle

// Pushes along x and by the particle's own height, read through the selection.
Vec3* pushByHeight(Vec3* scratch) {
    *scratch = {10.0, currentParticle->position.y, 0.0};
    return scratch;
}

TEST_F(StepTest, ForceIsScaledByResponseBeforeTheMove) {
    Particle& p = single(0.0, 0.5, 1.0);
    p.position = {0.0, 4.0, 0.0};
    currentSystem->forceHook = pushByHeight;
    updateParticles();
    EXPECT_EQ(p.velocity.x, 1.0 + 0.5 * 10.0);
    EXPECT_EQ(p.velocity.y, 2.0 + 0.5 * 4.0);
    EXPECT_EQ(p.position.x, 6.0);  // moved with the pushed velocity
}

TEST_F(StepTest, ForceWithoutResponseChangesNothing) {
    Particle& p = single(0.1, 0.0, 1.0);
    currentSystem->forceHook = [](Vec3* scratch) {
        *scratch = {1000.0, 1000.0, 1000.0};
        return scratch;
    };
    updateParticles();
    EXPECT_EQ(p.velocity.x, 1.0);
    EXPECT_EQ(p.position.x, 1.0);
}

// ---- bounce ----

struct BounceCase {
    double k;
    Vec3 velocity;
    double loss;
    double speedFactor;  // the direction never changes
};

class BounceTest : public StepTest, public ::testing::WithParamInterface<BounceCase> {};

double bounceK = 0.0;

TEST_P(BounceTest, ScalesTheSpeedOnlyWhenMovingAlongN) {
    const BounceCase& c = GetParam();
    Particle& p = single(0.0, 0.0, 1.0);
    p.velocity = c.velocity;
    bounceK = c.k;
    bounceLoss = c.loss;
    currentSystem->bounceHook = [] { return bounceK; };
    updateParticles();
    bounceLoss = 1.0;
    EXPECT_NEAR(p.velocity.x, c.speedFactor * c.velocity.x, 1e-12);
    EXPECT_NEAR(p.velocity.y, c.speedFactor * c.velocity.y, 1e-12);
    EXPECT_NEAR(p.velocity.z, c.speedFactor * c.velocity.z, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Cases, BounceTest,
                         ::testing::Values(BounceCase{1.0, {1.0, 2.0, 3.0}, 1.0, 0.0},   // stops
                                           BounceCase{1.0, {1.0, 2.0, 3.0}, 0.25, 0.75},
                                           BounceCase{1.0, {-1.0, -2.0, 0.5}, 1.0, 1.0},  // negative sum
                                           BounceCase{-2.0, {-1.0, -2.0, 0.5}, 0.5, 0.5},
                                           BounceCase{0.0, {1.0, 2.0, 3.0}, 1.0, 1.0}));

// ---- ageing and rebirth ----

TEST_F(StepTest, LifetimeThreeEndsOnTheFourthStep) {
    Particle& p = single(0.1, 0.3, 1.0);
    currentSystem->lifetimeBase = 9;
    p.lifetime = 3;
    p.lifeLeft = 3;
    std::vector<int> lifeLeft;
    for (int step = 0; step < 4; ++step) {
        updateParticles();
        lifeLeft.push_back(p.lifeLeft);
    }
    EXPECT_EQ(lifeLeft, (std::vector<int>{2, 1, 0, 9}));  // the fourth step respawns
    EXPECT_EQ(p.lifetime, 9);
}

TEST_F(StepTest, WithoutResetADeadParticleKeepsMovingAndItsColour) {
    Particle& p = single(0.0, 0.0, 1.0);
    currentSystem->resetLifetime = 0;
    currentSystem->lifetimeBase = 9;
    p.lifetime = 1;
    p.lifeLeft = 0;
    p.colour = 0xFF123456;
    for (int step = 0; step < 3; ++step) updateParticles();
    EXPECT_EQ(p.lifeLeft, 0);
    EXPECT_EQ(p.lifetime, 1);
    EXPECT_EQ(p.colour, 0xFF123456u);
    EXPECT_EQ(p.position.z, 9.0);
}

TEST_F(StepTest, LifetimeZeroNeverAges) {
    Particle& p = single(0.1, 0.3, 1.0);
    currentSystem->respawnFlags = respawnPosition;
    updateParticles();
    EXPECT_EQ(p.lifeLeft, 0);
    EXPECT_EQ(p.position.x, 1.0);  // not respawned into the spawn box
}

TEST_F(StepTest, RespawnFlagsDrawPositionVelocityColourThenLifetime) {
    Particle& p = single(0.0, 0.0, 1.0);
    ParticleSystem& s = *currentSystem;
    s.respawnFlags = respawnPosition | respawnVelocity | respawnColour;
    s.spawnCentre = {1.0, 2.0, 3.0};
    s.spawnHalfSize = {4.0, 5.0, 6.0};
    s.speedMean = 20.0;
    s.speedSpread = 5.0;
    s.baseColour = 0xFF808080;
    s.colourJitter = 30;
    s.lifetimeBase = 40;
    s.lifetimeJitter = 10;
    p.lifetime = 1;
    setRandomSeed(testSeed);
    updateParticles();
    const int after = randomDraw();

    setRandomSeed(testSeed);
    Vec3 position;
    randInBox(&position, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0);
    Vec3 velocity;
    randVelocity(&velocity, 20.0, 5.0);
    const std::uint32_t colour = jitterColour(0xFF808080, 30);
    const int lifetime = randIntAround(40, 10);
    EXPECT_EQ(p.position.x, position.x);
    EXPECT_EQ(p.position.y, position.y);
    EXPECT_EQ(p.position.z, position.z);
    EXPECT_EQ(p.velocity.x, velocity.x);
    EXPECT_EQ(p.velocity.z, velocity.z);
    EXPECT_EQ(p.colour, colour);
    EXPECT_EQ(p.lifetime, lifetime);
    EXPECT_EQ(p.lifeLeft, lifetime);
    EXPECT_EQ(after, randomDraw());
}

int respawnResult = 0;
int respawnCalls = 0;

int countingRespawn() {
    ++respawnCalls;
    currentParticle->velocity = {0.0, 0.0, 10.0};
    return respawnResult;
}

struct HookCase {
    int result;
    int resetLifetime;
    double z;  // position after one step from z 0 with velocity z 3
    int lifeLeft;
};

class RespawnHookTest : public StepTest, public ::testing::WithParamInterface<HookCase> {};

TEST_P(RespawnHookTest, ReplacesTheBuiltInRespawn) {
    const HookCase& c = GetParam();
    Particle& p = single(0.0, 0.0, 1.0);
    currentSystem->respawnHook = countingRespawn;
    currentSystem->respawnFlags = respawnPosition;  // ignored when a hook is set
    currentSystem->resetLifetime = c.resetLifetime;
    currentSystem->lifetimeBase = 25;
    p.lifetime = 1;
    respawnResult = c.result;
    respawnCalls = 0;
    updateParticles();
    EXPECT_EQ(respawnCalls, 1);
    EXPECT_EQ(p.position.z, c.z);
    EXPECT_EQ(p.lifeLeft, c.lifeLeft);
    EXPECT_EQ(p.position.x, 1.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RespawnHookTest,
                         ::testing::Values(HookCase{1, 1, 13.0, 25},  // reborn: moves once more
                                           HookCase{1, 0, 13.0, 0},
                                           HookCase{0, 1, 3.0, 0}));  // refused: nothing further

// ---- links ----

TEST_F(ParticleTest, LinkPeriodTwoEvaluatesOnSteps1And4And7) {
    makeSystem(0, 4);
    ParticleSystem& s = *currentSystem;
    s.linkPeriod = 2;
    std::vector<int> evaluated;
    std::vector<int> countdown;
    for (int step = 1; step <= 9; ++step) {
        if (s.linkCountdown == 0) evaluated.push_back(step);
        updateLinks();
        countdown.push_back(s.linkCountdown);
    }
    EXPECT_EQ(evaluated, (std::vector<int>{1, 4, 7}));
    EXPECT_EQ(countdown, (std::vector<int>{2, 1, 0, 2, 1, 0, 2, 1, 0}));
}

TEST_F(ParticleTest, LinkTimerRunsWithoutLinkTables) {
    selectSystem(0);  // no particles either: the null tables stop first
    currentSystem->linkPeriod = 1;
    updateLinks();
    EXPECT_EQ(currentSystem->linkCountdown, 1);
    updateLinks();
    EXPECT_EQ(currentSystem->linkCountdown, 0);
}

// A system with link tables but no particles.
void linkedSystemWithoutParticles() {
    selectSystem(0);
    currentSystem->links = static_cast<Link*>(alignedAlloc16(sizeof(Link), fillZero));
    currentSystem->linkParams = static_cast<LinkParams*>(alignedAlloc16(sizeof(LinkParams), fillZero));
    currentSystem->linkCount = 1;
}

TEST_F(ParticleTest, DueLinksWithoutParticlesAreFatal) {
    EXPECT_EXIT(
        {
            linkedSystemWithoutParticles();
            updateLinks();
        },
        ::testing::ExitedWithCode(0), "PFX: Update is not complete");
}

TEST_F(ParticleTest, LinksNotYetDueDoNotCheckParticles) {
    linkedSystemWithoutParticles();
    currentSystem->linkCountdown = 1;
    updateLinks();
    EXPECT_EQ(currentSystem->linkCountdown, 0);
}

TEST_F(ParticleTest, UpdatingASystemWithoutParticlesIsFatal) {
    EXPECT_EXIT(
        {
            selectSystem(0);
            updateParticles();
        },
        ::testing::ExitedWithCode(0), "PFX: Update is not complete");
}

// ---- reflect ----

struct ReflectCase {
    Vec3 v;
    Vec3 n;
    Vec3 expected;
};

class ReflectTest : public ::testing::TestWithParam<ReflectCase> {};

TEST_P(ReflectTest, MirrorsOnlyAgainstTheNormal) {
    const ReflectCase& c = GetParam();
    Vec3 out;
    EXPECT_EQ(reflect(&out, &c.v, &c.n), &out);
    EXPECT_DOUBLE_EQ(out.x, c.expected.x);
    EXPECT_DOUBLE_EQ(out.y, c.expected.y);
    EXPECT_DOUBLE_EQ(out.z, c.expected.z);
    Vec3 inPlace = c.v;
    reflect(&inPlace, &inPlace, &c.n);
    EXPECT_DOUBLE_EQ(inPlace.y, c.expected.y);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReflectTest,
    ::testing::Values(ReflectCase{{0, -1, 0}, {0, 1, 0}, {0, 1, 0}},
                      ReflectCase{{0, 1, 0}, {0, 1, 0}, {0, 1, 0}},  // moving away: passes
                      ReflectCase{{1, -1, 0}, {0, 1, 0}, {1, 1, 0}},
                      ReflectCase{{0, -1, 0}, {0, 2, 0}, {0, 7, 0}},       // n not normalised
                      ReflectCase{{0, -4e-8, 0}, {0, 1, 0}, {0, -4e-8, 0}},  // within the tolerance
                      ReflectCase{{1, 0, 0}, {0, 1, 0}, {1, 0, 0}}));      // parallel: passes

}  // namespace
}  // namespace lumivortex
