// The whole animation, unpaced, in its steady state: frames 300 to 600 of
// the program as it runs (hostMain on the headless backend, the scene on the
// worker, every frame presented to the window surface), at three screen
// sizes. Beside each figure the floor measured in the same run: one clear
// plus one copy of a frame buffer of that size, the least any frame costs.
// The headless clock is manual, so the frame-rate meter sees no work and
// the picture stays at full resolution. Counters:
//   ms_per_frame   wall time per frame, frames 301..600
//   floor_ms       one fillPixels and one memcpy of the frame
//   peak_rss_MB    the process's peak resident memory so far
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "host/frame_rate.h"
#include "host/host_main.h"
#include "host/input_state.h"
#include "platform/headless/headless.h"
#include "scene/overlays.h"
#include "scene/scene_program.h"
#include "scene/scene_setup.h"
#include "scene/scene_step.h"

namespace lumivortex {
namespace {

namespace headless = platform::headless;
using Clock = std::chrono::steady_clock;

constexpr int warmFrames = 300;
constexpr int lastFrame = 600;
constexpr unsigned keyEscape = 27;

int framesDone = 0;
Clock::time_point measureStart;
Clock::time_point measureEnd;

// Frame boundary, on the worker: no sleep; Esc after the last frame.
void countFrame(int) {
    ++framesDone;
    if (framesDone == warmFrames) measureStart = Clock::now();
    if (framesDone == lastFrame) {
        measureEnd = Clock::now();
        onKeyUp(keyEscape);
    }
}

double floorMilliseconds(int width, int height) {
    const std::size_t count = static_cast<std::size_t>(width) * height;
    std::vector<std::uint32_t> frame(count), window(count);
    constexpr int reps = 20;
    const auto start = Clock::now();
    for (int r = 0; r < reps; ++r) {
        fillPixels(frame.data(), count, 0xFF102030u + static_cast<std::uint32_t>(r));
        std::memcpy(window.data(), frame.data(), count * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(window.data());
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / reps;
}

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_Scene(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    double msPerFrame = 0.0;
    for (auto _ : state) {
        headless::reset();
        headless::setScreenSize(width, height);
        initialiseProgram();
        fixedRandomSeed = 7;
        framePacer = countFrame;
        framesDone = 0;
        char program[] = "lumivortex";
        char* argv[] = {program, nullptr};
        hostMain(1, argv);
        if (framesDone != lastFrame || !headless::messageBoxes().empty()) {
            state.SkipWithError("the animation did not run to its last frame");
            break;
        }
        const double seconds = std::chrono::duration<double>(measureEnd - measureStart).count();
        msPerFrame = seconds * 1000.0 / (lastFrame - warmFrames);
        state.SetIterationTime(seconds / (lastFrame - warmFrames));
    }
    framePacer = paceFrame;
    fixedRandomSeed = -1;
    state.counters["ms_per_frame"] = msPerFrame;
    state.counters["floor_ms"] = floorMilliseconds(width, height);
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}

BENCHMARK(BM_Scene)
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumivortex
