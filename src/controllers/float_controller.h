// SmRandUCNTfloat: a double that wanders between random targets drawn in
// [centre - spread, centre + spread]. Each new segment starts exactly at the
// previous target, so the value is continuous.
#pragma once

#include <cstdint>

#include "controllers/controller.h"

namespace lumivortex {

class SmRandUCNTfloat : public AbstCNT {
public:
    // Stores the settings and starts at a random value; the next update starts
    // a new segment from there.
    void setup(double* newOutput, double newCentre, double newSpread, std::int32_t newPeriodBase,
               std::int32_t newPeriodJitter);
    void update() override;

    double* output = nullptr;  // receives the value after every update; null = nowhere
    double centre = 0.0;
    double spread = 1.0;
    std::int32_t smooth = 1;  // non-zero = smoothstep easing, else linear
    double startValue = 0.0;  // value at the start of the segment
    double delta = 0.0;       // target - startValue

protected:
    // Starts at randAround (centre, spread) with a new segment due.
    void restart(double newCentre, double newSpread, std::int32_t newPeriodBase,
                 std::int32_t newPeriodJitter);
};

}  // namespace lumivortex
