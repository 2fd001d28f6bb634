// The fast spot kernels against the plain reference walk on random sprites:
// random frames, texels (end markers at random places, opaque white, stray
// top bytes), tints, opacities, radii and positions across the viewport
// edges. Every frame pixel and the state the kernels leave must agree.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "spot_kernel_fixture.h"

namespace lumivortex::testing {
namespace {

class SpotKernelRandomTest : public SpotKernelTest, public KernelRandom {
protected:
    std::uint32_t randomTexel(KernelMode mode) {
        const int pick = uniform(0, 99);
        if (pick < 8) return endMarkerOf(mode);
        if (pick < 12) return 0xFFFFFFFFu;
        if (pick < 16) return mode == KernelMode::Multiply ? 0u : 0x00FFFFFFu;
        if (pick < 30) return anyColour() & 0xFFu;  // weight-style texel
        return anyColour();
    }

    void resizeFrame(int w, int h) {
        useFrame(pixels, w, h, 0u);
        for (auto& p : pixels) p = anyColour();
    }
};

TEST_F(SpotKernelRandomTest, FastKernelsMatchTheReferenceWalk) {
    for (int run = 0; run < 4000; ++run) {
        const KernelMode mode = allModes[run % 4];
        resizeFrame(uniform(16, 48), uniform(16, 40));
        const int r = chance(70) ? uniform(0, 12) : uniform(13, 60);
        fillSampledTexels(quads, r, [&] { return randomTexel(mode); });
        // Centres up to r pixels beyond each edge: the square still overlaps.
        placeSprite(uniform(-r, viewportMaxX + r), uniform(-r, viewportMaxY + r), r);
        setColours(randomTint(), anyColour(), randomWeight(), randomWeight());
        const bool clipped = !insideViewport() || chance(20);

        const RasterState input = rasterState;
        const DrawOutcome expected = drawOutcome(pixels, [&] { referenceSpot(mode, clipped); });
        spotKernel(mode, clipped)();

        ASSERT_EQ(pixels, expected.frame) << "run " << run << " mode " << modeName(mode) << " clipped " << clipped
                                          << " centre (" << input.centreX << ", " << input.centreY << ") R " << r
                                          << " frame " << frameWidth << " x " << frameHeight;
        ASSERT_EQ(rasterState.intensity, expected.state.intensity) << "run " << run;
        if (mode == KernelMode::Alpha) {
            ASSERT_EQ(rasterState.solidColour, expected.state.solidColour) << "run " << run;
        }
    }
}

}  // namespace
}  // namespace lumivortex::testing
