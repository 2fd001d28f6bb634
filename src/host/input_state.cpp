// Key codes are the platform's virtual-key codes; a 256-entry table maps
// each to its slot so a key message costs one lookup.
#include "host/input_state.h"

#include <array>

namespace lumivortex {

InputState inputState;

namespace {

constexpr std::array<unsigned char, 256> buildSlotTable() {
    std::array<unsigned char, 256> slots{};
    slots[27] = 1;   // Esc
    slots[13] = 2;   // Enter
    slots[32] = 3;   // Space
    for (int f = 0; f < 10; ++f) slots[112 + f] = static_cast<unsigned char>(4 + f);  // F1-F10
    slots[16] = 14;  // Shift
    slots[17] = 15;  // Ctrl
    slots[18] = 16;  // Alt
    slots[9] = 17;   // Tab
    slots[8] = 18;   // Backspace
    slots[46] = 19;  // Delete
    slots[45] = 20;  // Insert
    slots[38] = 21;  // Up
    slots[40] = 22;  // Down
    slots[37] = 23;  // Left
    slots[39] = 24;  // Right
    for (int d = 0; d < 10; ++d) slots['0' + d] = static_cast<unsigned char>(25 + d);
    for (int l = 0; l < 26; ++l) slots['A' + l] = static_cast<unsigned char>(35 + l);
    return slots;
}

constexpr std::array<unsigned char, 256> slotOfKey = buildSlotTable();

void markKey(std::atomic<int>* table, unsigned keyCode) {
    table[0] = 1;
    if (int slot = keySlot(keyCode)) table[slot] = 1;
}

}  // namespace

int keySlot(unsigned keyCode) { return keyCode < slotOfKey.size() ? slotOfKey[keyCode] : 0; }

void onKeyDown(unsigned keyCode) { markKey(inputState.keysPressed, keyCode); }
void onKeyUp(unsigned keyCode) { markKey(inputState.keysReleased, keyCode); }

void onMouseMove(int x, int y) {
    int dx = inputState.mouseX - x;
    int dy = inputState.mouseY - y;
    inputState.mouseDeltaX = dx;
    inputState.mouseDeltaY = dy;
    inputState.mouseMoved = (dx != 0 || dy != 0) ? 1 : 0;
    inputState.mouseX = x;
    inputState.mouseY = y;
}

void clearInput() {
    for (auto* field : {&inputState.anyButtonDown, &inputState.anyButtonUp, &inputState.mouseMoved,
                        &inputState.leftButton, &inputState.middleButton, &inputState.rightButton,
                        &inputState.wheel})
        *field = 0;
    for (int slot = 0; slot < keySlotCount; ++slot) {
        inputState.keysReleased[slot] = 0;
        inputState.keysPressed[slot] = 0;
    }
}

}  // namespace lumivortex
