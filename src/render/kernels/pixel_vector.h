// Four packed 0xAARRGGBB pixels at a time, and their sixteen channels
// widened to 16 bits, for kernels that blend a row segment in one go.
//
// Two implementations with one interface: `portable` (plain loops over the
// lanes, any target) and `sse2` (x86-64, whose baseline includes SSE2);
// `active` names the one the kernels use, and a test holds the two equal.
//
// Channel lanes follow memory order: blue, green, red, alpha of pixel 0, then
// pixels 1 to 3. Every product below stays within 16 bits because one factor
// is a channel (at most 255) and the other a weight of at most 256.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumivortex::pixel_vector {

inline constexpr int pixelsPerVector = 4;
inline constexpr int lanesPerVector = 16;

namespace portable {

struct Pixels4 {
    std::uint32_t pixel[pixelsPerVector];
};

struct Channels {
    std::uint16_t lane[lanesPerVector];
};

inline Pixels4 loadPixels(const std::uint32_t* p) {
    Pixels4 v;
    std::memcpy(v.pixel, p, sizeof v.pixel);
    return v;
}

inline void storePixels(std::uint32_t* p, const Pixels4& v) { std::memcpy(p, v.pixel, sizeof v.pixel); }

// The first count (1..3) pixels only; the other positions load as 0.
inline Pixels4 loadFewPixels(const std::uint32_t* p, int count) {
    Pixels4 v{};
    for (int i = 0; i < count; ++i) v.pixel[i] = p[i];
    return v;
}

inline void storeFewPixels(std::uint32_t* p, const Pixels4& v, int count) {
    for (int i = 0; i < count; ++i) p[i] = v.pixel[i];
}

inline Channels widen(const Pixels4& p) {
    Channels c;
    for (int i = 0; i < lanesPerVector; ++i)
        c.lane[i] = static_cast<std::uint16_t>((p.pixel[i / 4] >> (8 * (i % 4))) & 0xFF);
    return c;
}

// Every lane must already be at most 255.
inline Pixels4 narrow(const Channels& c) {
    Pixels4 p{};
    for (int i = 0; i < lanesPerVector; ++i) p.pixel[i / 4] |= static_cast<std::uint32_t>(c.lane[i]) << (8 * (i % 4));
    return p;
}

// The channels of one colour in every pixel position.
inline Channels channelsOf(std::uint32_t colour) {
    return widen(Pixels4{{colour, colour, colour, colour}});
}

// The same four lane values in every pixel position.
inline Channels lanesOf(std::uint16_t blue, std::uint16_t green, std::uint16_t red, std::uint16_t alpha) {
    Channels c;
    for (int i = 0; i < lanesPerVector; i += 4) {
        c.lane[i] = blue;
        c.lane[i + 1] = green;
        c.lane[i + 2] = red;
        c.lane[i + 3] = alpha;
    }
    return c;
}

// Per pixel, its blue channel (the low byte) in all four of its lanes.
inline Channels lowByteLanes(const Channels& c) {
    Channels r;
    for (int i = 0; i < lanesPerVector; ++i) r.lane[i] = c.lane[i & ~3];
    return r;
}

// a * f >> 8 per lane: f = 256 leaves a unchanged.
inline Channels scaleLanes(const Channels& a, const Channels& f) {
    Channels r;
    for (int i = 0; i < lanesPerVector; ++i) r.lane[i] = static_cast<std::uint16_t>((a.lane[i] * f.lane[i]) >> 8);
    return r;
}

// a + floor((b - a) * w / 256) per lane, w in 0..256, computed as
// (a (256 - w) + b w) >> 8: the same value without a signed intermediate.
inline Channels lerpLanes(const Channels& a, const Channels& b, const Channels& w) {
    Channels r;
    for (int i = 0; i < lanesPerVector; ++i)
        r.lane[i] = static_cast<std::uint16_t>((a.lane[i] * (256 - w.lane[i]) + b.lane[i] * w.lane[i]) >> 8);
    return r;
}

// Per byte min(a + b, 255) and max(a - b, 0), alpha bytes included.
inline Pixels4 addSaturated(const Pixels4& a, const Pixels4& b) {
    Channels x = widen(a);
    const Channels y = widen(b);
    for (int i = 0; i < lanesPerVector; ++i) x.lane[i] = static_cast<std::uint16_t>(std::min(x.lane[i] + y.lane[i], 255));
    return narrow(x);
}

inline Pixels4 subtractSaturated(const Pixels4& a, const Pixels4& b) {
    Channels x = widen(a);
    const Channels y = widen(b);
    for (int i = 0; i < lanesPerVector; ++i) x.lane[i] = static_cast<std::uint16_t>(std::max(x.lane[i] - y.lane[i], 0));
    return narrow(x);
}

// Drops the alpha byte of every pixel.
inline Pixels4 withoutAlpha(Pixels4 p) {
    for (auto& v : p.pixel) v &= 0x00FFFFFFu;
    return p;
}

}  // namespace portable

#if defined(__SSE2__)
namespace sse2 {

using Pixels4 = __m128i;

// Lanes 0..7 (pixels 0 and 1) and 8..15 (pixels 2 and 3).
struct Channels {
    __m128i low, high;
};

inline Pixels4 loadPixels(const std::uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

inline void storePixels(std::uint32_t* p, Pixels4 v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

inline Pixels4 loadFewPixels(const std::uint32_t* p, int count) {
    const auto one = [](const std::uint32_t* q) { return _mm_cvtsi32_si128(static_cast<int>(*q)); };
    const auto two = [](const std::uint32_t* q) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(q)); };
    if (count == 1) return one(p);
    if (count == 2) return two(p);
    return _mm_unpacklo_epi64(two(p), one(p + 2));
}

inline void storeFewPixels(std::uint32_t* p, Pixels4 v, int count) {
    if (count == 1) {
        p[0] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
        return;
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
    if (count == 3) p[2] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
}

inline Channels widen(Pixels4 p) {
    const __m128i zero = _mm_setzero_si128();
    return {_mm_unpacklo_epi8(p, zero), _mm_unpackhi_epi8(p, zero)};
}

inline Pixels4 narrow(const Channels& c) { return _mm_packus_epi16(c.low, c.high); }

inline Channels channelsOf(std::uint32_t colour) { return widen(_mm_set1_epi32(static_cast<int>(colour))); }

inline Channels lanesOf(std::uint16_t blue, std::uint16_t green, std::uint16_t red, std::uint16_t alpha) {
    const auto b = static_cast<short>(blue), g = static_cast<short>(green), r = static_cast<short>(red),
               a = static_cast<short>(alpha);
    const __m128i two = _mm_set_epi16(a, r, g, b, a, r, g, b);
    return {two, two};
}

inline Channels lowByteLanes(const Channels& c) {
    const auto broadcast = [](__m128i x) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(x, 0), 0); };
    return {broadcast(c.low), broadcast(c.high)};
}

inline Channels scaleLanes(const Channels& a, const Channels& f) {
    return {_mm_srli_epi16(_mm_mullo_epi16(a.low, f.low), 8), _mm_srli_epi16(_mm_mullo_epi16(a.high, f.high), 8)};
}

inline Channels lerpLanes(const Channels& a, const Channels& b, const Channels& w) {
    const __m128i unity = _mm_set1_epi16(256);
    const auto lerp = [&unity](__m128i x, __m128i y, __m128i t) {
        return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(x, _mm_sub_epi16(unity, t)), _mm_mullo_epi16(y, t)), 8);
    };
    return {lerp(a.low, b.low, w.low), lerp(a.high, b.high, w.high)};
}

inline Pixels4 addSaturated(Pixels4 a, Pixels4 b) { return _mm_adds_epu8(a, b); }

inline Pixels4 subtractSaturated(Pixels4 a, Pixels4 b) { return _mm_subs_epu8(a, b); }

inline Pixels4 withoutAlpha(Pixels4 p) { return _mm_and_si128(p, _mm_set1_epi32(0x00FFFFFF)); }

}  // namespace sse2

namespace active = sse2;
#else
namespace active = portable;
#endif

// The same value in all sixteen lanes.
inline active::Channels splatLanes(std::uint16_t v) { return active::lanesOf(v, v, v, v); }

}  // namespace lumivortex::pixel_vector
