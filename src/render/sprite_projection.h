// The curves of the particle projection: perspective scale by depth, depth
// fade and the opacity-over-life curve. projectSprite (raster_state.h) reads
// them for each sprite; the render pipeline copies the age-curve settings of
// the particle system whose entries it is drawing into activeAgeCurveMode and
// activeAgeCurveHook whenever the draw list moves on to another system.
#pragma once

#include <cstdint>

#include "particles/particle_system.h"

namespace lumivortex {

// Age-curve settings of the system of the entry being drawn.
extern std::int32_t activeAgeCurveMode;
extern AgeCurveHook activeAgeCurveHook;

// zoomLimit at or before nearThreshold, else eyeZ / (eyeZ - z).
double perspectiveFactor(double z);
// Brightness 0..1 from the depth z by fadeMode (1 before fadeStart).
double depthFade(double z);
// Opacity factor 0..1 of currentEntry by its remaining life.
double ageCurve();

}  // namespace lumivortex
