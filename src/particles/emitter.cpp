// Emission: burst accounting, then for the emitter's current point a
// direction (cone), a position and speed (shape), the hook, the carrying
// frame, and the advance to the next point. The random draws of one birth
// come in that order: direction, box (z, y, x), speed, random step.
#include "particles/emitter.h"

#include <cassert>
#include <cstddef>

#include "host/memory.h"
#include "math/frame.h"
#include "math/random.h"

namespace lumivortex {

Vec3 emissionPosition = {0.0, 0.0, 0.0};
Vec3 emissionDirection = {0.0, 0.0, 0.0};
double emissionSpeed = 0.0;
std::uint32_t currentPointIndex = 0;
EmitterPoint* currentPoint = nullptr;

namespace {

// Counts one birth against the burst; an exhausted emitter starts a new
// burst count so that a re-arm is needed before it gives again.
void countBurst(Emitter* e) {
    if (e->burstSize == 0) return;
    if (e->burstLeft != 0) {
        --e->burstLeft;
    } else {
        e->exhausted = 1;
        e->burstLeft = e->burstSize;
    }
}

void emitDirection(const EmitterPoint& p) {
    if (p.cone == 0.0) {
        emissionDirection = p.direction;
        return;
    }
    randDirection(0.0, 1.0, &emissionDirection);
    if (p.cone != 1.0) {
        emissionDirection.x = p.cone * emissionDirection.x + p.direction.x;
        emissionDirection.y = p.cone * emissionDirection.y + p.direction.y;
        emissionDirection.z = p.cone * emissionDirection.z + p.direction.z;
    }
}

// Position and speed by shape; an unknown shape keeps the previous values.
void emitPlace(const EmitterPoint& p) {
    switch (p.shape) {
    case emitterShapePoint:
        emissionSpeed = randAround(p.speed, p.speedSpread);
        emissionPosition = p.position;
        break;
    case emitterShapeBox:
        randInBox(&emissionPosition, p.position.x, p.position.y, p.position.z, p.spread.x, p.spread.y,
                  p.spread.z);
        emissionSpeed = randAround(p.speed, p.speedSpread);
        break;
    default:
        break;
    }
}

void carryThroughFrame(int frameIndex) {
    selectFrame(frameIndex);
    toWorld(&emissionPosition, emissionPosition.x, emissionPosition.y, emissionPosition.z);
    dirToWorld(&emissionDirection, emissionDirection.x, emissionDirection.y, emissionDirection.z);
}

void advancePoint(Emitter* e) {
    const std::int32_t advance = e->randomStep != 0 ? 1 + randIndex(e->randomStep - 1) : e->step;
    e->pointIndex += static_cast<std::uint32_t>(advance);
    if (e->pointIndex >= e->pointCount) e->pointIndex -= e->pointCount;
}

}  // namespace

void initEmitter(Emitter* emitter) { *emitter = Emitter{}; }

void releaseEmitter(Emitter* emitter) {
    if (emitter->points != nullptr) alignedFree(emitter->points);
    emitter->points = nullptr;
    emitter->pointCount = 0;
}

void setPointCount(Emitter* emitter, std::uint32_t n) {
    if (n == 0) {
        releaseEmitter(emitter);
        return;
    }
    if (emitter->points == nullptr || emitter->pointCount != n) {
        releaseEmitter(emitter);
        emitter->points = static_cast<EmitterPoint*>(
            alignedAlloc16(static_cast<std::size_t>(n) * sizeof(EmitterPoint), fillUndefined));
        emitter->pointCount = n;
    }
    for (std::uint32_t i = 0; i < n; ++i) emitter->points[i] = EmitterPoint{};
}

void selectEmitterPoint(Emitter* emitter, std::uint32_t index) {
    assert(index < emitter->pointCount);
    currentPointIndex = index;
    currentPoint = &emitter->points[index];
}

void setEmitterPoint(double x, double y, double z, double dx, double dy, double dz, double cone,
                     double speed, double speedSpread) {
    assert(currentPoint != nullptr);
    currentPoint->position = {x, y, z};
    currentPoint->spread = {0.0, 0.0, 0.0};
    currentPoint->direction = {dx, dy, dz};
    currentPoint->cone = cone;
    currentPoint->speed = speed;
    currentPoint->speedSpread = speedSpread;
    currentPoint->shape = emitterShapePoint;
}

void rearmEmitter(Emitter* emitter) {
    emitter->burstLeft = emitter->burstSize;
    if (emitter->autoRearm != 0) emitter->exhausted = 0;
}

int emit(Emitter* emitter) {
    countBurst(emitter);
    if (emitter->pointCount == 0 || emitter->exhausted != 0) return 0;
    // A point count reduced under a running emitter, or a step beyond the
    // count, must not read past the array: wrap the index into it.
    if (emitter->pointIndex >= emitter->pointCount) emitter->pointIndex %= emitter->pointCount;
    selectEmitterPoint(emitter, emitter->pointIndex);
    const EmitterPoint& p = *currentPoint;
    emitDirection(p);
    emitPlace(p);
    if (emitter->hook != nullptr) emitter->hook();
    if (emitter->frameIndex != 0) carryThroughFrame(emitter->frameIndex);
    advancePoint(emitter);
    return 1;
}

}  // namespace lumivortex
