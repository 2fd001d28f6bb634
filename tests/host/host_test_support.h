// Shared set-up of the host tests: every test starts from the defaults of
// the host, the headless platform, the input record and the frame buffer.
#pragma once

#include <gtest/gtest.h>

#include "framebuffer/frame_buffer.h"
#include "host/host_config.h"
#include "host/input_state.h"
#include "host/worker.h"
#include "platform/headless/headless.h"

namespace lumivortex::testing {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A stop that a slow (sanitized, loaded) worker honours late must
        // still reach the test's checks rather than end the process.
        stopGracePeriodMs = 60000;
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
