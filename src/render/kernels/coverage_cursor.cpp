// Selection of the three coverage cursors of the disc kernels.
#include "render/kernels/coverage_cursor.h"

#include <algorithm>

namespace lumivortex {

CoverageCursor outerCursor{};
CoverageCursor innerCursor{};
CoverageCursor coreCursor{};

namespace {

void selectCoverage(CoverageCursor& cursor, std::int32_t q) {
    assert(coverageTablesBuilt);
    // Beyond the last table there is nothing to read: the circle is drawn at
    // the largest radius the tables hold.
    q = std::clamp(q, 1, maxCoverageQuarterRadius);
    cursor.lane = (q - 1) & 3;
    cursor.shift = 8 * cursor.lane;
    cursor.laneMask = 0xFFu << cursor.shift;
    cursor.size = (q + 3) >> 2;
    cursor.table = coverageTables[cursor.size];
    cursor.stride = 4 * cursor.size;
}

}  // namespace

void selectOuterCoverage(std::int32_t q) { selectCoverage(outerCursor, q); }
void selectInnerCoverage(std::int32_t q) { selectCoverage(innerCursor, q); }
void selectCoreCoverage(std::int32_t q) { selectCoverage(coreCursor, q); }

}  // namespace lumivortex
