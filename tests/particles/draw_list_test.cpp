#include "particles/draw_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "math/frame.h"
#include "math/frame_support.h"
#include "particles/particle_fixture.h"
#include "particles/particle_system.h"

namespace lumivortex {
namespace {

class DrawListTest : public testing::ParticleTest {
protected:
    void SetUp() override {
        ParticleTest::SetUp();
        testing::resetFrames();
        entryHook = nullptr;
    }
    void TearDown() override {
        releaseDrawList();
        entryHook = nullptr;
        testing::resetFrames();
        ParticleTest::TearDown();
    }

    // Places particle i of the current system at depth z.
    static void placeAt(int i, double z) { particle(i).position = Vec3{static_cast<double>(i), 0.0, z}; }

    static void expectDescendingKeys() {
        for (int k = 1; k < drawCount; ++k) EXPECT_GE(drawOrder[k - 1].key, drawOrder[k].key) << k;
    }

    // Every entry appears exactly once in the order table.
    static void expectPermutation() {
        std::vector<int> entries;
        for (int k = 0; k < drawCount; ++k) entries.push_back(drawOrder[k].entry);
        std::sort(entries.begin(), entries.end());
        for (int k = 0; k < drawCount; ++k) ASSERT_EQ(entries[k], k);
    }
};

TEST_F(DrawListTest, EntriesFollowSystemOrderAndCopyTheParticles) {
    makeSystem(0, 40);
    particle(39).sprite = 3;
    particle(39).size = 2.5;
    particle(39).colour = 0x80FF0000u;
    particle(39).lifeLeft = 7;
    particle(39).lifetime = 9;
    makeSystem(1, 7000);
    buildDrawList(1);

    ASSERT_EQ(drawCount, 7040);
    EXPECT_EQ(currentSystemIndex, 0);  // the first system is current again
    for (int k = 0; k < drawCount; ++k) {
        const DrawEntry& e = drawList[k];
        ASSERT_EQ(e.system, k < 40 ? 0 : 1);
        ASSERT_EQ(e.particle, k < 40 ? k : k - 40);
    }
    const DrawEntry& e = drawList[39];
    EXPECT_EQ(e.sprite, 3);
    EXPECT_EQ(e.size, 2.5);
    EXPECT_EQ(e.colour, 0x80FF0000u);
    EXPECT_EQ(e.lifeLeft, 7);
    EXPECT_EQ(e.lifetime, 9);
    selectSystem(1);
    EXPECT_EQ(drawList[40 + 123].position.z, particle(123).position.z);

    expectDescendingKeys();
    expectPermutation();
    selectDrawEntry(0);
    EXPECT_EQ(currentEntry, &drawList[drawOrder[0].entry]);
    EXPECT_EQ(drawOrder[0].key, static_cast<std::int32_t>(currentEntry->position.z * 10000));
}

TEST_F(DrawListTest, ArrayIsReallocatedOnlyWhenTheTotalChanges) {
    makeSystem(0, 40);
    makeSystem(1, 7000);
    buildDrawList(1);
    const DrawEntry* list = drawList;
    const DrawOrderPair* order = drawOrder;
    buildDrawList(1);
    EXPECT_EQ(drawList, list);
    EXPECT_EQ(drawOrder, order);

    selectSystem(0);
    initParticles(41, 0, 0, 0);
    placeAt(40, 1e6);
    buildDrawList(1);
    ASSERT_EQ(drawCount, 7041);
    EXPECT_EQ(drawList[40].particle, 40);
    EXPECT_EQ(drawOrder[0].entry, 40);  // the farthest particle is drawn first
}

TEST_F(DrawListTest, SortsKeysLargestFirst) {
    makeSystem(0, 4);
    prepareDrawList();
    const std::int32_t keys[] = {5, 9, 9, -3};
    for (int k = 0; k < 4; ++k) drawOrder[k] = DrawOrderPair{k, keys[k]};
    sortDrawOrder(0, 3);
    const std::int32_t sorted[] = {9, 9, 5, -3};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(drawOrder[k].key, sorted[k]);
    EXPECT_EQ(drawOrder[2].entry, 0);
    EXPECT_EQ(drawOrder[3].entry, 3);
    EXPECT_EQ(drawOrder[0].entry + drawOrder[1].entry, 3);  // entries 1 and 2, either way
}

TEST_F(DrawListTest, SortHandlesManyEqualAndOrderedKeys) {
    makeSystem(0, 5000);
    struct Case {
        const char* name;
        std::int32_t (*key)(int k);
    };
    const Case cases[] = {
        {"all equal", [](int) { return 7; }},
        {"ascending", [](int k) { return k; }},
        {"descending", [](int k) { return -k; }},
        {"few values", [](int k) { return (k * 7919) % 5 - 2; }},
        {"scattered", [](int k) { return static_cast<std::int32_t>((k * 2654435761u) >> 3) - (1 << 28); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prepareDrawList();
        std::vector<std::int32_t> expected;
        for (int k = 0; k < drawCount; ++k) {
            drawOrder[k] = DrawOrderPair{k, c.key(k)};
            expected.push_back(c.key(k));
        }
        sortDrawOrder(0, drawCount - 1);
        std::sort(expected.rbegin(), expected.rend());
        for (int k = 0; k < drawCount; ++k) ASSERT_EQ(drawOrder[k].key, expected[k]) << k;
        for (int k = 0; k < drawCount; ++k) ASSERT_EQ(drawOrder[k].key, c.key(drawOrder[k].entry)) << k;
        expectPermutation();
    }
}

TEST_F(DrawListTest, WithoutSortTheOrderIsBuildOrderAndKeysAreNotWritten) {
    makeSystem(0, 10);
    buildDrawList(1);
    for (int k = 0; k < drawCount; ++k) drawOrder[k] = DrawOrderPair{-1, 4242};
    buildDrawList(0);
    for (int k = 0; k < drawCount; ++k) {
        EXPECT_EQ(drawOrder[k].entry, k);
        EXPECT_EQ(drawOrder[k].key, 4242);
    }
}

TEST_F(DrawListTest, DepthsBeyondTheKeyRangeClamp) {
    makeSystem(0, 4);
    placeAt(0, 1e12);
    placeAt(1, -1e12);
    placeAt(2, 1.5);
    placeAt(3, -0.00019);
    buildDrawList(1);
    const std::int32_t sorted[] = {std::numeric_limits<std::int32_t>::max(), 15000, -1,
                                   std::numeric_limits<std::int32_t>::min()};
    const int entries[] = {0, 2, 3, 1};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(drawOrder[k].key, sorted[k]);
        EXPECT_EQ(drawOrder[k].entry, entries[k]);
    }
}

TEST_F(DrawListTest, OnlySystemsWithAFrameGoThroughTheViewTransform) {
    setCameraFrame(2);
    setPosition(0, 0, 100);
    selectFrame(3);
    setPosition(5, 0, 0);
    updateFrames();
    makeSystem(0, 1);
    placeAt(0, 1.0);
    makeSystem(1, 1);
    currentSystem->frameIndex = 3;
    placeAt(0, 1.0);
    buildDrawList(0);
    testing::expectVecNear(drawList[0].position, {0, 0, 1}, 0);  // no frame: no camera either
    testing::expectVecNear(drawList[1].position, {5, 0, 101}, 0);
}

std::vector<int> hookedParticles;

TEST_F(DrawListTest, EntryHookSeesEachEntryAndItsChangesAreSorted) {
    makeSystem(0, 3);
    for (int i = 0; i < 3; ++i) placeAt(i, i);
    hookedParticles.clear();
    entryHook = [] {
        hookedParticles.push_back(currentEntry->particle);
        EXPECT_EQ(currentParticle, &currentSystem->particles[currentEntry->particle]);
        if (currentEntry->particle == 0) currentEntry->position.z = 50.0;
    };
    buildDrawList(1);
    EXPECT_EQ(hookedParticles, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(drawOrder[0].entry, 0);
    EXPECT_EQ(drawOrder[0].key, 500000);
}

TEST_F(DrawListTest, TotalsBeyondTheOldFixedRoomFit) {
    constexpr std::uint32_t total = 262141;  // one more pair than the old table held
    makeSystem(0, total);
    buildDrawList(1);
    ASSERT_EQ(drawCount, static_cast<int>(total));
    expectDescendingKeys();
    selectDrawEntry(drawCount - 1);
    EXPECT_EQ(currentEntry, &drawList[drawOrder[drawCount - 1].entry]);
}

TEST_F(DrawListTest, NoParticlesIsFatal) {
    EXPECT_EXIT(buildDrawList(1), ::testing::ExitedWithCode(0), "PARTCACH: No Particles");
    selectSystem(4);  // a system without particles
    EXPECT_EXIT(buildDrawList(1), ::testing::ExitedWithCode(0), "PARTCACH: No Particles");
    currentSystem->count = 3;  // counted but never filled
    EXPECT_EXIT(buildDrawList(1), ::testing::ExitedWithCode(0), "PARTCACH: No Particles");
    currentSystem->count = 0;
}

}  // namespace
}  // namespace lumivortex
