// Channel-wise operations on packed 0xAARRGGBB colours, shared by the trail
// fader, the colour controller, the scene and the sprite kernels. The three
// low bytes are independent 8-bit channels; every result has alpha 0 except
// jitterColour's. They run per pixel, so they are branch-free integer code.
#pragma once

#include <cstdint>

namespace lumivortex {

namespace colour_detail {
// Channel c (0 = blue, 1 = green, 2 = red) of a packed colour.
constexpr std::int32_t channel(std::uint32_t colour, int c) {
    return static_cast<std::int32_t>((colour >> (8 * c)) & 0xFFu);
}
constexpr std::uint32_t pack(std::int32_t r, std::int32_t g, std::int32_t b) {
    return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}
// Branch-free clamps to the channel range.
constexpr std::int32_t clampLow0(std::int32_t v) { return v & ~(v >> 31); }
constexpr std::int32_t clampHigh255(std::int32_t v) {
    const std::int32_t over = v - 255;
    return v - (over & ~(over >> 31));
}
}  // namespace colour_detail

// Per channel a + floor((b - a) * w / 256), w in 0..256: w = 0 gives a,
// w = 256 gives b. The arithmetic shift floors negative differences.
constexpr std::uint32_t lerpColour(std::uint32_t a, std::uint32_t b, std::int32_t w) {
    std::uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const std::int32_t ac = colour_detail::channel(a, c);
        const std::int32_t diff = colour_detail::channel(b, c) - ac;
        out |= static_cast<std::uint32_t>((ac + ((diff * w) >> 8)) & 0xFF) << (8 * c);
    }
    return out;
}

// Per channel min(a + b, 255).
constexpr std::uint32_t addColour(std::uint32_t a, std::uint32_t b) {
    using namespace colour_detail;
    return pack(clampHigh255(channel(a, 2) + channel(b, 2)), clampHigh255(channel(a, 1) + channel(b, 1)),
                clampHigh255(channel(a, 0) + channel(b, 0)));
}

// Per channel max(a - b, 0).
constexpr std::uint32_t subtractColour(std::uint32_t a, std::uint32_t b) {
    using namespace colour_detail;
    return pack(clampLow0(channel(a, 2) - channel(b, 2)), clampLow0(channel(a, 1) - channel(b, 1)),
                clampLow0(channel(a, 0) - channel(b, 0)));
}

// Per channel max(c - k, 0), the same k for every channel.
constexpr std::uint32_t darkenColour(std::uint32_t colour, std::int32_t k) {
    using namespace colour_detail;
    return pack(clampLow0(channel(colour, 2) - k), clampLow0(channel(colour, 1) - k),
                clampLow0(channel(colour, 0) - k));
}

// Per channel (a * b) >> 8: a division by 256, so white times white is 254.
constexpr std::uint32_t modulateColour(std::uint32_t a, std::uint32_t b) {
    using namespace colour_detail;
    return pack((channel(a, 2) * channel(b, 2)) >> 8, (channel(a, 1) * channel(b, 1)) >> 8,
                (channel(a, 0) * channel(b, 0)) >> 8);
}

// amount = 0: colour unchanged, alpha included, without draws. Otherwise
// blue, green, red (one draw each, in that order) each move by
// trunc(r*2*amount/32767 - amount + 0.5), clamped to 0..255; alpha 0xFF.
std::uint32_t jitterColour(std::uint32_t colour, int amount);

}  // namespace lumivortex
