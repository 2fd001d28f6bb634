// Window timers by slot: slot s runs the platform timer with identifier
// s + 1000; when it fires, the window thread sets timerFired[s]. The host
// never clears a flag.
#pragma once

#include <atomic>

namespace lumivortex {

inline constexpr int timerSlotCount = 256;
inline constexpr unsigned timerSlotBaseId = 1000;
inline constexpr unsigned redrawTimerId = 347;  // fires runRedraw

extern std::atomic<int> timerFired[timerSlotCount];

void setTimerSlot(int slot, unsigned periodMs);
void killTimerSlot(int slot);

}  // namespace lumivortex
