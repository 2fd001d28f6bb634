// hostMain end to end on the headless platform: the window, the worker, the
// ways a run ends (the process returns, a close request, a fatal error),
// the default configuration, the help box and the preview.
#include <atomic>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "host/clock.h"
#include "host/fatal_error.h"
#include "host/frame_rate.h"
#include "host/host_main.h"
#include "host/input_state.h"
#include "host/timers.h"
#include "host/worker.h"
#include "host_test_support.h"

namespace lumivortex::testing {
namespace {

namespace headless = platform::headless;

class HostMainTest : public HostTest {
protected:
    int run(std::vector<const char*> args = {}) {
        args.insert(args.begin(), "lumivortex");
        return hostMain(static_cast<int>(args.size()), const_cast<char**>(args.data()));
    }
};

// Frames presented by the looping processes below.
std::atomic<int> framesDrawn{0};
std::atomic<int> reachedAfterFatal{0};

// A frame loop that never looks at a stop flag.
void loopForever() {
    createFrameBuffer();
    for (;;) {
        frameRateBegin();
        prepareFrame();
        presentFrame();
        ++framesDrawn;
        frameRateEnd();
        paceFrame(30);
    }
}

TEST_F(HostMainTest, ProcessReturningAtOnceClosesTheWindow) {
    hostConfig.process = [] {};
    hostConfig.showCursor = 0;
    EXPECT_EQ(run(), 0);
    auto w = headless::window();
    EXPECT_EQ(w.created, 1);
    EXPECT_FALSE(w.exists);
    EXPECT_TRUE(w.shown);
    EXPECT_EQ(w.cursorShown, 0);
    EXPECT_EQ(w.title, "Pixcore");
    EXPECT_EQ(w.iconResource, "ICON_MAIN");
    EXPECT_EQ(workerFinished, 1);
    EXPECT_EQ(workerStopped, 1);
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(HostMainTest, WindowIsCentredAtTheFrameSizeOrCoversTheScreen) {
    hostConfig.process = [] {};
    headless::setScreenSize(1920, 1080);
    setFrameSize(241, 181);
    run({"/s"});
    auto w = headless::window();
    EXPECT_EQ(w.style, platform::WindowStyle::Overlapped);
    EXPECT_EQ(w.x, 960 - 120);
    EXPECT_EQ(w.y, 540 - 90);
    EXPECT_EQ(w.width, 241);
    EXPECT_EQ(w.height, 181);
    EXPECT_EQ(w.maxTrackWidth, 241);
    EXPECT_EQ(w.maxTrackHeight, 181);

    setFrameSize(fullScreenSize, 0);
    run({"/S", "whatever"});
    w = headless::window();
    EXPECT_EQ(w.style, platform::WindowStyle::Popup);
    EXPECT_EQ(w.x, 0);
    EXPECT_EQ(w.y, 0);
    EXPECT_EQ(w.width, 1920);
    EXPECT_EQ(w.height, 1080);
}

TEST_F(HostMainTest, CloseRequestEndsAProcessThatLoopsForever) {
    framesDrawn = 0;
    hostConfig.process = loopForever;
    headless::setPresentCallback([](const headless::FrameView& view) {
        if (view.index == 5) headless::postClose();
    });
    EXPECT_EQ(run(), 0);
    EXPECT_FALSE(headless::window().exists);
    EXPECT_EQ(workerStopped, 1);
    EXPECT_EQ(workerFinished, 0);
    EXPECT_GE(framesDrawn, 4);  // present 0 showed the clear colour; the stop may come before the 5th count
    EXPECT_TRUE(headless::messageBoxes().empty());
}

TEST_F(HostMainTest, CloseDuringAPresentDoesNotDeadlock) {
    hostConfig.process = loopForever;
    headless::setPresentCallback([](const headless::FrameView& view) {
        if (view.index == 3) {  // the worker is waiting inside this present
            platform::Message close{platform::MessageType::Close};
            headless::dispatchMessage(close);
        }
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(workerStopped, 1);
    EXPECT_EQ(workerFinished, 0);
}

TEST_F(HostMainTest, EscReleasedAtAFrameEndsTheApplicationsLoop) {
    framesDrawn = 0;
    hostConfig.process = [] {
        createFrameBuffer();
        clearInput();
        while (!inputState.keysReleased[1]) {
            frameRateBegin();
            prepareFrame();
            presentFrame();
            ++framesDrawn;
            frameRateEnd();
            paceFrame(30);
            if (inputState.keysReleased[1]) break;
            clearInput();
        }
        releaseFrameBuffer();
    };
    headless::setPresentCallback([](const headless::FrameView& view) {
        if (view.index == 7) {  // between two frames: seen by the frame that presented
            platform::Message up{platform::MessageType::KeyUp, 27};
            headless::dispatchMessage(up);
        }
    });
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(workerFinished, 1);
    EXPECT_EQ(framesDrawn, 7);  // present 0 is the clear colour shown by the first prepareFrame
}

TEST_F(HostMainTest, PresentedFramesReachTheWindowTheRightWayUp) {
    backgroundColour = 0xff102030u;
    hostConfig.process = [] {
        createFrameBuffer();
        prepareFrame();
        framePixels[rowOffsets[0]] = 0xffffffffu;  // top-left of the picture
        presentFrame();
        releaseFrameBuffer();
    };
    headless::setCaptureEnabled(true);
    EXPECT_EQ(run(), 0);
    auto frames = headless::capturedFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].pixels[0], 0xffffffffu);
    EXPECT_EQ(frames[1].pixels[1], 0xff102030u);
    EXPECT_EQ(frames[1].pixels.back(), 0xff102030u);
}

TEST_F(HostMainTest, FatalErrorShowsOneBoxAndEndsTheRun) {
    reachedAfterFatal = 0;
    hostConfig.process = [] {
        fatalError("PFX: something went wrong");
        reachedAfterFatal = 1;
    };
    EXPECT_EQ(run(), 0);
    auto boxes = headless::messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "PFX: something went wrong");
    EXPECT_EQ(boxes[0].caption, "Process Runtime Error");
    EXPECT_EQ(boxes[0].icon, platform::BoxIcon::Error);
    EXPECT_EQ(boxes[0].owner, platform::BoxOwner::HostWindow);
    EXPECT_EQ(reachedAfterFatal, 0);
    EXPECT_EQ(workerFinished, 1);
    EXPECT_EQ(workerStopped, 1);
    EXPECT_FALSE(headless::window().exists);
}

TEST_F(HostMainTest, FatalErrorOutsideTheWorkerEndsTheProcessWithZero) {
    EXPECT_EXIT(fatalError("JPG or BMP Resource Not Found"), ::testing::ExitedWithCode(0),
                "JPG or BMP Resource Not Found");
}

TEST_F(HostMainTest, WorkerThatNeverReachesAHostServiceIsEndedWithTheProcess) {
    EXPECT_EXIT(
        {
            stopGracePeriodMs = defaultStopGracePeriodMs;
            hostConfig.process = [] {
                headless::postClose();
                for (;;) framesDrawn.fetch_add(1, std::memory_order_relaxed);
            };
            run();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(HostMainTest, DefaultConfigurationSaysNoProcessIsDefined) {
    EXPECT_EQ(run(), 0);
    auto boxes = headless::messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "No process defined");
    EXPECT_EQ(boxes[0].caption, "Process running");
    EXPECT_EQ(boxes[0].icon, platform::BoxIcon::Error);
    EXPECT_EQ(boxes[0].owner, platform::BoxOwner::HostWindow);
    EXPECT_EQ(workerFinished, 1);

    headless::reset();
    hostConfig.process = [] { runRedraw(); };
    run();
    boxes = headless::messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "No Redraw function defined");
}

TEST_F(HostMainTest, HelpAndInvalidHandlesEndWithoutAWindow) {
    static std::atomic<int> processRuns{0};
    processRuns = 0;
    hostConfig.process = [] { ++processRuns; };
    EXPECT_EQ(run({"/c"}), 0);
    auto boxes = headless::messageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "    Lumivortex");
    for (auto args : {std::vector<const char*>{"/p", "0"}, {"/p", "abc"}, {"/p", "4242"} /* no such window */}) {
        EXPECT_EQ(run(args), 0);
    }
    EXPECT_EQ(headless::messageBoxes().size(), 1u);
    EXPECT_EQ(headless::window().created, 0);
    EXPECT_EQ(processRuns, 0);

    headless::setDisplayAvailable(false);
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(headless::window().created, 0);
}

TEST_F(HostMainTest, ScreenSaverModeOffIgnoresTheArguments) {
    screenSaverMode = 0;
    hostConfig.process = [] {};
    EXPECT_EQ(run({"/c"}), 0);
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_EQ(headless::window().created, 1);
}

TEST_F(HostMainTest, PreviewPaintsEightIconsOnBlackWithoutAWorker) {
    static std::atomic<int> processRuns{0};
    processRuns = 0;
    hostConfig.process = [] { ++processRuns; };
    headless::addForeignWindow(4242, 152, 112);
    headless::setDispatchCallback([](const platform::Message& m) {
        if (m.type == platform::MessageType::Paint) headless::postClose();  // the host closes its preview
    });
    EXPECT_EQ(run({"/p", "4242"}), 0);
    auto w = headless::window();
    EXPECT_EQ(w.style, platform::WindowStyle::PreviewChild);
    EXPECT_EQ(w.parent, 4242u);
    EXPECT_EQ(w.width, 152);
    EXPECT_EQ(w.height, 112);
    EXPECT_EQ(w.cursorShown, -1);
    EXPECT_EQ(processRuns, 0);

    using Kind = headless::PaintCall::Kind;
    struct Expected {
        Kind kind;
        const char* icon;
        int left, top, right, bottom;
    };
    const Expected expected[] = {
        {Kind::FillBlack, "", 0, 0, 152, 112},
        {Kind::DrawIcon, "ICON_SSPRVW01", 44, 7, 0, 0},  {Kind::DrawIcon, "ICON_SSPRVW02", 76, 7, 0, 0},
        {Kind::DrawIcon, "ICON_SSPRVW03", 44, 39, 0, 0}, {Kind::DrawIcon, "ICON_SSPRVW04", 76, 39, 0, 0},
        {Kind::DrawIcon, "ICON_SSPRVW05", 12, 71, 0, 0}, {Kind::DrawIcon, "ICON_SSPRVW06", 44, 71, 0, 0},
        {Kind::DrawIcon, "ICON_SSPRVW07", 76, 71, 0, 0}, {Kind::DrawIcon, "ICON_SSPRVW08", 108, 71, 0, 0},
    };
    auto calls = headless::paintCalls();
    ASSERT_EQ(calls.size(), std::size(expected));
    for (std::size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].kind, expected[i].kind);
        EXPECT_EQ(calls[i].iconResource, expected[i].icon);
        EXPECT_EQ(calls[i].left, expected[i].left);
        EXPECT_EQ(calls[i].top, expected[i].top);
        EXPECT_EQ(calls[i].right, expected[i].right);
        EXPECT_EQ(calls[i].bottom, expected[i].bottom);
    }
}

TEST_F(HostMainTest, TimerSlotFiresAfterItsPeriodOnly) {
    static std::atomic<std::uint64_t> firedAfter{0};
    for (auto& flag : timerFired) flag = 0;
    hostConfig.process = [] {
        std::uint64_t start = clockNow();
        setTimerSlot(0, 10000);
        while (!timerFired[0]) hostSleep(500);
        firedAfter = clockNow() - start;
        killTimerSlot(0);
    };
    EXPECT_EQ(run(), 0);
    EXPECT_GE(firedAfter, 10 * ticksPerSecond);
    EXPECT_EQ(timerFired[0], 1);
    EXPECT_TRUE(headless::activeTimers().empty());
}

}  // namespace
}  // namespace lumivortex::testing
