// The one colour operation that draws from the random source.
#include "math/colour.h"

#include "math/random.h"

namespace lumivortex {

std::uint32_t jitterColour(std::uint32_t colour, int amount) {
    if (amount == 0) return colour;
    using namespace colour_detail;
    const double a = amount;
    std::uint32_t out = 0xFF000000u;
    for (int c = 0; c < 3; ++c) {  // blue, then green, then red
        const int j = static_cast<int>(static_cast<double>(randomDraw()) * (2.0 * a) / randomMax - a + 0.5);
        // A shift beyond +-255 clamps the same way; bounding it keeps the sum in range.
        const int shift = j < -255 ? -255 : (j > 255 ? 255 : j);
        out |= static_cast<std::uint32_t>(clampHigh255(clampLow0(channel(colour, c) + shift))) << (8 * c);
    }
    return out;
}

}  // namespace lumivortex
