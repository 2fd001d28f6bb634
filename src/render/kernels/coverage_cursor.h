// Coverage cursors: how the disc kernels read coverageTables. A cursor names
// one circle: the table of its whole-pixel size, the byte lane of its
// quarter-pixel radius inside each word, and a row pointer that the kernels
// step down the table one frame row at a time. Selecting a cursor is the
// only place a quarter radius turns into a table address, so it is also
// where radii the tables do not reach are bounded.
#pragma once

#include <cassert>
#include <cstdint>

#include "render/sprite_tables.h"

namespace lumivortex {

struct CoverageCursor {
    const std::uint32_t* table;  // current row of the selected table (row 0 after selection)
    std::int32_t lane;           // 0..3: the byte of each word that holds this radius
    std::int32_t stride;         // 4 n: bytes from one row of the table to the next
    std::int32_t shift;          // 8 lane
    std::uint32_t laneMask;      // 0xFF << shift
    std::int32_t size;           // n: the table is n rows of n words
};

// The outer circle of a disc, and the inner and core circles of a ring.
extern CoverageCursor outerCursor;
extern CoverageCursor innerCursor;
extern CoverageCursor coreCursor;

// Largest quarter-pixel radius with a coverage table: lane 3 of the last
// table (255 pixels). Larger radii are held at it.
inline constexpr std::int32_t maxCoverageQuarterRadius = 4 * (coverageTableCount - 1);

// Fill the cursor for a circle of q quarter pixels (radius q / 4 - 0.4999
// pixels): table (q + 3) >> 2 from its row 0, lane (q - 1) & 3. q is held to
// 1..maxCoverageQuarterRadius, so the table always exists. The coverage
// tables must have been built.
void selectOuterCoverage(std::int32_t q);
void selectInnerCoverage(std::int32_t q);
void selectCoreCoverage(std::int32_t q);

// Coverage 0..255 of the pixel dx columns from the centre, on the cursor's
// current row. dx is not checked in release builds.
inline std::int32_t coverageAt(const CoverageCursor& cursor, std::int32_t dx) {
    assert(dx >= 0 && dx < cursor.size);
    return static_cast<std::int32_t>((cursor.table[dx] & cursor.laneMask) >> cursor.shift);
}

// Moves the cursor one row down its table (stride bytes); the caller keeps
// it within the table.
inline void nextCoverageRow(CoverageCursor& cursor) {
    cursor.table += cursor.stride / static_cast<std::int32_t>(sizeof(std::uint32_t));
}

// Moves the cursor `rows` rows down its table. Rows at or beyond the end of
// the table are never read, so the cursor is left where it is for those
// (the table simply stops applying).
inline void skipCoverageRows(CoverageCursor& cursor, std::int32_t rows) {
    if (rows >= cursor.size) return;
    cursor.table += static_cast<std::int32_t>(cursor.stride / sizeof(std::uint32_t)) * rows;
}

}  // namespace lumivortex
