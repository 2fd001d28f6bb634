#include "math/rounding.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace lumivortex {
namespace {

TEST(RoundingTest, AddsHalfThenTruncatesTowardZeroAlsoForNegatives) {
    struct Case {
        double value;
        int rounded;
    };
    for (const Case& c : {Case{-1.7, -1}, Case{-0.7, 0}, Case{-0.5, 0}, Case{-1.5, -1}, Case{-2.6, -2},
                          Case{0.49, 0}, Case{0.5, 1}, Case{2.5, 3}, Case{1.7, 2}}) {
        EXPECT_EQ(roundToInt(c.value), c.rounded) << c.value;
    }
}

TEST(RoundingTest, DepthKeysOutsideTheInt32RangeClamp) {
    constexpr std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t highest = std::numeric_limits<std::int32_t>::max();
    struct Case {
        double value;
        std::int32_t key;
    };
    for (const Case& c : {Case{-2.9, -2}, Case{2.9, 2}, Case{2147483646.9, 2147483646},
                          Case{2147483647.5, highest}, Case{3e9, highest}, Case{1e300, highest},
                          Case{-2147483648.0, lowest}, Case{-3e9, lowest},
                          Case{-std::numeric_limits<double>::infinity(), lowest},
                          Case{std::numeric_limits<double>::quiet_NaN(), 0}}) {
        EXPECT_EQ(truncToInt32Clamped(c.value), c.key) << c.value;
    }
}

}  // namespace
}  // namespace lumivortex
