// Aiming arithmetic: the putt direction and power from where the pointer is on screen.
#pragma once

struct AimResult {
    float aimAngle;    // degrees, world frame: the ball goes along (cos, sin)
    float offsetU;     // horizontal pointer-to-ball distance in pixels (aimOffset)
    float offsetV;     // vertical distance
};

// The aim for a ball seen at (bx, by) (window pixels, y from the bottom) and the pointer at
// (px, py) (y from the top), with the world turned by viewAngle: the ball is sent directly
// away from the pointer.
AimResult compute_aim_angle(float bx, float by, float px, float py, float viewAngle);

// Meter value for the offsets: half their whole-pixel sum times 0.8, clamped to 1..54.
float meter_power(float offsetU, float offsetV);
