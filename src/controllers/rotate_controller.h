// SmRandRotateCNT: a wandering angle that rolls a frame about its own Z axis
// each step, on top of the frame's steady turn about X (fixedTurn), so the
// frame tumbles. The value itself wanders like SmRandUCNTfloat's.
#pragma once

#include <cstdint>
#include <numbers>

#include "controllers/float_controller.h"

namespace lumivortex {

class SmRandRotateCNT : public SmRandUCNTfloat {
public:
    SmRandRotateCNT() { spread = std::numbers::pi / 80.0; }

    void setup(std::int32_t newFrameIndex, double newCentre, double newSpread, double newFixedTurn,
               double newPivotZ, std::int32_t newPeriodBase, std::int32_t newPeriodJitter);
    void update() override;

    std::int32_t frameIndex = 0;                   // the frame it turns; 0 = none
    double fixedTurn = std::numbers::pi / 200.0;   // radians per step about X; 0 = keep the frame's turn
    double pivotZ = 0.0;                           // non-zero = pivot (0, 0, pivotZ) on every update
};

}  // namespace lumivortex
