// Shared set-up of the host tests: every test starts from the defaults of
// the host, the headless platform, the input record and the frame buffer.
#pragma once

#include <gtest/gtest.h>

#include "framebuffer/frame_buffer.h"
#include "host/host_config.h"
#include "host/input_state.h"
#include "platform/headless/headless.h"

namespace lumivortex::testing {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        platform::headless::reset();
        resetHostConfig();
        clearInput();
        onMouseMove(0, 0);
        releaseFrameBuffer();
        zoom = 1.0;
        rowsTopDown = 1;
        setFrameSize(240, 180);
    }
    void TearDown() override { releaseFrameBuffer(); }
};

}  // namespace lumivortex::testing
