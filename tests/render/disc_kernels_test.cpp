// Disc coverage kernels: cursor selection, the worked examples (tiny discs,
// a ring row through its hole, the alpha mode's faint edge and exact top
// byte), the bound at the end of the coverage tables, and the sixteen fast
// kernels against a plain per-pixel reference walk on random sprites.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "kernel_test_support.h"
#include "math/colour.h"
#include "render/kernels/coverage_cursor.h"
#include "render/kernels/disc_kernels.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex::testing {
namespace {

SpriteKernel discKernel(KernelMode mode, bool clipped) {
    switch (mode) {
    case KernelMode::Add: return clipped ? drawDiscAddClipped : drawDiscAdd;
    case KernelMode::Subtract: return clipped ? drawDiscSubtractClipped : drawDiscSubtract;
    case KernelMode::Multiply: return clipped ? drawDiscMultiplyClipped : drawDiscMultiply;
    case KernelMode::Alpha: return clipped ? drawDiscAlphaClipped : drawDiscAlpha;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Reference walk: the kernels' steps one by one, per pixel, with quadrant
// flags tested at every pixel and the coverage read straight from the tables.

// Coverage of pixel (dx, dy) by the circle of q quarter pixels.
int tableCoverage(int q, int dy, int dx) {
    const int n = (q + 3) >> 2;
    return static_cast<int>((coverageTables[n][dy * n + dx] >> (8 * ((q - 1) & 3))) & 0xFF);
}

void referenceSetUp(KernelMode mode) {
    RasterState& rs = rasterState;
    const std::uint32_t base =
        rs.tintColour == noTint ? rs.spriteColour : modulateColour(rs.spriteColour, rs.tintColour);
    switch (mode) {
    case KernelMode::Add:
    case KernelMode::Subtract:
        rs.intensity = rs.alpha * rs.intensity / 255;
        rs.solidColour = rs.intensity == 255 ? base : scaleChannels(base, rs.intensity);
        break;
    case KernelMode::Multiply:
        rs.intensity = rs.alpha * rs.intensity / 255;
        rs.solidColour = rs.intensity == 255 ? base : lerpColour(0x00FFFFFFu, base, rs.intensity);
        break;
    case KernelMode::Alpha:
        rs.solidColour = rs.intensity == 255 ? base : lerpColour(0xFF000000u, base, rs.intensity);
        break;
    }
}

// The pixel operation for coverage w (alpha mode: scaled weight wp).
void referencePixel(KernelMode mode, std::uint32_t& p, int w, int wp) {
    const std::uint32_t solid = rasterState.solidColour;
    switch (mode) {
    case KernelMode::Add: p = addColour(p, w == 255 ? solid : scaleChannels(solid, w)); break;
    case KernelMode::Subtract: p = subtractColour(p, w == 255 ? solid : scaleChannels(solid, w)); break;
    case KernelMode::Multiply: p = modulateColour(p, w == 255 ? solid : lerpColour(0x00FFFFFFu, solid, w)); break;
    case KernelMode::Alpha: p = wp == 255 ? solid : lerpColour(p, solid, wp); break;
    }
}

std::uint32_t& framePixel(int x, int y) { return framePixels[rowOffsets[y] + x]; }

void referenceDisc(KernelMode mode, bool clipped) {
    RasterState& rs = rasterState;
    referenceSetUp(mode);
    const int r = rs.spanRadius;
    const int cx = rs.centreX;
    const int cy = rs.centreY;
    if (!clipped && r == 0) {
        referencePixel(mode, framePixel(cx, cy), 255, rs.alpha);
        return;
    }
    referenceLimits(clipped);
    const int outer = rs.outerQuarterRadius;
    const int inner = rs.innerQuarterRadius;
    const int core = rs.coreQuarterRadius;
    const int innerRows = inner != 0 ? (inner + 3) >> 2 : 0;
    const int coreRows = core != 0 ? (core + 3) >> 2 : 0;
    for (int dy = rs.firstRow;; ++dy) {
        bool ul = false, ur = false, dl = false, dr = false;
        if (rs.upActive) {
            ul = rs.leftActive;
            ur = rs.rightActive;
            rs.upActive = dy != rs.rowsUp;
        }
        if (rs.downActive) {
            if (dy != 0) {
                dl = rs.leftActive;
                dr = rs.rightActive;
            }
            rs.downActive = dy != rs.rowsDown;
        }
        const int rowInner = dy < innerRows ? innerRows : 0;
        const int rowCore = dy < coreRows ? coreRows : 0;
        for (int dx = rs.firstCol;; ++dx) {
            const int a = tableCoverage(outer, dy, dx);
            if (a == 0) break;
            int w = a;
            if (dx < rowInner) w -= tableCoverage(inner, dy, dx);
            if (dx < rowCore) w += tableCoverage(core, dy, dx);
            if (w != 0) {
                int wp = w;
                if (mode == KernelMode::Alpha) {
                    wp = rs.alpha == 255 ? w : w * rs.alpha / 255;
                    if (wp == 0) break;
                }
                if (ul) referencePixel(mode, framePixel(cx - dx, cy - dy), w, wp);
                if (dl) referencePixel(mode, framePixel(cx - dx, cy + dy), w, wp);
                if (dx != 0) {
                    if (ur) referencePixel(mode, framePixel(cx + dx, cy - dy), w, wp);
                    if (dr) referencePixel(mode, framePixel(cx + dx, cy + dy), w, wp);
                }
            }
            ul = ul && 4 * dx != rs.colsLeftBytes;
            dl = dl && 4 * dx != rs.colsLeftBytes;
            ur = ur && 4 * dx != rs.colsRightBytes;
            dr = dr && 4 * dx != rs.colsRightBytes;
            if (!ul && !ur && !dl && !dr) break;
        }
        if (!rs.upActive && !rs.downActive) break;
    }
}

// ---------------------------------------------------------------------------

class DiscKernelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { buildCoverageTables(); }
    static void TearDownTestSuite() { releaseCoverageTables(); }

    void SetUp() override {
        resizeFrame(40, 32, background);
        rasterState = RasterState{};
        setColours(noTint, 0xFFFFFFFFu, 255, 255);
    }

    void TearDown() override { framePixels = nullptr; }

    void resizeFrame(int w, int h, std::uint32_t fill) { useFrame(pixels, w, h, fill); }

    // What projectSprite and the image dispatcher write before a kernel runs:
    // pixelRadius follows the quarter radius, capped at 255.
    static void placeDisc(int centreX, int centreY, int outer, int inner = 0, int core = 0) {
        RasterState& rs = rasterState;
        rs.outerQuarterRadius = outer;
        rs.innerQuarterRadius = inner;
        rs.coreQuarterRadius = core;
        rs.pixelRadius = std::min((outer + 3) >> 2, 255);
        placeSquare(centreX, centreY, rs.pixelRadius - 1);
    }

    static void setColours(std::uint32_t tint, std::uint32_t spriteColour, int alpha, int intensity) {
        rasterState.tintColour = tint;
        rasterState.spriteColour = spriteColour;
        rasterState.alpha = alpha;
        rasterState.intensity = intensity;
    }

    // Draws with the kernel and returns the frame; the frame and raster state
    // are restored afterwards.
    std::vector<std::uint32_t> drawn(SpriteKernel kernel) { return drawOutcome(pixels, kernel).frame; }

    // Whether any pixel of viewport row y differs from the background.
    static bool rowChanged(const std::vector<std::uint32_t>& frame, int y) {
        for (int x = 0; x <= viewportMaxX; ++x)
            if (frame[rowOffsets[y] + x] != background) return true;
        return false;
    }

    // The background after the add kernel drew opaque white with coverage w.
    static std::uint32_t whiteAdded(int w) {
        return addColour(background, w == 255 ? 0xFFFFFFu : scaleChannels(0xFFFFFFu, w));
    }

    static constexpr std::uint32_t background = 0x5A102030u;  // a top byte that kernels clear
    std::vector<std::uint32_t> pixels;
};

// ---------------------------------------------------------------------------
// Cursors.

TEST_F(DiscKernelTest, CursorSelectsTableAndLaneOfTheQuarterRadius) {
    struct Case {
        int q, size, lane;
    };
    // 10: a circle of 3 - 2/4 - 0.4999 pixels, table 3, lane 1. Beyond 1020
    // there is no table: such radii read the last lane of the last table.
    const Case cases[] = {{1, 1, 0},      {4, 1, 3},      {5, 2, 0},      {8, 2, 3},     {10, 3, 1},
                          {1017, 255, 0}, {1020, 255, 3}, {1021, 255, 3}, {4000, 255, 3}};
    struct Selector {
        void (*select)(std::int32_t);
        const CoverageCursor* cursor;
    };
    const Selector selectors[] = {{selectOuterCoverage, &outerCursor},
                                  {selectInnerCoverage, &innerCursor},
                                  {selectCoreCoverage, &coreCursor}};
    for (const Selector& s : selectors) {
        for (const Case& c : cases) {
            s.select(c.q);
            const CoverageCursor& cur = *s.cursor;
            SCOPED_TRACE(c.q);
            EXPECT_EQ(cur.size, c.size);
            EXPECT_EQ(cur.lane, c.lane);
            EXPECT_EQ(cur.shift, 8 * c.lane);
            EXPECT_EQ(cur.laneMask, 0xFFu << (8 * c.lane));
            EXPECT_EQ(cur.stride, 4 * c.size);
            EXPECT_EQ(cur.table, coverageTables[c.size]);
        }
    }
    selectOuterCoverage(10);
    EXPECT_EQ(outerCursor.laneMask, 0x0000FF00u);
    EXPECT_EQ(outerCursor.stride, 12);
}

TEST_F(DiscKernelTest, CursorSkipsRowsOnlyWithinItsTable) {
    selectOuterCoverage(10);
    skipCoverageRows(outerCursor, 2);
    EXPECT_EQ(outerCursor.table, coverageTables[3] + 6);
    selectOuterCoverage(10);
    skipCoverageRows(outerCursor, 3);  // past the last row: the table no longer applies
    EXPECT_EQ(outerCursor.table, coverageTables[3]);
}

// ---------------------------------------------------------------------------
// Tiny discs.

// pixelRadius 1: one pixel in the full colour, without the coverage tables
// (table 1 is swapped for zeros to prove it).
TEST_F(DiscKernelTest, PixelRadiusOneDrawsTheCentreInTheFullColour) {
    std::uint32_t noCoverage = 0;
    std::uint32_t* const unitTable = std::exchange(coverageTables[1], &noCoverage);
    const std::uint32_t colour = 0xFF204080u;
    struct Case {
        KernelMode mode;
        int alpha;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {KernelMode::Add, 255, addColour(background, colour)},
        {KernelMode::Subtract, 255, subtractColour(background, colour)},
        {KernelMode::Multiply, 255, modulateColour(background, colour)},
        {KernelMode::Alpha, 255, colour},
        {KernelMode::Alpha, 128, lerpColour(background, colour, 128)},
    };
    for (int q = 1; q <= 4; ++q) {
        for (const Case& c : cases) {
            placeDisc(10, 12, q);
            setColours(noTint, colour, c.alpha, 255);
            const std::vector<std::uint32_t> frame = drawn(discKernel(c.mode, false));
            for (int y = 0; y <= viewportMaxY; ++y) {
                for (int x = 0; x <= viewportMaxX; ++x) {
                    const std::uint32_t expected = x == 10 && y == 12 ? c.expected : background;
                    ASSERT_EQ(frame[rowOffsets[y] + x], expected)
                        << "q " << q << " " << modeName(c.mode) << " alpha " << c.alpha << " at " << x << "," << y;
                }
            }
        }
    }
    coverageTables[1] = unitTable;
}

// pixelRadius 2: a 3 x 3 square from the 2 x 2 table: entry (0, 0) at the
// centre, (0, 1) and (1, 0) for its neighbours, (1, 1) for the corners, each
// drawn only where its lane is non-zero.
TEST_F(DiscKernelTest, PixelRadiusTwoDrawsTheThreeByThreeSquareFromTheSmallTable) {
    for (int q = 5; q <= 8; ++q) {
        placeDisc(10, 12, q);
        const std::vector<std::uint32_t> frame = drawn(drawDiscAdd);
        for (int y = 8; y <= 16; ++y) {
            for (int x = 6; x <= 14; ++x) {
                const int dx = std::abs(x - 10);
                const int dy = std::abs(y - 12);
                const int w = dx <= 1 && dy <= 1 ? tableCoverage(q, dy, dx) : 0;
                const std::uint32_t expected = w == 0 ? background : whiteAdded(w);
                ASSERT_EQ(frame[rowOffsets[y] + x], expected) << "q " << q << " at " << dx << "," << dy;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Rings.

// The centre row of a ring: pixels of the hole (combined coverage 0) keep
// their value, top byte included, and the walk goes on to the ring beyond.
TEST_F(DiscKernelTest, RingRowThroughTheHoleLeavesTheHoleUntouched) {
    const int outer = 40, inner = 32;  // R = 9, inner table 8 x 8
    for (const bool clipped : {false, true}) {
        placeDisc(15, 15, outer, inner);
        const std::vector<std::uint32_t> frame = drawn(discKernel(KernelMode::Add, clipped));
        int hole = 0, ring = 0;
        for (int dx = 0; dx <= 9; ++dx) {
            const int w = tableCoverage(outer, 0, dx) - (dx < 8 ? tableCoverage(inner, 0, dx) : 0);
            for (const int x : {15 - dx, 15 + dx}) {
                const std::uint32_t p = frame[rowOffsets[15] + x];
                if (w == 0) {
                    EXPECT_EQ(p, background) << "hole at dx " << dx;
                    ++hole;
                } else {
                    EXPECT_EQ(p, whiteAdded(w)) << "ring at dx " << dx;
                    ++ring;
                }
            }
        }
        EXPECT_GT(hole, 0);
        EXPECT_GT(ring, 0);
    }
}

// Alpha mode with a faint alpha: where the soft inner edge's scaled coverage
// falls to 0 the row ends, so the ring beyond is not drawn on that row.
// With alpha 255 every row of the ring is drawn.
TEST_F(DiscKernelTest, AlphaModeEndsARingRowAtAFaintInnerEdge) {
    const int outer = 40, inner = 32;  // R = 9, inner table 8 x 8
    // Whether a row is drawn: its first non-zero coverage from the centre
    // must not scale to 0.
    const auto rowDrawn = [&](int dy, int alpha) {
        for (int dx = 0; dx <= 9 && tableCoverage(outer, dy, dx) != 0; ++dx) {
            const int w = tableCoverage(outer, dy, dx) - (dy < 8 && dx < 8 ? tableCoverage(inner, dy, dx) : 0);
            if (w != 0) return w * alpha / 255 != 0;
        }
        return false;
    };
    int cutRows = 0;
    for (const int alpha : {2, 255}) {
        placeDisc(15, 15, outer, inner);
        setColours(noTint, 0xFFFFFFFFu, alpha, 255);
        const std::vector<std::uint32_t> frame = drawn(drawDiscAlpha);
        for (int dy = 0; dy <= 9; ++dy) {
            const bool expected = rowDrawn(dy, alpha);
            if (alpha == 255) {
                EXPECT_TRUE(expected) << "dy " << dy;
            }
            cutRows += !expected;
            EXPECT_EQ(rowChanged(frame, 15 - dy), expected) << "alpha " << alpha << " dy " << dy;
            EXPECT_EQ(rowChanged(frame, 15 + dy), expected) << "alpha " << alpha << " dy " << dy;
        }
    }
    EXPECT_GT(cutRows, 0) << "the faint alpha cuts some row";
    EXPECT_LT(cutRows, 10) << "and leaves others";
}

// Alpha mode: coverage 255 with alpha 255 writes the colour exactly, top
// byte included; with a tint or a fade the colour itself has top byte 0, and
// every partly covered pixel is a blend with top byte 0.
TEST_F(DiscKernelTest, AlphaModeFullCoverageKeepsTheTopByteOfTheColour) {
    struct Case {
        std::uint32_t tint;
        int intensity;
        std::uint32_t centre;
    };
    const std::uint32_t colour = 0xC0123456u;
    const Case cases[] = {
        {noTint, 255, colour},
        {0xFFFFFFFFu, 255, modulateColour(colour, 0xFFFFFFFFu)},
        {noTint, 200, lerpColour(0xFF000000u, colour, 200)},
    };
    for (const Case& c : cases) {
        placeDisc(15, 15, 40);
        setColours(c.tint, colour, 255, c.intensity);
        const std::vector<std::uint32_t> frame = drawn(drawDiscAlpha);
        EXPECT_EQ(frame[rowOffsets[15] + 15], c.centre);
        // The rim of the centre row: partly covered.
        int dx = 0;
        while (dx + 1 < 9 && tableCoverage(40, 0, dx + 1) == 255) ++dx;
        ASSERT_GT(tableCoverage(40, 0, dx + 1), 0);
        EXPECT_EQ(frame[rowOffsets[15] + 15 + dx + 1] >> 24, 0u);
    }
}

// ---------------------------------------------------------------------------
// The end of the coverage tables.

// A quarter radius above 1020 would need a table beyond the last one; the
// disc is drawn at 1020 instead, and a ring's inner circles shrink with it.
TEST_F(DiscKernelTest, QuarterRadiusAbove1020IsDrawnAt1020) {
    resizeFrame(560, 540, background);
    struct Case {
        int outer, inner, core;          // as projected
        int boundInner, boundCore;       // scaled to an outer radius of 1020
    };
    const Case cases[] = {
        {2000, 0, 0, 0, 0},
        {1021, 0, 0, 0, 0},
        {2000, 1900, 0, 969, 0},     // 1900 * 1020 / 2000
        {4000, 3000, 1000, 765, 255},
        {3000, 2998, 2996, 1018, 1016},  // still two quarter pixels apart
    };
    for (const Case& c : cases) {
        for (const int centreX : {280, 100}) {  // wholly inside; crossing the left edge
            for (const bool clipped : {false, true}) {
                if (!clipped && centreX == 100) continue;
                SCOPED_TRACE(::testing::Message() << c.outer << "/" << c.inner << "/" << c.core << " at " << centreX
                                                  << (clipped ? " clipped" : ""));
                placeDisc(centreX, 270, 1020, c.boundInner, c.boundCore);
                const std::vector<std::uint32_t> expected = drawn(discKernel(KernelMode::Add, clipped));
                placeDisc(centreX, 270, c.outer, c.inner, c.core);
                ASSERT_EQ(rasterState.pixelRadius, 255);
                const std::vector<std::uint32_t> frame = drawn(discKernel(KernelMode::Add, clipped));
                EXPECT_EQ(frame, expected);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Clipping.

// A square inside the viewport gives the same frame through the clipped
// kernel as through the unclipped one, for discs and rings in every mode.
TEST_F(DiscKernelTest, ClippedAndUnclippedKernelsAgreeInsideTheViewport) {
    struct Shape {
        int outer, inner, core;
    };
    const Shape shapes[] = {{5, 0, 0}, {37, 0, 0}, {50, 47, 0}, {60, 40, 20}, {6, 4, 2}};
    for (const KernelMode mode : allModes) {
        for (const Shape& s : shapes) {
            placeDisc(19, 15, s.outer, s.inner, s.core);
            setColours(0xFF80C0FFu, 0xE0FF8040u, 200, 230);
            ASSERT_TRUE(insideViewport());
            EXPECT_EQ(drawn(discKernel(mode, true)), drawn(discKernel(mode, false)))
                << modeName(mode) << " " << s.outer << "/" << s.inner << "/" << s.core;
        }
    }
}

// A clipped disc whose first visible column lies outside the circle on the
// top rows draws nothing on those rows.
TEST_F(DiscKernelTest, ClippedRowStartingOutsideTheCircleDrawsNothing) {
    // Centre 6 columns left of the viewport, radius 9: column 0 is dx = 6.
    placeDisc(-6, 15, 40);
    const std::vector<std::uint32_t> frame = drawn(drawDiscAddClipped);
    for (int dy = 0; dy <= 9; ++dy) {
        const bool covered = tableCoverage(40, dy, 6) != 0;
        EXPECT_EQ(rowChanged(frame, 15 - dy), covered) << "dy " << dy;
        EXPECT_EQ(rowChanged(frame, 15 + dy), covered) << "dy " << dy;
    }
}

// ---------------------------------------------------------------------------
// Random sprites against the reference walk.

class DiscKernelRandomTest : public DiscKernelTest, public KernelRandom {
protected:

    // Radii as the projection gives them: each inner circle at least two
    // quarter pixels inside the one around it; a core only inside an inner
    // circle.
    void randomRadii(int& outer, int& inner, int& core) {
        const int pick = uniform(0, 99);
        outer = pick < 10 ? uniform(1, 8) : pick < 80 ? uniform(9, 120) : uniform(121, 1020);
        inner = core = 0;
        if (outer >= 3 && chance(50)) {
            // Often a thin ring like the scene's, else any inner circle.
            const int thinnest = std::clamp(outer * 3 / 4, 1, outer - 2);
            inner = uniform(chance(50) ? thinnest : 1, outer - 2);
        }
        if (inner >= 3 && chance(40)) core = uniform(1, inner - 2);
    }
};

TEST_F(DiscKernelRandomTest, FastKernelsMatchTheReferenceWalk) {
    for (int run = 0; run < 3000; ++run) {
        const KernelMode mode = allModes[run % 4];
        const int w = uniform(16, 64);
        const int h = uniform(16, 48);
        resizeFrame(w, h, 0u);
        for (auto& p : pixels) p = anyColour();

        int outer, inner, core;
        randomRadii(outer, inner, core);
        const int r = std::min((outer + 3) >> 2, 255) - 1;
        // Centres up to r pixels beyond each edge: the square still overlaps.
        placeDisc(uniform(-r, viewportMaxX + r), uniform(-r, viewportMaxY + r), outer, inner, core);
        setColours(randomTint(), anyColour(), randomWeight(), randomWeight());
        const bool clipped = !insideViewport() || chance(20);

        const RasterState input = rasterState;
        const DrawOutcome expected = drawOutcome(pixels, [&] { referenceDisc(mode, clipped); });
        discKernel(mode, clipped)();

        ASSERT_EQ(pixels, expected.frame) << "run " << run << " " << modeName(mode) << (clipped ? " clipped" : "")
                                          << " radii " << outer << "/" << inner << "/" << core << " centre "
                                          << input.centreX << "," << input.centreY << " frame " << w << "x" << h;
        ASSERT_EQ(rasterState.intensity, expected.state.intensity) << "run " << run;
        ASSERT_EQ(rasterState.solidColour, expected.state.solidColour) << "run " << run;
    }
}

}  // namespace
}  // namespace lumivortex::testing
