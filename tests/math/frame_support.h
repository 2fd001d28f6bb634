// Test support for the frame module: frames live until the process ends, so
// tests that need a clean table release every frame and list node and put
// the selection globals back to their start values.
#pragma once

#include <gtest/gtest.h>

#include "host/memory.h"
#include "math/frame.h"

namespace lumivortex::testing {

inline void resetFrames() {
    while (frameList != nullptr) {
        FrameListNode* next = frameList->next;
        alignedFree(frameList);
        frameList = next;
    }
    for (Frame*& slot : frameSlots) {
        alignedFree(slot);
        slot = nullptr;
    }
    currentFrameIndex = 1;
    currentFrame = nullptr;
    cameraFrameIndex = 0;
    useCachedWorld = 1;
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override { resetFrames(); }
    void TearDown() override { resetFrames(); }
};

inline void expectVecNear(const Vec3& actual, const Vec3& expected, double tolerance = 1e-12) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

}  // namespace lumivortex::testing
