// While a putt is aimed, the ball being aimed and the cup show through whatever hides them
// from the camera, so a ball behind a wall is never lost.
#include <algorithm>

#include "app/shell.h"
#include "editor/picking.h"
#include "physics/physics.h"
#include "render/scene.h"
#include "render/see_through_gl.h"

void show_hidden_ball_and_cup(Session& s)
{
    const AimInput& aim = s.aim;
    const PhysicsWorld& w = s.physics;
    if (aim.aimMode != AimMode::Aiming || aim.aimClicks != 1 || aim.aimState == AimPhase::Struck) return;
    if (!physics_ready(w)) return;
    double right[3], up[3], toward[3];
    camera_axes(s.camera.viewAngle, right, up, toward);

    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j) {
            const int edges = w.grid.edges_at(i, j);
            if (edges <= 0 || !(edges & EDGE_CUP)) continue;
            const double x = tile_corner(i), y = tile_corner(j);
            const double top = 32.0 * std::max(w.grid.height_at(i, j), 0);
            const double middle[3] = {x + 32, y + 32, top};
            if (hidden_from_viewer(w.grid, w.oscillationFrame, middle, toward)) draw_cup_seen_through(x, y, top);
        }

    const int slot = w.followBall;
    if (slot < 0 || slot >= BALL_COUNT || !w.balls[slot].body) return;
    double ball[3];
    ball_position(w, slot, ball);
    if (ball[2] > PARKED_THRESHOLD_Z || !hidden_from_viewer(w.grid, w.oscillationFrame, ball, toward)) return;
    draw_ball_seen_through(s.renderer, ball_colour_of(s.round, slot), ball, ball_rotation(w, slot),
                           BALL_RADIUS);
}
