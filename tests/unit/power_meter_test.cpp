// Where the power meter stands while a putt is aimed: never on the ball's line, whichever
// way the player aims, and inside the window.
#include <gtest/gtest.h>

#include <cmath>

#include "game/rules/aim.h"
#include "render/power_meter.h"

namespace {

constexpr int W = 600, H = 450;
constexpr double BX = 300, BY = 225;   // the aimed ball, centred by the camera

// The signed distances of the box's corners from the line through the ball along (dx, dy):
// the smallest and largest.
void corner_distances(const MeterBox& box, double dx, double dy, double& lowest, double& highest)
{
    const double length = std::hypot(dx, dy);
    const double xs[2] = {box.x0, box.x1}, ys[2] = {box.y0, box.y1};
    lowest = 1e9;
    highest = -1e9;
    for (double x : xs)
        for (double y : ys) {
            const double d = (dx * (y - BY) - dy * (x - BX)) / length;
            lowest = std::min(lowest, d);
            highest = std::max(highest, d);
        }
}

// How far the whole box stays from the line; 0 when the line crosses it.
double clearance(const MeterBox& box, double dx, double dy)
{
    double lowest = 0, highest = 0;
    corner_distances(box, dx, dy, lowest, highest);
    if (lowest < 0 && highest > 0) return 0;
    return std::min(std::fabs(lowest), std::fabs(highest));
}

double along(const MeterBox& box, double dx, double dy)
{
    return ((box.x0 + box.x1) / 2 - BX) * dx + ((box.y0 + box.y1) / 2 - BY) * dy;
}

}  // namespace

TEST(PowerMeter, NeitherSideEverCoversTheAimLineOrThePointerBehindTheBall)
{
    for (int degrees = 0; degrees < 360; degrees += 3) {
        const double dx = std::cos(degrees * M_PI / 180), dy = std::sin(degrees * M_PI / 180);
        const MeterBox near = place_power_meter(BX, BY, dx, dy, W, H, false);
        const MeterBox far = place_power_meter(BX, BY, dx, dy, W, H, true);
        // More than a ball's radius off the line, both ahead and behind the ball.
        EXPECT_GT(clearance(near, dx, dy), 9.0) << degrees;
        EXPECT_GT(clearance(far, dx, dy), 9.0) << degrees;
        // The right mouse button moves it across the line, and unflipped it is the one nearer
        // to behind the ball.
        double nearLow = 0, nearHigh = 0, farLow = 0, farHigh = 0;
        corner_distances(near, dx, dy, nearLow, nearHigh);
        corner_distances(far, dx, dy, farLow, farHigh);
        EXPECT_LT(nearHigh * farLow, 0) << degrees;
        EXPECT_LE(along(near, dx, dy), along(far, dx, dy)) << degrees;
    }
}

TEST(PowerMeter, StaysInsideTheWindowNearItsEdges)
{
    // A ball near the right edge aimed straight down: the right-hand side would leave the window.
    const MeterBox right = place_power_meter(560, 225, 0.0, -1.0, W, H, false);
    EXPECT_LE(right.x1, W);
    EXPECT_GT(clearance(right, 0.0, -1.0), 0.0);
    const MeterBox flipped = place_power_meter(560, 225, 0.0, -1.0, W, H, true);
    EXPECT_LE(flipped.x1, W);
    // Near the top, aimed left: the meter goes below the ball, though above would be behind.
    const MeterBox top = place_power_meter(300, 440, -1.0, 0.0, W, H, false);
    EXPECT_LE(top.y1, H);
    EXPECT_LT(top.y1, 440);
}

TEST(PowerMeter, TheScreenAimPointsAwayFromThePointerForEveryViewAngle)
{
    // With the pointer to the right of the ball the ball goes left on screen, and so on round.
    const float pointers[][2] = {{60, 0}, {40, 40}, {0, 60}, {-40, 40}, {-60, 0}, {-40, -40}, {0, -60}, {30, -50}};
    for (float view : {45.0f, 135.0f, 225.0f, 315.0f})
        for (const auto& p : pointers) {
            // compute_aim_angle takes the pointer's row from the top.
            const AimResult aim = compute_aim_angle(300, 225, 300 + p[0], 225 - p[1], view);
            double screen[2];
            aim_on_screen(aim.aimAngle, view, screen);
            const double cosine = (screen[0] * p[0] + screen[1] * p[1]) /
                                  (std::hypot(screen[0], screen[1]) * std::hypot(p[0], p[1]));
            // The tilt shortens the screen's up and down, so the two are not quite opposite.
            EXPECT_LT(cosine, -0.9) << view << " " << p[0] << "," << p[1];
        }
}
