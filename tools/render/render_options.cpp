// Every value is checked whole: "12abc", "", "-3" and values out of range are
// errors, never silently clamped.
#include "render_options.h"

#include <charconv>
#include <string_view>

#include "gallery/gallery.h"

namespace lumivortex::render_tool {

namespace {

constexpr int maxWidth = 7680;
constexpr int maxHeight = 4320;
constexpr int minSide = 16;

template <typename T>
bool parseWhole(std::string_view text, T& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool parseRange(std::string_view text, int low, int high, int& value) {
    return parseWhole(text, value) && value >= low && value <= high;
}

bool parseSize(std::string_view text, int& width, int& height) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return false;
    return parseRange(text.substr(0, x), minSide, maxWidth, width) &&
           parseRange(text.substr(x + 1), minSide, maxHeight, height);
}

}  // namespace

std::optional<RenderOptions> parseRenderOptions(int argc, const char* const* argv, std::string& error) {
    RenderOptions options;
    bool haveFrames = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view name = argv[i];
        if (name == "--help" || name == "-h") {
            options.helpOnly = true;
            return options;
        }
        if (name == "--checksum") {
            options.checksums = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value after " + std::string(name);
            return std::nullopt;
        }
        const std::string_view value = argv[++i];
        bool ok = true;
        if (name == "--frames") {
            ok = parseRange(value, 1, 1000000, options.frames);
            haveFrames = ok;
        } else if (name == "--size") {
            ok = parseSize(value, options.width, options.height);
        } else if (name == "--seed") {
            ok = parseWhole(value, options.seed);
        } else if (name == "--every") {
            ok = parseRange(value, 1, 1000000, options.every);
        } else if (name == "--gallery") {
            if (!gallery::knowsGallery(value)) {
                error = "unknown gallery '" + std::string(value) + "' (one of: " + gallery::galleryNames() + ")";
                return std::nullopt;
            }
            options.gallery = value;
        } else if (name == "--out") {
            options.outDir = value;
            ok = !value.empty();
        } else {
            error = "unknown option " + std::string(name);
            return std::nullopt;
        }
        if (!ok) {
            error = "bad value for " + std::string(name) + ": '" + std::string(value) + "'";
            return std::nullopt;
        }
    }
    if (!haveFrames || options.outDir.empty()) {
        error = "--frames and --out are required";
        return std::nullopt;
    }
    return options;
}

}  // namespace lumivortex::render_tool
