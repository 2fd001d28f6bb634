// Depth-tested ball kernels. Data flow, once per sprite: the ball's shape
// (pixel radius, centre depth, tinyBall) and colour factors (alpha, tint,
// intensity) are copied out of rasterState, and the rows and columns each
// half and side of the square may touch are fixed (the whole square
// unclipped, the setupClip limits clipped). Then per row, outwards from the
// centre row:
//   1. the per-pixel set-up runs along the sampled sphereTable row from the
//      first column until the ball ends, giving each column its depth test;
//   2. the upper and the lower frame row, left and right of the centre
//      column, are depth-tested with those values and shaded with the
//      texels of their quadrants; drawn pixels take the ball's depth.
// Each (dx, dy) is thus set up once for its up to four mirrored pixels, and
// the pixel loops test nothing but the depth.
//
// Quadrant ownership as in every mirrored kernel: the centre row belongs to
// the upper half, the centre column to the left side. Every pixel of the
// square is visited at most once per ball and depends only on its own
// colour and depth, so the order of the visits does not matter.
#include "render/kernels/depth_ball_kernels.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstdint>

#include "framebuffer/depth_buffer.h"
#include "framebuffer/frame_buffer.h"
#include "math/colour.h"
#include "render/kernels/sprite_extent.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex {
namespace {

// Columns (and rows) a ball row can have: one per offsetScaleTable entry.
constexpr int maxBallColumns = offsetScaleSide;

// The ball's greatest height in depth units: pixel radius 255 at the
// centre's depthOffset, 2044.
constexpr std::int32_t maxBallHeight = (255 * 2044) >> 8;

// depthFloor of every pixel of a 3 x 3 ball: its few pixels are drawn whole
// over anything that is not in front of them.
constexpr std::int32_t tinyBallFloor = -777;

// Largest rim divisor: 16 ((R - h) / R)^2 rounds to at most 16.
constexpr std::int32_t maxDepthDivisor = 16;

// n / E for the rim divisors E = 2..16 without a division per pixel:
// (n * ceil(2^32 / E)) >> 32, exact for 0 <= n < 2^28. Divisors 0 and 1
// divide by nothing.
constexpr std::uint64_t reciprocalOf(std::int32_t divisor) {
    constexpr std::uint64_t one = std::uint64_t{1} << 32;
    const auto e = static_cast<std::uint64_t>(divisor);
    return divisor <= 1 ? one : (one + e - 1) / e;
}

constexpr std::array<std::uint64_t, maxDepthDivisor + 1> divisorReciprocals = [] {
    std::array<std::uint64_t, maxDepthDivisor + 1> r{};
    for (std::int32_t e = 0; e <= maxDepthDivisor; ++e) r[static_cast<std::size_t>(e)] = reciprocalOf(e);
    return r;
}();

constexpr bool reciprocalsAreExact() {
    for (std::int32_t e = 2; e <= maxDepthDivisor; ++e)
        for (std::uint64_t n = 0; n <= maxBallHeight; ++n)
            if (((n * divisorReciprocals[static_cast<std::size_t>(e)]) >> 32) != n / static_cast<std::uint64_t>(e))
                return false;
    return true;
}
static_assert(reciprocalsAreExact());

// The per-pixel set-up of one source element: the depth test its up to
// four mirrored pixels share.
struct DepthTest {
    std::int32_t pixelDepth;    // depth stored where the ball is drawn
    std::int32_t depthFloor;    // minus the ball's height here: it is never further in front
    std::int32_t depthDivisor;  // rim softening 0..16; 0 and 1 divide by nothing
};

// Per-sprite values, copied out of rasterState so that the pixel loops need
// not reread it after every store into the buffers.
struct BallShape {
    std::int32_t pixelRadius;
    std::int32_t centreDepth;
    bool tinyBall;
};

struct BallColour {
    std::int32_t alpha;
    std::uint32_t tint;
    std::int32_t intensity;
};

BallShape ballShape() {
    const RasterState& rs = rasterState;
    return {rs.pixelRadius, rs.centreDepth, rs.tinyBall != 0};
}

BallColour ballColour() {
    const RasterState& rs = rasterState;
    return {rs.alpha, rs.tintColour, rs.intensity};
}

// Per-pixel set-up for the source element with sphereTable entry (D, E);
// false when the element ends the row:
//   D = 0: the element lies outside the ball;
//   height = (pixelRadius * D) >> 8; 0: the ball has no height here;
//   depthFloor = -height; pixelDepth = centreDepth + depthFloor;
//   depthDivisor = E;
//   a tinyBall (pixelRadius 2) takes depthDivisor 0 and depthFloor -777.
inline bool setUpDepthPixel(SphereEntry element, const BallShape& shape, DepthTest& test) {
    if (element.depthOffset == 0) return false;
    const std::int32_t height = (shape.pixelRadius * element.depthOffset) >> 8;
    if (height == 0) return false;
    test.pixelDepth = shape.centreDepth - height;
    test.depthFloor = shape.tinyBall ? tinyBallFloor : -height;
    test.depthDivisor = shape.tinyBall ? 0 : element.edgeDivisor;
    return true;
}

// Weight of the ball over a pixel whose stored depth is `stored`; 0 when the
// ball is not in front:
//   diff = pixelDepth - stored, at least depthFloor (the ball counts as no
//   further in front than its own height here);
//   w = -diff / depthDivisor, truncated (no division for 0 and 1), where
//   diff < 0, else 0. Near the rim the divisor grows to 16, which softens
//   the silhouette against the balls behind.
inline std::int32_t depthWeight(const DepthTest& test, std::int32_t stored) {
    // Stored depths are not limited, so the difference is formed in 64 bits.
    const std::int64_t ahead =
        std::min(std::int64_t{stored} - test.pixelDepth, -std::int64_t{test.depthFloor});
    const auto n = static_cast<std::uint64_t>(std::max<std::int64_t>(ahead, 0));
    return static_cast<std::int32_t>((n * divisorReciprocals[static_cast<std::size_t>(test.depthDivisor)]) >> 32);
}

// Where the ball is in front (weight w > 0), with source colour c:
//   c = lerpColour(pixel, c, alpha) unless alpha is 255;
//   c = modulateColour(c, tint) unless tint is 0x00FFFFFF;
//   c = lerpColour(0xFF000000, c, intensity) unless intensity is 255;
//   pixel = c if w >= 8, else lerpColour(pixel, c, 32 w);
//   depth = pixelDepth.
inline void shadeDepthPixel(std::uint32_t* pixel, std::int32_t* depth, std::uint32_t c, const DepthTest& test,
                            const BallColour& colour) {
    const std::int32_t w = depthWeight(test, *depth);
    if (w == 0) return;
    const std::uint32_t old = *pixel;
    if (colour.alpha != 255) c = lerpColour(old, c, colour.alpha);
    if (colour.tint != noTint) c = modulateColour(c, colour.tint);
    if (colour.intensity != 255) c = lerpColour(0xFF000000u, c, colour.intensity);
    *pixel = w >= 8 ? c : lerpColour(old, c, 32 * w);
    *depth = test.pixelDepth;
}

// The projection keeps spanRadius within the scale row (at most 254);
// holding the extent to it here keeps every table read and the set-up
// buffer in bounds whatever the inputs.
constexpr int lastBallOffset = maxBallColumns - 1;

[[maybe_unused]] bool readyToDraw() {
    const RasterState& rs = rasterState;
    return depthBuffer != nullptr && sphereTable != nullptr && rs.scaleRow != nullptr && rs.pixelRadius >= 1 &&
           rs.pixelRadius <= 255 && rs.spanRadius == rs.pixelRadius - 1;
}

// Everything one sprite's walk reads, fixed before the first row.
struct BallWalk {
    BallShape shape = ballShape();
    BallColour colour = ballColour();
    const std::int32_t* scale = rasterState.scaleRow;
    int centreX = rasterState.centreX;
    int centreY = rasterState.centreY;
    std::uint32_t* pixels = framePixels;
    std::int32_t* depths = depthBuffer;
    DepthTest tests[maxBallColumns];  // the set-up of the current row, by dx

    // The set-up of columns first..last of the sphereTable row `sphere`;
    // returns the first column the row does not reach.
    int setUpRow(const SphereEntry* sphere, int first, int last) {
        for (int dx = first; dx <= last; ++dx)
            if (!setUpDepthPixel(sphere[scale[dx] >> 2], shape, tests[dx])) return dx;
        return last + 1;
    }

    // Columns first..last of one side of a frame row, outwards in
    // `direction` (-1 left, +1 right) from the centre column, whose element
    // in framePixels and depthBuffer is `centre`.
    template <int direction>
    void drawSide(int centre, const std::uint32_t* texelRow, int first, int last) {
        for (int dx = first; dx <= last; ++dx) {
            const int i = centre + direction * dx;
            shadeDepthPixel(pixels + i, depths + i, texelRow[scale[dx] >> 2], tests[dx], colour);
        }
    }

    // One frame row from the texel rows of its half, up to the column
    // before `end`.
    void drawRow(const SpriteExtent& e, int screenRow, const std::uint32_t* texelsLeft,
                 const std::uint32_t* texelsRight, int end) {
        const int centre = rowOffsets[screenRow] + centreX;
        drawSide<-1>(centre, texelsLeft, e.firstCol, std::min(e.lastLeftCol, end - 1));
        drawSide<+1>(centre, texelsRight, e.firstRightCol, std::min(e.lastRightCol, end - 1));
    }

    void run(const SpriteExtent& e) {
        const RasterState& rs = rasterState;
        const int lastRow = std::max(e.lastUpRow, e.lastDownRow);
        const int lastCol = std::max(e.lastLeftCol, e.lastRightCol);
        for (int dy = e.firstRow; dy <= lastRow; ++dy) {
            const int texelRow = scale[dy] >> 2;
            const int end = setUpRow(sphereRow(texelRow), e.firstCol, lastCol);
            const int rowStart = texelRow * quadrantSide;
            if (dy <= e.lastUpRow) drawRow(e, centreY - dy, rs.quadUL + rowStart, rs.quadUR + rowStart, end);
            if (dy != 0 && dy <= e.lastDownRow)
                drawRow(e, centreY + dy, rs.quadDL + rowStart, rs.quadDR + rowStart, end);
        }
    }
};

void walkDepthBall(const SpriteExtent& e) {
    BallWalk walk;
    walk.run(e);
}

}  // namespace

void drawDepthBall() {
    assert(readyToDraw() && squareInsideViewport());
    walkDepthBall(unclippedSpriteExtent(lastBallOffset));
}

void drawDepthBallClipped() {
    assert(readyToDraw() && squareOverlapsViewport());
    setupClip();
    walkDepthBall(clippedSpriteExtent(lastBallOffset));
}

void writeDepthPixel(std::uint32_t* pixel, std::int32_t* depth, std::uint32_t colour) {
    const RasterState& rs = rasterState;
    // The set-up gives divisors 0..16 only; holding the value keeps the
    // reciprocal lookup in bounds for any caller.
    const DepthTest test{rs.pixelDepth, rs.depthFloor, std::clamp(rs.depthDivisor, 0, maxDepthDivisor)};
    shadeDepthPixel(pixel, depth, colour, test, ballColour());
}

}  // namespace lumivortex
