// A whole rendered frame, pinned: frame 300 of the program at 640 x 360
// with a fixed seed, as presented to the window. The headless clock is
// manual, so the meter measures no work (no half resolution) and the
// legend's ten seconds have not passed at frame 300 (33 ms per frame). Any
// change to the picture the program draws (set-up numbers, hook order, a
// kernel, the overlays) changes the checksum.
#include <gtest/gtest.h>

#include <cstdint>

#include "host/host_main.h"
#include "scene/scene_objects.h"
#include "scene_fixture.h"

namespace lumivortex::testing {
namespace {

namespace headless = platform::headless;

// FNV-1a over the window surface, rows top to bottom.
std::uint64_t surfaceChecksum(const headless::FrameView& view) {
    std::uint64_t hash = 14695981039346656037ull;
    const std::size_t count = static_cast<std::size_t>(view.width) * view.height;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t p = view.pixels[i];
        for (int b = 0; b < 4; ++b, p >>= 8) hash = (hash ^ (p & 0xFF)) * 1099511628211ull;
    }
    return hash;
}

class SceneFrameTest : public SceneTest {};

TEST_F(SceneFrameTest, FrameThreeHundredIsPinned) {
    constexpr int pinnedFrame = 300;
    std::uint64_t checksum = 0;
    int framesSeen = 0;
    headless::setPresentCallback([&](const headless::FrameView& view) {
        // frameCounter stops at 200, so the frames are counted here; the
        // first frame presents twice (the cleared buffer, then the picture).
        if (view.index == 0) return;
        if (++framesSeen != pinnedFrame) return;
        ASSERT_EQ(view.width, sceneTestWidth);
        ASSERT_EQ(view.height, sceneTestHeight);
        checksum = surfaceChecksum(view);
        platform::Message down{platform::MessageType::KeyDown, 27};
        platform::Message up{platform::MessageType::KeyUp, 27};
        headless::dispatchMessage(down);
        headless::dispatchMessage(up);
    });
    char program[] = "lumivortex";
    char* argv[] = {program, nullptr};
    EXPECT_EQ(hostMain(1, argv), 0);
    EXPECT_EQ(framesSeen, pinnedFrame);
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_EQ(halfResRequested, 0);
    EXPECT_EQ(checksum, 0xa9fd3ce441f6e2f5ull) << std::hex << checksum;
}

}  // namespace
}  // namespace lumivortex::testing
