// Timer slots map onto platform timer identifiers 1000..1255.
#include "host/timers.h"

#include <cassert>

#include "platform/platform.h"

namespace lumivortex {

std::atomic<int> timerFired[timerSlotCount];

namespace {
bool validSlot(int slot) {
    assert(slot >= 0 && slot < timerSlotCount);
    return slot >= 0 && slot < timerSlotCount;
}
}  // namespace

void setTimerSlot(int slot, unsigned periodMs) {
    if (validSlot(slot)) platform::setTimer(timerSlotBaseId + static_cast<unsigned>(slot), periodMs);
}

void killTimerSlot(int slot) {
    if (validSlot(slot)) platform::killTimer(timerSlotBaseId + static_cast<unsigned>(slot));
}

}  // namespace lumivortex
