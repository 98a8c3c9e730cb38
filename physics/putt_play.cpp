// Playing putts headless: the tee, the aim and strike as the player makes them, and the
// ball steps until the ball rests or drops into the cup.
#include "physics/putt_play.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hole/round_state.h"
#include "physics/ball_step.h"
#include "physics/hole_events.h"
#include "physics/hole_geometry.h"
#include "physics/physics_local.h"
#include "physics/physics_world.h"

namespace {

// One putt under way: the world's event hook points here while it runs.
struct Running {
    PhysicsWorld* world = nullptr;
    const PuttWatch* watch = nullptr;
    long firstStep = 0;     // the world's ball steps before the putt
    long step = 0;          // ball steps of the putt so far (the one running included)
    bool struck = false;    // the putter has hit the ball
    bool holed = false;
    double cupPosition[3] = {};
    int strokesAtCup = 0;
};

// The putt's event hook: notes where player 1's ball dropped in and passes every event on to
// the watch.
void forward_event(void* user, PhysicsEvent event, int slot)
{
    Running& r = *static_cast<Running*>(user);
    r.step = r.world->ballSteps - r.firstStep;
    if (event == EVENT_CUP && slot == 0 && !r.holed) {
        r.holed = true;
        ball_position(*r.world, 0, r.cupPosition);
        r.strokesAtCup = r.world->round.players[0].holeStrokes;
    }
    if (r.watch && r.watch->on_event) r.watch->on_event(event, slot, r.step, r.watch->user);
}

void forward_contact(void* user, int slot, int role)
{
    Running& r = *static_cast<Running*>(user);
    r.step = r.world->ballSteps - r.firstStep;
    r.watch->on_contact(slot, role, r.step, r.watch->user);
}

bool has_tee(const Tee& tee) { return !(tee.level == -1 && tee.x == -1 && tee.y == -1); }

}  // namespace

bool start_hole_play(PhysicsWorld& w, int players)
{
    HoleGrid& grid = w.grid;
    if (!has_tee(grid.tee)) return false;
    init_physics(w);
    GameState& game = w.round;
    game.playerCount = players;
    game.currentPlayer = 1;
    game.currentHole = 1;
    reset_balls(w);

    build_hole_geometry(w);
    place_ball(w, 0, grid.tee.level, static_cast<float>(grid.tee.x), static_cast<float>(grid.tee.y));
    grid.teeState = TeeState::JustPlaced;
    game.ballReady = true;
    return true;
}

void leave_parked_balls_out(PhysicsWorld& w)
{
    if (!physics_ready(w)) return;
    for (int k = balls_in_play(w); k < BALL_COUNT; ++k) {
        dBodyDisable(w.balls[k].body);
        dGeomDisable(w.balls[k].geom);
    }
    // Only parked balls ever lie on the parking platform.
    if (w.parkingPlatform) dGeomDisable(w.parkingPlatform);
}

float offset_for_power(double power)
{
    // The meter reads trunc((|u| + |v|) / 2) x 0.8, clamped to 1..54.
    if (power >= MAX_POWER) return 2.0f * 68;
    long units = std::lround(power / 0.8);
    if (units < 1) units = 1;
    return 2.0f * units;
}

float meter_power_for(double power)
{
    long half = static_cast<long>(offset_for_power(power) / 2);
    float value = half * 0.8f;
    return value < 1.0f ? 1.0f : (value > MAX_POWER ? static_cast<float>(MAX_POWER) : value);
}

PuttResult play_putt(PhysicsWorld& w, double angle, double power, const PuttWatch& watch)
{
    Running r;
    r.world = &w;
    r.watch = &watch;
    // Headless: while the putt runs the world reports its events here and nowhere else (no
    // sound, no drawing), and its own hooks come back afterwards.
    const PhysicsHooks savedHooks = w.hooks;
    w.hooks = PhysicsHooks{};
    w.hooks.user = &r;
    w.hooks.on_event = forward_event;
    if (watch.on_contact) w.hooks.on_contact = forward_contact;

    // Aim and strike as the player does: the power is read from the pointer offset.
    AimInput& aim = w.aim;
    aim.aimMode = AimMode::Aiming;
    aim.aimClicks = 1;
    aim.aimAngle = static_cast<float>(std::remainder(angle, 360.0));
    aim.aimOffset[0] = offset_for_power(power);
    aim.aimOffset[1] = 0;
    aim.puttPower = power_meter_value(aim);
    aim.struckPower = aim.puttPower;
    aim.aimState = AimPhase::Struck;

    r.firstStep = w.ballSteps;
    // A tick ends early once the ball drops in or the steps are used up.
    TickStop stop;
    stop.user = &r;
    stop.after_step = [](void* user) {
        Running& run = *static_cast<Running*>(user);
        run.step = run.world->ballSteps - run.firstStep;
        if (run.world->stroke.strokeInFlight) run.struck = true;
        return run.step >= run.watch->maxSteps || run.holed;
    };
    bool rested = false;
    while (r.step < watch.maxSteps && !r.holed) {
        tick_world(w, stop);
        if (watch.on_frame) watch.on_frame(r.step, watch.user);
        // The turn passes once every ball has rested after the stroke.
        if (r.struck && !w.stroke.strokeInFlight) {
            rested = true;
            break;
        }
        if (watch.stop_early && !r.holed && watch.stop_early(r.step, watch.user)) break;
    }

    PuttResult result;
    result.holed = r.holed;
    result.rested = rested && !r.holed;
    result.steps = r.step;
    if (r.holed) {
        std::memcpy(result.position, r.cupPosition, sizeof result.position);
        result.strokes = r.strokesAtCup;
    } else {
        ball_position(w, 0, result.position);
        result.strokes = w.round.players[0].holeStrokes;
    }
    w.hooks = savedHooks;
    return result;
}

BallRest tee_rest(const HoleGrid& grid)
{
    BallRest rest;
    rest.position[0] = grid.tee.x + 32.0;
    rest.position[1] = grid.tee.y + 32.0;
    rest.position[2] = grid.tee.level * 32.0 + BALL_RADIUS;
    rest.oscillationFrame = 1;
    rest.strokes = 0;
    for (int k = 0; k < 3; ++k) rest.lastRest[k] = static_cast<float>(rest.position[k]);
    return rest;
}

BallRest capture_ball_rest(const PhysicsWorld& w)
{
    BallRest rest;
    ball_position(w, 0, rest.position);
    rest.oscillationFrame = w.oscillationFrame;
    rest.strokes = w.round.players[0].holeStrokes;
    const BallPhysicsState& s = w.balls[0].state;
    std::memcpy(rest.lastRest, s.lastRest, sizeof rest.lastRest);
    return rest;
}

void restore_ball_rest(PhysicsWorld& w, const Tee& tee, const BallRest& rest)
{
    if (!physics_ready(w)) return;
    w.grid.tee = tee;
    GameState& game = w.round;
    game.currentPlayer = 1;
    game.currentHole = 1;
    game.ballReady = true;
    game.scoreTable[0][0] = 0;
    game.players[0].holeStrokes = rest.strokes;
    set_holed_out(w, 0, false);

    BallSlot& ball = w.balls[0];
    ball.state = BallPhysicsState{};
    ball.state.strokesThisHole = rest.strokes;
    ball.state.restSteps = REST_STEPS_MAX;
    ball.state.atRest = true;
    std::memcpy(ball.state.lastRest, rest.lastRest, sizeof rest.lastRest);
    dBodySetPosition(ball.body, rest.position[0], rest.position[1], rest.position[2]);
    dBodySetLinearVel(ball.body, 0, 0, 0);
    dBodySetAngularVel(ball.body, 0, 0, 0);
    dMatrix3 identity;
    dRSetIdentity(identity);
    dBodySetRotation(ball.body, identity);

    StrokeState& st = w.stroke;
    st = StrokeState{};
    st.strokeTaken = rest.strokes > 0;
    w.aim = AimInput{};
    w.pendingMoves = PendingMoves{};
    w.cupContacts = 0;
    w.oscillationFrame = rest.oscillationFrame;
}

bool parse_putts(const std::string& text, std::vector<Putt>& out, std::string* error)
{
    out.clear();
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r')) ++at;
        if (at >= text.size()) break;
        size_t end = at;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\n' && text[end] != '\r') ++end;
        std::string word = text.substr(at, end - at);
        at = end;
        size_t slash = word.find('/');
        Putt putt;
        char* stop = nullptr;
        bool ok = slash != std::string::npos && slash > 0 && slash + 1 < word.size() && word.size() < 40;
        if (ok) {
            std::string a = word.substr(0, slash), p = word.substr(slash + 1);
            errno = 0;
            putt.angle = std::strtod(a.c_str(), &stop);
            ok = errno == 0 && *stop == '\0' && std::isfinite(putt.angle) && std::fabs(putt.angle) <= 360.0;
            if (ok) {
                putt.power = std::strtod(p.c_str(), &stop);
                ok = errno == 0 && *stop == '\0' && putt.power >= 1.0 && putt.power <= MAX_POWER;
            }
        }
        if (!ok) {
            if (error) *error = "putt '" + word.substr(0, 40) + "' is not ANGLE/POWER (degrees, power 1..54)";
            return false;
        }
        if (out.size() >= 100) {
            if (error) *error = "more than 100 putts";
            return false;
        }
        out.push_back(putt);
    }
    return true;
}

std::string format_putts(const std::vector<Putt>& putts)
{
    std::string text;
    for (const Putt& putt : putts) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%s%.2f/%.1f", text.empty() ? "" : " ", putt.angle, putt.power);
        text += buffer;
    }
    return text;
}

ReplayResult replay_putts(PhysicsWorld& w, const std::vector<Putt>& putts, long maxStepsPerPutt)
{
    ReplayResult result;
    HoleGrid& grid = w.grid;
    if (!start_hole_play(w, 1)) return result;
    const Tee tee = grid.tee;
    BallRest rest = tee_rest(grid);
    PuttWatch watch;
    watch.maxSteps = maxStepsPerPutt;
    for (const Putt& putt : putts) {
        result.last = rest;
        restore_ball_rest(w, tee, rest);
        PuttResult outcome = play_putt(w, putt.angle, putt.power, watch);
        result.strokes += 1;
        if (outcome.holed) {
            result.holed = true;
            break;
        }
        rest = capture_ball_rest(w);
        result.rests.push_back(rest);
    }
    grid.tee = tee;
    return result;
}

void renormalise_ball_rotations(PhysicsWorld& w)
{
    if (!physics_ready(w)) return;
    for (BallSlot& ball : w.balls) {
        dQuaternion q;
        dBodyCopyQuaternion(ball.body, q);
        dBodySetQuaternion(ball.body, q);
    }
}

void reorder_ball_geoms(PhysicsWorld& w)
{
    if (!physics_ready(w)) return;
    for (int k = BALL_COUNT - 1; k >= 0; --k) {
        dSpaceRemove(w.space, w.balls[k].geom);
        dSpaceAdd(w.space, w.balls[k].geom);
    }
}

WorldSnapshot capture_world(const PhysicsWorld& w)
{
    WorldSnapshot snapshot;
    if (!physics_ready(w)) return snapshot;
    for (int k = 0; k < BALL_COUNT; ++k) {
        WorldSnapshot::Ball& b = snapshot.balls[k];
        const BallMotion motion = ball_motion(w, k);
        std::memcpy(b.position, motion.position, sizeof b.position);
        std::memcpy(b.quaternion, motion.quaternion, sizeof b.quaternion);
        std::memcpy(b.linear, motion.linear, sizeof b.linear);
        std::memcpy(b.angular, motion.angular, sizeof b.angular);
        b.state = w.balls[k].state;
    }
    snapshot.stroke = w.stroke;
    snapshot.pendingMoves = w.pendingMoves;
    snapshot.bumperFlash = w.bumperFlash;
    snapshot.followBall = w.followBall;
    snapshot.oscillationFrame = w.oscillationFrame;
    snapshot.cupContacts = w.cupContacts;
    snapshot.ballSteps = w.ballSteps;
    return snapshot;
}

// ODE normalises the rotation it is given, which may move its last bits; another machine
// that never had its rotation set keeps them. So when the normalised value differs,
// neighbours of q a bit or two away are tried until one normalises to q itself.
void set_exact_quaternion(dBodyID body, const dReal* q)
{
    dBodySetQuaternion(body, q);
    if (std::memcmp(dBodyGetQuaternion(body), q, 4 * sizeof(dReal)) == 0) return;
    for (int code = 1; code < 625; ++code) {
        dReal candidate[4];
        int rest = code;
        for (int k = 0; k < 4; ++k) {
            int step = rest % 5 - 2;   // -2 .. +2 bits
            rest /= 5;
            candidate[k] = q[k];
            for (; step != 0; step += step > 0 ? -1 : 1) candidate[k] = std::nextafter(candidate[k], step > 0 ? 2.0 : -2.0);
        }
        dBodySetQuaternion(body, candidate);
        if (std::memcmp(dBodyGetQuaternion(body), q, 4 * sizeof(dReal)) == 0) return;
    }
    dBodySetQuaternion(body, q);
}

BallMotion ball_motion(const PhysicsWorld& w, int slot)
{
    BallMotion motion;
    if (slot < 0 || slot >= BALL_COUNT || !w.balls[slot].body) return motion;
    dBodyID body = w.balls[slot].body;
    const dReal* at = dBodyGetPosition(body);
    const dReal* q = dBodyGetQuaternion(body);
    const dReal* v = dBodyGetLinearVel(body);
    const dReal* a = dBodyGetAngularVel(body);
    for (int k = 0; k < 3; ++k) {
        motion.position[k] = at[k];
        motion.linear[k] = v[k];
        motion.angular[k] = a[k];
    }
    for (int k = 0; k < 4; ++k) motion.quaternion[k] = q[k];
    return motion;
}

void set_ball_motion(PhysicsWorld& w, int slot, const BallMotion& motion)
{
    if (slot < 0 || slot >= BALL_COUNT || !w.balls[slot].body) return;
    dBodyID body = w.balls[slot].body;
    dBodySetPosition(body, motion.position[0], motion.position[1], motion.position[2]);
    set_exact_quaternion(body, motion.quaternion);
    dBodySetLinearVel(body, motion.linear[0], motion.linear[1], motion.linear[2]);
    dBodySetAngularVel(body, motion.angular[0], motion.angular[1], motion.angular[2]);
}

std::vector<const void*> space_order(const PhysicsWorld& w)
{
    std::vector<const void*> order;
    if (!physics_ready(w)) return order;
    const int n = dSpaceGetNumGeoms(w.space);
    order.reserve(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) order.push_back(dSpaceGetGeom(w.space, k));
    return order;
}

void restore_space_order(PhysicsWorld& w, const std::vector<const void*>& order)
{
    if (!physics_ready(w)) return;
    // Taken out and put back from the last to the first: each goes to the front.
    for (auto g = order.rbegin(); g != order.rend(); ++g) {
        const dGeomID geom = static_cast<dGeomID>(const_cast<void*>(*g));
        if (dGeomGetSpace(geom) != w.space) continue;
        dSpaceRemove(w.space, geom);
        dSpaceAdd(w.space, geom);
    }
}

void restore_world(PhysicsWorld& w, const WorldSnapshot& snapshot, RotationRestore rotation)
{
    if (!physics_ready(w)) return;
    for (int k = 0; k < BALL_COUNT; ++k) {
        const WorldSnapshot::Ball& b = snapshot.balls[k];
        dBodyID body = w.balls[k].body;
        dBodySetPosition(body, b.position[0], b.position[1], b.position[2]);
        if (rotation == RotationRestore::Set) dBodySetQuaternion(body, b.quaternion);
        else if (std::memcmp(dBodyGetQuaternion(body), b.quaternion, sizeof b.quaternion) != 0)
            set_exact_quaternion(body, b.quaternion);
        dBodySetLinearVel(body, b.linear[0], b.linear[1], b.linear[2]);
        dBodySetAngularVel(body, b.angular[0], b.angular[1], b.angular[2]);
        w.balls[k].state = b.state;
    }
    w.stroke = snapshot.stroke;
    w.pendingMoves = snapshot.pendingMoves;
    w.bumperFlash = snapshot.bumperFlash;
    w.followBall = snapshot.followBall;
    w.oscillationFrame = snapshot.oscillationFrame;
    w.cupContacts = snapshot.cupContacts;
    w.ballSteps = snapshot.ballSteps;
}
