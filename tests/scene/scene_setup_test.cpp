// The scene after set-up and the per-frame hooks called directly, without a
// window: particle systems, sprites, trail ring, emission, palette pinning.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "controllers/controller.h"
#include "controllers/controller_registry.h"
#include "controllers/rotate_controller.h"
#include "host/host_config.h"
#include "math/frame.h"
#include "particles/emitter.h"
#include "particles/particle_system.h"
#include "render/sprite.h"
#include "scene/emitter_heads.h"
#include "scene/palette.h"
#include "scene/scene_objects.h"
#include "scene/trail_emission.h"
#include "scene_fixture.h"

namespace lumivortex::testing {
namespace {

class SceneSetupTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        configureScene();
    }

    // The first part of a frame, up to the trail emission.
    static void advanceToEmission() {
        updateControllers();
        updateFrames();
        for (Emitter& emitter : emitters) rearmEmitter(&emitter);
        emitTrails();
    }

    static const Particle& particle(int system, int index) { return systemSlots[system]->particles[index]; }
    static int previousCursor(int i) { return trailCursor[i] == 0 ? lastTrailParticle : trailCursor[i] - 1; }
};

TEST_F(SceneSetupTest, ParticleSystemsHoldHeadsCentreAndDeadTrails) {
    ASSERT_NE(systemSlots[headSystem], nullptr);
    ASSERT_NE(systemSlots[trailSystem], nullptr);
    ASSERT_EQ(systemSlots[headSystem]->count, 40u);
    ASSERT_EQ(systemSlots[trailSystem]->count, 7000u);
    for (int k = 0; k < 40; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(particle(headSystem, k).sprite, k == centreParticle ? 1 : 3);
        EXPECT_EQ(particle(headSystem, k).timeStep, 0.0);
        EXPECT_EQ(particle(headSystem, k).response, 0.0);
    }
    for (int k = 0; k < 7000; ++k) {
        const Particle& p = particle(trailSystem, k);
        ASSERT_EQ(p.sprite, 4) << k;
        ASSERT_EQ(p.lifeLeft, 0) << k;
        ASSERT_EQ(p.timeStep, 0.0001) << k;
        ASSERT_EQ(p.friction, 0.25) << k;
        ASSERT_EQ(p.response, 0.5) << k;
    }
    EXPECT_EQ(systemSlots[headSystem]->frameIndex, sceneFrame);
    EXPECT_EQ(systemSlots[trailSystem]->frameIndex, sceneFrame);
    EXPECT_EQ(systemSlots[trailSystem]->ageCurveMode, 1004);
    EXPECT_EQ(systemSlots[trailSystem]->resetLifetime, 0);
    EXPECT_EQ(radialForceFactor, -5500.0);
    EXPECT_EQ(currentSystemIndex, headSystem);
}

TEST_F(SceneSetupTest, SpritesChainGlowsBehindHaloAndRings) {
    struct Expected {
        int index;
        std::uint32_t kind, colour;
        double sizeScale;
        int nextSprite;
    };
    const Expected table[] = {
        {0, 0x30002, 0xFFFFFFFF, 1.0, endOfSpriteChain}, {1, 0x30004, 0xFF555555, 0.78, 0},
        {2, 0x30002, 0xFFFFFFFF, 0.055, endOfSpriteChain}, {3, 0x40002, 0xFFFFFFFF, 0.05, 2},
        {4, 0x30002, 0xFFFFFFFF, 0.0375, endOfSpriteChain},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.index);
        const Sprite* s = spriteSlots[e.index];
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->kind, e.kind);
        EXPECT_EQ(s->colour, e.colour);
        EXPECT_EQ(s->sizeScale, e.sizeScale);
        EXPECT_EQ(s->nextSprite, e.nextSprite);
        // Every sprite the scene draws can be drawn.
        EXPECT_NE(s->unclippedKernel, &linkDrawError);
        EXPECT_NE(s->clippedKernel, &linkDrawError);
    }
    EXPECT_EQ(spriteSlots[0]->fadeDivisor, 0.0);
    EXPECT_EQ(spriteSlots[1]->fadeDivisor, 0.0);
    EXPECT_EQ(spriteSlots[1]->useParticleColour, 0);
    EXPECT_EQ(spriteSlots[3]->innerFraction, 0.95);
    EXPECT_EQ(spriteSlots[3]->quadrants[QuadUpLeft], nullptr);  // a coverage ring, no image
    EXPECT_NE(spriteSlots[4]->quadrants[QuadUpLeft], nullptr);
}

TEST_F(SceneSetupTest, CursorsEmittersFramesAndControllers) {
    for (int i = 0; i < emitterCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(trailCursor[i], i * 179);
        EXPECT_EQ(emitters[i].burstSize, 1);
        EXPECT_EQ(emitters[i].frameIndex, i + 10);
        ASSERT_EQ(emitters[i].pointCount, 1u);
        EXPECT_EQ(emitters[i].points[0].speed, 50000.0);
        EXPECT_EQ(emitters[i].points[0].cone, 0.0);
        EXPECT_EQ(headSpins[i].frameIndex, i + 10);
        EXPECT_EQ(headSpins[i].pivotZ, 72.0);
        EXPECT_EQ(headSpins[i].fixedTurn, 0.020943951023931952);
        EXPECT_EQ(headSpins[i].spread, 0.12566370614359174);
    }
    EXPECT_EQ(trailLifetime, 179);
    EXPECT_EQ(trailLifeRamp, 0);
    EXPECT_EQ(paletteIndex, followPalette);
    EXPECT_EQ(cameraFrameIndex, cameraFrame);
    EXPECT_EQ(cameraSpin.frameIndex, cameraFrame);
    EXPECT_EQ(cameraSpin.spread, 0.025132741228718346);
    EXPECT_EQ(cameraSpin.fixedTurn, 0.015707963267948967);
    EXPECT_EQ(cameraDriftZ.output, &frameSlots[cameraFrame]->position.z);
    EXPECT_EQ(cameraDriftZ.centre, 20.0);
    EXPECT_EQ(cameraDriftZ.spread, 70.0);

    // Group 1 in update order: camera drift x, y, z, camera spin, palette, heads.
    const ControllerGroup& group = controllerGroups[1];
    ASSERT_EQ(group.count, 5 + emitterCount);
    const AbstCNT* order[] = {&cameraDriftX, &cameraDriftY, &cameraDriftZ, &cameraSpin, &paletteController};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(group.controllers[k], order[k]) << k;
    for (int i = 0; i < emitterCount; ++i) EXPECT_EQ(group.controllers[5 + i], &headSpins[i]) << i;
    EXPECT_EQ(controllerGroups[0].count, 0);
    EXPECT_EQ(controllerGroups[2].count, 0);
}

TEST_F(SceneSetupTest, SecondSetUpInOneProcessMatchesTheFirst) {
    releaseParticleLibrary();
    initialiseProgram();
    configureScene();
    EXPECT_EQ(controllerGroups[1].count, 5 + emitterCount);
    for (int k = 0; k < 40; ++k) EXPECT_EQ(particle(headSystem, k).sprite, k == centreParticle ? 1 : 3) << k;
    for (int i = 0; i < emitterCount; ++i) EXPECT_EQ(trailCursor[i], i * 179) << i;
}

TEST_F(SceneSetupTest, TrailParticlesTakeRampedLifeAtTheirHead) {
    for (int frame = 1; frame <= 200; ++frame) {
        advanceToEmission();
        placeEmitterHeads();
        const int expectedLife = frame < 179 ? frame : 179;
        for (int i = 0; i < emitterCount; ++i) {
            const Particle& trail = particle(trailSystem, previousCursor(i));
            ASSERT_EQ(trail.lifeLeft, expectedLife) << "frame " << frame << " emitter " << i;
            ASSERT_EQ(trail.lifetime, 179);
            ASSERT_EQ(trail.colour, currentColour);
            // Born at its head, 72 units out, flying at 50000 along the head's frame.
            const Particle& head = particle(headSystem, i);
            ASSERT_NEAR(trail.position.x, head.position.x, 1e-9);
            ASSERT_NEAR(trail.position.y, head.position.y, 1e-9);
            ASSERT_NEAR(trail.position.z, head.position.z, 1e-9);
            ASSERT_NEAR(std::hypot(trail.position.x, trail.position.y, trail.position.z), 72.0, 1e-9);
            ASSERT_NEAR(std::hypot(trail.velocity.x, trail.velocity.y, trail.velocity.z), 50000.0, 1e-6);
        }
        // Emitter 38 started 198 short of the ring's end and wraps to 0 there.
        if (frame == 198) {
            EXPECT_EQ(trailCursor[38], 0);
        }
    }
    for (int i = 0; i < emitterCount; ++i) EXPECT_EQ(trailCursor[i], (i * 179 + 200) % 7000) << i;
    EXPECT_EQ(particle(headSystem, centreParticle).position.x, 0.0);
    EXPECT_EQ(particle(headSystem, centreParticle).position.z, 0.0);
}

TEST_F(SceneSetupTest, PinnedEntryZeroDarkensBackgroundAndHeads) {
    paletteIndex = 0;
    updateControllers();
    EXPECT_EQ(backgroundColour, 0x00303030u);
    for (int k = 0; k < 40; ++k) EXPECT_EQ(particle(headSystem, k).colour, 0xFF757575u) << k;
    updateFrames();
    for (Emitter& emitter : emitters) rearmEmitter(&emitter);
    emitTrails();
    EXPECT_EQ(currentColour, 0xFF969696u);
    EXPECT_EQ(particle(trailSystem, previousCursor(0)).colour, 0xFF969696u);
}

TEST_F(SceneSetupTest, GlidingColourIsReadOneUpdateLate) {
    updateControllers();
    const std::uint32_t first = controllerColour;
    EXPECT_EQ(currentColour, first);
    updateControllers();
    // The hook saw the first update's colour; the background follows it.
    const std::uint32_t c = first;
    const auto half = [](std::uint32_t v) { return (v * 125 >> 8); };
    const auto dark = [](std::uint32_t v) { return v > 25 ? v - 25 : 0; };
    const std::uint32_t expected = dark(half((c >> 16) & 0xFF)) << 16 | dark(half((c >> 8) & 0xFF)) << 8 |
                                   dark(half(c & 0xFF));
    EXPECT_EQ(backgroundColour, expected);
    EXPECT_EQ(currentColour, controllerColour);
}

TEST(ScenePalette, EnterStepsThroughTwelveEntriesAndBack) {
    paletteIndex = followPalette;
    const int expected[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0};
    for (int want : expected) {
        stepPaletteIndex();
        EXPECT_EQ(paletteIndex, want);
    }
    paletteIndex = followPalette;
}

}  // namespace
}  // namespace lumivortex::testing
