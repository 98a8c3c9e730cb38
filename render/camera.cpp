#include "render/camera.h"

#include <cmath>


void zoom_in(CameraState& camera)
{
    if (camera.zoomLevel < MAX_ZOOM_LEVEL) {
        camera.zoomScale *= ZOOM_STEP;
        camera.zoomLevel += 1;
    }
}

void zoom_out(CameraState& camera)
{
    if (camera.zoomLevel >= -MAX_ZOOM_LEVEL + 1) {
        camera.zoomScale /= ZOOM_STEP;
        camera.zoomLevel -= 1;
    }
}

void turn_left(CameraState& camera)
{
    camera.viewAngle += 90.0f;
    if (camera.viewAngle > 360.0f) camera.viewAngle = 45.0f;
}

void turn_right(CameraState& camera)
{
    camera.viewAngle -= 90.0f;
    if (camera.viewAngle < 0.0f) camera.viewAngle = 315.0f;
}

void camera_axes(float viewAngle, double right[3], double up[3], double towardViewer[3])
{
    // The rows of the camera's rotation: the turn about z, then the tilt about the screen's x.
    constexpr double DEGREES_TO_RADIANS = 3.14159265358979323846 / 180.0;
    const double turn = viewAngle * DEGREES_TO_RADIANS, tilt = CAMERA_TILT * DEGREES_TO_RADIANS;
    const double c = std::cos(turn), s = std::sin(turn), ct = std::cos(tilt), st = std::sin(tilt);
    right[0] = c;
    right[1] = -s;
    right[2] = 0;
    up[0] = ct * s;
    up[1] = ct * c;
    up[2] = st;
    towardViewer[0] = -st * s;
    towardViewer[1] = -st * c;
    towardViewer[2] = ct;
}

bool pointer_at_edge(int px, int py, int w, int h)
{
    return px < SCROLL_EDGE || px > w - SCROLL_EDGE || py < SCROLL_EDGE || py > h - SCROLL_EDGE;
}

namespace {

// Direction of the scroll for each view angle, per edge: left, right, top, bottom.
struct EdgeMoves {
    float left[2], right[2], top[2], bottom[2];
};

const EdgeMoves* moves_for(float viewAngle)
{
    static const EdgeMoves moves[4] = {
        {{+1, -1}, {-1, +1}, {-1, -1}, {+1, +1}},   // 45
        {{-1, -1}, {+1, +1}, {-1, +1}, {+1, -1}},   // 135
        {{-1, +1}, {+1, -1}, {+1, +1}, {-1, -1}},   // 225
        {{+1, +1}, {-1, -1}, {+1, -1}, {-1, +1}},   // 315
    };
    const int angle = static_cast<int>(viewAngle);
    switch (angle) {
    case 45: return &moves[0];
    case 135: return &moves[1];
    case 225: return &moves[2];
    case 315: return &moves[3];
    default: return nullptr;
    }
}

void move_bounded(float& component, float direction)
{
    component += direction * SCROLL_STEP;
    if (direction > 0 && component > 1536.0f) component -= SCROLL_STEP;
    if (direction < 0 && component < -1600.0f) component += SCROLL_STEP;
}

void move(CameraState& camera, const float step[2])
{
    move_bounded(camera.cameraTarget[0], step[0]);
    move_bounded(camera.cameraTarget[1], step[1]);
}

}  // namespace

void scroll_camera(CameraState& camera, int px, int py, int w, int h)
{
    const EdgeMoves* table = moves_for(camera.viewAngle);
    if (!table) return;
    if (px < SCROLL_EDGE) move(camera, table->left);
    if (px > w - SCROLL_EDGE) move(camera, table->right);
    if (py < SCROLL_EDGE) move(camera, table->top);
    if (py > h - SCROLL_EDGE) move(camera, table->bottom);
}

void read_follow_ball(CameraState& camera, const FollowFlags& flags, const double ball[3])
{
    if (flags.aimMode == AimMode::Off && flags.teeState != TeeState::JustPlaced) return;
    if (ball[2] >= 2999.0) return;
    for (int k = 0; k < 3; ++k) camera.followOffset[k] = static_cast<float>(-ball[k]);
}

void camera_translation(CameraState& camera, FollowFlags& flags, float out[3])
{
    if (flags.aimState != AimPhase::Idle || flags.teeState == TeeState::JustPlaced || flags.aimMode == AimMode::Redropped) {
        for (int k = 0; k < 3; ++k) out[k] = camera.cameraTarget[k] = camera.followOffset[k];
        if (flags.aimState == AimPhase::Began) flags.aimState = AimPhase::Idle;
        flags.teeState = TeeState::Idle;
        if (flags.aimMode == AimMode::Redropped) flags.aimMode = AimMode::Off;
    } else if (flags.aimMode != AimMode::Aiming) {
        for (int k = 0; k < 3; ++k) out[k] = camera.cameraTarget[k];
        float& z = camera.cameraTarget[2];
        if (z > 0.5f) z -= 0.5f;
        else if (z < -0.5f) z += 0.5f;
        else z = 0.0f;
    } else {
        out[0] = camera.cameraTarget[0];
        out[1] = camera.cameraTarget[1];
        out[2] = camera.followOffset[2];
    }
}

void follow_camera(CameraState& camera, AimMode& aimMode, AimPhase& aimState, TeeState& teeState, const double* ball,
                   float out[3])
{
    FollowFlags flags{aimMode, aimState, teeState};
    if (ball) read_follow_ball(camera, flags, ball);
    camera_translation(camera, flags, out);
    aimMode = flags.aimMode;
    aimState = flags.aimState;
    teeState = flags.teeState;
}
