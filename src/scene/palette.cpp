// Colour derivation: the background is the colour at about half brightness,
// darkened by 25 per channel; the heads take it at about four fifths.
#include "scene/palette.h"

#include "host/host_config.h"
#include "math/colour.h"
#include "particles/particle_system.h"

namespace lumivortex {

const std::uint32_t paletteColours[pinnedPaletteSize] = {
    0xFF969696, 0xFFFF960F, 0xFF6E82FF, 0xFF82A00F, 0xFFFFD7A0, 0xFFAFC8FF,
    0xFFB4EBAF, 0xFFFFC8C8, 0xFF8C0A14, 0xFF0A3778, 0xFF0A500A, 0xFF6E0A5A,
};

namespace {

constexpr int backgroundScale = 125;
constexpr int backgroundDarkening = 25;
constexpr int headScale = 200;

// Each of red, green and blue times factor / 256, truncated; alpha 0.
std::uint32_t scaledChannels(std::uint32_t colour, std::uint32_t factor) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) out |= (((colour >> shift) & 0xFFu) * factor >> 8) << shift;
    return out;
}

}  // namespace

void onPaletteColour() {
    if (paletteIndex != followPalette) currentColour = paletteColours[paletteIndex];
    const std::uint32_t colour = currentColour;
    backgroundColour = darkenColour(scaledChannels(colour, backgroundScale), backgroundDarkening);
    selectSystem(headSystem);
    const std::uint32_t headColour = 0xFF000000u | scaledChannels(colour, headScale);
    for (std::uint32_t k = 0; k < currentSystem->count; ++k) currentSystem->particles[k].colour = headColour;
}

void stepPaletteIndex() {
    if (++paletteIndex > followPalette) paletteIndex = 0;
}

}  // namespace lumivortex
