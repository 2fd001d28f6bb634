// The rows and columns a mirrored sprite kernel may touch. Data flow, once
// per sprite: a dispatcher has set the centre and square in rasterState; an
// unclipped kernel takes the whole square, a clipped one runs setupClip and
// turns its flags and limits into ranges here; the walk then reads only the
// extent. A family whose tables end before the square can (disc, depth
// ball) passes its last table offset, so that every read stays inside the
// table whatever the inputs; the others pass noOffsetLimit.
//
// Quadrant ownership as in every mirrored kernel: the centre row belongs to
// the upper half, the centre column to the left side, so the lower half
// starts at row 1 at the earliest and the right side at column 1.
#pragma once

#include <algorithm>
#include <limits>

#include "framebuffer/frame_buffer.h"
#include "render/raster_state.h"

namespace lumivortex {

// Rows (dy) and columns (dx) each half and side may draw; an empty range has
// last < first, and a half or side that draws nothing has a last row or
// column of -1. The walk visits rows firstRow..max(lastUpRow, lastDownRow).
struct SpriteExtent {
    int firstRow, lastUpRow;        // upper half, centre row included
    int firstDownRow, lastDownRow;  // lower half: dy >= max(firstRow, 1)
    int firstCol, lastLeftCol;      // left side, centre column included
    int firstRightCol, lastRightCol;  // right side: dx >= max(firstCol, 1)
};

// Last offset of a family that reads no table bounded below the square.
inline constexpr int noOffsetLimit = std::numeric_limits<int>::max();

// The whole square, held to lastOffset rows and columns from the centre.
inline SpriteExtent unclippedSpriteExtent(int lastOffset) {
    const int r = std::min(rasterState.spanRadius, lastOffset);
    return {0, r, 1, r, 0, r, 1, r};
}

// The setupClip flags and limits as ranges, held to lastOffset; setupClip
// has run.
inline SpriteExtent clippedSpriteExtent(int lastOffset) {
    const RasterState& rs = rasterState;
    return {rs.firstRow,
            rs.upActive ? std::min(rs.rowsUp, lastOffset) : -1,
            std::max(rs.firstRow, 1),
            rs.downActive ? std::min(rs.rowsDown, lastOffset) : -1,
            rs.firstCol,
            rs.leftActive ? std::min(rs.colsLeftBytes >> 2, lastOffset) : -1,
            std::max(rs.firstCol, 1),
            rs.rightActive ? std::min(rs.colsRightBytes >> 2, lastOffset) : -1};
}

// What the dispatchers guarantee: an unclipped kernel gets only squares
// wholly inside the viewport, a clipped one only squares that overlap it.
inline bool squareInsideViewport() {
    const RasterState& rs = rasterState;
    return rs.centreX - rs.spanRadius >= 0 && rs.centreY - rs.spanRadius >= 0 &&
           rs.centreX + rs.spanRadius <= viewportMaxX && rs.centreY + rs.spanRadius <= viewportMaxY;
}

inline bool squareOverlapsViewport() {
    const RasterState& rs = rasterState;
    return rs.left <= viewportMaxX && rs.top <= viewportMaxY && rs.right >= 0 && rs.bottom >= 0;
}

}  // namespace lumivortex
