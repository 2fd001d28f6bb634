// The shared raster record, the clip set-up of the clipped kernels and the
// single-pixel kernel.
#include "render/raster_state.h"

#include <algorithm>
#include <cassert>

#include "framebuffer/frame_buffer.h"

namespace lumivortex {

RasterState rasterState{};
std::int32_t minPixelRadius = 0;

void setupClip() {
    RasterState& rs = rasterState;
    rs.left = std::max(rs.left, 0);
    rs.right = std::min(rs.right, static_cast<std::int32_t>(viewportMaxX));
    rs.top = std::max(rs.top, 0);
    rs.bottom = std::min(rs.bottom, static_cast<std::int32_t>(viewportMaxY));

    const std::int32_t above = rs.centreY - rs.top;
    const std::int32_t below = rs.bottom - rs.centreY;
    const std::int32_t leftOf = rs.centreX - rs.left;
    const std::int32_t rightOf = rs.right - rs.centreX;
    rs.firstRow = 0;
    rs.firstCol = 0;

    // A negative extent means the centre row (column) itself is outside: only
    // the other half is drawn, from the first visible offset.
    if (above < 0) {
        rs.upActive = 0;
        rs.downActive = 1;
        rs.firstRow = -above;
    } else {
        rs.upActive = 1;
        rs.downActive = below >= 0;
        if (below < 0) rs.firstRow = -below;
    }
    if (leftOf < 0) {
        rs.leftActive = 0;
        rs.rightActive = 1;
        rs.firstCol = -leftOf;
    } else {
        rs.leftActive = 1;
        rs.rightActive = rightOf >= 0;
        if (rightOf < 0) rs.firstCol = -rightOf;
    }

    rs.rowsUp = std::min(above, rs.spanRadius);
    rs.rowsDown = std::min(below, rs.spanRadius);
    rs.colsLeftBytes = 4 * std::min(leftOf, rs.spanRadius);
    rs.colsRightBytes = 4 * std::min(rightOf, rs.spanRadius);
    rs.pixelY = rs.firstRow;
}

void plotPixel() {
    const RasterState& rs = rasterState;
    // The dispatcher has checked both coordinates against the viewport.
    assert(rs.pixelX >= 0 && rs.pixelX <= viewportMaxX && rs.pixelY >= 0 && rs.pixelY <= viewportMaxY);
    const std::uint32_t colour =
        rs.intensity == 255 ? rs.tintColour : lerpColour(0xFF000000u, rs.tintColour, rs.intensity);
    framePixels[rowOffsets[rs.pixelY] + rs.pixelX] = colour;
}

}  // namespace lumivortex
