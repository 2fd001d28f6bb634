// Spot sprite throughput: one frame of the application's typical load, drawn
// by this library's spot kernels and, for comparison, by two other software
// compositors given the same work.
//
// The frame: a 1920 x 1080 buffer cleared, 7,000 additive "SPOT02" spots,
// each tinted, of radius 3 to 13 pixels (skewed towards small ones as
// perspective makes them: mean diameter about 13) at random positions, plus
// one 279 x 279 multiply spot and one 359 x 359 additive spot. Every
// implementation draws the same sprites at the same places with the same
// tints from one fixed seed.
//   SpotKernels   this library: the spot dispatcher and kernels
//   Sdl2Blitter   SDL_BlitScaled from the 511 x 511 image, additive blend
//                 with colour modulation (multiply blend for the dark spot)
//   Pixman        PIXMAN_OP_ADD of a solid tint through an a8 mask
//                 pre-scaled per diameter (a pre-scaled image with
//                 PIXMAN_OP_MULTIPLY for the dark spot)
#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "framebuffer/frame_buffer.h"
#include "host/fatal_error.h"
#include "render/raster_state.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex {
namespace {

constexpr int frameW = 1920;
constexpr int frameH = 1080;
constexpr int smallSpotCount = 7000;
constexpr int tintCount = 16;
constexpr int addSpriteIndex = 1;
constexpr int multiplySpriteIndex = 2;

struct SpotPlacement {
    int x, y;        // screen centre
    int spanRadius;  // pixels from the centre to the square's edge
    int tint;        // index into Workload::tints
};

struct Workload {
    std::vector<SpotPlacement> spots;  // the small additive ones
    SpotPlacement multiplySpot{700, 500, 139, 0};
    SpotPlacement largeAddSpot{1250, 560, 179, 1};
    std::uint32_t tints[tintCount];
    std::uint32_t multiplyColour = 0xFF303848;
};

Workload makeWorkload() {
    Workload w;
    std::mt19937 rng(7000);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (auto& t : w.tints) t = 0xFF000000u | (static_cast<std::uint32_t>(rng()) & 0x00FFFFFFu);
    for (int i = 0; i < smallSpotCount; ++i) {
        const double u = unit(rng);
        const int r = 3 + static_cast<int>(11.0 * u * u);  // 3..13, mean about 6.2
        w.spots.push_back({static_cast<int>(rng() % frameW), static_cast<int>(rng() % frameH), r,
                           static_cast<int>(rng() % tintCount)});
    }
    return w;
}

// Mean channel level of a frame: the three implementations should agree
// closely, which shows that each did the whole drawing.
double meanLevel(const std::uint32_t* pixels, std::size_t count) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < count; ++i)
        sum += ((pixels[i] >> 16) & 0xFF) + ((pixels[i] >> 8) & 0xFF) + (pixels[i] & 0xFF);
    return static_cast<double>(sum) / (3.0 * static_cast<double>(count));
}

const Workload& workload() {
    static const Workload w = makeWorkload();
    return w;
}

// ---------------------------------------------------------------------------
// This library.

void defineSpotSprites() {
    static bool defined = false;
    if (defined) return;
    defined = true;
    buildOffsetScaleTable();
    buildSphereTable();
    setFrameSize(frameW, frameH);
    createFrameBuffer();
    selectSprite(addSpriteIndex);
    defineSprite(makeSpriteKind(Spot, BlendAdd), 0xFFFFFFFF, "SPOT02");
    selectSprite(multiplySpriteIndex);
    defineSprite(makeSpriteKind(Spot, BlendMultiply), workload().multiplyColour, "SPOT02");
    rasterState.screenCentreX = viewportWidth / 2;
    rasterState.screenCentreY = viewportHeight / 2;
}

// What projectSprite hands the spot dispatcher, for a sprite at screen
// (x, y): the view-space position that lands there.
void drawLibrarySpot(const Sprite* sprite, const SpotPlacement& s, std::uint32_t tint) {
    RasterState& rs = rasterState;
    rs.tintColour = tint;
    rs.alpha = 255;
    rs.intensity = 255;
    rs.pixelRadius = s.spanRadius + 1;
    rs.spriteColour = sprite->colour;
    dispatchSpotKernel(sprite, (s.x - rs.screenCentreX) / projectionScale, (s.y - rs.screenCentreY) / projectionScale);
}

void SpotKernels(benchmark::State& state) {
    defineSpotSprites();
    const Workload& w = workload();
    const Sprite* add = spriteSlots[addSpriteIndex];
    const Sprite* multiply = spriteSlots[multiplySpriteIndex];
    const std::size_t pixels = static_cast<std::size_t>(frameWidth) * frameHeight;
    for (auto _ : state) {
        fillPixels(framePixels, pixels, 0xFF000000u);
        for (const SpotPlacement& s : w.spots) drawLibrarySpot(add, s, w.tints[s.tint]);
        drawLibrarySpot(multiply, w.multiplySpot, noTint);
        drawLibrarySpot(add, w.largeAddSpot, w.tints[w.largeAddSpot.tint]);
        benchmark::ClobberMemory();
    }
    state.counters["meanLevel"] = meanLevel(framePixels, pixels);
}

// The sprite's 511 x 511 picture put back together from its quadrants.
std::vector<std::uint32_t> wholeImage(const Sprite* sprite, std::uint32_t alphaBits) {
    std::vector<std::uint32_t> image(511 * 511);
    for (int row = 0; row < 511; ++row) {
        for (int col = 0; col < 511; ++col) {
            const int dy = row - 255, dx = col - 255;
            const int q = (dy > 0 ? QuadDownLeft : QuadUpLeft) + (dx > 0 ? 1 : 0);
            const std::uint32_t texel = sprite->quadrants[q][std::abs(dy) * quadrantSide + std::abs(dx)];
            image[row * 511 + col] = (texel & 0x00FFFFFFu) | alphaBits;
        }
    }
    return image;
}

// ---------------------------------------------------------------------------
// SDL2's software blitter.

struct SdlPeer {
    SDL_Surface* frame = nullptr;
    SDL_Surface* addImage = nullptr;
    SDL_Surface* multiplyImage = nullptr;
    std::vector<std::uint32_t> addPixels, multiplyPixels;

    SdlPeer() {
        defineSpotSprites();
        frame = SDL_CreateRGBSurfaceWithFormat(0, frameW, frameH, 32, SDL_PIXELFORMAT_ARGB8888);
        addPixels = wholeImage(spriteSlots[addSpriteIndex], 0xFF000000u);
        multiplyPixels = wholeImage(spriteSlots[multiplySpriteIndex], 0xFF000000u);
        addImage = SDL_CreateRGBSurfaceWithFormatFrom(addPixels.data(), 511, 511, 32, 511 * 4,
                                                      SDL_PIXELFORMAT_ARGB8888);
        multiplyImage = SDL_CreateRGBSurfaceWithFormatFrom(multiplyPixels.data(), 511, 511, 32, 511 * 4,
                                                           SDL_PIXELFORMAT_ARGB8888);
        if (frame == nullptr || addImage == nullptr || multiplyImage == nullptr) fatalError(SDL_GetError());
        SDL_SetSurfaceBlendMode(addImage, SDL_BLENDMODE_ADD);
        SDL_SetSurfaceBlendMode(multiplyImage, SDL_BLENDMODE_MOD);
    }
    ~SdlPeer() {
        SDL_FreeSurface(frame);
        SDL_FreeSurface(addImage);
        SDL_FreeSurface(multiplyImage);
    }

    void blit(SDL_Surface* image, const SpotPlacement& s) {
        SDL_Rect target{s.x - s.spanRadius, s.y - s.spanRadius, 2 * s.spanRadius + 1, 2 * s.spanRadius + 1};
        SDL_BlitScaled(image, nullptr, frame, &target);
    }

    void tint(std::uint32_t colour) {
        SDL_SetSurfaceColorMod(addImage, (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
    }
};

void Sdl2Blitter(benchmark::State& state) {
    SdlPeer peer;
    const Workload& w = workload();
    for (auto _ : state) {
        SDL_FillRect(peer.frame, nullptr, 0);
        for (const SpotPlacement& s : w.spots) {
            peer.tint(w.tints[s.tint]);
            peer.blit(peer.addImage, s);
        }
        peer.blit(peer.multiplyImage, w.multiplySpot);
        peer.tint(w.tints[w.largeAddSpot.tint]);
        peer.blit(peer.addImage, w.largeAddSpot);
        benchmark::ClobberMemory();
    }
    state.counters["meanLevel"] =
        meanLevel(static_cast<const std::uint32_t*>(peer.frame->pixels), static_cast<std::size_t>(frameW) * frameH);
}

// ---------------------------------------------------------------------------
// pixman.

struct PixmanPeer {
    std::vector<std::uint32_t> framePixelsStore = std::vector<std::uint32_t>(frameW * frameH);
    pixman_image_t* frame = nullptr;
    pixman_image_t* tints[tintCount] = {};
    std::map<int, pixman_image_t*> masks;  // by span radius
    std::map<int, std::vector<std::uint8_t>> maskBytes;
    std::vector<std::uint32_t> multiplyPixels;
    pixman_image_t* multiplyImage = nullptr;

    PixmanPeer() {
        defineSpotSprites();
        const Workload& w = workload();
        frame = pixman_image_create_bits(PIXMAN_x8r8g8b8, frameW, frameH, framePixelsStore.data(), frameW * 4);
        for (int i = 0; i < tintCount; ++i) {
            const std::uint32_t t = w.tints[i];
            const pixman_color_t colour{static_cast<std::uint16_t>(((t >> 16) & 0xFF) * 257),
                                        static_cast<std::uint16_t>(((t >> 8) & 0xFF) * 257),
                                        static_cast<std::uint16_t>((t & 0xFF) * 257), 0xFFFF};
            tints[i] = pixman_image_create_solid_fill(&colour);
        }
        for (const SpotPlacement& s : w.spots) addMask(s.spanRadius);
        addMask(w.largeAddSpot.spanRadius);
        makeMultiplyImage(w.multiplySpot.spanRadius);
    }
    ~PixmanPeer() {
        pixman_image_unref(frame);
        for (auto* t : tints) pixman_image_unref(t);
        for (auto& [r, m] : masks) pixman_image_unref(m);
        pixman_image_unref(multiplyImage);
    }

    // The texel the spot kernels sample for offset (dx, dy) of span r.
    static std::uint32_t sampled(const Sprite* sprite, int r, int dx, int dy) {
        const std::int32_t* scale = offsetScaleRow(r);
        const int q = (dy > 0 ? QuadDownLeft : QuadUpLeft) + (dx > 0 ? 1 : 0);
        return sprite->quadrants[q][scale[std::abs(dy)] / 4 * quadrantSide + scale[std::abs(dx)] / 4];
    }

    void addMask(int r) {
        if (masks.count(r) != 0) return;
        const int d = 2 * r + 1, stride = (d + 3) & ~3;
        std::vector<std::uint8_t>& bytes = maskBytes[r];
        bytes.assign(static_cast<std::size_t>(stride) * d, 0);
        for (int y = 0; y < d; ++y)
            for (int x = 0; x < d; ++x)
                bytes[y * stride + x] = sampled(spriteSlots[addSpriteIndex], r, x - r, y - r) & 0xFF;
        masks[r] = pixman_image_create_bits(PIXMAN_a8, d, d, reinterpret_cast<std::uint32_t*>(bytes.data()), stride);
    }

    void makeMultiplyImage(int r) {
        const int d = 2 * r + 1;
        multiplyPixels.assign(static_cast<std::size_t>(d) * d, 0);
        for (int y = 0; y < d; ++y)
            for (int x = 0; x < d; ++x)
                multiplyPixels[y * d + x] =
                    sampled(spriteSlots[multiplySpriteIndex], r, x - r, y - r) | 0xFF000000u;
        multiplyImage = pixman_image_create_bits(PIXMAN_a8r8g8b8, d, d, multiplyPixels.data(), d * 4);
    }

    void add(const SpotPlacement& s) {
        const int d = 2 * s.spanRadius + 1;
        pixman_image_composite32(PIXMAN_OP_ADD, tints[s.tint], masks[s.spanRadius], frame, 0, 0, 0, 0,
                                 s.x - s.spanRadius, s.y - s.spanRadius, d, d);
    }
};

void Pixman(benchmark::State& state) {
    PixmanPeer peer;
    const Workload& w = workload();
    // Masks looked up once, outside the frame loop, like the library's tables.
    std::vector<pixman_image_t*> maskOf(smallSpotCount);
    for (int i = 0; i < smallSpotCount; ++i) maskOf[i] = peer.masks[w.spots[i].spanRadius];
    const int md = 2 * w.multiplySpot.spanRadius + 1;
    for (auto _ : state) {
        std::memset(peer.framePixelsStore.data(), 0, peer.framePixelsStore.size() * 4);
        for (int i = 0; i < smallSpotCount; ++i) {
            const SpotPlacement& s = w.spots[i];
            const int d = 2 * s.spanRadius + 1;
            pixman_image_composite32(PIXMAN_OP_ADD, peer.tints[s.tint], maskOf[i], peer.frame, 0, 0, 0, 0,
                                     s.x - s.spanRadius, s.y - s.spanRadius, d, d);
        }
        pixman_image_composite32(PIXMAN_OP_MULTIPLY, peer.multiplyImage, nullptr, peer.frame, 0, 0, 0, 0,
                                 w.multiplySpot.x - w.multiplySpot.spanRadius,
                                 w.multiplySpot.y - w.multiplySpot.spanRadius, md, md);
        peer.add(w.largeAddSpot);
        benchmark::ClobberMemory();
    }
    state.counters["meanLevel"] = meanLevel(peer.framePixelsStore.data(), peer.framePixelsStore.size());
}

BENCHMARK(SpotKernels)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Sdl2Blitter)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(Pixman)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace lumivortex
