// The window thread's loop: waits for SDL events (or, in preview mode, X
// events), translates them into the host's messages and dispatches them,
// and runs the calls other threads queued, until the quit message.
#include <atomic>

#include "platform/sdl/backend_state.h"
#include "platform/sdl/cross_thread_calls.h"
#include "platform/sdl/key_codes.h"
#include "platform/sdl/timer_table.h"
#include "platform/x11/preview_window.h"

namespace lumivortex::platform::sdl {
namespace {

std::atomic<bool> quitPosted{false};
std::atomic<int> quitCode{0};

// Upper bound on one wait, in case a wake-up event could not be queued.
constexpr int longestWaitMs = 100;

// Windows' WHEEL_DELTA and the key-state flags of a wheel message.
constexpr int wheelDelta = 120;
constexpr std::uint32_t keyStateLeft = 0x01, keyStateRight = 0x02, keyStateShift = 0x04,
                        keyStateControl = 0x08, keyStateMiddle = 0x10;

// Key messages carry Windows-style flags in lParam: a repeat count of 1,
// bit 30 for "was already down" (auto-repeat and every key-up), bit 31 for key-up.
constexpr std::uint32_t keyRepeatCount = 1, keyWasDown = 1u << 30, keyGoingUp = 1u << 31;

std::uint32_t wheelKeyState() {
    const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
    const SDL_Keymod mods = SDL_GetModState();
    std::uint32_t state = 0;
    if (buttons & SDL_BUTTON_LMASK) state |= keyStateLeft;
    if (buttons & SDL_BUTTON_RMASK) state |= keyStateRight;
    if (buttons & SDL_BUTTON_MMASK) state |= keyStateMiddle;
    if (mods & KMOD_SHIFT) state |= keyStateShift;
    if (mods & KMOD_CTRL) state |= keyStateControl;
    return state;
}

std::uint32_t packPoint(int x, int y) {
    return (static_cast<std::uint32_t>(x) & 0xffffu) | ((static_cast<std::uint32_t>(y) & 0xffffu) << 16);
}

void dispatchButton(Uint8 button, bool down) {
    switch (button) {
        case SDL_BUTTON_LEFT: dispatch(down ? MessageType::LeftButtonDown : MessageType::LeftButtonUp); break;
        case SDL_BUTTON_RIGHT: dispatch(down ? MessageType::RightButtonDown : MessageType::RightButtonUp); break;
        case SDL_BUTTON_MIDDLE: dispatch(down ? MessageType::MiddleButtonDown : MessageType::MiddleButtonUp); break;
        default: break;  // extra buttons have no message
    }
}

void dispatchWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE: dispatch(MessageType::Close); break;
        case SDL_WINDOWEVENT_EXPOSED: dispatch(MessageType::Paint); break;
        default: break;
    }
}

bool forHostWindow(Uint32 windowId) { return window && windowId == SDL_GetWindowID(window); }

void handleSdlEvent(const SDL_Event& event) {
    if (event.type == timerEventType.load()) {
        deliverTimerEvent(event.user);
        return;
    }
    switch (event.type) {
        case SDL_QUIT:  // SIGINT or SIGTERM (or the last window closing): a close request
            if (window) dispatch(MessageType::Close);
            break;
        case SDL_WINDOWEVENT:
            if (forHostWindow(event.window.windowID)) dispatchWindowEvent(event.window);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            if (!forHostWindow(event.key.windowID)) break;
            const bool down = event.type == SDL_KEYDOWN;
            const std::uint32_t flags =
                keyRepeatCount | (down ? (event.key.repeat ? keyWasDown : 0) : keyWasDown | keyGoingUp);
            dispatch(down ? MessageType::KeyDown : MessageType::KeyUp, virtualKeyCode(event.key.keysym), flags);
            break;
        }
        case SDL_MOUSEMOTION:
            if (forHostWindow(event.motion.windowID)) dispatch(MessageType::MouseMove, 0, packPoint(event.motion.x, event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (forHostWindow(event.button.windowID)) dispatchButton(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_MOUSEWHEEL: {
            if (!forHostWindow(event.wheel.windowID)) break;
            const int steps = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            const auto distance = static_cast<std::uint16_t>(static_cast<std::int16_t>(steps * wheelDelta));
            dispatch(MessageType::MouseWheel, (static_cast<std::uint32_t>(distance) << 16) | wheelKeyState());
            break;
        }
        default: break;  // the wake-up event and everything else: nothing to dispatch
    }
}

void handleNextSdlEvent() {
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, longestWaitMs)) handleSdlEvent(event);
    runPendingCalls();
}

}  // namespace

void wakeWindowThread() {
    SDL_Event event{};
    event.type = wakeEventType.load();
    SDL_PushEvent(&event);
}

}  // namespace lumivortex::platform::sdl

namespace lumivortex::platform {

int runMessageLoop() {
    while (!sdl::quitPosted.load()) {
        if (x11::previewActive()) {
            x11::handleNextPreviewEvent();
        } else if (SDL_WasInit(SDL_INIT_EVENTS)) {
            sdl::handleNextSdlEvent();
        } else {
            break;  // no display was opened: no message can ever arrive
        }
    }
    return sdl::quitCode.load();
}

void postQuitMessage(int code) {
    sdl::quitCode = code;
    sdl::quitPosted = true;
    if (sdl::wakeEventType.load() != 0) sdl::wakeWindowThread();  // when posted from another thread
}

}  // namespace lumivortex::platform
