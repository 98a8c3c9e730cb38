// Where the power meter stands on screen while a putt is aimed: beside the ball, clear of the
// line the ball will run along and of the pointer and putter behind it.
#pragma once

// The meter's white border in window pixels, rows counted from the bottom.
struct MeterBox {
    double x0, y0;   // lower left corner
    double x1, y1;   // upper right corner
};

constexpr double METER_WIDTH = 114.0;   // the white border across
constexpr double METER_HEIGHT = 22.0;   // and up
constexpr double METER_GAP = 19.0;      // from the ball's centre to the box, across and up

// The screen direction (x right, y up, not of unit length) in which a ball sent along world
// angle aimAngle (degrees) first moves, with the world turned by viewAngle (degrees) and
// tilted as the camera shows it.
void aim_on_screen(float aimAngle, float viewAngle, double out[2]);

// The meter's box for a ball seen at (ballX, ballY) whose putt runs along (aimX, aimY) on
// screen, in a window of w x h pixels. The box takes one of the two quarters round the ball
// that the aim line does not pass through, so neither the path ahead nor the pointer and
// putter behind are covered: the quarter nearer to behind the ball, or the other one when
// flipped (the right mouse button). A box that would leave the window while the other quarter
// keeps it inside moves there.
MeterBox place_power_meter(double ballX, double ballY, double aimX, double aimY, int w, int h, bool flipped);
