// Ring throughput: the application's 39 head rings (additive white rings
// whose inner circle lies at 0.95 of the outer radius) drawn by the disc
// coverage kernels into a 1920 x 1080 frame, at the sizes the scene gives
// them on a 1080p screen (about 9 pixels) and on a 2160p screen (twice
// that), wholly inside the viewport and crossing its left edge; and one
// largest disc (255 pixels) for the cost per covered pixel.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "render/kernels/coverage_cursor.h"
#include "render/kernels/disc_kernels.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex {
namespace {

constexpr int frameW = 1920;
constexpr int frameH = 1080;
constexpr int ringCount = 39;
constexpr double innerFraction = 0.95;

struct RingPlacement {
    int x, y;
};

// What the projection and the image dispatcher leave for one disc sprite.
void placeDisc(const RingPlacement& at, int outer, int inner) {
    RasterState& rs = rasterState;
    rs.outerQuarterRadius = outer;
    rs.innerQuarterRadius = inner;
    rs.coreQuarterRadius = 0;
    rs.pixelRadius = (outer + 3) >> 2;
    rs.spanRadius = rs.pixelRadius - 1;
    rs.centreX = at.x;
    rs.centreY = at.y;
    rs.left = at.x - rs.spanRadius;
    rs.right = at.x + rs.spanRadius;
    rs.top = at.y - rs.spanRadius;
    rs.bottom = at.y + rs.spanRadius;
    rs.tintColour = noTint;
    rs.spriteColour = 0xFFFFFFFFu;
    rs.alpha = 255;
    rs.intensity = 255;
}

class DiscFrame {
public:
    DiscFrame() : pixels_(static_cast<std::size_t>(frameW) * frameH, 0x00101820u) {
        buildCoverageTables();
        setFrameSize(frameW, frameH);
        framePixels = pixels_.data();
    }
    ~DiscFrame() { framePixels = nullptr; }

private:
    std::vector<std::uint32_t> pixels_;
};

// args: outer quarter radius, 1 = centres on the left edge (clipped kernel).
void BM_HeadRings(benchmark::State& state) {
    DiscFrame frame;
    const int outer = static_cast<int>(state.range(0));
    const bool clipped = state.range(1) != 0;
    const int inner = static_cast<int>(innerFraction * outer + 0.5);
    const int margin = (outer + 3) >> 2;
    std::mt19937 rng(39);
    std::vector<RingPlacement> rings;
    for (int i = 0; i < ringCount; ++i) {
        const int x = clipped ? 0 : margin + static_cast<int>(rng() % (frameW - 2 * margin));
        rings.push_back({x, margin + static_cast<int>(rng() % (frameH - 2 * margin))});
    }
    const SpriteKernel kernel = clipped ? drawDiscAddClipped : drawDiscAdd;
    for (auto _ : state) {
        for (const RingPlacement& at : rings) {
            placeDisc(at, outer, inner);
            kernel();
        }
        benchmark::ClobberMemory();
    }
    state.counters["rings/s"] =
        benchmark::Counter(static_cast<double>(ringCount), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_HeadRings)->Args({36, 0})->Args({36, 1})->Args({72, 0})->Args({72, 1})->Unit(benchmark::kMicrosecond);

// One filled disc of the largest radius the tables hold.
void BM_LargestDisc(benchmark::State& state) {
    DiscFrame frame;
    for (auto _ : state) {
        placeDisc({frameW / 2, frameH / 2}, maxCoverageQuarterRadius, 0);
        drawDiscAdd();
        benchmark::ClobberMemory();
    }
    state.counters["pixels/s"] =
        benchmark::Counter(3.14159 * 254.5 * 254.5, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LargestDisc)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lumivortex
