// The controller registry: three groups of up to 512 controllers each, updated
// once per animation step (before the frames are updated) group by group,
// each group in registration order.
#pragma once

#include <cstdint>

#include "controllers/controller.h"

namespace lumivortex {

inline constexpr int controllerGroupCount = 3;
inline constexpr int controllerGroupCapacity = 512;

struct ControllerGroup {
    AbstCNT* controllers[controllerGroupCapacity];
    std::int32_t count;
    std::int32_t full;  // set when the last free entry was taken
};

extern ControllerGroup controllerGroups[controllerGroupCount];

// Appends the controller to the group's list and returns 1. Returns 0 and
// registers nothing for a group outside 0..2, a full group or a null
// controller.
int registerController(AbstCNT* controller, int group);

// Calls update of every registered controller: group 0, then 1, then 2.
void updateControllers();

// Empties every group, for a fresh start in the same process (the tests, the
// offscreen renderer); the animation itself never clears the registry.
void clearControllers();

}  // namespace lumivortex
