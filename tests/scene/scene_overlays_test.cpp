// The scene's overlays on a known frame: the logo subtracted at the bottom
// right, the legend added at the bottom left until timer slot 0 fires.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "framebuffer/frame_buffer.h"
#include "math/colour.h"
#include "render/render_pipeline.h"
#include "scene/scene_objects.h"
#include "scene_fixture.h"

namespace lumivortex::testing {
namespace {

constexpr std::uint32_t grey = 0xFF606060;

class SceneOverlayTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        createFrameBuffer();
        loadOverlays();
    }
    void TearDown() override {
        releaseFrameBuffer();
        SceneTest::TearDown();
    }

    static void fillFrame() {
        std::fill_n(framePixels, static_cast<std::size_t>(frameWidth) * frameHeight, grey);
    }
    static std::uint32_t at(int x, int y) { return framePixels[rowOffsets[y] + x]; }

    // Every pixel of the overlay's rectangle is op(grey, overlay pixel).
    template <typename Op>
    static void expectCombined(const OverlayBitmap& overlay, int left, int top, Op op) {
        for (int y = 0; y < overlay.height; ++y)
            for (int x = 0; x < overlay.width; ++x) {
                const std::uint32_t s = overlay.pixels[y * overlay.width + x];
                ASSERT_EQ(at(left + x, top + y) & 0xFFFFFF, op(grey, s) & 0xFFFFFF) << x << "," << y;
            }
    }
    static void expectUntouched(int left, int top, int width, int height) {
        for (int y = top; y < top + height; ++y)
            for (int x = left; x < left + width; ++x) ASSERT_EQ(at(x, y), grey) << x << "," << y;
    }
};

TEST_F(SceneOverlayTest, LoadsTintedLogoAndLegendAndInstallsTheHook) {
    ASSERT_NE(logoOverlay, nullptr);
    ASSERT_NE(legendOverlay, nullptr);
    EXPECT_EQ(logoOverlay->width, 159);
    EXPECT_EQ(logoOverlay->height, 12);
    EXPECT_EQ(legendOverlay->width, 155);
    EXPECT_EQ(legendOverlay->height, 13);
    EXPECT_EQ(drawHook, &drawOverlays);
    EXPECT_EQ(imageTint, 0xFFFFFFFFu);
    // The logo is tinted to 0x4B/256 (its brightest grey 0x7E becomes 0x24);
    // the legend keeps the full tint 0xFF/256.
    const std::uint32_t* logo = logoOverlay->pixels;
    EXPECT_EQ(*std::max_element(logo, logo + 159 * 12) & 0xFF, 0x7Eu * 0x4B / 256);
    const std::uint32_t* legend = legendOverlay->pixels;
    EXPECT_EQ(*std::max_element(legend, legend + 155 * 13) & 0xFF, 0x7Fu * 0xFF / 256);
}

TEST_F(SceneOverlayTest, LegendIsAddedUntilTheTimerFiresThenNeverAgain) {
    setTimerSlot(legendTimerSlot, legendShownMs);
    fillFrame();
    drawOverlays();
    // Legend: columns 24.., bottom row 8 above the edge; logo: right column 32 in.
    expectCombined(*legendOverlay, 24, sceneTestHeight - 8 - 13, addColour);
    expectCombined(*logoOverlay, sceneTestWidth - 32 - 159, sceneTestHeight - 8 - 12, subtractColour);

    timerFired[legendTimerSlot] = 1;
    for (int frame = 0; frame < 2; ++frame) {
        fillFrame();
        drawOverlays();
        expectUntouched(24, sceneTestHeight - 8 - 13, 155, 13);
        expectCombined(*logoOverlay, sceneTestWidth - 32 - 159, sceneTestHeight - 8 - 12, subtractColour);
    }
    for (const platform::headless::TimerInfo& t : platform::headless::activeTimers())
        EXPECT_NE(t.id, timerSlotBaseId + legendTimerSlot);
}

TEST_F(SceneOverlayTest, DeletedOverlaysAreSkippedByALateDraw) {
    deleteOverlays();
    EXPECT_EQ(logoOverlay, nullptr);
    EXPECT_EQ(legendOverlay, nullptr);
    fillFrame();
    drawOverlays();
    expectUntouched(0, 0, sceneTestWidth, sceneTestHeight);
}

}  // namespace
}  // namespace lumivortex::testing
