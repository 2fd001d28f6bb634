#include "math/random.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

#include "math/colour.h"
#include "math/random_support.h"

namespace lumivortex {
namespace {

using testing::seedForDraw;

constexpr std::uint32_t seed = 2024;

TEST(RandomTest, GeneratorYieldsBits16To30OfTheLinearCongruence) {
    setRandomSeed(1);
    for (int expected : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(randomDraw(), expected);
    for (int r : {0, 1, 16384, 32767}) {
        setRandomSeed(seedForDraw(r));
        EXPECT_EQ(randomDraw(), r);
    }
}

TEST(RandomTest, OperationsWithoutRandomnessConsumeNoDraw) {
    struct Case {
        std::string name;
        std::function<void()> call;
    };
    const Case cases[] = {
        {"randIndex(0)", [] { EXPECT_EQ(randIndex(0), 0); }},
        {"randIntAround(7, 0)", [] { EXPECT_EQ(randIntAround(7, 0), 7); }},
        {"randAround(2.5, 0)", [] { EXPECT_EQ(randAround(2.5, 0.0), 2.5); }},
        {"randInCube(0)",
         [] {
             Vec3 v{1, 1, 1};
             randInCube(0.0, &v);
             EXPECT_EQ(v.x, 0.0);
             EXPECT_EQ(v.y, 0.0);
             EXPECT_EQ(v.z, 0.0);
         }},
        {"randInBox zero sizes",
         [] {
             Vec3 v;
             randInBox(&v, 1, 2, 3, 0, 0, 0);
             EXPECT_EQ(v.x, 1.0);
             EXPECT_EQ(v.y, 2.0);
             EXPECT_EQ(v.z, 3.0);
         }},
        {"jitterColour(c, 0)", [] { EXPECT_EQ(jitterColour(0x12345678u, 0), 0x12345678u); }},
    };
    setRandomSeed(seed);
    const int first = randomDraw();
    const int second = randomDraw();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setRandomSeed(seed);
        c.call();
        EXPECT_EQ(randomDraw(), first);
        EXPECT_EQ(randomDraw(), second);
    }
}

TEST(RandomTest, RangeEndsFollowTheFormulas) {
    struct Case {
        int r;
        int index;      // randIndex(10)
        int around;     // randIntAround(10, 3)
        int aroundOne;  // randIntAround(10, 1)
        double unit;
        double value;  // randAround(4, 2)
    };
    // The formulas never give c - s for randIntAround: r = 0 gives c - s + 1.
    for (const Case& c : {Case{0, 0, 8, 10, 0.0, 2.0}, Case{1638, 0, 8, 10, 1638.0 / 32767, 2.19996},
                          Case{1639, 1, 8, 10, 1639.0 / 32767, 2.2}, Case{16384, 5, 10, 10, 16384.0 / 32767, 4.0},
                          Case{32767, 10, 13, 11, 1.0, 6.0}}) {
        SCOPED_TRACE(c.r);
        setRandomSeed(seedForDraw(c.r));
        EXPECT_EQ(randIndex(10), c.index);
        setRandomSeed(seedForDraw(c.r));
        EXPECT_EQ(randIntAround(10, 3), c.around);
        setRandomSeed(seedForDraw(c.r));
        EXPECT_EQ(randIntAround(10, 1), c.aroundOne);
        setRandomSeed(seedForDraw(c.r));
        EXPECT_DOUBLE_EQ(randUnit(), c.unit);
        setRandomSeed(seedForDraw(c.r));
        EXPECT_NEAR(randAround(4.0, 2.0), c.value, 1e-4);
    }
}

// The draws of n operations in a row, for checking draw order.
std::array<double, 3> nextSymmetric(double halfSize) {
    std::array<double, 3> values{};
    for (double& v : values) v = -halfSize + randomDraw() * (2.0 * halfSize) / 32767.0;
    return values;
}

TEST(RandomTest, BoxDrawsZThenYThenXAndCubeDrawsXThenYThenZ) {
    setRandomSeed(seed);
    const auto draws = nextSymmetric(1.0);
    setRandomSeed(seed);
    Vec3 box;
    randInBox(&box, 10, 20, 30, 1, 1, 1);
    EXPECT_DOUBLE_EQ(box.z, 30 + draws[0]);
    EXPECT_DOUBLE_EQ(box.y, 20 + draws[1]);
    EXPECT_DOUBLE_EQ(box.x, 10 + draws[2]);

    setRandomSeed(seed);
    Vec3 cube;
    randInCube(1.0, &cube);
    EXPECT_EQ(cube.x, draws[0]);
    EXPECT_EQ(cube.y, draws[1]);
    EXPECT_EQ(cube.z, draws[2]);
}

TEST(RandomTest, BoxWithOneNonZeroSizeDrawsOnceForThatAxis) {
    setRandomSeed(seed);
    const double y = -5.0 + randomDraw() * 10.0 / 32767.0;
    const int next = randomDraw();
    setRandomSeed(seed);
    Vec3 box;
    randInBox(&box, 1, 2, 3, 0, 5, 0);
    EXPECT_EQ(box.x, 1.0);
    EXPECT_DOUBLE_EQ(box.y, 2.0 + y);
    EXPECT_EQ(box.z, 3.0);
    EXPECT_EQ(randomDraw(), next);
}

TEST(RandomTest, DirectionsOnTheCubeSurfaceHaveOneComponentAtTheRadius) {
    setRandomSeed(seed);
    for (int i = 0; i < 1000; ++i) {
        Vec3 v;
        randDirection(1.0, 1.0, &v);
        const double largest = std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z)));
        EXPECT_NEAR(largest, 1.0, 1e-15);
    }
}

TEST(RandomTest, DirectionsBlendBetweenUnitVectorAndCubeSurface) {
    setRandomSeed(seed);
    const auto cube = nextSymmetric(1.0);
    const int next = randomDraw();
    const double length = std::sqrt(cube[0] * cube[0] + cube[1] * cube[1] + cube[2] * cube[2]);
    const double largest = std::fmax(std::fabs(cube[0]), std::fmax(std::fabs(cube[1]), std::fabs(cube[2])));
    struct Case {
        double mix;
        double radius;
    };
    for (const Case& c : {Case{0.0, 7.0}, Case{1.0, 2.0}, Case{0.25, 2.0}}) {
        SCOPED_TRACE(c.mix);
        setRandomSeed(seed);
        Vec3 v;
        randDirection(c.mix, c.radius, &v);
        EXPECT_EQ(randomDraw(), next);  // three draws, whatever the mix
        if (c.mix != 1.0) {
            EXPECT_DOUBLE_EQ(lastLength, length);
        }
        for (int axis = 0; axis < 3; ++axis) {
            const double unit = cube[axis] / length;
            const double onCube = c.radius / largest * cube[axis];
            const double component = axis == 0 ? v.x : (axis == 1 ? v.y : v.z);
            EXPECT_NEAR(component, unit + c.mix * (onCube - unit), 1e-14);
        }
    }
}

TEST(RandomTest, VelocityScalesTheNormalisedCubePointBySpeedDrawnAfterIt) {
    setRandomSeed(seed);
    const auto cube = nextSymmetric(1.0);
    const double speed = 90.0 + randomDraw() * 20.0 / 32767.0;
    const double length = std::sqrt(cube[0] * cube[0] + cube[1] * cube[1] + cube[2] * cube[2]);
    setRandomSeed(seed);
    Vec3 v;
    randVelocity(&v, 100.0, 10.0);
    EXPECT_DOUBLE_EQ(lastLength, length);
    EXPECT_DOUBLE_EQ(v.x, speed * (cube[0] / length));
    EXPECT_DOUBLE_EQ(v.y, speed * (cube[1] / length));
    EXPECT_DOUBLE_EQ(v.z, speed * (cube[2] / length));
}

}  // namespace
}  // namespace lumivortex
