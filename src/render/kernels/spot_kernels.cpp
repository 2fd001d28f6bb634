// Spot kernels. Data flow: the spot dispatcher has filled rasterState (centre,
// span radius, scale row, quadrant images, tint, alpha, intensity). A kernel
// premixes the per-sprite constants of its blend once, fixes the rows and
// columns each half and side of the square may touch (the whole square when
// unclipped, the setupClip limits when clipped), then walks the rows outwards
// from the centre row. In each frame row both quadrant rows are read
// outwards from the centre column until their end marker or column limit,
// the texels landing in a row buffer in screen order; the pixels they cover
// form one run, which is blended four pixels at a time a few rows later,
// once the frame row requested at reading time has arrived.
//
// Quadrant ownership: the centre row belongs to the upper quadrants, the
// centre column to the left ones, so every pixel of the square is written at
// most once and reading the quadrant rows one after the other gives the same
// picture as visiting them pixel by pixel.
#include "render/kernels/spot_kernels.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "framebuffer/frame_buffer.h"
#include "math/colour.h"
#include "render/kernels/pixel_vector.h"
#include "render/kernels/sprite_extent.h"
#include "render/raster_state.h"

namespace lumivortex {
namespace {

using namespace pixel_vector;
using namespace pixel_vector::active;

// The per-sprite factors below use 256 for "leave unchanged" (x * 256 >> 8
// = x and a blend by 256 reaches its target), so a missing tint or a full
// brightness or opacity needs no branch per pixel.
constexpr std::uint16_t fullAsUnity(std::int32_t weight) {
    return static_cast<std::uint16_t>(weight == 255 ? 256 : weight);
}

// Tint factors per lane: the tint's channels, 256 each without a tint; the
// alpha lane 0, so the source's top byte drops out.
Channels tintFactors(std::uint32_t tint) {
    if (tint == noTint) return lanesOf(256, 256, 256, 0);
    return channelsOf(tint & 0x00FFFFFFu);
}

// Effective brightness of the add, subtract and multiply kernels:
// a = floor(alpha * intensity / 255), kept in intensity.
std::int32_t combineBrightness() {
    RasterState& rs = rasterState;
    rs.intensity = rs.alpha * rs.intensity / 255;
    return rs.intensity;
}

// Add and subtract source colour c from texel s, per channel:
//   c = s untinted, else s * tint >> 8 (modulateColour);
//   then c * a >> 8 unless a = 255.
struct AdditiveSource {
    Channels tint = tintFactors(rasterState.tintColour);
    Channels brightness = splatLanes(fullAsUnity(combineBrightness()));

    Pixels4 operator()(Pixels4 s) const { return narrow(scaleLanes(scaleLanes(widen(s), tint), brightness)); }
};

// pixel = addColour(pixel, c): per channel min(pixel + c, 255).
struct AddBlend {
    static constexpr std::uint32_t endMarker = 0;
    AdditiveSource source;
    Pixels4 operator()(Pixels4 p, Pixels4 s) const {
        return withoutAlpha(addSaturated(p, source(s)));
    }
};

// pixel = subtractColour(pixel, c): per channel max(pixel - c, 0).
struct SubtractBlend {
    static constexpr std::uint32_t endMarker = 0;
    AdditiveSource source;
    Pixels4 operator()(Pixels4 p, Pixels4 s) const {
        return withoutAlpha(subtractSaturated(p, source(s)));
    }
};

// Multiply, with L = low byte of texel s:
//   c = s untinted, else lerpColour(tint, white, L): the tint at L = 0
//   rising to white;
//   then c = lerpColour(white, c, a) unless a = 255, per channel
//   255 - ceil((255 - c) * a / 256);
//   pixel = modulateColour(pixel, c): per channel pixel * c >> 8.
struct MultiplyBlend {
    static constexpr std::uint32_t endMarker = noTint;
    Channels tint = channelsOf(rasterState.tintColour);
    bool tinted = rasterState.tintColour != noTint;
    Channels brightness = splatLanes(fullAsUnity(combineBrightness()));
    Channels white = splatLanes(255);

    Pixels4 operator()(Pixels4 p, Pixels4 s) const {
        Channels c = widen(s);
        if (tinted) c = lerpLanes(tint, white, lowByteLanes(c));
        c = lerpLanes(white, c, brightness);
        return withoutAlpha(narrow(scaleLanes(widen(p), c)));
    }
};

// Alpha, with weight w = low byte of texel s and opacity A = alpha:
//   pixel = lerpColour(pixel, lerpColour(pixel, solid, A), w); for A = 255
//   the inner blend takes weight 256 and yields solid exactly, which makes
//   this lerpColour(pixel, solid, w).
// solid = spriteColour, tinted by modulateColour and, unless intensity is
// 255, lerpColour(black, solid, intensity); premixed once into solidColour.
struct AlphaBlend {
    static constexpr std::uint32_t endMarker = 0;
    Channels solid = channelsOf(premixSolidColour());
    Channels opacity = splatLanes(fullAsUnity(rasterState.alpha));

    static std::uint32_t premixSolidColour() {
        RasterState& rs = rasterState;
        std::uint32_t c = rs.tintColour == noTint ? rs.spriteColour : modulateColour(rs.spriteColour, rs.tintColour);
        if (rs.intensity != 255) c = lerpColour(0xFF000000u, c, rs.intensity);
        rs.solidColour = c;
        return c;
    }

    Pixels4 operator()(Pixels4 p, Pixels4 s) const {
        const Channels pixel = widen(p);
        const Channels towards = lerpLanes(pixel, solid, opacity);
        return withoutAlpha(narrow(lerpLanes(pixel, towards, lowByteLanes(widen(s)))));
    }
};

// Texel at a byte offset of a quadrant row (offsets come from scaleRow; rows
// and offsets are both multiples of 4 bytes).
inline std::uint32_t texelAt(const std::uint32_t* row, std::int32_t byteOffset) { return row[byteOffset >> 2]; }

// One frame row waiting for its blend: the run of columns (relative to
// centreX) its quadrant rows cover, and where column centreX lies in
// framePixels (outside the row when the sprite is clipped).
struct PendingRow {
    int first, last;
    int centrePixel;
};

// Rows are read this many rows ahead of their blend: reading a row also
// requests its frame pixels, and the rows of a spot lie a frame row apart in
// memory, each a fresh cache miss, which then arrive while the following
// rows are read instead of stalling the blend one by one.
constexpr int rowsInFlight = 16;

// Texels of the rows in flight, in screen order: column centreX + k of a
// row is entry rowCentre + k of its slot. Kernels run on one thread at a
// time, one sprite at a time.
constexpr int rowCentre = 256;
std::uint32_t rowTexels[rowsInFlight][2 * rowCentre];

// Reads one quadrant row outwards from the centre column, dx = first..last,
// in `direction` (-1 left, +1 right), until its end marker; texels beyond
// the marker are never read. Returns the last dx read before it (first - 1
// when the first texel is the marker).
template <std::uint32_t endMarker, int direction>
inline int readQuadrantRow(const std::uint32_t* texelRow, int first, int last, std::uint32_t* texels) {
    const std::int32_t* scale = rasterState.scaleRow;
    int dx = first;
    for (; dx <= last; ++dx) {
        const std::uint32_t s = texelAt(texelRow, scale[dx]);
        if (s == endMarker) break;
        texels[direction * dx] = s;
    }
    return dx - 1;
}

// Both quadrant rows of the frame row dy away from the centre. Where both
// sides draw, the left one starts at the centre column and the right one
// next to it, so the columns read always form one run; its pixels are
// requested at once.
template <class Blend>
inline PendingRow readSpotRow(const SpriteExtent& e, int screenRow, int dy, const std::uint32_t* quadLeft,
                              const std::uint32_t* quadRight, std::uint32_t* texels) {
    const RasterState& rs = rasterState;
    const std::int32_t texelRowOffset = rs.scaleRow[dy] << 6;  // bytes << 8, in texels
    const int leftEnd = readQuadrantRow<Blend::endMarker, -1>(quadLeft + texelRowOffset, e.firstCol,
                                                              e.lastLeftCol, texels + rowCentre);
    const int rightEnd = readQuadrantRow<Blend::endMarker, +1>(quadRight + texelRowOffset, e.firstRightCol,
                                                               e.lastRightCol, texels + rowCentre);
    PendingRow row;
    row.first = leftEnd >= e.firstCol ? -leftEnd : e.firstRightCol;
    row.last = rightEnd >= e.firstRightCol ? rightEnd : -e.firstCol;
    row.centrePixel = rowOffsets[screenRow] + rs.centreX;
    if (row.first <= row.last) {
        const std::uint32_t* pixels = framePixels + (row.centrePixel + row.first);
        __builtin_prefetch(pixels, 1);
        __builtin_prefetch(pixels + (row.last - row.first), 1);
    }
    return row;
}

// Blends the run of texels into the frame row, four pixels at a time. A run
// of four or more ends with a group aligned to its last pixel, blended from
// the pixels as they were before the run started, so pixels it shares with
// the previous group get the same value again; a shorter run is read and
// written pixel-exactly. Nothing outside the run is touched.
template <class Blend>
inline void blendRun(const Blend& blend, std::uint32_t* pixels, const std::uint32_t* texels, int count) {
    if (count < pixelsPerVector) {
        storeFewPixels(pixels, blend(loadFewPixels(pixels, count), loadFewPixels(texels, count)), count);
        return;
    }
    const int lastGroup = count - pixelsPerVector;
    const Pixels4 lastPixels = loadPixels(pixels + lastGroup);
    for (int i = 0; i < lastGroup; i += pixelsPerVector)
        storePixels(pixels + i, blend(loadPixels(pixels + i), loadPixels(texels + i)));
    storePixels(pixels + lastGroup, blend(lastPixels, loadPixels(texels + lastGroup)));
}

template <class Blend>
inline void blendSpotRow(const Blend& blend, const PendingRow& row, const std::uint32_t* texels) {
    if (row.last < row.first) return;
    blendRun(blend, framePixels + (row.centrePixel + row.first), texels + rowCentre + row.first,
             row.last - row.first + 1);
}

// The walk shared by all modes: rows outwards from the centre, each upper
// row followed by the lower row at the same distance, every row blended
// rowsInFlight rows after it was read (in the same order).
template <class Blend>
void walkSpot(const Blend& blend, const SpriteExtent& e) {
    const RasterState& rs = rasterState;
    PendingRow pending[rowsInFlight];
    int rowsRead = 0;
    const auto visit = [&](int screenRow, int dy, const std::uint32_t* quadLeft, const std::uint32_t* quadRight) {
        const int slot = rowsRead % rowsInFlight;
        if (rowsRead >= rowsInFlight) blendSpotRow(blend, pending[slot], rowTexels[slot]);
        pending[slot] = readSpotRow<Blend>(e, screenRow, dy, quadLeft, quadRight, rowTexels[slot]);
        ++rowsRead;
    };
    const int lastRow = std::max(e.lastUpRow, e.lastDownRow);
    for (int dy = e.firstRow; dy <= lastRow; ++dy) {
        if (dy <= e.lastUpRow) visit(rs.centreY - dy, dy, rs.quadUL, rs.quadUR);
        if (dy >= e.firstDownRow && dy <= e.lastDownRow) visit(rs.centreY + dy, dy, rs.quadDL, rs.quadDR);
    }
    for (int k = std::max(rowsRead - rowsInFlight, 0); k < rowsRead; ++k)
        blendSpotRow(blend, pending[k % rowsInFlight], rowTexels[k % rowsInFlight]);
}

template <class Blend>
void drawSpotUnclipped() {
    [[maybe_unused]] const RasterState& rs = rasterState;
    assert(rs.left >= 0 && rs.top >= 0 && rs.right <= viewportMaxX && rs.bottom <= viewportMaxY);
    walkSpot(Blend{}, unclippedSpriteExtent(noOffsetLimit));
}

template <class Blend>
void drawSpotClipped() {
    assert(squareOverlapsViewport());
    setupClip();
    const SpriteExtent extent = clippedSpriteExtent(noOffsetLimit);
    walkSpot(Blend{}, extent);
}

}  // namespace

void drawSpotAdd() { drawSpotUnclipped<AddBlend>(); }
void drawSpotAddClipped() { drawSpotClipped<AddBlend>(); }
void drawSpotSubtract() { drawSpotUnclipped<SubtractBlend>(); }
void drawSpotSubtractClipped() { drawSpotClipped<SubtractBlend>(); }
void drawSpotMultiply() { drawSpotUnclipped<MultiplyBlend>(); }
void drawSpotMultiplyClipped() { drawSpotClipped<MultiplyBlend>(); }
void drawSpotAlpha() { drawSpotUnclipped<AlphaBlend>(); }
void drawSpotAlphaClipped() { drawSpotClipped<AlphaBlend>(); }

}  // namespace lumivortex
