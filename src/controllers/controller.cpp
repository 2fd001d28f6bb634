// Segment timing shared by every controller, and the published values.
#include "controllers/controller.h"

#include <algorithm>

#include "math/random.h"

namespace lumivortex {

double controllerValue = 0.0;
std::uint32_t controllerColour = 0;

bool AbstCNT::advanceSegment() {
    if (remaining > 1) {
        --remaining;
        return false;
    }
    // A jitter as large as the base could draw a length of 0 or less, which
    // would divide by zero below and never end the segment: every segment
    // lasts at least one step.
    period = remaining = std::max(randIntAround(periodBase, periodJitter), 1);
    return true;
}

double AbstCNT::segmentFraction() const {
    return static_cast<double>(period - remaining) / static_cast<double>(period);
}

double AbstCNT::easedFraction(std::int32_t smooth) const {
    const double t = segmentFraction();
    return smooth != 0 ? t * t * (3.0 - 2.0 * t) : t;
}

}  // namespace lumivortex
