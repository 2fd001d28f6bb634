// Input as flags: the window thread sets them from window messages, the
// application reads them once per frame and clears them with clearInput.
// Nothing is queued; a flag says the event happened since the last clear.
#pragma once

#include <atomic>

namespace lumivortex {

inline constexpr int keySlotCount = 61;

struct InputState {
    std::atomic<int> anyButtonDown{0};
    std::atomic<int> anyButtonUp{0};
    std::atomic<int> mouseMoved{0};     // the last move changed the position
    std::atomic<int> leftButton{0};     // the button changed (either way)
    std::atomic<int> middleButton{0};
    std::atomic<int> rightButton{0};
    std::atomic<int> wheel{0};          // high 16 bits: signed distance; low: key-state flags
    std::atomic<int> mouseX{0};         // client coordinates, unsigned 16 bit
    std::atomic<int> mouseY{0};
    std::atomic<int> mouseDeltaX{0};    // previous minus new position, last move only
    std::atomic<int> mouseDeltaY{0};
    std::atomic<int> keysReleased[keySlotCount]{};  // slot 0: any key
    std::atomic<int> keysPressed[keySlotCount]{};
};

extern InputState inputState;

// Slot of a virtual-key code in the key tables; 0 when the key has none.
int keySlot(unsigned keyCode);

void onKeyDown(unsigned keyCode);
void onKeyUp(unsigned keyCode);
void onMouseMove(int x, int y);
// Clears the event fields and both key tables; position and deltas stay.
void clearInput();

}  // namespace lumivortex
