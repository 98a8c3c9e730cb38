// The putt search: screen many putts with an early cut, refine the best, then check the
// finalists under the level's noise with common random draws and take the lowest expected
// strokes.
#include "game/computer/putt_search.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "game/computer/route_field.h"
#include "physics/physics.h"

namespace {

constexpr long SEARCH_MAX_STEPS = 4000;       // ball steps per putt (about 22 s of play)
constexpr double NO_REST_PENALTY = 4.0;        // a ball still rolling at the limit, or off the course
constexpr int REFINED_PUTTS = 4;               // best putts refined
constexpr double CUT_SPEED = 150.0;            // a ball slower than this (|vx| + |vy|) may be cut short

// Meter powers tried along promising lines, and around the ring.
const float LINE_POWERS[] = {2.4f, 4.8f, 8.0f, 12.0f, 16.8f, 22.4f, 30.4f, 40.0f, 54.0f};
const float RING_POWERS[] = {8.0f, 16.8f, 30.4f, 54.0f};

// How much of the screen each level plays.
struct ScreenPlan {
    int ringDirections;
    int ringPowers;      // the first n of RING_POWERS, spread
    int routeLines;
    int directTurns;     // reachable neighbours of the straight line tried on each side
};

ScreenPlan screen_plan(Seat seat)
{
    switch (seat) {
    case Seat::Novice: return {12, 2, 1, 0};
    case Seat::Club: return {16, 3, 2, 1};
    default: return {24, 3, 3, 1};
    }
}

double wrap_degrees(double a)
{
    a = std::remainder(a, 360.0);
    return a <= -180.0 ? a + 360.0 : a;
}

bool smooth_ground(const HoleGrid& g, int i, int j, int level)
{
    if (!tile_in_grid(i, j)) return false;
    const int k = g.kind_at(i, j);
    return g.height_at(i, j) == level && g.edges_at(i, j) == 0 &&
           (k == KIND_PLAIN || is_half_grass(k) || is_warp_exit_code(k));
}

// Watches a putt and ends it early once the ball rolls slowly over smooth open ground far
// from the cup, where drag alone decides its rest: every tile of the rest of its path must be
// smooth, level, unrailed ground, not just the tile it ends on.
struct CutWatch {
    const PhysicsWorld* world = nullptr;
    double cup[2] = {};
    bool cut = false;
    double estimate[3] = {};
};

bool cut_here(long step, void* user)
{
    CutWatch& w = *static_cast<CutWatch*>(user);
    if (step < 60) return false;
    double p[3];
    ball_position(*w.world, 0, p);
    double v[3];
    ball_velocity(*w.world, 0, v);
    if (std::fabs(v[0]) + std::fabs(v[1]) > CUT_SPEED || std::fabs(v[2]) > 5.0) return false;
    const double ahead[2] = {p[0] + v[0] / DRAG_FACTOR, p[1] + v[1] / DRAG_FACTOR};
    if (std::hypot(ahead[0] - w.cup[0], ahead[1] - w.cup[1]) < 200.0) return false;
    int i0 = 0, j0 = 0;
    if (!tile_at(p[0], p[1], i0, j0)) return false;
    const int level = w.world->grid.height_at(i0, j0);
    const double length = std::hypot(ahead[0] - p[0], ahead[1] - p[1]);
    const int samples = 1 + static_cast<int>(length / 8.0);
    for (int n = 0; n <= samples; ++n) {
        const double t = static_cast<double>(n) / samples;
        const double x = p[0] + (ahead[0] - p[0]) * t, y = p[1] + (ahead[1] - p[1]) * t;
        int i = 0, j = 0;
        // The ball's edge as well as its centre stays on smooth ground.
        for (const double dx : {-BALL_RADIUS, BALL_RADIUS})
            for (const double dy : {-BALL_RADIUS, BALL_RADIUS})
                if (!tile_at(x + dx, y + dy, i, j) || !smooth_ground(w.world->grid, i, j, level)) return false;
    }
    w.cut = true;
    w.estimate[0] = ahead[0];
    w.estimate[1] = ahead[1];
    w.estimate[2] = p[2];
    return true;
}

bool same_putt(const PointerPutt& a, const PointerPutt& b) { return a.u == b.u && a.v == b.v; }

}  // namespace

TurnSnapshot snapshot_turn(const PhysicsWorld& live, int slot)
{
    TurnSnapshot turn;
    turn.grid = live.grid;
    turn.tee = live.grid.tee;
    if (slot < 0 || slot >= BALL_COUNT) slot = 0;
    ball_position(live, slot, turn.rest.position);
    turn.rest.oscillationFrame = live.oscillationFrame;
    turn.rest.strokes = slot < MAX_PLAYERS ? live.round.players[slot].holeStrokes : 0;
    std::memcpy(turn.rest.lastRest, live.balls[slot].state.lastRest, sizeof turn.rest.lastRest);
    return turn;
}

TurnSnapshot snapshot_tee(const HoleGrid& grid)
{
    TurnSnapshot turn;
    turn.grid = grid;
    turn.tee = grid.tee;
    turn.rest = tee_rest(grid);
    return turn;
}

double strokes_from_rest(double routeTiles, double cupDistance)
{
    if (routeTiles >= ROUTE_FAR) return NO_REST_PENALTY;
    // A person holes a short putt nearly always; the longer the way, the likelier a third.
    const double tiles = std::max(routeTiles, cupDistance / TILE_SIZE);
    return 1.0 + std::min(2.5, 0.1 * tiles);
}

PuttSearch::PuttSearch(const TurnSnapshot& snapshot, Seat seatPlayed, std::uint64_t seedGiven)
    : table(std::make_unique<PuttTable>()), turn(snapshot), seat(seatPlayed), level(skill_of(seatPlayed)),
      seed(seedGiven)
{
    table->grid = turn.grid;
    if (!start_hole_play(table->world, 1)) {
        // No tee: nothing to search; the ball lies where it is and the search gives a tap.
        phase = Phase::Decided;
        chosen = pointer_putt_for(0, 1);
        return;
    }
    leave_parked_balls_out(table->world);
    field = route_distance_field(table->grid);
    hasCup = cup_centre(table->grid, cup);
    plan_screen();
}

PuttSearch::~PuttSearch()
{
    if (table) shutdown_physics(table->world);
}

PuttOutcome PuttSearch::play(const PointerPutt& putt)
{
    PuttOutcome outcome;
    if (!physics_ready(table->world)) return outcome;
    PhysicsWorld& w = table->world;
    restore_ball_rest(w, turn.tee, turn.rest);
    CutWatch cutWatch;
    cutWatch.world = &w;
    cutWatch.cup[0] = cup[0];
    cutWatch.cup[1] = cup[1];
    PuttWatch watch;
    watch.maxSteps = SEARCH_MAX_STEPS;
    watch.user = &cutWatch;
    watch.stop_early = cut_here;
    ++sims;
    const PuttResult r = play_putt(w, putt.angle, putt.power, watch);
    if (r.holed) {
        outcome.holed = true;
        outcome.value = 1.0;
        std::memcpy(outcome.position, r.position, sizeof outcome.position);
        return outcome;
    }
    if (cutWatch.cut) std::memcpy(outcome.position, cutWatch.estimate, sizeof outcome.position);
    else std::memcpy(outcome.position, r.position, sizeof outcome.position);
    if (!r.rested && !cutWatch.cut) {
        outcome.value = 1.0 + NO_REST_PENALTY;
        return outcome;
    }
    const float route = route_distance_at(field, outcome.position[0], outcome.position[1]);
    const bool onCourse = outcome.position[2] > 12.0 && outcome.position[2] < PARKED_THRESHOLD_Z;
    const double cupDistance = std::hypot(outcome.position[0] - cup[0], outcome.position[1] - cup[1]);
    outcome.value = 1.0 + (onCourse ? strokes_from_rest(route, cupDistance) : NO_REST_PENALTY);
    return outcome;
}

void PuttSearch::plan_screen()
{
    const ScreenPlan plan = screen_plan(seat);
    const double x = turn.rest.position[0], y = turn.rest.position[1];
    const double direct = hasCup ? std::atan2(cup[1] - y, cup[0] - x) * 57.29577951308232 : 0.0;
    std::vector<PointerPutt> planned;
    auto add = [&](const PointerPutt& putt) {
        for (const PointerPutt& p : planned)
            if (same_putt(p, putt)) return;
        planned.push_back(putt);
    };
    // The straight line to the cup and its reachable neighbours, at every line power.
    for (float power : LINE_POWERS) {
        const PointerPutt line = pointer_putt_for(direct, power);
        add(line);
        for (int t = 1; t <= plan.directTurns; ++t) {
            add(turn_putt(line, t));
            add(turn_putt(line, -t));
        }
    }
    // Along the route, where the straight line is blocked.
    for (double a : route_directions(table->grid, field, x, y, direct, plan.routeLines, 6.0))
        for (float power : LINE_POWERS) add(pointer_putt_for(a, power));
    // A ring for everything else (banks, ramps, warps).
    for (int n = 0; n < plan.ringDirections; ++n) {
        const double a = direct + 360.0 * n / plan.ringDirections;
        for (int k = 0; k < plan.ringPowers; ++k) {
            const int index = plan.ringPowers == 4 ? k : (k * 3) / std::max(1, plan.ringPowers - 1);
            add(pointer_putt_for(wrap_degrees(a), RING_POWERS[std::min(index, 3)]));
        }
    }
    const int reserved = REFINED_PUTTS * 8 + level.finalists * level.samples;
    const size_t cap = static_cast<size_t>(std::max(1, level.budget - reserved));
    if (planned.size() > cap) planned.resize(cap);
    jobs = std::move(planned);
    nextJob = 0;
    phase = Phase::Screen;
}

std::vector<const PuttSearch::Tried*> PuttSearch::best_distinct(int count) const
{
    std::vector<const Tried*> order;
    for (const Tried& t : tried) order.push_back(&t);
    std::stable_sort(order.begin(), order.end(),
                     [](const Tried* a, const Tried* b) { return a->outcome.value < b->outcome.value; });
    std::vector<const Tried*> kept;
    for (const Tried* t : order) {
        if (static_cast<int>(kept.size()) >= count) break;
        bool distinct = true;
        for (const Tried* k : kept) {
            const bool closeAim = std::fabs(wrap_degrees(k->putt.angle - t->putt.angle)) < 1.0 &&
                                  std::fabs(k->putt.power - t->putt.power) < 1.7f;
            distinct = distinct && !same_putt(k->putt, t->putt) && !closeAim;
        }
        if (distinct) kept.push_back(t);
    }
    return kept;
}

void PuttSearch::plan_refine()
{
    std::vector<PointerPutt> planned;
    for (const Tried* t : best_distinct(REFINED_PUTTS)) {
        const PointerPutt& p = t->putt;
        const int step = power_step_for(p.power);
        const PointerPutt around[] = {
            turn_putt(p, 1), turn_putt(p, -1), turn_putt(p, 2), turn_putt(p, -2),
            pointer_putt_for(p.angle, power_of_step(std::max(1, step - 1))),
            pointer_putt_for(p.angle, power_of_step(std::min(POWER_STEP_MAX, step + 1))),
            pointer_putt_for(p.angle, power_of_step(std::max(1, step - 3))),
            pointer_putt_for(p.angle, power_of_step(std::min(POWER_STEP_MAX, step + 3))),
        };
        for (const PointerPutt& a : around) {
            bool known = false;
            for (const Tried& k : tried) known = known || same_putt(k.putt, a);
            for (const PointerPutt& k : planned) known = known || same_putt(k, a);
            if (!known) planned.push_back(a);
        }
    }
    const long left = level.budget - sims - static_cast<long>(level.finalists) * level.samples;
    if (static_cast<long>(planned.size()) > std::max(0L, left)) planned.resize(static_cast<size_t>(std::max(0L, left)));
    jobs = std::move(planned);
    nextJob = 0;
    phase = Phase::Refine;
}

void PuttSearch::plan_check()
{
    finalists.clear();
    for (const Tried* t : best_distinct(level.finalists)) finalists.push_back(t->putt);
    if (finalists.empty()) finalists.push_back(pointer_putt_for(0, 1));
    checkSums.assign(finalists.size(), 0.0);
    // Common random draws: sample m puts the same dice on every finalist, so they are
    // compared on the same luck.
    Dice dice{seed};
    std::vector<double> powerZ, angleZ;
    for (int m = 0; m < level.samples; ++m) {
        powerZ.push_back(next_gaussian(dice));
        angleZ.push_back(next_gaussian(dice));
    }
    jobs.clear();
    const long left = level.budget - sims;
    const int samples = static_cast<int>(std::min<long>(level.samples, left / static_cast<long>(finalists.size())));
    for (int m = 0; m < samples; ++m)
        for (const PointerPutt& f : finalists) jobs.push_back(noisy_putt(f, seat, powerZ[m], angleZ[m]));
    nextJob = 0;
    phase = Phase::Check;
    if (jobs.empty()) decide();
}

void PuttSearch::decide()
{
    size_t best = 0;
    const size_t rounds = finalists.empty() ? 0 : nextJob / finalists.size();
    if (rounds > 0) {
        for (size_t f = 1; f < finalists.size(); ++f)
            if (checkSums[f] < checkSums[best]) best = f;
        chosenExpected = checkSums[best] / static_cast<double>(rounds);
    } else {
        const std::vector<const Tried*> top = best_distinct(1);
        chosenExpected = top.empty() ? 1.0 + NO_REST_PENALTY : top[0]->outcome.value;
    }
    chosen = finalists.empty() ? pointer_putt_for(0, 1) : finalists[best];
    phase = Phase::Decided;
}

bool PuttSearch::advance(int maxPutts)
{
    int played = 0;
    while (phase != Phase::Decided && played < maxPutts) {
        if (nextJob >= jobs.size()) {
            if (phase == Phase::Screen) plan_refine();
            else if (phase == Phase::Refine) plan_check();
            else decide();
            continue;
        }
        const PointerPutt putt = jobs[nextJob];
        const PuttOutcome outcome = play(putt);
        ++played;
        if (phase == Phase::Check) checkSums[nextJob % finalists.size()] += outcome.value;
        else tried.push_back({putt, outcome});
        ++nextJob;
    }
    return phase == Phase::Decided;
}
