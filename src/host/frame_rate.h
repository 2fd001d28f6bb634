// Frame-rate meter and pacing. Per frame the application calls
// frameRateBegin, does its work and presents, calls frameRateEnd (records the
// work time in clock slot 0 and the sample ring) and then paceFrame, which
// sleeps what is left of the frame period. The sleep is outside the measured
// interval, so frameRate is the rate the work alone would allow.
#pragma once

#include <cstdint>

namespace lumivortex {

inline constexpr int frameSampleCapacity = 256;
inline constexpr int meterClockSlot = 0;

extern std::uint32_t frameSamples[frameSampleCapacity];  // work time per frame, in ticks
extern int frameRate;        // frames per second over the last N samples
extern int frameRateValid;   // set once the ring has been filled

// Starts a new averaging window of n samples (1..256; clamped).
void frameRateReset(int n);
void frameRateBegin();
void frameRateEnd();
// Sleeps the rest of the 1/target second period after the measured work.
void paceFrame(int target);

// The rate a window of n samples summing to `sum` ticks allows.
int rateFromSamples(std::uint32_t sum, int n);

}  // namespace lumivortex
