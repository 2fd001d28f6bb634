// Copies of the system frame's and the camera frame's world caches, and the
// point transform through them.
#include "math/view_transform.h"

#include "math/frame.h"

namespace lumivortex {

ViewTransform systemView = {};
ViewTransform cameraView = {};

namespace {
void copyWorld(ViewTransform* view, const Frame& f) {
    view->axes[0] = f.worldAxisX;
    view->axes[1] = f.worldAxisY;
    view->axes[2] = f.worldAxisZ;
    view->hasPivot = f.hasPivot;
    view->pivot = f.pivot;
    view->origin = f.worldPosition;
}

// origin + A (p + pivot); the product is always formed.
Vec3 apply(const ViewTransform& view, Vec3 p) {
    if (view.hasPivot) p = Vec3{p.x + view.pivot.x, p.y + view.pivot.y, p.z + view.pivot.z};
    const Vec3* a = view.axes;
    return Vec3{p.x * a[0].x + p.y * a[1].x + p.z * a[2].x + view.origin.x,
                p.x * a[0].y + p.y * a[1].y + p.z * a[2].y + view.origin.y,
                p.x * a[0].z + p.y * a[1].z + p.z * a[2].z + view.origin.z};
}
}  // namespace

void loadViewTransform(int systemFrame) {
    selectFrame(systemFrame);
    copyWorld(&systemView, *currentFrame);
    if (cameraFrameIndex != 0) {
        selectFrame(cameraFrameIndex);
        copyWorld(&cameraView, *currentFrame);
    }
}

Vec3* toView(Vec3* out, const Vec3* p) {
    const Vec3 q = apply(systemView, *p);
    *out = cameraFrameIndex == 0 ? q : apply(cameraView, q);
    return out;
}

}  // namespace lumivortex
