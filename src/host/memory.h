// Memory helpers: aligned blocks from the heap and "global" blocks. None of
// them returns null: a failed allocation (or an impossible size) ends in
// fatalError("memory allocation return is NULL, may be size allocation = 0").
// An aligned block keeps the heap block's start in the pointer-sized slot
// just before the returned pointer; free it with alignedFree only.
#pragma once

#include <cstddef>

namespace lumivortex {

// Fill codes of alignedAlloc: 0 leaves the block undefined, 255 sets every
// byte to 0xFF, any other value sets every byte to 0.
inline constexpr int fillUndefined = 0;
inline constexpr int fillOnes = 255;
inline constexpr int fillZero = 1;

void* alignedAlloc(std::size_t size, std::size_t alignment, int fillCode);
void* alignedAlloc16(std::size_t size, int fillCode);
void alignedFree(void* p);

void* globalBlockAlloc(std::size_t size, int zero);
void globalBlockFree(void* p);

}  // namespace lumivortex
