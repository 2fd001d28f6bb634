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
    std::string gallery;     // empty: the animation; else the gallery scene of that name
    bool checksums = false;  // print a checksum of every kept frame's pixels
    bool helpOnly = false;   // --help: print the usage and end
};

inline constexpr const char* usageText =
    "Usage: lumivortex-render --frames N --out DIR [--size WxH] [--seed S] [--every K]\n"
    "                         [--gallery NAME] [--checksum]\n"
    "Renders frames of the animation, or of a gallery scene, offscreen, repeatably,\n"
    "and writes them as PNG files.\n"
    "  --frames N   render frames 1..N (N >= 1)\n"
    "  --out DIR    write DIR/frame_NNNNNN.png (created if missing)\n"
    "  --size WxH   frame size, 16x16 up to 7680x4320 (default 1920x1080)\n"
    "  --seed S     random seed, 0..4294967295 (default 1)\n"
    "  --every K    keep every K-th frame: K, 2K, ... (default 1)\n"
    "  --gallery NAME  render a gallery scene instead of the animation: balls\n"
    "               (depth-tested balls), discs (image discs in the four blend\n"
    "               modes) or links (cloth, torus and chain held by links)\n"
    "  --checksum   print 'FILE CHECKSUM' for every frame written: 16 hex digits,\n"
    "               64-bit FNV-1a of the picture's RGB bytes, top row first\n";

// The options, or nothing with `error` saying what is wrong.
std::optional<RenderOptions> parseRenderOptions(int argc, const char* const* argv, std::string& error);

}  // namespace lumivortex::render_tool
