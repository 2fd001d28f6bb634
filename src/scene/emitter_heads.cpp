#include "scene/emitter_heads.h"

#include "math/frame.h"
#include "particles/particle_system.h"
#include "scene/scene_objects.h"

namespace lumivortex {

void placeEmitterHeads() {
    selectSystem(headSystem);
    for (int i = 0; i < emitterCount; ++i) {
        selectParticle(i);
        selectFrame(i + firstEmitterFrame);
        toParent(&currentParticle->position, 0.0, 0.0, 0.0);
    }
}

}  // namespace lumivortex
