// Three-component vectors of doubles. Every operation with a result writes it
// into a caller-supplied Vec3 and returns that pointer, so calls nest; every
// normalisation leaves the length it found in lastLength, which callers read
// right afterwards as a distance.
#pragma once

namespace lumivortex {

struct Vec3 {
    double x;
    double y;
    double z;
};

// Length found by the latest normalise, normalised, randDirection (when it
// normalises) or randVelocity.
extern double lastLength;

// The procedural ball image's light direction: normalised (-1, -1, -1).
extern Vec3 lightDirection;

// Divides v by its length when that length is greater than 1e-16; a shorter
// vector is left unchanged. Returns v.
Vec3* normalise(Vec3* v);

// out = v / |v| when |v| > 1e-16, otherwise out = v. out may be v. Returns out.
Vec3* normalised(Vec3* out, const Vec3* v);

// out = a x b. out may be a or b. Returns out.
Vec3* cross(Vec3* out, const Vec3* a, const Vec3* b);

}  // namespace lumivortex
