// Validation of link records. A record is checked in two stages: first that
// its walk is bounded and well defined (the ranges it loops over lie inside
// the system, widths and block heights are usable), then that every pair the
// walk yields names an existing particle.
#include "particles/link_topology.h"

namespace lumivortex {

namespace {

// An empty range loops over nothing; a non-empty one must lie in 0..count - 1.
bool rangeInside(std::int64_t from, std::int64_t to, std::int64_t count) {
    return from > to || (from >= 0 && to < count);
}

// Blocks of rows are counted with % rows; lattices and mirrors also
// multiply or mirror by the block height, so they need it finite.
bool rowsUsable(const Link& link) {
    switch (link.type) {
        case linkRowRings:
        case linkCubes:
            return true;  // no blocks, or blocks of width rows
        case linkLatticeRing:
        case linkLattice:
        case linkMirroredSheets:
            return link.height != heightUnlimited && rowsPerBlock(link) >= 1;
        default:
            return rowsPerBlock(link) >= 1;
    }
}

// The loops of the record's walk run over bounded ranges inside the system,
// so the pair check below cannot run away on huge or negative fields.
bool walkBounded(const Link& link, std::int64_t count) {
    const std::int64_t first = link.first;
    const std::int64_t last = link.last;
    const std::int64_t w = link.width;
    switch (link.type) {
        case linkSinglePair:
            return true;
        case linkTwoRanges:
            return rangeInside(first, last, count) && rangeInside(w, link.height, count);
        case linkStrideChain:
        case linkStrideToOrigin:
            return w >= 1 && rangeInside(first, last, count);
        case linkOffsetPairs:
            return rangeInside(first, last - w, count);
        case linkAllPairs:
        case linkChain:
        case linkRing:
        case linkWrappedOffset:
        case linkWrappedOffsetChain:
            return rangeInside(first, last, count);
        default:  // the grids
            return w >= 1 && rangeInside(first, last, count) && rowsUsable(link);
    }
}

}  // namespace

bool linksPairs(std::int32_t type) {
    return type >= linkSinglePair && type <= linkMirroredSheets && type != linkNothing;
}

std::int64_t rowsPerBlock(const Link& link) {
    if (link.type == linkCubes || link.height == heightOfWidth) return link.width;
    if (link.height != heightUnlimited) return link.height;
    if (link.type != linkTorus) return unlimitedRows;
    return (static_cast<std::int64_t>(link.last) - link.first + 1) / link.width;
}

bool linkStaysInside(const Link& link, std::uint32_t count) {
    if (!linksPairs(link.type)) return true;
    const std::int64_t n = count;
    if (!walkBounded(link, n)) return false;
    bool inside = true;
    forEachLinkPair(link, [&](std::int64_t a, std::int64_t b) {
        inside = inside && a >= 0 && a < n && b >= 0 && b < n;
    });
    return inside;
}

}  // namespace lumivortex
