// Emitters: each successful emit yields one birth (position, direction,
// speed) in the emission globals, computed from the emitter's points in turn
// and carried through the emitter's frame. The emitter touches no particle;
// the caller writes the results into whichever particle it chooses. A burst
// counter limits the births between two re-arms.
#pragma once

#include <cstdint>

#include "math/vec3.h"

namespace lumivortex {

// Point shapes.
inline constexpr std::int32_t emitterShapePoint = 1;
inline constexpr std::int32_t emitterShapeBox = 2;

// The member initialisers are the settings setPointCount gives each point.
struct EmitterPoint {
    Vec3 position = {0.0, 0.0, 0.0};  // birth point, or centre of the birth box
    Vec3 spread = {0.0, 0.0, 0.0};    // half size of the birth box (box shape)
    Vec3 direction = {0.0, 0.0, 0.0};  // main direction; its length scales the speed
    double cone = 1.0;  // 0 = exactly direction; 1 = random; else direction + cone * random
    double speed = 100.0;
    double speedSpread = 0.0;
    std::int32_t shape = emitterShapePoint;
};

// Called after each birth's values are computed; may change the results.
using EmitterHook = void (*)();

// The member initialisers are the settings of initEmitter: a new emitter is
// exhausted until its first re-arm.
struct Emitter {
    std::uint32_t pointCount = 0;
    std::int32_t step = 1;        // point advance after a birth
    std::int32_t randomStep = 0;  // non-zero: advance by 1..randomStep instead
    std::uint32_t pointIndex = 0;  // the point of the next birth
    std::int32_t frameIndex = 0;  // carrying frame; 0 = points are in world space
    std::int32_t burstLeft = 10;
    std::int32_t burstSize = 10;  // births per re-arm; 0 = unlimited
    std::int32_t exhausted = 1;   // non-zero: emit gives nothing
    std::int32_t autoRearm = 1;   // non-zero: rearmEmitter clears exhausted
    std::int32_t reserved = 0;
    EmitterHook hook = nullptr;
    EmitterPoint* points = nullptr;  // pointCount points, 16-byte aligned
};

// Results of the latest birth, valid until the next emit.
extern Vec3 emissionPosition;
extern Vec3 emissionDirection;
extern double emissionSpeed;

extern std::uint32_t currentPointIndex;
extern EmitterPoint* currentPoint;

void initEmitter(Emitter* emitter);
void releaseEmitter(Emitter* emitter);
// Gives the emitter n default points; pointIndex is left as it is. The array
// is replaced only when n changes.
void setPointCount(Emitter* emitter, std::uint32_t n);
void selectEmitterPoint(Emitter* emitter, std::uint32_t index);
// Writes the current point as a point-shaped birth place.
void setEmitterPoint(double x, double y, double z, double dx, double dy, double dz, double cone,
                     double speed, double speedSpread);
// burstLeft = burstSize; with autoRearm also clears exhausted.
void rearmEmitter(Emitter* emitter);
// One birth: returns 1 and fills the emission results, or 0 when the emitter
// has no points or is exhausted. Leaves the emitter's frame selected.
int emit(Emitter* emitter);

}  // namespace lumivortex
