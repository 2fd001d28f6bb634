// Display-free parts of the SDL backend: the virtual-key translation and
// the embedded icons (container reading, sizes, the drawn pictures).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/resources.h"
#include "platform/sdl/icon_image.h"
#include "platform/sdl/key_codes.h"

namespace lumivortex::platform::sdl {
namespace {

struct KeyCase {
    SDL_Keycode sym;
    SDL_Scancode scancode;
    std::uint32_t expected;
};

TEST(VirtualKeyCode, KeysOfTheSlotTableGetTheirCodes) {
    const KeyCase cases[] = {
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27},   {SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13}, {SDLK_SPACE, SDL_SCANCODE_SPACE, 32},
        {SDLK_F1, SDL_SCANCODE_F1, 112},           {SDLK_F10, SDL_SCANCODE_F10, 121},
        {SDLK_F11, SDL_SCANCODE_F11, 122},         {SDLK_F12, SDL_SCANCODE_F12, 123},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 16},    {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 16},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 17},      {SDLK_LALT, SDL_SCANCODE_LALT, 18},
        {SDLK_TAB, SDL_SCANCODE_TAB, 9},           {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, 46},    {SDLK_INSERT, SDL_SCANCODE_INSERT, 45},
        {SDLK_UP, SDL_SCANCODE_UP, 38},            {SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 37},        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 39},
        {SDLK_0, SDL_SCANCODE_0, 48},              {SDLK_9, SDL_SCANCODE_9, 57},
        {SDLK_a, SDL_SCANCODE_A, 65},              {SDLK_z, SDL_SCANCODE_Z, 90},
        // A layout's letter decides over the key's position (French AZERTY: A on Q's place).
        {SDLK_a, SDL_SCANCODE_Q, 65},
        // Non-Latin layouts: the key's position gives the letter or digit.
        {0x444 /* Cyrillic ef */, SDL_SCANCODE_A, 65}, {0x22 /* quote */, SDL_SCANCODE_3, 51},
    };
    for (const KeyCase& c : cases) {
        SDL_Keysym key{};
        key.sym = c.sym;
        key.scancode = c.scancode;
        EXPECT_EQ(virtualKeyCode(key), c.expected) << "key " << c.sym;
    }
}

TEST(VirtualKeyCode, KeysWithoutACodeMapToNoSlot) {
    for (SDL_Keycode sym : {SDLK_MUTE, SDLK_AUDIOPLAY, SDLK_UNKNOWN}) {
        SDL_Keysym key{};
        key.sym = sym;
        key.scancode = SDL_GetScancodeFromKey(sym);
        EXPECT_EQ(virtualKeyCode(key), unmappedKeyCode) << "key " << sym;
    }
}

std::uint32_t alphaAt(const IconImage& image, int x, int y) {
    return image.argb[static_cast<std::size_t>(y) * image.width + x] >> 24;
}
std::uint32_t rgbAt(const IconImage& image, int x, int y) {
    return image.argb[static_cast<std::size_t>(y) * image.width + x] & 0xffffff;
}

TEST(Icons, MainIconHoldsThreeSizesAndFallsBackToTheLargest) {
    for (int size : {48, 32, 16}) {
        IconImage image;
        ASSERT_TRUE(loadIcon("icon_main", size, image)) << size;
        EXPECT_EQ(image.width, size);
        EXPECT_EQ(image.height, size);
        // Black centre inside a white ring inside a grey disc; clear corners.
        EXPECT_EQ(rgbAt(image, size / 2, size / 2), 0x000000u);
        EXPECT_EQ(alphaAt(image, size / 2, size / 2), 255u);
        EXPECT_EQ(rgbAt(image, size / 2, size / 4), 0xffffffu);
        EXPECT_EQ(alphaAt(image, 0, 0), 0u);
    }
    IconImage image;
    ASSERT_TRUE(loadIcon("ICON_MAIN", 64, image));
    EXPECT_EQ(image.width, 48);
}

TEST(Icons, PreviewTilesAre32PixelsAndShowBallAndTitle) {
    std::vector<IconImage> tiles(8);
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(loadIcon("ICON_SSPRVW0" + std::to_string(i + 1), 32, tiles[i])) << i;
        EXPECT_EQ(tiles[i].width, 32);
        EXPECT_EQ(tiles[i].height, 32);
    }
    // The ball's outer corner is clear in every emblem quarter, the centre
    // (where the four quarters meet) opaque and bright.
    EXPECT_EQ(alphaAt(tiles[0], 0, 0), 0u);
    EXPECT_EQ(alphaAt(tiles[3], 31, 31), 0u);
    EXPECT_EQ(alphaAt(tiles[3], 0, 0), 255u);
    EXPECT_GT(rgbAt(tiles[3], 0, 0) & 0xff, 0xd0u);
    // The dark ring at the upper left (centre 21, 21; radii 6 to 10).
    EXPECT_LT(rgbAt(tiles[0], 29, 21) & 0xff, 0x40u);
    // The title's "L" stroke (column 5) and its fainter mirror image below.
    EXPECT_EQ(alphaAt(tiles[4], 5, 8), 255u);
    EXPECT_GT(alphaAt(tiles[4], 5, 22), 0u);
    EXPECT_LT(alphaAt(tiles[4], 5, 22), alphaAt(tiles[4], 5, 8));
}

TEST(Icons, MissingNamesAndMalformedFilesAreRefused) {
    IconImage image;
    EXPECT_FALSE(loadIcon("ICON_NONE", 32, image));
    EXPECT_FALSE(loadIcon("SPOT01", 32, image));  // another type's name

    const Resource* real = findResource("ICON_SSPRVW01", resourceTypeIcon);
    ASSERT_NE(real, nullptr);
    const std::vector<std::uint8_t> good(real->data.begin(), real->data.end());
    auto damaged = [&](auto change) {
        std::vector<std::uint8_t> bytes = good;
        change(bytes);
        return bytes;
    };
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},
        std::vector<std::uint8_t>(good.begin(), good.begin() + 10),                      // directory cut off
        std::vector<std::uint8_t>(good.begin(), good.end() - 40),                        // image cut off
        damaged([](auto& b) { b[2] = 2; }),                                               // a cursor file
        damaged([](auto& b) { b[4] = 200; }),                                             // more entries than bytes
        damaged([](auto& b) { b[6 + 12] = 0xff; b[6 + 15] = 0x7f; }),                     // offset past the end
        damaged([](auto& b) { b[6 + 8] = 0xff; b[6 + 9] = 0xff; b[6 + 10] = 0xff; }),     // length past the end
        damaged([](auto& b) { b[22] = 'B'; b[23] = 'M'; }),                               // not a PNG
        damaged([](auto& b) { for (std::size_t i = 60; i < b.size(); ++i) b[i] ^= 0x5a; }),  // corrupt PNG data
    };
    for (std::size_t i = 0; i < bad.size(); ++i) {
        IconImage untouched;
        EXPECT_FALSE(decodeIcon(bad[i], 32, untouched)) << "case " << i;
        EXPECT_TRUE(untouched.argb.empty()) << "case " << i;
    }
}

}  // namespace
}  // namespace lumivortex::platform::sdl
