#include "math/view_transform.h"

#include <gtest/gtest.h>

#include <numbers>

#include "math/frame.h"
#include "math/frame_support.h"

namespace lumivortex {
namespace {

using testing::expectVecNear;
using testing::FrameTest;

class ViewTransformTest : public FrameTest {};

Vec3 viewOf(int systemFrame, Vec3 p) {
    updateFrames();
    loadViewTransform(systemFrame);
    Vec3 out;
    toView(&out, &p);
    return out;
}

TEST_F(ViewTransformTest, IdentityFrameWithoutCameraKeepsPoints) {
    selectFrame(1);
    expectVecNear(viewOf(1, {3, -4, 5}), {3, -4, 5}, 0);
}

TEST_F(ViewTransformTest, CameraFrameShiftsTheScene) {
    setCameraFrame(2);
    setPosition(0, 0, 100);
    selectFrame(1);
    setPosition(1, 0, 0);
    expectVecNear(viewOf(1, {3, -4, 5}), {4, -4, 105}, 0);
    EXPECT_EQ(currentFrameIndex, 2);  // the camera frame was selected last
}

TEST_F(ViewTransformTest, PivotIsAddedBeforeTheRotation) {
    selectFrame(1);
    setPivot(0, 0, 72);
    setTurn(1, 0, 0);
    setTurnAngle(std::numbers::pi / 2);
    Frame& f = *currentFrame;
    updateFrames();  // one quarter turn about X
    f.turnX = 0;
    expectVecNear(viewOf(1, {0, 0, 0}), {0, -72, 0}, 1e-13);
}

TEST_F(ViewTransformTest, CameraPivotAndAxesApplyAfterTheSystemFrame) {
    setCameraFrame(3);
    setOrientationPreset(0);  // X -> (0,0,-1), Z -> (1,0,0)
    setPivot(1, 0, 0);
    setPosition(0, 0, 10);
    selectFrame(1);
    setPosition(0, 2, 0);
    // System: (0,0,1) + (0,2,0) = (0,2,1); camera: + pivot (1,2,1), rotated
    // (1,0,0)->(0,0,-1), (0,0,1)->(1,0,0): (1,2,-1), + (0,0,10).
    expectVecNear(viewOf(1, {0, 0, 1}), {1, 2, 9}, 0);
}

TEST_F(ViewTransformTest, LoadingCreatesMissingFrames) {
    loadViewTransform(0);
    EXPECT_NE(frameSlots[0], nullptr);
    EXPECT_EQ(currentFrameIndex, 0);
}

}  // namespace
}  // namespace lumivortex
