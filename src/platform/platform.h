// The platform layer: the few window-system, timing and dialogue services the
// host needs, shaped after the message model the host was designed around.
//
// The host registers one window procedure; the backend turns its own events
// (SDL, Xlib, or a test script in the headless backend) into `Message`s and
// dispatches them to that procedure on the window thread. Two backends
// implement this header and the executable picks one at link time:
//   lumi_platform_sdl       real windows (SDL2) and the preview child (Xlib)
//   lumi_platform_headless  no window: frames captured, boxes recorded,
//                           a clock that tests drive (see headless.h)
//
// Threads: everything here runs on the window (main) thread, except where a
// function says "any thread". The worker reaches the window only through
// sendMessage and presentPixels, both of which block until the window thread
// has handled them, so no pixel memory is shared between the threads.
#pragma once

#include <cstdint>
#include <string>

namespace lumivortex::platform {

// Message kinds the host's window procedure handles (the rest never arrive).
enum class MessageType {
    Destroy,           // window destroyed; the procedure posts the quit message
    Paint,             // window contents must be repainted
    Close,             // close request (user, window manager or the worker)
    EraseBackground,   // answered 1: the frame buffer covers the window
    GetMinMaxInfo,     // procedure fills maxTrackWidth / maxTrackHeight
    KeyDown,           // wParam = virtual-key code (Esc 27, Enter 13, F1 112, A 65 ...)
    KeyUp,             // wParam = virtual-key code
    Timer,             // wParam = timer identifier
    MouseMove,         // lParam = x | (y << 16), client coordinates, unsigned 16 bit each
    LeftButtonDown,
    LeftButtonUp,
    RightButtonDown,
    RightButtonUp,
    MiddleButtonDown,
    MiddleButtonUp,
    MouseWheel,        // wParam = (signed wheel distance << 16) | key-state flags
};

struct Message {
    MessageType type;
    std::uint32_t wParam = 0;
    std::uint32_t lParam = 0;
    int maxTrackWidth = 0;   // GetMinMaxInfo: written by the procedure
    int maxTrackHeight = 0;
};

using WindowProc = long (*)(Message& message);

enum class WindowStyle { Popup, Overlapped, PreviewChild };
enum class BoxIcon { None, Error };
enum class BoxOwner { None, HostWindow };

// Opens the connection to the display. Returns false, after saying why on
// standard error, when no display is available.
bool initialise();

// Size of the primary display in pixels.
int screenWidth();
int screenHeight();

// Creates the host window. `iconResource` names an icon resource of the
// program (the window icon); empty for none. For WindowStyle::PreviewChild
// `parent` is the host's window id and the window fills it (width and height
// are its client size); otherwise `parent` is 0. Returns false on failure.
bool createWindow(const std::string& title, int x, int y, int width, int height,
                  WindowStyle style, const std::string& iconResource, std::uintptr_t parent,
                  WindowProc proc);

// Client size of a foreign window (the preview parent). False when it does
// not exist or any window-system error occurs.
bool clientSize(std::uintptr_t window, int& width, int& height);

// Shows the window (and, for the popup style, puts it in front).
void showWindow();

// ShowCursor: 0 hides the cursor over the host window, nonzero shows it.
void showCursor(int show);

// Runs the message loop until postQuitMessage; returns the quit code.
int runMessageLoop();
void postQuitMessage(int code);

// Default processing: Close destroys the window (dispatching Destroy),
// everything else is ignored. Returns the message's result.
long defaultWindowProc(Message& message);

// Any thread. Dispatches the message to the window procedure on the window
// thread and waits until it has been handled (a synchronous send). Returns
// at once, with 0, when the window no longer exists; a caller still waiting
// when the window is destroyed is released at once with 0.
long sendMessage(const Message& message);

// Any thread. Copies the rectangle (x, y, width, height) of a bottom-up
// 32-bit frame buffer (memory row 0 = bottom row of the picture, `stride`
// pixels per row, `bufferHeight` rows) into the same place of the window,
// the right way up, and returns once the copy is done; the window shows it
// shortly after. Does nothing when no window exists; a caller still waiting
// when the window is destroyed is released at once.
void presentPixels(const std::uint32_t* pixels, int stride, int bufferHeight,
                   int x, int y, int width, int height);

// Window thread. Repaints the window from the last presented frame.
void repaintWindow();

// Preview painting (window thread, inside Paint of a preview window).
void fillBlack(int left, int top, int right, int bottom);
void drawIcon(const std::string& iconResource, int x, int y);

// Any thread. Window timers: after `periodMs` and then every `periodMs`, a
// Timer message with `id` reaches the window procedure, until killTimer.
void setTimer(unsigned id, unsigned periodMs);
void killTimer(unsigned id);

// Any thread. A modal message box; returns when the user dismissed it. The
// text is also written to standard error, so it is not lost without a display.
// Works before initialise() (the help box is shown before the display opens).
void messageBox(BoxOwner owner, const std::string& text, const std::string& caption, BoxIcon icon);

// Any thread. Time: a monotonic clock in 10-microsecond ticks, the
// millisecond tick count used to seed the random source, and a sleep.
std::uint64_t clockTicks();
std::uint32_t tickCountMs();
void sleepMs(unsigned milliseconds);

}  // namespace lumivortex::platform
