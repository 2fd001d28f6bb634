// Vector operations; every normalisation publishes the length it found.
#include "math/vec3.h"

#include <cmath>

namespace lumivortex {

double lastLength = 0.0;

namespace {
Vec3 makeLightDirection() {
    const Vec3 v{-1.0, -1.0, -1.0};
    const double inverse = 1.0 / std::sqrt(3.0);
    return Vec3{v.x * inverse, v.y * inverse, v.z * inverse};
}

double lengthOf(const Vec3* v) { return std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z); }
}  // namespace

Vec3 lightDirection = makeLightDirection();

Vec3* normalise(Vec3* v) {
    const double length = lengthOf(v);
    lastLength = length;
    if (length > 1e-16) {
        v->x /= length;
        v->y /= length;
        v->z /= length;
    }
    return v;
}

Vec3* normalised(Vec3* out, const Vec3* v) {
    const double length = lengthOf(v);
    lastLength = length;
    if (length > 1e-16) {
        const double inverse = 1.0 / length;
        *out = Vec3{v->x * inverse, v->y * inverse, v->z * inverse};
    } else {
        *out = *v;
    }
    return out;
}

Vec3* cross(Vec3* out, const Vec3* a, const Vec3* b) {
    *out = Vec3{a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
    return out;
}

}  // namespace lumivortex
