// The two-stage point transform from a particle system's frame space to view
// space: the system frame's world transform, then the camera frame's (when a
// camera frame is set). loadViewTransform copies both frames' world caches
// once per system; toView then carries each particle.
#pragma once

#include <cstdint>

#include "math/vec3.h"

namespace lumivortex {

struct ViewTransform {
    Vec3 axes[3];  // the frame's world axes
    std::int32_t hasPivot;
    Vec3 pivot;
    Vec3 origin;  // the frame's world position
};

extern ViewTransform systemView;
extern ViewTransform cameraView;

// Fills systemView from frame systemFrame and, when cameraFrameIndex != 0,
// cameraView from the camera frame (both created if missing). The last frame
// selected stays current.
void loadViewTransform(int systemFrame);

// Carries p from the system frame's space to view space. out may be p.
Vec3* toView(Vec3* out, const Vec3* p);

}  // namespace lumivortex
