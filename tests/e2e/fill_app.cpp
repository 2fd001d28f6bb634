// Test application of the end-to-end tests: registers with the host like
// the real program, fills its full-screen frame with a known colour and
// presents it at 30 frames per second until Esc is released or the window
// is closed. Started with "/s" (or nothing) it runs; other arguments take
// the host's usual screen-saver paths. "/s timer" also starts a window timer
// whose first firing turns the colour to timerColour; "/s fatal" ends in a
// fatal error on the worker once its first frame is shown.
#include <cstdint>
#include <string_view>

#include "framebuffer/frame_buffer.h"
#include "host/fatal_error.h"
#include "host/frame_rate.h"
#include "host/host_config.h"
#include "host/host_main.h"
#include "host/input_state.h"
#include "host/timers.h"

namespace {

constexpr std::uint32_t fillColour = 0xff3c8c5a;  // not grey: the 32-bit fill path
constexpr std::uint32_t timerColour = 0xff5a3c8c;
constexpr int escapeSlot = 1;
constexpr int timerSlot = 0;
constexpr unsigned timerPeriodMs = 200;

bool timerMode = false;
bool fatalMode = false;

void fillProcess() {
    using namespace lumivortex;
    recreateFrameBuffer();
    buildRowTable(1);
    clearInput();
    if (timerMode) setTimerSlot(timerSlot, timerPeriodMs);
    for (;;) {
        if (timerMode && timerFired[timerSlot]) {
            killTimerSlot(timerSlot);
            backgroundColour = timerColour;
        }
        frameRateBegin();
        if (needsClear()) prepareFrame();
        presentFrame();
        if (fatalMode) fatalError("e2e fatal error");
        frameRateEnd();
        paceFrame(30);
        // Keys seen during the frame and its pause count; then they are cleared.
        if (inputState.keysReleased[escapeSlot]) break;
        clearInput();
    }
    releaseFrameBuffer();
}

}  // namespace

int main(int argc, char** argv) {
    using namespace lumivortex;
    hostConfig.showCursor = 0;
    hostConfig.title = "Lumivortex fill test";
    hostConfig.process = fillProcess;
    backgroundColour = fillColour;
    clearColour = fillColour;
    setFrameSize(fullScreenSize, 0);
    timerMode = argc == 3 && std::string_view(argv[2]) == "timer";
    fatalMode = argc == 3 && std::string_view(argv[2]) == "fatal";
    return hostMain(argc, argv);
}
