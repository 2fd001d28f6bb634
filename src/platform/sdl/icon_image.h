// Icon resources: an ICO container of PNG images; one image is picked by
// size and decoded to 0xAARRGGBB pixels (straight alpha, top row first).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace lumivortex::platform::sdl {

struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
};

// Loads the image of the "ICON" resource `name` whose size equals
// `preferredSize`, or else its largest image. False when the resource is
// missing or not a valid icon.
bool loadIcon(std::string_view name, int preferredSize, IconImage& image);

// The same for the bytes of an icon file. False, leaving `image` alone, for
// anything but a well-formed container whose chosen image is a valid PNG.
bool decodeIcon(std::span<const std::uint8_t> file, int preferredSize, IconImage& image);

}  // namespace lumivortex::platform::sdl
