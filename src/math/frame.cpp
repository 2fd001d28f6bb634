// Frame slot table, selection, rotation steps, transforms and the per-step
// update. Operations act on currentFrame; those that visit other frames
// (toWorld, refreshWorld, lookAtFrame) select them and re-select the frame
// they started from.
#include "math/frame.h"

#include <cmath>
#include <numbers>

#include "host/fatal_error.h"
#include "host/memory.h"
#include "math/random.h"

namespace lumivortex {

Frame* frameSlots[frameSlotCount] = {};
int currentFrameIndex = 1;
Frame* currentFrame = nullptr;
int cameraFrameIndex = 0;
int useCachedWorld = 1;
FrameListNode* frameList = nullptr;

namespace {

// p.x*a1 + p.y*a2 + p.z*a3: the matrix with columns a1, a2, a3 applied to p.
Vec3 linearMap(const Vec3& p, const Vec3& a1, const Vec3& a2, const Vec3& a3) {
    return Vec3{p.x * a1.x + p.y * a2.x + p.z * a3.x, p.x * a1.y + p.y * a2.y + p.z * a3.y,
                p.x * a1.z + p.y * a2.z + p.z * a3.z};
}

Vec3 add(const Vec3& a, const Vec3& b) { return Vec3{a.x + b.x, a.y + b.y, a.z + b.z}; }

// position + R (p + pivot), pivot and rotation only where the frame's flags say.
Vec3 pointTransform(const Frame& f, Vec3 p, const Vec3& a1, const Vec3& a2, const Vec3& a3,
                    const Vec3& origin) {
    if (f.hasPivot) p = add(p, f.pivot);
    if (f.rotated) p = linearMap(p, a1, a2, a3);
    return add(p, origin);
}

Vec3 directionTransform(const Frame& f, const Vec3& d, const Vec3& a1, const Vec3& a2, const Vec3& a3) {
    return f.rotated ? linearMap(d, a1, a2, a3) : d;
}

// The frame the operations act on; none exists before the first selection.
Frame& current() {
    if (currentFrame == nullptr) fatalError("PFX: No frame selected");
    return *currentFrame;
}

// a' = c a + ms b and b' = c b - ms a, both from the old a and b.
void turnPair(Vec3& a, Vec3& b, double c, double ms) {
    const Vec3 oldA = a;
    a = Vec3{c * a.x + ms * b.x, c * a.y + ms * b.y, c * a.z + ms * b.z};
    b = Vec3{c * b.x - ms * oldA.x, c * b.y - ms * oldA.y, c * b.z - ms * oldA.z};
}

// The parent chain walk of toWorld and dirToWorld: applies step to the
// current frame and then to each parent, restoring the selection after.
// A chain longer than the slot table can only be a loop of parents.
template <typename Step>
Vec3* walkToWorld(Vec3* out, Vec3 p, Step step) {
    const int remembered = currentFrameIndex;
    p = step(current(), p);
    for (int walked = 0; current().parent != 0; ++walked) {
        if (walked == frameSlotCount) fatalError("PFX: Frame parents form a loop");
        selectFrame(current().parent);
        p = step(current(), p);
    }
    selectFrame(remembered);
    *out = p;
    return out;
}

// An axis of three random components 1 - 2u, drawn z first.
Vec3 randomAxis() {
    const double u1 = randUnit();
    const double u2 = randUnit();
    const double u3 = randUnit();
    return Vec3{1.0 - 2.0 * u3, 1.0 - 2.0 * u2, 1.0 - 2.0 * u1};
}

void registerFrame(int index) {
    auto* node = static_cast<FrameListNode*>(alignedAlloc(sizeof(FrameListNode), 16, fillZero));
    node->index = index;
    node->next = frameList;
    frameList = node;
}

}  // namespace

void selectFrame(int index) {
    // Reachable with bad data (a look-at target uses 16 bits): never index
    // outside the table.
    if (index < 0 || index >= frameSlotCount) fatalError("PFX: Frame index out of range");
    if (index != currentFrameIndex) {
        currentFrameIndex = index;
        currentFrame = frameSlots[index];
    }
    if (frameSlots[index] == nullptr) {
        auto* frame = static_cast<Frame*>(alignedAlloc(sizeof(Frame), 16, fillZero));
        initFrame(frame);
        frameSlots[index] = frame;
        currentFrame = frame;
        registerFrame(index);
    }
}

void initFrame(Frame* frame) {
    constexpr double angle = std::numbers::pi / 32.0;
    *frame = Frame{};  // the caches start at zero until the first refresh
    frame->turnAngle = angle;
    frame->spinAngle = angle;
    frame->turnCos = frame->spinCos = std::cos(angle);
    frame->turnSin = frame->spinSin = std::sin(angle);
    for (double& factor : frame->unitFactors) factor = 1.0;
    frame->axisX = Vec3{1.0, 0.0, 0.0};
    frame->axisY = Vec3{0.0, 1.0, 0.0};
    frame->axisZ = Vec3{0.0, 0.0, 1.0};
}

void setAxes(double xx, double xy, double xz, double yx, double yy, double yz, double zx, double zy,
             double zz) {
    Frame& f = current();
    const Vec3 x{xx, xy, xz}, y{yx, yy, yz}, z{zx, zy, zz};
    normalised(&f.axisX, &x);
    normalised(&f.axisY, &y);
    normalised(&f.axisZ, &z);
}

void setOrientationPreset(int kind) {
    // Columns: axisX, axisY, axisZ of each fixed preset.
    static constexpr double presets[6][9] = {
        {0, 0, -1, 0, 1, 0, 1, 0, 0},  {1, 0, 0, 0, 0, -1, 0, 1, 0}, {1, 0, 0, 0, 1, 0, 0, 0, 1},
        {0, 0, 1, 0, 1, 0, -1, 0, 0},  {1, 0, 0, 0, 0, 1, 0, -1, 0}, {1, 0, 0, 0, -1, 0, 0, 0, -1},
    };
    if (kind >= 0 && kind < 6) {
        const double* a = presets[kind];
        setAxes(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
    } else if (kind == 7) {
        // The axes are set directly; axisY is not normalised before the
        // first cross product.
        Frame& f = current();
        f.axisX = randomAxis();
        f.axisY = randomAxis();
        normalise(&f.axisX);
        Vec3 product;
        normalised(&f.axisZ, cross(&product, &f.axisX, &f.axisY));
        normalised(&f.axisY, cross(&product, &f.axisZ, &f.axisX));
    }
}

void setPosition(double x, double y, double z) { current().position = Vec3{x, y, z}; }

void setPivot(double x, double y, double z) {
    Frame& f = current();
    f.pivot = Vec3{x, y, z};
    f.hasPivot = (x == 0.0 && y == 0.0 && z == 0.0) ? 0 : 1;  // not-a-number counts as set
}

void setTurn(int x, int y, int z) {
    Frame& f = current();
    f.turnX = x;
    f.turnY = y;
    f.turnZ = z;
}

void setTurnAngle(double angle) {
    Frame& f = current();
    f.turnAngle = angle;
    f.turnCos = std::cos(angle);
    f.turnSin = std::sin(angle);
}

void setSpin(int x, int y, int z) {
    Frame& f = current();
    f.spinX = f.spinY = f.spinZ = 0;
    if (x != 0 || y != 0 || z != 0) {
        // One turn step of the spin angle applied to the identity gives the
        // spin basis; the frame's own turn settings and axes are put back.
        const double savedCos = f.turnCos, savedSin = f.turnSin;
        const int savedTurn[3] = {f.turnX, f.turnY, f.turnZ};
        const Vec3 savedAxes[3] = {f.axisX, f.axisY, f.axisZ};
        f.turnCos = f.spinCos;
        f.turnSin = f.spinSin;
        setTurn(x, y, z);
        setAxes(1, 0, 0, 0, 1, 0, 0, 0, 1);
        stepRotation();
        f.spinBasis[0] = f.axisX;
        f.spinBasis[1] = f.axisY;
        f.spinBasis[2] = f.axisZ;
        f.axisX = savedAxes[0];
        f.axisY = savedAxes[1];
        f.axisZ = savedAxes[2];
        setTurn(savedTurn[0], savedTurn[1], savedTurn[2]);
        f.turnCos = savedCos;
        f.turnSin = savedSin;
    }
    f.spinX = x;
    f.spinY = y;
    f.spinZ = z;
}

void stepRotation() {
    Frame& f = current();
    if (f.spinX != 0 || f.spinY != 0 || f.spinZ != 0) {
        // Spin about the parent's axes: each axis goes through the spin basis
        // by the frame's own point transform, with position and pivot zeroed,
        // so nothing happens while the frame is unrotated.
        const Vec3 position = f.position, pivot = f.pivot;
        const Vec3 axes[3] = {f.axisX, f.axisY, f.axisZ};
        f.position = f.pivot = Vec3{0.0, 0.0, 0.0};
        Vec3* targets[3] = {&f.axisX, &f.axisY, &f.axisZ};
        for (int i = 0; i < 3; ++i) {
            *targets[i] = pointTransform(f, axes[i], f.spinBasis[0], f.spinBasis[1], f.spinBasis[2], f.position);
        }
        f.position = position;
        f.pivot = pivot;
    }
    // Only the sine is scaled by the multiplier; the axes are never
    // re-orthonormalised.
    const double c = f.turnCos, s = f.turnSin;
    if (f.turnX != 0) turnPair(f.axisY, f.axisZ, c, f.turnX * s);
    if (f.turnY != 0) turnPair(f.axisZ, f.axisX, c, f.turnY * s);
    if (f.turnZ != 0) turnPair(f.axisX, f.axisY, c, f.turnZ * s);
    f.rotated = (f.axisX.x != 1.0 || f.axisY.y != 1.0) ? 1 : 0;
}

Vec3* toParent(Vec3* out, double x, double y, double z) {
    const Frame& f = current();
    *out = pointTransform(f, Vec3{x, y, z}, f.axisX, f.axisY, f.axisZ, f.position);
    return out;
}

Vec3* dirToParent(Vec3* out, double x, double y, double z) {
    const Frame& f = current();
    *out = directionTransform(f, Vec3{x, y, z}, f.axisX, f.axisY, f.axisZ);
    return out;
}

Vec3* toWorldCached(Vec3* out, double x, double y, double z) {
    const Frame& f = current();
    *out = pointTransform(f, Vec3{x, y, z}, f.worldAxisX, f.worldAxisY, f.worldAxisZ, f.worldPosition);
    return out;
}

Vec3* dirToWorldCached(Vec3* out, double x, double y, double z) {
    const Frame& f = current();
    *out = directionTransform(f, Vec3{x, y, z}, f.worldAxisX, f.worldAxisY, f.worldAxisZ);
    return out;
}

Vec3* toWorld(Vec3* out, double x, double y, double z) {
    if (useCachedWorld == 1) return toWorldCached(out, x, y, z);
    return walkToWorld(out, Vec3{x, y, z}, [](const Frame& f, const Vec3& p) {
        return pointTransform(f, p, f.axisX, f.axisY, f.axisZ, f.position);
    });
}

Vec3* dirToWorld(Vec3* out, double x, double y, double z) {
    if (useCachedWorld == 1) return dirToWorldCached(out, x, y, z);
    return walkToWorld(out, Vec3{x, y, z}, [](const Frame& f, const Vec3& d) {
        return directionTransform(f, d, f.axisX, f.axisY, f.axisZ);
    });
}

void refreshWorld() {
    const int savedMode = useCachedWorld;
    useCachedWorld = 0;
    const int self = currentFrameIndex;
    Frame& f = current();
    if (f.parent != 0) {
        // Evaluated from the parent, walking its chain of local transforms.
        selectFrame(f.parent);
        dirToWorld(&f.worldAxisX, f.axisX.x, f.axisX.y, f.axisX.z);
        dirToWorld(&f.worldAxisY, f.axisY.x, f.axisY.y, f.axisY.z);
        dirToWorld(&f.worldAxisZ, f.axisZ.x, f.axisZ.y, f.axisZ.z);
        toWorld(&f.worldPosition, f.position.x, f.position.y, f.position.z);
        selectFrame(self);
    } else {
        f.worldAxisX = f.axisX;
        f.worldAxisY = f.axisY;
        f.worldAxisZ = f.axisZ;
        f.worldPosition = f.position;
    }
    f.rotated = (f.worldAxisX.x != 1.0 || f.worldAxisY.y != 1.0) ? 1 : 0;
    useCachedWorld = savedMode;
}

void lookAt(double x, double y, double z) {
    Frame& f = current();
    const Vec3 towards{x - f.position.x, y - f.position.y, z - f.position.z};
    normalised(&f.axisZ, &towards);
    const Vec3 side{f.axisZ.z, 0.0, -f.axisZ.x};  // world up (0, 1, 0) x axisZ
    normalised(&f.axisX, &side);
    cross(&f.axisY, &f.axisZ, &f.axisX);
    f.worldAxisX = f.axisX;
    f.worldAxisY = f.axisY;
    f.worldAxisZ = f.axisZ;
    f.rotated = 1;
}

void lookAtFrame(int index) {
    const int savedMode = useCachedWorld;
    useCachedWorld = 0;
    const int remembered = currentFrameIndex & 0xFFFF;
    selectFrame(index & 0xFFFF);
    Vec3 target;
    toWorld(&target, 0.0, 0.0, 0.0);
    selectFrame(remembered);
    useCachedWorld = savedMode;
    lookAt(target.x, target.y, target.z);
}

void setCameraFrame(int index) {
    cameraFrameIndex = index;
    if (index != 0) selectFrame(index);
}

void updateFrames() {
    for (const FrameListNode* node = frameList; node != nullptr; node = node->next) {
        selectFrame(node->index);
        const Frame& f = current();
        if (!f.lookAtEnabled) continue;
        if (f.lookAtTarget != 0) {
            lookAtFrame(f.lookAtTarget);
        } else {
            lookAt(f.lookAtPoint.x, f.lookAtPoint.y, f.lookAtPoint.z);
        }
    }
    for (const FrameListNode* node = frameList; node != nullptr; node = node->next) {
        selectFrame(node->index);
        stepRotation();
    }
    for (const FrameListNode* node = frameList; node != nullptr; node = node->next) {
        selectFrame(node->index);
        refreshWorld();
    }
}

}  // namespace lumivortex
