// Golden frame: a small fixed scene of a few hundred spot particles of
// several sprites (every spot blend mode, resource and procedural images,
// clipped and unclipped squares, depth fade, partial opacity and age)
// rendered through renderFrame into a headless 640 x 360 window. The picture
// the window shows must hash to the pinned value; it is also written to
// render_golden_frame.png next to the test program for inspection.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "host/host_config.h"
#include "math/projection.h"
#include "particles/particle_system.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/particle_library.h"
#include "render/raster_state.h"
#include "render/render_pipeline.h"
#include "render/sprite.h"

#include "png_file.h"
#include "projection_settings_guard.h"

namespace lumivortex {
namespace {

constexpr int frameW = 640;
constexpr int frameH = 360;
constexpr int particleCount = 300;
// FNV-1a of the presented picture; update it only after inspecting the PNG.
constexpr std::uint64_t pinnedChecksum = 2004266676503166939ull;

struct SpriteSetting {
    int index;
    std::uint32_t kind;
    std::uint32_t colour;
    const char* image;
    double sizeScale;
};

constexpr SpriteSetting sceneSprites[] = {
    {1, makeSpriteKind(Spot, BlendAdd), 0xFFFFFFFFu, "SPOT02", 1.0},
    {2, makeSpriteKind(Spot, BlendDefault), 0xC080C0FFu, "SPOT01", 0.6},
    {3, makeSpriteKind(Spot, BlendMultiply), 0xFF404858u, "SPOT03", 2.5},
    {4, makeSpriteKind(Spot, BlendAlpha), 0xFFFFD040u, "SPOT05", 0.8},
    {5, makeSpriteKind(Spot, BlendSubtract), 0xFF302010u, "compSPOT", 1.5},
};

std::uint64_t fnv1a(const std::vector<std::uint32_t>& pixels) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const std::uint32_t p : pixels) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (p >> shift) & 0xFF;
            hash *= 0x100000001B3ull;
        }
    }
    return hash;
}

class RenderGoldenFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::reset();
        resetHostConfig();
        zoom = 1.0;
        setFrameSize(frameW, frameH);
        backgroundColour = 0xFF182838u;  // not black, so multiply and subtract show
        ASSERT_TRUE(platform::initialise());
        ASSERT_TRUE(platform::createWindow("golden", 0, 0, frameW, frameH, platform::WindowStyle::Popup, "", 0,
                                           platform::defaultWindowProc));
        initialiseParticleLibrary();
        // The application's projection: eye at -230, fade from -115 over 615.
        zoomLimit = 5.0;
        setPerspective(-115.0, -1.0);
        setDepthFade(500.0, -115.0, 1000);
        minPixelRadius = 2;
    }

    void TearDown() override {
        releaseParticleLibrary();
        for (const SpriteSetting& s : sceneSprites) {
            selectSprite(s.index);
            deleteSprite();
        }
        resetHostConfig();
        platform::headless::reset();
    }

    static void defineSceneSprites() {
        for (const SpriteSetting& s : sceneSprites) {
            selectSprite(s.index);
            currentSprite->sizeScale = s.sizeScale;
            defineSprite(s.kind, s.colour, s.image);
        }
    }

    // Positions reach past every edge of the viewport, so clipped squares
    // are part of the picture; a third of the particles are mortal.
    static void placeParticles() {
        std::mt19937 rng(4242);
        selectSystem(0);
        initParticles(particleCount, 1, 1, 0);
        for (int i = 0; i < particleCount; ++i) {
            Particle& p = currentSystem->particles[i];
            p.position = {static_cast<double>(static_cast<int>(rng() % 1200) - 600),
                          static_cast<double>(static_cast<int>(rng() % 700) - 350),
                          static_cast<double>(static_cast<int>(rng() % 700) - 210)};
            p.size = 0.06 + static_cast<double>(rng() % 100) / 250.0;
            const std::uint32_t opacity = i % 7 == 0 ? 0x80u + rng() % 0x80u : 0xFFu;
            p.colour = (opacity << 24) | (static_cast<std::uint32_t>(rng()) & 0x00FFFFFFu);
            if (i % 11 == 0) p.colour = 0xFFFFFFFFu;  // opaque white: a tint all the same
            p.sprite = 1 + i % 5;
            p.lifetime = i % 3 == 0 ? 100 : 0;
            p.lifeLeft = p.lifetime == 0 ? 0 : static_cast<std::int32_t>(rng() % 100);
        }
    }

    testing::ProjectionSettingsGuard projectionSettings;
};

TEST_F(RenderGoldenFrameTest, FixedSceneRendersThePinnedPicture) {
    defineSceneSprites();
    placeParticles();
    renderFrame();

    const platform::headless::CapturedFrame shown = platform::headless::windowSurface();
    ASSERT_EQ(shown.width, frameW);
    ASSERT_EQ(shown.height, frameH);
    const std::string png = std::string(LUMI_TEST_ARTEFACT_DIR) + "/render_golden_frame.png";
    std::string error;
    EXPECT_TRUE(render_tool::writePng(png, shown.width, shown.height,
                                      [&](int y) { return &shown.pixels[static_cast<std::size_t>(y) * shown.width]; },
                                      error))
        << error;
    RecordProperty("picture", png);
    EXPECT_EQ(fnv1a(shown.pixels), pinnedChecksum) << "see " << png;
}

}  // namespace
}  // namespace lumivortex
