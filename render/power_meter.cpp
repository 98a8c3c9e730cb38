#include "render/power_meter.h"

#include <cmath>

#include "render/camera.h"

namespace {

constexpr double DEGREES_TO_RADIANS = 3.14159265358979323846 / 180.0;

// The box in the quarter on side (sx, sy) of the ball, each +1 or -1.
MeterBox box_in_quarter(double ballX, double ballY, int sx, int sy)
{
    const double x0 = sx > 0 ? ballX + METER_GAP : ballX - METER_GAP - METER_WIDTH;
    const double y0 = sy > 0 ? ballY + METER_GAP : ballY - METER_GAP - METER_HEIGHT;
    return {x0, y0, x0 + METER_WIDTH, y0 + METER_HEIGHT};
}

bool inside_window(const MeterBox& box, int w, int h)
{
    return box.x0 >= 0 && box.y0 >= 0 && box.x1 <= w && box.y1 <= h;
}

}  // namespace

void aim_on_screen(float aimAngle, float viewAngle, double out[2])
{
    // Turned by the view angle, then the tilt shortens what runs up the screen.
    const double turned = (static_cast<double>(aimAngle) + viewAngle) * DEGREES_TO_RADIANS;
    out[0] = std::cos(turned);
    out[1] = std::sin(turned) * std::cos(CAMERA_TILT * DEGREES_TO_RADIANS);
}

MeterBox place_power_meter(double ballX, double ballY, double aimX, double aimY, int w, int h, bool flipped)
{
    // The aim line (both ways from the ball) runs through the quarter the aim points into and
    // the one opposite; the boxes stand off both axes, so the other two quarters are clear.
    const int ax = aimX < 0 ? -1 : 1, ay = aimY < 0 ? -1 : 1;
    MeterBox sides[2] = {box_in_quarter(ballX, ballY, ax, -ay), box_in_quarter(ballX, ballY, -ax, ay)};
    auto ahead = [&](const MeterBox& box) {
        return ((box.x0 + box.x1) / 2 - ballX) * aimX + ((box.y0 + box.y1) / 2 - ballY) * aimY;
    };
    // Nearer to behind first; on a tie the right-hand one, where the meter always stood.
    const double a0 = ahead(sides[0]), a1 = ahead(sides[1]);
    if (a1 < a0 || (a1 == a0 && sides[1].x0 > sides[0].x0)) {
        const MeterBox first = sides[1];
        sides[1] = sides[0];
        sides[0] = first;
    }
    const MeterBox& chosen = sides[flipped ? 1 : 0];
    const MeterBox& other = sides[flipped ? 0 : 1];
    if (!inside_window(chosen, w, h) && inside_window(other, w, h)) return other;
    return chosen;
}
