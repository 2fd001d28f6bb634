// Animated controllers: each gives one quantity a smooth random wander. A
// controller moves from its current value to a random target over a random
// number of steps (smoothstep or linear easing), then draws the next target,
// forever. Per update the new value is published in controllerValue or
// controllerColour, the hook may change it there, and then it is written
// through the controller's output pointer into whatever it drives.
#pragma once

#include <cstdint>

namespace lumivortex {

// Called after every update, before the value is written to the output; it
// may change the published value.
using ControllerHook = void (*)();

// Published by the latest update; shared by all controllers and valid only
// during and right after the update that wrote them.
extern double controllerValue;          // the double controllers' value; the colour controller's t
extern std::uint32_t controllerColour;  // the colour controller's colour

class AbstCNT {
public:
    virtual ~AbstCNT() = default;
    // One step of the controller.
    virtual void update() = 0;

    std::int32_t period = 1;     // length in steps of the current segment
    std::int32_t remaining = 1;  // steps left in the segment, period down to 1
    std::int32_t periodBase = 50;
    std::int32_t periodJitter = 25;  // segment lengths vary by up to this either way
    ControllerHook hook = nullptr;

protected:
    AbstCNT() = default;
    AbstCNT(const AbstCNT&) = default;
    AbstCNT& operator=(const AbstCNT&) = default;

    // Counts one step of the segment; when the last one is used up, draws the
    // length of a new segment and returns true.
    bool advanceSegment();
    // t = (period - remaining) / period: 0, 1/p, ..., (p - 1)/p over a
    // segment; eased with smoothstep t*t*(3 - 2t) when smooth is non-zero.
    double easedFraction(std::int32_t smooth) const;
    double segmentFraction() const;
};

}  // namespace lumivortex
