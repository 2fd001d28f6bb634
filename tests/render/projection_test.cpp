// Projection of a particle to a sprite on screen: perspective, depth fade,
// age curve, radii, placement, clipping set-up and the kernel dispatch.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "math/projection.h"
#include "particles/draw_list.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_projection.h"
#include "render/sprite_tables.h"

namespace lumivortex {
namespace {

// Records the calls of the kernels a test sprite is given.
struct KernelSpy {
    int unclippedCalls = 0;
    int clippedCalls = 0;
    RasterState seen{};
};
KernelSpy spy;

void spyUnclipped() {
    ++spy.unclippedCalls;
    spy.seen = rasterState;
}
void spyClipped() {
    ++spy.clippedCalls;
    setupClip();
    spy.seen = rasterState;
}

class ProjectionTest : public ::testing::Test {
protected:
    static constexpr int width = 800;
    static constexpr int height = 600;

    void SetUp() override {
        buildOffsetScaleTable();
        // The application's projection settings on an 800 x 600 viewport.
        zoomLimit = 5.0;
        setPerspective(-115.0, -1.0);
        setDepthFade(500.0, -115.0, 0);  // tests switch the fade on
        pixels.assign(width * height, 0u);
        framePixels = pixels.data();
        for (int y = 0; y < height; ++y) rowOffsets[y] = y * width;
        viewportWidth = width;
        viewportHeight = height;
        viewportMaxX = width - 1;
        viewportMaxY = height - 1;
        projectionScale = 1.0;
        rasterState.screenCentreX = width / 2;
        rasterState.screenCentreY = height / 2;
        minPixelRadius = 0;
        depthSort = 1;
        activeAgeCurveMode = 1002;
        activeAgeCurveHook = nullptr;
        entry = DrawEntry{0, 0, 0, 0, 0, {0, 0, 0}, 0.1, 0xFFFFFFFF};
        currentEntry = &entry;
        sprite = Sprite{0x30002, 0xFFFFFFFF, 1, 1.0, 1.0, 0.0, 0.0, {}, -9, spyClipped, spyUnclipped};
        spy = KernelSpy{};
    }
    void TearDown() override {
        framePixels = nullptr;
        currentEntry = nullptr;
        minPixelRadius = 0;
        releaseOffsetScaleTable();
    }

    // Projects `sprite` for `entry` with full tint and alpha, as the render
    // loop starts each sprite.
    int project(double x, double y, double z, std::uint32_t tint = noTint, int alpha = 255) {
        rasterState.tintColour = tint;
        rasterState.alpha = alpha;
        entry.position = {x, y, z};
        return projectSprite(&sprite, x, y, z);
    }

    std::vector<std::uint32_t> pixels;
    DrawEntry entry{};
    Sprite sprite{};
};

TEST_F(ProjectionTest, PerspectiveScalesByDistanceUpToTheZoomLimit) {
    EXPECT_DOUBLE_EQ(perspectiveFactor(0.0), 1.0);
    EXPECT_DOUBLE_EQ(perspectiveFactor(230.0), 0.5);
    EXPECT_DOUBLE_EQ(perspectiveFactor(-218.5), 5.0);
    EXPECT_DOUBLE_EQ(perspectiveFactor(-1000.0), 5.0);
}

TEST_F(ProjectionTest, ParticlesBeyondTheNearLimitStopTheFrame) {
    EXPECT_EQ(project(0, 0, -218.6), 1);
    EXPECT_EQ(spy.unclippedCalls + spy.clippedCalls, 0);
    depthSort = 0;
    EXPECT_EQ(project(0, 0, -218.6), 0);  // unsorted: only this one is skipped
    EXPECT_EQ(project(0, 0, nearLimit), 0);
    EXPECT_EQ(spy.unclippedCalls, 1);  // exactly at the limit is drawn
}

TEST_F(ProjectionTest, TheWorkedExampleGivesANineteenPixelSquare) {
    ASSERT_EQ(project(0, 0, 0), 0);
    ASSERT_EQ(spy.unclippedCalls, 1);
    EXPECT_EQ(spy.seen.outerQuarterRadius, 40);
    EXPECT_EQ(spy.seen.pixelRadius, 10);
    EXPECT_EQ(spy.seen.spanRadius, 9);
    EXPECT_EQ(spy.seen.centreX, 400);
    EXPECT_EQ(spy.seen.centreY, 300);
    EXPECT_EQ(spy.seen.right - spy.seen.left + 1, 19);
    EXPECT_EQ(spy.seen.scaleRow, offsetScaleRow(9));
    EXPECT_EQ(spy.seen.intensity, 255);
    EXPECT_EQ(spy.seen.alpha, 255);
    EXPECT_EQ(spy.seen.spriteColour, 0xFFFFFFFFu);
}

TEST_F(ProjectionTest, RadiiHonourTheMinimumAndTheCap) {
    minPixelRadius = 2;
    entry.size = 0.001;  // R = 0.4
    project(0, 0, 0);
    EXPECT_EQ(spy.seen.pixelRadius, 2);
    EXPECT_EQ(spy.seen.outerQuarterRadius, 8);

    minPixelRadius = 0;
    entry.size = 10.0;  // R = 4000
    project(0, 0, 0);
    EXPECT_EQ(spy.seen.pixelRadius, 255);
    EXPECT_EQ(spy.seen.outerQuarterRadius, 4000);

    entry.size = 0.0;  // no minimum: nothing to draw
    spy = KernelSpy{};
    project(0, 0, 0);
    EXPECT_EQ(spy.unclippedCalls + spy.clippedCalls, 0);
}

TEST_F(ProjectionTest, InnerCirclesStayTwoQuarterPixelsInside) {
    struct Case {
        double size;
        double inner;
        double core;
        int outer;
        int innerExpected;
        int coreExpected;
    };
    const Case cases[] = {
        {0.025, 0.95, 0.0, 10, 8, 0},   // i = 10, pulled to t - 2
        {0.0025, 0.95, 0.0, 1, 0, 0},   // t - 2 < 0 gives none
        {0.1, 0.5, 0.45, 40, 20, 18},
        {0.1, 0.5, 0.49, 40, 20, 18},   // c = 20, pulled to i - 2
        {0.1, 0.0, 0.5, 40, 0, 0},      // no inner circle leaves no room for a core
    };
    for (const Case& c : cases) {
        entry.size = c.size;
        sprite.innerFraction = c.inner;
        sprite.coreFraction = c.core;
        project(0, 0, 0);
        EXPECT_EQ(spy.seen.outerQuarterRadius, c.outer) << c.size;
        EXPECT_EQ(spy.seen.innerQuarterRadius, c.innerExpected) << c.size << " " << c.inner;
        EXPECT_EQ(spy.seen.coreQuarterRadius, c.coreExpected) << c.size << " " << c.core;
    }
}

TEST_F(ProjectionTest, DepthFadeCurves) {
    fadeMode = 1000;
    const double start = fadeStart;
    const double length = fadeLength;
    EXPECT_DOUBLE_EQ(depthFade(start - 10.0), 1.0);
    EXPECT_DOUBLE_EQ(depthFade(start), 1.0);
    EXPECT_DOUBLE_EQ(depthFade(start + length / 2), 5.0 / 16.0);
    EXPECT_DOUBLE_EQ(depthFade(start + length), 0.0);
    EXPECT_DOUBLE_EQ(depthFade(start + 2 * length), 0.0);
    fadeMode = 1001;
    EXPECT_DOUBLE_EQ(depthFade(start + length / 2), 25.0 / 256.0);
    fadeMode = 7;
    EXPECT_DOUBLE_EQ(depthFade(start + length / 4), 0.75);
    EXPECT_DOUBLE_EQ(depthFade(start + length + 1), 0.0);
}

TEST_F(ProjectionTest, IntensityComesFromTheFadeAndTheSpriteDivisor) {
    const double halfway = fadeStart + fadeLength / 2;
    struct Case {
        int mode;
        double divisor;
        double z;
        int intensity;  // -1: skipped
    };
    const Case cases[] = {
        {1000, 1.0, halfway, 80},            // trunc(255 * 5/16 + 0.5)
        {1000, 0.5, halfway, 159},           // trunc(255 * 5/8 + 0.5)
        {1000, 0.25, halfway, 255},          // held at 1
        {1000, 0.0, halfway, 255},           // divisor 0: any fade is full
        {1000, 0.0, fadeStart + fadeLength, -1},  // ... and no fade stays none
        {1000, 1.0, fadeStart + fadeLength + 5, -1},
        {0, 1.0, fadeStart + fadeLength + 5, 255},  // fading off
    };
    for (const Case& c : cases) {
        fadeMode = c.mode;
        sprite.fadeDivisor = c.divisor;
        spy = KernelSpy{};
        project(0, 0, c.z);
        if (c.intensity < 0) {
            EXPECT_EQ(spy.unclippedCalls + spy.clippedCalls, 0) << c.divisor << " " << c.z;
        } else {
            EXPECT_EQ(spy.seen.intensity, c.intensity) << c.divisor << " " << c.z;
        }
    }
}

TEST_F(ProjectionTest, AgeCurvesByMode) {
    entry.lifetime = 100;
    entry.lifeLeft = 25;  // r = 1/4
    struct Case {
        int mode;
        double value;
    };
    const double s = 0.125;
    const double smooth = s * s * (6 - 4 * s);
    const Case cases[] = {
        {1, 0.25},
        {1000, smooth},
        {1001, smooth * smooth},
        {1002, 0.25 * 0.25 * 2.5},
        {1003, 0.25 / (0.25 + 0.75 * 0.5)},
        {1004, 0.25 / (0.25 + 0.75 * 0.25)},
        {1005, 0.25 / (0.25 + 0.75 * (1 - 0.93))},
        {1006, 0.25 / (0.25 + 0.75 * (1 - 0.99))},
        {1007, 1.0},
        {42, 1.0},
    };
    for (const Case& c : cases) {
        activeAgeCurveMode = c.mode;
        EXPECT_DOUBLE_EQ(ageCurve(), c.value) << c.mode;
    }
    entry.lifeLeft = 0;
    activeAgeCurveMode = 1007;
    EXPECT_EQ(ageCurve(), 0.0);
    entry.lifetime = 0;
    EXPECT_EQ(ageCurve(), 0.0);

    entry.lifetime = 100;
    activeAgeCurveHook = [](const DrawEntry* e) { return e->lifeLeft == 0 ? 0.75 : 0.0; };
    EXPECT_EQ(ageCurve(), 0.75);
}

TEST_F(ProjectionTest, AlphaFadesWithRemainingLife) {
    activeAgeCurveMode = 1;
    entry.lifetime = 100;
    struct Case {
        int lifeLeft;
        int spriteAlpha;
        int alpha;  // 0: skipped
    };
    const Case cases[] = {{100, 255, 255}, {50, 255, 128}, {50, 200, 100}, {1, 255, 3}, {0, 255, 0}};
    for (const Case& c : cases) {
        entry.lifeLeft = c.lifeLeft;
        spy = KernelSpy{};
        project(0, 0, 0, noTint, c.spriteAlpha);
        if (c.alpha == 0) {
            EXPECT_EQ(spy.unclippedCalls, 0);
        } else {
            EXPECT_EQ(spy.seen.alpha, c.alpha) << c.lifeLeft;
        }
    }
    // Without a lifetime the alpha stays full; a hook cannot push it past 255.
    entry.lifetime = 0;
    project(0, 0, 0);
    EXPECT_EQ(spy.seen.alpha, 255);
    entry.lifetime = 100;
    activeAgeCurveHook = [](const DrawEntry*) { return 3.0; };
    project(0, 0, 0);
    EXPECT_EQ(spy.seen.alpha, 255);
}

TEST_F(ProjectionTest, AddingOrSubtractingBlackIsSkipped) {
    for (std::uint32_t kind : {0x30002u, 0x30003u}) {
        sprite.kind = kind;
        spy = KernelSpy{};
        project(0, 0, 0, 0x00000000);
        EXPECT_EQ(spy.unclippedCalls, 0) << std::hex << kind;
    }
    sprite.kind = 0x30004;
    project(0, 0, 0, 0x00000000);
    EXPECT_EQ(spy.unclippedCalls, 1);
}

TEST_F(ProjectionTest, SquaresCrossingTheEdgeAreClippedAndThoseOutsideRejected) {
    // pixelRadius 10, spanRadius 9; the centre lands at X = 400 + x.
    project(-405.5, 0, 0);  // X = trunc(-5.5 + 0.5) = -5: the right half reaches in
    ASSERT_EQ(spy.clippedCalls, 1);
    EXPECT_EQ(spy.seen.leftActive, 0);
    EXPECT_EQ(spy.seen.rightActive, 1);
    EXPECT_EQ(spy.seen.firstCol, 5);
    EXPECT_EQ(spy.seen.colsRightBytes, 36);  // the right half is wholly inside

    spy = KernelSpy{};
    project(-410.5, 0, 0);  // X = -10: right edge at -1
    EXPECT_EQ(spy.clippedCalls + spy.unclippedCalls, 0);
    project(0, 300 + 9, 0);  // Y = 609: top edge at 600
    EXPECT_EQ(spy.clippedCalls + spy.unclippedCalls, 0);
    project(-391, -291, 0);  // left and top edges exactly at 0
    EXPECT_EQ(spy.unclippedCalls, 1);
}

TEST_F(ProjectionTest, ScreenPositionRoundsTowardZeroForNegativeValues) {
    project(-0.7, 0.4, 0);  // 399.3 + 0.5 and 300.4 + 0.5
    EXPECT_EQ(spy.seen.centreX, 399);
    EXPECT_EQ(spy.seen.centreY, 300);
    project(-401.7, 0, 0);  // -1.7 + 0.5 truncates to -1, not down to -2
    EXPECT_EQ(spy.seen.centreX, -1);
    projectionScale = 0.5;
    project(100.0, -100.0, 0);
    EXPECT_EQ(spy.seen.centreX, 450);
    EXPECT_EQ(spy.seen.centreY, 250);
    EXPECT_EQ(spy.seen.pixelRadius, 5);  // R = 20
}

TEST_F(ProjectionTest, SinglePixelsAreTintedFadedAndRejectedOutsideTheViewport) {
    sprite.kind = 0x10000;
    sprite.colour = 0xFF7FC8FF;
    sprite.unclippedKernel = plotPixel;
    project(0, 0, 0);
    EXPECT_EQ(pixels[300 * width + 400], 0xFF7FC8FFu);  // untinted: the sprite colour

    project(1, 0, 0, 0xFF808080);
    EXPECT_EQ(pixels[300 * width + 401], modulateColour(0xFF7FC8FF, 0xFF808080));

    fadeMode = 1000;
    project(2, 0, fadeStart + fadeLength / 2);  // intensity 80, perspective < 1
    const int x = 400 + static_cast<int>(2 * perspectiveFactor(fadeStart + fadeLength / 2) + 0.5);
    EXPECT_EQ(pixels[300 * width + x], lerpColour(0xFF000000, 0xFF7FC8FF, 80));

    sprite.unclippedKernel = spyUnclipped;
    spy = KernelSpy{};
    project(-401.5, 0, 0);  // X = trunc(-1.5 + 0.5) = -1
    project(400, 0, 0);   // X = 800
    project(0, -301.5, 0);  // Y = -1
    EXPECT_EQ(spy.unclippedCalls, 0);
    project(-400, -300, 0);  // (0, 0)
    EXPECT_EQ(spy.unclippedCalls, 1);
}

TEST_F(ProjectionTest, ImageFamiliesGetADepthAndTheTinyBallFlag) {
    sprite.kind = 0x20001;
    project(0, 0, 0);
    EXPECT_EQ(spy.seen.tinyBall, 0);
    EXPECT_EQ(spy.seen.centreDepth, 0);  // trunc(-0.5)
    project(0, 0, 100);  // o = 230 / 330, depth 8 z o
    EXPECT_EQ(spy.seen.centreDepth, static_cast<int>(8 * 100 * (230.0 / 330.0) - 0.5));
    minPixelRadius = 2;
    entry.size = 0.001;
    project(0, 0, 0);
    EXPECT_EQ(spy.seen.tinyBall, 1);
}

struct ClipCase {
    const char* what;
    int centreX, centreY, span;
    int rowsUp, rowsDown, colsLeftBytes, colsRightBytes, firstRow, firstCol;
    int up, down, leftSide, rightSide;
};

TEST_F(ProjectionTest, SetupClipDerivesTheVisiblePartOfTheSquare) {
    viewportMaxX = 99;
    viewportMaxY = 79;
    const ClipCase cases[] = {
        {"inside", 50, 40, 5, 5, 5, 20, 20, 0, 0, 1, 1, 1, 1},
        {"near top left", 2, 1, 5, 1, 5, 8, 20, 0, 0, 1, 1, 1, 1},
        {"centre above", 50, -3, 5, -3, 5, 20, 20, 3, 0, 0, 1, 1, 1},
        {"centre below", 50, 82, 5, 5, -3, 20, 20, 3, 0, 1, 0, 1, 1},
        {"centre left", -4, 40, 6, 6, 6, -16, 24, 0, 4, 1, 1, 0, 1},
        {"centre right", 102, 40, 6, 6, 6, 24, -12, 0, 3, 1, 1, 1, 0},
        {"centre on last row", 50, 79, 5, 5, 0, 20, 20, 0, 0, 1, 1, 1, 1},
    };
    for (const ClipCase& c : cases) {
        RasterState& rs = rasterState;
        rs.centreX = c.centreX;
        rs.centreY = c.centreY;
        rs.spanRadius = c.span;
        rs.left = c.centreX - c.span;
        rs.right = c.centreX + c.span;
        rs.top = c.centreY - c.span;
        rs.bottom = c.centreY + c.span;
        setupClip();
        EXPECT_EQ(rs.rowsUp, c.rowsUp) << c.what;
        EXPECT_EQ(rs.rowsDown, c.rowsDown) << c.what;
        EXPECT_EQ(rs.colsLeftBytes, c.colsLeftBytes) << c.what;
        EXPECT_EQ(rs.colsRightBytes, c.colsRightBytes) << c.what;
        EXPECT_EQ(rs.firstRow, c.firstRow) << c.what;
        EXPECT_EQ(rs.firstCol, c.firstCol) << c.what;
        EXPECT_EQ(rs.upActive, c.up) << c.what;
        EXPECT_EQ(rs.downActive, c.down) << c.what;
        EXPECT_EQ(rs.leftActive, c.leftSide) << c.what;
        EXPECT_EQ(rs.rightActive, c.rightSide) << c.what;
        EXPECT_EQ(rs.pixelY, c.firstRow) << c.what;
        EXPECT_GE(rs.left, 0);
        EXPECT_LE(rs.bottom, 79);
    }
}

}  // namespace
}  // namespace lumivortex
