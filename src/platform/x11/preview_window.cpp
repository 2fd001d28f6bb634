// Preview child on its own Xlib connection. The screen-saver host may hand
// us any number, or destroy its window at any moment, so X errors are never
// left to Xlib's default handler (which ends the process with code 1): while
// a query is trapped they only mark it failed, otherwise they end the
// program quietly with exit code 0, as does a lost connection.
#include "platform/x11/preview_window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <bit>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/sdl/icon_image.h"

namespace lumivortex::platform::x11 {
namespace {

// Window ids of the core protocol have 29 bits; larger numbers would be
// truncated to some other window on the wire.
constexpr std::uintptr_t largestWindowId = 0x1fffffff;
constexpr int iconSize = 32;

Display* display = nullptr;
Window child = 0;
GC gc = nullptr;
Visual* visual = nullptr;
int depth = 0;
WindowProc previewProc = nullptr;
std::atomic<bool> trapping{false};
std::atomic<bool> trapped{false};

[[noreturn]] void endQuietly() {
    std::fflush(nullptr);
    std::_Exit(0);
}

int onXError(Display*, XErrorEvent*) {
    if (!trapping.load()) endQuietly();
    trapped = true;
    return 0;
}

int onXIOError(Display*) { endQuietly(); }

bool openDisplay() {
    if (display) return true;
    XSetErrorHandler(onXError);
    XSetIOErrorHandler(onXIOError);
    display = XOpenDisplay(nullptr);
    return display != nullptr;
}

// Reads a window's attributes; false when the window does not exist.
bool queryWindow(std::uintptr_t window, XWindowAttributes& attributes) {
    if (window == 0 || window > largestWindowId || !openDisplay()) return false;
    trapping = true;
    trapped = false;
    const Status ok = XGetWindowAttributes(display, static_cast<Window>(window), &attributes);
    XSync(display, False);
    trapping = false;
    return ok && !trapped.load();
}

// One 8-bit channel placed into a TrueColor pixel mask.
unsigned long channel(unsigned value, unsigned long mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const int bits = std::popcount(mask);
    const unsigned long scaled = bits >= 8 ? static_cast<unsigned long>(value) << (bits - 8) : value >> (8 - bits);
    return (scaled << shift) & mask;
}

// The pixel value of an opaque colour in the preview window's visual.
unsigned long pixelValue(unsigned red, unsigned green, unsigned blue) {
    if (visual->c_class != TrueColor && visual->c_class != DirectColor) {
        const int screen = DefaultScreen(display);
        return red + green + blue >= 3 * 128 ? WhitePixel(display, screen) : BlackPixel(display, screen);
    }
    const unsigned long colourMasks = visual->red_mask | visual->green_mask | visual->blue_mask;
    const unsigned long depthMask = depth >= 32 ? 0xffffffffUL : (1UL << depth) - 1;
    const unsigned long alphaBits = depthMask & ~colourMasks;  // 32-bit visuals keep alpha here
    return channel(red, visual->red_mask) | channel(green, visual->green_mask) | channel(blue, visual->blue_mask) |
           alphaBits;
}

void dispatchToPreview(MessageType type) {
    Message message{type};
    if (previewProc) previewProc(message);
}

}  // namespace

bool createPreviewWindow(std::uintptr_t parent, int width, int height, WindowProc proc) {
    XWindowAttributes parentAttributes;
    if (width <= 0 || height <= 0 || !queryWindow(parent, parentAttributes)) return false;
    visual = parentAttributes.visual;
    depth = parentAttributes.depth;

    XSetWindowAttributes attributes{};
    attributes.background_pixel = pixelValue(0, 0, 0);
    attributes.border_pixel = 0;
    attributes.colormap = parentAttributes.colormap;
    // Only exposure and structure: the child takes no input (a disabled
    // window), so clicks and keys reach the host's own window.
    attributes.event_mask = ExposureMask | StructureNotifyMask;
    child = XCreateWindow(display, static_cast<Window>(parent), 0, 0, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, depth, InputOutput, visual,
                          CWBackPixel | CWBorderPixel | CWColormap | CWEventMask, &attributes);
    gc = XCreateGC(display, child, 0, nullptr);
    XMapWindow(display, child);
    XSync(display, False);  // a parent that vanished meanwhile ends the program here
    previewProc = proc;
    // SDL turns SIGINT and SIGTERM into quit events on its own queue, which
    // the preview's X event loop never reads: let them end the process.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    return true;
}

bool previewActive() { return child != 0; }

void handleNextPreviewEvent() {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == Expose && event.xexpose.window == child && event.xexpose.count == 0) {
        dispatchToPreview(MessageType::Paint);
    } else if (event.type == DestroyNotify && event.xdestroywindow.window == child) {
        // Destroyed by us or together with its parent.
        XFreeGC(display, gc);
        gc = nullptr;
        child = 0;
        dispatchToPreview(MessageType::Destroy);
    }
}

void destroyPreviewWindow() {
    if (child) XDestroyWindow(display, child);
}

}  // namespace lumivortex::platform::x11

namespace lumivortex::platform {

bool clientSize(std::uintptr_t window, int& width, int& height) {
    XWindowAttributes attributes;
    if (!x11::queryWindow(window, attributes)) return false;
    width = attributes.width;
    height = attributes.height;
    return true;
}

void fillBlack(int left, int top, int right, int bottom) {
    using namespace x11;
    if (!child || right <= left || bottom <= top) return;
    XSetForeground(display, gc, pixelValue(0, 0, 0));
    XFillRectangle(display, child, gc, left, top, static_cast<unsigned>(right - left),
                   static_cast<unsigned>(bottom - top));
}

// The icon is blended over black, which is what the preview paints first.
void drawIcon(const std::string& iconResource, int x, int y) {
    using namespace x11;
    sdl::IconImage icon;
    if (!child || !sdl::loadIcon(iconResource, iconSize, icon)) return;
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(icon.width), static_cast<unsigned>(icon.height), 32, 0);
    if (!image) return;
    std::vector<char> bits(static_cast<std::size_t>(image->bytes_per_line) * icon.height);
    image->data = bits.data();
    for (int row = 0; row < icon.height; ++row) {
        for (int column = 0; column < icon.width; ++column) {
            const std::uint32_t argb = icon.argb[static_cast<std::size_t>(row) * icon.width + column];
            const unsigned alpha = argb >> 24;
            const auto overBlack = [alpha](unsigned value) { return (value * alpha + 127) / 255; };
            XPutPixel(image, column, row,
                      pixelValue(overBlack((argb >> 16) & 0xff), overBlack((argb >> 8) & 0xff), overBlack(argb & 0xff)));
        }
    }
    XPutImage(display, child, gc, image, 0, 0, x, y, static_cast<unsigned>(icon.width),
              static_cast<unsigned>(icon.height));
    image->data = nullptr;  // the pixels belong to `bits`
    XDestroyImage(image);
}

}  // namespace lumivortex::platform
