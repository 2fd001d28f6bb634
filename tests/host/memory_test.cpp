// Aligned and global blocks: alignment, the stored block start, fill codes,
// null handling and the fatal path of an impossible request.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "host/memory.h"
#include "host_test_support.h"

namespace lumivortex::testing {
namespace {

class MemoryTest : public HostTest {};

struct AlignCase {
    std::size_t size;
    std::size_t alignment;
};

TEST_F(MemoryTest, ReturnsAlignedPointerWithBlockStartJustBefore) {
    const AlignCase cases[] = {{1, 16}, {100, 16}, {4096, 1024}, {7, 1024}, {0, 16},
                               {33, 1},  {33, 3},   {33, 7},      {1000, 24}, {5, 4096}};
    for (const AlignCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "size " << c.size << " alignment " << c.alignment);
        auto* p = static_cast<unsigned char*>(alignedAlloc(c.size, c.alignment, fillZero));
        auto address = reinterpret_cast<std::uintptr_t>(p);
        EXPECT_EQ(address % c.alignment, 0u);
        void* raw = nullptr;
        std::memcpy(&raw, p - sizeof(void*), sizeof(void*));
        auto offset = address - reinterpret_cast<std::uintptr_t>(raw);
        // Smallest multiple strictly above raw + slot: between slot + 1 and alignment + slot.
        EXPECT_GE(offset, sizeof(void*) + 1);
        EXPECT_LE(offset, c.alignment + sizeof(void*));
        if (c.size > 0) p[c.size - 1] = 0xAB;  // the whole size is usable (ASan checks)
        alignedFree(p);                          // releases exactly the heap block (ASan checks)
    }
}

TEST_F(MemoryTest, FillCodesSetEveryByte) {
    const struct {
        int code;
        unsigned char expected;
    } cases[] = {{fillOnes, 0xFF}, {fillZero, 0x00}, {7, 0x00}, {-1, 0x00}, {254, 0x00}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        constexpr std::size_t size = 3001;
        auto* p = static_cast<unsigned char*>(alignedAlloc16(size, c.code));
        EXPECT_TRUE(std::all_of(p, p + size, [&](unsigned char b) { return b == c.expected; }));
        alignedFree(p);
    }
}

TEST_F(MemoryTest, GlobalBlocksAreZeroedAndNullIsAccepted) {
    for (int zero : {0, 1}) {
        auto* p = static_cast<unsigned char*>(globalBlockAlloc(513, zero));
        EXPECT_TRUE(std::all_of(p, p + 513, [](unsigned char b) { return b == 0; }));
        globalBlockFree(p);
    }
    void* empty = globalBlockAlloc(0, 1);
    EXPECT_NE(empty, nullptr);
    globalBlockFree(empty);
    alignedFree(nullptr);
    globalBlockFree(nullptr);
}

TEST_F(MemoryTest, ImpossibleRequestsEndInTheFatalBox) {
    constexpr std::size_t huge = std::numeric_limits<std::size_t>::max() - 4;
    const char* text = "memory allocation return is NULL, may be size allocation = 0";
    EXPECT_EXIT(alignedAlloc(huge, 16, fillZero), ::testing::ExitedWithCode(0), text);
    EXPECT_EXIT(alignedAlloc(16, huge, fillZero), ::testing::ExitedWithCode(0), text);
    EXPECT_EXIT(globalBlockAlloc(huge, 1), ::testing::ExitedWithCode(0), text);
}

}  // namespace
}  // namespace lumivortex::testing
