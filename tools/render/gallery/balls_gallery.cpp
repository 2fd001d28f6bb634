// A molecule of depth-tested balls: a large centre ball with six balls on
// its axes and eight on its diagonals sunk into it, inside a ring of balls
// that cut into their neighbours, all in one frame that a rotation
// controller tumbles. The balls are drawn far to near, but where two
// intersect the depth test decides pixel by pixel, so the seams follow the
// true intersection curve and are softened by the kernels. A dim glow far
// behind lights the background.
#include "gallery/balls_gallery.h"

#include <cmath>
#include <numbers>

#include "controllers/controller_registry.h"
#include "controllers/rotate_controller.h"
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
constexpr int clusterFrame = 1;
constexpr int clusterSystem = 0;
constexpr int glowSystem = 1;
constexpr int ballSprite = 1;
constexpr int glowSprite = 2;

constexpr double scale = 1.45;  // world units per unit of the layout below
constexpr int axisBalls = 6;
constexpr int cornerBalls = 8;
constexpr int ringBalls = 18;
constexpr int ballCount = 1 + axisBalls + cornerBalls + ringBalls;

constexpr std::uint32_t centreColour = 0xFFFFD7A0;
constexpr std::uint32_t axisColours[3] = {0xFFFF6E50, 0xFF6E96FF, 0xFF82D24B};
constexpr std::uint32_t cornerColour = 0xFFF0F0F0;
constexpr std::uint32_t ringColours[2] = {0xFFFFC832, 0xFFC85AE6};

SmRandRotateCNT clusterSpin;

void configureSprites() {
    selectSprite(ballSprite);
    currentSprite->sizeScale = 1.0;
    defineSprite(makeSpriteKind(DepthBall, BlendAlpha), 0xFFFFFFFF, "compBALL");

    selectSprite(glowSprite);
    currentSprite->sizeScale = 1.0;
    defineSprite(makeSpriteKind(Spot, BlendAdd), 0xFF24344C, "compSPOT");
    currentSprite->fadeDivisor = 0.0;
}

// Radius and position in layout units; the particle size is the radius in
// hundreds of world units.
void placeBall(int index, double radius, const Vec3& position, std::uint32_t colour) {
    placeParticle(index, {position.x * scale, position.y * scale, position.z * scale}, colour);
    currentParticle->size = radius * scale / 100.0;
}

void configureCluster() {
    selectSystem(clusterSystem);
    fillSystem(ballCount, {.size = 0.0, .colour = 0, .sprite = ballSprite});
    currentSystem->frameIndex = clusterFrame;
    int index = 0;
    placeBall(index++, 62.0, {0.0, 0.0, 0.0}, centreColour);
    for (int axis = 0; axis < axisBalls; ++axis) {
        const double d = axis % 2 == 0 ? 72.0 : -72.0;
        const Vec3 position = axis / 2 == 0 ? Vec3{d, 0.0, 0.0} : axis / 2 == 1 ? Vec3{0.0, d, 0.0} : Vec3{0.0, 0.0, d};
        placeBall(index++, 34.0, position, axisColours[axis / 2]);
    }
    const double c = 68.0 / std::sqrt(3.0);
    for (int corner = 0; corner < cornerBalls; ++corner) {
        const Vec3 position{corner & 1 ? c : -c, corner & 2 ? c : -c, corner & 4 ? c : -c};
        placeBall(index++, 22.0, position, cornerColour);
    }
    for (int k = 0; k < ringBalls; ++k) {
        const double angle = 2.0 * pi * k / ringBalls;
        placeBall(index++, 31.0, {150.0 * std::cos(angle), 0.0, 150.0 * std::sin(angle)}, ringColours[k % 2]);
    }
}

void configureGlow() {
    selectSystem(glowSystem);
    fillSystem(1, {.size = 9.0, .colour = 0xFFFFFFFF, .sprite = glowSprite});
    placeParticle(0, {0.0, 0.0, 700.0}, 0xFFFFFFFF);
}

// The cluster stands a little behind the screen plane, tilted so that the
// ring is seen from above, and tumbles slowly.
void configureFrames() {
    selectFrame(clusterFrame);
    const double tilt = pi / 7.0;
    setAxes(1.0, 0.0, 0.0, 0.0, std::cos(tilt), std::sin(tilt), 0.0, -std::sin(tilt), std::cos(tilt));
    setPosition(0.0, -15.0, 100.0);
    clusterSpin.setup(clusterFrame, 0.0, pi / 120.0, pi / 240.0, 0.0, 60, 20);
    registerController(&clusterSpin, 1);
}

void setupBalls() {
    backgroundColour = 0xFF080A10;
    configureSprites();
    configureCluster();
    configureGlow();
    configureFrames();
}

}  // namespace

void ballsGalleryProcess() { runGallery(setupBalls, stepParticleSystems); }

}  // namespace lumivortex::gallery
