// Quadrant images: the procedural ball and spot, and images loaded through
// the image service (sampling, colour conversion and size checks).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "framebuffer/image_service.h"
#include "math/colour.h"
#include "render/sprite.h"
#include "render/sprite_images.h"
#include "render/sprite_tables.h"

namespace lumivortex {
namespace {

constexpr std::uint32_t grey(int v) { return static_cast<std::uint32_t>(v) * 0x010101u; }

// An uncompressed 24-bit BMP whose pixel (row, column), counted from the top,
// has grey level level(row, column).
std::vector<std::uint8_t> makeGreyBmp(int width, int height, const std::function<int(int, int)>& level) {
    const int rowBytes = (3 * width + 3) & ~3;
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(rowBytes * height);
    std::vector<std::uint8_t> bmp;
    auto put16 = [&bmp](std::uint32_t v) {
        bmp.push_back(v & 0xFF);
        bmp.push_back((v >> 8) & 0xFF);
    };
    auto put32 = [&put16](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    bmp.push_back('B');
    bmp.push_back('M');
    put32(54 + imageBytes);
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));  // positive: bottom row first
    put16(1);
    put16(24);
    put32(0);
    put32(imageBytes);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int row = height - 1; row >= 0; --row) {
        for (int col = 0; col < width; ++col) {
            const auto v = static_cast<std::uint8_t>(level(row, col));
            bmp.insert(bmp.end(), {v, v, v});
        }
        bmp.resize(bmp.size() + static_cast<std::size_t>(rowBytes - 3 * width), 0);
    }
    return bmp;
}

class SpriteImagesTest : public ::testing::Test {
protected:
    void SetUp() override { buildSphereTable(); }
    void TearDown() override {
        for (int i = 0; i < spriteSlotCount; ++i) {
            currentSpriteIndex = i;
            deleteSprite();
        }
        releaseSphereTable();
    }

    // A sprite of this kind and colour with freshly allocated quadrants.
    static Sprite* spriteWithQuadrants(std::uint32_t kind, std::uint32_t colour) {
        selectSprite(10);
        allocateQuadrants(kind, colour, true);
        return currentSprite;
    }

    static void loadBmp(Sprite* sprite, int width, int height, const std::function<int(int, int)>& level) {
        const std::vector<std::uint8_t> bmp = makeGreyBmp(width, height, level);
        acquireImaging();
        ASSERT_EQ(loadImageBytes(bmp), 1);
        fillQuadrantsFromCurrentImage(sprite);
    }

    static std::uint32_t at(const Sprite* s, int quadrant, int i, int j) {
        return s->quadrants[quadrant][i * quadrantSide + j];
    }
};

TEST_F(SpriteImagesTest, BallIsLitFromTheUpperLeftOnATransparentSquare) {
    selectSprite(1);
    defineSprite(0x20001, 0xFFFFFFFF, "");
    const Sprite* s = currentSprite;
    for (int q = 0; q < 4; ++q) EXPECT_EQ(at(s, q, 0, 0), 0xFF000000u | grey(169)) << q;
    EXPECT_EQ(at(s, QuadUpLeft, 100, 100), 0xFF000000u | grey(252));
    EXPECT_EQ(at(s, QuadUpRight, 100, 100), 0xFF000000u | grey(137));
    EXPECT_EQ(at(s, QuadDownLeft, 100, 100), 0xFF000000u | grey(137));
    EXPECT_EQ(at(s, QuadDownRight, 100, 100), 0xFF000000u | grey(32));
    for (int q = 0; q < 4; ++q) EXPECT_EQ(at(s, q, 200, 159), 0u) << "outside the ball";
}

TEST_F(SpriteImagesTest, BallTakesTheSpriteColourPerChannel) {
    selectSprite(1);
    defineSprite(0x20001, 0xFF408000, "compBALL");
    // m = 169.6 / 255 at the centre: 0x40 -> 42, 0x80 -> 85.
    EXPECT_EQ(at(currentSprite, QuadUpLeft, 0, 0), 0xFF2A5500u);
}

TEST_F(SpriteImagesTest, SpotProfileFallsSmoothlyToZero) {
    selectSprite(1);
    defineSprite(0x30002, 0xFFFFFFFF, "");
    const Sprite* s = currentSprite;
    struct Case {
        int d;
        int level;
    };
    for (const Case& c : {Case{0, 255}, Case{64, 186}, Case{128, 84}, Case{192, 21}, Case{251, 0}}) {
        for (int q = 0; q < 4; ++q) {
            EXPECT_EQ(at(s, q, 0, c.d), 0xFF000000u | grey(c.level)) << "d " << c.d;
            EXPECT_EQ(at(s, q, c.d, 0), 0xFF000000u | grey(c.level)) << "d " << c.d;
        }
    }
    EXPECT_EQ(at(s, QuadUpLeft, 255, 255), 0u);  // the end marker outside the circle
}

TEST_F(SpriteImagesTest, SpotModesShapeTheProfile) {
    selectSprite(1);
    defineSprite(0x30001, 0xFF123456, "compSPOT");
    // Alpha mode: a weight in blue only, whatever the sprite colour.
    EXPECT_EQ(at(currentSprite, QuadDownRight, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(at(currentSprite, QuadDownRight, 0, 128), 0xFF000000u | 84u);

    // Multiply mode: white far out, the colour at the centre.
    defineSprite(0x30004, 0xFF000000, "");
    EXPECT_EQ(at(currentSprite, QuadUpLeft, 0, 0), 0xFF000000u);
    EXPECT_EQ(at(currentSprite, QuadUpLeft, 0, 128), 0xFF000000u | grey(171));
    EXPECT_EQ(at(currentSprite, QuadUpLeft, 0, 252), 0xFF000000u | grey(255));
}

TEST_F(SpriteImagesTest, FullSizeImageIsSampledAroundItsCentrePixel) {
    Sprite* s = spriteWithQuadrants(0x30002, 0xFFFFFFFF);
    // Distinct levels per row and column identify the sampled source pixel.
    loadBmp(s, 511, 511, [](int row, int col) { return (row * 7 + col * 3) & 0xFF; });
    auto expected = [](int row, int col) { return grey((((row * 7 + col * 3) & 0xFF) * 255) >> 8); };
    for (int i : {0, 1, 100, 255}) {
        for (int j : {0, 2, 77, 255}) {
            EXPECT_EQ(at(s, QuadUpLeft, i, j), expected(255 - i, 255 - j));
            EXPECT_EQ(at(s, QuadUpRight, i, j), expected(255 - i, 255 + j));
            EXPECT_EQ(at(s, QuadDownLeft, i, j), expected(255 + i, 255 - j));
            EXPECT_EQ(at(s, QuadDownRight, i, j), expected(255 + i, 255 + j));
        }
    }
    EXPECT_EQ(imagingUserCount(), 0);  // the service use is dropped again
}

TEST_F(SpriteImagesTest, HalfSizeImageRepeatsEachPixelOverTwoByTwo) {
    Sprite* s = spriteWithQuadrants(0x30002, 0xFFFFFFFF);
    loadBmp(s, 255, 255, [](int row, int col) { return (row * 5 + col) & 0xFF; });
    auto expected = [](int row, int col) { return grey((((row * 5 + col) & 0xFF) * 255) >> 8); };
    for (int i : {0, 1, 2, 3, 254, 255}) {
        for (int j : {0, 1, 6, 7, 255}) {
            EXPECT_EQ(at(s, QuadUpLeft, i, j), expected(127 - i / 2, 127 - j / 2));
            EXPECT_EQ(at(s, QuadDownRight, i, j), expected(127 + i / 2, 127 + j / 2));
        }
    }
}

TEST_F(SpriteImagesTest, MultiplySpotsTurnBlackSourceIntoWhite) {
    Sprite* s = spriteWithQuadrants(0x30004, 0xFF204060);
    loadBmp(s, 511, 511, [](int row, int col) { return row == 255 && col == 255 ? 255 : 0; });
    EXPECT_EQ(at(s, QuadUpLeft, 5, 5), 0x00FFFFFFu);
    EXPECT_EQ(at(s, QuadUpLeft, 0, 0), lerpColour(0x00FFFFFF, 0xFF204060, 255));
}

// Each channel of a pixel within `tolerance` of `level`, top byte `top`.
::testing::AssertionResult nearGrey(std::uint32_t pixel, int level, int tolerance, std::uint32_t top) {
    if ((pixel & 0xFF000000u) != top) return ::testing::AssertionFailure() << std::hex << pixel << " top byte";
    for (int shift : {0, 8, 16}) {
        const int channel = static_cast<int>((pixel >> shift) & 0xFFu);
        if (channel < level - tolerance || channel > level + tolerance) {
            return ::testing::AssertionFailure() << std::hex << pixel << std::dec << " vs " << level;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(SpriteImagesTest, EmbeddedSpotImagesFillTheQuadrants) {
    selectSprite(1);
    defineSprite(0x40002, 0xFFFFFFFF, "SPOT01");
    EXPECT_NE(currentSprite->quadrants[QuadUpLeft], nullptr);

    // Tinted by white: each grey level g becomes g * 255 >> 8 (JPEG-near).
    defineSprite(0x30002, 0xFFFFFFFF, "spot02");
    EXPECT_TRUE(nearGrey(at(currentSprite, QuadUpLeft, 0, 0), 254, 2, 0));
    EXPECT_TRUE(nearGrey(at(currentSprite, QuadDownRight, 64, 0), 127, 3, 0));

    // Multiply sprites turn the black rim white and the bright centre into
    // the sprite colour.
    defineSprite(0x30004, 0xFF000000, "SPOT05");
    EXPECT_TRUE(nearGrey(at(currentSprite, QuadUpRight, 0, 255), 255, 3, 0));
    EXPECT_TRUE(nearGrey(at(currentSprite, QuadUpRight, 0, 0), 0, 3, 0));
    EXPECT_EQ(imagingUserCount(), 0);
}

TEST_F(SpriteImagesTest, WrongSizesAndMissingResourcesAreFatal) {
    struct Case {
        int width;
        int height;
    };
    for (const Case& c : {Case{300, 300}, Case{511, 300}, Case{255, 511}, Case{511, 512}}) {
        Sprite* s = spriteWithQuadrants(0x30002, 0xFFFFFFFF);
        EXPECT_EXIT(loadBmp(s, c.width, c.height, [](int, int) { return 200; }), ::testing::ExitedWithCode(0),
                    "PFX: JPG Resource Have Wrong Resolution")
            << c.width << " x " << c.height;
    }
    Sprite* s = spriteWithQuadrants(0x30002, 0xFFFFFFFF);
    EXPECT_EXIT(loadImageQuadrants(s, "NO_SUCH_IMAGE"), ::testing::ExitedWithCode(0), "PFX: JPG Resource Not Found");
    EXPECT_EXIT(defineSprite(0x30002, 0xFFFFFFFF, "NO_SUCH_IMAGE"), ::testing::ExitedWithCode(0),
                "PFX: JPG Resource Not Found");
}

}  // namespace
}  // namespace lumivortex
