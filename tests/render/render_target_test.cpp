// Render target: the depth buffer made with the frame buffer, its per-frame
// reset (viewport only, half-size part at half resolution) and restarts.
#include <gtest/gtest.h>

#include <cstdint>

#include "framebuffer/depth_buffer.h"
#include "framebuffer/frame_buffer.h"
#include "framebuffer/half_resolution.h"
#include "framebuffer/render_target.h"
#include "host/host_config.h"

namespace lumivortex {
namespace {

class RenderTargetTest : public ::testing::Test {
protected:
    void SetUp() override { resetHostConfig(); }
    void TearDown() override {
        halfResRequested = 0;
        shutdownRenderTarget();
        resetHostConfig();
    }

    static int countDepth(std::int32_t value, std::size_t first, std::size_t count) {
        int n = 0;
        for (std::size_t i = first; i < first + count; ++i) n += depthBuffer[i] == value;
        return n;
    }
};

TEST_F(RenderTargetTest, DepthBufferStartsAtZeroAndResetsBehindEveryBall) {
    setFrameSize(1920, 1080);
    initRenderTarget();
    ASSERT_NE(depthBuffer, nullptr);
    ASSERT_NE(framePixels, nullptr);
    const std::size_t pixels = 1920u * 1080u;
    ASSERT_EQ(depthBufferSize, pixels);
    EXPECT_EQ(countDepth(0, 0, pixels), static_cast<int>(pixels));
    EXPECT_EQ(rowOffsets[0], 1920 * 1079);  // top-down rows
    clearDepthBuffer();
    EXPECT_EQ(countDepth(522133279, 0, pixels), static_cast<int>(pixels));
}

TEST_F(RenderTargetTest, ResetLeavesTheMarginsUntouched) {
    setFrameSize(240, 180);
    initRenderTarget();
    setViewportMargins(10, 10);
    clearDepthBuffer();
    for (int row = 0; row < 180; ++row) {
        for (int col = 0; col < 240; ++col) {
            const bool inside = col >= 10 && col < 230 && row >= 10 && row < 170;
            ASSERT_EQ(depthBuffer[row * 240 + col], inside ? depthClearValue : 0) << "(" << col << ", " << row << ")";
        }
    }
}

TEST_F(RenderTargetTest, AtHalfResolutionOnlyTheHalfSizePartIsReset) {
    setFrameSize(64, 48);
    initRenderTarget();
    halfResRequested = 1;
    updateHalfResolution();
    clearDepthBuffer();
    upscaleHalfResolution();
    EXPECT_EQ(countDepth(depthClearValue, 0, 32 * 24), 32 * 24);
    EXPECT_EQ(countDepth(0, 32 * 24, 64 * 48 - 32 * 24), 64 * 48 - 32 * 24);
}

TEST_F(RenderTargetTest, RestartAfterShutdownGivesAWorkingTarget) {
    setFrameSize(64, 48);
    initRenderTarget();
    halfResRequested = 1;
    updateHalfResolution();
    upscaleHalfResolution();
    shutdownRenderTarget();
    EXPECT_EQ(depthBuffer, nullptr);
    EXPECT_EQ(framePixels, nullptr);
    EXPECT_EQ(halfBuffer, nullptr);

    initRenderTarget();
    ASSERT_NE(depthBuffer, nullptr);
    ASSERT_NE(framePixels, nullptr);
    EXPECT_EQ(depthBufferSize, 64u * 48u);
    clearDepthBuffer();
    EXPECT_EQ(countDepth(depthClearValue, 0, 64 * 48), 64 * 48);
    // Initialising again without a shutdown starts from scratch as well.
    initRenderTarget();
    EXPECT_EQ(countDepth(0, 0, 64 * 48), 64 * 48);
}

}  // namespace
}  // namespace lumivortex
