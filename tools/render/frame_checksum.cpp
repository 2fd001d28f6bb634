#include "frame_checksum.h"

namespace lumivortex::render_tool {

namespace {

constexpr std::uint64_t fnvOffset = 0xCBF29CE484222325ull;
constexpr std::uint64_t fnvPrime = 0x100000001B3ull;

}  // namespace

std::uint64_t frameChecksum(int width, int height, const std::function<const std::uint32_t*(int y)>& rowPixels) {
    std::uint64_t hash = fnvOffset;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = rowPixels(y);
        for (int x = 0; x < width; ++x) {
            for (const int shift : {16, 8, 0}) {
                hash ^= (row[x] >> shift) & 0xFFu;
                hash *= fnvPrime;
            }
        }
    }
    return hash;
}

}  // namespace lumivortex::render_tool
