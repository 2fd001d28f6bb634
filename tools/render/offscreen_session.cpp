// The session replaces the scene's frame pacer, which the gallery scenes
// share. After each frame, on the worker: write the frame if it is kept
// (and print its checksum when asked), advance the clock by the rest of the
// frame period (paceFrame on the manual clock), release Esc after the last
// frame, then wait until the window thread has delivered everything that
// became due (the legend's timer, the key). Two marker messages posted one
// after the other guarantee that: anything queued before the first marker is
// dispatched before the second. So every run with the same options gives the
// same frames.
#include "offscreen_session.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "frame_checksum.h"
#include "framebuffer/frame_buffer.h"
#include "gallery/gallery.h"
#include "host/frame_rate.h"
#include "host/host_main.h"
#include "platform/headless/headless.h"
#include "png_file.h"
#include "scene/scene_program.h"
#include "scene/scene_setup.h"
#include "scene/scene_step.h"

namespace lumivortex::render_tool {

namespace {

namespace headless = platform::headless;

constexpr unsigned keyEscape = 27;
constexpr platform::MessageType markerType = platform::MessageType::EraseBackground;

struct Session {
    RenderOptions options;
    int frame = 0;             // worker only
    bool writeFailed = false;  // worker only until hostMain returns
    std::string error;
    std::atomic<int> markersDispatched{0};
};

Session* session = nullptr;

void waitForWindowThread() {
    for (int round = 0; round < 2; ++round) {
        const int target = session->markersDispatched.load() + 1;
        headless::postMessage(platform::Message{markerType});
        while (session->markersDispatched.load() < target) std::this_thread::yield();
    }
}

const std::uint32_t* viewportRow(int y) { return framePixels + rowOffsets[y]; }

void writeFrame() {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06d.png", session->frame);
    const std::string path = (std::filesystem::path(session->options.outDir) / name).string();
    if (!writePng(path, viewportWidth, viewportHeight, viewportRow, session->error)) {
        session->writeFailed = true;
        return;
    }
    if (session->options.checksums) {
        const unsigned long long sum = frameChecksum(viewportWidth, viewportHeight, viewportRow);
        std::printf("%s %016llx\n", path.c_str(), sum);
    }
}

void pace(int target) {
    ++session->frame;
    if (session->frame % session->options.every == 0) writeFrame();
    paceFrame(target);
    if (session->frame >= session->options.frames || session->writeFailed) {
        headless::postKeyDown(keyEscape);
        headless::postKeyUp(keyEscape);
    }
    waitForWindowThread();
}

}  // namespace

int renderOffscreen(const RenderOptions& options, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(options.outDir, ec);
    if (ec) {
        error = "cannot create " + options.outDir + ": " + ec.message();
        return 1;
    }
    Session state;
    state.options = options;
    session = &state;

    headless::reset();
    headless::setTimeMode(headless::TimeMode::Manual);
    headless::setScreenSize(options.width, options.height);
    headless::setDispatchCallback([](const platform::Message& message) {
        if (message.type == markerType) ++session->markersDispatched;
    });
    if (options.gallery.empty())
        initialiseProgram();
    else
        gallery::configureGallery(options.gallery);
    fixedRandomSeed = options.seed;
    framePacer = pace;

    char program[] = "lumivortex";
    char* argv[] = {program, nullptr};
    hostMain(1, argv);
    session = nullptr;

    if (state.writeFailed) {
        error = state.error;
        return 1;
    }
    if (!headless::messageBoxes().empty()) {
        error = "the run ended with: " + headless::messageBoxes().front().text;
        return 1;
    }
    if (state.frame != options.frames) {
        error = "the run ended after " + std::to_string(state.frame) + " frames";
        return 1;
    }
    return 0;
}

}  // namespace lumivortex::render_tool
