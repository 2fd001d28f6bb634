// 3D coordinate frames, selected by index from a global slot table. A frame
// holds an origin and three axes in its parent's coordinates, an optional
// pivot added to local points before rotation, a turn (about its own axes)
// and a spin (about its parent's axes) advanced once per step, an optional
// look-at aim, and a cached transform to world coordinates. Data flow per
// step: updateFrames aims (look-at), rotates, then refreshes the world
// caches that the view transform and the emitters read.
#pragma once

#include <cstdint>

#include "math/vec3.h"

namespace lumivortex {

struct Frame {
    std::int32_t reserved;
    std::int32_t lookAtTarget;  // frame to aim at (low 16 bits); 0 = aim at lookAtPoint
    std::int32_t parent;        // parent frame index; 0 = world space
    double turnAngle;
    double spinAngle;
    double turnCos;
    double turnSin;
    double spinCos;
    double spinSin;
    std::int32_t lookAtEnabled;
    std::int32_t rotated;   // 0 = the transforms skip the rotation (identity axes)
    std::int32_t hasPivot;  // non-zero = pivot is added before the rotation
    Vec3 lookAtPoint;       // in parent coordinates
    Vec3 position;          // origin in parent coordinates
    Vec3 pivot;
    Vec3 worldPosition;  // cache of position in world space
    double unitFactors[6];
    Vec3 axisX;  // local axes in parent coordinates
    Vec3 axisY;
    Vec3 axisZ;
    Vec3 spinBasis[3];  // the rotation of one spin step
    Vec3 worldAxisX;    // caches of the axes in world space
    Vec3 worldAxisY;
    Vec3 worldAxisZ;
    std::int32_t turnX;  // turn multipliers; 0 = no turn about that axis
    std::int32_t turnY;
    std::int32_t turnZ;
    std::int32_t spinX;  // spin multipliers; all 0 = no spin
    std::int32_t spinY;
    std::int32_t spinZ;
};

struct FrameListNode {
    std::int32_t index;
    FrameListNode* next;
};

inline constexpr int frameSlotCount = 1025;

// Slot table, indices 0..1024. 0 is a valid slot, but 0 in a frame reference
// (parent, look-at target, camera) means none.
extern Frame* frameSlots[frameSlotCount];
extern int currentFrameIndex;  // starts at 1
extern Frame* currentFrame;
extern int cameraFrameIndex;  // 0 = no camera frame
// 1 = toWorld/dirToWorld use the world caches; 0 = they walk the parent chain.
extern int useCachedWorld;
// One node per created frame, newest first; never freed.
extern FrameListNode* frameList;

// Makes the frame at index current, creating and registering it if its slot
// is empty (also when index is already current).
void selectFrame(int index);
void initFrame(Frame* frame);

// Operations on the current frame.
void setAxes(double xx, double xy, double xz, double yx, double yy, double yz, double zx, double zy,
             double zz);
void setOrientationPreset(int kind);
void setPosition(double x, double y, double z);
void setPivot(double x, double y, double z);
void setTurn(int x, int y, int z);
void setTurnAngle(double angle);
void setSpin(int x, int y, int z);
void stepRotation();

// Local point or direction to parent coordinates.
Vec3* toParent(Vec3* out, double x, double y, double z);
Vec3* dirToParent(Vec3* out, double x, double y, double z);
// The same through the world caches.
Vec3* toWorldCached(Vec3* out, double x, double y, double z);
Vec3* dirToWorldCached(Vec3* out, double x, double y, double z);
// Local to world by the mode in useCachedWorld; the selection is restored.
Vec3* toWorld(Vec3* out, double x, double y, double z);
Vec3* dirToWorld(Vec3* out, double x, double y, double z);

void refreshWorld();
// Aims the Z axis at a point in parent coordinates.
void lookAt(double x, double y, double z);
// Aims at the world origin of another frame.
void lookAtFrame(int index);

// cameraFrameIndex = index; a non-zero index is also selected.
void setCameraFrame(int index);

// Look-at pass, rotation pass, world pass over frameList.
void updateFrames();

}  // namespace lumivortex
