// The render pipeline: what one renderFrame does with the draw list, the
// sprite chains, the early stop at nearLimit and the frame-buffer steps
// around the particles.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "framebuffer/half_resolution.h"
#include "framebuffer/trails.h"
#include "host/host_config.h"
#include "math/colour.h"
#include "math/projection.h"
#include "particles/draw_list.h"
#include "particles/particle_system.h"
#include "render/particle_library.h"
#include "render/raster_state.h"
#include "render/render_pipeline.h"
#include "render/sprite.h"
#include "projection_settings_guard.h"

namespace lumivortex {
namespace {

constexpr std::uint32_t defaultSpriteColour = 0xFF7FC8FFu;

// What the draw hook saw, for the tests to check afterwards.
struct HookRecord {
    int calls = 0;
    int frameWidth = 0;
    int halfResActive = 0;
};
HookRecord hookRecord;

void recordHook() {
    ++hookRecord.calls;
    hookRecord.frameWidth = frameWidth;
    hookRecord.halfResActive = halfResActive;
}

std::vector<int> agedSystems;

double recordAgeCurve(const DrawEntry* entry) {
    agedSystems.push_back(entry->system);
    return 1.0;
}

class RenderPipelineTest : public ::testing::Test {
protected:
    static constexpr int width = 64;
    static constexpr int height = 48;
    static constexpr int testSprites[] = {1, 2, 9};

    void SetUp() override {
        resetHostConfig();
        zoom = 1.0;
        setFrameSize(width, height);
        initialiseParticleLibrary();
        // Perspective 1 at z = 0, zoomLimit 10 from z = -5 on, no depth fade.
        zoomLimit = 10.0;
        eyeZ = -200.0;
        nearThreshold = -5.0;
        nearLimit = -200.0;
        fadeMode = 0;
        minPixelRadius = 0;
        originalHook = drawHook;
        drawHook = recordHook;
        hookRecord = {};
        agedSystems.clear();
    }

    void TearDown() override {
        drawHook = originalHook;
        halfResRequested = 0;
        fadeAmount = 0;
        releaseParticleLibrary();
        for (int index : testSprites) {
            selectSprite(index);
            deleteSprite();
        }
        resetHostConfig();
    }

    // System `index` with `count` particles at the origin, opaque white,
    // size 1, sprite 0, immortal; positions are set by the tests.
    static ParticleSystem* makeSystem(int index, int count) {
        selectSystem(index);
        initParticles(static_cast<std::uint32_t>(count), 0, 0, 0);
        for (int i = 0; i < count; ++i) {
            Particle& p = currentSystem->particles[i];
            p.position = {0.0, 0.0, 0.0};
            p.size = 1.0;
            p.colour = 0xFFFFFFFFu;
            p.sprite = 0;
            p.lifetime = p.lifeLeft = 0;
        }
        return currentSystem;
    }

    static std::uint32_t pixel(int x, int y) { return framePixels[rowOffsets[y] + x]; }

    DrawHook originalHook = nullptr;
    testing::ProjectionSettingsGuard projectionSettings;
};

// Entries are drawn far to near; the first one nearer than nearLimit ends
// the loop, so entries after it are never even looked at (the empty sprite
// slot 9 of the last one would otherwise be filled).
TEST_F(RenderPipelineTest, StopsAtTheFirstEntryNearerThanTheNearLimit) {
    ParticleSystem* system = makeSystem(0, 4);
    system->particles[0].position = {-100.0, 0.0, 50.0};  // far: screen (26, 24)
    system->particles[1].position = {0.0, 0.0, nearLimit};  // exactly at the limit: drawn at the centre
    system->particles[2].position = {0.0, 10.0, nearLimit - 1.0};
    system->particles[3].position = {0.0, -10.0, nearLimit - 50.0};
    system->particles[3].sprite = 9;
    renderFrame();

    const std::uint32_t drawn = modulateColour(defaultSpriteColour, 0xFFFFFFFFu);
    EXPECT_EQ(pixel(26, 24), drawn);
    EXPECT_EQ(pixel(width / 2, height / 2), drawn);
    EXPECT_EQ(spriteSlots[9], nullptr);
    EXPECT_EQ(hookRecord.calls, 1);
}

// A chain 1 -> 0 draws a spot and then the single pixel at its centre, both
// with the particle's tint.
TEST_F(RenderPipelineTest, DrawsEverySpriteOfAChain) {
    selectSprite(1);
    defineSprite(makeSpriteKind(Spot, BlendAdd), 0xFFFFFFFFu, "compSPOT");
    currentSprite->nextSprite = 0;
    ParticleSystem* system = makeSystem(0, 1);
    system->particles[0].sprite = 1;
    system->particles[0].colour = 0xFF8080FFu;
    renderFrame();

    const int cx = width / 2, cy = height / 2;
    EXPECT_EQ(pixel(cx, cy), modulateColour(defaultSpriteColour, 0xFF8080FFu));
    // The spot's pixel next to the centre: its (white) texel tinted.
    const std::uint32_t texel = spriteSlots[1]->quadrants[QuadUpRight][offsetScaleRow(rasterState.spanRadius)[1] / 4];
    EXPECT_NE(texel, 0u);
    EXPECT_EQ(pixel(cx + 1, cy), modulateColour(texel, 0xFF8080FFu));
}

// Every particle skipped (alpha 0): the frame is still cleared, expanded,
// hooked and presented; the hook sees the full-resolution buffer.
TEST_F(RenderPipelineTest, FrameWithoutVisibleParticlesIsClearedAndHooked) {
    ParticleSystem* system = makeSystem(0, 3);
    for (int i = 0; i < 3; ++i) system->particles[i].colour = 0x00FFFFFFu;
    halfResRequested = 1;
    for (int i = 0; i < width * height; ++i) framePixels[i] = 0x12345678u;
    renderFrame();

    EXPECT_EQ(hookRecord.calls, 1);
    EXPECT_EQ(hookRecord.frameWidth, width);
    EXPECT_EQ(hookRecord.halfResActive, 0);
    for (int i = 0; i < width * height; ++i) ASSERT_EQ(framePixels[i], 0u) << i;
}

// With trails the clear happens only after a viewport change; later frames
// fade what the previous one drew.
TEST_F(RenderPipelineTest, TrailsFadeThePreviousFrameInsteadOfClearing) {
    ParticleSystem* system = makeSystem(0, 1);
    fadeAmount = 10;
    renderFrame();
    const std::uint32_t drawn = pixel(width / 2, height / 2);
    ASSERT_NE(drawn, 0u);
    system->particles[0].colour = 0x00FFFFFFu;  // invisible from now on
    renderFrame();
    EXPECT_EQ(pixel(width / 2, height / 2), darkenColour(drawn, 10));
}

// The age-curve settings follow the system of each entry: only system 1's
// hook is asked, and for every one of its mortal particles.
TEST_F(RenderPipelineTest, AgeCurveSettingsFollowTheEntrysSystem) {
    ParticleSystem* first = makeSystem(0, 3);
    for (int i = 0; i < 3; ++i) first->particles[i].lifetime = first->particles[i].lifeLeft = 10;
    first->ageCurveMode = 1;
    ParticleSystem* second = makeSystem(1, 2);
    for (int i = 0; i < 2; ++i) {
        second->particles[i].lifetime = second->particles[i].lifeLeft = 10;
        second->particles[i].position.z = 10.0 * (i + 1);  // sorted among system 0's
    }
    second->ageCurveHook = recordAgeCurve;
    renderFrame();
    EXPECT_EQ(agedSystems, (std::vector<int>{1, 1}));
}

// An empty slot gets a default sprite, which has no kernels: while its
// colour is transparent it draws nothing, once it has an opaque colour the
// first draw is fatal.
TEST_F(RenderPipelineTest, AnEmptySpriteSlotGetsADefaultSpriteWithoutKernels) {
    ParticleSystem* system = makeSystem(0, 1);
    system->particles[0].sprite = 2;
    renderFrame();
    ASSERT_NE(spriteSlots[2], nullptr);
    EXPECT_EQ(pixel(width / 2, height / 2), 0u);

    spriteSlots[2]->colour = 0xFFFFFFFFu;
    EXPECT_EXIT(renderFrame(), ::testing::ExitedWithCode(0), "PFX: LinkDraw Error");
}


// A copy carries the source's kernels but not its images: drawing it before
// it is redefined is fatal instead of a read through missing images. A
// redefined copy draws.
TEST_F(RenderPipelineTest, CopiedSpriteWithoutImagesIsFatalUntilRedefined) {
    selectSprite(1);
    currentSprite->sizeScale = 8.0;
    defineSprite(0x30002, 0xFFFFFFFFu, "");
    copySprite(1, 9);
    ParticleSystem* system = makeSystem(0, 1);
    system->particles[0].sprite = 9;
    EXPECT_EXIT(renderFrame(), ::testing::ExitedWithCode(0), "PFX: LinkDraw Error");

    defineSprite(0x30002, 0xFFFFFFFFu, "");
    renderFrame();
    EXPECT_NE(pixel(width / 2, height / 2), 0u);
}

// Sprites outlive a release of the library; a disc without images defined
// before it still finds its coverage tables after the next start.
TEST_F(RenderPipelineTest, DiscWithoutImagesDrawsAfterTheLibraryRestarts) {
    selectSprite(2);
    currentSprite->sizeScale = 8.0;
    defineSprite(0x40002, 0xFFFFFFFFu, "");
    releaseParticleLibrary();
    initialiseParticleLibrary();
    ParticleSystem* system = makeSystem(0, 1);
    system->particles[0].sprite = 2;
    renderFrame();
    EXPECT_NE(pixel(width / 2, height / 2), 0u);
}

}  // namespace
}  // namespace lumivortex
