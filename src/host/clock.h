// Interval clocks in ticks of 10 microseconds (100000 per second), read from
// the platform's monotonic clock. Worker thread only.
#pragma once

#include <cstdint>

namespace lumivortex {

inline constexpr std::uint64_t ticksPerSecond = 100000;
inline constexpr int clockSlotCount = 12;

// A slot holds a start time after clockStart, the elapsed ticks after clockElapsed.
extern std::uint64_t clockSlots[clockSlotCount];

std::uint64_t clockNow();
void clockStart(int slot);
// Elapsed ticks since the slot's start; 0 when the clock has not advanced past it.
void clockElapsed(int slot);

}  // namespace lumivortex

namespace lumivortex {

// Sleeps on the platform clock; on the worker a stop checkpoint before and
// after, so an application that sleeps every frame ends promptly on a close.
void hostSleep(unsigned milliseconds);

}  // namespace lumivortex
