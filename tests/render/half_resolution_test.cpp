// Half resolution: the switch of the frame-buffer geometry, the expansion of
// the half picture (even and odd frame sizes) and the release.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "framebuffer/half_resolution.h"
#include "host/host_config.h"

namespace lumivortex {
namespace {

class HalfResolutionTest : public ::testing::Test {
protected:
    void SetUp() override { resetHostConfig(); }
    void TearDown() override {
        halfResRequested = 0;
        releaseHalfResolution();
        zoom = 1.0;
        resetHostConfig();
    }

    // A full frame of exactly width x height pixels: any write outside it is
    // caught by the address sanitizer.
    void useFullFrame(int width, int height) {
        setFrameSize(width, height);
        full.assign(static_cast<std::size_t>(width) * height, 0xDEADBEEF);
        framePixels = full.data();
    }

    // Every half pixel names its own memory position.
    static std::uint32_t halfPixel(int col, int row) { return static_cast<std::uint32_t>(row << 16 | col); }

    static void paintHalfFrame() {
        for (int row = 0; row < frameHeight; ++row)
            for (int col = 0; col < frameWidth; ++col) framePixels[row * frameWidth + col] = halfPixel(col, row);
    }

    std::vector<std::uint32_t> full;
};

TEST_F(HalfResolutionTest, FullHdFrameIsDrawnAtHalfSizeAndExpandedInBlocks) {
    useFullFrame(1920, 1080);
    halfResRequested = 1;
    updateHalfResolution();
    ASSERT_TRUE(halfResActive);
    EXPECT_EQ(frameWidth, 960);
    EXPECT_EQ(frameHeight, 540);
    EXPECT_EQ(viewportWidth, 960);
    EXPECT_EQ(viewportMaxY, 539);
    EXPECT_DOUBLE_EQ(projectionScale, 0.9);
    EXPECT_EQ(framePixels, halfBuffer);
    EXPECT_EQ(rowOffsets[0], 960 * 539);
    EXPECT_TRUE(viewportChanged);  // the first half frame is cleared completely
    paintHalfFrame();

    upscaleHalfResolution();
    EXPECT_FALSE(halfResActive);
    EXPECT_EQ(frameWidth, 1920);
    EXPECT_EQ(frameHeight, 1080);
    EXPECT_DOUBLE_EQ(projectionScale, 1.8);
    EXPECT_EQ(framePixels, full.data());
    EXPECT_EQ(rowOffsets[0], 1920 * 1079);
    EXPECT_EQ(rowOffsets[1079], 0);
    for (int row = 0; row < 1080; ++row)
        for (int col = 0; col < 1920; ++col)
            ASSERT_EQ(full[row * 1920 + col], halfPixel(col / 2, row / 2)) << "(" << col << ", " << row << ")";
}

// Odd sizes: the half buffer is (width / 2) x (height / 2); the last full
// column and row repeat the last half column and row, and nothing is
// written outside the full buffer.
TEST_F(HalfResolutionTest, OddFrameSizesAreExpandedCompletely) {
    const int sizes[][2] = {{45, 35}, {44, 35}, {45, 34}, {33, 33}};
    for (const auto& size : sizes) {
        const int width = size[0], height = size[1];
        SCOPED_TRACE(::testing::Message() << width << " x " << height);
        useFullFrame(width, height);
        halfResRequested = 1;
        updateHalfResolution();
        const int halfWidth = frameWidth, halfHeight = frameHeight;
        EXPECT_EQ(halfWidth, width / 2);
        EXPECT_EQ(halfHeight, height / 2);
        paintHalfFrame();
        upscaleHalfResolution();
        for (int row = 0; row < height; ++row) {
            for (int col = 0; col < width; ++col) {
                const std::uint32_t expected =
                    halfPixel(std::min(col / 2, halfWidth - 1), std::min(row / 2, halfHeight - 1));
                ASSERT_EQ(full[row * width + col], expected) << "(" << col << ", " << row << ")";
            }
        }
        halfResRequested = 0;
        releaseHalfResolution();
    }
}

TEST_F(HalfResolutionTest, ClearingTheRequestReturnsToFullResolutionAndKeepsTheBuffer) {
    useFullFrame(64, 48);
    halfResRequested = 1;
    updateHalfResolution();
    upscaleHalfResolution();
    updateHalfResolution();  // the second half frame reuses the prepared state
    EXPECT_EQ(frameWidth, 32);
    std::uint32_t* const buffer = halfBuffer;
    upscaleHalfResolution();

    halfResRequested = 0;
    updateHalfResolution();
    EXPECT_FALSE(halfResActive);
    EXPECT_EQ(frameWidth, 64);
    EXPECT_EQ(framePixels, full.data());
    EXPECT_EQ(halfBuffer, buffer);
    EXPECT_TRUE(halfResPrepared);
    upscaleHalfResolution();  // nothing to expand
    EXPECT_EQ(framePixels, full.data());
}

// Settings changed between two half-resolution frames (at full resolution)
// survive the next return to full resolution.
TEST_F(HalfResolutionTest, MarginsSetBetweenHalfFramesAreKept) {
    useFullFrame(64, 48);
    halfResRequested = 1;
    updateHalfResolution();
    upscaleHalfResolution();
    setViewportMargins(4, -1);
    updateHalfResolution();
    EXPECT_EQ(viewportLeft, 0);
    upscaleHalfResolution();
    EXPECT_EQ(viewportLeft, 4);
    EXPECT_EQ(viewportWidth, 56);
    EXPECT_EQ(rowOffsets[0], 64 * 43 + 4);
}

TEST_F(HalfResolutionTest, ReleaseInTheMiddleOfAFrameRestoresTheFullGeometry) {
    setFrameSize(64, 48);
    createFrameBuffer();
    halfResRequested = 1;
    updateHalfResolution();
    releaseHalfResolution();
    EXPECT_EQ(frameWidth, 64);
    EXPECT_EQ(frameHeight, 48);
    EXPECT_EQ(viewportHeight, 48);
    EXPECT_EQ(framePixels, nullptr);
    EXPECT_EQ(halfBuffer, nullptr);
    EXPECT_FALSE(halfResPrepared);
    EXPECT_FALSE(halfResActive);
    EXPECT_TRUE(halfResRequested);
}

}  // namespace
}  // namespace lumivortex
