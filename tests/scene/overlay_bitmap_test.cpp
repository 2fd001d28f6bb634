// Overlay bitmaps: loading with the tint and an alpha image, anchoring,
// every draw kind, clipping to the viewport, and the two embedded bitmaps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "framebuffer/image_service.h"
#include "framebuffer/overlay_bitmap.h"
#include "host/host_config.h"
#include "host/memory.h"

namespace lumivortex {
namespace {

// A 1920 x 1080 frame buffer, every pixel `background`.
class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        setFrameSize(1920, 1080);
        createFrameBuffer();
        fill(0x11223344);
        resourceType = std::string(resourceTypeBitmap);
        imageTint = 0xFFFFFFFF;
    }
    void TearDown() override {
        releaseFrameBuffer();
        setFrameSize(1920, 1080);
    }

    static void fill(std::uint32_t colour) {
        std::fill_n(framePixels, static_cast<std::size_t>(frameWidth) * frameHeight, colour);
    }
    static std::uint32_t at(int x, int y) { return framePixels[rowOffsets[y] + x]; }

    // An overlay of the given size whose pixels the test sets directly.
    static void givePixels(OverlayBitmap& overlay, int width, int height, std::uint32_t colour) {
        overlay.width = width;
        overlay.height = height;
        overlay.pixels = static_cast<std::uint32_t*>(
            alignedAlloc16(static_cast<std::size_t>(width) * height * 4, fillUndefined));
        std::fill_n(overlay.pixels, width * height, colour);
    }
};

// The colours of a bitmap resource as the image service decodes it.
std::set<std::uint32_t> decodedColours(const char* name, int& width, int& height) {
    std::set<std::uint32_t> colours;
    acquireImaging();
    resourceType = std::string(resourceTypeBitmap);
    if (loadResourceImage(name) == 1 && lockCurrentImage() == 1) {
        width = decodedWidth;
        height = decodedHeight;
        colours.insert(decodedPixels, decodedPixels + decodedWidth * decodedHeight);
    }
    unlockCurrentImage();
    releaseCurrentImage();
    releaseImaging();
    return colours;
}

std::set<std::uint32_t> overlayColours(const OverlayBitmap& overlay) {
    return {overlay.pixels, overlay.pixels + overlay.width * overlay.height};
}

TEST(OverlayResources, TheTwoBitmapsDecodeToTheirSizesAndGreys) {
    int width = 0, height = 0;
    EXPECT_EQ(decodedColours("LUMIVORTEX", width, height),
              (std::set<std::uint32_t>{0xFF000000, 0xFF545454, 0xFF7E7E7E}));
    EXPECT_EQ(width, 159);
    EXPECT_EQ(height, 12);
    EXPECT_EQ(decodedColours("control_info", width, height),
              (std::set<std::uint32_t>{0xFF000000, 0xFF3F3F3F, 0xFF7F7F7F}));
    EXPECT_EQ(width, 155);
    EXPECT_EQ(height, 13);
}

// Each channel becomes channel * tint / 256 (so even the neutral tint takes
// 1/256 off), alpha 0xFF; the tint is neutral again after every load.
TEST_F(OverlayTest, LoadTintsEveryChannelAndResetsTheTint) {
    struct Case {
        const char* name;
        std::uint32_t tint;
        std::set<std::uint32_t> colours;
    };
    const Case cases[] = {
        {"LUMIVORTEX", 0xFF4B4B4B, {0xFF000000, 0xFF181818, 0xFF242424}},
        {"Lumivortex", 0x00FF8040, {0xFF000000, 0xFF532A15, 0xFF7D3F1F}},
        {"CONTROL_INFO", 0xFFFFFFFF, {0xFF000000, 0xFF3E3E3E, 0xFF7E7E7E}},
    };
    for (const Case& c : cases) {
        imageTint = c.tint;
        OverlayBitmap overlay(c.name, "", -1, -1);
        EXPECT_EQ(overlayColours(overlay), c.colours) << c.name;
        EXPECT_EQ(imageTint, 0xFFFFFFFFu);
    }
}

// The sprite images hold every grey from black to white, so one load shows
// the tint on every channel value: white with the logo's tint gives 0x4A.
TEST_F(OverlayTest, TintScalesEveryGreyByTintOver256) {
    resourceType = std::string(resourceTypeBinaryData);
    acquireImaging();
    ASSERT_EQ(loadResourceImage("SPOT01"), 1);
    ASSERT_EQ(lockCurrentImage(), 1);
    const std::vector<std::uint32_t> raw(decodedPixels, decodedPixels + decodedWidth * decodedHeight);
    unlockCurrentImage();
    releaseCurrentImage();
    releaseImaging();

    imageTint = 0xFF4B4B4B;
    OverlayBitmap overlay("SPOT01", "", -1, -1);
    ASSERT_EQ(static_cast<std::size_t>(overlay.width * overlay.height), raw.size());
    bool sawWhite = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const std::uint32_t grey = (raw[i] & 0xFF) * 0x4B / 256;
        ASSERT_EQ(overlay.pixels[i], 0xFF000000u | grey << 16 | grey << 8 | grey) << "pixel " << i;
        if (raw[i] == 0xFFFFFFFF) {
            sawWhite = true;
            EXPECT_EQ(overlay.pixels[i], 0xFF4A4A4Au);
        }
    }
    EXPECT_TRUE(sawWhite);
}

TEST_F(OverlayTest, ResizedLoadTakesTheRequestedSize) {
    OverlayBitmap overlay("LUMIVORTEX", "", 80, 6);
    EXPECT_EQ(overlay.width, 80);
    EXPECT_EQ(overlay.height, 6);
    EXPECT_EQ(overlay.right, overlay.left + 79);
    EXPECT_EQ(overlay.bottom, overlay.top + 5);
}

TEST_F(OverlayTest, AlphaImageGivesTheAlphaChannel) {
    // Alone: the tint's colour, the image's blue as alpha OR the tint's alpha.
    imageTint = 0x00FF0000;
    OverlayBitmap alone("", "CONTROL_INFO", -1, -1);
    EXPECT_EQ(overlayColours(alone), (std::set<std::uint32_t>{0x00FF0000, 0x3FFF0000, 0x7FFF0000}));
    EXPECT_EQ(alone.width, 155);

    // Over a colour image of another size: rescaled to cover it pixel for pixel.
    OverlayBitmap both("LUMIVORTEX", "CONTROL_INFO", -1, -1);
    EXPECT_EQ(both.width, 159);
    EXPECT_EQ(both.height, 12);
    for (std::uint32_t p : overlayColours(both)) EXPECT_NE(p & 0x00FFFFFFu, 0x00FF0000u);
}

TEST(OverlayDeath, MissingResourceIsFatal) {
    EXPECT_EXIT(OverlayBitmap("NO_SUCH_BITMAP", "", -1, -1), ::testing::ExitedWithCode(0),
                "JPG or BMP Resource Not Found");
}

struct KindCase {
    int kind;
    std::uint32_t frame;
    std::uint32_t overlay;
    std::uint32_t expected;
    friend std::ostream& operator<<(std::ostream& out, const KindCase& c) {
        return out << "kind " << c.kind << std::hex << ", frame 0x" << c.frame << ", overlay 0x" << c.overlay;
    }
};

class OverlayDrawKind : public OverlayTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(OverlayDrawKind, CombinesOverlayAndFrame) {
    const KindCase& c = GetParam();
    fill(c.frame);
    OverlayBitmap overlay("", "", -1, -1);
    givePixels(overlay, 3, 2, c.overlay);
    overlay.anchorBottomLeft(10, 20, c.kind);
    overlay.drawOverlay();
    const int top = 1080 - 2 - 20;
    for (int y = top; y < top + 2; ++y) {
        for (int x = 10; x < 13; ++x) EXPECT_EQ(at(x, y), c.expected) << x << ", " << y;
    }
    // Nothing around it.
    EXPECT_EQ(at(9, top), c.frame);
    EXPECT_EQ(at(13, top + 1), c.frame);
    EXPECT_EQ(at(10, top - 1), c.frame);
    EXPECT_EQ(at(12, top + 2), c.frame);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, OverlayDrawKind,
    ::testing::Values(
        KindCase{1, 0xFF0000FF, 0x80FF0000, 0x007F007F},  // red at half alpha over blue
        KindCase{1, 0x55AABBCC, 0xFF123456, 0xFF123456},  // opaque: the overlay, all 32 bits
        KindCase{1, 0x55AABBCC, 0x00123456, 0x55AABBCC},  // transparent: unchanged
        KindCase{2, 0xFFF01020, 0xFF203040, 0x00FF4060},  // saturating add
        KindCase{3, 0xFF303030, 0xFF4A4A4A, 0x00000000},  // subtract to black
        KindCase{3, 0xFF806040, 0xFF4A4A4A, 0x00361600},
        KindCase{4, 0x55AABBCC, 0xFF123456, 0x55AABBCC},  // 4, 5, 6 draw nothing
        KindCase{5, 0x55AABBCC, 0xFF123456, 0x55AABBCC},
        KindCase{6, 0x55AABBCC, 0xFF123456, 0x55AABBCC},
        KindCase{7, 0x55AABBCC, 0xFF000000, 0x00000000},  // exact opaque black cuts
        KindCase{7, 0x55AABBCC, 0xFF000001, 0x55AABBCC},
        KindCase{8, 0x55AABBCC, 0xFFFFFFFF, 0x00FFFFFF},  // exact opaque white lights
        KindCase{8, 0x55AABBCC, 0x7FFFFFFF, 0x55AABBCC},
        KindCase{0, 0x55AABBCC, 0x12345678, 0x12345678},  // any other kind copies
        KindCase{9, 0x55AABBCC, 0x12345678, 0x12345678},
        KindCase{-3, 0x55AABBCC, 0x12345678, 0x12345678}));

TEST_F(OverlayTest, BottomRightAnchorWithTheLogoMargins) {
    fill(0x00FFFFFF);
    OverlayBitmap overlay("", "", -1, -1);
    givePixels(overlay, 159, 12, 0xFF4A4A4A);
    overlay.anchorBottomRight(32, 8, 3);
    EXPECT_EQ(overlay.left, 1729);
    EXPECT_EQ(overlay.right, 1887);
    EXPECT_EQ(overlay.top, 1060);
    EXPECT_EQ(overlay.bottom, 1071);
    EXPECT_EQ(overlay.drawKind, 3);

    overlay.drawOverlay();
    for (auto [x, y] : {std::pair{1729, 1060}, {1887, 1060}, {1729, 1071}, {1887, 1071}}) {
        EXPECT_EQ(at(x, y), 0x00B5B5B5u) << x << ", " << y;
    }
    for (auto [x, y] : {std::pair{1728, 1065}, {1888, 1065}, {1800, 1059}, {1800, 1072}}) {
        EXPECT_EQ(at(x, y), 0x00FFFFFFu) << x << ", " << y;
    }

    overlay.anchorBottomLeft(24, 8, -1);
    EXPECT_EQ(overlay.left, 24);
    EXPECT_EQ(overlay.top, 1060);
    EXPECT_EQ(overlay.drawKind, 3);
}

// Overlay pixel (x, y) holds 0xFF000000 | y << 12 | x, so every drawn pixel
// tells which overlay pixel landed there.
TEST_F(OverlayTest, OverlayOutsideTheViewportIsClippedToIt) {
    setViewportMargins(100, 50);  // viewport 1720 x 980 inside the 1920 x 1080 buffer
    const std::uint32_t outside = 0x11223344;
    struct Case {
        int width, height, marginX, marginY;
    };
    const Case cases[] = {
        {2000, 1200, 0, 0},   // larger than the viewport
        {40, 30, -20, -10},   // hanging over the bottom-right corner
        {40, 30, 1700, 970},  // hanging over the top-left corner
        {40, 30, 5000, -3000},  // entirely outside
    };
    for (const Case& c : cases) {
        fill(outside);
        OverlayBitmap overlay("", "", -1, -1);
        givePixels(overlay, c.width, c.height, 0);
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) overlay.pixels[y * c.width + x] = 0xFF000000u | y << 12 | x;
        }
        overlay.anchorBottomRight(c.marginX, c.marginY, 0);
        overlay.drawOverlay();

        for (int row = 0; row < frameHeight; ++row) {
            for (int col = 0; col < frameWidth; ++col) {
                // Viewport coordinates of this memory pixel (row 0 is the bottom).
                const int x = col - viewportLeft;
                const int y = (frameHeight - 1 - row) - viewportTop;
                const int ox = x - overlay.left;
                const int oy = y - overlay.top;
                const bool inViewport = x >= 0 && x < viewportWidth && y >= 0 && y < viewportHeight;
                const bool onOverlay = ox >= 0 && ox < c.width && oy >= 0 && oy < c.height;
                const std::uint32_t expected =
                    inViewport && onOverlay ? (0xFF000000u | oy << 12 | ox) : outside;
                ASSERT_EQ(framePixels[row * frameWidth + col], expected)
                    << "case " << c.width << "x" << c.height << " at " << col << ", " << row;
            }
        }
    }
}

TEST_F(OverlayTest, OverlayWithoutPixelsDrawsNothing) {
    OverlayBitmap overlay("", "", -1, -1);
    EXPECT_EQ(overlay.loadOverlay("", "", -1, -1), 0);
    overlay.anchorBottomLeft(0, 0, 0);
    overlay.drawOverlay();
    EXPECT_EQ(at(0, 1079), 0x11223344u);
}

}  // namespace
}  // namespace lumivortex
