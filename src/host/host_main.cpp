// hostMain: arguments -> (preview child | normal window + worker) -> message
// loop -> wait for the worker to return or park -> exit code 0.
#include "host/host_main.h"

#include <cctype>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "host/host_config.h"
#include "host/window_proc.h"
#include "host/worker.h"
#include "platform/platform.h"

namespace lumivortex {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void showHelp() {
    platform::messageBox(platform::BoxOwner::None, helpText, helpCaption, platform::BoxIcon::None);
}

// The child window fills the screen-saver host's preview window; no worker.
bool openPreviewWindow() {
    int width = 0, height = 0;
    if (!platform::clientSize(previewParent, width, height)) return false;
    return platform::createWindow(hostConfig.title, 0, 0, width, height,
                                  platform::WindowStyle::PreviewChild, "", previewParent,
                                  hostWindowProc);
}

// Centred at the frame size, or covering the screen when fullScreen is set.
bool openNormalWindow() {
    int x = platform::screenWidth() / 2 - frameWidth / 2;
    int y = platform::screenHeight() / 2 - frameHeight / 2;
    setWindowMaxSize(frameWidth, frameHeight);
    auto style = fullScreen ? platform::WindowStyle::Popup : platform::WindowStyle::Overlapped;
    if (!platform::createWindow(hostConfig.title, x, y, frameWidth, frameHeight, style, "ICON_MAIN",
                                0, hostWindowProc))
        return false;
    platform::showWindow();
    startWorker();
    platform::showCursor(hostConfig.showCursor);
    return true;
}

// Decimal window handle: an optional sign, then digits up to the first
// non-digit; no digits give 0. Empty when the value does not fit an int.
std::optional<std::int32_t> parseHandle(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit) return std::nullopt;
    }
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace

int parseScreenSaverArgs(int argc, const char* const* argv) {
    previewMode = 0;
    if (argc < 2) return 0;
    std::string_view mode = argv[1];
    if (equalsIgnoringCase(mode, "/s")) return 0;
    if (argc == 3 && equalsIgnoringCase(mode, "/p")) {
        std::optional<std::int32_t> handle = parseHandle(argv[2]);
        // Handles are 32-bit window ids; a negative number keeps its bit pattern.
        previewParent = handle ? static_cast<std::uint32_t>(*handle) : 0;
        if (previewParent == 0) return 1;  // not a window: end without a word
        previewMode = 1;
        return 0;
    }
    showHelp();
    return 1;
}

int hostMain(int argc, char** argv) {
    becomeWindowThread();
    if (screenSaverMode && parseScreenSaverArgs(argc, argv)) return 0;
    if (!platform::initialise()) return 0;  // the platform has said why
    bool opened = previewMode ? openPreviewWindow() : openNormalWindow();
    if (!opened) return 0;
    int code = platform::runMessageLoop();
    if (!previewMode) awaitWorkerEnd();
    platform::sleepMs(1);
    return code;
}

}  // namespace lumivortex
