// Projection settings and their two setters.
#include "math/projection.h"

namespace lumivortex {

double zoomLimit = 10.0;
double focal = -100.0;
double eyeZ = -200.0;
double nearThreshold = -5.0;
double nearLimit = -200.0;
double fadeEnd = 500.0;
double fadeStart = 0.0;
double fadeLength = 500.0;
std::int32_t fadeMode = 0;

void setPerspective(double f, double near) {
    focal = f;
    eyeZ = 2.0 * f;
    nearThreshold = 2.0 * f - f / (2.0 * zoomLimit);
    nearLimit = near == -1.0 ? nearThreshold : near;
}

void setDepthFade(double end, double start, std::int32_t mode) {
    fadeEnd = end;
    fadeStart = start;
    fadeLength = end - start;
    fadeMode = mode;
}

}  // namespace lumivortex
