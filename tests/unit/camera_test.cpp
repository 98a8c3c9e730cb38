// The camera's rules: zoom steps and limits, the four view angles, scrolling at the window
// edge and what the camera centres on.
#include <gtest/gtest.h>

#include <cmath>

#include "render/camera.h"

TEST(Camera, ZoomStepsStopAtThreeEachWay)
{
    CameraState camera;
    for (int k = 0; k < 4; ++k) zoom_in(camera);
    EXPECT_EQ(camera.zoomLevel, 3);
    EXPECT_FLOAT_EQ(camera.zoomScale, 1.2f * 1.2f * 1.2f);
    for (int k = 0; k < 10; ++k) zoom_out(camera);
    EXPECT_EQ(camera.zoomLevel, -3);
    EXPECT_NEAR(camera.zoomScale, 1.0 / (1.2 * 1.2 * 1.2), 1e-5);
    const float lowest = camera.zoomScale;
    zoom_out(camera);
    EXPECT_EQ(camera.zoomLevel, -3);
    EXPECT_EQ(camera.zoomScale, lowest);
}

TEST(Camera, TurningWrapsThroughTheFourAngles)
{
    CameraState camera;
    const float left[] = {135, 225, 315, 45};
    for (float expected : left) {
        turn_left(camera);
        EXPECT_EQ(camera.viewAngle, expected);
    }
    const float right[] = {315, 225, 135, 45};
    for (float expected : right) {
        turn_right(camera);
        EXPECT_EQ(camera.viewAngle, expected);
    }
}

TEST(Camera, EdgeScrollingFollowsTheTableForEachAngle)
{
    struct Case {
        float angle;
        int px, py;
        float dx, dy;
    };
    const Case cases[] = {
        {45, 5, 200, 10, -10},   {45, 595, 200, -10, 10},  {45, 300, 5, -10, -10},  {45, 300, 445, 10, 10},
        {135, 5, 200, -10, -10}, {135, 595, 200, 10, 10},  {135, 300, 5, -10, 10},  {135, 300, 445, 10, -10},
        {225, 5, 200, -10, 10},  {225, 595, 200, 10, -10}, {225, 300, 5, 10, 10},   {225, 300, 445, -10, -10},
        {315, 5, 200, 10, 10},   {315, 595, 200, -10, -10}, {315, 300, 5, 10, -10}, {315, 300, 445, -10, 10},
    };
    for (const Case& c : cases) {
        CameraState camera;
        camera.viewAngle = c.angle;
        ASSERT_TRUE(pointer_at_edge(c.px, c.py, 600, 450));
        scroll_camera(camera, c.px, c.py, 600, 450);
        EXPECT_EQ(camera.cameraTarget[0], c.dx) << c.angle << " " << c.px << "," << c.py;
        EXPECT_EQ(camera.cameraTarget[1], c.dy) << c.angle << " " << c.px << "," << c.py;
    }
    CameraState still;
    EXPECT_FALSE(pointer_at_edge(10, 10, 600, 450));
    scroll_camera(still, 10, 10, 600, 450);
    EXPECT_EQ(still.cameraTarget[0], 0);
    EXPECT_EQ(still.cameraTarget[1], 0);
}

TEST(Camera, CornerScrollingStopsAtTheGridBounds)
{
    // Top-left at 45 degrees: x goes +10 then -10, y falls 20 a frame until -1600.
    CameraState camera;
    for (int frame = 0; frame < 200; ++frame) scroll_camera(camera, 0, 0, 600, 450);
    EXPECT_EQ(camera.cameraTarget[0], 0);
    EXPECT_EQ(camera.cameraTarget[1], -1600);
    // Right edge at 45 degrees: x falls, y rises in steps of 10 from -1600, each held
    // inside -1600..1536 (a step past 1536 is taken back, so y stops at 1530).
    for (int frame = 0; frame < 400; ++frame) scroll_camera(camera, 599, 200, 600, 450);
    EXPECT_EQ(camera.cameraTarget[0], -1600);
    EXPECT_EQ(camera.cameraTarget[1], 1530);
}

TEST(Camera, AimingCentresOnTheBallAndKeepsItsHeight)
{
    CameraState camera;
    camera.cameraTarget[0] = 100;
    const double ball[3] = {40, -70, 41};
    FollowFlags flags;
    flags.aimMode = AimMode::Aiming;
    flags.aimState = AimPhase::Began;   // aiming just began: jump to the ball once
    read_follow_ball(camera, flags, ball);
    float t[3];
    camera_translation(camera, flags, t);
    EXPECT_EQ(t[0], -40);
    EXPECT_EQ(t[1], 70);
    EXPECT_EQ(t[2], -41);
    EXPECT_EQ(flags.aimState, AimPhase::Idle);
    EXPECT_EQ(camera.cameraTarget[0], -40);
    // While aiming the player may scroll x and y, but the ball's height stays.
    camera.cameraTarget[0] = -30;
    const double risen[3] = {40, -70, 73};
    read_follow_ball(camera, flags, risen);
    camera_translation(camera, flags, t);
    EXPECT_EQ(t[0], -30);
    EXPECT_EQ(t[2], -73);
}

TEST(Camera, RollingBallIsFollowedAndTurnHandOverJumpsOnce)
{
    CameraState camera;
    FollowFlags flags;
    flags.aimState = AimPhase::Struck;   // struck, rolling
    const double ball[3] = {10, 20, 9};
    read_follow_ball(camera, flags, ball);   // not aiming: the offset is not read
    float t[3];
    camera_translation(camera, flags, t);
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(flags.aimState, AimPhase::Struck);

    flags = FollowFlags();
    flags.teeState = TeeState::JustPlaced;   // the turn passed
    read_follow_ball(camera, flags, ball);
    camera_translation(camera, flags, t);
    EXPECT_EQ(t[0], -10);
    EXPECT_EQ(t[1], -20);
    EXPECT_EQ(flags.teeState, TeeState::Idle);

    flags.aimMode = AimMode::Redropped;   // a ball put back after water
    const double redropped[3] = {-5, 6, 73};
    read_follow_ball(camera, flags, redropped);
    camera_translation(camera, flags, t);
    EXPECT_EQ(t[0], 5);
    EXPECT_EQ(t[2], -73);
    EXPECT_EQ(flags.aimMode, AimMode::Off);
}

TEST(Camera, ParkedBallIsNeverTheCentre)
{
    CameraState camera;
    FollowFlags flags;
    flags.teeState = TeeState::JustPlaced;
    const double parked[3] = {18, 18, 3010};
    read_follow_ball(camera, flags, parked);
    float t[3];
    camera_translation(camera, flags, t);
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[2], 0);
}

TEST(Camera, FreeCameraHeightSettlesByHalfAFrame)
{
    CameraState camera;
    camera.cameraTarget[2] = -73;
    FollowFlags flags;
    float t[3];
    int frames = 0;
    while (camera.cameraTarget[2] != 0 && frames < 1000) {
        camera_translation(camera, flags, t);
        ++frames;
    }
    EXPECT_EQ(frames, 146);   // -73 + 145 * 0.5 = -0.5, then snapped to 0
    camera.cameraTarget[2] = 0.3f;
    camera_translation(camera, flags, t);
    EXPECT_EQ(t[2], 0.3f);
    EXPECT_EQ(camera.cameraTarget[2], 0);
}
