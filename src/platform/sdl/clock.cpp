// Time from the monotonic clock: ticks of 10 microseconds, a millisecond
// tick count and a sleep.
#include <chrono>
#include <cstdint>
#include <thread>

#include "platform/platform.h"

namespace lumivortex::platform {

std::uint64_t clockTicks() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count() / 10);
}

std::uint32_t tickCountMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void sleepMs(unsigned milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

}  // namespace lumivortex::platform
