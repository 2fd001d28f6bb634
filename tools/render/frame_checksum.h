// A checksum of a written frame that does not depend on the PNG encoder:
// 64-bit FNV-1a over the picture's red, green and blue bytes, row by row
// from the top, exactly the samples the PNG file holds.
#pragma once

#include <cstdint>
#include <functional>

namespace lumivortex::render_tool {

// rowPixels(y) gives row y (width 0xAARRGGBB pixels), top to bottom.
std::uint64_t frameChecksum(int width, int height, const std::function<const std::uint32_t*(int y)>& rowPixels);

}  // namespace lumivortex::render_tool
