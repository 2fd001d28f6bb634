// Read-only lookup tables of the sprite kernels, built once so that the
// kernels only index tables per pixel:
// - offsetScaleTable: for each sprite span r, screen offset j -> byte offset
//   of the sampled image column (shifted left by 8: of the image row);
// - sphereTable: height and rim softness of a ball at image resolution;
// - coverageTables: antialiased disc coverage for every quarter-pixel radius.
// initialiseParticleLibrary builds the first two; the coverage tables are
// built on the first definition of an imageless Disc sprite. All three are
// released by releaseParticleLibrary.
#pragma once

#include <cassert>
#include <cstdint>

namespace lumivortex {

// 256 rows x 256 int32 (0x40000 bytes, rows on 1024-byte boundaries).
// Entry [r][j] = 4 * trunc(255 j / r + 0.5) for r = 1..255, j = 0..r; row 0
// and entries with j > r are 0. Null until built.
inline constexpr int offsetScaleSide = 256;
extern std::int32_t* offsetScaleTable;

// Row r of offsetScaleTable (the kernels' scaleRow for spanRadius r); r is
// not checked in release builds.
inline const std::int32_t* offsetScaleRow(int r) {
    assert(r >= 0 && r < offsetScaleSide);
    return offsetScaleTable + r * offsetScaleSide;
}

// One element of sphereTable. depthOffset = trunc(8h + 0.5) with h the height
// of a ball of radius 255.5 above element (i, j); 0 marks elements outside
// the ball. edgeDivisor = trunc(16 ((R - h) / R)^2 + 0.5) softens the rim.
struct SphereEntry {
    std::int32_t depthOffset;
    std::int32_t edgeDivisor;
};

// 256 rows x 256 SphereEntry (0x80000 bytes, rows of 2048 bytes on 2048-byte
// boundaries). Element [i * 256 + j]. Null until built.
inline constexpr int sphereSide = 256;
extern SphereEntry* sphereTable;

// Row i of sphereTable; i is not checked in release builds.
inline const SphereEntry* sphereRow(int i) {
    assert(i >= 0 && i < sphereSide);
    return sphereTable + i * sphereSide;
}

// Table n (n x n words, word [dy * n + dx]) gives the coverage of the pixel
// dy rows and dx columns from a disc centre; byte k of the word is for the
// disc of radius n - (3 - k) / 4 - 0.4999 pixels. Tables 0 and 1 are static
// single words. A disc of q quarter pixels (q >= 1) reads table (q + 3) >> 2,
// byte (q - 1) & 3.
inline constexpr int coverageTableCount = 256;
extern std::uint32_t* coverageTables[coverageTableCount];
extern bool coverageTablesBuilt;

void buildOffsetScaleTable();
void buildSphereTable();
// Does nothing when the tables are already built.
void buildCoverageTables();

// Free the tables (null / not built afterwards); harmless when not built.
void releaseOffsetScaleTable();
void releaseSphereTable();
void releaseCoverageTables();

}  // namespace lumivortex
