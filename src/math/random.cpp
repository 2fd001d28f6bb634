// The generator state and every random operation built on its draws. The
// draw order of each operation is part of the animation's determinism: the
// same seed must give the same particles step after step.
#include "math/random.h"

#include <cmath>

#include "platform/platform.h"

namespace lumivortex {

namespace {
std::uint32_t randomState = 1;

// -h + r*2h/32767 for one draw r: a value in [-h, h].
double drawSymmetric(double halfSize) {
    return -halfSize + static_cast<double>(randomDraw()) * (2.0 * halfSize) / randomMax;
}

// -h + r*2h/32767, or 0 without a draw when h = 0.
double drawSymmetricOrZero(double halfSize) { return halfSize == 0.0 ? 0.0 : drawSymmetric(halfSize); }

// Divides v by its length without a small-length guard: a cube point of half
// size 1 is never zero, since r*2/32767 never equals 1 for an integer r.
void divideByLength(Vec3* v) {
    const double length = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
    lastLength = length;
    v->x /= length;
    v->y /= length;
    v->z /= length;
}
}  // namespace

void seedRandom() { randomState = platform::tickCountMs(); }

void setRandomSeed(std::uint32_t seed) { randomState = seed; }

int randomDraw() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

double randUnit() { return static_cast<double>(randomDraw()) / randomMax; }

int randIndex(int n) {
    if (n == 0) return 0;
    return static_cast<int>(static_cast<double>(randomDraw()) * n / randomMax + 0.5);
}

int randIntAround(int centre, int spread) {
    if (spread == 0) return centre;
    const double s = spread;
    return centre + static_cast<int>(static_cast<double>(randomDraw()) * (2.0 * s) / randomMax - s + 0.5);
}

double randAround(double centre, double spread) {
    if (spread == 0.0) return centre;
    return centre - spread + static_cast<double>(randomDraw()) * (2.0 * spread) / randomMax;
}

Vec3* randInBox(Vec3* out, double cx, double cy, double cz, double hx, double hy, double hz) {
    const double z = drawSymmetricOrZero(hz);
    const double y = drawSymmetricOrZero(hy);
    const double x = drawSymmetricOrZero(hx);
    *out = Vec3{cx + x, cy + y, cz + z};
    return out;
}

Vec3* randInCube(double halfSize, Vec3* out) {
    const double x = drawSymmetricOrZero(halfSize);
    const double y = drawSymmetricOrZero(halfSize);
    const double z = drawSymmetricOrZero(halfSize);
    *out = Vec3{x, y, z};
    return out;
}

Vec3* randDirection(double mix, double radius, Vec3* out) {
    randInCube(1.0, out);
    if (mix == 0.0) {
        divideByLength(out);
        return out;
    }
    const double largest = std::fmax(std::fabs(out->x), std::fmax(std::fabs(out->y), std::fabs(out->z)));
    const double o = radius / largest;
    const Vec3 onCube{o * out->x, o * out->y, o * out->z};
    if (mix == 1.0) {
        *out = onCube;
        return out;
    }
    normalise(out);
    *out = Vec3{out->x + mix * (onCube.x - out->x), out->y + mix * (onCube.y - out->y),
                out->z + mix * (onCube.z - out->z)};
    return out;
}

Vec3* randVelocity(Vec3* out, double mean, double spread) {
    Vec3 direction;
    randInCube(1.0, &direction);
    divideByLength(&direction);
    const double speed = randAround(mean, spread);
    *out = Vec3{speed * direction.x, speed * direction.y, speed * direction.z};
    return out;
}

}  // namespace lumivortex
