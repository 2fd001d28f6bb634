// Three bodies made of shaded image discs and held together by links, in one
// world frame turned a little towards the viewer, above a floor of dim glows.
// Each starts level, pinned at a few particles, falls and swings:
// - a cloth (sheet links) pinned at its two top corners;
// - a torus (torus links, braced across its tube and its centre) hinged at
//   its rim;
// - a chain (chain links) hanging from its first particle.
// Pinned particles have response 0: neither links nor forces move them.
// Gravity is the systems' force hook; the simulation runs several sub-steps
// per frame so that the stiff links stay stable.
#include "gallery/links_gallery.h"

#include <cmath>
#include <numbers>

#include "framebuffer/frame_buffer.h"
#include "gallery/gallery_loop.h"
#include "gallery/gallery_particles.h"
#include "host/memory.h"
#include "math/frame.h"
#include "particles/link_topology.h"
#include "particles/links.h"
#include "particles/particle_system.h"
#include "render/sprite.h"
#include "scene/scene_step.h"

namespace lumivortex::gallery {

namespace {

constexpr double pi = std::numbers::pi;
constexpr int worldFrame = 1;
constexpr int clothSystem = 0;
constexpr int torusSystem = 1;
constexpr int chainSystem = 2;
constexpr int floorSystem = 3;
constexpr int bodySprite = 1;
constexpr int floorSprite = 2;

constexpr int subSteps = 8;
constexpr double gravity = 0.003;  // per sub-step; +y is down on the screen
constexpr double floorY = 92.0;  // below everything that swings
constexpr double drag = 0.004;

constexpr int clothWidth = 16;
constexpr int clothHeight = 12;
constexpr double clothSpacing = 15.0;
constexpr int torusRing = 8;     // particles around the tube
constexpr int torusRings = 40;   // rings around the centre
constexpr double torusRadius = 70.0;
constexpr double tubeRadius = 14.0;
constexpr int chainLength = 24;
constexpr double chainSpacing = 10.0;
constexpr int floorColumns = 21;
constexpr int floorRows = 8;

// The force hook of the moving bodies.
Vec3* gravityForce(Vec3* force) {
    *force = {0.0, gravity, 0.0};
    return force;
}

// Makes the current system a body in the world frame under gravity, with
// `records` link records and `sets` parameter sets for the caller to fill,
// owned by the system (released with it) and evaluated every step.
void makeLinkedBody(std::uint32_t records, std::uint32_t sets) {
    currentSystem->links = static_cast<Link*>(alignedAlloc(records * sizeof(Link), 16, fillZero));
    currentSystem->linkParams = static_cast<LinkParams*>(alignedAlloc(sets * sizeof(LinkParams), 16, fillZero));
    currentSystem->linkCount = records;
    currentSystem->linkPeriod = 0;
    currentSystem->forceHook = gravityForce;
    currentSystem->frameIndex = worldFrame;
}

// A spring-like set: pushes apart below `rest`, pulls with up to `strength`
// at twice the rest length, fading beyond.
LinkParams springAt(double rest, double strength) {
    return {rest, 2.0 * rest, 5.0 * rest, strength, 2.0 * strength};
}

void pin(int index) {
    selectParticle(index);
    currentParticle->response = 0.0;
}

void configureCloth() {
    selectSystem(clothSystem);
    constexpr int count = clothWidth * clothHeight;
    fillSystem(count, {.size = 0.1, .colour = 0, .sprite = bodySprite, .response = 1.0, .friction = drag});
    for (int i = 0; i < count; ++i) {
        const int row = i / clothWidth, column = i % clothWidth;
        const std::uint32_t colour = (row + column) % 2 == 0 ? 0xFFE6EBF5 : 0xFF5A82D2;
        placeParticle(i, {-390.0 + column * clothSpacing, -200.0, -60.0 + row * clothSpacing}, colour);
    }
    pin(0);
    pin(clothWidth - 1);
    makeLinkedBody(1, 1);
    currentSystem->links[0] = {linkSheets, 0, count - 1, clothWidth, clothHeight, 0};
    currentSystem->linkParams[0] = springAt(clothSpacing, 2.0);
}

// Ring k of the torus lies at angle 2 pi k / torusRings around the centre;
// particle j of a ring at angle 2 pi j / torusRing around the tube, particle
// 0 on the outside. The torus starts level; the outermost particles of
// rings torusRings - 1, 0 and 1, on the side facing the viewer, are pinned
// and form the hinge it swings on, so that it hangs turned towards the viewer.
void configureTorus() {
    selectSystem(torusSystem);
    constexpr int count = torusRing * torusRings;
    fillSystem(count, {.size = 0.08, .colour = 0, .sprite = bodySprite, .response = 1.0, .friction = drag});
    const double hinge = -pi / 2.6;  // direction of ring 0 from the centre
    const Vec3 pivot{0.0, -150.0, 40.0};
    const Vec3 centre{pivot.x - (torusRadius + tubeRadius) * std::cos(hinge), pivot.y,
                      pivot.z - (torusRadius + tubeRadius) * std::sin(hinge)};
    for (int i = 0; i < count; ++i) {
        const double around = hinge + 2.0 * pi * (i / torusRing) / torusRings;
        const double tube = 2.0 * pi * (i % torusRing) / torusRing;
        const double r = torusRadius + tubeRadius * std::cos(tube);
        const std::uint32_t colour = (i / torusRing) % 4 < 2 ? 0xFFFFD250 : 0xFFFF7832;
        placeParticle(i,
                      {centre.x + r * std::cos(around), centre.y + tubeRadius * std::sin(tube),
                       centre.z + r * std::sin(around)},
                      colour);
    }
    pin(0);
    pin(torusRing);
    pin(count - torusRing);
    makeLinkedBody(3, 3);
    // The rings around the tube, joined ring to ring and the last to the
    // first; the tube is thin enough for one rest length to suit both.
    currentSystem->links[0] = {linkTorus, 0, count - 1, torusRing, heightUnlimited, 0};
    currentSystem->linkParams[0] = springAt(2.0 * pi * torusRadius / torusRings, 2.0);
    // Braces across the tube: each particle with the one half a ring on.
    currentSystem->links[1] = {linkWrappedOffset, 0, count - 1, torusRing / 2, 0, 1};
    currentSystem->linkParams[1] = springAt(2.0 * tubeRadius, 1.0);
    // Spokes: each particle with the one half the torus on, which keeps the
    // hanging torus round instead of folding like a loop of string.
    currentSystem->links[2] = {linkWrappedOffset, 0, count - 1, count / 2, 0, 2};
    currentSystem->linkParams[2] = springAt(2.0 * torusRadius, 0.3);
}

void configureChain() {
    selectSystem(chainSystem);
    fillSystem(chainLength, {.size = 0.09, .colour = 0, .sprite = bodySprite, .response = 1.0, .friction = drag});
    for (int i = 0; i < chainLength; ++i) {
        const std::uint32_t colour = i % 2 == 0 ? 0xFFB4EBAF : 0xFF50B464;
        placeParticle(i, {130.0 + i * chainSpacing, -210.0, 0.0}, colour);
    }
    pin(0);
    makeLinkedBody(1, 1);
    currentSystem->links[0] = {linkChain, 0, chainLength - 1, 0, 0, 0};
    currentSystem->linkParams[0] = springAt(chainSpacing, 1.0);
}

// A grid of still glows on the floor plane.
void configureFloor() {
    selectSystem(floorSystem);
    fillSystem(floorColumns * floorRows, {.size = 0.22, .colour = 0, .sprite = floorSprite});
    currentSystem->frameIndex = worldFrame;
    for (int i = 0; i < floorColumns * floorRows; ++i) {
        const int row = i / floorColumns, column = i % floorColumns;
        placeParticle(i, {-500.0 + column * 50.0, floorY, -80.0 + row * 50.0}, 0xFF2C4470);
    }
}

void configureSprites() {
    selectSprite(bodySprite);
    currentSprite->sizeScale = 1.0;
    defineSprite(makeSpriteKind(Disc, BlendAlpha), 0xFFFFFFFF, "compBALL");

    selectSprite(floorSprite);
    currentSprite->sizeScale = 1.0;
    defineSprite(makeSpriteKind(Spot, BlendAdd), 0xFFFFFFFF, "compSPOT");
}

// The world turned about its vertical axis and seen slightly from above.
void configureWorld() {
    selectFrame(worldFrame);
    const double yaw = pi / 12.0, pitch = pi / 14.0;
    setAxes(std::cos(yaw), std::sin(yaw) * std::sin(pitch), -std::sin(yaw) * std::cos(pitch),  //
            0.0, std::cos(pitch), std::sin(pitch),                                         //
            std::sin(yaw), -std::cos(yaw) * std::sin(pitch), std::cos(yaw) * std::cos(pitch));
    setPosition(0.0, 60.0, 70.0);
}

void setupLinks() {
    backgroundColour = 0xFF0A0E16;
    configureSprites();
    configureWorld();
    configureCloth();
    configureTorus();
    configureChain();
    configureFloor();
}

void simulateLinks() {
    for (int step = 0; step < subSteps; ++step) stepParticleSystems();
}

}  // namespace

void linksGalleryProcess() { runGallery(setupLinks, simulateLinks); }

}  // namespace lumivortex::gallery
