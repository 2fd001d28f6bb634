// The image service: loading embedded resources, the acquire/release
// bracket, locking, and bicubic rescaling with mirrored edges.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framebuffer/image_decoder.h"
#include "framebuffer/image_service.h"

namespace lumivortex {
namespace {

class ImageServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        acquireImaging();
        resourceType = resourceTypeBinaryData;
    }
    void TearDown() override {
        unlockCurrentImage();
        releaseCurrentImage();
        releaseImaging();
        resourceType = resourceTypeBitmap;
        ASSERT_EQ(imagingUserCount(), 0);
    }
};

// A 24-bit bottom-up BMP of one colour.
std::vector<std::uint8_t> uniformBmp(int width, int height, std::uint32_t rgb) {
    const int rowBytes = (3 * width + 3) / 4 * 4;
    const int size = 54 + rowBytes * height;
    std::vector<std::uint8_t> file(static_cast<std::size_t>(size));
    auto put = [&](int at, std::uint32_t v, int count) {
        for (int k = 0; k < count; ++k) file[static_cast<std::size_t>(at + k)] = static_cast<std::uint8_t>(v >> 8 * k);
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, static_cast<std::uint32_t>(size), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) put(54 + y * rowBytes + 3 * x, rgb, 3);
    }
    return file;
}

TEST_F(ImageServiceTest, SpriteJpegDecodesToTopDownArgbRowsOfItsOwnSize) {
    ASSERT_EQ(loadResourceImage("spot02"), 1);  // names match in any case
    ASSERT_EQ(lockCurrentImage(), 1);
    EXPECT_EQ(decodedWidth, 511);
    EXPECT_EQ(decodedHeight, 511);
    EXPECT_EQ(decodedStride, 2044);
    EXPECT_EQ(decodedBytes, 511 * 2044);
    ASSERT_NE(decodedPixels, nullptr);
    const std::uint32_t centre = decodedPixels[255 * 511 + 255];
    EXPECT_EQ(centre, 0xFFFFFFFFu);
    EXPECT_EQ(decodedPixels[0], 0xFF000000u);  // a corner lies outside the spot
    unlockCurrentImage();
    EXPECT_EQ(decodedPixels, nullptr);
}

TEST_F(ImageServiceTest, BitmapResourceDecodesWithTheDefaultType) {
    resourceType = resourceTypeBitmap;
    ASSERT_EQ(loadResourceImage("Lumivortex"), 1);
    ASSERT_EQ(lockCurrentImage(), 1);
    EXPECT_EQ(decodedWidth, 159);
    EXPECT_EQ(decodedHeight, 12);
    EXPECT_EQ(decodedStride, 636);
    for (int i = 0; i < 159 * 12; ++i) ASSERT_EQ(decodedPixels[i] >> 24, 0xFFu) << i;
}

TEST_F(ImageServiceTest, ResizeToOwnSizeLeavesTheImageUntouched) {
    ASSERT_EQ(loadResourceImage("SPOT01"), 1);
    ASSERT_EQ(lockCurrentImage(), 1);
    const std::uint32_t* before = decodedPixels;
    unlockCurrentImage();
    EXPECT_EQ(resizeCurrentImage(511, 511), 1);
    ASSERT_EQ(lockCurrentImage(), 1);
    EXPECT_EQ(decodedPixels, before);
    EXPECT_EQ(decodedWidth, 511);
}

TEST_F(ImageServiceTest, UnknownNameOrTypeLeavesNoCurrentImage) {
    ASSERT_EQ(loadResourceImage("SPOT03"), 1);
    EXPECT_EQ(loadResourceImage("SPOT99"), 0);
    EXPECT_EQ(lockCurrentImage(), 0);
    EXPECT_EQ(decodedPixels, nullptr);
    EXPECT_EQ(resizeCurrentImage(10, 10), 0);

    resourceType = resourceTypeBitmap;  // the sprite images are not bitmap resources
    EXPECT_EQ(loadResourceImage("SPOT03"), 0);
    EXPECT_EQ(lockCurrentImage(), 0);
}

TEST_F(ImageServiceTest, UndecodableBytesGiveZeroAndNoImage) {
    const std::vector<std::uint8_t> good = uniformBmp(4, 4, 0x123456);
    const std::vector<std::vector<std::uint8_t>> cases = {
        {},
        {'B', 'M'},
        {0xFF, 0xD8, 0xFF, 0xE0, 0x00},
        std::vector<std::uint8_t>(good.begin(), good.end() - 1),  // pixel rows cut short
        {'G', 'I', 'F', '8', '9', 'a'},
    };
    for (const std::vector<std::uint8_t>& bytes : cases) {
        ASSERT_EQ(loadImageBytes(good), 1);
        EXPECT_EQ(loadImageBytes(bytes), 0) << bytes.size() << " bytes";
        EXPECT_EQ(lockCurrentImage(), 0);
    }
}

TEST_F(ImageServiceTest, TruncatedJpegIsRefused) {
    const Resource* spot = findResource("SPOT04", resourceTypeBinaryData);
    ASSERT_NE(spot, nullptr);
    for (const std::size_t keep : {spot->data.size() / 2, spot->data.size() - 2, std::size_t{200}}) {
        EXPECT_EQ(loadImageBytes(spot->data.first(keep)), 0) << keep;
    }
}

TEST_F(ImageServiceTest, LoadingOverAnImageReplacesIt) {
    ASSERT_EQ(loadImageBytes(uniformBmp(3, 5, 0x102030)), 1);
    ASSERT_EQ(loadImageBytes(uniformBmp(6, 2, 0x405060)), 1);
    ASSERT_EQ(lockCurrentImage(), 1);
    EXPECT_EQ(decodedWidth, 6);
    EXPECT_EQ(decodedHeight, 2);
    EXPECT_EQ(decodedPixels[11], 0xFF405060u);
}

TEST(ImageServiceBrackets, NestedBracketsKeepTheServiceUntilTheOuterRelease) {
    resourceType = resourceTypeBinaryData;
    EXPECT_EQ(loadResourceImage("SPOT05"), 0);  // outside any bracket
    acquireImaging();
    acquireImaging();
    releaseImaging();
    EXPECT_EQ(imagingUserCount(), 1);
    EXPECT_EQ(loadResourceImage("SPOT05"), 1);
    releaseImaging();  // the last user leaves: the image goes with the service
    EXPECT_EQ(imagingUserCount(), 0);
    EXPECT_EQ(lockCurrentImage(), 0);
    releaseImaging();  // an unmatched release does not go below zero
    EXPECT_EQ(imagingUserCount(), 0);
    acquireImaging();
    EXPECT_EQ(imagingUserCount(), 1);
    releaseImaging();
    resourceType = resourceTypeBitmap;
}

TEST_F(ImageServiceTest, ResizeGivesTheRequestedSizeWithoutDarkRim) {
    // Every pairing of tiny and larger sides, so that the filter also reaches
    // past a whole mirrored copy of the source (read under the sanitizers).
    const int sides[] = {1, 2, 3, 5, 17, 64};
    for (const int sourceWidth : sides) {
        for (const int sourceHeight : {1, 4, 40}) {
            for (const int width : sides) {
                for (const int height : {1, 2, 9}) {
                    ASSERT_EQ(loadImageBytes(uniformBmp(sourceWidth, sourceHeight, 0xC08040)), 1);
                    ASSERT_EQ(resizeCurrentImage(width, height), 1);
                    ASSERT_EQ(lockCurrentImage(), 1);
                    ASSERT_EQ(decodedWidth, width);
                    ASSERT_EQ(decodedHeight, height);
                    ASSERT_EQ(decodedStride, 4 * width);
                    // Mirrored edges: a flat picture stays flat up to its
                    // border (the filter may round a channel down by one).
                    for (int i = 0; i < width * height; ++i) {
                        for (const int shift : {0, 8, 16, 24}) {
                            const int channel = static_cast<int>(decodedPixels[i] >> shift & 0xFF);
                            ASSERT_NEAR(channel, static_cast<int>(0xFFC08040u >> shift & 0xFF), 1)
                                << sourceWidth << "x" << sourceHeight << " to " << width << "x" << height
                                << " pixel " << i << " shift " << shift;
                        }
                    }
                    unlockCurrentImage();
                }
            }
        }
    }
}

TEST_F(ImageServiceTest, ResizeOfASpotKeepsItsShape) {
    ASSERT_EQ(loadResourceImage("SPOT03"), 1);
    ASSERT_EQ(resizeCurrentImage(255, 255), 1);
    ASSERT_EQ(lockCurrentImage(), 1);
    EXPECT_EQ(decodedStride, 1020);
    EXPECT_EQ(decodedPixels[127 * 255 + 127], 0xFFFFFFFFu);
    EXPECT_EQ(decodedPixels[0], 0xFF000000u);
    // Half way out the profile is near its tabulated 254 (d = 128 at full size).
    EXPECT_NEAR(static_cast<int>(decodedPixels[127 * 255 + 191] & 0xFF), 242, 3);
}

TEST_F(ImageServiceTest, ResizeRefusesImpossibleSizesAndKeepsTheImage) {
    ASSERT_EQ(loadImageBytes(uniformBmp(4, 4, 0x010203)), 1);
    for (const int side : {0, -1, -100, maxImageSide + 1}) {
        EXPECT_EQ(resizeCurrentImage(side, 4), 0) << side;
        EXPECT_EQ(resizeCurrentImage(4, side), 0) << side;
    }
    ASSERT_EQ(lockCurrentImage(), 1);
    EXPECT_EQ(decodedWidth, 4);
    EXPECT_EQ(decodedPixels[0], 0xFF010203u);
}

}  // namespace
}  // namespace lumivortex
