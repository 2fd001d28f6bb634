// Image disc kernels. Data flow, once per sprite: the blend folds the
// opacity into the brightness (all but the alpha mode); the rows and columns
// each half and side of the square may touch are fixed (the whole square
// unclipped, the setupClip limits clipped). Then per row, outwards from the
// centre row:
//   1. the sampled texel row picks its sphereTable row;
//   2. the coverage of each column is derived from the ball there, from the
//      first column outwards until the first sample outside the ball (or too
//      thin to show at this size), which ends the row;
//   3. the texels of the up to four quadrant rows are blended with those
//      coverages into the upper and the lower frame row, left and right of
//      the centre column, by the pixel operation of the sprite's mode.
// The ball alone bounds each row: texels outside it are never read, and no
// texel is compared with an end marker.
//
// Quadrant ownership as in every mirrored kernel: the centre row belongs to
// the upper half, the centre column to the left side, so every pixel of the
// square is written at most once and the order of the quadrants does not
// change the picture.
#include "render/kernels/image_disc_kernels.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "framebuffer/frame_buffer.h"
#include "render/kernels/sprite_extent.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex {
namespace {

// Add, subtract and multiply: a = floor(alpha * intensity / 255), kept in
// intensity for the rest of the sprite (the blends read it per pixel).
void combineAlphaIntoIntensity() {
    RasterState& rs = rasterState;
    rs.intensity = rs.alpha * rs.intensity / 255;
}

// Blend policies of the walk: setUp() once per sprite, apply(p, s) for frame
// pixel p and texel s with the column's weight already in coverage. In the
// formulas, "tinted" means modulateColour(s, tintColour) unless tintColour is
// 0x00FFFFFF, and a step marked "unless 255" is skipped at 255.

// Add: c = tinted s; each channel c * intensity >> 8 unless 255; each
// channel c * coverage >> 8 unless 255; pixel = addColour(pixel, c), per
// channel min(p + c, 255).
struct AddImageDisc {
    static void setUp() { combineAlphaIntoIntensity(); }
    static void apply(std::uint32_t* p, std::uint32_t s) { blendAddPixel(p, s); }
};

// Subtract: c as for add; pixel = subtractColour(pixel, c), per channel
// max(p - c, 0).
struct SubtractImageDisc {
    static void setUp() { combineAlphaIntoIntensity(); }
    static void apply(std::uint32_t* p, std::uint32_t s) { blendSubtractPixel(p, s); }
};

// Multiply: c = tinted s; c = lerpColour(white, c, intensity) unless 255;
// c = lerpColour(white, c, coverage) unless 255; pixel = modulateColour(
// pixel, c), per channel p * c >> 8. Weight 0 thus multiplies by 255/256.
struct MultiplyImageDisc {
    static void setUp() { combineAlphaIntoIntensity(); }
    static void apply(std::uint32_t* p, std::uint32_t s) { blendMultiplyPixel(p, s); }
};

// Alpha: c = lerpColour(pixel, s, alpha) unless 255; c = tinted c;
// c = lerpColour(0xFF000000, c, intensity) unless 255; pixel = c when
// coverage is 255 (top byte included), else lerpColour(pixel, c, coverage).
// The opacity stays separate: nothing to set up.
struct AlphaImageDisc {
    static void setUp() {}
    static void apply(std::uint32_t* p, std::uint32_t s) { blendAlphaPixel(p, s); }
};

// Weight of a column whose sample ends the row.
constexpr std::int32_t endsRow = -1;

// Coverage of the sampled texel from its sphereTable entry (D = depthOffset,
// E = edgeDivisor):
//   D = 0: outside the ball, the row ends;
//   tiny ball (pixelRadius 2): 255;
//   c = (pixelRadius * D) >> 8, the height in eighths of a screen pixel;
//   c = 0: too thin to show, the row ends;
//   E <= 1 (all but the rim): 255;
//   else k = c / E: 255 when k >= 8, else 32 k (0, 32, ..., 224).
inline std::int32_t ballCoverage(const SphereEntry& ball, std::int32_t pixelRadius, bool tinyBall) {
    if (ball.depthOffset == 0) return endsRow;
    if (tinyBall) return 255;
    const std::int32_t c = (pixelRadius * ball.depthOffset) >> 8;
    if (c == 0) return endsRow;
    if (ball.edgeDivisor <= 1) return 255;
    const std::int32_t k = c / ball.edgeDivisor;
    return k >= 8 ? 255 : 32 * k;
}

// Weights of columns first..last of one sampled ball row; returns the first
// column not drawn: the first that ends the row, or last + 1.
int coverageRun(const SphereEntry* ball, std::int32_t* weight, int first, int last) {
    const RasterState& rs = rasterState;
    const std::int32_t* scale = rs.scaleRow;
    const std::int32_t pixelRadius = rs.pixelRadius;
    const bool tinyBall = rs.tinyBall != 0;
    for (int dx = first; dx <= last; ++dx) {
        // Byte offsets are of 4-byte texels; the ball entry has the same index.
        const std::int32_t w = ballCoverage(ball[scale[dx] >> 2], pixelRadius, tinyBall);
        if (w == endsRow) return dx;
        weight[dx] = w;
    }
    return last + 1;
}

// Columns first..last of one side of a frame row, outwards in `direction`
// (-1 left, +1 right) from the centre pixel, each blended with the texel its
// offset samples in the quadrant row.
template <class Blend>
inline void drawSide(std::uint32_t* centrePixel, const std::uint32_t* texelRow, const std::int32_t* weight,
                     int direction, int first, int last) {
    RasterState& rs = rasterState;
    const std::int32_t* scale = rs.scaleRow;
    for (int dx = first; dx <= last; ++dx) {
        rs.coverage = weight[dx];
        Blend::apply(centrePixel + direction * dx, texelRow[scale[dx] >> 2]);
    }
}

// The walk shared by every mode, clipped and unclipped.
template <class Blend>
void walkImageDisc(const SpriteExtent& e) {
    const RasterState& rs = rasterState;
    assert(rs.quadUL != nullptr && rs.quadUR != nullptr && rs.quadDL != nullptr && rs.quadDR != nullptr);
    const std::int32_t* scale = rs.scaleRow;
    const int lastRow = std::max(e.lastUpRow, e.lastDownRow);
    const int lastCol = std::max(e.lastLeftCol, e.lastRightCol);
    std::int32_t weight[quadrantSide];
    for (int dy = e.firstRow; dy <= lastRow; ++dy) {
        const int texelRow = scale[dy] >> 2;
        const int end = coverageRun(sphereRow(texelRow), weight, e.firstCol, lastCol);
        const int lastLeft = std::min(e.lastLeftCol, end - 1);
        const int lastRight = std::min(e.lastRightCol, end - 1);
        const int texelRowStart = texelRow * quadrantSide;
        if (dy <= e.lastUpRow) {
            std::uint32_t* centre = framePixels + rowOffsets[rs.centreY - dy] + rs.centreX;
            drawSide<Blend>(centre, rs.quadUL + texelRowStart, weight, -1, e.firstCol, lastLeft);
            drawSide<Blend>(centre, rs.quadUR + texelRowStart, weight, +1, e.firstRightCol, lastRight);
        }
        if (dy != 0 && dy <= e.lastDownRow) {
            std::uint32_t* centre = framePixels + rowOffsets[rs.centreY + dy] + rs.centreX;
            drawSide<Blend>(centre, rs.quadDL + texelRowStart, weight, -1, e.firstCol, lastLeft);
            drawSide<Blend>(centre, rs.quadDR + texelRowStart, weight, +1, e.firstRightCol, lastRight);
        }
    }
}

// A single-pixel sprite (spanRadius 0) needs no case of its own: it samples
// texel (0, 0), the top of the ball, whose coverage is 255 at any size.
template <class Blend>
void drawImageDiscUnclipped() {
    Blend::setUp();
    assert(squareInsideViewport());
    walkImageDisc<Blend>(unclippedSpriteExtent(noOffsetLimit));
}

template <class Blend>
void drawImageDiscClipped() {
    Blend::setUp();
    assert(squareOverlapsViewport());
    setupClip();
    walkImageDisc<Blend>(clippedSpriteExtent(noOffsetLimit));
}

}  // namespace

void drawImageDiscAlpha() { drawImageDiscUnclipped<AlphaImageDisc>(); }
void drawImageDiscAlphaClipped() { drawImageDiscClipped<AlphaImageDisc>(); }
void drawImageDiscAdd() { drawImageDiscUnclipped<AddImageDisc>(); }
void drawImageDiscAddClipped() { drawImageDiscClipped<AddImageDisc>(); }
void drawImageDiscSubtract() { drawImageDiscUnclipped<SubtractImageDisc>(); }
void drawImageDiscSubtractClipped() { drawImageDiscClipped<SubtractImageDisc>(); }
void drawImageDiscMultiply() { drawImageDiscUnclipped<MultiplyImageDisc>(); }
void drawImageDiscMultiplyClipped() { drawImageDiscClipped<MultiplyImageDisc>(); }

}  // namespace lumivortex
