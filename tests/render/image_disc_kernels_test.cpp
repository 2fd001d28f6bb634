// Image disc kernels: the coverage rows of a ten-pixel ball, the tiny balls,
// weight-0 columns, a clipped row starting outside the ball, clipped against
// unclipped drawing, and the eight kernels against a plain per-pixel
// reference walk on random sprites.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "kernel_test_support.h"
#include "math/colour.h"
#include "render/kernels/image_disc_kernels.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex::testing {
namespace {

SpriteKernel imageDiscKernel(KernelMode mode, bool clipped) {
    switch (mode) {
    case KernelMode::Add: return clipped ? drawImageDiscAddClipped : drawImageDiscAdd;
    case KernelMode::Subtract: return clipped ? drawImageDiscSubtractClipped : drawImageDiscSubtract;
    case KernelMode::Multiply: return clipped ? drawImageDiscMultiplyClipped : drawImageDiscMultiply;
    case KernelMode::Alpha: return clipped ? drawImageDiscAlphaClipped : drawImageDiscAlpha;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Reference walk: the kernels' steps one by one, per pixel, with null source
// rows for finished quadrants, limits tested at every pixel, the ball worked
// out from its formula in doubles and the pixel operations written out from
// the colour primitives.

constexpr std::uint32_t white = 0x00FFFFFFu;

// Each channel c * k >> 8, top byte 0.
std::uint32_t scaled(std::uint32_t c, int k) { return modulateColour(c, static_cast<std::uint32_t>(k) * 0x010101u); }

void referencePixel(KernelMode mode, std::uint32_t* p, std::uint32_t s) {
    const RasterState& rs = rasterState;
    const bool tinted = rs.tintColour != white;
    std::uint32_t c = s;
    switch (mode) {
    case KernelMode::Add:
    case KernelMode::Subtract:
        if (tinted) c = modulateColour(c, rs.tintColour);
        if (rs.intensity != 255) c = scaled(c, rs.intensity);
        if (rs.coverage != 255) c = scaled(c, rs.coverage);
        *p = mode == KernelMode::Add ? addColour(*p, c) : subtractColour(*p, c);
        break;
    case KernelMode::Multiply:
        if (tinted) c = modulateColour(c, rs.tintColour);
        if (rs.intensity != 255) c = lerpColour(white, c, rs.intensity);
        if (rs.coverage != 255) c = lerpColour(white, c, rs.coverage);
        *p = modulateColour(*p, c);
        break;
    case KernelMode::Alpha:
        if (rs.alpha != 255) c = lerpColour(*p, c, rs.alpha);
        if (tinted) c = modulateColour(c, rs.tintColour);
        if (rs.intensity != 255) c = lerpColour(0xFF000000u, c, rs.intensity);
        *p = rs.coverage == 255 ? c : lerpColour(*p, c, rs.coverage);
        break;
    }
}

// Coverage of texel (i, j) of a ball of radius 255.5; false where the row
// ends (outside the ball, or too thin at this size).
bool referenceCoverage(int i, int j, int& coverage) {
    const RasterState& rs = rasterState;
    constexpr double radius = 255.5;
    const double v = radius * radius - double(i) * i - double(j) * j;
    if (v <= 0) return false;
    const double h = std::sqrt(v);
    const int depth = static_cast<int>(8 * h + 0.5);
    const double rim = (radius - h) / radius;
    const int divisor = static_cast<int>(16 * rim * rim + 0.5);
    if (depth == 0) return false;
    if (rs.tinyBall) {
        coverage = 255;
        return true;
    }
    const int c = (rs.pixelRadius * depth) >> 8;
    if (c == 0) return false;
    if (divisor <= 1) {
        coverage = 255;
        return true;
    }
    const int k = c / divisor;
    coverage = k >= 8 ? 255 : 32 * k;
    return true;
}

std::uint32_t* framePixel(int x, int y) { return framePixels + rowOffsets[y] + x; }

void referenceImageDisc(KernelMode mode, bool clipped) {
    RasterState& rs = rasterState;
    if (mode != KernelMode::Alpha) rs.intensity = rs.alpha * rs.intensity / 255;
    const int r = rs.spanRadius;
    const int cx = rs.centreX;
    const int cy = rs.centreY;
    if (!clipped && r == 0) {
        rs.coverage = 255;
        referencePixel(mode, framePixel(cx, cy), rs.quadUL[0]);
        return;
    }
    referenceLimits(clipped);
    for (int dy = rs.firstRow;; ++dy) {
        const int row = rs.scaleRow[dy] / 4;
        const std::uint32_t *ul = nullptr, *ur = nullptr, *dl = nullptr, *dr = nullptr;
        if (rs.upActive) {
            if (rs.leftActive) ul = rs.quadUL + row * 256;
            if (rs.rightActive) ur = rs.quadUR + row * 256;
            rs.upActive = dy != rs.rowsUp;
        }
        if (rs.downActive) {
            if (dy != 0) {
                if (rs.leftActive) dl = rs.quadDL + row * 256;
                if (rs.rightActive) dr = rs.quadDR + row * 256;
            }
            rs.downActive = dy != rs.rowsDown;
        }
        for (int dx = rs.firstCol;; ++dx) {
            const int col = rs.scaleRow[dx] / 4;
            if (!referenceCoverage(row, col, rs.coverage)) break;
            if (ul != nullptr) {
                referencePixel(mode, framePixel(cx - dx, cy - dy), ul[col]);
                if (4 * dx == rs.colsLeftBytes) ul = nullptr;
            }
            if (dl != nullptr) {
                referencePixel(mode, framePixel(cx - dx, cy + dy), dl[col]);
                if (4 * dx == rs.colsLeftBytes) dl = nullptr;
            }
            if (dx != 0) {
                if (ur != nullptr) {
                    referencePixel(mode, framePixel(cx + dx, cy - dy), ur[col]);
                    if (4 * dx == rs.colsRightBytes) ur = nullptr;
                }
                if (dr != nullptr) {
                    referencePixel(mode, framePixel(cx + dx, cy + dy), dr[col]);
                    if (4 * dx == rs.colsRightBytes) dr = nullptr;
                }
            } else if (rs.colsRightBytes == 0) {
                ur = dr = nullptr;
            }
            if (ul == nullptr && ur == nullptr && dl == nullptr && dr == nullptr) break;
        }
        if (!rs.upActive && !rs.downActive) break;
    }
}

// ---------------------------------------------------------------------------

class ImageDiscKernelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        buildOffsetScaleTable();
        buildSphereTable();
    }
    static void TearDownTestSuite() {
        releaseOffsetScaleTable();
        releaseSphereTable();
    }

    void SetUp() override {
        resizeFrame(40, 32, background);
        rasterState = RasterState{};
        setColours(white, 255, 255);
        fillQuadrants(white);
    }

    void TearDown() override { framePixels = nullptr; }

    void resizeFrame(int w, int h, std::uint32_t fill) { useFrame(pixels, w, h, fill); }

    void fillQuadrants(std::uint32_t texel) {
        for (std::uint32_t* q : quads) std::fill(q, q + quadrantSide * quadrantSide, texel);
    }

    // What projectSprite and the image dispatcher write before a kernel runs.
    void placeBall(int centreX, int centreY, int pixelRadius) {
        RasterState& rs = rasterState;
        rs.pixelRadius = pixelRadius;
        rs.tinyBall = pixelRadius == 2;
        placeSquare(centreX, centreY, pixelRadius - 1);
        placeImage(quads);
    }

    static void setColours(std::uint32_t tint, int alpha, int intensity) {
        rasterState.tintColour = tint;
        rasterState.alpha = alpha;
        rasterState.intensity = intensity;
    }

    // Draws with the kernel (or the reference walk) and returns the frame;
    // the frame and raster state are restored afterwards.
    std::vector<std::uint32_t> drawn(SpriteKernel kernel) { return drawOutcome(pixels, kernel).frame; }

    std::vector<std::uint32_t> drawnByReference(KernelMode mode, bool clipped) {
        return drawOutcome(pixels, [&] { referenceImageDisc(mode, clipped); }).frame;
    }

    static std::uint32_t at(const std::vector<std::uint32_t>& frame, int x, int y) { return frame[rowOffsets[y] + x]; }

    // A top byte that every written pixel loses, so a pixel drawn with weight
    // 0 still shows.
    static constexpr std::uint32_t background = 0x5A000000u;
    QuadrantImages quads;
    std::vector<std::uint32_t> pixels;
};

// White added with coverage w onto black.
std::uint32_t whiteAddedToBlack(int w) { return w == 255 ? white : scaled(white, w); }

// pixelRadius 10: the coverages of each row from dx = 0 outwards; the row
// ends after them. Checked in all four mirrored positions.
TEST_F(ImageDiscKernelTest, PixelRadiusTenGivesTheCoverageRowsOfTheBall) {
    const std::vector<std::vector<int>> rows = {
        {255, 255, 255, 255, 255, 255, 255, 255, 224, 0},  // dy 0
        {255, 255, 255, 255, 255, 255, 255, 255, 224},     // dy 1
        {255, 255, 255, 255, 255, 255, 255, 255, 160},     // dy 2
        {255, 255, 255, 255, 255, 255, 255, 255, 96},      // dy 3
        {255, 255, 255, 255, 255, 255, 255, 224, 0},       // dy 4
        {255, 255, 255, 255, 255, 255, 255, 96},           // dy 5
        {255, 255, 255, 255, 255, 255, 96},                // dy 6
        {255, 255, 255, 255, 224, 96},                     // dy 7
        {224, 224, 160, 96, 0},                            // dy 8
        {0},                                               // dy 9
    };
    const int cx = 20, cy = 15;
    for (const bool clipped : {false, true}) {
        placeBall(cx, cy, 10);
        const std::vector<std::uint32_t> frame = drawn(imageDiscKernel(KernelMode::Add, clipped));
        for (int dy = 0; dy <= 9; ++dy) {
            const std::vector<int>& row = rows[dy];
            for (int dx = 0; dx <= 9; ++dx) {
                const bool drawnHere = dx < static_cast<int>(row.size());
                const std::uint32_t expected = drawnHere ? whiteAddedToBlack(row[dx]) : background;
                SCOPED_TRACE(::testing::Message()
                             << (clipped ? "clipped" : "unclipped") << " dx " << dx << " dy " << dy);
                EXPECT_EQ(at(frame, cx - dx, cy - dy), expected);
                EXPECT_EQ(at(frame, cx + dx, cy - dy), expected);
                EXPECT_EQ(at(frame, cx - dx, cy + dy), expected);
                EXPECT_EQ(at(frame, cx + dx, cy + dy), expected);
            }
        }
    }
}

// pixelRadius 1: one pixel, from the centre texel of quadUL at full
// coverage, through each mode's own pixel operation.
TEST_F(ImageDiscKernelTest, PixelRadiusOneDrawsTheCentreTexelAtFullCoverage) {
    const std::uint32_t pixel = 0x7A305070u;
    const std::uint32_t centreTexel = 0xFF4080C0u;
    for (const KernelMode mode : allModes) {
        for (const bool clipped : {false, true}) {
            resizeFrame(40, 32, pixel);
            fillQuadrants(0x00FFFFFFu);
            quads[QuadUpLeft][0] = centreTexel;
            placeBall(10, 12, 1);
            setColours(0x00E0C0A0u, 200, 180);
            // The operation as the kernel runs it: full coverage and, but for
            // the alpha mode, the opacity folded into the brightness.
            const RasterState input = rasterState;
            rasterState.coverage = 255;
            if (mode != KernelMode::Alpha) rasterState.intensity = 200 * 180 / 255;
            std::uint32_t expected = pixel;
            referencePixel(mode, &expected, centreTexel);
            rasterState = input;
            const std::vector<std::uint32_t> frame = drawn(imageDiscKernel(mode, clipped));
            for (int y = 0; y <= viewportMaxY; ++y) {
                for (int x = 0; x <= viewportMaxX; ++x) {
                    ASSERT_EQ(at(frame, x, y), x == 10 && y == 12 ? expected : pixel)
                        << modeName(mode) << (clipped ? " clipped" : "") << " at " << x << "," << y;
                }
            }
        }
    }
}

// pixelRadius 2 (tinyBall): the centre and its four neighbours at full
// coverage, each from its own quadrant; the corners sample texel (255, 255),
// outside the ball, and stay untouched.
TEST_F(ImageDiscKernelTest, TinyBallDrawsTheCrossAndLeavesTheCorners) {
    resizeFrame(40, 32, 0);
    const std::uint32_t texels[4] = {0x00000011u, 0x00002200u, 0x00330000u, 0x00444444u};
    for (int q = 0; q < 4; ++q) std::fill(quads[q], quads[q] + quadrantSide * quadrantSide, texels[q]);
    for (const bool clipped : {false, true}) {
        placeBall(10, 12, 2);
        const std::vector<std::uint32_t> frame = drawn(imageDiscKernel(KernelMode::Add, clipped));
        SCOPED_TRACE(clipped ? "clipped" : "unclipped");
        for (int y = 0; y <= viewportMaxY; ++y) {
            for (int x = 0; x <= viewportMaxX; ++x) {
                std::uint32_t expected = 0;
                if (x == 10 && (y == 11 || y == 12)) expected = texels[QuadUpLeft];  // centre, up
                if (x == 9 && y == 12) expected = texels[QuadUpLeft];                 // left
                if (x == 11 && y == 12) expected = texels[QuadUpRight];               // right
                if (x == 10 && y == 13) expected = texels[QuadDownLeft];              // down
                ASSERT_EQ(at(frame, x, y), expected) << x << "," << y;
            }
        }
    }
}

// The last column of the centre row samples (0, 255): pair (128, 14), c = 5,
// k = 0, so it is drawn with weight 0. Add, subtract and alpha leave the
// colour channels as they were; multiply blends white by 0 and so multiplies
// the pixel by 255/256. The written pixel loses its top byte either way.
TEST_F(ImageDiscKernelTest, WeightZeroColumnsKeepTheColourExceptUnderMultiply) {
    const std::uint32_t pixel = 0x7AC08040u;
    const std::uint32_t channels = pixel & white;
    struct Case {
        KernelMode mode;
        std::uint32_t texel;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {KernelMode::Add, white, channels},
        {KernelMode::Subtract, white, channels},
        {KernelMode::Alpha, 0x00102030u, channels},
        {KernelMode::Multiply, 0x00000000u, modulateColour(pixel, white)},  // (0xBF, 0x7F, 0x3F)
    };
    for (const Case& c : cases) {
        for (const bool clipped : {false, true}) {
            resizeFrame(40, 32, pixel);
            fillQuadrants(c.texel);
            placeBall(20, 15, 10);
            const std::vector<std::uint32_t> frame = drawn(imageDiscKernel(c.mode, clipped));
            SCOPED_TRACE(::testing::Message() << modeName(c.mode) << (clipped ? " clipped" : ""));
            EXPECT_EQ(at(frame, 20 - 9, 15), c.expected);
            EXPECT_EQ(at(frame, 20 + 9, 15), c.expected);
            EXPECT_EQ(at(frame, 20, 15 - 9), c.expected);  // dy 9: a single column of weight 0
            EXPECT_EQ(at(frame, 20, 15 + 9), c.expected);
            EXPECT_EQ(at(frame, 20 - 1, 15 - 9), pixel);  // beyond it: untouched
        }
    }
    EXPECT_EQ(modulateColour(pixel, white), 0x00BF7F3Fu);
}

// Centre 8 columns left of the viewport: the first visible column is dx 8.
// Rows whose ball ends before it (dy 5..9, see the coverage rows above) draw
// nothing; rows dy 0..4 draw from dx 8 to the end of the ball.
TEST_F(ImageDiscKernelTest, ClippedRowStartingOutsideTheBallDrawsNothing) {
    placeBall(-8, 15, 10);
    const std::vector<std::uint32_t> frame = drawn(drawImageDiscAddClipped);
    const int ballEnd[10] = {10, 9, 9, 9, 9, 8, 7, 6, 5, 1};  // columns drawn in row dy
    for (int dy = -9; dy <= 9; ++dy) {
        const int d = std::abs(dy);
        SCOPED_TRACE(::testing::Message() << "dy " << dy);
        for (int x = 0; x <= viewportMaxX; ++x) {
            const int dx = x + 8;
            EXPECT_EQ(at(frame, x, 15 + dy) != background, dx < ballEnd[d] && dx <= 9) << "x " << x;
        }
    }
    EXPECT_EQ(frame, drawnByReference(KernelMode::Add, true));
}

// A square wholly inside the viewport comes out the same from the clipped
// kernel, and a square crossing an edge shows exactly the part of the same
// square drawn unclipped in a larger frame.
TEST_F(ImageDiscKernelTest, ClippedAgreesWithUnclipped) {
    std::mt19937 random(7);
    for (std::uint32_t* q : quads)
        for (int i = 0; i < quadrantSide * quadrantSide; ++i) q[i] = static_cast<std::uint32_t>(random());
    constexpr int w = 40, h = 32, margin = 80;
    const std::uint32_t pixel = 0x33806040u;
    struct Case {
        int x, y, pixelRadius;
    };
    const Case cases[] = {{20, 15, 10}, {20, 15, 2}, {20, 15, 16}, {0, 0, 10},    {39, 31, 10}, {-5, 10, 12},
                          {45, 3, 9},   {12, -4, 7}, {30, 35, 6},  {-20, -20, 25}, {20, 15, 40}, {60, 40, 45}};
    for (const KernelMode mode : allModes) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message()
                         << modeName(mode) << " at " << c.x << "," << c.y << " r " << c.pixelRadius);
            setColours(0x00C0E0FFu, 230, 200);
            resizeFrame(w + 2 * margin, h + 2 * margin, pixel);
            placeBall(c.x + margin, c.y + margin, c.pixelRadius);
            ASSERT_TRUE(insideViewport());
            const std::vector<std::uint32_t> whole = drawn(imageDiscKernel(mode, false));
            std::vector<int> wholeRows(rowOffsets, rowOffsets + h + 2 * margin);

            resizeFrame(w, h, pixel);
            placeBall(c.x, c.y, c.pixelRadius);
            const std::vector<std::uint32_t> part = drawn(imageDiscKernel(mode, true));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(at(part, x, y), whole[wholeRows[y + margin] + x + margin]) << x << "," << y;
            if (insideViewport()) {
                EXPECT_EQ(part, drawn(imageDiscKernel(mode, false)));
            }
        }
    }
}

// The eight kernels against the reference walk on random sprites: sizes from
// a single pixel to the largest, anywhere on or around a small viewport,
// random texels (top bytes included), tints, opacities and fades.
TEST_F(ImageDiscKernelTest, KernelsMatchTheReferenceWalkOnRandomSprites) {
    KernelRandom random;
    for (std::uint32_t* q : quads)
        for (int i = 0; i < quadrantSide * quadrantSide; ++i) q[i] = random.anyColour();
    for (int trial = 0; trial < 600; ++trial) {
        const bool large = trial % 40 == 0;  // now and then a big frame for big unclipped balls
        const int w = large ? 520 : random.uniform(16, 48);
        const int h = large ? 516 : random.uniform(16, 40);
        resizeFrame(w, h, 0);
        for (std::uint32_t& p : pixels) p = random.anyColour();
        const int radius = large || trial % 3 == 0 ? random.uniform(1, 255) : random.uniform(1, 30);
        const int span = radius - 1;
        if (large) {
            placeBall(random.uniform(span, w - 1 - span), random.uniform(span, h - 1 - span), radius);
        } else {
            // Any square that overlaps the viewport.
            placeBall(random.uniform(-span, w - 1 + span), random.uniform(-span, h - 1 + span), radius);
        }
        const std::uint32_t tint = random.uniform(0, 3) == 0 ? white : random.anyColour();
        const int alpha = random.uniform(0, 3) == 0 ? 255 : random.uniform(1, 255);
        const int intensity = random.uniform(0, 3) == 0 ? 255 : random.uniform(1, 255);
        setColours(tint, alpha, intensity);
        const KernelMode mode = allModes[random.uniform(0, 3)];
        const bool inside = insideViewport();
        for (const bool clipped : {false, true}) {
            if (!clipped && !inside) continue;
            SCOPED_TRACE(::testing::Message()
                         << "trial " << trial << " " << modeName(mode) << (clipped ? " clipped" : "") << " r "
                         << radius << " at " << rasterState.centreX << "," << rasterState.centreY << " in " << w
                         << "x" << h);
            const std::vector<std::uint32_t> expected = drawnByReference(mode, clipped);
            const RasterState input = rasterState;
            imageDiscKernel(mode, clipped)();
            ASSERT_EQ(pixels, expected);
            // What the kernels leave behind: the combined intensity.
            EXPECT_EQ(rasterState.intensity, mode == KernelMode::Alpha ? intensity : alpha * intensity / 255);
            rasterState = input;
        }
    }
}

}  // namespace
}  // namespace lumivortex::testing
