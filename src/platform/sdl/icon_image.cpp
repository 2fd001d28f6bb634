// Icon decoding: the ICO directory is read here (a 6-byte header and one
// 16-byte entry per image, little endian); the PNG images it points to are
// decoded by stb_image, compiled into this file only.
#include "platform/sdl/icon_image.h"

#include <cstring>

#include "platform/resources.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 1024  // icons are at most 256 pixels; refuse absurd headers
#include <stb/stb_image.h>

namespace lumivortex::platform::sdl {
namespace {

constexpr std::size_t headerSize = 6;
constexpr std::size_t entrySize = 16;
constexpr std::uint8_t pngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

std::uint32_t readLe(std::span<const std::uint8_t> bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

struct Entry {
    int size;
    std::span<const std::uint8_t> data;
};

// The entry of the preferred size, else the largest; empty data when the
// container is malformed.
Entry pickEntry(std::span<const std::uint8_t> file, int preferredSize) {
    Entry best{0, {}};
    if (file.size() < headerSize || readLe(file, 0, 2) != 0 || readLe(file, 2, 2) != 1) return best;
    const std::size_t count = readLe(file, 4, 2);
    if (file.size() < headerSize + entrySize * count) return best;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = headerSize + entrySize * i;
        const int size = file[at] == 0 ? 256 : file[at];
        const std::size_t length = readLe(file, at + 8, 4);
        const std::size_t offset = readLe(file, at + 12, 4);
        if (offset > file.size() || length > file.size() - offset) return {0, {}};
        const bool better = best.data.empty() || size == preferredSize || (best.size != preferredSize && size > best.size);
        if (better) best = {size, file.subspan(offset, length)};
    }
    return best;
}

}  // namespace

bool decodeIcon(std::span<const std::uint8_t> file, int preferredSize, IconImage& image) {
    const Entry entry = pickEntry(file, preferredSize);
    if (entry.data.size() < sizeof pngSignature ||
        std::memcmp(entry.data.data(), pngSignature, sizeof pngSignature) != 0) {
        return false;
    }
    int width = 0, height = 0, channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(entry.data.data(), static_cast<int>(entry.data.size()), &width, &height,
                                          &channels, 4);
    if (!rgba) return false;
    image.width = width;
    image.height = height;
    image.argb.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < image.argb.size(); ++i) {
        const stbi_uc* p = rgba + i * 4;
        image.argb[i] = (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    }
    stbi_image_free(rgba);
    return true;
}

bool loadIcon(std::string_view name, int preferredSize, IconImage& image) {
    const Resource* resource = findResource(name, resourceTypeIcon);
    return resource && decodeIcon(resource->data, preferredSize, image);
}

}  // namespace lumivortex::platform::sdl
