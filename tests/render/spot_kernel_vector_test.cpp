// The kernels' four-pixel primitives: the target's vector implementation
// must give exactly what the portable one gives, on random pixels and on
// the extreme values the blends produce (weights 0 and 256, channels 0 and
// 255), and the portable one must agree with the packed-colour operations.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <random>

#include "math/colour.h"
#include "render/kernels/pixel_vector.h"

namespace lumivortex {
namespace {

namespace pv = pixel_vector;
using Quad = std::array<std::uint32_t, pv::pixelsPerVector>;

Quad fromPortable(const pv::portable::Pixels4& v) { return {v.pixel[0], v.pixel[1], v.pixel[2], v.pixel[3]}; }

Quad fromActive(const pv::active::Pixels4& v) {
    Quad q;
    pv::active::storePixels(q.data(), v);
    return q;
}

// Random pixels, with a good share of the extremes.
Quad randomQuad(std::mt19937& rng) {
    static constexpr std::uint32_t extremes[] = {0, 0xFFFFFFFFu, 0x00FFFFFFu, 0xFF000000u, 0x00FF00FFu};
    Quad q;
    for (auto& p : q) p = rng() % 4 == 0 ? extremes[rng() % 5] : static_cast<std::uint32_t>(rng());
    return q;
}

// A weight for every lane: 0..256 (256 = unity), the extremes often.
void randomWeights(std::mt19937& rng, std::uint16_t (&lanes)[pv::lanesPerVector]) {
    for (auto& w : lanes) {
        const unsigned pick = rng() % 8;
        w = static_cast<std::uint16_t>(pick == 0 ? 0 : pick == 1 ? 256 : pick == 2 ? 255 : rng() % 257);
    }
}

// Both implementations keep the sixteen lanes in memory order.
template <class Channels>
Channels lanesFrom(const std::uint16_t (&lanes)[pv::lanesPerVector]) {
    static_assert(sizeof(Channels) == sizeof lanes);
    Channels c;
    std::memcpy(&c, lanes, sizeof c);
    return c;
}

TEST(SpotKernelVectorTest, ActivePrimitivesMatchThePortableOnes) {
    std::mt19937 rng(99);
    for (int run = 0; run < 20000; ++run) {
        const Quad a = randomQuad(rng), b = randomQuad(rng);
        std::uint16_t weights[pv::lanesPerVector];
        randomWeights(rng, weights);
        const auto pa = pv::portable::loadPixels(a.data()), pb = pv::portable::loadPixels(b.data());
        const auto va = pv::active::loadPixels(a.data()), vb = pv::active::loadPixels(b.data());
        const auto pw = lanesFrom<pv::portable::Channels>(weights);
        const auto vw = lanesFrom<pv::active::Channels>(weights);

        ASSERT_EQ(fromActive(pv::active::narrow(pv::active::widen(va))), a);
        ASSERT_EQ(fromActive(pv::active::addSaturated(va, vb)), fromPortable(pv::portable::addSaturated(pa, pb)));
        ASSERT_EQ(fromActive(pv::active::subtractSaturated(va, vb)),
                  fromPortable(pv::portable::subtractSaturated(pa, pb)));
        ASSERT_EQ(fromActive(pv::active::withoutAlpha(va)), fromPortable(pv::portable::withoutAlpha(pa)));
        ASSERT_EQ(fromActive(pv::active::narrow(pv::active::scaleLanes(pv::active::widen(va), vw))),
                  fromPortable(pv::portable::narrow(pv::portable::scaleLanes(pv::portable::widen(pa), pw))));
        ASSERT_EQ(fromActive(pv::active::narrow(
                      pv::active::lerpLanes(pv::active::widen(va), pv::active::widen(vb), vw))),
                  fromPortable(pv::portable::narrow(
                      pv::portable::lerpLanes(pv::portable::widen(pa), pv::portable::widen(pb), pw))));
        ASSERT_EQ(fromActive(pv::active::narrow(pv::active::lowByteLanes(pv::active::widen(va)))),
                  fromPortable(pv::portable::narrow(pv::portable::lowByteLanes(pv::portable::widen(pa)))));
        const int few = 1 + static_cast<int>(rng() % 3);
        Quad activeOut = b, portableOut = b;
        pv::active::storeFewPixels(activeOut.data(), pv::active::loadFewPixels(a.data(), few), few);
        pv::portable::storeFewPixels(portableOut.data(), pv::portable::loadFewPixels(a.data(), few), few);
        ASSERT_EQ(activeOut, portableOut) << few;
    }
}

// The portable primitives are the packed-colour operations, four at a time.
TEST(SpotKernelVectorTest, PortablePrimitivesAreTheColourOperations) {
    std::mt19937 rng(7);
    namespace p = pv::portable;
    for (int run = 0; run < 20000; ++run) {
        const Quad a = randomQuad(rng), b = randomQuad(rng);
        const auto w = static_cast<std::uint16_t>(rng() % 257);
        const auto weight = p::lanesOf(w, w, w, w);
        const Quad added = fromPortable(p::withoutAlpha(p::addSaturated(p::loadPixels(a.data()), p::loadPixels(b.data()))));
        const Quad subtracted =
            fromPortable(p::withoutAlpha(p::subtractSaturated(p::loadPixels(a.data()), p::loadPixels(b.data()))));
        const Quad lerped = fromPortable(p::withoutAlpha(
            p::narrow(p::lerpLanes(p::widen(p::loadPixels(a.data())), p::widen(p::loadPixels(b.data())), weight))));
        const Quad modulated = fromPortable(p::withoutAlpha(
            p::narrow(p::scaleLanes(p::widen(p::loadPixels(a.data())), p::widen(p::loadPixels(b.data()))))));
        for (int i = 0; i < pv::pixelsPerVector; ++i) {
            ASSERT_EQ(added[i], addColour(a[i], b[i]));
            ASSERT_EQ(subtracted[i], subtractColour(a[i], b[i]));
            ASSERT_EQ(lerped[i], lerpColour(a[i], b[i], w)) << w;
            ASSERT_EQ(modulated[i], modulateColour(a[i], b[i]));
        }
    }
}

}  // namespace
}  // namespace lumivortex
