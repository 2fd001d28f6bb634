// Overlay lifecycle: loadOverlays (worker, before set-up) -> drawOverlays
// once per frame from renderFrame, after the particles -> deleteOverlays
// when the animation has ended. The pointers go back to null on deletion,
// so a late draw finds nothing to draw instead of freed pixels.
#include "scene/overlays.h"

#include <string>

#include "framebuffer/image_service.h"
#include "framebuffer/overlay_bitmap.h"
#include "host/timers.h"
#include "render/render_pipeline.h"
#include "scene/scene_objects.h"

namespace lumivortex {

namespace {

constexpr std::uint32_t logoTint = 0xFF4B4B4B;
constexpr int logoMarginX = 32;
constexpr int legendMarginX = 24;
constexpr int overlayMarginY = 8;

void deleteOverlay(OverlayBitmap*& overlay) {
    delete overlay;
    overlay = nullptr;
}

}  // namespace

void loadOverlays() {
    resourceType = std::string(resourceTypeBitmap);
    imageTint = logoTint;
    logoOverlay = new OverlayBitmap("Lumivortex", "", -1, -1);
    drawHook = drawOverlays;
    legendOverlay = new OverlayBitmap("control_info", "", -1, -1);
}

void drawOverlays() {
    if (logoOverlay != nullptr) {
        logoOverlay->anchorBottomRight(logoMarginX, overlayMarginY, overlaySubtract);
        logoOverlay->drawOverlay();
    }
    if (timerFired[legendTimerSlot] != 0) {
        killTimerSlot(legendTimerSlot);
        return;
    }
    if (legendOverlay != nullptr) {
        legendOverlay->anchorBottomLeft(legendMarginX, overlayMarginY, overlayAdd);
        legendOverlay->drawOverlay();
    }
}

void deleteOverlays() {
    deleteOverlay(logoOverlay);
    deleteOverlay(legendOverlay);
}

}  // namespace lumivortex
