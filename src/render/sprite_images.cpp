// Image builders of the sprite quadrants. Each walks the 256 x 256 elements
// of a quadrant once and, the images being mirror-symmetric, writes the
// element into all four quadrants (the ball with mirrored normals).
#include "render/sprite_images.h"

#include <cmath>
#include <cstdint>

#include "framebuffer/image_service.h"
#include "host/fatal_error.h"
#include "math/colour.h"
#include "math/vec3.h"
#include "platform/resources.h"
#include "render/sprite.h"
#include "render/sprite_tables.h"

namespace lumivortex {

namespace {

constexpr double ballAmbient = 0.125;
constexpr double ballBackLight = 0.5;
constexpr double spotHardness = 1.0;  // K
constexpr double spotBias = 0.5;

// Weight images of the alpha-mode kernels carry the profile in blue.
constexpr std::uint32_t alphaMaskColour = 0xFF0000FFu;

int channelOf(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFFu); }

std::uint32_t packOpaque(int r, int g, int b) {
    return 0xFF000000u | (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
           static_cast<std::uint32_t>(b);
}

void writeElement(Sprite* sprite, int i, int j, std::uint32_t pixel) {
    for (std::uint32_t* quadrant : sprite->quadrants) quadrant[i * quadrantSide + j] = pixel;
}

// Ease curve x^2 (3 - 2x).
double smoothStep(double x) { return x * x * (3.0 - 2.0 * x); }

// Each channel of the sprite colour scaled by m, rounded.
std::uint32_t shade(std::uint32_t colour, double m) {
    auto scaled = [m, colour](int shift) { return static_cast<int>(channelOf(colour, shift) * m + 0.5); };
    return packOpaque(scaled(16), scaled(8), scaled(0));
}

// Spot pixel for the profile value v: the colour itself at v = 1; the
// multiply mode blends from white instead of from black.
std::uint32_t spotPixel(std::uint32_t colour, bool multiply, double v) {
    auto channel = [colour, multiply, v](int shift) {
        const int c = channelOf(colour, shift);
        return multiply ? static_cast<int>((c - 255) * v + 255.5) : static_cast<int>(c * v + 0.5);
    };
    return packOpaque(channel(16), channel(8), channel(0));
}

// Drops this user of the image service, then ends with `message`.
[[noreturn]] void failLoad(const char* message) {
    unlockCurrentImage();
    releaseCurrentImage();
    releaseImaging();
    fatalError(message);
}

}  // namespace

void buildBallImage(Sprite* sprite) {
    const Vec3 light = lightDirection;
    const std::uint32_t colour = sprite->colour;
    // Mirror signs of (x, y) per quadrant: up-left, up-right, down-left, down-right.
    constexpr double mirror[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (int i = 0; i < quadrantSide; ++i) {
        for (int j = 0; j < quadrantSide; ++j) {
            const std::int32_t depth = sphereTable[i * sphereSide + j].depthOffset;
            if (depth <= 0) continue;
            Vec3 normal{static_cast<double>(j), static_cast<double>(i), -depth / 8.0};
            normalise(&normal);
            for (int q = 0; q < 4; ++q) {
                double g = mirror[q][0] * normal.x * light.x + mirror[q][1] * normal.y * light.y +
                           normal.z * light.z;
                if (g < 0) g = ballBackLight * -g;
                const double m = ballAmbient + smoothStep(g) * (1.0 - ballAmbient);
                sprite->quadrants[q][i * quadrantSide + j] = shade(colour, m);
            }
        }
    }
}

void buildSpotImage(Sprite* sprite) {
    const bool alphaMode = blendMode(sprite->kind) == BlendAlpha;
    const bool multiply = blendMode(sprite->kind) == BlendMultiply;
    const std::uint32_t colour = alphaMode ? alphaMaskColour : sprite->colour;
    const double peak = smoothStep(spotHardness);
    for (int i = 0; i < quadrantSide; ++i) {
        for (int j = 0; j < quadrantSide; ++j) {
            if (sphereTable[i * sphereSide + j].depthOffset == 0) continue;
            const double d = std::sqrt(double(i) * i + double(j) * j);
            const double s = smoothStep(spotHardness * (1.0 - d / 255.0)) / peak;
            const double q = 1.0 - spotBias * s;
            const double v = q == 0.0 ? 1.0 : 1.0 - (1.0 - s) / q;
            writeElement(sprite, i, j, spotPixel(colour, multiply, v));
        }
    }
}

void loadImageQuadrants(Sprite* sprite, std::string_view name) {
    acquireImaging();
    resourceType = resourceTypeBinaryData;
    if (loadResourceImage(name) == 0) failLoad("PFX: JPG Resource Not Found");
    fillQuadrantsFromCurrentImage(sprite);
}

void fillQuadrantsFromCurrentImage(Sprite* sprite) {
    const std::uint32_t family = spriteFamily(sprite->kind);
    const std::uint32_t mode = blendMode(sprite->kind);
    const std::uint32_t colour = (family == Spot && mode == BlendAlpha) ? alphaMaskColour : sprite->colour;
    const bool whiteBased = family != Disc && mode == BlendMultiply;

    if (lockCurrentImage() == 0 || decodedPixels == nullptr) failLoad("PFX: JPG Resource Not Found");
    // A 255-pixel image serves each source pixel to 2 x 2 elements. The
    // sampling reaches centre +- (255 >> shift) rows and columns, so only a
    // square image of one of the two sizes can be read safely.
    int shift;
    if (decodedWidth == 511) {
        shift = 0;
    } else if (decodedWidth == 255) {
        shift = 1;
    } else {
        failLoad("PFX: JPG Resource Have Wrong Resolution");
    }
    if (decodedHeight != decodedWidth) failLoad("PFX: JPG Resource Have Wrong Resolution");
    const int centre = decodedWidth >> 1;
    const int pitch = decodedWidth;
    const std::uint32_t* image = decodedPixels;
    auto convert = [colour, whiteBased](std::uint32_t source) {
        return whiteBased ? lerpColour(0x00FFFFFFu, colour, static_cast<std::int32_t>(source & 0xFFu))
                          : modulateColour(source, colour);
    };
    for (int i = 0; i < quadrantSide; ++i) {
        const int up = (centre - (i >> shift)) * pitch;
        const int down = (centre + (i >> shift)) * pitch;
        for (int j = 0; j < quadrantSide; ++j) {
            const int leftCol = centre - (j >> shift);
            const int rightCol = centre + (j >> shift);
            const int element = i * quadrantSide + j;
            sprite->quadrants[QuadUpLeft][element] = convert(image[up + leftCol]);
            sprite->quadrants[QuadUpRight][element] = convert(image[up + rightCol]);
            sprite->quadrants[QuadDownLeft][element] = convert(image[down + leftCol]);
            sprite->quadrants[QuadDownRight][element] = convert(image[down + rightCol]);
        }
    }
    unlockCurrentImage();
    releaseCurrentImage();
    releaseImaging();
}

}  // namespace lumivortex
