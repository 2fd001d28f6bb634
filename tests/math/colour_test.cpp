#include "math/colour.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "math/random.h"
#include "math/random_support.h"

namespace lumivortex {
namespace {

using testing::seedForDraw;

// The same value in red, green and blue, and a distinct alpha to show it is dropped.
constexpr std::uint32_t grey(std::uint32_t c) { return 0x7F000000u | (c << 16) | (c << 8) | c; }
constexpr std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return (r << 16) | (g << 8) | b; }

TEST(ColourTest, ChannelOperations) {
    struct Case {
        const char* name;
        std::uint32_t result;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {"lerp half way", lerpColour(grey(0x10), grey(0x40), 128), rgb(0x28, 0x28, 0x28)},
        {"lerp weight 0", lerpColour(grey(0x10), grey(0x40), 0), rgb(0x10, 0x10, 0x10)},
        {"lerp weight 256", lerpColour(grey(0x10), grey(0x40), 256), rgb(0x40, 0x40, 0x40)},
        {"lerp floors downward", lerpColour(grey(0x40), grey(0x10), 1), rgb(0x3F, 0x3F, 0x3F)},
        {"lerp per channel", lerpColour(rgb(0xFF, 0x00, 0x80), rgb(0x00, 0xFF, 0x80), 255), rgb(0x00, 0xFE, 0x80)},
        {"add saturates", addColour(rgb(0xF0, 0x01, 0x80), rgb(0x20, 0x02, 0x7F)), rgb(0xFF, 0x03, 0xFF)},
        {"subtract stops at 0", subtractColour(rgb(0x10, 0x30, 0xFF), rgb(0x20, 0x10, 0xFF)), rgb(0x00, 0x20, 0x00)},
        {"darken", darkenColour(grey(0) | rgb(0x20, 0x30, 0x40), 0x30), rgb(0x00, 0x00, 0x10)},
        {"modulate divides by 256", modulateColour(grey(0xFF), grey(0xFF)), rgb(0xFE, 0xFE, 0xFE)},
        {"modulate per channel", modulateColour(rgb(0x80, 0x40, 0x00), rgb(0x80, 0xFF, 0xFF)), rgb(0x40, 0x3F, 0x00)},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, c.expected) << c.name;
}

TEST(ColourTest, JitterKeepsAlphaOnlyWithoutJitter) {
    setRandomSeed(99);
    EXPECT_EQ(jitterColour(0x12345678u, 0), 0x12345678u);
    EXPECT_EQ(jitterColour(0x12345678u, 1) >> 24, 0xFFu);
    EXPECT_EQ(jitterColour(0x00345678u, -3) >> 24, 0xFFu);
}

TEST(ColourTest, JitterDrawsBlueFirstAndClampsEachChannel) {
    struct Case {
        int firstDraw;  // the blue channel's draw
        std::uint32_t colour;
        int amount;
        std::uint32_t blue;
    };
    for (const Case& c : {Case{32767, 0x000000F0u, 10, 0xFA}, Case{32767, 0x000000F0u, 300, 0xFF},
                          Case{0, 0x00000010u, 10, 0x07}, Case{0, 0x00000010u, 300, 0x00},
                          Case{16384, 0x00000010u, 10, 0x10}}) {
        setRandomSeed(seedForDraw(c.firstDraw));
        EXPECT_EQ(jitterColour(c.colour, c.amount) & 0xFFu, c.blue) << c.firstDraw << " " << c.amount;
    }
    // Three draws: one per channel.
    setRandomSeed(5);
    randomDraw();
    randomDraw();
    randomDraw();
    const int fourth = randomDraw();
    setRandomSeed(5);
    jitterColour(0x808080u, 20);
    EXPECT_EQ(randomDraw(), fourth);
}

}  // namespace
}  // namespace lumivortex
