// Clock slots: start stores now, elapsed replaces the start by now - start.
#include "host/clock.h"

#include <cassert>

#include "platform/platform.h"

namespace lumivortex {

std::uint64_t clockSlots[clockSlotCount];

namespace {
bool validSlot(int slot) {
    assert(slot >= 0 && slot < clockSlotCount);
    return slot >= 0 && slot < clockSlotCount;
}
}  // namespace

std::uint64_t clockNow() { return platform::clockTicks(); }

void clockStart(int slot) {
    if (validSlot(slot)) clockSlots[slot] = clockNow();
}

void clockElapsed(int slot) {
    if (!validSlot(slot)) return;
    std::uint64_t now = clockNow();
    std::uint64_t start = clockSlots[slot];
    clockSlots[slot] = start >= now ? 0 : now - start;
}

}  // namespace lumivortex

#include "host/worker.h"

namespace lumivortex {

void hostSleep(unsigned milliseconds) {
    workerCheckpoint();
    platform::sleepMs(milliseconds);
    workerCheckpoint();
}

}  // namespace lumivortex
