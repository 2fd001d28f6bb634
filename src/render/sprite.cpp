// Sprite slots, selection, definition and copying. defineSprite flows as:
// allocateQuadrants (kind, colour, fresh image buffers) -> selectKernels
// (kernel pair from family and mode) -> one image builder fills the buffers.
#include "render/sprite.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <new>

#include "host/fatal_error.h"
#include "host/memory.h"
#include "render/kernels/depth_ball_kernels.h"
#include "render/kernels/disc_kernels.h"
#include "render/kernels/image_disc_kernels.h"
#include "render/kernels/spot_kernels.h"
#include "render/raster_state.h"
#include "render/sprite_images.h"
#include "render/sprite_tables.h"

namespace lumivortex {

Sprite* spriteSlots[spriteSlotCount] = {};
int currentSpriteIndex = 0;
Sprite* currentSprite = nullptr;

namespace {

struct KernelPair {
    SpriteKernel unclipped;
    SpriteKernel clipped;
};

constexpr int blendModeCount = 5;  // modes 0..4

// Kernel pairs by blend mode 0..4 for the families with images.
constexpr KernelPair spotKernels[blendModeCount] = {
    {drawSpotAdd, drawSpotAddClipped},            // 0: same as add
    {drawSpotAlpha, drawSpotAlphaClipped},        // BlendAlpha
    {drawSpotAdd, drawSpotAddClipped},            // BlendAdd
    {drawSpotSubtract, drawSpotSubtractClipped},  // BlendSubtract
    {drawSpotMultiply, drawSpotMultiplyClipped},  // BlendMultiply
};
// Disc family with images (image-disc kernels) and without (coverage discs).
constexpr KernelPair imageDiscKernels[blendModeCount] = {
    {drawImageDiscAlpha, drawImageDiscAlphaClipped},        // 0: same as alpha
    {drawImageDiscAlpha, drawImageDiscAlphaClipped},        // BlendAlpha
    {drawImageDiscAdd, drawImageDiscAddClipped},            // BlendAdd
    {drawImageDiscSubtract, drawImageDiscSubtractClipped},  // BlendSubtract
    {drawImageDiscMultiply, drawImageDiscMultiplyClipped},  // BlendMultiply
};
constexpr KernelPair coverageDiscKernels[blendModeCount] = {
    {drawDiscAlpha, drawDiscAlphaClipped},        // 0: same as alpha
    {drawDiscAlpha, drawDiscAlphaClipped},        // BlendAlpha
    {drawDiscAdd, drawDiscAddClipped},            // BlendAdd
    {drawDiscSubtract, drawDiscSubtractClipped},  // BlendSubtract
    {drawDiscMultiply, drawDiscMultiplyClipped},  // BlendMultiply
};
constexpr KernelPair singlePixelKernels{plotPixel, linkDrawError};  // never clipped
constexpr KernelPair depthBallKernels{drawDepthBall, drawDepthBallClipped};

constexpr Sprite defaultSprite{
    .kind = makeSpriteKind(SinglePixel, BlendDefault),
    .colour = 0,  // alpha 0: a sprite drawn before it is defined draws nothing
    .useParticleColour = 1,
    .fadeDivisor = 1.0,
    .sizeScale = 1.0,
    .innerFraction = 0.0,
    .coreFraction = 0.0,
    .quadrants = {nullptr, nullptr, nullptr, nullptr},
    .nextSprite = endOfSpriteChain,
    .clippedKernel = linkDrawError,
    .unclippedKernel = linkDrawError,
};

void releaseQuadrants(Sprite* sprite) {
    for (std::uint32_t*& quadrant : sprite->quadrants) {
        if (quadrant != nullptr) alignedFree(quadrant);
        quadrant = nullptr;
    }
}

// The pair for a family and mode, or null when there is none.
const KernelPair* kernelsFor(std::uint32_t family, std::uint32_t mode, bool hasImages) {
    const bool alphaOrDefault = mode == BlendDefault || mode == BlendAlpha;
    switch (family) {
        case SinglePixel: return alphaOrDefault ? &singlePixelKernels : nullptr;
        case DepthBall: return alphaOrDefault ? &depthBallKernels : nullptr;
        case Spot: return mode < blendModeCount ? &spotKernels[mode] : nullptr;
        case Disc:
            if (mode >= blendModeCount) return nullptr;
            return hasImages ? &imageDiscKernels[mode] : &coverageDiscKernels[mode];
        default: return nullptr;
    }
}

void assertValidIndex([[maybe_unused]] int index) {
    // Indices outside the table are caller errors and are not checked.
    assert(index >= 0 && index < spriteSlotCount);
}

}  // namespace

void selectSprite(int index) {
    assertValidIndex(index);
    currentSpriteIndex = index;
    currentSprite = spriteSlots[index];
    if (currentSprite == nullptr) createSprite();
}

void createSprite() {
    deleteSprite();
    Sprite* sprite = new (std::nothrow) Sprite(defaultSprite);
    if (sprite == nullptr) fatalError("memory allocation return is NULL, may be size allocation = 0");
    spriteSlots[currentSpriteIndex] = sprite;
    currentSprite = sprite;
}

void deleteSprite() {
    Sprite*& slot = spriteSlots[currentSpriteIndex];
    if (slot == nullptr) return;
    releaseQuadrants(slot);
    delete slot;
    slot = nullptr;
    currentSprite = nullptr;
}

void defineSprite(std::uint32_t kind, std::uint32_t colour, std::string_view name) {
    const bool hasName = !name.empty();
    if (allocateQuadrants(kind, colour, hasName) == 0) return;
    const std::uint32_t family = spriteFamily(kind);
    if (name == "compBALL" || (!hasName && family == DepthBall)) {
        buildBallImage(currentSprite);
    } else if (name == "compSPOT" || (!hasName && family == Spot)) {
        buildSpotImage(currentSprite);
    } else if (hasName) {
        loadImageQuadrants(currentSprite, name);
    }
}

int allocateQuadrants(std::uint32_t kind, std::uint32_t colour, bool hasName) {
    Sprite* sprite = currentSprite;
    sprite->kind = kind;
    sprite->colour = colour;
    releaseQuadrants(sprite);
    const std::uint32_t family = spriteFamily(kind);
    if (family == SinglePixel || (family == Disc && !hasName)) {
        selectKernels();
        return 0;
    }
    // White under the multiply mode, so untouched pixels change nothing.
    const int fill = (family != Disc && blendMode(kind) == BlendMultiply) ? fillOnes : fillZero;
    for (std::uint32_t*& quadrant : sprite->quadrants) {
        quadrant = static_cast<std::uint32_t*>(alignedAlloc(quadrantBytes, quadrantAlignment, fill));
    }
    selectKernels();
    return 1;
}

void selectKernels() {
    Sprite* sprite = currentSprite;
    sprite->unclippedKernel = linkDrawError;
    sprite->clippedKernel = linkDrawError;
    const std::uint32_t family = spriteFamily(sprite->kind);
    const bool hasImages = sprite->quadrants[QuadUpLeft] != nullptr;
    if (const KernelPair* pair = kernelsFor(family, blendMode(sprite->kind), hasImages)) {
        sprite->unclippedKernel = pair->unclipped;
        sprite->clippedKernel = pair->clipped;
    }
    if (family == Disc && !hasImages) buildCoverageTables();
}

void copySprite(int source, int destination) {
    // An empty source is copied as the default sprite it would be on
    // selection, rather than read through a null slot.
    if (spriteSlots[source] == nullptr) selectSprite(source);
    selectSprite(destination);
    Sprite* target = currentSprite;
    const Sprite* from = spriteSlots[source];
    std::uint32_t* ownQuadrants[4];
    std::memcpy(ownQuadrants, target->quadrants, sizeof ownQuadrants);
    *target = *from;
    std::memcpy(target->quadrants, ownQuadrants, sizeof ownQuadrants);
    selectSprite(source);
    for (int q = 0; q < 4; ++q) {
        // A source without images has no pixels to give: the destination
        // keeps what its buffers hold.
        std::uint32_t* to = target->quadrants[q];
        const std::uint32_t* pixels = from->quadrants[q];
        if (to != nullptr && pixels != nullptr && to != pixels) std::memcpy(to, pixels, quadrantBytes);
    }
    selectSprite(destination);
}

bool kernelsReadImages(const Sprite* sprite) {
    const SpriteKernel kernel = sprite->unclippedKernel;
    const auto drawsWith = [kernel](const KernelPair& pair) { return pair.unclipped == kernel; };
    return std::ranges::any_of(spotKernels, drawsWith) || std::ranges::any_of(imageDiscKernels, drawsWith) ||
           drawsWith(depthBallKernels);
}

void linkDrawError() { fatalError("PFX: LinkDraw Error"); }

}  // namespace lumivortex
