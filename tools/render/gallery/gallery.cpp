// The table of gallery scenes, and their registration with the host.
#include "gallery/gallery.h"

#include <cstdint>

#include "controllers/controller_registry.h"
#include "framebuffer/frame_buffer.h"
#include "gallery/balls_gallery.h"
#include "gallery/discs_gallery.h"
#include "gallery/links_gallery.h"
#include "host/host_config.h"
#include "render/render_pipeline.h"

namespace lumivortex::gallery {

namespace {

struct GalleryScene {
    std::string_view name;
    void (*process)();
};

constexpr GalleryScene galleryScenes[] = {
    {"balls", ballsGalleryProcess},
    {"discs", discsGalleryProcess},
    {"links", linksGalleryProcess},
};

constexpr std::uint32_t opaqueBlack = 0xFF000000;

const GalleryScene* findScene(std::string_view name) {
    for (const GalleryScene& scene : galleryScenes) {
        if (scene.name == name) return &scene;
    }
    return nullptr;
}

}  // namespace

bool knowsGallery(std::string_view name) { return findScene(name) != nullptr; }

bool configureGallery(std::string_view name) {
    const GalleryScene* scene = findScene(name);
    if (scene == nullptr) return false;
    clearControllers();
    hostConfig.showCursor = 0;
    hostConfig.title = "Lumivortex gallery";
    clearColour = opaqueBlack;
    backgroundColour = opaqueBlack;
    setFrameSize(fullScreenSize, 1024);
    hostConfig.redraw = renderFrame;
    hostConfig.process = scene->process;
    return true;
}

std::string galleryNames() {
    std::string names;
    for (const GalleryScene& scene : galleryScenes) {
        if (!names.empty()) names += ", ";
        names += scene.name;
    }
    return names;
}

}  // namespace lumivortex::gallery
