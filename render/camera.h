// How the hole is looked at: a fixed tilt, one of four turn angles, a zoom and a target.
// The rules here need no OpenGL; camera_gl.cpp applies them to the matrices.
#pragma once

#include "hole/hole_grid.h"
#include "hole/round_state.h"

struct CameraState {
    float viewAngle = 45.0f;               // turn of the world about z: 45, 135, 225 or 315
    float zoomScale = 1.0f;                // uniform scale
    int zoomLevel = 0;                     // zoom steps taken, -3..3
    float cameraTarget[3] = {0, 0, 0};     // minus the point shown at the window centre
    float followOffset[3] = {0, 0, 0};     // minus the last read position of the followed ball
    float translation[3] = {0, 0, 0};      // the world's translation as the last tick left it
};

constexpr float CAMERA_TILT = 60.0f;       // degrees the ground is tilted away from the viewer
constexpr int MAX_ZOOM_LEVEL = 3;
constexpr float ZOOM_STEP = 1.2f;
constexpr float SCROLL_STEP = 10.0f;       // world units per frame at the window edge
constexpr int SCROLL_EDGE = 10;            // pixels from the edge that scroll

void zoom_in(CameraState& camera);         // "+": one step up to level 3
void zoom_out(CameraState& camera);        // "-": one step down to level -3
void turn_left(CameraState& camera);       // "<": +90, past 360 back to 45
void turn_right(CameraState& camera);      // ">": -90, below 0 back to 315

// The world directions (unit length) of the screen's rightward and upward axes and of the way
// toward the viewer, for the world turned by viewAngle (degrees) and tilted by CAMERA_TILT.
void camera_axes(float viewAngle, double right[3], double up[3], double towardViewer[3]);

// True when the pointer (pixels, y from the top) is at an edge of a w x h window.
bool pointer_at_edge(int px, int py, int w, int h);
// Moves cameraTarget toward the edges the pointer is at, keeping it over the grid.
void scroll_camera(CameraState& camera, int px, int py, int w, int h);

// What the camera centres on and how it moves this frame, from the putting and turn states
// (aimMode, aimState of the aiming input; teeState of the hole). The flags the camera
// consumes are cleared here.
struct FollowFlags {
    AimMode aimMode = AimMode::Off;
    AimPhase aimState = AimPhase::Idle;
    TeeState teeState = TeeState::Idle;   // JustPlaced: a ball was placed or the turn passed
};

// Before the transform: while aiming, after a re-drop or when the turn passed, remember minus
// the followed ball's position, unless the ball is parked (z >= 2999).
void read_follow_ball(CameraState& camera, const FollowFlags& flags, const double ball[3]);
// The translation of the camera for this frame. It jumps to the ball when aiming begins,
// after a re-drop and when the turn passes, follows it while it rolls, lets the free
// camera's height settle back to 0 by 0.5 a frame, and keeps the aimed ball's height.
void camera_translation(CameraState& camera, FollowFlags& flags, float out[3]);
// Both steps for one frame on the game's own flags: ball is the followed ball's centre, or
// null when there is no physics world. The consumed flags are written back.
void follow_camera(CameraState& camera, AimMode& aimMode, AimPhase& aimState, TeeState& teeState, const double* ball,
                   float out[3]);
