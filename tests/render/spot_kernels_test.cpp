// Spot kernels on small fixtures with hand-checked results: which quadrant
// and which texel each pixel of the square comes from, the end markers, the
// colour rules of each blend mode and every way a square can cross the
// viewport edge.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "spot_kernel_fixture.h"

namespace lumivortex::testing {
namespace {

// Texel naming its own quadrant, row and column (never an end marker).
std::uint32_t namedTexel(int q, int row, int col) {
    return (static_cast<std::uint32_t>(0x10 * (q + 1)) << 16) | (static_cast<std::uint32_t>(row) << 8) |
           static_cast<std::uint32_t>(col);
}

class SpotKernelFixtureTest : public SpotKernelTest {
protected:
    void nameAllTexels() {
        for (int q = 0; q < 4; ++q)
            for (int row = 0; row < quadrantSide; ++row)
                for (int col = 0; col < quadrantSide; ++col) texel(q, row, col) = namedTexel(q, row, col);
    }
};

// R = 2 samples texel rows and columns 0, 128 and 255; the centre row goes to
// the upper quadrants, the centre column to the left ones.
TEST_F(SpotKernelFixtureTest, FiveByFiveSquareSamplesEachPixelFromItsQuadrant) {
    nameAllTexels();
    placeSprite(10, 8, 2);
    setColours(noTint, 0, 255, 255);
    ASSERT_EQ(rasterState.scaleRow[1], 512);
    drawSpotAdd();

    const int sample[] = {0, 128, 255};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int dx = x - 10, dy = y - 8;
            std::uint32_t expected = 0;
            if (dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2) {
                const int q = (dy > 0 ? 2 : 0) + (dx > 0 ? 1 : 0);
                expected = namedTexel(q, sample[dy < 0 ? -dy : dy], sample[dx < 0 ? -dx : dx]);
            }
            EXPECT_EQ(pixel(x, y), expected) << "(" << x << ", " << y << ")";
        }
    }
}

TEST_F(SpotKernelFixtureTest, SpanRadiusZeroDrawsTheCentreFromUpLeftTexelZero) {
    nameAllTexels();
    placeSprite(5, 5, 0);
    setColours(noTint, 0, 255, 255);
    drawSpotAdd();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(pixel(x, y), x == 5 && y == 5 ? namedTexel(0, 0, 0) : 0u) << "(" << x << ", " << y << ")";
}

// Each quadrant row stops at its first end marker: a marker first in a row
// blanks that quadrant row only, and a texel beyond a marker never shows.
TEST_F(SpotKernelFixtureTest, EndMarkerEndsOnlyItsQuadrantRow) {
    for (const KernelMode mode : {KernelMode::Add, KernelMode::Multiply}) {
        SCOPED_TRACE(modeName(mode));
        const std::uint32_t marker = endMarkerOf(mode);
        const std::uint32_t ink = 0x00402010;
        for (int q = 0; q < 4; ++q) fillQuadrant(q, ink);
        const int r = 3;
        const std::int32_t* scale = offsetScaleRow(r);
        // Up-left, row dy = 1: marker at dx = 0, ink beyond it.
        texel(QuadUpLeft, scale[1] / 4, 0) = marker;
        // Down-right, row dy = 2: marker at dx = 2, so only dx = 1 is drawn.
        texel(QuadDownRight, scale[2] / 4, scale[2] / 4) = marker;
        fillFrame(0x00808080);
        placeSprite(10, 10, r);
        setColours(noTint, 0, 255, 255);
        spotKernel(mode, false)();

        const std::uint32_t inked =
            mode == KernelMode::Add ? addColour(0x808080, ink) : modulateColour(0x808080, ink);
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                const bool blankUpLeft = dy == -1 && dx <= 0;
                const bool blankDownRight = dy == 2 && dx >= 2;
                const std::uint32_t expected = blankUpLeft || blankDownRight ? 0x00808080u : inked;
                EXPECT_EQ(pixel(10 + dx, 10 + dy), expected) << "dx " << dx << " dy " << dy;
            }
        }
    }
}

struct ColourCase {
    const char* name;
    KernelMode mode;
    std::uint32_t background;
    std::uint32_t texel;
    std::uint32_t tint;
    std::uint32_t spriteColour;
    int alpha;
    int intensity;
    std::uint32_t expected;
};

void PrintTo(const ColourCase& c, std::ostream* os) { *os << c.name; }

class SpotColourTest : public SpotKernelFixtureTest, public ::testing::WithParamInterface<ColourCase> {};

// One pixel (R = 0), so the colour rule alone decides the result.
TEST_P(SpotColourTest, PixelBecomesTheModesBlend) {
    const ColourCase& c = GetParam();
    fillQuadrant(QuadUpLeft, c.texel);
    fillFrame(c.background);
    placeSprite(4, 4, 0);
    setColours(c.tint, c.spriteColour, c.alpha, c.intensity);
    spotKernel(c.mode, false)();
    EXPECT_EQ(pixel(4, 4), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SpotColourTest,
    ::testing::Values(
        // Full alpha and intensity: the texel unscaled, and the written pixel
        // loses its top byte.
        ColourCase{"AddUntintedFull", KernelMode::Add, 0xFF102030, 0x00204060, noTint, 0, 255, 255, 0x00306090},
        ColourCase{"AddSaturates", KernelMode::Add, 0x00F0F0F0, 0x00204060, noTint, 0, 255, 255, 0x00FFFFFF},
        // An opaque white particle colour is a tint: every non-zero channel
        // drops by one.
        ColourCase{"AddOpaqueWhiteTint", KernelMode::Add, 0, 0x00204001, 0xFFFFFFFF, 0, 255, 255, 0x001F3F00},
        ColourCase{"AddTinted", KernelMode::Add, 0, 0x00FFFFFF, 0xFF804020, 0, 255, 255, 0x007F3F1F},
        // a = floor(128 * 200 / 255) = 100; 0xC8 * 100 >> 8 = 78.
        ColourCase{"AddAlphaAndIntensity", KernelMode::Add, 0, 0x00C8C8C8, noTint, 0, 128, 200, 0x004E4E4E},
        ColourCase{"AddTintThenBrightness", KernelMode::Add, 0, 0x00FFFFFF, 0x00808080, 0, 255, 128,
                   0x003F3F3F},
        ColourCase{"SubtractUntinted", KernelMode::Subtract, 0x00805010, 0x00204020, noTint, 0, 255, 255,
                   0x00601000},
        ColourCase{"SubtractScaled", KernelMode::Subtract, 0x00808080, 0x00808080, noTint, 0, 255, 128,
                   0x00404040},
        // Opaque white is no end marker here and takes one step per channel.
        ColourCase{"MultiplyOpaqueWhite", KernelMode::Multiply, 0x00804020, 0xFFFFFFFF, noTint, 0, 255, 255,
                   0x007F3F1F},
        ColourCase{"MultiplyUntinted", KernelMode::Multiply, 0x00FFFFFF, 0x00800000, noTint, 0, 255, 255,
                   0x007F0000},
        // Tint at level 0 of the texel, rising to white.
        ColourCase{"MultiplyTintedLevelZero", KernelMode::Multiply, 0x00FFFFFF, 0x00000000, 0xFF804020, 0, 255,
                   255, 0x007F3F1F},
        // Level 128: 0x80 + ((0xFF - 0x80) * 128 >> 8) = 0xBF.
        ColourCase{"MultiplyTintedHalfLevel", KernelMode::Multiply, 0x00FFFFFF, 0x00000080, 0xFF808080, 0, 255,
                   255, 0x00BEBEBE},
        // a = 128 pales black to 255 - ceil(255 * 128 / 256) = 127; 255 * 127 >> 8 = 126.
        ColourCase{"MultiplyHalfBrightness", KernelMode::Multiply, 0x00FFFFFF, 0x00000000, noTint, 0, 128, 255,
                   0x007E7E7E},
        // Weight 255 moves 255/256 of the way: 0 -> 254 for 255.
        ColourCase{"AlphaFullWeight", KernelMode::Alpha, 0x00000000, 0x000000FF, noTint, 0x00FFFFFF, 255, 255,
                   0x00FEFEFE},
        ColourCase{"AlphaZeroWeight", KernelMode::Alpha, 0xFF123456, 0xFFFFFF00, noTint, 0x00FFFFFF, 255, 255,
                   0x00123456},
        // alpha 128 first: t = 0 + (255 * 128 >> 8) = 127, then weight 255:
        // 127 * 255 >> 8 = 126.
        ColourCase{"AlphaHalfOpacity", KernelMode::Alpha, 0x00000000, 0x000000FF, noTint, 0x00FFFFFF, 128, 255,
                   0x007E7E7E},
        // solid = modulate(white, tint) faded by intensity 128 from black.
        ColourCase{"AlphaTintAndIntensity", KernelMode::Alpha, 0x00000000, 0x000000FF, 0xFF804020, 0x00FFFFFF,
                   255, 128, 0x003E1E0E}),
    [](const ::testing::TestParamInfo<ColourCase>& caseInfo) { return std::string(caseInfo.param.name); });

TEST_F(SpotKernelFixtureTest, BrightnessIsKeptInIntensityAndSolidColourIsPremixed) {
    fillQuadrant(QuadUpLeft, 0x00101010);
    placeSprite(4, 4, 0);
    setColours(noTint, 0x00FF8040, 128, 200);
    drawSpotAdd();
    EXPECT_EQ(rasterState.intensity, 100);

    setColours(0xFF808080, 0x00FF8040, 128, 200);
    drawSpotAlpha();
    EXPECT_EQ(rasterState.intensity, 200);  // alpha stays separate in this mode
    EXPECT_EQ(rasterState.solidColour, lerpColour(0xFF000000u, modulateColour(0x00FF8040, 0xFF808080), 200));
}

// Clipping: each quadrant paints its own colour everywhere (no end markers),
// so the drawn pixels must be exactly the square's visible part with the
// centre row owned by the upper quadrants and the centre column by the left.
struct ClipCase {
    const char* name;
    int centreX;
    int centreY;
    int spanRadius;
};

void PrintTo(const ClipCase& c, std::ostream* os) { *os << c.name; }

class SpotClipTest : public SpotKernelFixtureTest, public ::testing::WithParamInterface<ClipCase> {};

TEST_P(SpotClipTest, DrawsExactlyTheVisiblePartOfTheSquare) {
    const ClipCase& c = GetParam();
    const std::uint32_t colourOf[4] = {0x00100000, 0x00200000, 0x00300000, 0x00400000};
    for (int q = 0; q < 4; ++q) fillQuadrant(q, colourOf[q]);
    placeSprite(c.centreX, c.centreY, c.spanRadius);
    setColours(noTint, 0, 255, 255);
    ASSERT_FALSE(insideViewport());
    drawSpotAddClipped();

    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int dx = x - c.centreX, dy = y - c.centreY;
            std::uint32_t expected = 0;
            if (dx >= -c.spanRadius && dx <= c.spanRadius && dy >= -c.spanRadius && dy <= c.spanRadius)
                expected = colourOf[(dy > 0 ? 2 : 0) + (dx > 0 ? 1 : 0)];
            EXPECT_EQ(pixel(x, y), expected) << "(" << x << ", " << y << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpotClipTest,
    ::testing::Values(
        // Only the lower rows dy = 3, 4, 5 reach the viewport (rows 0..2).
        ClipCase{"CentreAbove", 10, -3, 5}, ClipCase{"CentreBelow", 10, 22, 5},
        ClipCase{"CentreLeft", -2, 9, 6}, ClipCase{"CentreRight", 26, 9, 6},
        // The lower half ends after the centre row without drawing.
        ClipCase{"CentreOnLastRow", 10, 19, 4}, ClipCase{"CentreOnFirstColumn", 0, 9, 4},
        ClipCase{"CentreOnLastColumn", 23, 9, 4}, ClipCase{"CentreOnFirstRow", 10, 0, 4},
        ClipCase{"CornerAboveLeft", -3, -2, 5}, ClipCase{"CornerBelowRight", 25, 21, 4},
        ClipCase{"LargerThanViewport", 12, 10, 30}, ClipCase{"OnlyCornerPixelVisible", -4, -4, 4}),
    [](const ::testing::TestParamInfo<ClipCase>& caseInfo) { return std::string(caseInfo.param.name); });

}  // namespace
}  // namespace lumivortex::testing
