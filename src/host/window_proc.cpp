// Window thread only. Messages become InputState flags, timer flags or
// runRedraw calls; the close request stops a running worker before the
// default processing destroys the window, whose Destroy ends the loop.
#include "host/window_proc.h"

#include <atomic>

#include "host/host_config.h"
#include "host/input_state.h"
#include "host/timers.h"
#include "host/worker.h"

namespace lumivortex {

namespace {

using platform::Message;
using platform::MessageType;

std::atomic<int> windowMaxWidth{0};
std::atomic<int> windowMaxHeight{0};

struct PreviewIcon {
    const char* resource;
    int x, y;
};

// The fixed 152 x 112 preview: two rows of two emblem tiles, then the name strip.
constexpr PreviewIcon previewIcons[] = {
    {"ICON_SSPRVW01", 44, 7},  {"ICON_SSPRVW02", 76, 7},  {"ICON_SSPRVW03", 44, 39},
    {"ICON_SSPRVW04", 76, 39}, {"ICON_SSPRVW05", 12, 71}, {"ICON_SSPRVW06", 44, 71},
    {"ICON_SSPRVW07", 76, 71}, {"ICON_SSPRVW08", 108, 71},
};

long previewWindowProc(Message& message) {
    switch (message.type) {
    case MessageType::Destroy:
        platform::postQuitMessage(0);
        return 0;
    case MessageType::Paint:
        platform::fillBlack(0, 0, 152, 112);
        for (const PreviewIcon& icon : previewIcons) platform::drawIcon(icon.resource, icon.x, icon.y);
        return 0;
    default:
        return platform::defaultWindowProc(message);
    }
}

void buttonChange(std::atomic<int>& button, std::atomic<int>& direction) {
    button = 1;
    direction = 1;
}

void timerMessage(unsigned id) {
    if (id == redrawTimerId)
        runRedraw();
    else if (id >= timerSlotBaseId && id < timerSlotBaseId + timerSlotCount)
        timerFired[id - timerSlotBaseId] = 1;
}

long normalWindowProc(Message& message) {
    InputState& in = inputState;
    switch (message.type) {
    case MessageType::Destroy:
        platform::postQuitMessage(0);
        return 0;
    case MessageType::Paint:
        // The last presented frame; nothing before the first present. The
        // window thread never reads the frame buffer itself.
        platform::repaintWindow();
        return 0;
    case MessageType::Close:
        if (!workerFinished) stopWorker();
        return platform::defaultWindowProc(message);
    case MessageType::EraseBackground:
        return 1;
    case MessageType::GetMinMaxInfo:
        message.maxTrackWidth = windowMaxWidth;
        message.maxTrackHeight = windowMaxHeight;
        return 0;
    case MessageType::KeyDown:
        onKeyDown(message.wParam);
        return 0;
    case MessageType::KeyUp:
        onKeyUp(message.wParam);
        return 0;
    case MessageType::Timer:
        timerMessage(message.wParam);
        return 0;
    case MessageType::MouseMove:
        onMouseMove(static_cast<int>(message.lParam & 0xFFFFu), static_cast<int>(message.lParam >> 16));
        return 0;
    case MessageType::LeftButtonDown: buttonChange(in.leftButton, in.anyButtonDown); return 0;
    case MessageType::LeftButtonUp: buttonChange(in.leftButton, in.anyButtonUp); return 0;
    case MessageType::RightButtonDown: buttonChange(in.rightButton, in.anyButtonDown); return 0;
    case MessageType::RightButtonUp: buttonChange(in.rightButton, in.anyButtonUp); return 0;
    case MessageType::MiddleButtonDown: buttonChange(in.middleButton, in.anyButtonDown); return 0;
    case MessageType::MiddleButtonUp: buttonChange(in.middleButton, in.anyButtonUp); return 0;
    case MessageType::MouseWheel:
        in.wheel = static_cast<int>(message.wParam);
        return 0;
    }
    return platform::defaultWindowProc(message);
}

}  // namespace

void setWindowMaxSize(int width, int height) {
    windowMaxWidth = width;
    windowMaxHeight = height;
}

long hostWindowProc(Message& message) {
    return previewMode ? previewWindowProc(message) : normalWindowProc(message);
}

}  // namespace lumivortex
