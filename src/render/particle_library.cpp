// Library start-up releases whatever an earlier start left before building
// anything, so it may run more than once.
#include "render/particle_library.h"

#include <cstdint>

#include "framebuffer/render_target.h"
#include "particles/draw_list.h"
#include "particles/particle_system.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex {

namespace {
constexpr std::uint32_t defaultSpriteColour = 0xFF7FC8FFu;

// Sprites outlive a release; a disc without images that was defined before
// it draws from the coverage tables, which the release freed.
bool coverageDiscsExist() {
    for (const Sprite* sprite : spriteSlots) {
        if (sprite != nullptr && spriteFamily(sprite->kind) == Disc && sprite->quadrants[QuadUpLeft] == nullptr)
            return true;
    }
    return false;
}
}  // namespace

void initialiseParticleLibrary() {
    deleteSystems(deleteAllSystems);
    selectSystem(0);
    releaseParticleLibrary();
    buildSphereTable();
    buildOffsetScaleTable();
    selectSprite(0);
    defineSprite(makeSpriteKind(SinglePixel, BlendDefault), defaultSpriteColour, "");
    if (coverageDiscsExist()) buildCoverageTables();
    initRenderTarget();
}

void releaseParticleLibrary() {
    shutdownRenderTarget();
    releaseOffsetScaleTable();
    releaseSphereTable();
    releaseCoverageTables();
    deleteSystems(deleteAllSystems);
    releaseDrawList();
}

}  // namespace lumivortex
