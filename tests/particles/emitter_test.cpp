#include "particles/emitter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "math/frame.h"
#include "math/random.h"
#include "particle_fixture.h"

namespace lumivortex {
namespace {

using testing::testSeed;

// An emitter with n point-shaped points at x = 0, 1, 2, ... (so a birth's
// position names its point), aimed along +z with cone 0 and no speed spread.
class EmitterTest : public ::testing::Test {
protected:
    void SetUp() override { setRandomSeed(testSeed); }
    void TearDown() override { releaseEmitter(&emitter); }

    void givePoints(std::uint32_t n) {
        setPointCount(&emitter, n);
        for (std::uint32_t i = 0; i < n; ++i) {
            selectEmitterPoint(&emitter, i);
            setEmitterPoint(i, 0, 0, 0, 0, 1, 0.0, 100.0, 0.0);
        }
    }

    Emitter emitter;
};

TEST_F(EmitterTest, NewEmitterIsExhaustedUntilRearmed) {
    givePoints(1);
    EXPECT_EQ(emitter.burstSize, 10);
    EXPECT_EQ(emit(&emitter), 0);
    rearmEmitter(&emitter);
    EXPECT_EQ(emit(&emitter), 1);
}

TEST_F(EmitterTest, InitEmitterRestoresTheStartSettings) {
    givePoints(2);
    releaseEmitter(&emitter);
    emitter.step = 5;
    emitter.exhausted = 0;
    initEmitter(&emitter);
    EXPECT_EQ(emitter.pointCount, 0u);
    EXPECT_EQ(emitter.step, 1);
    EXPECT_EQ(emitter.randomStep, 0);
    EXPECT_EQ(emitter.pointIndex, 0u);
    EXPECT_EQ(emitter.frameIndex, 0);
    EXPECT_EQ(emitter.burstLeft, 10);
    EXPECT_EQ(emitter.exhausted, 1);
    EXPECT_EQ(emitter.autoRearm, 1);
    EXPECT_EQ(emitter.hook, nullptr);
    EXPECT_EQ(emitter.points, nullptr);
}

TEST_F(EmitterTest, EmitterWithoutPointsGivesNothing) {
    rearmEmitter(&emitter);
    emissionSpeed = -1.0;
    EXPECT_EQ(emit(&emitter), 0);
    EXPECT_EQ(emissionSpeed, -1.0);
}

struct BurstCase {
    int burstSize;
    int autoRearm;
    int calls;
    std::vector<int> results;  // of the calls after one re-arm
    int burstLeftAfter;
};

class BurstTest : public EmitterTest, public ::testing::WithParamInterface<BurstCase> {};

TEST_P(BurstTest, GivesBurstSizeBirthsPerRearm) {
    const BurstCase& c = GetParam();
    givePoints(1);
    emitter.burstSize = c.burstSize;
    emitter.autoRearm = c.autoRearm;
    rearmEmitter(&emitter);
    std::vector<int> results;
    for (int i = 0; i < c.calls; ++i) results.push_back(emit(&emitter));
    EXPECT_EQ(results, c.results);
    EXPECT_EQ(emitter.burstLeft, c.burstLeftAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BurstTest,
    ::testing::Values(BurstCase{1, 1, 2, {1, 0}, 1},  // one per step; the second re-fills the count
                      BurstCase{3, 1, 5, {1, 1, 1, 0, 0}, 2},
                      BurstCase{0, 1, 6, {1, 1, 1, 1, 1, 1}, 0},  // unlimited: never exhausts
                      BurstCase{2, 0, 2, {0, 0}, 0}));            // no auto re-arm: stays exhausted

TEST_F(EmitterTest, BurstOfOneGivesOneBirthEveryStep) {
    givePoints(1);
    emitter.burstSize = 1;
    for (int step = 0; step < 5; ++step) {
        rearmEmitter(&emitter);
        EXPECT_EQ(emit(&emitter), 1);
        EXPECT_EQ(emit(&emitter), 0);
    }
}

TEST_F(EmitterTest, ThreePointsWithStepTwoVisitZeroTwoOne) {
    givePoints(3);
    emitter.burstSize = 0;
    emitter.step = 2;
    rearmEmitter(&emitter);
    std::vector<double> visited;
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(emit(&emitter), 1);
        visited.push_back(emissionPosition.x);
    }
    EXPECT_EQ(visited, (std::vector<double>{0, 2, 1, 0, 2, 1}));
}

TEST_F(EmitterTest, RandomStepAdvancesOneToRandomStep) {
    givePoints(5);
    emitter.burstSize = 0;
    emitter.randomStep = 3;
    rearmEmitter(&emitter);
    for (int i = 0; i < 20; ++i) {
        const std::uint32_t before = emitter.pointIndex;
        ASSERT_EQ(emit(&emitter), 1);
        EXPECT_EQ(emissionPosition.x, before);
        // Replay the one draw of the step (cone 0, no spread: nothing else draws).
        setRandomSeed(testSeed);
        for (int d = 0; d < i; ++d) randomDraw();
        const std::uint32_t advance = 1 + randIndex(2);
        EXPECT_EQ(emitter.pointIndex, (before + advance) % 5);
    }
}

TEST_F(EmitterTest, IndexBeyondTheArrayWrapsInsteadOfReadingPastIt) {
    givePoints(3);
    emitter.burstSize = 0;
    emitter.pointIndex = 7;  // e.g. left over from a longer point list
    rearmEmitter(&emitter);
    ASSERT_EQ(emit(&emitter), 1);
    EXPECT_EQ(emissionPosition.x, 1.0);
    EXPECT_EQ(emitter.pointIndex, 2u);
}

TEST_F(EmitterTest, SetPointCountGivesDefaultPointsAndKeepsPointIndex) {
    emitter.pointIndex = 1;
    setPointCount(&emitter, 4);
    ASSERT_NE(emitter.points, nullptr);
    EXPECT_EQ(emitter.pointCount, 4u);
    EXPECT_EQ(emitter.pointIndex, 1u);
    for (std::uint32_t i = 0; i < 4; ++i) {
        const EmitterPoint& p = emitter.points[i];
        EXPECT_EQ(p.cone, 1.0);
        EXPECT_EQ(p.speed, 100.0);
        EXPECT_EQ(p.speedSpread, 0.0);
        EXPECT_EQ(p.shape, 1);
        EXPECT_EQ(p.direction.z, 0.0);
    }
}

// ---- direction ----

struct ConeCase {
    double cone;
    bool draws;  // whether the direction consumes three draws
};

class ConeTest : public EmitterTest, public ::testing::WithParamInterface<ConeCase> {};

TEST_P(ConeTest, DirectionFollowsTheCone) {
    const ConeCase& c = GetParam();
    setPointCount(&emitter, 1);
    selectEmitterPoint(&emitter, 0);
    setEmitterPoint(0, 0, 0, 0, 0, 1, c.cone, 100.0, 0.0);
    emitter.burstSize = 0;
    rearmEmitter(&emitter);
    ASSERT_EQ(emit(&emitter), 1);
    const Vec3 direction = emissionDirection;
    const int after = randomDraw();

    setRandomSeed(testSeed);
    Vec3 random = {0.0, 0.0, 0.0};
    if (c.draws) randDirection(0.0, 1.0, &random);
    EXPECT_EQ(after, randomDraw()) << "draws consumed by the direction";
    if (c.cone == 0.0) {
        EXPECT_EQ(direction.x, 0.0);
        EXPECT_EQ(direction.y, 0.0);
        EXPECT_EQ(direction.z, 1.0);
    } else if (c.cone == 1.0) {
        EXPECT_EQ(direction.x, random.x);
        EXPECT_EQ(direction.y, random.y);
        EXPECT_EQ(direction.z, random.z);
        EXPECT_NEAR(std::sqrt(direction.x * direction.x + direction.y * direction.y + direction.z * direction.z),
                    1.0, 1e-12);
    } else {
        EXPECT_EQ(direction.x, c.cone * random.x);
        EXPECT_EQ(direction.y, c.cone * random.y);
        EXPECT_EQ(direction.z, c.cone * random.z + 1.0);
    }
    EXPECT_EQ(emissionSpeed, 100.0);  // no spread: exactly the speed, no draw
}

INSTANTIATE_TEST_SUITE_P(Cases, ConeTest,
                         ::testing::Values(ConeCase{0.0, false}, ConeCase{1.0, true}, ConeCase{0.5, true}));

TEST_F(EmitterTest, BoxDrawsDirectionThenBoxZYXThenSpeedThenStep) {
    setPointCount(&emitter, 2);
    selectEmitterPoint(&emitter, 0);
    setEmitterPoint(1, 2, 3, 0, 0, 1, 0.5, 80.0, 10.0);
    currentPoint->spread = {4.0, 5.0, 6.0};
    currentPoint->shape = emitterShapeBox;
    emitter.burstSize = 0;
    emitter.randomStep = 1;
    rearmEmitter(&emitter);
    ASSERT_EQ(emit(&emitter), 1);
    const int after = randomDraw();

    setRandomSeed(testSeed);
    Vec3 random;
    randDirection(0.0, 1.0, &random);
    Vec3 position;
    randInBox(&position, 1, 2, 3, 4, 5, 6);
    const double speed = randAround(80.0, 10.0);
    randIndex(0);
    EXPECT_EQ(emissionDirection.x, 0.5 * random.x);
    EXPECT_EQ(emissionDirection.z, 0.5 * random.z + 1.0);
    EXPECT_EQ(emissionPosition.x, position.x);
    EXPECT_EQ(emissionPosition.y, position.y);
    EXPECT_EQ(emissionPosition.z, position.z);
    EXPECT_EQ(emissionSpeed, speed);
    EXPECT_EQ(after, randomDraw());
}

TEST_F(EmitterTest, UnknownShapeKeepsThePreviousPositionAndSpeed) {
    givePoints(1);
    emitter.points[0].shape = 3;
    emitter.burstSize = 0;
    rearmEmitter(&emitter);
    emissionPosition = {7.0, 8.0, 9.0};
    emissionSpeed = 42.0;
    ASSERT_EQ(emit(&emitter), 1);
    EXPECT_EQ(emissionPosition.x, 7.0);
    EXPECT_EQ(emissionSpeed, 42.0);
    EXPECT_EQ(emissionDirection.z, 1.0);
}

// ---- hook and frame ----

void doubleTheSpeedAndLift() {
    emissionSpeed *= 2.0;
    emissionPosition.y += 1.0;
}

// Frame indices here stay clear of those the scene and other tests use.
constexpr int rotatedFrame = 900;
constexpr int pivotFrame = 901;

TEST_F(EmitterTest, ConeZeroOnARotatedFrameGivesTheFramesWorldZAxis) {
    selectFrame(rotatedFrame);
    setOrientationPreset(0);  // Z axis along world +x
    refreshWorld();
    givePoints(1);
    emitter.frameIndex = rotatedFrame;
    rearmEmitter(&emitter);
    ASSERT_EQ(emit(&emitter), 1);
    EXPECT_EQ(emissionDirection.x, 1.0);
    EXPECT_EQ(emissionDirection.y, 0.0);
    EXPECT_EQ(emissionDirection.z, 0.0);
    EXPECT_EQ(currentFrameIndex, rotatedFrame);
}

TEST_F(EmitterTest, HookRunsBeforeTheFrameCarriesThePivotedBirth) {
    selectFrame(pivotFrame);
    setPosition(10.0, 0.0, 0.0);
    setPivot(0.0, 0.0, 72.0);
    setOrientationPreset(1);  // Z axis along world +y, Y axis along world -z
    refreshWorld();
    givePoints(1);
    emitter.frameIndex = pivotFrame;
    emitter.hook = doubleTheSpeedAndLift;
    rearmEmitter(&emitter);
    ASSERT_EQ(emit(&emitter), 1);
    // World = position + R (local + pivot), local = (0, 1, 0) after the hook.
    EXPECT_DOUBLE_EQ(emissionPosition.x, 10.0);
    EXPECT_DOUBLE_EQ(emissionPosition.y, 72.0);
    EXPECT_DOUBLE_EQ(emissionPosition.z, -1.0);
    EXPECT_DOUBLE_EQ(emissionDirection.y, 1.0);
    EXPECT_EQ(emissionSpeed, 200.0);
}

}  // namespace
}  // namespace lumivortex
