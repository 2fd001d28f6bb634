// renderFrame. The frame-buffer steps run in a fixed order around the
// particle loop: resolution switch, clear (when needed), fade, depth reset,
// particles, expansion, draw hook, presentation. The particle loop walks the
// draw list far to near; each entry draws its sprite and the sprites chained
// to it, and the first entry nearer than nearLimit ends the loop, since every
// later entry is nearer still.
#include "render/render_pipeline.h"

#include <cassert>
#include <cstdint>

#include "framebuffer/depth_buffer.h"
#include "framebuffer/frame_buffer.h"
#include "framebuffer/half_resolution.h"
#include "framebuffer/trails.h"
#include "host/fatal_error.h"
#include "particles/draw_list.h"
#include "particles/particle_system.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_projection.h"

namespace lumivortex {

namespace {

void drawNothing() {}

// Copies the age-curve settings of the system whose entries follow.
void useAgeCurveOf(int systemIndex) {
    const ParticleSystem* system = systemSlots[systemIndex];
    assert(system != nullptr && "a draw-list entry names a deleted particle system");
    activeAgeCurveMode = system->ageCurveMode;
    activeAgeCurveHook = system->ageCurveHook;
}

// Draws currentSprite and the sprites chained to it for one entry; returns
// the projection's result for the last sprite (non-zero: stop the frame).
// A chain cannot be longer than the sprite table without visiting a sprite
// twice; such a loop is cut there instead of hanging the frame.
int drawSpriteChain(const DrawEntry& entry) {
    const std::uint32_t particleOpacity = entry.colour >> 24;
    int result = 0;
    for (int link = 0; link < spriteSlotCount; ++link) {
        const Sprite* sprite = currentSprite;
        rasterState.tintColour = sprite->useParticleColour ? entry.colour : noTint;
        rasterState.alpha = static_cast<std::int32_t>((sprite->colour >> 24) * particleOpacity / 255);
        result = projectSprite(sprite, entry.position.x, entry.position.y, entry.position.z);
        if (sprite->nextSprite == endOfSpriteChain) break;
        selectSprite(sprite->nextSprite);
    }
    return result;
}

void drawParticles() {
    int system = -1;
    for (unsigned k = 0; k < static_cast<unsigned>(drawCount); ++k) {
        selectDrawEntry(static_cast<int>(k));
        const DrawEntry& entry = *currentEntry;
        if (entry.system != system) {
            system = entry.system;
            useAgeCurveOf(system);
        }
        selectSprite(entry.sprite);
        if (currentSprite == nullptr) fatalError("PFX: PBall not defined");
        if (drawSpriteChain(entry) != 0) break;
    }
}

}  // namespace

DrawHook drawHook = drawNothing;

void renderFrame() {
    buildDrawList(depthSort);
    updateHalfResolution();
    if (needsClear()) prepareFrame();
    fadeFrame();
    clearDepthBuffer();
    rasterState.screenCentreX = viewportWidth / 2;
    rasterState.screenCentreY = viewportHeight / 2;
    drawParticles();
    upscaleHalfResolution();
    drawHook();
    presentFrame();
}

}  // namespace lumivortex
