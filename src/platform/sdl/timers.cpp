// Timer table: identifier -> SDL timer, guarded by a mutex because the
// worker starts and stops timers too. Every start gets a new serial number
// that travels with its events, so an event still queued when its timer was
// killed or restarted is recognised as stale and dropped.
#include <array>
#include <cstdint>
#include <mutex>

#include "platform/sdl/backend_state.h"
#include "platform/sdl/timer_table.h"

namespace lumivortex::platform::sdl {
namespace {

struct TimerSlot {
    bool used = false;
    unsigned id = 0;
    std::uint32_t serial = 0;
    SDL_TimerID timer = 0;
};

// The host uses identifier 347 and 1000..1255; 272 slots cover all of them at once.
std::array<TimerSlot, 272> timerSlots;
std::mutex timerMutex;
std::uint32_t lastSerial = 0;

Uint32 onTimerThread(Uint32 interval, void* param) {
    const auto packed = reinterpret_cast<std::uintptr_t>(param);
    SDL_Event event{};
    event.type = timerEventType.load();
    event.user.code = static_cast<Sint32>(packed & 0xffffffffu);       // identifier
    event.user.data1 = reinterpret_cast<void*>(packed >> 32);           // serial
    SDL_PushEvent(&event);
    return interval;
}

TimerSlot* findSlot(unsigned id) {
    for (TimerSlot& slot : timerSlots) {
        if (slot.used && slot.id == id) return &slot;
    }
    return nullptr;
}

void stop(TimerSlot& slot) {
    SDL_RemoveTimer(slot.timer);
    slot = TimerSlot{};
}

}  // namespace

void deliverTimerEvent(const SDL_UserEvent& event) {
    const auto id = static_cast<unsigned>(event.code);
    const auto serial = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(event.data1));
    {
        std::lock_guard lock(timerMutex);
        const TimerSlot* slot = findSlot(id);
        if (!slot || slot->serial != serial) return;
    }
    dispatch(MessageType::Timer, id);
}

void killAllTimers() {
    std::lock_guard lock(timerMutex);
    for (TimerSlot& slot : timerSlots) {
        if (slot.used) stop(slot);
    }
}

}  // namespace lumivortex::platform::sdl

namespace lumivortex::platform {

void setTimer(unsigned id, unsigned periodMs) {
    using namespace sdl;
    std::lock_guard lock(timerMutex);
    TimerSlot* slot = findSlot(id);
    if (slot) {
        stop(*slot);
    } else {
        for (TimerSlot& candidate : timerSlots) {
            if (!candidate.used) {
                slot = &candidate;
                break;
            }
        }
        if (!slot) return;  // more timers than the host ever runs at once
    }
    const std::uint32_t serial = ++lastSerial;
    const std::uintptr_t packed = (static_cast<std::uintptr_t>(serial) << 32) | id;
    const SDL_TimerID timer = SDL_AddTimer(periodMs > 0 ? periodMs : 1, onTimerThread, reinterpret_cast<void*>(packed));
    if (timer == 0) return;
    *slot = TimerSlot{true, id, serial, timer};
}

void killTimer(unsigned id) {
    using namespace sdl;
    std::lock_guard lock(timerMutex);
    if (TimerSlot* slot = findSlot(id)) stop(*slot);
}

}  // namespace lumivortex::platform
