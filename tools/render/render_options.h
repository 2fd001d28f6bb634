// The command line of lumivortex-render.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lumivortex::render_tool {

struct RenderOptions {
    int frames = 0;          // frames to render, 1 and up
    int width = 1920;
    int height = 1080;
    std::uint32_t seed = 1;  // replaces the tick count as the random seed
    int every = 1;           // keep frames every, 2 every, ...
    std::string outDir;
    bool helpOnly = false;   // --help: print the usage and end
};

inline constexpr const char* usageText =
    "Usage: lumivortex-render --frames N --out DIR [--size WxH] [--seed S] [--every K]\n"
    "Renders frames of the animation offscreen, repeatably, and writes them as PNG files.\n"
    "  --frames N   render frames 1..N of the animation (N >= 1)\n"
    "  --out DIR    write DIR/frame_NNNNNN.png (created if missing)\n"
    "  --size WxH   frame size, 16x16 up to 7680x4320 (default 1920x1080)\n"
    "  --seed S     random seed, 0..4294967295 (default 1)\n"
    "  --every K    keep every K-th frame: K, 2K, ... (default 1)\n";

// The options, or nothing with `error` saying what is wrong.
std::optional<RenderOptions> parseRenderOptions(int argc, const char* const* argv, std::string& error);

}  // namespace lumivortex::render_tool
