// The fast spot kernels against the plain reference walk on random sprites:
// random frames, texels (end markers at random places, opaque white, stray
// top bytes), tints, opacities, radii and positions across the viewport
// edges. Every frame pixel and the state the kernels leave must agree.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "spot_kernel_fixture.h"

namespace lumivortex::testing {
namespace {

class SpotKernelRandomTest : public SpotKernelTest {
protected:
    std::mt19937 rng{20261211};

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    std::uint32_t anyColour() { return static_cast<std::uint32_t>(rng()); }
    bool chance(int percent) { return uniform(0, 99) < percent; }

    std::uint32_t randomTexel(SpotMode mode) {
        const int pick = uniform(0, 99);
        if (pick < 8) return endMarkerOf(mode);
        if (pick < 12) return 0xFFFFFFFFu;
        if (pick < 16) return mode == SpotMode::Multiply ? 0u : 0x00FFFFFFu;
        if (pick < 30) return anyColour() & 0xFFu;  // weight-style texel
        return anyColour();
    }

    // Only the sampled texels of a span radius matter; fill those.
    void randomTexels(SpotMode mode, int spanRadius) {
        const std::int32_t* scale = offsetScaleRow(spanRadius);
        for (int q = 0; q < 4; ++q)
            for (int dy = 0; dy <= spanRadius; ++dy)
                for (int dx = 0; dx <= spanRadius; ++dx) texel(q, scale[dy] / 4, scale[dx] / 4) = randomTexel(mode);
    }

    std::uint32_t randomTint() {
        const int pick = uniform(0, 3);
        if (pick == 0) return noTint;
        if (pick == 1) return 0xFFFFFFFFu;
        return anyColour();
    }

    int randomWeight() { return chance(40) ? 255 : uniform(1, 255); }

    void resizeFrame(int w, int h) {
        setFrameSize(w, h);
        pixels.resize(static_cast<std::size_t>(w) * h);
        framePixels = pixels.data();
        for (auto& p : pixels) p = anyColour();
    }
};

TEST_F(SpotKernelRandomTest, FastKernelsMatchTheReferenceWalk) {
    const SpotMode modes[] = {SpotMode::Add, SpotMode::Subtract, SpotMode::Multiply, SpotMode::Alpha};
    for (int run = 0; run < 4000; ++run) {
        const SpotMode mode = modes[run % 4];
        resizeFrame(uniform(16, 48), uniform(16, 40));
        const int r = chance(70) ? uniform(0, 12) : uniform(13, 60);
        randomTexels(mode, r);
        // Centres up to r pixels beyond each edge: the square still overlaps.
        placeSprite(uniform(-r, viewportMaxX + r), uniform(-r, viewportMaxY + r), r);
        setColours(randomTint(), anyColour(), randomWeight(), randomWeight());
        const bool clipped = !insideViewport() || chance(20);

        const std::vector<std::uint32_t> before = pixels;
        const RasterState input = rasterState;
        referenceSpot(mode, clipped);
        const std::vector<std::uint32_t> expected = pixels;
        const RasterState expectedState = rasterState;

        pixels = before;
        rasterState = input;
        spotKernel(mode, clipped)();

        ASSERT_EQ(pixels, expected) << "run " << run << " mode " << modeName(mode) << " clipped " << clipped
                                    << " centre (" << input.centreX << ", " << input.centreY << ") R " << r
                                    << " frame " << frameWidth << " x " << frameHeight;
        ASSERT_EQ(rasterState.intensity, expectedState.intensity) << "run " << run;
        if (mode == SpotMode::Alpha) {
            ASSERT_EQ(rasterState.solidColour, expectedState.solidColour) << "run " << run;
        }
    }
}

}  // namespace
}  // namespace lumivortex::testing
