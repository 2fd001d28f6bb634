// Registration appends to a fixed list per group; the per-step update walks
// the groups in order.
#include "controllers/controller_registry.h"

namespace lumivortex {

ControllerGroup controllerGroups[controllerGroupCount];

int registerController(AbstCNT* controller, int group) {
    if (controller == nullptr || group < 0 || group >= controllerGroupCount) return 0;
    ControllerGroup& g = controllerGroups[group];
    if (g.count >= controllerGroupCapacity) return 0;
    g.controllers[g.count++] = controller;
    if (g.count == controllerGroupCapacity) g.full = 1;
    return 1;
}

void updateControllers() {
    for (ControllerGroup& g : controllerGroups) {
        for (std::int32_t i = 0; i < g.count; ++i) g.controllers[i]->update();
    }
}

void clearControllers() {
    for (ControllerGroup& g : controllerGroups) {
        g.count = 0;
        g.full = 0;
    }
}

}  // namespace lumivortex
