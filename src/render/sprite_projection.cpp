// Projection of one (particle, sprite) pair: visibility, depth fade and age
// give intensity and alpha; perspective gives the radii in quarter and whole
// pixels; a dispatcher by family places the square on screen, rejects it
// when it misses the viewport and calls the sprite's clipped or unclipped
// kernel. Everything is handed on through rasterState.
#include "render/sprite_projection.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "framebuffer/frame_buffer.h"
#include "math/projection.h"
#include "particles/draw_list.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex {

std::int32_t activeAgeCurveMode = 1002;
AgeCurveHook activeAgeCurveHook = nullptr;

namespace {

// Coordinates and radii far beyond any viewport are held here, so that the
// conversion is defined and a square's edges (centre +- 254) stay well
// inside the int range.
constexpr double heldLimit = 1 << 30;

// trunc(v) held to +-heldLimit; not-a-number gives -heldLimit.
std::int32_t truncHeld(double v) {
    if (!(v > -heldLimit)) return static_cast<std::int32_t>(-heldLimit);
    return static_cast<std::int32_t>(std::min(v, heldLimit));
}

// trunc(v + 0.5): negative values round toward zero.
std::int32_t roundHeld(double v) { return truncHeld(v + 0.5); }

// x held to 0..1; not-a-number gives 0.
double unitClamp(double x) { return x > 0.0 ? std::min(x, 1.0) : 0.0; }

// Smooth fade curve s^2 (6 - 4s): 1 at s = 1/2, 0 at s = 0.
double fadeCurve(double s) { return s * s * (6.0 - 4.0 * s); }

// r / (r + (1 - r)(1 - k)): bends the linear curve towards 1 as k grows.
double bias(double r, double k) {
    const double denominator = r + (1.0 - r) * (1.0 - k);
    return denominator == 0.0 ? 0.0 : r / denominator;
}

// Brightness from the depth fade and the sprite's divisor, 0..1.
double fadeFactor(const Sprite* sprite, double z) {
    if (fadeMode == 0) return 1.0;
    const double fade = depthFade(z);
    // A divisor of 0 makes every non-zero fade full, without forming 0 / 0.
    if (sprite->fadeDivisor == 0.0) return fade > 0.0 ? 1.0 : 0.0;
    return unitClamp(fade / sprite->fadeDivisor);
}

// Outer radius t (quarter pixels) and pixel radius w from R.
void setOuterRadii(double quarterRadius) {
    std::int64_t t = roundHeld(quarterRadius);
    std::int64_t v = (t + 1) >> 1;
    std::int64_t w = (v + 1) >> 1;
    const std::int64_t m = minPixelRadius;
    if (m != 0 && w < m) {
        w = m;
        if (v < 2 * m) v = 2 * m;
        if (t < 4 * m) t = 4 * m;
    }
    if (w >= 256) w = 255;
    rasterState.outerQuarterRadius = static_cast<std::int32_t>(t);
    rasterState.pixelRadius = static_cast<std::int32_t>(w);
}

// An inner circle of fraction * R, at least two quarter pixels inside the
// circle of radius `outer` around it, or 0 = none.
std::int32_t innerRadius(double fraction, double quarterRadius, std::int32_t outer) {
    if (fraction == 0.0) return 0;
    std::int32_t radius = roundHeld(fraction * quarterRadius);
    if (outer - radius < 2) radius = outer - 2;
    return std::max(radius, 0);
}

// Centre and square of an image or spot sprite; false when the square lies
// wholly outside the viewport.
bool placeSquare(const Sprite* sprite, double sx, double sy) {
    RasterState& rs = rasterState;
    if (rs.pixelRadius <= 0) return false;
    const std::int32_t x = roundHeld(sx * projectionScale + rs.screenCentreX);
    const std::int32_t y = roundHeld(sy * projectionScale + rs.screenCentreY);
    rs.spanRadius = rs.pixelRadius - 1;
    rs.centreX = x;
    rs.centreY = y;
    rs.left = x - rs.spanRadius;
    rs.right = x + rs.spanRadius;
    rs.top = y - rs.spanRadius;
    rs.bottom = y + rs.spanRadius;
    if (rs.top > viewportMaxY || rs.left > viewportMaxX || rs.bottom < 0 || rs.right < 0) return false;
    // A sprite copied into a slot without images and drawn before it was
    // redefined: its kernels would read missing images.
    if (sprite->quadrants[QuadUpLeft] == nullptr && kernelsReadImages(sprite)) linkDrawError();
    rs.scaleRow = offsetScaleRow(rs.spanRadius);
    rs.quadUL = sprite->quadrants[QuadUpLeft];
    rs.quadUR = sprite->quadrants[QuadUpRight];
    rs.quadDL = sprite->quadrants[QuadDownLeft];
    rs.quadDR = sprite->quadrants[QuadDownRight];
    return true;
}

void callKernel(const Sprite* sprite) {
    const RasterState& rs = rasterState;
    const bool inside = rs.top >= 0 && rs.left >= 0 && rs.bottom <= viewportMaxY && rs.right <= viewportMaxX;
    (inside ? sprite->unclippedKernel : sprite->clippedKernel)();
}

}  // namespace

double perspectiveFactor(double z) {
    if (z <= nearThreshold) return zoomLimit;
    return eyeZ / (eyeZ - z);
}

double depthFade(double z) {
    const double d = z - fadeStart;
    if (d <= 0.0) return 1.0;
    const double length = fadeLength;
    switch (fadeMode) {
        case 1000:
        case 1001: {
            const double s = (length - d) / (2.0 * length);
            if (s < 0.0) return 0.0;
            const double smooth = fadeCurve(s);
            return fadeMode == 1001 ? smooth * smooth : smooth;
        }
        default: return d > length ? 0.0 : 1.0 - d / length;
    }
}

double ageCurve() {
    const DrawEntry* entry = currentEntry;
    if (entry->lifetime == 0) return 0.0;
    if (activeAgeCurveHook != nullptr) return activeAgeCurveHook(entry);
    const double r = static_cast<double>(entry->lifeLeft) / entry->lifetime;
    switch (activeAgeCurveMode) {
        case 1: return r;
        case 1000: return fadeCurve(r / 2.0);
        case 1001: {
            const double smooth = fadeCurve(r / 2.0);
            return smooth * smooth;
        }
        case 1002: return r * r * (3.0 - 2.0 * r);
        case 1003: return bias(r, 0.5);
        case 1004: return bias(r, 0.75);
        case 1005: return bias(r, 0.93);
        case 1006: return bias(r, 0.99);
        case 1007: return r == 0.0 ? 0.0 : 1.0;
        default: return 1.0;
    }
}

int projectSprite(const Sprite* sprite, double x, double y, double z) {
    RasterState& rs = rasterState;
    assert(currentEntry != nullptr);
    if (z < nearLimit) return depthSort;
    const std::uint32_t mode = blendMode(sprite->kind);
    // Adding or subtracting black changes nothing.
    if (rs.tintColour == 0 && (mode == BlendAdd || mode == BlendSubtract)) return 0;

    rs.intensity = static_cast<std::int32_t>(fadeFactor(sprite, z) * 255.0 + 0.5);
    if (currentEntry->lifetime != 0) {
        // A curve outside 0..1 (from a hook, or a life longer than the
        // lifetime) must not push alpha out of its byte.
        const double curve = unitClamp(ageCurve());
        rs.alpha = static_cast<std::int32_t>(rs.alpha * (255.0 * curve + 0.5) / 255.0);
    }
    if (rs.intensity == 0 || rs.alpha == 0) return 0;

    const double o = perspectiveFactor(z);
    const double quarterRadius = currentEntry->size * sprite->sizeScale * projectionScale * o * 400.0;
    setOuterRadii(quarterRadius);
    rs.innerQuarterRadius = innerRadius(sprite->innerFraction, quarterRadius, rs.outerQuarterRadius);
    rs.coreQuarterRadius = innerRadius(sprite->coreFraction, quarterRadius, rs.innerQuarterRadius);
    rs.spriteColour = sprite->colour;

    switch (spriteFamily(sprite->kind)) {
        case SinglePixel: dispatchPixelKernel(sprite, x * o, y * o); break;
        case DepthBall:
        case Disc: dispatchImageKernel(sprite, x * o, y * o, 8.0 * z * o); break;
        case Spot: dispatchSpotKernel(sprite, x * o, y * o); break;
        default: break;
    }
    return 0;
}

void dispatchImageKernel(const Sprite* sprite, double sx, double sy, double sz) {
    RasterState& rs = rasterState;
    rs.tinyBall = rs.pixelRadius == 2;
    rs.centreDepth = truncHeld(sz - 0.5);
    if (!placeSquare(sprite, sx, sy)) return;
    callKernel(sprite);
}

void dispatchSpotKernel(const Sprite* sprite, double sx, double sy) {
    if (!placeSquare(sprite, sx, sy)) return;
    callKernel(sprite);
}

void dispatchPixelKernel(const Sprite* sprite, double sx, double sy) {
    RasterState& rs = rasterState;
    if (rs.pixelRadius <= 0) return;
    rs.pixelX = roundHeld(sx * projectionScale + rs.screenCentreX);
    rs.pixelY = roundHeld(sy * projectionScale + rs.screenCentreY);
    // Unsigned comparison: negative coordinates are rejected, not wrapped.
    if (static_cast<std::uint32_t>(rs.pixelY) > static_cast<std::uint32_t>(viewportMaxY) ||
        static_cast<std::uint32_t>(rs.pixelX) > static_cast<std::uint32_t>(viewportMaxX)) {
        return;
    }
    rs.tintColour = rs.tintColour == noTint ? sprite->colour : modulateColour(sprite->colour, rs.tintColour);
    sprite->unclippedKernel();
}

}  // namespace lumivortex
