// Seeds that make the generator's next draw a chosen value, so tests can
// check the formulas at the ends of the draw range.
#pragma once

#include <cstdint>

namespace lumivortex::testing {

// Multiplicative inverse of the generator's odd multiplier modulo 2^32.
constexpr std::uint32_t inverseMultiplier() {
    std::uint32_t inverse = 1;
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;  // Newton steps
    return inverse;
}

// A seed whose next draw is r (0..32767).
constexpr std::uint32_t seedForDraw(int r) {
    const std::uint32_t next = static_cast<std::uint32_t>(r) << 16;
    return (next - 2531011u) * inverseMultiplier();
}

}  // namespace lumivortex::testing
