// Which particle pairs a link record joins. Data flow: applyLink first asks
// linkStaysInside, which checks that the record's loops are bounded and then
// walks its pairs with a bounds check, and only then walks the same pairs
// again with the pair force. Both walks (and the tests that record pair
// lists) go through forEachLinkPair, so what is checked is exactly what is
// applied. Pairs come in ascending i, and for each i in a fixed order.
//
// Indices are 64-bit inside the walks: sums and products of two record
// fields cannot overflow there, so a bad record yields out-of-range indices
// that the check rejects instead of wrapped ones.
#pragma once

#include <cstdint>
#include <limits>

#include "particles/links.h"

namespace lumivortex {

// Topologies (Link::type). 9, negative values and values above 18 link nothing.
enum LinkType : std::int32_t {
    linkSinglePair = 0,      // (first, last)
    linkAllPairs = 1,        // every pair inside first..last
    linkTwoRanges = 2,       // first..last with width..height
    linkChain = 3,           // (i, i + 1)
    linkRing = 4,            // the chain closed by (last, first)
    linkStrideChain = 5,     // (i, i + w) stepping by w
    linkStrideToOrigin = 6,  // the stride chain, then (last i visited, 0)
    linkOffsetPairs = 7,     // (i, i + w) for every i up to last - w
    linkWrappedOffset = 8,   // (i, i + w), minus last past the end
    linkNothing = 9,
    linkRowRings = 10,         // rows of w, each closed into a ring
    linkTubes = 11,            // row rings joined row to row within blocks
    linkLatticeRing = 12,      // 3D lattice whose layers close into a ring
    linkWrappedOffsetChain = 13,  // type 8 plus (i, i + 1), the last to 0
    linkTorus = 14,            // row rings whose blocks close top to bottom
    linkSheets = 15,           // open grids of w x h
    linkCubes = 16,            // open cubes of w x w x w
    linkLattice = 17,          // open 3D lattice of w x h layers
    linkMirroredSheets = 18,   // sheets whose row ends meet the mirrored row
};

// Codes of Link::height.
inline constexpr std::int32_t heightOfWidth = -3;
inline constexpr std::int32_t heightUnlimited = -2;

// Rows per block after the height codes; unlimited blocks never end.
inline constexpr std::int64_t unlimitedRows = std::numeric_limits<std::int64_t>::max();

// True for the types that join pairs (0..8 and 10..18).
bool linksPairs(std::int32_t type);

// Rows per block of a grid record (types 10..18): -3 gives width; -2 gives
// unlimitedRows, except for the torus, where it gives as many whole rows as
// the range holds (needs width >= 1). Cubes ignore height: their blocks are
// layers of width rows.
std::int64_t rowsPerBlock(const Link& link);

// True when every pair of the record lies in 0..count - 1 and its walk is
// well defined (positive width and rows where rows or strides are walked,
// a finite height where a lattice or a mirror needs one, a visited particle
// for the closing pair of type 6). A record that links nothing stays inside.
bool linkStaysInside(const Link& link, std::uint32_t count);

namespace linkwalk {

// Marks "no particle visited" in the stride walk; fails every bounds check.
inline constexpr std::int64_t noParticle = -1;

// A range of whole or partial rows of `width` particles from `first`, in
// blocks of `rows` rows.
struct Grid {
    std::int64_t first;
    std::int64_t last;
    std::int64_t width;
    std::int64_t rows;

    std::int64_t size() const { return last - first + 1; }
    std::int64_t row(std::int64_t i) const { return (i - first) / width; }
    bool endsRow(std::int64_t i) const { return (i - first) % width == width - 1; }
    std::int64_t rowInBlock(std::int64_t i) const { return row(i) % rows; }
    bool inLastRowOfBlock(std::int64_t i) const { return rowInBlock(i) == rows - 1; }
};

template <typename Pair>
void allPairs(std::int64_t first, std::int64_t last, Pair& pair) {
    for (std::int64_t i = first; i < last; ++i) {
        for (std::int64_t j = i + 1; j <= last; ++j) pair(i, j);
    }
}

template <typename Pair>
void twoRanges(const Link& link, Pair& pair) {
    for (std::int64_t i = link.first; i <= link.last; ++i) {
        for (std::int64_t j = link.width; j <= link.height; ++j) pair(i, j);
    }
}

template <typename Pair>
void chain(std::int64_t first, std::int64_t last, bool closed, Pair& pair) {
    for (std::int64_t i = first; i < last; ++i) pair(i, i + 1);
    if (closed) pair(last, first);
}

// Stepping by w; closed, the last i visited is joined to particle 0.
template <typename Pair>
void strideChain(std::int64_t first, std::int64_t last, std::int64_t w, bool closed, Pair& pair) {
    std::int64_t visited = noParticle;
    for (std::int64_t i = first; i <= last - w; i += w) {
        pair(i, i + w);
        visited = i;
    }
    if (closed) pair(visited, 0);
}

template <typename Pair>
void offsetPairs(std::int64_t first, std::int64_t last, std::int64_t w, Pair& pair) {
    for (std::int64_t i = first; i <= last - w; ++i) pair(i, i + w);
}

// (i, i + w), with last subtracted once when i + w passes last; chained, each
// i is also joined to i + 1, and last to particle 0.
template <typename Pair>
void wrappedOffset(std::int64_t first, std::int64_t last, std::int64_t w, bool chained, Pair& pair) {
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t j = i + w;
        pair(i, j > last ? j - last : j);
        if (chained) pair(i, i == last ? 0 : i + 1);
    }
}

// How the row rings are joined across rows.
enum class RingJoin { none, tube, torus };

// Each row closed into a ring. A range that is not whole rows pairs last
// with last + 1; the bounds check decides whether that particle exists.
template <typename Pair>
void rowRings(const Grid& g, RingJoin join, Pair& pair) {
    for (std::int64_t i = g.first; i <= g.last; ++i) {
        pair(i, g.endsRow(i) ? i - (g.width - 1) : i + 1);
        if (join == RingJoin::torus && g.inLastRowOfBlock(i)) {
            pair(i, i - (g.rows - 1) * g.width);
        } else if (join != RingJoin::none && i + g.width <= g.last && !g.inLastRowOfBlock(i)) {
            pair(i, i + g.width);
        }
    }
}

// What joins the layers (blocks of rows) of a sheet walk.
enum class LayerJoin {
    none,  // flat sheets
    ring,  // (i, i + w*h), reduced by the range size past last
    open,  // (i, i + w*h) while inside the range
    cube,  // (i, i + w*w) while inside the range and not in a cube's last layer
};

// Open rows: (i, i + 1) inside a row, or with `mirrored` the row's last
// particle joined to the first of the mirrored row of its block; then
// (i, i + w) within a block; then the layer join, a layer being one block.
template <typename Pair>
void sheets(const Grid& g, bool mirrored, LayerJoin layers, Pair& pair) {
    // Only joined layers need finite blocks; flat sheets may be unlimited.
    const std::int64_t layerStep = layers == LayerJoin::none ? 0 : g.width * g.rows;
    for (std::int64_t i = g.first; i <= g.last; ++i) {
        if (!g.endsRow(i)) {
            if (i + 1 <= g.last) pair(i, i + 1);
        } else if (mirrored) {
            const std::int64_t blockRow = g.rowInBlock(i);
            const std::int64_t j = g.first + (g.row(i) - blockRow + g.rows - 1 - blockRow) * g.width;
            if (j <= g.last) pair(i, j);
        }
        if (i + g.width <= g.last && !g.inLastRowOfBlock(i)) pair(i, i + g.width);
        switch (layers) {
            case LayerJoin::none:
                break;
            case LayerJoin::ring: {
                const std::int64_t j = i + layerStep;
                pair(i, j > g.last ? j - g.size() : j);
                break;
            }
            case LayerJoin::open:
                if (i + layerStep <= g.last) pair(i, i + layerStep);
                break;
            case LayerJoin::cube:
                // A cube is `width` layers.
                if (i + layerStep <= g.last && g.row(i) / g.rows % g.width != g.width - 1) pair(i, i + layerStep);
                break;
        }
    }
}

inline Grid gridOf(const Link& link) { return {link.first, link.last, link.width, rowsPerBlock(link)}; }

}  // namespace linkwalk

// Calls pair(a, b) (two std::int64_t) for every pair of the record's
// topology, in the order the forces are applied. The walk itself checks
// nothing: records that fail linkStaysInside may give out-of-range indices,
// and grid records need width >= 1 and finite rows where a layer or mirror
// uses them.
template <typename Pair>
void forEachLinkPair(const Link& link, Pair&& pair) {
    using namespace linkwalk;
    const std::int64_t first = link.first;
    const std::int64_t last = link.last;
    const std::int64_t w = link.width;
    switch (link.type) {
        case linkSinglePair: pair(first, last); return;
        case linkAllPairs: allPairs(first, last, pair); return;
        case linkTwoRanges: twoRanges(link, pair); return;
        case linkChain: chain(first, last, false, pair); return;
        case linkRing: chain(first, last, true, pair); return;
        case linkStrideChain: strideChain(first, last, w, false, pair); return;
        case linkStrideToOrigin: strideChain(first, last, w, true, pair); return;
        case linkOffsetPairs: offsetPairs(first, last, w, pair); return;
        case linkWrappedOffset: wrappedOffset(first, last, w, false, pair); return;
        case linkWrappedOffsetChain: wrappedOffset(first, last, w, true, pair); return;
        case linkRowRings: rowRings(gridOf(link), RingJoin::none, pair); return;
        case linkTubes: rowRings(gridOf(link), RingJoin::tube, pair); return;
        case linkTorus: rowRings(gridOf(link), RingJoin::torus, pair); return;
        case linkSheets: sheets(gridOf(link), false, LayerJoin::none, pair); return;
        case linkMirroredSheets: sheets(gridOf(link), true, LayerJoin::none, pair); return;
        case linkLatticeRing: sheets(gridOf(link), false, LayerJoin::ring, pair); return;
        case linkLattice: sheets(gridOf(link), false, LayerJoin::open, pair); return;
        case linkCubes: sheets(gridOf(link), false, LayerJoin::cube, pair); return;
        default: return;  // links nothing
    }
}

}  // namespace lumivortex
