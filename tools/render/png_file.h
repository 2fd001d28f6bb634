// Writes a 0xAARRGGBB picture as an 8-bit RGB PNG file (alpha dropped: the
// frame buffer's alpha byte is not an opacity).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace lumivortex::render_tool {

// rowPixels(y) gives row y (width pixels), top to bottom. Returns false,
// with `error` saying why, when the file cannot be written.
bool writePng(const std::string& path, int width, int height,
              const std::function<const std::uint32_t*(int y)>& rowPixels, std::string& error);

}  // namespace lumivortex::render_tool
