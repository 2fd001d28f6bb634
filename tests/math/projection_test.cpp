#include "math/projection.h"

#include <gtest/gtest.h>

namespace lumivortex {
namespace {

// Puts every setting back after each test, so the start values hold for the
// rest of the program.
class ProjectionTest : public ::testing::Test {
protected:
    void TearDown() override {
        zoomLimit = 10.0;
        setPerspective(-100.0, -200.0);
        nearThreshold = -5.0;
        setDepthFade(500.0, 0.0, 0);
    }
};

TEST_F(ProjectionTest, StartValues) {
    EXPECT_EQ(zoomLimit, 10.0);
    EXPECT_EQ(focal, -100.0);
    EXPECT_EQ(eyeZ, -200.0);
    EXPECT_EQ(nearThreshold, -5.0);
    EXPECT_EQ(nearLimit, -200.0);
    EXPECT_EQ(fadeEnd, 500.0);
    EXPECT_EQ(fadeStart, 0.0);
    EXPECT_EQ(fadeLength, 500.0);
    EXPECT_EQ(fadeMode, 0);
}

TEST_F(ProjectionTest, PerspectiveUsesTheZoomLimitInForce) {
    struct Case {
        double zoom, f, near;
        double eye, threshold, limit;
    };
    for (const Case& c : {Case{5.0, -115.0, -1.0, -230.0, -218.5, -218.5},
                          Case{5.0, -115.0, -300.0, -230.0, -218.5, -300.0},
                          Case{10.0, -100.0, -1.0, -200.0, -195.0, -195.0},
                          Case{10.0, -100.0, -0.5, -200.0, -195.0, -0.5}}) {
        zoomLimit = c.zoom;
        setPerspective(c.f, c.near);
        EXPECT_EQ(focal, c.f);
        EXPECT_EQ(eyeZ, c.eye);
        EXPECT_EQ(nearThreshold, c.threshold);
        EXPECT_EQ(nearLimit, c.limit);
    }
}

TEST_F(ProjectionTest, DepthFadeLength) {
    setDepthFade(500.0, -115.0, 1000);
    EXPECT_EQ(fadeEnd, 500.0);
    EXPECT_EQ(fadeStart, -115.0);
    EXPECT_EQ(fadeLength, 615.0);
    EXPECT_EQ(fadeMode, 1000);
}

}  // namespace
}  // namespace lumivortex
