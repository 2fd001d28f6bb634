// Clocks, the frame-rate meter and pacing, on the headless manual clock.
#include "host/clock.h"
#include "host/frame_rate.h"
#include "host_test_support.h"

namespace lumivortex::testing {
namespace {

namespace headless = platform::headless;

class FrameRateTest : public HostTest {
protected:
    // One metered frame whose work takes `ticks`.
    void frame(std::uint64_t ticks) {
        frameRateBegin();
        headless::advanceClock(ticks);
        frameRateEnd();
    }
};

TEST_F(FrameRateTest, ClockSlotsMeasureTicksAndNeverGoNegative) {
    headless::setClockTicks(5000);
    clockStart(3);
    headless::advanceClock(1234);
    clockElapsed(3);
    EXPECT_EQ(clockSlots[3], 1234u);

    clockStart(11);
    clockElapsed(11);  // no time passed
    EXPECT_EQ(clockSlots[11], 0u);

    clockStart(4);
    headless::setClockTicks(100);  // the clock went back (a wrapped counter)
    clockElapsed(4);
    EXPECT_EQ(clockSlots[4], 0u);
}

TEST_F(FrameRateTest, RateAppearsAfterNFramesAndSlides) {
    const struct {
        std::uint32_t ticks;
        int rate;
    } cases[] = {{2500, 40}, {7000, 14}, {3333, 30}, {1, 100000}, {100000, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ticks);
        frameRateReset(10);
        for (int i = 1; i <= 9; ++i) {
            frame(c.ticks);
            ASSERT_EQ(frameRateValid, 0);
            ASSERT_EQ(frameRate, 0);
        }
        frame(c.ticks);
        EXPECT_EQ(frameRateValid, 1);
        EXPECT_EQ(frameRate, c.rate);
    }
    // From then on every frame recomputes over the last ten.
    frameRateReset(10);
    for (int i = 0; i < 10; ++i) frame(2500);
    for (int i = 0; i < 5; ++i) frame(7500);  // window: 5 x 2500 + 5 x 7500 = 50000
    EXPECT_EQ(frameRate, 20);
}

TEST_F(FrameRateTest, WindowSummingToZeroGivesALargeRateNotACrash) {
    for (int n : {1, 10, 256}) {
        frameRateReset(n);
        for (int i = 0; i < n; ++i) frame(0);
        EXPECT_EQ(frameRateValid, 1);
        EXPECT_EQ(frameRate, rateFromSamples(1, n));
        EXPECT_GE(frameRate, 100000);
    }
    frameRateReset(0);  // clamped to one sample
    frame(5000);
    EXPECT_EQ(frameRate, 20);
    frameRateReset(100000);  // clamped to the ring's size
    for (int i = 0; i < 256; ++i) frame(5000);
    EXPECT_EQ(frameRate, 20);
}

TEST_F(FrameRateTest, PaceFrameSleepsTheRestOfThePeriodToTheNearestMillisecond) {
    const struct {
        int target;
        std::uint32_t work;
        std::uint64_t sleptTicks;
    } cases[] = {
        {30, 1000, 2300},   // 3333 - 1000 = 2333 ticks: 23 ms
        {30, 3400, 0},      // over the period: no sleep
        {30, 3333, 0},
        {30, 3283, 100},    // 50 ticks left: 1 ms
        {30, 3284, 0},      // 49 ticks: (49 + 50) / 100 = 0 ms
        {60, 0, 1700},      // 1666 ticks: 17 ms
        {0, 0, 0},          // no period at all
        {-5, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.target << " " << c.work);
        frame(c.work);
        std::uint64_t before = platform::clockTicks();
        paceFrame(c.target);
        EXPECT_EQ(platform::clockTicks() - before, c.sleptTicks);
    }
}

}  // namespace
}  // namespace lumivortex::testing
