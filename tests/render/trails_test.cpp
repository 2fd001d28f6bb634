// Trails: the fade that replaces the per-frame clear, per pixel and over
// exactly the viewport.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "framebuffer/frame_buffer.h"
#include "framebuffer/trails.h"
#include "host/host_config.h"

namespace lumivortex {
namespace {

class TrailsTest : public ::testing::Test {
protected:
    void SetUp() override {
        resetHostConfig();
        setFrameSize(40, 30);
        createFrameBuffer();
    }
    void TearDown() override {
        releaseFrameBuffer();
        fadeAmount = 0;
        resetHostConfig();
    }

    static void fillBuffer(std::uint32_t colour) {
        for (int i = 0; i < frameWidth * frameHeight; ++i) framePixels[i] = colour;
    }
};

struct FadeCase {
    const char* name;
    int amount;
    std::uint32_t background;
    std::uint32_t pixel;
    std::uint32_t expected;
};

void PrintTo(const FadeCase& c, std::ostream* os) { *os << c.name; }

class FadeTest : public TrailsTest, public ::testing::WithParamInterface<FadeCase> {};

TEST_P(FadeTest, FadesEveryViewportPixel) {
    const FadeCase& c = GetParam();
    fadeAmount = c.amount;
    backgroundColour = c.background;
    fillBuffer(c.pixel);
    fadeFrame();
    for (int i = 0; i < frameWidth * frameHeight; ++i) ASSERT_EQ(framePixels[i], c.expected) << "pixel " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, FadeTest,
    ::testing::Values(
        // No trails: nothing changes, not even the alpha byte.
        FadeCase{"Off", 0, 0, 0xFFFF0505, 0xFFFF0505},
        FadeCase{"SubtractTen", 10, 0, 0xFFFF0505, 0x00F50000},
        FadeCase{"SubtractStopsAtBlack", 255, 0, 0x80FF80FE, 0x00000000},
        // Channels pushed above 255 become 0, the rest grow.
        FadeCase{"NegativeAmount", -10, 0, 0x00FA0510, 0x00000F1A},
        FadeCase{"HugeAmount", 1 << 30, 0, 0x00FFFFFF, 0},
        FadeCase{"HalveTowardsBlack", 1001, 0, 0xFFFF8001, 0x007F4000},
        // Towards a coloured background by 127/256: red 0xFF + floor(-0xDF * 127 / 256) = 0x90.
        FadeCase{"BlendTowardsBackground", 1001, 0xFF204060, 0xFFFF0000, 0x00901F2F}),
    [](const ::testing::TestParamInfo<FadeCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(TrailsTest, MarginsAreLeftAlone) {
    setViewportMargins(5, 3);
    fillBuffer(0x00808080);
    fadeAmount = 16;
    fadeFrame();
    for (int row = 0; row < frameHeight; ++row) {
        for (int col = 0; col < frameWidth; ++col) {
            const bool inside = col >= 5 && col < frameWidth - 5 && row >= 3 && row < frameHeight - 3;
            ASSERT_EQ(framePixels[row * frameWidth + col], inside ? 0x00707070u : 0x00808080u)
                << "(" << col << ", " << row << ")";
        }
    }
}

}  // namespace
}  // namespace lumivortex
