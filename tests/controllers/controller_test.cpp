// The controllers' value, colour and rotation updates and the registry.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "controllers/colour_controller.h"
#include "controllers/controller_registry.h"
#include "controllers/float_controller.h"
#include "controllers/rotate_controller.h"
#include "math/colour.h"
#include "math/frame.h"
#include "math/random.h"

namespace lumivortex {
namespace {

TEST(FloatController, PeriodOneOutputsThePreviousTargetEveryUpdate) {
    setRandomSeed(1234);
    double out = -1.0;
    SmRandUCNTfloat c;
    c.setup(&out, 3.0, 2.0, 1, 0);
    double expected = c.startValue;
    for (int i = 0; i < 20; ++i) {
        c.update();
        EXPECT_EQ(out, expected) << "update " << i;
        EXPECT_EQ(c.period, 1);
        expected = c.startValue + c.delta;  // this segment's target
        EXPECT_GE(expected, 1.0);
        EXPECT_LE(expected, 5.0);
    }
}

struct SegmentCase {
    int smooth;
    double outputs[5];
};

class FloatControllerSegment : public ::testing::TestWithParam<SegmentCase> {};

// A segment of four steps from 0 to 8 (spread 0: the target is the centre,
// drawn without randomness), then the first value of the next segment.
TEST_P(FloatControllerSegment, EasesFromStartToTarget) {
    double out = -1.0;
    SmRandUCNTfloat c;
    c.setup(&out, 0.0, 0.0, 4, 0);
    c.smooth = GetParam().smooth;
    c.centre = 8.0;
    for (double expected : GetParam().outputs) {
        c.update();
        EXPECT_DOUBLE_EQ(out, expected);
        EXPECT_DOUBLE_EQ(controllerValue, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Easing, FloatControllerSegment,
                         ::testing::Values(SegmentCase{0, {0.0, 2.0, 4.0, 6.0, 8.0}},
                                           SegmentCase{1, {0.0, 1.25, 4.0, 6.75, 8.0}}));

TEST(FloatController, HookRunsBeforeTheOutputIsWritten) {
    static double seenByHook;
    double out = 0.0;
    SmRandUCNTfloat c;
    c.setup(&out, 5.0, 0.0, 3, 0);
    c.hook = [] {
        seenByHook = controllerValue;
        controllerValue = 42.0;
    };
    c.update();
    EXPECT_EQ(seenByHook, 5.0);
    EXPECT_EQ(out, 42.0);
}

TEST(FloatController, JitterAsLargeAsTheBaseStillGivesFiniteValuesInRange) {
    setRandomSeed(99);
    double out = 0.0;
    SmRandUCNTfloat c;
    c.setup(&out, 10.0, 1.0, 1, 5);
    for (int i = 0; i < 2000; ++i) {
        c.update();
        ASSERT_TRUE(std::isfinite(out)) << "update " << i;
        ASSERT_GE(c.period, 1);
        ASSERT_GE(out, 9.0);
        ASSERT_LE(out, 11.0);
    }
}

TEST(Controllers, ConstructionDefaults) {
    const SmRandUCNTfloat f;
    EXPECT_EQ(f.periodBase, 50);
    EXPECT_EQ(f.periodJitter, 25);
    EXPECT_EQ(f.spread, 1.0);
    EXPECT_EQ(f.smooth, 1);
    EXPECT_EQ(f.remaining, 1);
    EXPECT_EQ(f.output, nullptr);
    const SmRandRotateCNT r;
    EXPECT_EQ(r.spread, 0.039269908169872414);
    EXPECT_EQ(r.fixedTurn, 0.015707963267948967);
    EXPECT_EQ(r.frameIndex, 0);
    EXPECT_EQ(r.pivotZ, 0.0);
    const DataSmRandUCNTdwRGB p;
    EXPECT_EQ(p.palette, nullptr);
    EXPECT_EQ(p.periodBase, 50);
    EXPECT_EQ(p.smooth, 1);
}

TEST(ColourController, OneEntryPaletteAlwaysGivesThatColourOpaque) {
    setRandomSeed(7);
    std::uint32_t out = 0;
    DataSmRandUCNTdwRGB c;
    c.setup(&out, 1, 3, 1);
    c.setPaletteEntry(0, 0x00123456);
    for (int i = 0; i < 10; ++i) {
        c.update();
        EXPECT_EQ(out, 0xFF123456u) << "update " << i;
        EXPECT_EQ(controllerColour, 0xFF123456u);
    }
}

struct GlideCase {
    int smooth;
    std::uint32_t outputs[5];
};

class ColourControllerGlide : public ::testing::TestWithParam<GlideCase> {};

// From a black start to the one white entry over four steps: weight
// w = trunc(e * 255) for t = 0, 1/4, 1/2, 3/4 gives channel w - 1, then white.
TEST_P(ColourControllerGlide, BlendsStartToTarget) {
    std::uint32_t out = 0;
    DataSmRandUCNTdwRGB c;
    c.setup(&out, 1, 4, 0);
    c.setPaletteEntry(0, 0xFFFFFFFF);
    c.smooth = GetParam().smooth;
    c.targetColour = 0xFF000000;  // not the first segment: start from this
    const double fractions[] = {0.0, 0.25, 0.5, 0.75, 0.0};
    for (int i = 0; i < 5; ++i) {
        c.update();
        EXPECT_EQ(out, GetParam().outputs[i]) << "update " << i;
        EXPECT_EQ(controllerValue, fractions[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Easing, ColourControllerGlide,
    ::testing::Values(GlideCase{0, {0xFF000000, 0xFF3E3E3E, 0xFF7E7E7E, 0xFFBEBEBE, 0xFFFFFFFF}},
                      GlideCase{1, {0xFF000000, 0xFF262626, 0xFF7E7E7E, 0xFFD6D6D6, 0xFFFFFFFF}}));

TEST(ColourController, WithoutPaletteUpdateDoesNothing) {
    std::uint32_t out = 0xABCDEF01;
    DataSmRandUCNTdwRGB c;
    c.setup(&out, 0, 5, 1);
    controllerColour = 0x11111111;
    c.update();
    EXPECT_EQ(out, 0xABCDEF01u);
    EXPECT_EQ(controllerColour, 0x11111111u);
    EXPECT_EQ(c.remaining, 1);
}

TEST(ColourController, SetupReplacesThePaletteWithBlackEntries) {
    std::uint32_t out = 0;
    DataSmRandUCNTdwRGB c;
    c.setup(&out, 2, 5, 1);
    c.setPaletteEntry(0, 0xFFFFFFFF);
    c.setPaletteEntry(1, 0xFFFFFFFF);
    c.setup(&out, 3, 5, 1);
    ASSERT_EQ(c.paletteSize, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(c.palette[i], 0u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(c.palette) % 16, 0u);
}

// Frames are global and live for the whole process: these tests use indices
// nothing else touches.
TEST(RotateController, FrameIndexZeroOnlyUpdatesTheValue) {
    selectFrame(901);
    const FrameListNode* framesBefore = frameList;
    double out = 0.0;
    SmRandRotateCNT c;
    c.setup(0, 0.5, 0.0, 0.1, 72.0, 3, 0);
    c.output = &out;
    c.update();
    EXPECT_EQ(out, 0.5);
    EXPECT_EQ(currentFrameIndex, 901);
    EXPECT_EQ(frameList, framesBefore);
}

TEST(RotateController, FixedTurnZeroKeepsTheFrameTurnAndRollsAboutZ) {
    selectFrame(902);
    setTurn(0, 1, 0);
    setTurnAngle(0.3);
    SmRandRotateCNT c;
    c.setup(902, 0.2, 0.0, 0.0, 0.0, 3, 0);
    c.update();
    const Frame& f = *frameSlots[902];
    EXPECT_EQ(f.turnX, 0);
    EXPECT_EQ(f.turnY, 1);
    EXPECT_EQ(f.turnZ, 0);
    EXPECT_EQ(f.turnAngle, 0.3);
    EXPECT_DOUBLE_EQ(f.turnCos, std::cos(0.3));
    // Rolled about its own Z by the controller's angle, nothing else.
    EXPECT_NEAR(f.axisX.x, std::cos(0.2), 1e-15);
    EXPECT_NEAR(f.axisX.y, std::sin(0.2), 1e-15);
    EXPECT_NEAR(f.axisY.x, -std::sin(0.2), 1e-15);
    EXPECT_EQ(f.axisZ.z, 1.0);
    EXPECT_EQ(f.hasPivot, 0);
}

TEST(RotateController, FixedTurnLeavesASteadyTurnAboutXAndThePivot) {
    selectFrame(903);
    setTurn(0, 0, 1);
    setTurnAngle(0.3);
    SmRandRotateCNT c;
    c.setup(903, 0.0, std::numbers::pi / 25.0, std::numbers::pi / 150.0, 72.0, 15, 10);
    c.update();
    const Frame& f = *frameSlots[903];
    EXPECT_EQ(f.turnX, 1);
    EXPECT_EQ(f.turnY, 0);
    EXPECT_EQ(f.turnZ, 0);
    EXPECT_EQ(f.turnAngle, std::numbers::pi / 150.0);
    selectFrame(903);
    Vec3 head{};
    toParent(&head, 0.0, 0.0, 0.0);
    EXPECT_NEAR(std::sqrt(head.x * head.x + head.y * head.y + head.z * head.z), 72.0, 1e-9);
}

// Records the order in which the registry updates its controllers.
class RecordingController : public AbstCNT {
public:
    RecordingController(std::vector<int>& log, int id) : log_(log), id_(id) {}
    void update() override { log_.push_back(id_); }

private:
    std::vector<int>& log_;
    int id_;
};

class ControllerRegistry : public ::testing::Test {
protected:
    void SetUp() override { clearControllers(); }
    void TearDown() override { clearControllers(); }
    std::vector<int> log;
};

TEST_F(ControllerRegistry, UpdatesGroupByGroupInRegistrationOrder) {
    RecordingController a(log, 1), b(log, 2), c(log, 3), d(log, 4), e(log, 5);
    ASSERT_EQ(registerController(&a, 2), 1);
    ASSERT_EQ(registerController(&b, 1), 1);
    ASSERT_EQ(registerController(&c, 0), 1);
    ASSERT_EQ(registerController(&d, 1), 1);
    ASSERT_EQ(registerController(&e, 0), 1);
    updateControllers();
    EXPECT_EQ(log, (std::vector<int>{3, 5, 2, 4, 1}));
}

TEST_F(ControllerRegistry, RefusesRegistrationsBeyondCapacity) {
    std::vector<RecordingController> many;
    many.reserve(controllerGroupCapacity + 1);
    for (int i = 0; i <= controllerGroupCapacity; ++i) many.emplace_back(log, i);
    for (int i = 0; i < controllerGroupCapacity; ++i) {
        ASSERT_EQ(controllerGroups[1].full, 0);
        ASSERT_EQ(registerController(&many[i], 1), 1);
    }
    EXPECT_EQ(controllerGroups[1].full, 1);
    EXPECT_EQ(registerController(&many.back(), 1), 0);
    EXPECT_EQ(controllerGroups[1].count, controllerGroupCapacity);
    EXPECT_EQ(controllerGroups[2].count, 0);

    updateControllers();
    ASSERT_EQ(log.size(), static_cast<std::size_t>(controllerGroupCapacity));
    EXPECT_EQ(log.back(), controllerGroupCapacity - 1);
}

TEST_F(ControllerRegistry, RefusesUnknownGroupsAndNull) {
    RecordingController a(log, 1);
    EXPECT_EQ(registerController(&a, -1), 0);
    EXPECT_EQ(registerController(&a, controllerGroupCount), 0);
    EXPECT_EQ(registerController(nullptr, 0), 0);
    updateControllers();
    EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace lumivortex
