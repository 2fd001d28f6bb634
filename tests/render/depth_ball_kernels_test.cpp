// Depth-tested ball kernels: the worked examples over a cleared depth buffer
// (radius 50, radius 1, the 3 x 3 ball), two balls at the same depth, a ball
// left of the viewport, the colour steps of writeDepthPixel, clipped against
// unclipped, and the fast kernels against a plain per-pixel reference walk
// on random balls and depth buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "framebuffer/depth_buffer.h"
#include "framebuffer/frame_buffer.h"
#include "kernel_test_support.h"
#include "math/colour.h"
#include "render/kernels/depth_ball_kernels.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex::testing {
namespace {

// ---------------------------------------------------------------------------
// Reference walk: the steps of the kernels one by one, per pixel, with the
// set-up values in rasterState, quadrant rows ended by null pointers and the
// column limits tested at every pixel, and a real division.

bool referenceSetUp(SphereEntry element) {
    RasterState& rs = rasterState;
    if (element.depthOffset == 0) return false;
    rs.depthFloor = -((rs.pixelRadius * element.depthOffset) >> 8);
    if (rs.depthFloor == 0) return false;
    rs.pixelDepth = rs.centreDepth + rs.depthFloor;
    rs.depthDivisor = element.edgeDivisor;
    if (rs.tinyBall) {
        rs.depthDivisor = 0;
        rs.depthFloor = -777;
    }
    return true;
}

void referenceWrite(std::uint32_t* p, std::int32_t* zb, std::uint32_t c) {
    const RasterState& rs = rasterState;
    std::int64_t diff = std::int64_t{rs.pixelDepth} - *zb;
    if (diff < rs.depthFloor) diff = rs.depthFloor;
    if (rs.depthDivisor != 0 && rs.depthDivisor != 1) diff /= rs.depthDivisor;
    if (diff >= 0) return;
    const auto w = static_cast<std::int32_t>(-diff);
    if (rs.alpha != 255) c = lerpColour(*p, c, rs.alpha);
    if (rs.tintColour != noTint) c = modulateColour(c, rs.tintColour);
    if (rs.intensity != 255) c = lerpColour(0xFF000000u, c, rs.intensity);
    *p = w >= 8 ? c : lerpColour(*p, c, 32 * w);
    *zb = rs.pixelDepth;
}

// One quadrant at column dx: skipped once finished, ended at its limit.
void referenceQuadrant(const std::uint32_t*& srcRow, int centre, int dx, int direction, int limitBytes) {
    if (srcRow == nullptr) return;
    const int i = centre + direction * dx;
    referenceWrite(framePixels + i, depthBuffer + i, srcRow[rasterState.srcColOffset / 4]);
    if (4 * dx == limitBytes) srcRow = nullptr;
}

void referenceBall(bool clipped) {
    RasterState& rs = rasterState;
    referenceLimits(clipped);
    int up = 0, down = 0;  // element of the centre column in the upper / lower row
    for (int dy = rs.firstRow;; ++dy) {
        rs.srcRowOffset = rs.scaleRow[dy] << 8;
        rs.sphereRow = sphereRow(rs.scaleRow[dy] / 4);
        const int rowTexels = rs.srcRowOffset / 4;
        rs.srcRowUL = rs.srcRowUR = rs.srcRowDL = rs.srcRowDR = nullptr;
        if (rs.upActive) {
            up = rowOffsets[rs.centreY - dy] + rs.centreX;
            if (rs.leftActive) rs.srcRowUL = rs.quadUL + rowTexels;
            if (rs.rightActive) rs.srcRowUR = rs.quadUR + rowTexels;
            rs.upActive = dy != rs.rowsUp;
        }
        if (rs.downActive) {
            if (dy != 0) {
                down = rowOffsets[rs.centreY + dy] + rs.centreX;
                if (rs.leftActive) rs.srcRowDL = rs.quadDL + rowTexels;
                if (rs.rightActive) rs.srcRowDR = rs.quadDR + rowTexels;
            }
            rs.downActive = dy != rs.rowsDown;
        }
        for (int dx = rs.firstCol;; ++dx) {
            rs.srcColOffset = rs.scaleRow[dx];
            if (!referenceSetUp(rs.sphereRow[rs.scaleRow[dx] / 4])) break;
            referenceQuadrant(rs.srcRowUL, up, dx, -1, rs.colsLeftBytes);
            referenceQuadrant(rs.srcRowDL, down, dx, -1, rs.colsLeftBytes);
            if (dx != 0) {
                referenceQuadrant(rs.srcRowUR, up, dx, +1, rs.colsRightBytes);
                referenceQuadrant(rs.srcRowDR, down, dx, +1, rs.colsRightBytes);
            } else if (rs.colsRightBytes == 0) {
                rs.srcRowUR = rs.srcRowDR = nullptr;
            }
            if (rs.srcRowUL == nullptr && rs.srcRowUR == nullptr && rs.srcRowDL == nullptr &&
                rs.srcRowDR == nullptr)
                break;
        }
        if (!rs.upActive && !rs.downActive) return;
    }
}

// ---------------------------------------------------------------------------

constexpr std::uint32_t background = 0x00102030u;

// Texel (i, j) of quadrant q: red tells the quadrant, green the row, blue
// the column, so a pixel shows exactly which element it was taken from.
constexpr std::uint32_t patternTexel(int q, int i, int j) {
    return 0xFF000000u | static_cast<std::uint32_t>(0x20 + 0x40 * q) << 16 | static_cast<std::uint32_t>(i) << 8 |
           static_cast<std::uint32_t>(j);
}

class DepthBallTest : public ::testing::Test {
protected:
    void SetUp() override {
        resizeFrame(64, 48);
        buildOffsetScaleTable();
        buildSphereTable();
        fillPattern();
        rasterState = RasterState{};
        setColours(255, noTint, 255);
    }

    void TearDown() override {
        releaseSphereTable();
        releaseOffsetScaleTable();
        framePixels = nullptr;
        depthBuffer = nullptr;
        depthBufferSize = 0;
    }

    // A fresh frame of `background` over a cleared depth buffer.
    void resizeFrame(int width, int height) {
        useFrame(pixels, width, height, background);
        const std::size_t count = pixels.size();
        depths.assign(count, 0);
        depthBuffer = depths.data();
        depthBufferSize = count;
        clearDepthBuffer();
    }

    void fillPattern() {
        for (int q = 0; q < 4; ++q)
            for (int i = 0; i < quadrantSide; ++i)
                for (int j = 0; j < quadrantSide; ++j) texel(q, i, j) = patternTexel(q, i, j);
    }

    std::uint32_t& texel(int q, int i, int j) { return quads[q][i * quadrantSide + j]; }
    std::uint32_t& pixel(int x, int y) { return framePixels[rowOffsets[y] + x]; }
    std::int32_t& depthAt(int x, int y) { return depthBuffer[rowOffsets[y] + x]; }

    // What the image dispatcher writes before a kernel runs.
    void placeBall(int centreX, int centreY, int pixelRadius, int centreDepth) {
        RasterState& rs = rasterState;
        rs.pixelRadius = pixelRadius;
        rs.tinyBall = pixelRadius == 2;
        rs.centreDepth = centreDepth;
        placeSquare(centreX, centreY, pixelRadius - 1);
        placeImage(quads);
    }

    static void setColours(int alpha, std::uint32_t tint, int intensity) {
        rasterState.alpha = alpha;
        rasterState.tintColour = tint;
        rasterState.intensity = intensity;
    }

    // The dispatcher's choice of kernel.
    static void drawPlaced() { (insideViewport() ? drawDepthBall : drawDepthBallClipped)(); }

    std::vector<std::uint32_t> pixels;
    std::vector<std::int32_t> depths;
    QuadrantImages quads;
};

// Over a cleared buffer the depth difference is always held at the floor,
// so each pixel's weight is the ball's own height there, divided near the
// rim: 399 at the centre of a radius-50 ball, 25 / 14 = 1 at the element
// (255, 0) (D 128, E 14), which is blended by 32.
TEST_F(DepthBallTest, Radius50BallOverAClearedBufferTakesItsWeightFromItsHeight) {
    resizeFrame(120, 110);
    placeBall(60, 55, 50, 1000);
    drawDepthBall();

    EXPECT_EQ(pixel(60, 55), patternTexel(QuadUpLeft, 0, 0));  // w 399: the texel itself, top byte too
    EXPECT_EQ(depthAt(60, 55), 1000 - 399);
    EXPECT_EQ(pixel(60, 6), 0x00123B2Au);  // 0x00102030 blended towards 0xFF20FF00 by 32
    struct Rim {
        int x, y, quadrant, row, col;
    };
    const Rim rims[] = {
        {60, 6, QuadUpLeft, 255, 0},     // top
        {11, 55, QuadUpLeft, 0, 255},    // left
        {109, 55, QuadUpRight, 0, 255},  // right
        {60, 104, QuadDownLeft, 255, 0}, // bottom
    };
    for (const Rim& rim : rims) {
        SCOPED_TRACE(::testing::Message() << "(" << rim.x << ", " << rim.y << ")");
        EXPECT_EQ(pixel(rim.x, rim.y), lerpColour(background, patternTexel(rim.quadrant, rim.row, rim.col), 32));
        EXPECT_EQ(depthAt(rim.x, rim.y), 1000 - 25);
    }
    // The square's corners lie outside the ball.
    for (const int x : {11, 109})
        for (const int y : {6, 104}) {
            EXPECT_EQ(pixel(x, y), background);
            EXPECT_EQ(depthAt(x, y), depthClearValue);
        }
}

TEST_F(DepthBallTest, Radius1BallBlendsItsSinglePixelWithWeight7) {
    placeBall(5, 7, 1, -40);
    drawDepthBall();
    EXPECT_EQ(pixel(5, 7), lerpColour(background, patternTexel(QuadUpLeft, 0, 0), 224));
    EXPECT_EQ(depthAt(5, 7), -47);
    for (const auto& [x, y] : {std::pair{4, 7}, std::pair{6, 7}, std::pair{5, 6}, std::pair{5, 8}}) {
        EXPECT_EQ(pixel(x, y), background);
        EXPECT_EQ(depthAt(x, y), depthClearValue);
    }
}

// pixelRadius 2: the five pixels inside the ball use floor -777 and no
// divisor; their depths keep the real heights (15 at the centre, 1 on the
// arms); the corners are outside the ball.
TEST_F(DepthBallTest, ThreeByThreeBallUsesFloor777AndNoDivisor) {
    struct Case {
        const char* name;
        std::int32_t stored;  // depth of the whole buffer before the ball
        int armWeight;        // 32 w of the arm pixels; 256 = written whole
    };
    const Case cases[] = {
        {"cleared buffer: held at -777, drawn whole", depthClearValue, 256},
        // The arms lie 5 in front (without the divisor; E 14 would give 0),
        // the centre 19.
        {"buffer at centre depth + 4", 304, 32 * 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resizeFrame(16, 16);
        std::fill(depths.begin(), depths.end(), c.stored);
        placeBall(8, 8, 2, 300);
        drawDepthBall();
        const auto shaded = [&c](std::uint32_t texelColour) {
            return c.armWeight == 256 ? texelColour : lerpColour(background, texelColour, c.armWeight);
        };
        EXPECT_EQ(pixel(8, 8), patternTexel(QuadUpLeft, 0, 0));
        EXPECT_EQ(depthAt(8, 8), 285);
        EXPECT_EQ(pixel(8, 7), shaded(patternTexel(QuadUpLeft, 255, 0)));
        EXPECT_EQ(pixel(7, 8), shaded(patternTexel(QuadUpLeft, 0, 255)));
        EXPECT_EQ(pixel(9, 8), shaded(patternTexel(QuadUpRight, 0, 255)));
        EXPECT_EQ(pixel(8, 9), shaded(patternTexel(QuadDownLeft, 255, 0)));
        for (const auto& [x, y] : {std::pair{8, 7}, std::pair{7, 8}, std::pair{9, 8}, std::pair{8, 9}})
            EXPECT_EQ(depthAt(x, y), 299);
        for (const int x : {7, 9})
            for (const int y : {7, 9}) {
                EXPECT_EQ(pixel(x, y), background);
                EXPECT_EQ(depthAt(x, y), c.stored);
            }
    }
}

// A second ball only shows where it lies in front of the first one's
// stored depth: at the same depth or behind it draws nothing; one unit in
// front it blends its centre by 32 but its rim (divisor 14) not at all.
TEST_F(DepthBallTest, SecondBallShowsOnlyWhereItIsInFrontOfTheFirst) {
    struct Case {
        const char* name;
        int depthStep;  // centre depth of the second ball minus the first's
        bool centreShows;
    };
    const Case cases[] = {{"same depth", 0, false}, {"one unit behind", 1, false}, {"one unit in front", -1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resizeFrame(64, 48);
        fillPattern();
        placeBall(32, 24, 20, 500);
        drawDepthBall();
        const std::vector<std::uint32_t> firstPixels = pixels;
        const std::vector<std::int32_t> firstDepths = depths;

        for (auto* q : quads) std::fill_n(q, quadrantSide * quadrantSide, 0xFFFFFFFFu);
        placeBall(32, 24, 20, 500 + c.depthStep);
        drawDepthBall();

        if (c.centreShows) {
            EXPECT_EQ(pixel(32, 24), lerpColour(patternTexel(QuadUpLeft, 0, 0), 0xFFFFFFFFu, 32));
            EXPECT_EQ(depthAt(32, 24), 500 - 1 - 159);
            pixel(32, 24) = firstPixels[rowOffsets[24] + 32];
            depthAt(32, 24) = firstDepths[rowOffsets[24] + 32];
            EXPECT_EQ(pixel(32, 5), firstPixels[rowOffsets[5] + 32]);  // rim element (255, 0)
        } else {
            EXPECT_EQ(pixels, firstPixels);
            EXPECT_EQ(depths, firstDepths);
        }
    }
}

// A ball whose centre lies 5 pixels left of the viewport draws only its
// right half from column offset 5 on: exactly columns 5..9 of the same ball
// drawn wholly inside.
TEST_F(DepthBallTest, BallLeftOfTheViewportDrawsItsRightHalfFromOffset5) {
    resizeFrame(64, 40);
    placeBall(25, 20, 10, 0);
    drawDepthBall();
    const std::vector<std::uint32_t> wholePixels = pixels;
    const std::vector<std::int32_t> wholeDepths = depths;
    ASSERT_NE(wholePixels[rowOffsets[20] + 30], background);

    resizeFrame(64, 40);
    placeBall(-5, 20, 10, 0);
    drawPlaced();
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 64; ++x) {
            SCOPED_TRACE(::testing::Message() << "(" << x << ", " << y << ")");
            const bool drawn = x <= 4;
            const int whole = rowOffsets[y] + x + 30;
            ASSERT_EQ(pixel(x, y), drawn ? wholePixels[whole] : background);
            ASSERT_EQ(depthAt(x, y), drawn ? wholeDepths[whole] : depthClearValue);
        }
    }
}

// writeDepthPixel on one pixel 0x00204060 with texel 0xFFA0C0E0 and the
// set-up values pixelDepth 100, depthFloor -50: the weight, then alpha,
// tint and intensity in that order.
TEST_F(DepthBallTest, WriteDepthPixelBlendsByOpacityThenTintsThenFades) {
    struct Case {
        const char* name;
        int alpha;
        std::uint32_t tint;
        int intensity;
        std::int32_t divisor;
        std::int32_t stored;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"opaque, held at the floor: the texel itself", 255, noTint, 255, 0, depthClearValue, 0xFFA0C0E0u},
        {"alpha 128: halfway between pixel and texel", 128, noTint, 255, 0, depthClearValue, 0x006080A0u},
        {"alpha 128, then tinted", 128, 0x00FF8000u, 255, 0, depthClearValue, 0x005F4000u},
        {"alpha 128, tinted, then faded to half", 128, 0x00FF8000u, 128, 0, depthClearValue, 0x002F2000u},
        {"alpha 128 two units in front: blended by 64", 128, noTint, 255, 0, 102, 0x00305070u},
        {"divisor 4: -10 / 4 truncates to weight 2", 255, noTint, 255, 4, 110, 0x00406080u},
        {"divisor 16: -10 / 16 is 0, nothing drawn", 255, noTint, 255, 16, 110, 0x00204060u},
        {"divisor 16 at the floor: -50 / 16 gives weight 3", 255, noTint, 255, 16, depthClearValue, 0x00507090u},
        {"divisor 1 divides by nothing", 255, noTint, 255, 1, 103, 0x00507090u},
        {"equal depth: nothing drawn", 128, noTint, 255, 0, 100, 0x00204060u},
        {"behind the stored depth: nothing drawn", 255, noTint, 255, 0, 99, 0x00204060u},
        {"behind a nearest stored depth: nothing drawn", 255, noTint, 255, 0,
         std::numeric_limits<std::int32_t>::min(), 0x00204060u},
        {"far in front of a most distant stored depth", 255, noTint, 255, 0,
         std::numeric_limits<std::int32_t>::max(), 0xFFA0C0E0u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setColours(c.alpha, c.tint, c.intensity);
        rasterState.pixelDepth = 100;
        rasterState.depthFloor = -50;
        rasterState.depthDivisor = c.divisor;
        std::uint32_t p = 0x00204060u;
        std::int32_t z = c.stored;
        writeDepthPixel(&p, &z, 0xFFA0C0E0u);
        EXPECT_EQ(p, c.expected);
        EXPECT_EQ(z, c.expected == 0x00204060u ? c.stored : 100);
    }
}

// The frame and depth buffer one kernel left.
struct Drawn {
    std::vector<std::uint32_t> pixels;
    std::vector<std::int32_t> depths;
};

class DepthBallRandomTest : public DepthBallTest, public KernelRandom {
protected:
    // A ball's opacity and fade may also be 0; its tint is none or any colour.
    int anyWeight() { return chance(40) ? 255 : uniform(0, 255); }
    std::uint32_t anyTint() { return chance(30) ? noTint : anyColour(); }

    // Cleared, near the ball's own depths (partly in front, partly behind,
    // some within the rim softening), or at the ends of the range.
    std::int32_t randomDepth(std::int32_t centreDepth) {
        const int pick = uniform(0, 99);
        if (pick < 30) return depthClearValue;
        using Limits = std::numeric_limits<std::int32_t>;
        if (pick < 33) return chance(50) ? Limits::min() : Limits::max();
        return centreDepth + uniform(-2100, 40);
    }

    void randomFrame(int width, int height, std::int32_t centreDepth) {
        resizeFrame(width, height);
        if (chance(20)) setViewportMargins(uniform(0, 6), uniform(0, 6));
        for (auto& p : pixels) p = anyColour();
        for (auto& z : depths) z = randomDepth(centreDepth);
    }

    // The reference and the fast kernel from the same input.
    void expectSameAsReference(bool clipped, int run) {
        const std::vector<std::uint32_t> pixelsBefore = pixels;
        const std::vector<std::int32_t> depthsBefore = depths;
        const RasterState input = rasterState;
        referenceBall(clipped);
        const Drawn expected{pixels, depths};

        pixels = pixelsBefore;
        depths = depthsBefore;
        rasterState = input;
        (clipped ? drawDepthBallClipped : drawDepthBall)();
        ASSERT_EQ(pixels, expected.pixels) << "run " << run << " clipped " << clipped << " centre (" << input.centreX
                                           << ", " << input.centreY << ") radius " << input.pixelRadius
                                           << " viewport " << viewportWidth << " x " << viewportHeight;
        ASSERT_EQ(depths, expected.depths) << "run " << run;
    }

    // A ball of `radius` with random texels, colours and depth, its square
    // overlapping the viewport of a random frame of the current size.
    void randomBall(int radius) {
        const int span = radius - 1;
        const std::int32_t centreDepth = chance(5) ? (chance(50) ? -(1 << 30) : 1 << 30) : uniform(-9000, 3000);
        fillSampledTexels(quads, span, [this] { return anyColour(); });
        randomFrame(frameWidth, frameHeight, centreDepth);
        // Centres up to the span beyond each edge: the square still overlaps.
        placeBall(uniform(-span, viewportMaxX + span), uniform(-span, viewportMaxY + span), radius, centreDepth);
        setColours(anyWeight(), anyTint(), anyWeight());
    }

    void expectPlacedBallSameAsReference(int run) {
        expectSameAsReference(!insideViewport() || chance(25), run);
    }
};

TEST_F(DepthBallRandomTest, FastKernelsMatchTheReferenceWalk) {
    for (int run = 0; run < 3000; ++run) {
        resizeFrame(uniform(16, 64), uniform(16, 48));
        randomBall(chance(70) ? uniform(1, 12) : uniform(13, 60));
        expectPlacedBallSameAsReference(run);
        if (HasFatalFailure()) return;
    }
}

TEST_F(DepthBallRandomTest, LargestBallsMatchTheReferenceWalk) {
    for (int run = 0; run < 12; ++run) {
        resizeFrame(uniform(300, 560), uniform(300, 560));
        randomBall(uniform(253, 255));
        expectPlacedBallSameAsReference(run);
        if (HasFatalFailure()) return;
    }
}

// On squares wholly inside the viewport the clipped kernel draws exactly
// what the unclipped one does.
TEST_F(DepthBallRandomTest, ClippedAndUnclippedAgreeInsideTheViewport) {
    for (int run = 0; run < 300; ++run) {
        resizeFrame(64, 48);
        const int radius = run < 4 ? run + 1 : uniform(1, 16);
        const int span = radius - 1;
        const std::int32_t centreDepth = uniform(-3000, 3000);
        randomFrame(64, 48, centreDepth);
        placeBall(uniform(span, viewportMaxX - span), uniform(span, viewportMaxY - span), radius, centreDepth);
        setColours(anyWeight(), anyTint(), anyWeight());
        const std::vector<std::uint32_t> pixelsBefore = pixels;
        const std::vector<std::int32_t> depthsBefore = depths;
        const RasterState input = rasterState;
        drawDepthBall();
        const Drawn unclipped{pixels, depths};
        pixels = pixelsBefore;
        depths = depthsBefore;
        rasterState = input;
        drawDepthBallClipped();
        ASSERT_EQ(pixels, unclipped.pixels) << "run " << run;
        ASSERT_EQ(depths, unclipped.depths) << "run " << run;
    }
}

}  // namespace
}  // namespace lumivortex::testing
