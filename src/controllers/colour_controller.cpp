// One step: segment timing, a new palette target when a segment starts, the
// blend of start and target published in controllerColour (with the segment
// fraction t in controllerValue), the hook, then the output.
#include "controllers/colour_controller.h"

#include <cassert>
#include <cstddef>

#include "host/memory.h"
#include "math/colour.h"
#include "math/random.h"

namespace lumivortex {

DataSmRandUCNTdwRGB::~DataSmRandUCNTdwRGB() { alignedFree(palette); }

void DataSmRandUCNTdwRGB::setup(std::uint32_t* newOutput, std::int32_t newPaletteSize,
                                std::int32_t newPeriodBase, std::int32_t newPeriodJitter) {
    output = newOutput;
    periodBase = newPeriodBase;
    periodJitter = newPeriodJitter;
    assert(newPaletteSize >= 0);
    if (newPaletteSize > 0) {
        alignedFree(palette);
        // Zero-filled, so entries never set blend as black rather than as
        // whatever the heap held.
        palette = static_cast<std::uint32_t*>(
            alignedAlloc16(static_cast<std::size_t>(newPaletteSize) * sizeof(std::uint32_t), fillZero));
        paletteSize = newPaletteSize;
    }
    period = remaining = 1;
    startColour = targetColour = 0;
}

void DataSmRandUCNTdwRGB::setPaletteEntry(std::int32_t index, std::uint32_t colour) {
    assert(palette != nullptr && index >= 0 && index < paletteSize);
    palette[index] = colour;
}

std::uint32_t DataSmRandUCNTdwRGB::randomEntry() const { return palette[randIndex(paletteSize - 1)]; }

void DataSmRandUCNTdwRGB::update() {
    if (palette == nullptr) return;
    if (advanceSegment()) {
        // Both 0 only in the first segment after setup: draw where to start.
        if (targetColour == 0 && startColour == 0) targetColour = randomEntry();
        startColour = targetColour;
        targetColour = randomEntry();
    }
    controllerValue = segmentFraction();
    const auto weight = static_cast<std::int32_t>(easedFraction(smooth) * 255.0);
    controllerColour = lerpColour(startColour, targetColour, weight) | 0xFF000000u;
    if (hook != nullptr) hook();
    if (output != nullptr) *output = controllerColour;
}

}  // namespace lumivortex
