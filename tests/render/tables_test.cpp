// Lookup tables of the sprite kernels: resampling offsets, ball heights and
// disc coverage.
#include <gtest/gtest.h>

#include <cstdint>

#include "render/sprite_tables.h"

namespace lumivortex {
namespace {

class TablesTest : public ::testing::Test {
protected:
    void SetUp() override {
        buildOffsetScaleTable();
        buildSphereTable();
    }
    void TearDown() override {
        releaseOffsetScaleTable();
        releaseSphereTable();
        releaseCoverageTables();
    }
};

TEST_F(TablesTest, OffsetScaleRowsMapScreenOffsetsToImageBytes) {
    struct Case {
        int row;
        int offset;
        std::int32_t bytes;
    };
    const Case cases[] = {
        {0, 0, 0},     {1, 0, 0},     {1, 1, 1020},  {2, 0, 0},      {2, 1, 512},   {2, 2, 1020},
        {3, 0, 0},     {3, 1, 340},   {3, 2, 680},   {3, 3, 1020},   {254, 127, 512}, {254, 254, 1020},
        {255, 255, 1020}, {255, 1, 4},
        // Offsets beyond the row's span stay 0.
        {3, 4, 0},     {254, 255, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(offsetScaleRow(c.row)[c.offset], c.bytes) << "row " << c.row << " offset " << c.offset;
    }
}

TEST_F(TablesTest, SphereTableHoldsBallHeightAndRimSoftness) {
    struct Case {
        int i;
        int j;
        std::int32_t depthOffset;
        std::int32_t edgeDivisor;
    };
    const Case cases[] = {
        {0, 0, 2044, 0},   {255, 0, 128, 14}, {0, 255, 128, 14}, {100, 100, 1702, 0},
        {180, 180, 175, 13}, {181, 180, 87, 15}, {200, 159, 0, 0}, {255, 255, 0, 0},
    };
    for (const Case& c : cases) {
        const SphereEntry& e = sphereRow(c.i)[c.j];
        EXPECT_EQ(e.depthOffset, c.depthOffset) << "(" << c.i << ", " << c.j << ")";
        EXPECT_EQ(e.edgeDivisor, c.edgeDivisor) << "(" << c.i << ", " << c.j << ")";
    }
}

TEST_F(TablesTest, RowsAreAlignedForOrCombinedAddressing) {
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(offsetScaleTable) % 1024, 0u);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(sphereTable) % 2048, 0u);
}

// Coverage of the pixel dy rows and dx columns from the centre of the disc
// of q quarter pixels.
std::uint32_t coverageAt(int q, int dy, int dx) {
    const int n = (q + 3) >> 2;
    return (coverageTables[n][dy * n + dx] >> (8 * ((q - 1) & 3))) & 0xFFu;
}

TEST_F(TablesTest, CentreCoverageGrowsWithTheFirstFourQuarterRadii) {
    buildCoverageTables();
    EXPECT_EQ(coverageAt(1, 0, 0), 63u);
    EXPECT_EQ(coverageAt(2, 0, 0), 127u);
    EXPECT_EQ(coverageAt(3, 0, 0), 191u);
    EXPECT_EQ(coverageAt(4, 0, 0), 255u);
}

TEST_F(TablesTest, LargerDiscsAreSolidInsideEmptyOutsideAndSoftAtTheRim) {
    buildCoverageTables();
    for (int q : {5, 9, 40, 401, 1020}) {
        const int n = (q + 3) >> 2;
        const double radius = q / 4.0 - 0.4999;
        for (int dy = 0; dy < n; ++dy) {
            for (int dx = 0; dx < n; ++dx) {
                const std::uint32_t c = coverageAt(q, dy, dx);
                // Pixel square spans [d - 0.5, d + 0.5] on each axis.
                const double nearX = dx == 0 ? 0.0 : dx - 0.5;
                const double nearY = dy == 0 ? 0.0 : dy - 0.5;
                const double farX = dx + 0.5;
                const double farY = dy + 0.5;
                if (farX * farX + farY * farY < radius * radius) {
                    ASSERT_EQ(c, 255u) << "q " << q << " (" << dx << ", " << dy << ")";
                } else if (nearX * nearX + nearY * nearY > radius * radius) {
                    ASSERT_EQ(c, 0u) << "q " << q << " (" << dx << ", " << dy << ")";
                } else {
                    // A partly covered pixel counts 1..15 of 16 samples (or
                    // all / none when its diagonal corners agree).
                    ASSERT_TRUE(c == 0 || c == 255 || (c % 16 == 15)) << c;
                }
            }
        }
    }
}

TEST_F(TablesTest, CoverageTablesAreBuiltOnceAndRebuiltAfterRelease) {
    buildCoverageTables();
    std::uint32_t* first = coverageTables[100];
    const std::uint32_t sample = coverageTables[100][99 * 100 + 0];
    buildCoverageTables();
    EXPECT_EQ(coverageTables[100], first);  // a second call allocates nothing
    releaseCoverageTables();
    EXPECT_FALSE(coverageTablesBuilt);
    EXPECT_EQ(coverageTables[100], nullptr);
    buildCoverageTables();
    EXPECT_TRUE(coverageTablesBuilt);
    EXPECT_EQ(coverageTables[100][99 * 100 + 0], sample);
}

}  // namespace
}  // namespace lumivortex
