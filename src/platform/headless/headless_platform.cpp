// Headless implementation of platform.h. One mutex guards the whole state;
// the window procedure and the callbacks always run with it released. Other
// threads reach the window thread through a list of requests that live on
// their own stacks (a send or a present), so a frame costs no allocation
// unless capture is on.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/headless/headless.h"

namespace lumivortex::platform {

namespace headless {
namespace {

using DispatchCallback = std::function<void(const Message&)>;
using PresentCallback = std::function<void(const FrameView&)>;

struct PresentArgs {
    const std::uint32_t* pixels;
    int stride, bufferHeight, x, y, width, height;
};

// A call waiting for the window thread; lives on the caller's stack.
struct Request {
    bool isPresent = false;
    Message message{MessageType::Paint};
    PresentArgs present{};
    long result = 0;
    bool done = false;
    Request* next = nullptr;
};

struct Timer {
    unsigned id;
    unsigned periodMs;
    std::uint64_t due;
};

struct State {
    std::mutex mutex;
    std::condition_variable wake;      // the message loop
    std::condition_variable finished;  // callers waiting for a request

    bool displayAvailable = true;
    int screenWidth = 1920, screenHeight = 1080;
    std::map<std::uintptr_t, std::pair<int, int>> foreignWindows;

    TimeMode timeMode = TimeMode::Manual;
    std::uint64_t manualTicks = 0;

    WindowInfo info;
    WindowProc proc = nullptr;
    std::thread::id windowThread;
    std::vector<std::uint32_t> surface;  // top-down, info.width x info.height

    std::deque<Message> posted;
    Request* firstRequest = nullptr;
    Request* lastRequest = nullptr;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Timer> timers;

    std::shared_ptr<const DispatchCallback> dispatchCallback;
    std::shared_ptr<const PresentCallback> presentCallback;
    bool capture = false;
    std::vector<CapturedFrame> captures;
    std::size_t presents = 0;
    int repaints = 0;
    std::vector<RecordedBox> boxes;
    std::vector<PaintCall> paints;
};

// Never destroyed: a parked worker or a late timer must not meet a dead state.
State& state() {
    static State* s = new State;
    return *s;
}

const auto realEpoch = std::chrono::steady_clock::now();

std::uint64_t ticksLocked(const State& s) {
    if (s.timeMode == TimeMode::Manual) return s.manualTicks;
    auto elapsed = std::chrono::steady_clock::now() - realEpoch;
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count() / 10);
}

bool onWindowThreadLocked(const State& s) { return s.info.exists && s.windowThread == std::this_thread::get_id(); }

void releaseRequestsLocked(State& s) {
    for (Request* r = s.firstRequest; r != nullptr; r = r->next) r->done = true;
    s.firstRequest = s.lastRequest = nullptr;
    s.finished.notify_all();
}

// Waits on the caller's thread until the window thread has served the request.
long submit(Request& request) {
    State& s = state();
    std::unique_lock lock(s.mutex);
    if (!s.info.exists) return 0;
    (s.lastRequest ? s.lastRequest->next : s.firstRequest) = &request;
    s.lastRequest = &request;
    s.wake.notify_all();
    s.finished.wait(lock, [&] { return request.done; });
    return request.result;
}

// Copies the rectangle, flipping the bottom-up rows, clipped to the buffer
// and to the window surface.
void copyToSurfaceLocked(State& s, const PresentArgs& a) {
    int left = std::max(a.x, 0);
    int right = std::min({a.x + a.width, a.stride, s.info.width});
    int top = std::max(a.y, 0);
    int bottom = std::min({a.y + a.height, a.bufferHeight, s.info.height});
    if (right <= left) return;
    auto count = static_cast<std::size_t>(right - left);
    for (int row = top; row < bottom; ++row) {
        const std::uint32_t* from = a.pixels + static_cast<std::size_t>(a.bufferHeight - 1 - row) * a.stride + left;
        std::copy_n(from, count, s.surface.data() + static_cast<std::size_t>(row) * s.info.width + left);
    }
}

// Window thread.
void presentHere(const PresentArgs& a) {
    State& s = state();
    std::unique_lock lock(s.mutex);
    if (!s.info.exists) return;
    copyToSurfaceLocked(s, a);
    if (s.capture)
        s.captures.push_back(CapturedFrame{s.info.width, s.info.height, s.surface, a.x, a.y, a.width, a.height});
    FrameView view{s.surface.data(), s.info.width, s.info.height, s.presents++};
    auto callback = s.presentCallback;
    lock.unlock();
    // Only the window thread writes the surface, so the view stays valid.
    if (callback) (*callback)(view);
}

// Window thread: runs the procedure without the lock.
long dispatchHere(Message& message) {
    State& s = state();
    WindowProc proc;
    {
        std::lock_guard lock(s.mutex);
        if (!s.info.exists) return 0;
        proc = s.proc;
    }
    return proc(message);
}

void serve(Request& request) {
    State& s = state();
    if (request.isPresent) {
        presentHere(request.present);
    } else {
        request.result = dispatchHere(request.message);
    }
    std::lock_guard lock(s.mutex);
    request.done = true;
    s.finished.notify_all();
}

void queueDueTimersLocked(State& s) {
    std::uint64_t now = ticksLocked(s);
    for (Timer& t : s.timers) {
        std::uint64_t period = std::uint64_t{std::max(t.periodMs, 1u)} * 100;
        while (t.due <= now) {
            s.posted.push_back(Message{MessageType::Timer, t.id});
            t.due += period;
        }
    }
}

void destroyWindow() {
    State& s = state();
    WindowProc proc;
    {
        std::lock_guard lock(s.mutex);
        if (!s.info.exists) return;
        proc = s.proc;
        s.info.exists = false;
        s.timers.clear();
        releaseRequestsLocked(s);
    }
    Message destroy{MessageType::Destroy};
    proc(destroy);
}

}  // namespace

void reset() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    releaseRequestsLocked(s);
    s.displayAvailable = true;
    s.screenWidth = 1920;
    s.screenHeight = 1080;
    s.foreignWindows.clear();
    s.timeMode = TimeMode::Manual;
    s.manualTicks = 0;
    s.info = WindowInfo{};
    s.proc = nullptr;
    s.windowThread = {};
    s.surface.clear();
    s.posted.clear();
    s.quitPosted = false;
    s.quitCode = 0;
    s.timers.clear();
    s.dispatchCallback.reset();
    s.presentCallback.reset();
    s.capture = false;
    s.captures.clear();
    s.presents = 0;
    s.repaints = 0;
    s.boxes.clear();
    s.paints.clear();
}

void setScreenSize(int width, int height) {
    std::lock_guard lock(state().mutex);
    state().screenWidth = width;
    state().screenHeight = height;
}

void setDisplayAvailable(bool available) {
    std::lock_guard lock(state().mutex);
    state().displayAvailable = available;
}

void addForeignWindow(std::uintptr_t id, int width, int height) {
    std::lock_guard lock(state().mutex);
    state().foreignWindows[id] = {width, height};
}

void setTimeMode(TimeMode mode) {
    std::lock_guard lock(state().mutex);
    state().timeMode = mode;
}

void setClockTicks(std::uint64_t ticks) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.manualTicks = ticks;
    s.wake.notify_all();  // timers may be due
}

void advanceClock(std::uint64_t ticks) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.manualTicks += ticks;
    s.wake.notify_all();
}

WindowInfo window() {
    std::lock_guard lock(state().mutex);
    return state().info;
}

void postMessage(const Message& message) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.posted.push_back(message);
    s.wake.notify_all();
}

long dispatchMessage(Message& message) { return dispatchHere(message); }

void setDispatchCallback(std::function<void(const Message&)> callback) {
    auto shared = callback ? std::make_shared<const DispatchCallback>(std::move(callback)) : nullptr;
    std::lock_guard lock(state().mutex);
    state().dispatchCallback = std::move(shared);
}

void setPresentCallback(std::function<void(const FrameView&)> callback) {
    auto shared = callback ? std::make_shared<const PresentCallback>(std::move(callback)) : nullptr;
    std::lock_guard lock(state().mutex);
    state().presentCallback = std::move(shared);
}

void setCaptureEnabled(bool enabled) {
    std::lock_guard lock(state().mutex);
    state().capture = enabled;
}

std::vector<CapturedFrame> capturedFrames() {
    std::lock_guard lock(state().mutex);
    return state().captures;
}

std::size_t presentCount() {
    std::lock_guard lock(state().mutex);
    return state().presents;
}

CapturedFrame windowSurface() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    return CapturedFrame{s.info.width, s.info.height, s.surface, 0, 0, s.info.width, s.info.height};
}

int repaintCount() {
    std::lock_guard lock(state().mutex);
    return state().repaints;
}

std::vector<RecordedBox> messageBoxes() {
    std::lock_guard lock(state().mutex);
    return state().boxes;
}

std::vector<PaintCall> paintCalls() {
    std::lock_guard lock(state().mutex);
    return state().paints;
}

std::vector<TimerInfo> activeTimers() {
    std::lock_guard lock(state().mutex);
    std::vector<TimerInfo> timers;
    for (const Timer& t : state().timers) timers.push_back(TimerInfo{t.id, t.periodMs});
    return timers;
}

}  // namespace headless

using headless::state;

bool initialise() {
    std::lock_guard lock(state().mutex);
    if (state().displayAvailable) return true;
    std::fputs("lumivortex: no display available\n", stderr);
    return false;
}

int screenWidth() {
    std::lock_guard lock(state().mutex);
    return state().screenWidth;
}

int screenHeight() {
    std::lock_guard lock(state().mutex);
    return state().screenHeight;
}

bool createWindow(const std::string& title, int x, int y, int width, int height, WindowStyle style,
                  const std::string& iconResource, std::uintptr_t parent, WindowProc proc) {
    auto& s = state();
    {
        std::lock_guard lock(s.mutex);
        if (s.info.exists || width <= 0 || height <= 0 || proc == nullptr) return false;
        if (style == WindowStyle::PreviewChild && !s.foreignWindows.contains(parent)) return false;
        int created = s.info.created + 1;
        s.info = headless::WindowInfo{true, false, title, iconResource, x, y, width, height, style, parent};
        s.info.created = created;
        s.proc = proc;
        s.windowThread = std::this_thread::get_id();
        s.surface.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
        if (style == WindowStyle::PreviewChild) {
            // Created visible: exposed at once, never asked for size limits.
            s.info.shown = true;
            s.posted.push_back(Message{MessageType::Paint});
            s.wake.notify_all();
            return true;
        }
    }
    // As a window system asks while creating a resizable window.
    Message limits{MessageType::GetMinMaxInfo};
    proc(limits);
    std::lock_guard lock(s.mutex);
    s.info.maxTrackWidth = limits.maxTrackWidth;
    s.info.maxTrackHeight = limits.maxTrackHeight;
    return true;
}

bool clientSize(std::uintptr_t window, int& width, int& height) {
    std::lock_guard lock(state().mutex);
    auto found = state().foreignWindows.find(window);
    if (found == state().foreignWindows.end()) return false;
    width = found->second.first;
    height = found->second.second;
    return true;
}

void showWindow() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.info.exists) return;
    s.info.shown = true;
    s.posted.push_back(Message{MessageType::Paint});  // a shown window gets exposed
    s.wake.notify_all();
}

void showCursor(int show) {
    std::lock_guard lock(state().mutex);
    state().info.cursorShown = show;
}

int runMessageLoop() {
    auto& s = state();
    std::unique_lock lock(s.mutex);
    for (;;) {
        if (s.quitPosted) {
            s.quitPosted = false;
            return s.quitCode;
        }
        headless::queueDueTimersLocked(s);
        if (headless::Request* request = s.firstRequest) {
            s.firstRequest = request->next;
            if (s.firstRequest == nullptr) s.lastRequest = nullptr;
            lock.unlock();
            headless::serve(*request);
            lock.lock();
            continue;
        }
        if (!s.posted.empty()) {
            Message message = s.posted.front();
            s.posted.pop_front();
            auto callback = s.dispatchCallback;
            bool exists = s.info.exists;
            lock.unlock();
            if (exists) {
                headless::dispatchHere(message);
                if (callback) (*callback)(message);
            }
            lock.lock();
            continue;
        }
        if (s.timeMode == headless::TimeMode::Real && !s.timers.empty()) {
            std::uint64_t next = s.timers.front().due;
            for (const auto& t : s.timers) next = std::min(next, t.due);
            std::uint64_t now = headless::ticksLocked(s);
            auto wait = std::chrono::microseconds(next > now ? (next - now) * 10 : 0);
            s.wake.wait_for(lock, wait);
        } else {
            s.wake.wait(lock);
        }
    }
}

void postQuitMessage(int code) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.quitPosted = true;
    s.quitCode = code;
    s.wake.notify_all();
}

long defaultWindowProc(Message& message) {
    if (message.type == MessageType::Close) headless::destroyWindow();
    return 0;
}

long sendMessage(const Message& message) {
    bool here;
    {
        std::lock_guard lock(state().mutex);
        if (!state().info.exists) return 0;
        here = headless::onWindowThreadLocked(state());
    }
    if (here) {  // a send to one's own window is a direct call
        Message copy = message;
        return headless::dispatchHere(copy);
    }
    headless::Request request;
    request.message = message;
    return headless::submit(request);
}

void presentPixels(const std::uint32_t* pixels, int stride, int bufferHeight, int x, int y, int width,
                   int height) {
    headless::PresentArgs args{pixels, stride, bufferHeight, x, y, width, height};
    bool here;
    {
        std::lock_guard lock(state().mutex);
        if (!state().info.exists) return;
        here = headless::onWindowThreadLocked(state());
    }
    if (here) {
        headless::presentHere(args);
        return;
    }
    headless::Request request;
    request.isPresent = true;
    request.present = args;
    headless::submit(request);
}

void repaintWindow() {
    std::lock_guard lock(state().mutex);
    ++state().repaints;
}

void fillBlack(int left, int top, int right, int bottom) {
    std::lock_guard lock(state().mutex);
    state().paints.push_back(headless::PaintCall{headless::PaintCall::Kind::FillBlack, "", left, top, right, bottom});
}

void drawIcon(const std::string& iconResource, int x, int y) {
    std::lock_guard lock(state().mutex);
    state().paints.push_back(headless::PaintCall{headless::PaintCall::Kind::DrawIcon, iconResource, x, y, 0, 0});
}

void setTimer(unsigned id, unsigned periodMs) {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    std::erase_if(s.timers, [&](const headless::Timer& t) { return t.id == id; });
    s.timers.push_back(headless::Timer{id, periodMs, headless::ticksLocked(s) + std::uint64_t{std::max(periodMs, 1u)} * 100});
    s.wake.notify_all();
}

void killTimer(unsigned id) {
    std::lock_guard lock(state().mutex);
    std::erase_if(state().timers, [&](const headless::Timer& t) { return t.id == id; });
}

void messageBox(BoxOwner owner, const std::string& text, const std::string& caption, BoxIcon icon) {
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
    std::lock_guard lock(state().mutex);
    state().boxes.push_back(headless::RecordedBox{owner, text, caption, icon});
}

std::uint64_t clockTicks() {
    std::lock_guard lock(state().mutex);
    return headless::ticksLocked(state());
}

std::uint32_t tickCountMs() { return static_cast<std::uint32_t>(clockTicks() / 100); }

void sleepMs(unsigned milliseconds) {
    auto& s = state();
    bool real;
    {
        std::lock_guard lock(s.mutex);
        real = s.timeMode == headless::TimeMode::Real;
        if (!real) {
            s.manualTicks += std::uint64_t{milliseconds} * 100;
            s.wake.notify_all();  // timers may be due
        }
    }
    if (real)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    else
        std::this_thread::yield();
}

}  // namespace lumivortex::platform
