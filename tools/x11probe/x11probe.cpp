// x11probe: small X11 helper for the end-to-end tests.
//   x11probe window W H X Y      creates a plain W x H window at (X, Y) on a
//                                white background, prints its id once it is
//                                mapped and keeps it until the process is killed
//   x11probe expect MS [-t N] X,Y=RRGGBB ...
//                                waits up to MS milliseconds until every screen
//                                pixel matches (each channel within N); prints
//                                the pixels and fails otherwise
//   x11probe close ID            asks the window's client to close it
//                                (WM_DELETE_WINDOW, as a window manager does)
//   x11probe cursor              prints "hidden" or "visible": the pointer's
//                                current cursor image
//   x11probe shot FILE.png [X Y W H SCALE]
//                                saves a screenshot, or a magnified part of it
//                                (to look at a failure)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Check {
    int x, y;
    unsigned long rgb;
};

[[noreturn]] void fail(const char* text) {
    std::fprintf(stderr, "x11probe: %s\n", text);
    std::exit(2);
}

Display* openDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) fail("cannot open the display");
    return display;
}

int createWindow(Display* display, int width, int height, int x, int y) {
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y,
                                              static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XSelectInput(display, window, StructureNotifyMask);
    XStoreName(display, window, "x11probe preview host");
    XMapWindow(display, window);
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify) break;
    }
    std::printf("%lu\n", window);
    std::fflush(stdout);
    for (;;) pause();  // the window lives as long as this process
}

unsigned long pixelAt(XImage* image, int x, int y) { return XGetPixel(image, x, y) & 0xffffff; }

bool matches(unsigned long actual, unsigned long expected, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>((actual >> shift) & 0xff), e = static_cast<int>((expected >> shift) & 0xff);
        if (std::abs(a - e) > tolerance) return false;
    }
    return true;
}

int expectPixels(Display* display, int timeoutMs, int tolerance, const std::vector<Check>& checks) {
    const Window root = DefaultRootWindow(display);
    XWindowAttributes rootAttributes;
    XGetWindowAttributes(display, root, &rootAttributes);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(rootAttributes.width),
                                  static_cast<unsigned>(rootAttributes.height), AllPlanes, ZPixmap);
        if (!image) fail("cannot read the screen");
        bool all = true;
        for (const Check& check : checks) all = all && matches(pixelAt(image, check.x, check.y), check.rgb, tolerance);
        const bool timedOut = std::chrono::steady_clock::now() >= deadline;
        if (all || timedOut) {
            for (const Check& check : checks) {
                const unsigned long actual = pixelAt(image, check.x, check.y);
                std::printf("%d,%d=%06lx", check.x, check.y, actual);
                if (!matches(actual, check.rgb, tolerance)) std::printf("  expected %06lx", check.rgb);
                std::printf("\n");
            }
            XDestroyImage(image);
            return all ? 0 : 1;
        }
        XDestroyImage(image);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

int closeWindow(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return 0;
}

int reportCursor(Display* display) {
    int eventBase = 0, errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase, &errorBase)) fail("no XFixes extension");
    XFixesCursorImage* cursor = XFixesGetCursorImage(display);
    if (!cursor) fail("cannot read the cursor");
    bool visible = false;
    for (int i = 0; i < cursor->width * cursor->height; ++i) visible = visible || (cursor->pixels[i] >> 24) != 0;
    std::printf("%s\n", visible ? "visible" : "hidden");
    XFree(cursor);
    return 0;
}

struct Region {
    int x, y, width, height, scale;
};

int saveScreenshot(Display* display, const char* path, Region region) {
    const Window root = DefaultRootWindow(display);
    if (region.width <= 0) {
        XWindowAttributes attributes;
        XGetWindowAttributes(display, root, &attributes);
        region = {0, 0, attributes.width, attributes.height, 1};
    }
    XImage* image = XGetImage(display, root, region.x, region.y, static_cast<unsigned>(region.width),
                              static_cast<unsigned>(region.height), AllPlanes, ZPixmap);
    if (!image) fail("cannot read the screen");
    FILE* file = std::fopen(path, "wb");
    if (!file) fail("cannot write the file");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) fail("cannot encode the screenshot");
    png_init_io(png, file);
    const int width = region.width * region.scale, height = region.height * region.scale;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long rgb = pixelAt(image, x / region.scale, y / region.scale);
            row[static_cast<std::size_t>(x) * 3] = static_cast<png_byte>(rgb >> 16);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<png_byte>(rgb >> 8);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<png_byte>(rgb);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    XDestroyImage(image);
    return 0;
}

Check parseCheck(const std::string& text) {
    Check check{};
    char hex[7] = {};
    if (std::sscanf(text.c_str(), "%d,%d=%6[0-9a-fA-F]", &check.x, &check.y, hex) != 3) fail("bad pixel check");
    check.rgb = std::strtoul(hex, nullptr, 16);
    return check;
}

[[noreturn]] void usage() {
    fail("usage: x11probe window W H X Y | expect MS [-t N] X,Y=RRGGBB... | close ID | cursor | shot FILE [X Y W H SCALE]");
}

int run(Display* display, int argc, char** argv) {
    const std::string command = argv[1];
    if (command == "window" && argc == 6) {
        return createWindow(display, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
    }
    if (command == "expect" && argc >= 4) {
        int tolerance = 0;
        int first = 3;
        if (std::string(argv[3]) == "-t" && argc >= 6) {
            tolerance = std::atoi(argv[4]);
            first = 5;
        }
        std::vector<Check> checks;
        for (int i = first; i < argc; ++i) checks.push_back(parseCheck(argv[i]));
        return expectPixels(display, std::atoi(argv[2]), tolerance, checks);
    }
    if (command == "close" && argc == 3) return closeWindow(display, std::strtoul(argv[2], nullptr, 0));
    if (command == "cursor" && argc == 2) return reportCursor(display);
    if (command == "shot" && argc == 3) return saveScreenshot(display, argv[2], {});
    if (command == "shot" && argc == 8) {
        return saveScreenshot(display, argv[2],
                              {std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]),
                               std::max(1, std::atoi(argv[7]))});
    }
    usage();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) usage();
    Display* display = openDisplay();
    const int code = run(display, argc, argv);
    XCloseDisplay(display);
    return code;
}
