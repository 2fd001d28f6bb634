// Four wheels over a blue-grey background lit by a few broad glows, one wheel
// per blend mode: alpha (top left), add (top right), subtract (bottom left)
// and multiply (bottom right). Each wheel is a ring of image discs cut from
// the procedural shaded ball "compBALL", tinted by the particle colours,
// around a larger hub disc cut from the glow picture "SPOT03". Every wheel turns in its own tilted frame about its axis, so the
// discs pass in front of and behind each other and change size with depth.
#include "gallery/discs_gallery.h"

#include <cmath>
#include <numbers>

#include "framebuffer/frame_buffer.h"
#include "gallery/gallery_loop.h"
#include "gallery/gallery_particles.h"
#include "math/frame.h"
#include "particles/particle_system.h"
#include "render/sprite.h"
#include "scene/scene_step.h"

namespace lumivortex::gallery {

namespace {

constexpr double pi = std::numbers::pi;
constexpr int wheelCount = 4;
constexpr BlendMode wheelModes[wheelCount] = {BlendAlpha, BlendAdd, BlendSubtract, BlendMultiply};
// Wheel w is particle system w and turns in frame 1 + w; its sprites are
// 1 + 2w (ring discs) and 2 + 2w (hub).
constexpr int firstWheelFrame = 1;
constexpr int spritesPerWheel = 2;
constexpr int backdropSystem = wheelCount;
constexpr int backdropSprite = 1 + spritesPerWheel * wheelCount;

constexpr int ringDiscs = 12;
constexpr double ringRadius = 100.0;
constexpr double discSize = 0.25;
constexpr double hubSize = 0.48;
constexpr double wheelTilt = pi / 7.0;
constexpr double wheelTurn = pi / 150.0;  // per frame
constexpr Vec3 wheelCentres[wheelCount] = {
    {-250.0, -140.0, 30.0}, {250.0, -140.0, 30.0}, {-250.0, 140.0, 30.0}, {250.0, 140.0, 30.0}};
constexpr std::uint32_t ringColours[6] = {0xFFFF960F, 0xFF6E82FF, 0xFFB4EBAF,
                                          0xFFFFC8C8, 0xFF82D2FF, 0xFFFFD7A0};

int wheelSprite(int w, int which) { return 1 + spritesPerWheel * w + which; }

void defineDisc(int index, BlendMode mode, const char* picture) {
    selectSprite(index);
    currentSprite->sizeScale = 1.0;
    defineSprite(makeSpriteKind(Disc, mode), 0xFFFFFFFF, picture);
}

void configureSprites() {
    for (int w = 0; w < wheelCount; ++w) {
        defineDisc(wheelSprite(w, 0), wheelModes[w], "compBALL");
        defineDisc(wheelSprite(w, 1), wheelModes[w], "SPOT03");
    }
    selectSprite(backdropSprite);
    currentSprite->sizeScale = 1.0;
    defineSprite(makeSpriteKind(Spot, BlendAdd), 0xFFFFFFFF, "compSPOT");
    currentSprite->fadeDivisor = 0.0;
}

// Ring discs first, then the hub (particle ringDiscs).
void configureWheel(int w) {
    selectSystem(w);
    fillSystem(ringDiscs + 1, {.size = discSize, .colour = 0, .sprite = wheelSprite(w, 0)});
    currentSystem->frameIndex = firstWheelFrame + w;
    for (int k = 0; k < ringDiscs; ++k) {
        const double angle = 2.0 * pi * k / ringDiscs;
        placeParticle(k, {ringRadius * std::cos(angle), ringRadius * std::sin(angle), 0.0}, ringColours[k % 6]);
    }
    placeParticle(ringDiscs, {0.0, 0.0, 0.0}, 0xFFFFFFFF);
    currentParticle->size = hubSize;
    currentParticle->sprite = wheelSprite(w, 1);

    selectFrame(firstWheelFrame + w);
    setAxes(1.0, 0.0, 0.0, 0.0, std::cos(wheelTilt), std::sin(wheelTilt), 0.0, -std::sin(wheelTilt),
            std::cos(wheelTilt));
    const Vec3& centre = wheelCentres[w];
    setPosition(centre.x, centre.y, centre.z);
    setTurn(0, 0, 1);
    setTurnAngle(wheelTurn);
}

// Broad coloured glows far behind the two lower wheels, whose modes darken.
void configureBackdrop() {
    selectSystem(backdropSystem);
    fillSystem(2, {.size = 8.0, .colour = 0, .sprite = backdropSprite});
    placeParticle(0, {-1250.0, 700.0, 900.0}, 0xFF3C4682);
    placeParticle(1, {1250.0, 700.0, 900.0}, 0xFF824B1E);
}

void setupDiscs() {
    backgroundColour = 0xFF4B5563;
    configureSprites();
    for (int w = 0; w < wheelCount; ++w) configureWheel(w);
    configureBackdrop();
}

}  // namespace

void discsGalleryProcess() { runGallery(setupDiscs, stepParticleSystems); }

}  // namespace lumivortex::gallery
