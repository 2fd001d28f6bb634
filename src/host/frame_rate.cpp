// The meter keeps a ring of the last N work times; once the ring has been
// filled, every frame recomputes the rate from the whole window.
#include "host/frame_rate.h"

#include <algorithm>

#include "host/clock.h"
#include "host/worker.h"

namespace lumivortex {

std::uint32_t frameSamples[frameSampleCapacity];
int frameRate = 0;
int frameRateValid = 0;

namespace {
int sampleCount = 10;
int writePosition = 0;
}  // namespace

int rateFromSamples(std::uint32_t sum, int n) {
    // A window summing to 0 ticks (every frame under one tick) is measured as
    // if it summed to one tick: the fastest rate the clock can tell.
    double average = static_cast<double>(std::max<std::uint32_t>(sum, 1)) / n;
    return static_cast<int>(static_cast<double>(ticksPerSecond) / average);
}

void frameRateReset(int n) {
    std::fill(std::begin(frameSamples), std::end(frameSamples), 0u);
    frameRateValid = 0;
    frameRate = 0;
    writePosition = 0;
    sampleCount = std::clamp(n, 1, frameSampleCapacity);
}

void frameRateBegin() { clockStart(meterClockSlot); }

void frameRateEnd() {
    clockElapsed(meterClockSlot);
    frameSamples[writePosition] = static_cast<std::uint32_t>(clockSlots[meterClockSlot]);
    if (++writePosition == sampleCount) {
        writePosition = 0;
        frameRateValid = 1;
    } else if (!frameRateValid) {
        return;
    }
    std::uint32_t sum = 0;
    for (int i = 0; i < sampleCount; ++i) sum += frameSamples[i];
    frameRate = rateFromSamples(sum, sampleCount);
}

void paceFrame(int target) {
    if (target <= 0) {  // no period to pad
        workerCheckpoint();
        return;
    }
    auto period = static_cast<std::int64_t>(ticksPerSecond / static_cast<unsigned>(target));
    auto remaining = period - static_cast<std::uint32_t>(clockSlots[meterClockSlot]);
    if (remaining > 0)
        hostSleep(static_cast<unsigned>((remaining + 50) / 100));  // nearest ms; 0 only yields
    else
        workerCheckpoint();
}

}  // namespace lumivortex
