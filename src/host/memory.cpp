// Aligned blocks keep the heap's own block start in a pointer-sized slot just
// before the pointer handed out; alignedFree reads it back from there.
// Layout: raw ... [slot: raw] p ... p + size, with p the smallest multiple of
// the alignment strictly greater than raw + slot size.
#include "host/memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "host/fatal_error.h"

namespace lumivortex {

namespace {

constexpr std::size_t slotSize = sizeof(void*);
// Requests beyond this cannot be satisfied and would overflow the arithmetic.
constexpr std::size_t largestRequest = PTRDIFF_MAX / 2;

[[noreturn]] void allocationFailed() {
    fatalError("memory allocation return is NULL, may be size allocation = 0");
}

void applyFill(void* p, std::size_t size, int fillCode) {
    if (fillCode == fillUndefined) return;
    std::memset(p, fillCode == fillOnes ? 0xFF : 0x00, size);
}

}  // namespace

void* alignedAlloc(std::size_t size, std::size_t alignment, int fillCode) {
    if (alignment == 0) alignment = 1;  // no alignment asked: any address will do
    if (size > largestRequest || alignment > largestRequest) allocationFailed();
    auto* raw = static_cast<unsigned char*>(std::malloc(size + alignment + slotSize));
    if (raw == nullptr) allocationFailed();
    auto address = reinterpret_cast<std::uintptr_t>(raw);
    std::uintptr_t aligned = ((address + slotSize) / alignment + 1) * alignment;
    unsigned char* p = raw + (aligned - address);
    std::memcpy(p - slotSize, &raw, slotSize);  // the slot need not be aligned
    applyFill(p, size, fillCode);
    return p;
}

void* alignedAlloc16(std::size_t size, int fillCode) { return alignedAlloc(size, 16, fillCode); }

void alignedFree(void* p) {
    if (p == nullptr) return;
    void* raw = nullptr;
    std::memcpy(&raw, static_cast<unsigned char*>(p) - slotSize, slotSize);
    std::free(raw);
}

void* globalBlockAlloc(std::size_t size, int zero) {
    if (size > largestRequest) allocationFailed();
    // One byte at least, so a zero-size request still yields a real block.
    void* p = std::calloc(size == 0 ? 1 : size, 1);
    if (p == nullptr) allocationFailed();
    if (zero) std::memset(p, 0, size);
    return p;
}

void globalBlockFree(void* p) { std::free(p); }

}  // namespace lumivortex
