// Saves the projection settings and the minimum sprite radius for the
// length of a test and puts them back afterwards, so a test may set the
// application's values without leaking them into the next test.
#pragma once

#include <cstdint>

#include "math/projection.h"
#include "render/raster_state.h"

namespace lumivortex::testing {

class ProjectionSettingsGuard {
public:
    ProjectionSettingsGuard()
        : zoomLimit_(zoomLimit), focal_(focal), eyeZ_(eyeZ), nearThreshold_(nearThreshold), nearLimit_(nearLimit),
          fadeEnd_(fadeEnd), fadeStart_(fadeStart), fadeLength_(fadeLength), fadeMode_(fadeMode),
          minPixelRadius_(minPixelRadius) {}
    ~ProjectionSettingsGuard() {
        zoomLimit = zoomLimit_;
        focal = focal_;
        eyeZ = eyeZ_;
        nearThreshold = nearThreshold_;
        nearLimit = nearLimit_;
        fadeEnd = fadeEnd_;
        fadeStart = fadeStart_;
        fadeLength = fadeLength_;
        fadeMode = fadeMode_;
        minPixelRadius = minPixelRadius_;
    }
    ProjectionSettingsGuard(const ProjectionSettingsGuard&) = delete;
    ProjectionSettingsGuard& operator=(const ProjectionSettingsGuard&) = delete;

private:
    double zoomLimit_, focal_, eyeZ_, nearThreshold_, nearLimit_, fadeEnd_, fadeStart_, fadeLength_;
    std::int32_t fadeMode_;
    std::int32_t minPixelRadius_;
};

}  // namespace lumivortex::testing
