#include "math/frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "math/frame_support.h"
#include "math/random.h"

namespace lumivortex {
namespace {

using testing::expectVecNear;
using testing::FrameTest;

constexpr double pi = std::numbers::pi;

int listLength() {
    int n = 0;
    for (const FrameListNode* node = frameList; node != nullptr; node = node->next) ++n;
    return n;
}

TEST_F(FrameTest, SelectionCreatesAndRegistersOnceNewestFirst) {
    selectFrame(5);
    ASSERT_NE(frameSlots[5], nullptr);
    EXPECT_EQ(currentFrame, frameSlots[5]);
    EXPECT_EQ(currentFrameIndex, 5);
    Frame* first = currentFrame;
    selectFrame(0);  // slot 0 is a real slot
    selectFrame(5);
    EXPECT_EQ(currentFrame, first);
    EXPECT_EQ(listLength(), 2);
    EXPECT_EQ(frameList->index, 0);
    EXPECT_EQ(frameList->next->index, 5);

    // Selecting the current index after its slot was emptied creates it again.
    alignedFree(frameSlots[5]);
    frameSlots[5] = nullptr;
    selectFrame(5);
    EXPECT_NE(frameSlots[5], nullptr);
    EXPECT_EQ(currentFrame, frameSlots[5]);
    EXPECT_EQ(listLength(), 3);
}

TEST_F(FrameTest, NewFrameHasItsStartValuesAndMapsPointsUnchanged) {
    selectFrame(1);
    const Frame& f = *currentFrame;
    EXPECT_EQ(f.turnAngle, pi / 32);
    EXPECT_EQ(f.spinAngle, pi / 32);
    EXPECT_EQ(f.turnCos, std::cos(pi / 32));
    EXPECT_EQ(f.spinSin, std::sin(pi / 32));
    EXPECT_EQ(f.rotated, 0);
    EXPECT_EQ(f.hasPivot, 0);
    for (double factor : f.unitFactors) EXPECT_EQ(factor, 1.0);
    Vec3 out;
    toParent(&out, 1, 2, 3);
    expectVecNear(out, {1, 2, 3}, 0);
    dirToParent(&out, 1, 2, 3);
    expectVecNear(out, {1, 2, 3}, 0);
}

TEST_F(FrameTest, FixedOrientationPresetsSetTheAxesButNotTheRotatedFlag) {
    struct Case {
        int kind;
        Vec3 x, y, z;
    };
    const Case cases[] = {
        {0, {0, 0, -1}, {0, 1, 0}, {1, 0, 0}},  {1, {1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
        {2, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},   {3, {0, 0, 1}, {0, 1, 0}, {-1, 0, 0}},
        {4, {1, 0, 0}, {0, 0, 1}, {0, -1, 0}},  {5, {1, 0, 0}, {0, -1, 0}, {0, 0, -1}},
        {6, {2, 0, 0}, {0, 3, 0}, {0, 0, 4}},  // unchanged
        {8, {2, 0, 0}, {0, 3, 0}, {0, 0, 4}},  // not a kind: nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        selectFrame(1);
        Frame& f = *currentFrame;
        f.axisX = {2, 0, 0};
        f.axisY = {0, 3, 0};
        f.axisZ = {0, 0, 4};
        f.rotated = 7;
        setOrientationPreset(c.kind);
        expectVecNear(f.axisX, c.x, 0);
        expectVecNear(f.axisY, c.y, 0);
        expectVecNear(f.axisZ, c.z, 0);
        EXPECT_EQ(f.rotated, 7);
    }
}

TEST_F(FrameTest, RandomPresetDrawsSixValuesLastComponentFirst) {
    setRandomSeed(77);
    double u[6];
    for (double& v : u) v = randUnit();
    const int next = randomDraw();

    Vec3 x{1 - 2 * u[2], 1 - 2 * u[1], 1 - 2 * u[0]};
    const Vec3 y{1 - 2 * u[5], 1 - 2 * u[4], 1 - 2 * u[3]};
    normalise(&x);
    Vec3 z, ortho;
    normalised(&z, cross(&z, &x, &y));
    normalised(&ortho, cross(&ortho, &z, &x));

    setRandomSeed(77);
    selectFrame(1);
    setOrientationPreset(7);
    const Frame& f = *currentFrame;
    expectVecNear(f.axisX, x, 0);
    expectVecNear(f.axisY, ortho, 0);
    expectVecNear(f.axisZ, z, 0);
    EXPECT_EQ(randomDraw(), next);
    // An orthonormal right-handed basis.
    Vec3 check;
    cross(&check, &f.axisX, &f.axisY);
    expectVecNear(check, f.axisZ);
}

TEST_F(FrameTest, TurnAboutXByQuarterTurn) {
    selectFrame(1);
    setTurn(1, 0, 0);
    setTurnAngle(pi / 2);
    stepRotation();
    const Frame& f = *currentFrame;
    expectVecNear(f.axisX, {1, 0, 0}, 0);
    expectVecNear(f.axisY, {0, 0, 1}, 1e-15);
    expectVecNear(f.axisZ, {0, -1, 0}, 1e-15);
    EXPECT_EQ(f.rotated, 1);
}

TEST_F(FrameTest, TurnScalesOnlyTheSineByTheMultiplier) {
    selectFrame(1);
    setTurn(0, 0, -2);
    setTurnAngle(pi / 6);
    stepRotation();
    const double c = std::cos(pi / 6), s = std::sin(pi / 6);
    const Frame& f = *currentFrame;
    expectVecNear(f.axisX, {c, -2 * s, 0});
    expectVecNear(f.axisY, {2 * s, c, 0});  // from the old X
}

TEST_F(FrameTest, PivotIsAddedBeforeTheRotation) {
    selectFrame(1);
    setPivot(0, 0, 72);
    EXPECT_EQ(currentFrame->hasPivot, 1);
    Vec3 out;
    toParent(&out, 0, 0, 0);
    expectVecNear(out, {0, 0, 72}, 0);

    setTurn(1, 0, 0);
    setTurnAngle(pi / 2);
    stepRotation();
    setPosition(1, 2, 3);
    toParent(&out, 0, 0, 0);
    expectVecNear(out, {1, 2 - 72, 3}, 1e-13);
    dirToParent(&out, 0, 0, 1);  // directions take neither pivot nor position
    expectVecNear(out, {0, -1, 0}, 1e-15);

    setPivot(0, 0, 0);
    EXPECT_EQ(currentFrame->hasPivot, 0);
    setPivot(0, NAN, 0);
    EXPECT_EQ(currentFrame->hasPivot, 1);
}

TEST_F(FrameTest, SpinBasisIsOneTurnStepOfTheSpinAngle) {
    selectFrame(1);
    Frame& f = *currentFrame;
    setTurn(1, 0, 0);
    setTurnAngle(0.3);
    setOrientationPreset(0);
    setSpin(0, 0, 1);

    const double c = std::cos(pi / 32), s = std::sin(pi / 32);
    expectVecNear(f.spinBasis[0], {c, s, 0});
    expectVecNear(f.spinBasis[1], {-s, c, 0});
    expectVecNear(f.spinBasis[2], {0, 0, 1}, 0);
    // The frame's own settings come back; the flag is the basis's.
    expectVecNear(f.axisX, {0, 0, -1}, 0);
    EXPECT_EQ(f.turnX, 1);
    EXPECT_EQ(f.turnZ, 0);
    EXPECT_EQ(f.turnCos, std::cos(0.3));
    EXPECT_EQ(f.spinZ, 1);
    EXPECT_EQ(f.rotated, 1);

    // A spin step turns the axes about the parent's Z before the own turn.
    setTurn(0, 0, 0);
    stepRotation();
    expectVecNear(f.axisX, {0, 0, -1});
    expectVecNear(f.axisY, {-s, c, 0});
    expectVecNear(f.axisZ, {c, s, 0});
}

TEST_F(FrameTest, SpinDoesNothingWhileTheFrameIsUnrotated) {
    selectFrame(1);
    setSpin(1, 0, 0);
    Frame& f = *currentFrame;
    f.rotated = 0;
    stepRotation();
    expectVecNear(f.axisY, {0, 1, 0}, 0);
    EXPECT_EQ(f.rotated, 0);

    setSpin(0, 0, 0);  // no spin: the basis is not rebuilt and the flag kept
    EXPECT_EQ(f.spinX, 0);
    EXPECT_EQ(f.rotated, 0);
}

TEST_F(FrameTest, LookAtAimsZAndStraightUpGivesZeroSideAxes) {
    selectFrame(1);
    setPosition(1, 1, 1);
    lookAt(11, 1, 1);
    Frame& f = *currentFrame;
    expectVecNear(f.axisZ, {1, 0, 0}, 0);
    expectVecNear(f.axisX, {0, 0, -1}, 0);
    expectVecNear(f.axisY, {0, 1, 0}, 0);
    expectVecNear(f.worldAxisY, {0, 1, 0}, 0);
    EXPECT_EQ(f.rotated, 1);

    lookAt(1, 5, 1);
    expectVecNear(f.axisZ, {0, 1, 0}, 0);
    expectVecNear(f.axisX, {0, 0, 0}, 0);
    expectVecNear(f.axisY, {0, 0, 0}, 0);
}

TEST_F(FrameTest, WorldTransformWalksTheParentChainAndMatchesTheCache) {
    selectFrame(2);  // grandparent: turned a quarter about Z, with a pivot
    setPosition(10, 0, 0);
    setPivot(1, 0, 0);
    setTurn(0, 0, 1);
    setTurnAngle(pi / 2);
    stepRotation();
    selectFrame(3);  // parent
    currentFrame->parent = 2;
    setPosition(0, 5, 0);
    selectFrame(4);  // child
    currentFrame->parent = 3;
    setPosition(0, 0, 7);

    useCachedWorld = 0;
    Vec3 walked, direction;
    toWorld(&walked, 1, 0, 0);
    dirToWorld(&direction, 1, 0, 0);
    EXPECT_EQ(currentFrameIndex, 4);  // the walk restores the selection
    // (1,0,7) + (0,5,0) = (1,5,7); + pivot (2,5,7); turned: (-5,2,7); + (10,0,0).
    expectVecNear(walked, {5, 2, 7}, 1e-13);
    expectVecNear(direction, {0, 1, 0}, 1e-15);

    useCachedWorld = 1;
    for (int index : {2, 3, 4}) {
        selectFrame(index);
        refreshWorld();
    }
    EXPECT_EQ(currentFrameIndex, 4);
    Vec3 cached;
    toWorld(&cached, 1, 0, 0);
    expectVecNear(cached, walked, 1e-13);
    dirToWorld(&cached, 1, 0, 0);
    expectVecNear(cached, direction, 1e-15);
}

TEST_F(FrameTest, UpdateFramesAimsTurnsThenRefreshes) {
    updateFrames();  // no frames: nothing happens
    EXPECT_EQ(frameList, nullptr);
    EXPECT_EQ(currentFrame, nullptr);

    selectFrame(7);  // oldest: the target's parent
    setPosition(20, 0, 0);
    selectFrame(8);  // the target
    currentFrame->parent = 7;
    setPosition(0, 0, 50);
    selectFrame(9);  // the aimer, turned as well
    currentFrame->lookAtEnabled = 1;
    currentFrame->lookAtTarget = 8;

    updateFrames();
    EXPECT_EQ(currentFrameIndex, 7);
    selectFrame(9);
    Vec3 expectedZ{20, 0, 50};
    normalise(&expectedZ);
    const Frame& f = *currentFrame;
    // Aimed, then one turn step of pi/32 (turn multipliers are 0: no turn).
    expectVecNear(f.axisZ, expectedZ);
    expectVecNear(f.worldAxisZ, expectedZ);
    selectFrame(8);
    expectVecNear(currentFrame->worldPosition, {20, 0, 50}, 0);

    // A look-at point when there is no target.
    selectFrame(9);
    currentFrame->lookAtTarget = 0;
    currentFrame->lookAtPoint = {0, 0, -3};
    updateFrames();
    selectFrame(9);
    expectVecNear(currentFrame->worldAxisZ, {0, 0, -1}, 0);
}

TEST_F(FrameTest, CameraFrameSelection) {
    setCameraFrame(12);
    EXPECT_EQ(cameraFrameIndex, 12);
    EXPECT_EQ(currentFrameIndex, 12);
    ASSERT_NE(frameSlots[12], nullptr);
    setCameraFrame(0);
    EXPECT_EQ(cameraFrameIndex, 0);
    EXPECT_EQ(currentFrameIndex, 12);
    EXPECT_EQ(frameSlots[0], nullptr);
}

TEST_F(FrameTest, BadFrameReferencesEndWithAClearError) {
    EXPECT_EXIT(selectFrame(frameSlotCount), ::testing::ExitedWithCode(0), "PFX: Frame index out of range");
    EXPECT_EXIT(
        {
            selectFrame(3);
            lookAtFrame(0x2000);  // beyond the table
        },
        ::testing::ExitedWithCode(0), "PFX: Frame index out of range");
    EXPECT_EXIT(
        {
            selectFrame(3);
            currentFrame->parent = 4;
            selectFrame(4);
            currentFrame->parent = 3;
            useCachedWorld = 0;
            Vec3 out;
            toWorld(&out, 0, 0, 0);
        },
        ::testing::ExitedWithCode(0), "PFX: Frame parents form a loop");
    EXPECT_EXIT(setPosition(1, 2, 3), ::testing::ExitedWithCode(0), "PFX: No frame selected");
}

}  // namespace
}  // namespace lumivortex
