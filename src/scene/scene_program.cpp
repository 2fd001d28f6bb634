// Registration before the host starts, then the worker's run: overlays in,
// set-up and frame loop, overlays out. The host closes the window afterwards.
#include "scene/scene_program.h"

#include "framebuffer/frame_buffer.h"
#include "host/host_config.h"
#include "render/render_pipeline.h"
#include "scene/overlays.h"
#include "scene/scene_objects.h"
#include "scene/scene_setup.h"

namespace lumivortex {

namespace {
constexpr std::uint32_t opaqueBlack = 0xFF000000;
}  // namespace

void initialiseProgram() {
    constructSceneObjects();
    sceneConfigure();
}

void sceneConfigure() {
    hostConfig.showCursor = 0;
    hostConfig.title = "Lumivortex";
    clearColour = opaqueBlack;
    backgroundColour = opaqueBlack;
    setFrameSize(fullScreenSize, 1024);
    hostConfig.redraw = renderFrame;
    hostConfig.process = sceneProcess;
}

void sceneProcess() {
    loadOverlays();
    sceneSetup();
    deleteOverlays();
}

}  // namespace lumivortex
