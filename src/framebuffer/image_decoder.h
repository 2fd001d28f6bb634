// Decoding of an image file held in memory (a JPEG or a BMP, told apart by
// their first bytes) into top-down rows of 32-bit 0xAARRGGBB pixels. This is
// the only place where untrusted image bytes are parsed: every malformed,
// truncated or oversized input ends in a clean failure, never in a crash,
// and a failed decode leaves nothing allocated.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lumivortex {

// A decoded picture: `width` x `height` pixels, row r starting at
// pixels[r * width], rows top to bottom.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// Largest width or height accepted; a header claiming more is taken as
// corrupt rather than allocated.
inline constexpr int maxImageSide = 4096;

// Decodes a JPEG (any colour space libjpeg converts to RGB: greyscale,
// YCbCr, RGB) or a BMP (1, 4 and 8-bit palettes, 16, 24 and 32 bits).
// Returns true with `out` filled; false with `out` empty when the bytes are
// not a complete, valid image of either format.
bool decodeImage(std::span<const std::uint8_t> bytes, DecodedImage& out);

}  // namespace lumivortex
