// Builders of the kernels' lookup tables. Each table is computed once in
// doubles and then only indexed; the alignments let the kernels OR a byte
// offset into a row address.
#include "render/sprite_tables.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "host/memory.h"

namespace lumivortex {

std::int32_t* offsetScaleTable = nullptr;
SphereEntry* sphereTable = nullptr;
std::uint32_t* coverageTables[coverageTableCount] = {};
bool coverageTablesBuilt = false;

namespace {

constexpr std::size_t offsetScaleBytes = sizeof(std::int32_t) * offsetScaleSide * offsetScaleSide;
constexpr std::size_t offsetScaleAlignment = 1024;
constexpr std::size_t sphereBytes = sizeof(SphereEntry) * sphereSide * sphereSide;
constexpr std::size_t sphereAlignment = 2048;
constexpr double sphereRadius = 255.5;

// Discs of radius 0 and 1 pixel: one word each, never freed.
std::uint32_t zeroCoverage = 0;
std::uint32_t unitCoverage = 63u | (127u << 8) | (191u << 16) | (255u << 24);

template <typename T>
void freeTable(T*& table) {
    if (table != nullptr) alignedFree(table);
    table = nullptr;
}

// Lane k of table n: coverage of every pixel for the disc of radius r.
void fillCoverageLane(std::uint32_t* table, int n, int k, double r) {
    const double r2 = r * r;
    auto inside = [r2](double x, double y) { return r2 > x * x + y * y; };
    // Corner (x, y) lies at (x - 0.5, y - 0.5) from the centre; two rows of
    // corner flags are enough for one row of pixels.
    std::array<bool, coverageTableCount + 1> above{};
    std::array<bool, coverageTableCount + 1> below{};
    for (int x = 0; x <= n; ++x) above[x] = inside(x - 0.5, -0.5);
    constexpr double grid[4] = {0.0, 0.333, 0.667, 1.0};
    const int shift = 8 * k;
    for (int y = 1; y <= n; ++y) {
        for (int x = 0; x <= n; ++x) below[x] = inside(x - 0.5, y - 0.5);
        for (int x = 1; x <= n; ++x) {
            std::uint32_t coverage;
            if (below[x] == above[x - 1]) {
                coverage = below[x] ? 255 : 0;
            } else {
                const bool corners[4] = {above[x - 1], above[x], below[x - 1], below[x]};
                int count = 0;
                for (int gy = 0; gy < 4; ++gy) {
                    for (int gx = 0; gx < 4; ++gx) {
                        const bool isCorner = (gx == 0 || gx == 3) && (gy == 0 || gy == 3);
                        count += isCorner ? corners[(gy / 3) * 2 + gx / 3]
                                          : inside(x - 1.5 + grid[gx], y - 1.5 + grid[gy]);
                    }
                }
                coverage = static_cast<std::uint32_t>(16 * count - 1);
            }
            std::uint32_t& word = table[(y - 1) * n + (x - 1)];
            // Lane 0 comes first and writes the whole word of the fresh table.
            word = k == 0 ? coverage : (word & ~(0xFFu << shift)) | (coverage << shift);
        }
        above = below;
    }
}

}  // namespace

void buildOffsetScaleTable() {
    if (offsetScaleTable == nullptr) {
        offsetScaleTable = static_cast<std::int32_t*>(alignedAlloc(offsetScaleBytes, offsetScaleAlignment, fillZero));
    }
    for (int r = 1; r < offsetScaleSide; ++r) {
        std::int32_t* row = offsetScaleTable + r * offsetScaleSide;
        for (int j = 0; j <= r; ++j) row[j] = 4 * static_cast<std::int32_t>(255.0 * j / r + 0.5);
    }
}

void buildSphereTable() {
    if (sphereTable == nullptr) {
        sphereTable = static_cast<SphereEntry*>(alignedAlloc(sphereBytes, sphereAlignment, fillUndefined));
    }
    for (int i = 0; i < sphereSide; ++i) {
        for (int j = 0; j < sphereSide; ++j) {
            const double v = sphereRadius * sphereRadius - double(i) * i - double(j) * j;
            SphereEntry entry{0, 0};
            if (v > 0) {
                const double h = std::sqrt(v);
                const double rim = (sphereRadius - h) / sphereRadius;
                entry.depthOffset = static_cast<std::int32_t>(8.0 * h + 0.5);
                entry.edgeDivisor = static_cast<std::int32_t>(16.0 * rim * rim + 0.5);
            }
            sphereTable[i * sphereSide + j] = entry;
        }
    }
}

void buildCoverageTables() {
    if (coverageTablesBuilt) return;
    coverageTables[0] = &zeroCoverage;
    coverageTables[1] = &unitCoverage;
    // Quarter radius a = 4n + k: table n, lane k.
    for (int a = 8; a < 4 * coverageTableCount; ++a) {
        const int n = a >> 2;
        const int k = a & 3;
        if (k == 0) {
            coverageTables[n] = static_cast<std::uint32_t*>(
                alignedAlloc16(sizeof(std::uint32_t) * static_cast<std::size_t>(n) * n, fillUndefined));
        }
        fillCoverageLane(coverageTables[n], n, k, n - (3 - k) * 0.25 - 0.4999);
    }
    coverageTablesBuilt = true;
}

void releaseOffsetScaleTable() { freeTable(offsetScaleTable); }

void releaseSphereTable() { freeTable(sphereTable); }

void releaseCoverageTables() {
    if (coverageTablesBuilt) {
        for (int n = 2; n < coverageTableCount; ++n) freeTable(coverageTables[n]);
    }
    coverageTables[0] = nullptr;
    coverageTables[1] = nullptr;
    coverageTablesBuilt = false;
}

}  // namespace lumivortex
