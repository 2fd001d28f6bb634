// The headless backend of platform.h: no window system at all. The window is
// a record and a top-down pixel surface; presented frames land in that
// surface (and, when capture is on, in a list of copies); message boxes and
// preview paint calls are recorded; the clock is manual by default (sleeps
// advance it instead of waiting) so runs are fast and repeatable. Tests and
// the offscreen renderer drive it through this header.
//
// Threads: the thread that calls createWindow is the window thread; the
// message loop runs there and dispatches posted messages, synchronous sends
// and presents from other threads. Everything here may be called from any
// thread unless it says otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace lumivortex::platform::headless {

// Everything back to the start state: no window, no queued messages, no
// records, no callbacks, manual clock at 0, screen 1920 x 1080, display
// available, capture off.
void reset();

// --- set-up ---------------------------------------------------------------
void setScreenSize(int width, int height);
// initialise() fails (after printing why) when the display is unavailable.
void setDisplayAvailable(bool available);
// A foreign window (a screen-saver host's preview window) that clientSize finds.
void addForeignWindow(std::uintptr_t id, int width, int height);

// --- time -----------------------------------------------------------------
// Manual: clockTicks returns a settable value and sleepMs advances it
// (yielding the processor). Real: a monotonic clock and real sleeps.
enum class TimeMode { Manual, Real };
void setTimeMode(TimeMode mode);
void setClockTicks(std::uint64_t ticks);     // manual mode
void advanceClock(std::uint64_t ticks);      // manual mode

// --- the window -------------------------------------------------------------
struct WindowInfo {
    bool exists = false;
    bool shown = false;
    std::string title;
    std::string iconResource;
    int x = 0, y = 0, width = 0, height = 0;
    WindowStyle style = WindowStyle::Overlapped;
    std::uintptr_t parent = 0;
    int cursorShown = -1;                     // last showCursor value; -1: never called
    int maxTrackWidth = 0, maxTrackHeight = 0;  // the answer to GetMinMaxInfo at creation
    int created = 0;                          // windows created since reset
};
WindowInfo window();

// --- messages ---------------------------------------------------------------
// Queues a message for the window procedure (dispatched by the message loop).
void postMessage(const Message& message);
inline void postKeyDown(unsigned key) { postMessage(Message{MessageType::KeyDown, key}); }
inline void postKeyUp(unsigned key) { postMessage(Message{MessageType::KeyUp, key}); }
inline void postClose() { postMessage(Message{MessageType::Close}); }
// Window thread only (for example inside a callback below): dispatches the
// message to the window procedure now. Returns its result; 0 without a window.
long dispatchMessage(Message& message);
// Called on the window thread after each message the loop dispatched.
void setDispatchCallback(std::function<void(const Message&)> callback);

// --- presented frames -----------------------------------------------------------
struct FrameView {
    const std::uint32_t* pixels;  // the window surface, top-down, width pixels per row
    int width, height;
    std::size_t index;            // presents since reset, counting from 0
};
// Called on the window thread after each present, before the presenting
// thread is released: what it does (dispatchMessage, postMessage) happens
// between two frames of the worker.
void setPresentCallback(std::function<void(const FrameView&)> callback);

struct CapturedFrame {
    int width = 0, height = 0;          // the window surface
    std::vector<std::uint32_t> pixels;  // top-down
    int x = 0, y = 0, rectWidth = 0, rectHeight = 0;  // the presented rectangle
};
// When on, every present also stores a copy of the window surface.
void setCaptureEnabled(bool enabled);
std::vector<CapturedFrame> capturedFrames();
std::size_t presentCount();
// The window surface as it is now (what a repaint shows).
CapturedFrame windowSurface();
int repaintCount();

// --- records -------------------------------------------------------------------
struct RecordedBox {
    BoxOwner owner;
    std::string text;
    std::string caption;
    BoxIcon icon;
};
std::vector<RecordedBox> messageBoxes();

struct PaintCall {
    enum class Kind { FillBlack, DrawIcon } kind;
    std::string iconResource;          // DrawIcon
    int left, top, right, bottom;      // FillBlack; DrawIcon: x, y in left, top
};
std::vector<PaintCall> paintCalls();

struct TimerInfo {
    unsigned id;
    unsigned periodMs;
};
std::vector<TimerInfo> activeTimers();

}  // namespace lumivortex::platform::headless
