// Conversions from doubles to integers. Plain conversions truncate toward
// zero; rounding adds 0.5 before truncating, also for negative values, so
// -1.7 rounds to -1 and -0.7 to 0 (neither floor nor half-to-even).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace lumivortex {

// trunc(v + 0.5). v + 0.5 must fit an int.
inline int roundToInt(double v) { return static_cast<int>(v + 0.5); }

// trunc(v) clamped to the int32 range, so that a value out of range (or not
// a number, which gives 0) never reaches an undefined conversion.
inline std::int32_t truncToInt32Clamped(double v) {
    constexpr double lowest = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double highest = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    if (std::isnan(v)) return 0;
    if (v <= lowest) return std::numeric_limits<std::int32_t>::min();
    if (v >= highest) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

}  // namespace lumivortex
