// The embedded sprite images "SPOT01".."SPOT05": grey levels along the
// radius as tabulated, the same in all four directions, and exactly 0
// beyond radius 255 so that the spot kernels meet their end marker.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>

#include "framebuffer/image_service.h"

namespace lumivortex {
namespace {

struct SpotTable {
    const char* name;
    std::array<int, 17> grey;  // at d = 0, 16, ..., 240, 255
};

constexpr std::array<SpotTable, 5> spotTables{{
    {"SPOT01", {255, 255, 255, 255, 255, 255, 255, 253, 138, 77, 48, 32, 20, 12, 7, 3, 1}},
    {"SPOT02", {255, 255, 255, 176, 128, 100, 79, 63, 49, 37, 28, 20, 14, 10, 7, 3, 1}},
    {"SPOT03", {255, 255, 255, 254, 254, 252, 250, 247, 242, 236, 230, 222, 188, 53, 18, 4, 2}},
    {"SPOT04", {253, 253, 253, 252, 251, 249, 245, 241, 235, 225, 210, 191, 164, 134, 102, 74, 9}},
    {"SPOT05", {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 153, 71, 35, 15, 5, 0}},
}};

constexpr int side = 511;
constexpr int centre = 255;
constexpr int tolerance = 2;  // grey levels the JPEG may move a pixel

class ImageSpotTest : public ::testing::TestWithParam<SpotTable> {
protected:
    void SetUp() override {
        acquireImaging();
        resourceType = resourceTypeBinaryData;
        ASSERT_EQ(loadResourceImage(GetParam().name), 1);
        ASSERT_EQ(lockCurrentImage(), 1);
        ASSERT_EQ(decodedWidth, side);
        ASSERT_EQ(decodedHeight, side);
    }
    void TearDown() override {
        unlockCurrentImage();
        releaseCurrentImage();
        releaseImaging();
        resourceType = resourceTypeBitmap;
    }
    static std::uint32_t pixel(int x, int y) { return decodedPixels[y * side + x]; }
};

TEST_P(ImageSpotTest, GreyLevelsFollowTheTableInEveryDirection) {
    const SpotTable& table = GetParam();
    for (int k = 0; k < 17; ++k) {
        const int d = k < 16 ? 16 * k : 255;
        const std::array<std::uint32_t, 4> samples = {pixel(centre + d, centre), pixel(centre - d, centre),
                                                      pixel(centre, centre + d), pixel(centre, centre - d)};
        for (const std::uint32_t p : samples) {
            const int blue = static_cast<int>(p & 0xFF);
            EXPECT_NEAR(blue, table.grey[k], tolerance) << "d = " << d;
            EXPECT_EQ(p, 0xFF000000u | 0x010101u * static_cast<std::uint32_t>(blue)) << "grey and opaque";
        }
    }
}

TEST_P(ImageSpotTest, EverythingBeyondTheCircleIsZero) {
    int stray = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (std::hypot(x - centre, y - centre) > 255 && pixel(x, y) != 0xFF000000u) ++stray;
        }
    }
    EXPECT_EQ(stray, 0);
}

TEST_P(ImageSpotTest, LevelsBetweenTableEntriesStayBetweenThem) {
    // Monotone interpolation: along the diagonal no level leaves the range
    // of the two neighbouring tabulated values.
    const SpotTable& table = GetParam();
    for (int i = 1; 1.41421356 * i <= 255; ++i) {
        const double d = std::hypot(i, i);
        const int k = static_cast<int>(d / 16);
        const int lo = std::min(table.grey[k], table.grey[k + 1]);
        const int hi = std::max(table.grey[k], table.grey[k + 1]);
        const int blue = static_cast<int>(pixel(centre + i, centre + i) & 0xFF);
        EXPECT_GE(blue, lo - tolerance) << "d = " << d;
        EXPECT_LE(blue, hi + tolerance) << "d = " << d;
    }
}

INSTANTIATE_TEST_SUITE_P(AllSpots, ImageSpotTest, ::testing::ValuesIn(spotTables),
                         [](const ::testing::TestParamInfo<SpotTable>& spot) { return std::string(spot.param.name); });

}  // namespace
}  // namespace lumivortex
