// Builds the per-frame draw list from the particle systems and sorts its
// order table by depth. The entry array and the order table are sized to the
// total particle count and kept across frames; only the 8-byte pairs of the
// order table move during the sort.
#include "particles/draw_list.h"

#include <cassert>
#include <cstdint>
#include <limits>
#include <utility>

#include "host/fatal_error.h"
#include "host/memory.h"
#include "math/rounding.h"
#include "math/view_transform.h"
#include "particles/particle_system.h"

namespace lumivortex {

DrawEntry* drawList = nullptr;
int drawCount = 0;
DrawEntry* currentEntry = nullptr;
DrawOrderPair* drawOrder = nullptr;
EntryHook entryHook = nullptr;
int depthSort = 1;

namespace {

// Depth keys are view-space z in units of 1/10000.
constexpr double keyScale = 10000.0;

// The standard walk: every occupied system in ascending index; the first
// system is current afterwards.
template <typename Visit>
void forEachSystem(Visit visit) {
    selectSystem(firstSystemIndex);
    do {
        visit();
    } while (nextSystem() != 0);
}

void fillEntry(DrawEntry* entry, int system, int index, const Particle& p, bool inFrame) {
    if (inFrame) {
        toView(&entry->position, &p.position);
    } else {
        entry->position = p.position;
    }
    entry->system = system;
    entry->particle = index;
    entry->sprite = p.sprite;
    entry->size = p.size;
    entry->colour = p.colour;
    entry->lifeLeft = p.lifeLeft;
    entry->lifetime = p.lifetime;
}

}  // namespace

void prepareDrawList() {
    if (firstSystemIndex >= systemSlotCount) fatalError("PARTCACH: No Particles");
    std::uint64_t total = 0;
    forEachSystem([&] {
        // A system that claims particles without an array would be read out
        // of nothing below.
        if (currentSystem->count != 0 && currentSystem->particles == nullptr) {
            fatalError("PARTCACH: No Particles");
        }
        total += currentSystem->count;
    });
    if (total == 0) fatalError("PARTCACH: No Particles");
    if (total > static_cast<std::uint64_t>(std::numeric_limits<int>::max() / sizeof(DrawEntry))) {
        fatalError("PARTCACH: Too many Particles");
    }
    if (static_cast<int>(total) == drawCount) return;
    releaseDrawList();
    drawCount = static_cast<int>(total);
    // The order table grows with the entries, so no total overflows it.
    drawList = static_cast<DrawEntry*>(alignedAlloc16(sizeof(DrawEntry) * total, fillUndefined));
    drawOrder = static_cast<DrawOrderPair*>(alignedAlloc16(sizeof(DrawOrderPair) * total, fillUndefined));
}

void buildDrawList(int sort) {
    prepareDrawList();
    int k = 0;
    forEachSystem([&] {
        ParticleSystem& system = *currentSystem;
        const int systemIndex = currentSystemIndex;
        loadViewTransform(system.frameIndex);
        const bool inFrame = system.frameIndex != 0;
        const int count = static_cast<int>(system.count);
        for (int i = 0; i < count; ++i) {
            assert(k < drawCount);
            currentEntry = &drawList[k];
            selectParticle(i);
            fillEntry(currentEntry, systemIndex, i, *currentParticle, inFrame);
            if (entryHook != nullptr) entryHook();
            drawOrder[k].entry = k;
            if (sort != 0) drawOrder[k].key = truncToInt32Clamped(currentEntry->position.z * keyScale);
            ++k;
        }
    });
    if (sort != 0) sortDrawOrder(0, drawCount - 1);
}

void sortDrawOrder(int lo, int hi) {
    assert(lo >= 0 && hi < drawCount);
    DrawOrderPair* pairs = drawOrder;
    // Hoare partitioning, descending. The two halves are independent, so
    // recursing into the smaller one and looping on the larger gives the same
    // order as any other sequence while bounding the stack depth.
    while (lo < hi) {
        const std::int32_t pivot = pairs[(lo + hi) >> 1].key;
        int i = lo;
        int j = hi;
        while (i <= j) {
            while (pairs[i].key > pivot && i < hi) ++i;
            while (pivot > pairs[j].key && j > lo) --j;
            if (i <= j) {
                std::swap(pairs[i], pairs[j]);
                ++i;
                --j;
            }
        }
        if (j - lo < hi - i) {
            if (lo < j) sortDrawOrder(lo, j);
            lo = i;
        } else {
            if (i < hi) sortDrawOrder(i, hi);
            hi = j;
        }
    }
}

void selectDrawEntry(int k) {
    assert(k >= 0 && k < drawCount);
    currentEntry = &drawList[drawOrder[k].entry];
}

void releaseDrawList() {
    alignedFree(drawList);
    alignedFree(drawOrder);
    drawList = nullptr;
    drawOrder = nullptr;
    drawCount = 0;
}

}  // namespace lumivortex
