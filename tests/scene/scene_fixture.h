// Shared start of the scene tests: a fresh program (scene objects and host
// configuration) on the headless backend with a 640 x 360 screen, a fixed
// random seed, a manual clock and nothing left over from an earlier run.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "framebuffer/frame_buffer.h"
#include "framebuffer/half_resolution.h"
#include "host/frame_rate.h"
#include "host/host_config.h"
#include "host/input_state.h"
#include "host/timers.h"
#include "platform/headless/headless.h"
#include "render/particle_library.h"
#include "scene/overlays.h"
#include "scene/scene_program.h"
#include "scene/scene_setup.h"
#include "scene/scene_step.h"

namespace lumivortex::testing {

inline constexpr int sceneTestWidth = 640;
inline constexpr int sceneTestHeight = 360;
inline constexpr std::int64_t sceneTestSeed = 20261211;

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::headless::reset();
        platform::headless::setScreenSize(sceneTestWidth, sceneTestHeight);
        resetHostConfig();
        clearInput();
        timerFired[legendTimerSlot] = 0;
        halfResRequested = 0;
        fixedRandomSeed = sceneTestSeed;
        framePacer = paceFrame;
        initialiseProgram();
    }
    void TearDown() override {
        releaseParticleLibrary();
        deleteOverlays();
        fixedRandomSeed = -1;
        halfResRequested = 0;
        platform::headless::reset();
    }
};

}  // namespace lumivortex::testing
