// One step: the wandering angle, then a roll of the frame about its own Z
// axis by that angle. The frame's turn settings are borrowed for the roll and
// then set to what its own rotation pass should do: a steady turn about X by
// fixedTurn, or (fixedTurn 0) the turn it had before.
#include "controllers/rotate_controller.h"

#include "math/frame.h"

namespace lumivortex {

void SmRandRotateCNT::setup(std::int32_t newFrameIndex, double newCentre, double newSpread,
                            double newFixedTurn, double newPivotZ, std::int32_t newPeriodBase,
                            std::int32_t newPeriodJitter) {
    frameIndex = newFrameIndex;
    fixedTurn = newFixedTurn;
    pivotZ = newPivotZ;
    restart(newCentre, newSpread, newPeriodBase, newPeriodJitter);
}

void SmRandRotateCNT::update() {
    SmRandUCNTfloat::update();
    if (frameIndex == 0) return;
    selectFrame(frameIndex);
    if (pivotZ != 0.0) setPivot(0.0, 0.0, pivotZ);

    Frame& frame = *currentFrame;
    const bool steadyTurn = fixedTurn != 0.0;
    const int leaveX = steadyTurn ? 1 : frame.turnX;
    const int leaveY = steadyTurn ? 0 : frame.turnY;
    const int leaveZ = steadyTurn ? 0 : frame.turnZ;
    const double leaveAngle = steadyTurn ? fixedTurn : frame.turnAngle;

    setTurn(0, 0, 1);
    setTurnAngle(controllerValue);
    stepRotation();

    setTurn(leaveX, leaveY, leaveZ);
    setTurnAngle(leaveAngle);
}

}  // namespace lumivortex
