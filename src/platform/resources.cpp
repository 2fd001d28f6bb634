// Lookup in the generated resource table (embedded_resources.cpp).
#include "platform/resources.h"

#include <algorithm>
#include <cctype>

namespace lumivortex {

extern const Resource resourceTable[];
extern const std::size_t resourceCount;

namespace {

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

const Resource* findResource(std::string_view name, std::string_view type) {
    for (std::size_t i = 0; i < resourceCount; ++i) {
        const Resource& r = resourceTable[i];
        if (equalIgnoringCase(r.name, name) && equalIgnoringCase(r.type, type)) return &r;
    }
    return nullptr;
}

}  // namespace lumivortex
