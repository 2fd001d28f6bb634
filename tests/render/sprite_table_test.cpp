// The sprite table: selection defaults, definition (images and kernel
// choice), copying and chains.
#include <gtest/gtest.h>

#include <cstdint>

#include "render/kernels/depth_ball_kernels.h"
#include "render/kernels/disc_kernels.h"
#include "render/kernels/image_disc_kernels.h"
#include "render/kernels/spot_kernels.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex {
namespace {

class SpriteTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        buildSphereTable();
        emptyAllSlots();
    }
    void TearDown() override {
        emptyAllSlots();
        releaseSphereTable();
        releaseCoverageTables();
    }
    static void emptyAllSlots() {
        for (int i = 0; i < spriteSlotCount; ++i) {
            currentSpriteIndex = i;
            deleteSprite();
        }
    }
    static bool hasImages(const Sprite* s) {
        return s->quadrants[0] && s->quadrants[1] && s->quadrants[2] && s->quadrants[3];
    }
    static bool hasNoImages(const Sprite* s) {
        return !s->quadrants[0] && !s->quadrants[1] && !s->quadrants[2] && !s->quadrants[3];
    }
};

TEST_F(SpriteTableTest, SelectingAnEmptySlotCreatesTheDefaultSprite) {
    selectSprite(511);
    ASSERT_NE(currentSprite, nullptr);
    EXPECT_EQ(currentSpriteIndex, 511);
    EXPECT_EQ(spriteSlots[511], currentSprite);
    EXPECT_EQ(spriteFamily(currentSprite->kind), SinglePixel);
    EXPECT_EQ(currentSprite->useParticleColour, 1);
    EXPECT_EQ(currentSprite->fadeDivisor, 1.0);
    EXPECT_EQ(currentSprite->sizeScale, 1.0);
    EXPECT_EQ(currentSprite->innerFraction, 0.0);
    EXPECT_EQ(currentSprite->coreFraction, 0.0);
    EXPECT_TRUE(hasNoImages(currentSprite));
    EXPECT_EQ(currentSprite->nextSprite, -9);
    EXPECT_EQ(currentSprite->unclippedKernel, &linkDrawError);
    EXPECT_EQ(currentSprite->clippedKernel, &linkDrawError);

    // Selecting again keeps the record.
    Sprite* first = currentSprite;
    first->sizeScale = 3.0;
    selectSprite(0);
    selectSprite(511);
    EXPECT_EQ(currentSprite, first);
    EXPECT_EQ(currentSprite->sizeScale, 3.0);
}

TEST_F(SpriteTableTest, AnUndefinedSpriteEndsInTheLinkError) {
    selectSprite(7);
    EXPECT_EXIT(currentSprite->unclippedKernel(), ::testing::ExitedWithCode(0), "PFX: LinkDraw Error");
    EXPECT_EXIT(currentSprite->clippedKernel(), ::testing::ExitedWithCode(0), "PFX: LinkDraw Error");
}

TEST_F(SpriteTableTest, KernelsFollowFamilyAndMode) {
    struct Case {
        std::uint32_t kind;
        const char* name;
        SpriteKernel unclipped;
        SpriteKernel clipped;
    };
    const Case cases[] = {
        {0x10000, "", plotPixel, linkDrawError},
        {0x10001, "", plotPixel, linkDrawError},
        {0x10002, "", linkDrawError, linkDrawError},
        {0x30000, "", drawSpotAdd, drawSpotAddClipped},
        {0x30001, "", drawSpotAlpha, drawSpotAlphaClipped},
        {0x30002, "", drawSpotAdd, drawSpotAddClipped},
        {0x30003, "", drawSpotSubtract, drawSpotSubtractClipped},
        {0x30004, "", drawSpotMultiply, drawSpotMultiplyClipped},
        {0x30002, "compBALL", drawSpotAdd, drawSpotAddClipped},
        {0x30005, "", linkDrawError, linkDrawError},
        {0x50001, "", linkDrawError, linkDrawError},
        {0x00001, "", linkDrawError, linkDrawError},
        {0x40000, "", drawDiscAlpha, drawDiscAlphaClipped},
        {0x40001, "", drawDiscAlpha, drawDiscAlphaClipped},
        {0x40002, "", drawDiscAdd, drawDiscAddClipped},
        {0x40003, "", drawDiscSubtract, drawDiscSubtractClipped},
        {0x40004, "", drawDiscMultiply, drawDiscMultiplyClipped},
        {0x40005, "", linkDrawError, linkDrawError},
        {0x40000, "compSPOT", drawImageDiscAlpha, drawImageDiscAlphaClipped},
        {0x40001, "compBALL", drawImageDiscAlpha, drawImageDiscAlphaClipped},
        {0x40002, "compSPOT", drawImageDiscAdd, drawImageDiscAddClipped},
        {0x40003, "compSPOT", drawImageDiscSubtract, drawImageDiscSubtractClipped},
        {0x40004, "compSPOT", drawImageDiscMultiply, drawImageDiscMultiplyClipped},
        {0x20000, "", drawDepthBall, drawDepthBallClipped},
        {0x20001, "", drawDepthBall, drawDepthBallClipped},
        {0x20002, "", linkDrawError, linkDrawError},
    };
    for (const Case& c : cases) {
        selectSprite(3);
        defineSprite(c.kind, 0xFFFFFFFF, c.name);
        EXPECT_EQ(currentSprite->kind, c.kind);
        EXPECT_EQ(currentSprite->unclippedKernel, c.unclipped) << std::hex << c.kind << " " << c.name;
        EXPECT_EQ(currentSprite->clippedKernel, c.clipped) << std::hex << c.kind << " " << c.name;
    }
}

TEST_F(SpriteTableTest, ImagesAreAllocatedOnlyForFamiliesThatDrawThem) {
    selectSprite(1);
    defineSprite(0x10000, 0xFF7FC8FF, "");
    EXPECT_TRUE(hasNoImages(currentSprite));
    EXPECT_EQ(currentSprite->colour, 0xFF7FC8FFu);

    defineSprite(0x40002, 0xFFFFFFFF, "");
    EXPECT_TRUE(hasNoImages(currentSprite));
    EXPECT_TRUE(coverageTablesBuilt);  // the imageless disc needs them

    defineSprite(0x40002, 0xFFFFFFFF, "compSPOT");
    ASSERT_TRUE(hasImages(currentSprite));
    for (std::uint32_t* q : currentSprite->quadrants) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(q) % 1024, 0u);
    }
    // Redefining replaces the images.
    defineSprite(0x10000, 0xFFFFFFFF, "");
    EXPECT_TRUE(hasNoImages(currentSprite));
}

TEST_F(SpriteTableTest, MultiplyQuadrantsStartWhiteExceptForDiscs) {
    // Element (255, 255) lies outside the spot, so it keeps the initial fill.
    const int corner = 255 * quadrantSide + 255;
    selectSprite(2);
    defineSprite(0x30004, 0xFF808080, "");
    for (std::uint32_t* q : currentSprite->quadrants) EXPECT_EQ(q[corner], 0xFFFFFFFFu);
    defineSprite(0x40004, 0xFF808080, "compSPOT");
    for (std::uint32_t* q : currentSprite->quadrants) EXPECT_EQ(q[corner], 0u);
    defineSprite(0x30002, 0xFF808080, "");
    for (std::uint32_t* q : currentSprite->quadrants) EXPECT_EQ(q[corner], 0u);
}

TEST_F(SpriteTableTest, CopyIntoAnEmptySlotCarriesSettingsAndKernelsButNoPixels) {
    selectSprite(2);
    currentSprite->sizeScale = 2.5;
    defineSprite(0x30002, 0xFF336699, "");
    currentSprite->fadeDivisor = 0.5;
    currentSprite->nextSprite = 0;
    Sprite* source = currentSprite;

    copySprite(2, 4);
    EXPECT_EQ(currentSpriteIndex, 4);
    Sprite* copy = currentSprite;
    EXPECT_NE(copy, source);
    EXPECT_EQ(copy->kind, 0x30002u);
    EXPECT_EQ(copy->colour, 0xFF336699u);
    EXPECT_EQ(copy->sizeScale, 2.5);
    EXPECT_EQ(copy->fadeDivisor, 0.5);
    EXPECT_EQ(copy->nextSprite, 0);
    EXPECT_EQ(copy->unclippedKernel, &drawSpotAdd);
    EXPECT_TRUE(hasNoImages(copy));

    // Redefining the copy gives it images of its own.
    defineSprite(copy->kind, copy->colour, "");
    ASSERT_TRUE(hasImages(copy));
    for (int q = 0; q < 4; ++q) EXPECT_NE(copy->quadrants[q], source->quadrants[q]);
    EXPECT_EQ(copy->quadrants[0][0], source->quadrants[0][0]);

    // An empty source copies as the default sprite.
    copySprite(40, 4);
    ASSERT_NE(spriteSlots[40], nullptr);
    EXPECT_EQ(currentSprite->kind, 0x10000u);
    EXPECT_EQ(currentSprite->unclippedKernel, &linkDrawError);
}

TEST_F(SpriteTableTest, CopyIntoASpriteWithImagesCopiesThePixels) {
    selectSprite(5);
    defineSprite(0x30002, 0xFFFFFFFF, "");
    selectSprite(6);
    defineSprite(0x30002, 0xFF0000FF, "");
    std::uint32_t* own[4];
    for (int q = 0; q < 4; ++q) own[q] = currentSprite->quadrants[q];

    copySprite(5, 6);
    for (int q = 0; q < 4; ++q) {
        EXPECT_EQ(currentSprite->quadrants[q], own[q]);  // keeps its buffers
        EXPECT_EQ(own[q][0], spriteSlots[5]->quadrants[q][0]);
        EXPECT_EQ(own[q][100 * quadrantSide + 3], spriteSlots[5]->quadrants[q][100 * quadrantSide + 3]);
    }
    EXPECT_EQ(currentSprite->colour, 0xFFFFFFFFu);

    // A source without images leaves the destination's pixels alone.
    selectSprite(7);
    copySprite(7, 6);
    EXPECT_EQ(currentSprite->quadrants[0], own[0]);
    EXPECT_EQ(currentSprite->unclippedKernel, &linkDrawError);
}

TEST_F(SpriteTableTest, ChainLinksReachDefaultSpritesForEmptySlots) {
    selectSprite(1);
    currentSprite->nextSprite = 9;
    selectSprite(9);
    currentSprite->nextSprite = 0;
    // Walk the chain the way the renderer does.
    int visited[4] = {};
    int count = 0;
    selectSprite(1);
    while (true) {
        visited[count++] = currentSpriteIndex;
        if (currentSprite->nextSprite == endOfSpriteChain) break;
        selectSprite(currentSprite->nextSprite);
    }
    ASSERT_EQ(count, 3);
    EXPECT_EQ(visited[0], 1);
    EXPECT_EQ(visited[1], 9);
    EXPECT_EQ(visited[2], 0);
    EXPECT_EQ(spriteSlots[0]->unclippedKernel, &linkDrawError);  // created with defaults
}

TEST_F(SpriteTableTest, DeleteEmptiesTheSlot) {
    selectSprite(8);
    defineSprite(0x30002, 0xFFFFFFFF, "");
    deleteSprite();
    EXPECT_EQ(spriteSlots[8], nullptr);
    EXPECT_EQ(currentSprite, nullptr);
    deleteSprite();  // an empty slot is left alone
    EXPECT_EQ(spriteSlots[8], nullptr);
}

}  // namespace
}  // namespace lumivortex
