// Projection settings: the perspective and depth-fade parameters the
// particle projection reads. They keep their start values until the
// application calls the setters (after setting zoomLimit).
#pragma once

#include <cstdint>

namespace lumivortex {

extern double zoomLimit;      // 10.0; perspective factor at and beyond nearThreshold
extern double focal;          // -100.0
extern double eyeZ;           // -200.0; perspective factor eyeZ / (eyeZ - z)
extern double nearThreshold;  // -5.0; z <= nearThreshold gives zoomLimit
extern double nearLimit;      // -200.0; particles with z < nearLimit are not drawn
extern double fadeEnd;        // 500.0
extern double fadeStart;      // 0.0; depth fade begins here
extern double fadeLength;     // 500.0; fade reaches zero at fadeStart + fadeLength
extern std::int32_t fadeMode;  // 0 = none; 1000, 1001 = smooth; other = linear

// focal = f, eyeZ = 2f, nearThreshold = 2f - f / (2 zoomLimit), nearLimit =
// near, or nearThreshold when near is exactly -1.
void setPerspective(double f, double near);
void setDepthFade(double end, double start, std::int32_t mode);

}  // namespace lumivortex
