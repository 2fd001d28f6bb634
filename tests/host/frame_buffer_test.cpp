// Frame buffer: fill rule, sizes, margins and their clamping, the row table,
// clearing and what reaches the window.
#include <algorithm>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "framebuffer/trails.h"
#include "host_test_support.h"
#include "platform/headless/headless.h"

namespace lumivortex::testing {
namespace {

namespace headless = platform::headless;

class FrameBufferTest : public HostTest {};

TEST_F(FrameBufferTest, FillRuleIsByteWiseForGreyColours) {
    const struct {
        std::uint32_t colour;
        std::uint32_t stored;
    } cases[] = {
        {0xff000000u, 0x00000000u},  // default black: alpha byte becomes 0 too
        {0xff969696u, 0x96969696u},
        {0x00ffffffu, 0xffffffffu},
        {0xff6e82ffu, 0xff6e82ffu},  // not grey: the full colour
        {0x12343434u, 0x34343434u},
        {0xff000001u, 0xff000001u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.colour);
        std::vector<std::uint32_t> pixels(37, 0x5a5a5a5au);
        fillPixels(pixels.data() + 1, 35, c.colour);
        EXPECT_EQ(pixels[0], 0x5a5a5a5au);
        EXPECT_EQ(pixels[36], 0x5a5a5a5au);
        EXPECT_TRUE(std::all_of(pixels.begin() + 1, pixels.end() - 1, [&](std::uint32_t p) { return p == c.stored; }));
    }
}

TEST_F(FrameBufferTest, RowTableMapsViewportRowZeroToTheTopOfTheBottomUpBuffer) {
    const struct {
        int width, height;
    } cases[] = {{1920, 1080}, {3840, 2160}, {240, 180}, {7680, 4320}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
        setFrameSize(c.width, c.height);
        EXPECT_EQ(viewportWidth, c.width);
        EXPECT_EQ(viewportHeight, c.height);
        EXPECT_EQ(rowOffsets[0], c.width * (c.height - 1));
        EXPECT_EQ(rowOffsets[c.height - 1], 0);
        EXPECT_EQ(rowOffsets[1] - rowOffsets[0], -c.width);
        EXPECT_DOUBLE_EQ(projectionScale, c.height / 600.0);
    }
    EXPECT_DOUBLE_EQ((setFrameSize(1920, 1080), projectionScale), 1.8);

    setFrameSize(240, 180);
    setViewportMargins(10, -1);
    buildRowTable(0);  // bottom-up order: viewport row 0 is the bottom row
    EXPECT_EQ(rowsTopDown, 0);
    EXPECT_EQ(rowOffsets[0], 240 * 10 + 10);
    EXPECT_EQ(rowOffsets[159], 240 * (10 + 159) + 10);
}

TEST_F(FrameBufferTest, FullScreenSizeIsTheScreenAndTallFramesFitTheRowTable) {
    headless::setScreenSize(1920, 1080);
    setFrameSize(fullScreenSize, 1024);
    EXPECT_EQ(frameWidth, 1920);
    EXPECT_EQ(frameHeight, 1080);
    EXPECT_EQ(fullScreen, 1);
    setFrameSize(800, 600);
    EXPECT_EQ(fullScreen, 0);

    // Sizes the viewport cannot hold are limited, never overrun the table.
    const struct {
        int width, height, expectedWidth, expectedHeight;
    } cases[] = {{100, 9000, 100, rowTableCapacity}, {4, 2, 16, 16}, {-5, 0, 16, 16}};
    for (const auto& c : cases) {
        setFrameSize(c.width, c.height);
        EXPECT_EQ(frameWidth, c.expectedWidth);
        EXPECT_EQ(frameHeight, c.expectedHeight);
        EXPECT_EQ(rowOffsets[viewportHeight - 1], 0);
    }
}

TEST_F(FrameBufferTest, MarginsSetTheViewportAndAreClamped) {
    const struct {
        int left, top;
        int expectedLeft, expectedTop;
    } cases[] = {
        {10, -1, 10, 10}, {0, -1, 0, 0},     {200, -1, 112, 82}, {5, 20, 5, 20},
        {0, 200, 0, 82},  {-7, -3, 0, 0},    {112, 82, 112, 82}, {113, 83, 112, 82},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.left << ", " << c.top);
        viewportChanged = 0;
        setViewportMargins(c.left, c.top);
        EXPECT_EQ(viewportLeft, c.expectedLeft);
        EXPECT_EQ(viewportTop, c.expectedTop);
        EXPECT_EQ(viewportWidth, 240 - 2 * c.expectedLeft);
        EXPECT_EQ(viewportHeight, 180 - 2 * c.expectedTop);
        EXPECT_EQ(viewportMaxX, viewportWidth - 1);
        EXPECT_EQ(viewportMaxY, viewportHeight - 1);
        EXPECT_EQ(hasMargins != 0, c.expectedLeft != 0 || c.expectedTop != 0);
        EXPECT_EQ(viewportChanged, 1);
        EXPECT_EQ(rowOffsets[0], 240 * (180 - c.expectedTop - 1) + c.expectedLeft);
        EXPECT_DOUBLE_EQ(projectionScale, viewportHeight / 600.0);
    }
}

// Picture coordinates (x right, y down) of the bottom-up buffer.
std::uint32_t picturePixel(int x, int y) {
    return framePixels[static_cast<std::size_t>(frameHeight - 1 - y) * frameWidth + x];
}

TEST_F(FrameBufferTest, ClearFrameLeavesTheMarginsUntouched) {
    backgroundColour = 0xff6e82ffu;
    createFrameBuffer();
    fillPixels(framePixels, 240 * 180, 0x11223344u);
    clearFrame(10, -1);
    for (int y : {0, 9, 10, 100, 169, 170, 179})
        for (int x : {0, 9, 10, 120, 229, 230, 239}) {
            bool inside = x >= 10 && x < 230 && y >= 10 && y < 170;
            EXPECT_EQ(picturePixel(x, y), inside ? 0xff6e82ffu : 0x11223344u) << x << "," << y;
        }
    clearFrame(0, 50);  // left 0 clears everything, whatever top is
    EXPECT_EQ(picturePixel(0, 0), 0xff6e82ffu);
    EXPECT_EQ(picturePixel(239, 179), 0xff6e82ffu);
}

TEST_F(FrameBufferTest, ViewportPixelsAreAddressedThroughTheRowTable) {
    setViewportMargins(10, -1);
    createFrameBuffer();
    framePixels[rowOffsets[0] + 0] = 0xAAu;            // viewport top-left
    framePixels[rowOffsets[159] + 219] = 0xBBu;        // viewport bottom-right
    EXPECT_EQ(picturePixel(10, 10), 0xAAu);
    EXPECT_EQ(picturePixel(229, 169), 0xBBu);
}

TEST_F(FrameBufferTest, PresentFrameCopiesOnlyTheViewportTheRightWayUp) {
    ASSERT_TRUE(platform::createWindow("t", 0, 0, 240, 180, platform::WindowStyle::Overlapped, "", 0,
                                       platform::defaultWindowProc));
    setViewportMargins(10, -1);
    createFrameBuffer();
    fillPixels(framePixels, 240 * 180, 0x0000FF00u);  // margins too, but only the viewport goes out
    framePixels[rowOffsets[0]] = 0x00FF0000u;         // top-left of the viewport
    headless::setCaptureEnabled(true);
    EXPECT_EQ(presentFrame(), 1);
    auto frames = headless::capturedFrames();
    ASSERT_EQ(frames.size(), 1u);
    const auto& f = frames[0];
    EXPECT_EQ(f.x, 10);
    EXPECT_EQ(f.y, 10);
    EXPECT_EQ(f.rectWidth, 220);
    EXPECT_EQ(f.rectHeight, 160);
    auto at = [&](int x, int y) { return f.pixels[static_cast<std::size_t>(y) * 240 + x]; };
    EXPECT_EQ(at(10, 10), 0x00FF0000u);
    EXPECT_EQ(at(11, 10), 0x0000FF00u);
    EXPECT_EQ(at(229, 169), 0x0000FF00u);
    EXPECT_EQ(at(9, 10), 0u);    // margins of the window stay as they were
    EXPECT_EQ(at(230, 169), 0u);
    EXPECT_EQ(at(10, 170), 0u);
}

TEST_F(FrameBufferTest, FirstPrepareAfterAViewportChangeShowsTheClearColourAtOnce) {
    ASSERT_TRUE(platform::createWindow("t", 0, 0, 240, 180, platform::WindowStyle::Overlapped, "", 0,
                                       platform::defaultWindowProc));
    clearColour = 0xff203040u;
    backgroundColour = 0xff969696u;
    setViewportMargins(10, -1);
    createFrameBuffer();
    headless::setCaptureEnabled(true);
    EXPECT_EQ(needsClear(), 1);
    prepareFrame();
    EXPECT_EQ(viewportChanged, 0);
    auto frames = headless::capturedFrames();
    ASSERT_EQ(frames.size(), 1u);  // the whole buffer in clearColour
    EXPECT_EQ(frames[0].rectWidth, 240);
    EXPECT_EQ(frames[0].rectHeight, 180);
    EXPECT_EQ(frames[0].pixels[0], 0xff203040u);
    EXPECT_EQ(picturePixel(0, 0), 0xff203040u);      // margin keeps the clear colour
    EXPECT_EQ(picturePixel(10, 10), 0x96969696u);    // viewport in the background

    prepareFrame();  // later frames clear only the viewport, showing nothing
    EXPECT_EQ(headless::capturedFrames().size(), 1u);

    fadeAmount = 20;
    EXPECT_EQ(needsClear(), 0);
    setViewportMargins(0, -1);
    EXPECT_EQ(needsClear(), 1);
    fadeAmount = 0;
}

TEST_F(FrameBufferTest, ReleaseLeavesNoBufferAndClearsSkipIt) {
    createFrameBuffer();
    EXPECT_NE(framePixels, nullptr);
    recreateFrameBuffer();
    EXPECT_NE(framePixels, nullptr);
    releaseFrameBuffer();
    EXPECT_EQ(framePixels, nullptr);
    clearFrame(0, -1);
    prepareFrame();
    EXPECT_EQ(presentFrame(), 1);
}

TEST_F(FrameBufferTest, Buffer3840x2160IsFilledAndPresented) {
    headless::setScreenSize(3840, 2160);
    setFrameSize(fullScreenSize, 0);
    ASSERT_TRUE(platform::createWindow("t", 0, 0, 3840, 2160, platform::WindowStyle::Popup, "", 0,
                                       platform::defaultWindowProc));
    backgroundColour = 0xff6e82ffu;
    createFrameBuffer();
    framePixels[rowOffsets[2159] + 3839] = 0x01020304u;  // bottom-right of the picture
    presentFrame();
    auto surface = headless::windowSurface();
    EXPECT_EQ(surface.pixels[0], 0xff6e82ffu);
    EXPECT_EQ(surface.pixels.back(), 0x01020304u);
}

}  // namespace
}  // namespace lumivortex::testing
