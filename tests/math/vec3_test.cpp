#include "math/vec3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumivortex {
namespace {

TEST(Vec3Test, NormaliseLeavesVectorsNotLongerThanTheThresholdUnchanged) {
    struct Case {
        Vec3 v;
        double length;
    };
    for (const Case& c : {Case{{0, 0, 0}, 0.0}, Case{{1e-16, 0, 0}, 1e-16}, Case{{0, -5e-17, 0}, 5e-17}}) {
        Vec3 v = c.v;
        lastLength = -1.0;
        EXPECT_EQ(normalise(&v), &v);
        EXPECT_EQ(v.x, c.v.x);
        EXPECT_EQ(v.y, c.v.y);
        EXPECT_EQ(v.z, c.v.z);
        EXPECT_EQ(lastLength, c.length);

        Vec3 out{9, 9, 9};
        normalised(&out, &c.v);
        EXPECT_EQ(out.x, c.v.x);
        EXPECT_EQ(out.y, c.v.y);
        EXPECT_EQ(out.z, c.v.z);
    }
}

TEST(Vec3Test, NormalisationPublishesTheLength) {
    Vec3 v{3, 0, -4};
    normalise(&v);
    EXPECT_EQ(lastLength, 5.0);
    EXPECT_DOUBLE_EQ(v.x, 0.6);
    EXPECT_DOUBLE_EQ(v.z, -0.8);

    const Vec3 w{0, 2e-16, 0};
    Vec3 out;
    normalised(&out, &w);
    EXPECT_EQ(lastLength, 2e-16);
    EXPECT_DOUBLE_EQ(out.y, 1.0);
}

TEST(Vec3Test, CrossMayWriteOverItsArguments) {
    Vec3 a{1, 0, 0};
    const Vec3 b{0, 1, 0};
    EXPECT_EQ(cross(&a, &a, &b), &a);
    EXPECT_EQ(a.x, 0.0);
    EXPECT_EQ(a.y, 0.0);
    EXPECT_EQ(a.z, 1.0);

    Vec3 c{2, 3, 4};
    const Vec3 d{5, 6, 7};
    cross(&c, &c, &d);  // (3*7 - 4*6, 4*5 - 2*7, 2*6 - 3*5)
    EXPECT_EQ(c.x, -3.0);
    EXPECT_EQ(c.y, 6.0);
    EXPECT_EQ(c.z, -3.0);
}

TEST(Vec3Test, LightDirectionPointsDownTheNegativeDiagonal) {
    const double component = -1.0 / std::sqrt(3.0);
    EXPECT_DOUBLE_EQ(lightDirection.x, component);
    EXPECT_DOUBLE_EQ(lightDirection.y, component);
    EXPECT_DOUBLE_EQ(lightDirection.z, component);
}

}  // namespace
}  // namespace lumivortex
