// DataSmRandUCNTdwRGB: a colour that glides between random entries of its
// palette, one segment per pair of entries (the same entry may come twice).
#pragma once

#include <cstdint>

#include "controllers/controller.h"

namespace lumivortex {

class DataSmRandUCNTdwRGB : public AbstCNT {
public:
    DataSmRandUCNTdwRGB() = default;
    ~DataSmRandUCNTdwRGB() override;
    // Owns its palette.
    DataSmRandUCNTdwRGB(const DataSmRandUCNTdwRGB&) = delete;
    DataSmRandUCNTdwRGB& operator=(const DataSmRandUCNTdwRGB&) = delete;

    // Stores the output and the periods; a non-zero size replaces the palette
    // with one of that many black entries. The next update starts afresh.
    void setup(std::uint32_t* newOutput, std::int32_t newPaletteSize, std::int32_t newPeriodBase,
               std::int32_t newPeriodJitter);
    void setPaletteEntry(std::int32_t index, std::uint32_t colour);
    // Does nothing while there is no palette.
    void update() override;

    std::uint32_t* output = nullptr;  // receives the colour after every update; null = nowhere
    std::uint32_t* palette = nullptr;  // paletteSize packed colours, 16-byte aligned
    std::int32_t paletteSize = 0;
    std::int32_t smooth = 1;  // non-zero = smoothstep easing, else linear
    std::uint32_t targetColour = 0;
    std::uint32_t startColour = 0;

private:
    std::uint32_t randomEntry() const;
};

}  // namespace lumivortex
