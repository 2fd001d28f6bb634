// Input flags set by window messages through the host's window procedure.
#include <vector>

#include "host/host_config.h"
#include "host/input_state.h"
#include "host/timers.h"
#include "host/window_proc.h"
#include "host/worker.h"
#include "host_test_support.h"

namespace lumivortex::testing {
namespace {

using platform::Message;
using platform::MessageType;

class InputTest : public HostTest {
protected:
    long send(MessageType type, std::uint32_t wParam = 0, std::uint32_t lParam = 0) {
        Message message{type, wParam, lParam};
        return hostWindowProc(message);
    }
    static std::vector<int> setSlots(const std::atomic<int>* table) {
        std::vector<int> slots;
        for (int i = 0; i < keySlotCount; ++i)
            if (table[i] != 0) slots.push_back(i);
        return slots;
    }
    using Slots = std::vector<int>;
};

TEST_F(InputTest, EveryKeyOfTheTableSetsItsSlotInBothTables) {
    struct KeyCase {
        unsigned code;
        int slot;
    };
    std::vector<KeyCase> cases = {{27, 1}, {13, 2}, {32, 3}, {16, 14}, {17, 15}, {18, 16}, {9, 17},
                                  {8, 18}, {46, 19}, {45, 20}, {38, 21}, {40, 22}, {37, 23}, {39, 24}};
    for (int f = 0; f < 10; ++f) cases.push_back({112u + f, 4 + f});
    for (int d = 0; d < 10; ++d) cases.push_back({48u + d, 25 + d});
    for (int l = 0; l < 26; ++l) cases.push_back({65u + l, 35 + l});
    ASSERT_EQ(cases.size(), 60u);  // slots 1..60
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.code);
        clearInput();
        send(MessageType::KeyDown, c.code);
        EXPECT_EQ(setSlots(inputState.keysPressed), (Slots{0, c.slot}));
        EXPECT_EQ(setSlots(inputState.keysReleased), Slots{});  // nothing released yet
        send(MessageType::KeyUp, c.code);
        EXPECT_EQ(setSlots(inputState.keysReleased), (Slots{0, c.slot}));
    }
}

TEST_F(InputTest, KeysOutsideTheTableSetOnlySlotZero) {
    for (unsigned code : {122u /* F11 */, 123u, 0u, 7u, 97u /* 'a' */, 255u, 256u, 70000u}) {
        SCOPED_TRACE(code);
        clearInput();
        send(MessageType::KeyDown, code);
        send(MessageType::KeyUp, code);
        EXPECT_EQ(setSlots(inputState.keysPressed), Slots{0});
        EXPECT_EQ(setSlots(inputState.keysReleased), Slots{0});
    }
}

TEST_F(InputTest, MouseMoveKeepsPositionAndDeltaOfTheLastMessage) {
    const struct {
        std::uint32_t lParam;
        int x, y, dx, dy, moved;
    } steps[] = {
        {100 | (50u << 16), 100, 50, -100, -50, 1},
        {100 | (50u << 16), 100, 50, 0, 0, 0},          // unchanged position
        {65535 | (65535u << 16), 65535, 65535, 100 - 65535, 50 - 65535, 1},  // unsigned 16 bit
        {7 | (65535u << 16), 7, 65535, 65535 - 7, 0, 1},
    };
    for (const auto& s : steps) {
        send(MessageType::MouseMove, 0, s.lParam);
        EXPECT_EQ(inputState.mouseX, s.x);
        EXPECT_EQ(inputState.mouseY, s.y);
        EXPECT_EQ(inputState.mouseDeltaX, s.dx);
        EXPECT_EQ(inputState.mouseDeltaY, s.dy);
        EXPECT_EQ(inputState.mouseMoved, s.moved);
    }
}

TEST_F(InputTest, ButtonsRecordTheChangeAndTheDirection) {
    const struct {
        MessageType type;
        std::atomic<int>* button;
        std::atomic<int>* direction;
    } cases[] = {
        {MessageType::LeftButtonDown, &inputState.leftButton, &inputState.anyButtonDown},
        {MessageType::LeftButtonUp, &inputState.leftButton, &inputState.anyButtonUp},
        {MessageType::RightButtonDown, &inputState.rightButton, &inputState.anyButtonDown},
        {MessageType::RightButtonUp, &inputState.rightButton, &inputState.anyButtonUp},
        {MessageType::MiddleButtonDown, &inputState.middleButton, &inputState.anyButtonDown},
        {MessageType::MiddleButtonUp, &inputState.middleButton, &inputState.anyButtonUp},
    };
    for (const auto& c : cases) {
        clearInput();
        EXPECT_EQ(send(c.type), 0);
        int set = inputState.leftButton + inputState.rightButton + inputState.middleButton +
                  inputState.anyButtonDown + inputState.anyButtonUp;
        EXPECT_EQ(*c.button, 1);
        EXPECT_EQ(*c.direction, 1);
        EXPECT_EQ(set, 2);  // nothing else
    }
    clearInput();
    send(MessageType::LeftButtonDown);
    send(MessageType::LeftButtonUp);
    EXPECT_EQ(inputState.leftButton + inputState.anyButtonDown + inputState.anyButtonUp, 3);
}

TEST_F(InputTest, ClearInputResetsEventsButKeepsThePosition) {
    send(MessageType::MouseMove, 0, 30 | (40u << 16));
    send(MessageType::MouseWheel, 0xFF880008u);
    EXPECT_EQ(inputState.wheel, static_cast<int>(0xFF880008u));
    send(MessageType::KeyDown, 13);
    send(MessageType::KeyUp, 13);
    send(MessageType::RightButtonDown);
    send(MessageType::MiddleButtonUp);
    EXPECT_EQ(inputState.keysPressed[2], 1);
    EXPECT_EQ(inputState.keysReleased[2], 1);
    clearInput();
    for (const auto* field : {&inputState.anyButtonDown, &inputState.anyButtonUp, &inputState.mouseMoved,
                              &inputState.leftButton, &inputState.middleButton, &inputState.rightButton,
                              &inputState.wheel})
        EXPECT_EQ(*field, 0);
    EXPECT_EQ(setSlots(inputState.keysPressed), Slots{});
    EXPECT_EQ(setSlots(inputState.keysReleased), Slots{});
    EXPECT_EQ(inputState.mouseX, 30);
    EXPECT_EQ(inputState.mouseY, 40);
    EXPECT_EQ(inputState.mouseDeltaX, -30);
    EXPECT_EQ(inputState.mouseDeltaY, -40);
}

TEST_F(InputTest, TimerMessagesRaiseSlotFlagsOrRedraw) {
    for (auto& flag : timerFired) flag = 0;
    static int redraws = 0;
    redraws = 0;
    hostConfig.redraw = [] { ++redraws; };
    for (unsigned id : {999u, 1256u, 348u, 0u}) send(MessageType::Timer, id);  // ignored
    EXPECT_EQ(redraws, 0);
    for (const auto& flag : timerFired) EXPECT_EQ(flag, 0);
    send(MessageType::Timer, 1000);
    send(MessageType::Timer, 1255);
    send(MessageType::Timer, 1042);
    EXPECT_EQ(timerFired[0], 1);
    EXPECT_EQ(timerFired[255], 1);
    EXPECT_EQ(timerFired[42], 1);
    EXPECT_EQ(timerFired[1], 0);
    send(MessageType::Timer, 347);
    EXPECT_EQ(redraws, 1);
}

TEST_F(InputTest, RedrawIsNotReentered) {
    static int depth = 0, calls = 0;
    depth = calls = 0;
    hostConfig.redraw = [] {
        ++calls;
        ++depth;
        if (depth < 3) runRedraw();
        --depth;
    };
    runRedraw();
    EXPECT_EQ(calls, 1);
    runRedraw();
    EXPECT_EQ(calls, 2);  // the flag is cleared after each call
}

TEST_F(InputTest, PaintRepaintsTheLastPresentedFrame) {
    EXPECT_EQ(send(MessageType::Paint), 0);
    EXPECT_EQ(platform::headless::repaintCount(), 1);
}

TEST_F(InputTest, EraseBackgroundAnswersOneAndTheWindowCannotGrowPastTheFrame) {
    EXPECT_EQ(send(MessageType::EraseBackground), 1);
    setWindowMaxSize(640, 480);
    Message limits{MessageType::GetMinMaxInfo};
    hostWindowProc(limits);
    EXPECT_EQ(limits.maxTrackWidth, 640);
    EXPECT_EQ(limits.maxTrackHeight, 480);
}

}  // namespace
}  // namespace lumivortex::testing
