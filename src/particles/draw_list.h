// The draw list: once per rendered frame every particle of every system is
// copied into a flat DrawEntry array, its position carried into view space
// through its system's frame and the camera frame, and an order table of
// (entry, depth key) pairs is sorted far to near. The renderer walks the
// order table with selectDrawEntry and reads only the entries.
#pragma once

#include <cstdint>

#include "math/vec3.h"

namespace lumivortex {

struct DrawEntry {
    std::int32_t system;    // index of the particle system
    std::int32_t particle;  // index of the particle within it
    std::int32_t sprite;
    std::int32_t lifetime;
    std::int32_t lifeLeft;
    Vec3 position;  // view space; z grows away from the viewer
    double size;
    std::uint32_t colour;  // 0xAARRGGBB; alpha is the particle's opacity
};

// Pair k names the entry drawn k-th and its depth key, trunc(z * 10000).
struct DrawOrderPair {
    std::int32_t entry;
    std::int32_t key;
};

// Called once per entry after it is filled, with currentEntry pointing at it;
// it may change the entry.
using EntryHook = void (*)();

// drawCount entries (16-byte aligned), reallocated only when the total
// particle count changes; drawCount is 0 when there is no array.
extern DrawEntry* drawList;
extern int drawCount;
extern DrawEntry* currentEntry;
// drawCount pairs, allocated together with drawList.
extern DrawOrderPair* drawOrder;
extern EntryHook entryHook;  // null at start
// 1 at start: the renderer sorts far to near and may stop at the first entry
// nearer than nearLimit; 0: build order, no early stop.
extern int depthSort;

// Counts all particles and (re)allocates the list when the total changed.
// Fatal "PARTCACH: No Particles" when there is no system or no particle.
void prepareDrawList();
// Fills drawList and drawOrder in system order; sorts when sort is non-zero
// (keys are written only then). Leaves the first system current.
void buildDrawList(int sort);
// Sorts drawOrder[lo..hi] by key, largest first; equal keys in no defined order.
void sortDrawOrder(int lo, int hi);
// currentEntry = the entry drawn k-th.
void selectDrawEntry(int k);
// Releases the list and the order table; drawCount becomes 0.
void releaseDrawList();

}  // namespace lumivortex
