// The animation as the program runs it: hostMain on the headless backend,
// the scene on the worker, the test acting between frames from the present
// callback (the worker waits there, so the scene's state is stable).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "framebuffer/half_resolution.h"
#include "host/host_main.h"
#include "host/timers.h"
#include "host/worker.h"
#include "particles/particle_system.h"
#include "scene/scene_objects.h"
#include "scene_fixture.h"

namespace lumivortex::testing {
namespace {

namespace headless = platform::headless;

constexpr unsigned keyEscape = 27;
constexpr unsigned keyEnter = 13;
constexpr std::uint64_t ticksPerMs = 100;

void dispatchKey(platform::MessageType type, unsigned key) {
    platform::Message message{type, key};
    headless::dispatchMessage(message);
}

// Runs the program; `onFrame` is called once per frame, at the frame's last
// presentation, with the frame's number (1, 2, ...) and the window surface.
class SceneRunTest : public SceneTest {
protected:
    int run(std::function<void(int frame, const headless::FrameView&)> onFrame) {
        lastFrame = 0;
        headless::setPresentCallback([this, onFrame](const headless::FrameView& view) {
            // The first frame presents twice (the cleared buffer, then the
            // picture); frameCounter counts the frames finished before this one.
            const int frame = frameCounter + 1;
            if (frame == lastFrame) return;
            lastFrame = frame;
            onFrame(frame, view);
        });
        char program[] = "lumivortex";
        char* argv[] = {program, nullptr};
        return hostMain(1, argv);
    }

    static void releaseEscapeAt(int frame, int now) {
        if (frame == now) {
            dispatchKey(platform::MessageType::KeyDown, keyEscape);
            dispatchKey(platform::MessageType::KeyUp, keyEscape);
        }
    }

    int lastFrame = 0;
};

TEST_F(SceneRunTest, EscapeEndsOnReleaseOnlyWithExitCodeZero) {
    const int code = run([](int frame, const headless::FrameView&) {
        if (frame == 3) dispatchKey(platform::MessageType::KeyDown, keyEscape);
        if (frame == 8) dispatchKey(platform::MessageType::KeyUp, keyEscape);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(frameCounter, 8);  // held from frame 3, released in frame 8
    EXPECT_EQ(workerFinished.load(), 1);
    const headless::WindowInfo window = headless::window();
    EXPECT_FALSE(window.exists);
    EXPECT_EQ(window.title, "Lumivortex");
    EXPECT_EQ(window.style, platform::WindowStyle::Popup);
    EXPECT_EQ(window.width, sceneTestWidth);
    EXPECT_EQ(window.height, sceneTestHeight);
    EXPECT_EQ(window.cursorShown, 0);
    EXPECT_EQ(logoOverlay, nullptr);
    EXPECT_EQ(legendOverlay, nullptr);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(SceneRunTest, ThirteenEnterReleasesReturnToTheGlidingColour) {
    std::vector<int> indices;
    std::uint32_t pinnedBackground = 0;
    const int code = run([&](int frame, const headless::FrameView&) {
        if (frame == 2) pinnedBackground = backgroundColour;  // released in frame 1: entry 0
        indices.push_back(paletteIndex);
        if (frame <= 13) {
            dispatchKey(platform::MessageType::KeyDown, keyEnter);
            dispatchKey(platform::MessageType::KeyUp, keyEnter);
        }
        releaseEscapeAt(frame, 16);
    });
    EXPECT_EQ(code, 0);
    const std::vector<int> expected = {12, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 12, 12};
    EXPECT_EQ(indices, expected);
    EXPECT_EQ(pinnedBackground, 0x00303030u);
}

TEST_F(SceneRunTest, PinnedEntryZeroShowsInEmptyAreasAndHeads) {
    std::uint32_t corner = 0;
    const int code = run([&](int frame, const headless::FrameView& view) {
        if (frame == 1) {
            dispatchKey(platform::MessageType::KeyDown, keyEnter);
            dispatchKey(platform::MessageType::KeyUp, keyEnter);
        }
        if (frame == 3) {
            corner = view.pixels[0];  // top-left pixel: background
            for (std::uint32_t k = 0; k < 40; ++k)
                EXPECT_EQ(systemSlots[headSystem]->particles[k].colour, 0xFF757575u) << k;
        }
        releaseEscapeAt(frame, 3);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(corner & 0xFFFFFF, 0x303030u);
}

TEST_F(SceneRunTest, LegendTimerArmedForTenSecondsAndKilledOnceFired) {
    bool armed = false;
    const int code = run([&](int frame, const headless::FrameView&) {
        if (frame == 1) {
            for (const headless::TimerInfo& t : headless::activeTimers())
                armed = armed || (t.id == timerSlotBaseId + legendTimerSlot && t.periodMs == 10000);
        }
        headless::advanceClock(1000 * ticksPerMs);  // a second per frame
        releaseEscapeAt(frame, 14);
    });
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(armed);
    EXPECT_EQ(timerFired[legendTimerSlot].load(), 1);
}

// Frames whose work takes `frameMs` of the clock: from the tenth frame the
// meter has a full window and a rate below 20 switches to half resolution.
struct HalfResCase {
    unsigned frameMs;
    int switchFrame;  // first frame drawn at half resolution; 0 = never
};

void PrintTo(const HalfResCase& c, std::ostream* out) {
    *out << c.frameMs << " ms per frame, ";
    if (c.switchFrame == 0)
        *out << "never half";
    else
        *out << "half from frame " << c.switchFrame;
}

class SceneHalfResTest : public SceneRunTest, public ::testing::WithParamInterface<HalfResCase> {};

TEST_P(SceneHalfResTest, SwitchesAtTheTenthFrameOnlyWhenTooSlow) {
    const HalfResCase c = GetParam();
    int firstHalfFrame = 0;
    bool blocky = false;
    const int code = run([&](int frame, const headless::FrameView& view) {
        headless::advanceClock(c.frameMs * ticksPerMs);
        if (halfResRequested && firstHalfFrame == 0) firstHalfFrame = frame;
        if (firstHalfFrame != 0 && frame == firstHalfFrame + 1) {
            // Expanded two by two: every 2 x 2 block of the upper half is one colour.
            blocky = true;
            for (int y = 0; y < view.height / 2; y += 2)
                for (int x = 0; x + 1 < view.width; x += 2) {
                    const std::uint32_t* p = view.pixels + static_cast<std::size_t>(y) * view.width + x;
                    blocky = blocky && p[1] == p[0] && p[view.width] == p[0] && p[view.width + 1] == p[0];
                }
        }
        releaseEscapeAt(frame, 24);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(firstHalfFrame, c.switchFrame);
    if (c.switchFrame != 0) {
        EXPECT_TRUE(blocky);
    }
}

INSTANTIATE_TEST_SUITE_P(FrameTimes, SceneHalfResTest,
                         ::testing::Values(HalfResCase{60, 11}, HalfResCase{40, 0}, HalfResCase{50, 0}),
                         [](const ::testing::TestParamInfo<HalfResCase>& param) {
                             return std::to_string(param.param.frameMs) + "ms";
                         });

}  // namespace
}  // namespace lumivortex::testing
