// One step: segment timing, a new target when a segment starts, the eased
// value published in controllerValue, the hook, then the output.
#include "controllers/float_controller.h"

#include "math/random.h"

namespace lumivortex {

void SmRandUCNTfloat::restart(double newCentre, double newSpread, std::int32_t newPeriodBase,
                              std::int32_t newPeriodJitter) {
    centre = newCentre;
    spread = newSpread;
    periodBase = newPeriodBase;
    periodJitter = newPeriodJitter;
    period = remaining = 1;
    startValue = randAround(centre, spread);
    delta = 0.0;
}

void SmRandUCNTfloat::setup(double* newOutput, double newCentre, double newSpread,
                            std::int32_t newPeriodBase, std::int32_t newPeriodJitter) {
    output = newOutput;
    restart(newCentre, newSpread, newPeriodBase, newPeriodJitter);
}

void SmRandUCNTfloat::update() {
    if (advanceSegment()) {
        startValue += delta;  // the old target is the new start
        delta = randAround(centre, spread) - startValue;
    }
    controllerValue = startValue + easedFraction(smooth) * delta;
    if (hook != nullptr) hook();
    if (output != nullptr) *output = controllerValue;
}

}  // namespace lumivortex
