// The sprite table. A sprite says how a particle reaches the screen: which
// kernel family and blend mode draw it, its colour and scale factors, its four
// quadrant images and the sprite drawn next for the same particle. Sprites
// live in 512 slots; selecting an index makes that slot current (creating a
// default sprite when it is empty), and every other operation acts on
// currentSprite. The application writes the plain fields directly and calls
// defineSprite, which allocates and fills the images and chooses the kernels
// that the projection later calls through clippedKernel / unclippedKernel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumivortex {

// A pixel kernel: everything it needs is in rasterState.
using SpriteKernel = void (*)();

// Kind = family in the high 16 bits, blend mode in the low 16 bits.
enum SpriteFamily : std::uint32_t {
    SinglePixel = 1,  // one pixel at the projected position, no images
    DepthBall = 2,    // shaded ball tested against the depth buffer
    Spot = 3,         // quadrant-image kernels
    Disc = 4,         // quadrant images when named, coverage discs otherwise
};

enum BlendMode : std::uint32_t {
    BlendDefault = 0,  // alpha in families 1, 2 and 4; add in family 3
    BlendAlpha = 1,
    BlendAdd = 2,
    BlendSubtract = 3,
    BlendMultiply = 4,
};

constexpr std::uint32_t makeSpriteKind(std::uint32_t family, std::uint32_t mode) {
    return (family << 16) | (mode & 0xFFFFu);
}
constexpr std::uint32_t spriteFamily(std::uint32_t kind) { return kind >> 16; }
constexpr std::uint32_t blendMode(std::uint32_t kind) { return kind & 0xFFFFu; }

// Quadrant images: 256 rows of 256 ARGB pixels indexed from the centre
// outwards, 1024 bytes per row, on a 1024-byte boundary so that the kernels
// can OR a byte offset below 1024 into a row address.
inline constexpr int quadrantSide = 256;
inline constexpr std::size_t quadrantRowBytes = 1024;
inline constexpr std::size_t quadrantBytes = 0x40000;
inline constexpr std::size_t quadrantAlignment = 1024;

// Order of Sprite::quadrants.
enum QuadrantIndex : int { QuadUpLeft = 0, QuadUpRight = 1, QuadDownLeft = 2, QuadDownRight = 3 };

// nextSprite value that ends a sprite chain.
inline constexpr std::int32_t endOfSpriteChain = -9;

struct Sprite {
    std::uint32_t kind;               // family << 16 | blend mode
    std::uint32_t colour;             // ARGB; the alpha byte is the opacity
    std::int32_t useParticleColour;   // non-zero: the particle colour tints
    double fadeDivisor;               // depth fade / this, clamped to 1; 0 = any fade is full
    double sizeScale;                 // factor on the particle size
    double innerFraction;             // inner circle radius / outer radius, 0 = none
    double coreFraction;              // innermost circle radius / outer radius, 0 = none
    std::uint32_t* quadrants[4];      // up-left, up-right, down-left, down-right (owned)
    std::int32_t nextSprite;          // sprite drawn next for the particle, -9 = none
    SpriteKernel clippedKernel;       // square crosses the viewport edge
    SpriteKernel unclippedKernel;     // square wholly inside the viewport
};

inline constexpr int spriteSlotCount = 512;

extern Sprite* spriteSlots[spriteSlotCount];
extern int currentSpriteIndex;
extern Sprite* currentSprite;

// Makes slot `index` current, creating a default sprite if it is empty.
void selectSprite(int index);
// Replaces the current slot's sprite with a default one (family 1, no images,
// linkDrawError kernels).
void createSprite();
// Releases the current slot's sprite and its images; the slot becomes empty.
void deleteSprite();
// Sets kind and colour of currentSprite, reallocates its images and fills
// them: "compBALL", "compSPOT", a JPEG resource name, or "" for the family's
// procedural image. Chooses the kernels.
void defineSprite(std::uint32_t kind, std::uint32_t colour, std::string_view name);
// Steps of defineSprite: store kind and colour, replace the images and choose
// the kernels. Returns 1 when images were allocated, 0 when none are needed.
int allocateQuadrants(std::uint32_t kind, std::uint32_t colour, bool hasName);
// Chooses currentSprite's kernel pair from its family, mode and images.
void selectKernels();
// Copies the record of slot `source` over slot `destination` (created if
// empty), keeping the destination's own image buffers and copying pixels
// into those it has. Leaves the destination selected.
void copySprite(int source, int destination);
// True when the sprite's kernels are ones that read quadrant images (spot,
// image disc, depth ball). A sprite copied into a slot without images
// carries such kernels until it is redefined.
bool kernelsReadImages(const Sprite* sprite);
// Kernel of sprites that were never given one: fatal "PFX: LinkDraw Error".
[[noreturn]] void linkDrawError();

}  // namespace lumivortex
