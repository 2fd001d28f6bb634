// Bitmap decoding: palette and true-colour BMPs come out as top-down
// 0xAARRGGBB rows, whichever way the file stores its rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framebuffer/image_decoder.h"

namespace lumivortex {
namespace {

struct BmpCase {
    const char* label;
    int bitsPerPixel;
    bool topDown;
    int width;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::vector<std::uint32_t> values;   // per pixel, top row first: index, RGB or ARGB
    std::vector<std::uint32_t> expected;
};

void putLittleEndian(std::vector<std::uint8_t>& file, std::size_t at, std::uint32_t v, int count) {
    for (int k = 0; k < count; ++k) file[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> 8 * k);
}

// A BMP file with a 40-byte info header, rows padded to 4 bytes.
std::vector<std::uint8_t> makeBmp(const BmpCase& c) {
    const int height = static_cast<int>(c.values.size()) / c.width;
    const std::size_t rowBytes = static_cast<std::size_t>((c.width * c.bitsPerPixel + 31) / 32 * 4);
    const std::size_t pixelOffset = 54 + 4 * c.palette.size();
    std::vector<std::uint8_t> file(pixelOffset + rowBytes * static_cast<std::size_t>(height));
    file[0] = 'B';
    file[1] = 'M';
    putLittleEndian(file, 2, static_cast<std::uint32_t>(file.size()), 4);
    putLittleEndian(file, 10, static_cast<std::uint32_t>(pixelOffset), 4);
    putLittleEndian(file, 14, 40, 4);
    putLittleEndian(file, 18, static_cast<std::uint32_t>(c.width), 4);
    putLittleEndian(file, 22, static_cast<std::uint32_t>(c.topDown ? -height : height), 4);
    putLittleEndian(file, 26, 1, 2);
    putLittleEndian(file, 28, static_cast<std::uint32_t>(c.bitsPerPixel), 2);
    putLittleEndian(file, 46, static_cast<std::uint32_t>(c.palette.size()), 4);
    for (std::size_t i = 0; i < c.palette.size(); ++i) putLittleEndian(file, 54 + 4 * i, c.palette[i], 4);
    for (int y = 0; y < height; ++y) {
        const std::size_t row = pixelOffset + rowBytes * static_cast<std::size_t>(c.topDown ? y : height - 1 - y);
        for (int x = 0; x < c.width; ++x) {
            const std::uint32_t v = c.values[static_cast<std::size_t>(y * c.width + x)];
            const std::size_t bit = static_cast<std::size_t>(x * c.bitsPerPixel);
            if (c.bitsPerPixel < 8) {  // leftmost pixel in the high bits
                const int shift = 8 - c.bitsPerPixel - static_cast<int>(bit % 8);
                file[row + bit / 8] |= static_cast<std::uint8_t>(v << shift);
            } else {
                putLittleEndian(file, row + bit / 8, v, c.bitsPerPixel / 8);
            }
        }
    }
    return file;
}

TEST(ImageBitmapTest, BmpVariantsDecodeToTopDownArgb) {
    const std::vector<std::uint32_t> palette16 = {0x000000, 0x800000, 0x008000, 0x000080, 0xFFFFFF, 0x4B4B4B,
                                                  0x123456, 0xABCDEF, 0, 0, 0, 0, 0, 0, 0, 0x0FF0F0};
    std::vector<std::uint32_t> palette256(256, 0);
    palette256[0] = 0x112233;
    palette256[1] = 0x445566;
    palette256[2] = 0x778899;
    const std::vector<BmpCase> cases = {
        {"4-bit palette, odd width, bottom-up", 4, false, 3, palette16,
         {1, 2, 15, 4, 5, 6},
         {0xFF800000, 0xFF008000, 0xFF0FF0F0, 0xFFFFFFFF, 0xFF4B4B4B, 0xFF123456}},
        {"1-bit palette, nine columns", 1, false, 9, {0x000000, 0xFFFFFF},
         {1, 0, 1, 0, 0, 0, 0, 0, 1},
         {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
          0xFFFFFFFF}},
        {"8-bit palette, top-down", 8, true, 2, palette256,
         {2, 0, 1, 2},
         {0xFF778899, 0xFF112233, 0xFF445566, 0xFF778899}},
        {"24-bit, bottom-up", 24, false, 3, {},
         {0x010203, 0x040506, 0x070809, 0xA0B0C0, 0xD0E0F0, 0xFFFFFF},
         {0xFF010203, 0xFF040506, 0xFF070809, 0xFFA0B0C0, 0xFFD0E0F0, 0xFFFFFFFF}},
        {"32-bit with alpha", 32, false, 2, {},
         {0x80FF0000, 0x000000FF},
         {0x80FF0000, 0x000000FF}},
        {"32-bit without alpha is opaque", 32, true, 2, {},
         {0x00FF0000, 0x000000FF},
         {0xFFFF0000, 0xFF0000FF}},
    };
    for (const BmpCase& c : cases) {
        DecodedImage image;
        ASSERT_TRUE(decodeImage(makeBmp(c), image)) << c.label;
        EXPECT_EQ(image.width, c.width) << c.label;
        EXPECT_EQ(image.height, static_cast<int>(c.values.size()) / c.width) << c.label;
        EXPECT_EQ(image.pixels, c.expected) << c.label;
    }
}

TEST(ImageBitmapTest, BmpWithMissingRowsOrColoursOrUnreadableLayoutIsRefused) {
    const BmpCase c{"4-bit", 4, false, 3, std::vector<std::uint32_t>(16, 0x102030), {1, 2, 3, 4, 5, 6}, {}};
    const std::vector<std::uint8_t> good = makeBmp(c);
    std::vector<std::vector<std::uint8_t>> bad = {
        std::vector<std::uint8_t>(good.begin(), good.end() - 4),  // last row gone
        std::vector<std::uint8_t>(good.begin(), good.begin() + 30),
    };
    std::vector<std::uint8_t> huge = good;  // claims far more rows than it holds
    putLittleEndian(huge, 22, 60000, 4);
    bad.push_back(huge);
    std::vector<std::uint8_t> zeroWidth = good;
    putLittleEndian(zeroWidth, 18, 0, 4);
    bad.push_back(zeroWidth);
    std::vector<std::uint8_t> runLength = good;
    putLittleEndian(runLength, 30, 2, 4);
    bad.push_back(runLength);
    // Indices 3..15 would have no colour.
    bad.push_back(makeBmp({"short palette", 4, false, 3, {0, 0x808080, 0xFFFFFF}, {1, 2, 0, 1, 2, 0}, {}}));
    for (const std::vector<std::uint8_t>& bytes : bad) {
        DecodedImage image;
        EXPECT_FALSE(decodeImage(bytes, image)) << bytes.size();
        EXPECT_TRUE(image.pixels.empty());
        EXPECT_EQ(image.width, 0);
    }
}

}  // namespace
}  // namespace lumivortex
