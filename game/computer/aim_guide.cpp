// The aim guide's putt: played like the computer's search plays its putts, but it stops at
// the ball's first contact with anything that is not ground.
#include "game/computer/aim_guide.h"

#include <cmath>
#include <cstring>

#include "game/computer/putt_search.h"
#include "physics/ball_step.h"
#include "physics/hole_geometry.h"
#include "physics/physics.h"

namespace {

struct GuideWatch {
    PhysicsWorld* world = nullptr;
    AimGuidePath* path = nullptr;
};

void note_point(GuideWatch& g)
{
    std::array<double, 3> p{};
    ball_position(*g.world, 0, p.data());
    g.path->points.push_back(p);
}

// The world's contact hook during the guide's putt: the first contact of the putted ball with
// something not ground ends the path at the ball's place in that step.
void on_guide_contact(int slot, int role, long, void* user)
{
    GuideWatch& g = *static_cast<GuideWatch*>(user);
    if (slot != 0 || g.path->touched || !g.world->stroke.strokeInFlight) return;
    if (guide_counts_as_ground(role)) return;
    g.path->touched = true;
    g.path->touchedRole = role;
    note_point(g);
}

void on_guide_frame(long, void* user)
{
    GuideWatch& g = *static_cast<GuideWatch*>(user);
    if (!g.path->touched) note_point(g);
}

bool guide_done(long, void* user) { return static_cast<GuideWatch*>(user)->path->touched; }

// A ball lying still may creep by far less than anything drawn; a sixteenth of a unit counts
// as the same place, so creeping does not make the guide play again every frame.
bool near_same(const double* a, const double* b)
{
    for (int c = 0; c < 3; ++c)
        if (std::fabs(a[c] - b[c]) >= 1.0 / 16) return false;
    return true;
}

bool near_same(const BallPlaces& a, const BallPlaces& b)
{
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k)
        if (!near_same(a[k].data(), b[k].data())) return false;
    return true;
}

}  // namespace

bool guide_counts_as_ground(int role)
{
    return role == ROLE_NONE || role == ROLE_GROUND || role == ROLE_RAMP_SURFACE || role == ROLE_CONVEYOR ||
           role == ROLE_SAND;
}

AimGuidePath trace_aim_guide(PhysicsWorld& w, const Tee& tee, const BallRest& rest, double angle, double power,
                             long maxSteps, const BallPlaces& others)
{
    AimGuidePath path;
    restore_ball_rest(w, tee, rest);
    for (int k = 1; k < BALL_COUNT; ++k) {
        BallSlot& ball = w.balls[k];
        if (static_cast<size_t>(k) > others.size()) {
            park_ball(w, k);
            continue;
        }
        const std::array<double, 3>& at = others[k - 1];
        ball.state = BallPhysicsState{};
        ball.state.atRest = true;
        ball.state.restSteps = REST_STEPS_MAX;
        place_ball_still(w, k, at.data());
    }
    GuideWatch g;
    g.world = &w;
    g.path = &path;
    note_point(g);
    PuttWatch watch;
    watch.maxSteps = maxSteps;
    watch.user = &g;
    watch.on_frame = on_guide_frame;
    watch.stop_early = guide_done;
    watch.on_contact = on_guide_contact;
    const PuttResult result = play_putt(w, angle, power, watch);
    path.steps = result.steps;
    return path;
}

AimGuide::AimGuide() = default;
AimGuide::~AimGuide()
{
    if (table) shutdown_physics(table->world);
}

bool AimGuide::same_hole(const HoleGrid& grid) const
{
    const HoleGrid& mine = table->grid;
    return std::memcmp(mine.height, grid.height, sizeof grid.height) == 0 &&
           std::memcmp(mine.kind, grid.kind, sizeof grid.kind) == 0 &&
           std::memcmp(mine.edges, grid.edges, sizeof grid.edges) == 0;
}

void AimGuide::clear() { valid = false; current = AimGuidePath{}; }

bool AimGuide::update(const PhysicsWorld& live, int slot, double angleNow, double powerNow)
{
    if (!table) table = std::make_unique<PuttTable>();
    const TurnSnapshot turn = snapshot_turn(live, slot);
    // The other balls on the hole: still, not parked, not in the cup.
    BallPlaces othersNow;
    for (int k = 0; k < BALL_COUNT; ++k) {
        if (k == slot || !live.balls[k].body || ball_is_parked(live, k) || live.balls[k].state.holedOut) continue;
        std::array<double, 3> at{};
        ball_position(live, k, at.data());
        othersNow.push_back(at);
    }
    const bool holeChanged = !started || !same_hole(live.grid);
    const bool ballMoved = !near_same(rest.position, turn.rest.position) || rest.strokes != turn.rest.strokes ||
                           !near_same(others, othersNow);
    if (valid && !holeChanged && !ballMoved && angle == angleNow && power == powerNow) return false;
    if (holeChanged) {
        table->grid = live.grid;
        started = start_hole_play(table->world, 1);
    }
    rest = turn.rest;
    others = othersNow;
    angle = angleNow;
    power = powerNow;
    valid = true;
    ++played;
    current = started ? trace_aim_guide(table->world, turn.tee, turn.rest, angle, power, AIM_GUIDE_MAX_STEPS, others) : AimGuidePath{};
    return true;
}
