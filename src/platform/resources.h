// Resources embedded in the executable: every picture the program uses is
// made by the generator under resources/ at build time and compiled in, so
// nothing is read from disk at run time. Names and types are matched without
// regard to case ("spot01" finds "SPOT01").
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace lumivortex {

// Resource types used by this program.
inline constexpr std::string_view resourceTypeBinaryData = "BINARYDATA"; // JPEG sprite images
inline constexpr std::string_view resourceTypeBitmap = "BITMAP";         // BMP files
inline constexpr std::string_view resourceTypeIcon = "ICON";             // icon images

struct Resource {
    std::string_view name;
    std::string_view type;
    std::span<const std::uint8_t> data;
};

// The resource with this name and type, or null when there is none.
const Resource* findResource(std::string_view name, std::string_view type);

}  // namespace lumivortex
