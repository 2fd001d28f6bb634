// Disc coverage kernels. Data flow, once per sprite: the blend premixes its
// colour into solidColour; the radii are bounded to the coverage tables; the
// cursors select the outer (and, for a ring, inner and core) tables; the
// rows and columns each half and side of the square may touch are fixed
// (the whole square unclipped, the setupClip limits clipped, never more
// rows or columns than the outer table has). Then per row, outwards from the
// centre row:
//   1. the outer coverage is read from the first column until its first 0;
//   2. a ring subtracts the inner and adds the core coverage over the
//      columns those tables have (w = outer - inner + core);
//   3. the blend turns each coverage into what the pixel receives (the
//      alpha blend may end the row here);
//   4. that row of shades is laid into the upper and the lower frame row,
//      left and right of the centre column.
// Each (dx, dy) is thus evaluated once for its up to four mirrored pixels,
// and the pixel loops test nothing but a ring's zero coverage.
//
// Quadrant ownership as in every mirrored kernel: the centre row belongs to
// the upper half, the centre column to the left side, so every pixel of the
// square is written at most once.
#include "render/kernels/disc_kernels.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

#include "framebuffer/frame_buffer.h"
#include "math/colour.h"
#include "render/kernels/coverage_cursor.h"
#include "render/kernels/sprite_extent.h"
#include "render/raster_state.h"

namespace lumivortex {
namespace {

// Most columns (and rows) a disc row can have: the largest table's width.
constexpr int maxDiscColumns = coverageTableCount - 1;

// floor(x / 255) for 0 <= x <= 255 * 255, by a multiply and a shift.
constexpr std::int32_t divideBy255(std::int32_t x) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(x) * 0x8081u) >> 23);
}

constexpr bool divideBy255IsExact() {
    for (std::int32_t x = 0; x <= 255 * 255; ++x)
        if (divideBy255(x) != x / 255) return false;
    return true;
}
static_assert(divideBy255IsExact());

// The sprite colour, tinted by the particle unless the tint is 0x00FFFFFF.
std::uint32_t baseColour() { return applyTint(rasterState.spriteColour); }

// a = floor(alpha * intensity / 255), kept in intensity for the rest of the
// sprite (exact: once per sprite, not per pixel).
std::int32_t combineBrightness() {
    RasterState& rs = rasterState;
    rs.intensity = rs.alpha * rs.intensity / 255;
    return rs.intensity;
}

// Blend policies of the walk. Each provides
//   premix()          once per sprite, before anything else: the colour
//                     set-up, leaving the colour in solidColour;
//   fromState()       the policy built from the premixed values;
//   shade(w)          what the pixels of coverage w (1..255) receive;
//   endsRow(w, s)     whether that shade ends the row;
//   apply(p, s)       the new value of frame pixel p.

// Add and subtract:
//   set-up:  a = floor(alpha * intensity / 255), kept in intensity;
//            solid = applyIntensity(base): each channel * a >> 8, or base
//            itself when a = 255;
//   shade:   c = solid if w = 255, else each channel of solid * w >> 8;
//   add:     pixel = addColour(pixel, c), per channel min(p + c, 255);
//   subtract: pixel = subtractColour(pixel, c), per channel max(p - c, 0).
template <std::uint32_t (*Operation)(std::uint32_t, std::uint32_t)>
struct AdditiveDisc {
    using Shade = std::uint32_t;
    std::uint32_t solid;

    static void premix() {
        combineBrightness();
        rasterState.solidColour = applyIntensity(baseColour());
    }
    static AdditiveDisc fromState() { return {rasterState.solidColour}; }

    Shade shade(std::int32_t w) const { return w == 255 ? solid : scaleChannels(solid, w); }
    static constexpr bool endsRow(std::int32_t, Shade) { return false; }
    std::uint32_t apply(std::uint32_t p, Shade c) const { return Operation(p, c); }
};

using AddDisc = AdditiveDisc<addColour>;
using SubtractDisc = AdditiveDisc<subtractColour>;

// Multiply: pulling the colour towards white makes it darken less.
//   set-up:  a = floor(alpha * intensity / 255), kept in intensity;
//            solid = base if a = 255, else lerpColour(white, base, a);
//   shade:   c = solid if w = 255, else lerpColour(white, solid, w), per
//            channel 255 + floor((s - 255) * w / 256);
//   pixel = modulateColour(pixel, c), per channel p * c >> 8.
struct MultiplyDisc {
    using Shade = std::uint32_t;
    std::uint32_t solid;

    static void premix() {
        const std::int32_t a = combineBrightness();
        const std::uint32_t base = baseColour();
        rasterState.solidColour = a == 255 ? base : lerpColour(noTint, base, a);
    }
    static MultiplyDisc fromState() { return {rasterState.solidColour}; }

    Shade shade(std::int32_t w) const { return w == 255 ? solid : lerpColour(noTint, solid, w); }
    static constexpr bool endsRow(std::int32_t, Shade) { return false; }
    std::uint32_t apply(std::uint32_t p, Shade c) const { return modulateColour(p, c); }
};

// Alpha: opacity stays separate from the colour and weighs each pixel.
//   set-up:  solid = base if intensity = 255, else
//            lerpColour(black, base, intensity);
//   shade:   w' = floor(w * alpha / 255) (w itself when alpha is 255);
//            a non-zero w whose w' is 0 ends the row;
//   pixel = solid exactly, top byte included, if w' = 255, else
//           lerpColour(pixel, solid, w').
struct AlphaDisc {
    using Shade = std::int32_t;
    std::uint32_t solid;
    std::int32_t alpha;

    static void premix() {
        RasterState& rs = rasterState;
        const std::uint32_t base = baseColour();
        rs.solidColour = rs.intensity == 255 ? base : lerpColour(0xFF000000u, base, rs.intensity);
    }
    static AlphaDisc fromState() { return {rasterState.solidColour, rasterState.alpha}; }

    Shade shade(std::int32_t w) const { return divideBy255(w * alpha); }
    static bool endsRow(std::int32_t w, Shade weight) { return weight == 0 && w != 0; }
    std::uint32_t apply(std::uint32_t p, Shade weight) const {
        return weight == 255 ? solid : lerpColour(p, solid, weight);
    }
};

// The coverage tables end at 255 pixels (quarter radius 1020). A larger
// disc is drawn at that size, and a ring's inner circles shrink with it so
// that the ring keeps its proportions; each stays at least two quarter
// pixels inside the circle around it, as the projection guarantees below
// the limit, so the ring coverage stays within 0..255.
std::int32_t scaledInside(std::int32_t q, std::int32_t from, std::int32_t around) {
    if (q == 0) return 0;
    const auto scaled = static_cast<std::int32_t>(std::int64_t{q} * maxCoverageQuarterRadius / from);
    return std::max(std::min(scaled, around - 2), 0);
}

void boundDiscRadii() {
    RasterState& rs = rasterState;
    const std::int32_t outer = rs.outerQuarterRadius;
    if (outer <= maxCoverageQuarterRadius) return;
    rs.outerQuarterRadius = maxCoverageQuarterRadius;
    rs.innerQuarterRadius = scaledInside(rs.innerQuarterRadius, outer, rs.outerQuarterRadius);
    rs.coreQuarterRadius = scaledInside(rs.coreQuarterRadius, outer, rs.innerQuarterRadius);
}

bool hasInnerCircles() { return rasterState.innerQuarterRadius != 0 || rasterState.coreQuarterRadius != 0; }

// Rows and columns beyond the outer table do not exist. The projection
// keeps the square exactly as wide as the table; holding the extent to it
// keeps every read inside the table whatever the inputs.
int lastTableOffset() { return outerCursor.size - 1; }

// The outer coverage of columns first..last; returns the first column not
// drawn: the first with coverage 0, or last + 1.
int outerCoverageRun(const CoverageCursor& outer, std::int32_t* weight, int first, int last) {
    for (int dx = first; dx <= last; ++dx) {
        const std::int32_t a = coverageAt(outer, dx);
        if (a == 0) return dx;
        weight[dx] = a;
    }
    return last + 1;
}

// weight += sign * coverage over columns first..end - 1.
void addCoverage(const CoverageCursor& cursor, std::int32_t* weight, int first, int end, std::int32_t sign) {
    for (int dx = first; dx < end; ++dx) weight[dx] += sign * coverageAt(cursor, dx);
}

// Shades of columns first..end - 1; returns the first column not drawn.
template <class Blend>
int shadeRow(const Blend& blend, const std::int32_t* weight, typename Blend::Shade* shade, int first, int end) {
    for (int dx = first; dx < end; ++dx) {
        shade[dx] = blend.shade(weight[dx]);
        if (Blend::endsRow(weight[dx], shade[dx])) return dx;
    }
    return end;
}

// Columns first..last of one side of a frame row, outwards in `direction`
// (-1 left, +1 right) from the centre column. A ring leaves the pixels of
// its hole (coverage 0) untouched.
template <class Blend, bool Ring>
inline void drawSide(const Blend& blend, const std::int32_t* weight, const typename Blend::Shade* shade,
                     std::uint32_t* row, int direction, int first, int last) {
    const int centreX = rasterState.centreX;
    for (int dx = first; dx <= last; ++dx) {
        if (Ring && weight[dx] == 0) continue;
        std::uint32_t& p = row[centreX + direction * dx];
        p = blend.apply(p, shade[dx]);
    }
}

// One frame row: the left side, then the right, each up to the row's end.
template <class Blend, bool Ring>
inline void drawFrameRow(const Blend& blend, const std::int32_t* weight, const typename Blend::Shade* shade,
                         const SpriteExtent& e, int screenRow, int end) {
    std::uint32_t* row = framePixels + rowOffsets[screenRow];
    drawSide<Blend, Ring>(blend, weight, shade, row, -1, e.firstCol, std::min(e.lastLeftCol, end - 1));
    drawSide<Blend, Ring>(blend, weight, shade, row, +1, e.firstRightCol, std::min(e.lastRightCol, end - 1));
}

// The walk shared by every mode, disc and ring, clipped and unclipped. The
// cursors come selected, outerCursor (and for a ring the inner and core
// cursors, while they have rows there) on row firstRow.
template <class Blend, bool Ring>
void walkDisc(const Blend& blend, const SpriteExtent& e) {
    const RasterState& rs = rasterState;
    CoverageCursor outer = outerCursor;
    CoverageCursor inner = innerCursor;
    CoverageCursor core = coreCursor;
    // Table rows of the inner circles; 0 = the circle is absent.
    const int innerRows = Ring && rs.innerQuarterRadius != 0 ? inner.size : 0;
    const int coreRows = Ring && rs.coreQuarterRadius != 0 ? core.size : 0;
    const int lastRow = std::max(e.lastUpRow, e.lastDownRow);
    const int lastCol = std::max(e.lastLeftCol, e.lastRightCol);

    std::int32_t weight[maxDiscColumns];
    typename Blend::Shade shade[maxDiscColumns];
    for (int dy = e.firstRow; dy <= lastRow; ++dy) {
        if (dy != e.firstRow) {
            nextCoverageRow(outer);
            if (dy < innerRows) nextCoverageRow(inner);
            if (dy < coreRows) nextCoverageRow(core);
        }
        int end = outerCoverageRun(outer, weight, e.firstCol, lastCol);
        if constexpr (Ring) {
            // Each inner table covers only its own rows and columns.
            if (dy < innerRows) addCoverage(inner, weight, e.firstCol, std::min(end, innerRows), -1);
            if (dy < coreRows) addCoverage(core, weight, e.firstCol, std::min(end, coreRows), +1);
        }
        end = shadeRow(blend, weight, shade, e.firstCol, end);
        if (dy <= e.lastUpRow) drawFrameRow<Blend, Ring>(blend, weight, shade, e, rs.centreY - dy, end);
        if (dy != 0 && dy <= e.lastDownRow) drawFrameRow<Blend, Ring>(blend, weight, shade, e, rs.centreY + dy, end);
    }
}

// Selects the cursors of the circles inside the outer one that exist.
void selectInnerCircles() {
    const RasterState& rs = rasterState;
    if (rs.innerQuarterRadius != 0) selectInnerCoverage(rs.innerQuarterRadius);
    if (rs.coreQuarterRadius != 0) selectCoreCoverage(rs.coreQuarterRadius);
}

template <class Blend>
void drawRingUnclipped() {
    selectInnerCircles();
    walkDisc<Blend, true>(Blend::fromState(), unclippedSpriteExtent(lastTableOffset()));
}

template <class Blend>
void drawRingClipped() {
    selectInnerCircles();
    if (rasterState.innerQuarterRadius != 0) skipCoverageRows(innerCursor, rasterState.firstRow);
    if (rasterState.coreQuarterRadius != 0) skipCoverageRows(coreCursor, rasterState.firstRow);
    walkDisc<Blend, true>(Blend::fromState(), clippedSpriteExtent(lastTableOffset()));
}

template <class Blend>
void drawDiscUnclipped() {
    assert(squareInsideViewport());
    Blend::premix();
    RasterState& rs = rasterState;
    if (rs.spanRadius == 0) {
        // A single pixel in the full colour: no table is consulted.
        const Blend blend = Blend::fromState();
        std::uint32_t& p = framePixels[rowOffsets[rs.centreY] + rs.centreX];
        p = blend.apply(p, blend.shade(255));
        return;
    }
    boundDiscRadii();
    selectOuterCoverage(rs.outerQuarterRadius);
    if (hasInnerCircles()) {
        drawRingUnclipped<Blend>();
        return;
    }
    walkDisc<Blend, false>(Blend::fromState(), unclippedSpriteExtent(lastTableOffset()));
}

template <class Blend>
void drawDiscClipped() {
    Blend::premix();
    boundDiscRadii();
    setupClip();
    selectOuterCoverage(rasterState.outerQuarterRadius);
    skipCoverageRows(outerCursor, rasterState.firstRow);
    if (hasInnerCircles()) {
        drawRingClipped<Blend>();
        return;
    }
    walkDisc<Blend, false>(Blend::fromState(), clippedSpriteExtent(lastTableOffset()));
}

}  // namespace

void drawDiscAlpha() { drawDiscUnclipped<AlphaDisc>(); }
void drawDiscAlphaClipped() { drawDiscClipped<AlphaDisc>(); }
void drawDiscAdd() { drawDiscUnclipped<AddDisc>(); }
void drawDiscAddClipped() { drawDiscClipped<AddDisc>(); }
void drawDiscSubtract() { drawDiscUnclipped<SubtractDisc>(); }
void drawDiscSubtractClipped() { drawDiscClipped<SubtractDisc>(); }
void drawDiscMultiply() { drawDiscUnclipped<MultiplyDisc>(); }
void drawDiscMultiplyClipped() { drawDiscClipped<MultiplyDisc>(); }

void drawRingAlpha() { drawRingUnclipped<AlphaDisc>(); }
void drawRingAlphaClipped() { drawRingClipped<AlphaDisc>(); }
void drawRingAdd() { drawRingUnclipped<AddDisc>(); }
void drawRingAddClipped() { drawRingClipped<AddDisc>(); }
void drawRingSubtract() { drawRingUnclipped<SubtractDisc>(); }
void drawRingSubtractClipped() { drawRingClipped<SubtractDisc>(); }
void drawRingMultiply() { drawRingUnclipped<MultiplyDisc>(); }
void drawRingMultiplyClipped() { drawRingClipped<MultiplyDisc>(); }

}  // namespace lumivortex
