// The one record through which projection, dispatch and every pixel kernel
// exchange the values of the sprite being drawn. renderFrame writes the
// screen centre, tint and alpha; projectSprite the radii, intensity and
// colour; a dispatcher the centre, square and image pointers; setupClip the
// visible extent; the kernels keep their walk state here. Nothing is reset
// between sprites: every field a kernel reads is written for that sprite
// first. Worker thread only.
#pragma once

#include <cstdint>

#include "math/colour.h"
#include "render/sprite_tables.h"

namespace lumivortex {

struct Sprite;

struct RasterState {
    // Per particle: renderFrame, then the projection and dispatchers.
    std::uint32_t tintColour;           // particle colour, 0x00FFFFFF = no tint
    std::int32_t alpha;                 // 0..255 opacity
    std::int32_t intensity;             // 0..255 depth-fade brightness
    std::int32_t outerQuarterRadius;    // radius in quarter pixels
    std::int32_t pixelRadius;           // 0..255; the square is 2 pixelRadius - 1 wide
    std::int32_t innerQuarterRadius;    // 0 = none
    std::int32_t coreQuarterRadius;     // 0 = none
    std::uint32_t spriteColour;         // copy of the sprite's colour
    std::int32_t centreX;               // screen pixel of the centre
    std::int32_t centreY;
    std::int32_t pixelX;                // single pixel; kernels: running column offset (bytes)
    std::int32_t pixelY;                // single pixel; kernels: running row offset
    std::int32_t spanRadius;            // pixelRadius - 1
    std::int32_t left;                  // the square, clamped by setupClip
    std::int32_t right;
    std::int32_t top;
    std::int32_t bottom;
    std::int32_t centreDepth;           // eighths of a screen unit, smaller = nearer
    std::int32_t tinyBall;              // pixelRadius is 2
    const std::int32_t* scaleRow;       // row spanRadius of offsetScaleTable
    std::uint32_t* quadUL;              // the sprite's quadrant images
    std::uint32_t* quadUR;
    std::uint32_t* quadDL;
    std::uint32_t* quadDR;
    // setupClip.
    std::int32_t rowsUp;                // visible rows above / below the centre row
    std::int32_t rowsDown;
    std::int32_t colsLeftBytes;         // visible columns left / right, times 4
    std::int32_t colsRightBytes;
    std::int32_t firstRow;              // first visible row / column offset when the
    std::int32_t firstCol;              // centre row / column is outside, else 0
    std::int32_t upActive;
    std::int32_t downActive;
    std::int32_t leftActive;
    std::int32_t rightActive;
    // Per pixel.
    std::int32_t coverage;              // 0..255 weight of the blend operations
    std::int32_t pixelDepth;            // depth-ball test values
    std::int32_t depthFloor;
    std::int32_t depthDivisor;
    // Kernel walk state.
    std::int32_t srcRowOffset;          // scaleRow[dy] << 8: byte offset of the texel row
    std::int32_t srcColOffset;          // scaleRow[dx]: byte offset of the texel
    const SphereEntry* sphereRow;       // sphereTable row of the texel row
    const std::uint32_t* srcRowUL;      // sampled row per quadrant, null = finished
    const std::uint32_t* srcRowUR;
    const std::uint32_t* srcRowDL;
    const std::uint32_t* srcRowDR;
    std::uint32_t* destRowUp;           // frame pixel in the centre column, dy rows
    std::uint32_t* destRowDown;         // above / below the centre
    std::int32_t* depthRowUp;           // the same in depthBuffer
    std::int32_t* depthRowDown;
    std::uint32_t solidColour;          // premixed colour of the alpha-mode kernels
    // Per frame: the screen centre (viewportWidth / 2, viewportHeight / 2).
    std::int32_t screenCentreX;
    std::int32_t screenCentreY;
};

extern RasterState rasterState;

// Smallest pixelRadius a drawn sprite gets; 0 = no minimum.
extern std::int32_t minPixelRadius;

// Tint value meaning "no tint" (an opaque white particle colour does tint).
inline constexpr std::uint32_t noTint = 0x00FFFFFFu;

// Each of red, green, blue times k >> 8 (k in 0..255), top byte 0.
constexpr std::uint32_t scaleChannels(std::uint32_t c, std::int32_t k) {
    return modulateColour(c, static_cast<std::uint32_t>(k) * 0x010101u);
}

// c itself at full intensity, else its channels times intensity >> 8.
inline std::uint32_t applyIntensity(std::uint32_t c) {
    return rasterState.intensity == 255 ? c : scaleChannels(c, rasterState.intensity);
}

inline std::uint32_t applyTint(std::uint32_t c) {
    return rasterState.tintColour == noTint ? c : modulateColour(c, rasterState.tintColour);
}

// Tinted, faded and covered source colour of the add and subtract blends.
inline std::uint32_t additiveSource(std::uint32_t c) {
    c = applyIntensity(applyTint(c));
    return rasterState.coverage == 255 ? c : scaleChannels(c, rasterState.coverage);
}

inline void blendAddPixel(std::uint32_t* p, std::uint32_t c) { *p = addColour(*p, additiveSource(c)); }

inline void blendSubtractPixel(std::uint32_t* p, std::uint32_t c) {
    *p = subtractColour(*p, additiveSource(c));
}

// Intensity and coverage pull the colour towards white, which multiplies by
// (almost) nothing.
inline void blendMultiplyPixel(std::uint32_t* p, std::uint32_t c) {
    c = applyTint(c);
    if (rasterState.intensity != 255) c = lerpColour(noTint, c, rasterState.intensity);
    if (rasterState.coverage != 255) c = lerpColour(noTint, c, rasterState.coverage);
    *p = modulateColour(*p, c);
}

inline void blendAlphaPixel(std::uint32_t* p, std::uint32_t c) {
    if (rasterState.alpha != 255) c = lerpColour(*p, c, rasterState.alpha);
    c = applyTint(c);
    if (rasterState.intensity != 255) c = lerpColour(0xFF000000u, c, rasterState.intensity);
    *p = rasterState.coverage == 255 ? c : lerpColour(*p, c, rasterState.coverage);
}

// Clamps the square to the viewport and derives the visible extent on each
// side of the centre; every clipped kernel calls it first.
void setupClip();

// The single-pixel kernel: writes tintColour, faded by intensity, at
// (pixelX, pixelY) of the viewport.
void plotPixel();

// Projects one sprite of the current draw-list entry at view-space (x, y, z)
// and draws it. Returns non-zero when the particle is nearer than nearLimit
// and the depth-sorted frame should stop drawing, else 0.
int projectSprite(const Sprite* sprite, double x, double y, double z);

// sx, sy: view-space x and y times the perspective factor; sz: 8 z times it.
void dispatchImageKernel(const Sprite* sprite, double sx, double sy, double sz);  // families 2, 4
void dispatchSpotKernel(const Sprite* sprite, double sx, double sy);              // family 3
void dispatchPixelKernel(const Sprite* sprite, double sx, double sy);             // family 1

}  // namespace lumivortex
