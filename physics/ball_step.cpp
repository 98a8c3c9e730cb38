// The ball step, three per tick: drag and zone effects, rest detection with the water rule
// and the turn hand-over, the collision pass, one world step and the putter; the world tick
// around it; and the drawing of the balls and the putter, which only reads the world.
#include "physics/ball_step.h"

#include <algorithm>
#include <cmath>

#include "audio/sound_ids.h"
#include "hole/round_rules.h"
#include "hole/round_state.h"
#include "hole/hole_grid.h"
#include "physics/hole_events.h"
#include "physics/physics_hooks.h"
#include "physics/physics_local.h"
#include "physics/physics_world.h"

namespace {

double trunc_abs(double v) { return std::fabs(std::trunc(v)); }

int current_slot(const PhysicsWorld& w)
{
    return std::clamp(w.round.currentPlayer, 1, MAX_PLAYERS) - 1;
}

// A ball that came to rest in water goes back: onto the tee if it was the hole's first
// stroke, else 64 above where it last rested.
void redrop_from_water(PhysicsWorld& w, int k)
{
    BallSlot& slot = w.balls[k];
    const Tee& tee = w.grid.tee;
    bool haveTee = !(tee.x == -1 && tee.y == -1 && tee.level == -1);
    if (slot.state.strokesThisHole == 1 && haveTee) {
        place_ball(w, k, level_plus(tee.level, 2), static_cast<float>(tee.x), static_cast<float>(tee.y));
    } else {
        dBodySetLinearVel(slot.body, 0, 0, 0);
        dBodySetAngularVel(slot.body, 0, 0, 0);
        const float* r = slot.state.lastRest;
        dBodySetPosition(slot.body, r[0], r[1], r[2] + WATER_REDROP_HEIGHT);
    }
    slot.state.respawnMark = AimMode::Redropped;
    physics_event(w, EVENT_REDROP, k, -1);
}

// Counts the steps the ball has stayed near one point; true once it has stayed long enough.
bool pinned_in_place(BallPhysicsState& s, const dReal* p)
{
    double distance2 = 0;
    for (int k = 0; k < 3; ++k) distance2 += (p[k] - s.stuckAnchor[k]) * (p[k] - s.stuckAnchor[k]);
    if (s.stuckSteps == 0 || distance2 > PINNED_RADIUS * PINNED_RADIUS) {
        for (int k = 0; k < 3; ++k) s.stuckAnchor[k] = p[k];
        s.stuckSteps = 1;
    } else if (s.stuckSteps < PINNED_REST_STEPS) {
        ++s.stuckSteps;
    }
    return s.stuckSteps >= PINNED_REST_STEPS;
}

// Drag, bumper boost, spin damping and rest detection for ball k.
void settle_ball(PhysicsWorld& w, int k, int n)
{
    BallSlot& slot = w.balls[k];
    BallPhysicsState& s = slot.state;
    AimInput& aim = w.aim;
    dBodyID body = slot.body;

    const dReal* vp = dBodyGetLinearVel(body);
    double v[3] = {vp[0], vp[1], vp[2]};
    dMass mass;
    dBodyGetMass(body, &mass);
    double m = mass.mass;
    double drag = -DRAG_FACTOR * m;
    if (s.onSand) {
        s.onSand = false;
        drag *= SAND_DRAG_MULTIPLIER;
    }
    double F[3] = {drag * v[0], drag * v[1], drag * v[2]};

    if (s.bumperKick) {
        s.bumperKick = false;
        double K[2] = {m * v[0], m * v[1]};
        // A ball with no horizontal motion has no direction to be kicked in.
        if (K[0] != 0.0 || K[1] != 0.0) {
            for (int round = 0; round < BUMPER_BOOST_LIMIT && trunc_abs(K[0]) + trunc_abs(K[1]) < BUMPER_MOMENTUM; ++round) {
                K[0] *= BUMPER_BOOST;
                K[1] *= BUMPER_BOOST;
            }
            F[0] += K[0];
            F[1] += K[1];
        }
    }
    dBodyAddForce(body, F[0], F[1], F[2]);

    const dReal* wp = dBodyGetAngularVel(body);
    double spin[3] = {wp[0] * SPIN_DAMPING, wp[1] * SPIN_DAMPING, wp[2] * SPIN_DAMPING};
    dBodySetAngularVel(body, spin[0], spin[1], spin[2]);

    double S = trunc_abs(v[0]) + trunc_abs(v[1]) + trunc_abs(v[2]);
    double W = trunc_abs(spin[0] + spin[1] + spin[2]);
    if (!((S < 3 && W < 0.1) || pinned_in_place(s, dBodyGetPosition(body)))) {
        s.restSteps = 0;
        return;
    }
    dBodySetAngularVel(body, spin[0] * STILL_SPIN_DAMPING, spin[1] * STILL_SPIN_DAMPING, spin[2] * STILL_SPIN_DAMPING);
    if (s.restSteps < REST_STEPS_MAX) ++s.restSteps;
    s.atRest = s.restSteps > REST_STOP_STEP;

    // Every ball has stopped after a stroke: the turn passes.
    bool allRest = true;
    for (int b = 0; b < n; ++b) allRest = allRest && w.balls[b].state.atRest;
    if (allRest && w.stroke.strokeInFlight) {
        BallPhysicsState& mover = w.balls[current_slot(w)].state;
        aim.aimMode = mover.respawnMark;
        if (mover.struckMark) aim.aimState = AimPhase::Idle;
        for (int b = 0; b < n; ++b) {
            w.balls[b].state.respawnMark = AimMode::Off;
            w.balls[b].state.struckMark = false;
        }
        pass_turn(w.round, w.stroke.strokeTaken);
        w.stroke.strokeInFlight = false;
        w.followBall = current_slot(w);
        w.grid.teeState = TeeState::JustPlaced;
    }

    if (s.restSteps == REST_STOP_STEP && aim.aimClicks == 0) {
        // The mark of a ball put back stays until the turn passes: the ball is dropped from
        // above and stops once more before every ball is at rest.
        if (s.waterContacts > 0 && s.onWater) {
            s.waterContacts = 0;
            redrop_from_water(w, k);
        }
        if (s.waterContacts > 0) s.waterContacts = 0;
        if (aim.aimState == AimPhase::Struck) s.struckMark = true;
        s.restSteps = REST_STOP_STEP + 1;
        const dReal* p = dBodyGetPosition(body);
        s.lastRest[0] = static_cast<float>(p[0]);
        s.lastRest[1] = static_cast<float>(p[1]);
        s.lastRest[2] = static_cast<float>(p[2]);
        dBodySetLinearVel(body, 0, 0, 0);
        dBodySetAngularVel(body, 0, 0, 0);
    }
}

// Where the putter stands for the stroke being aimed or swung: behind the ball by the power
// while aiming, closing in on it through the swing.
void putter_pose(const PhysicsWorld& w, const double ball[3], double putter[3], dMatrix3 R)
{
    const AimInput& aim = w.aim;
    const StrokeState& st = w.stroke;
    double theta = aim.aimAngle * DEGREES_TO_RADIANS;
    double d = 25.0 + aim.puttPower;
    dRFromAxisAndAngle(R, 0, 0, 1, theta);
    if (!st.swingActive) {
        putter[0] = ball[0] - 1.2 * d * std::cos(theta);
        putter[1] = ball[1] - 1.2 * d * std::sin(theta);
    } else {
        double e = 13.0 + (st.followThrough > 0 ? st.followThrough : aim.puttPower);
        putter[0] = ball[0] - e * std::cos(theta);
        putter[1] = ball[1] - e * std::sin(theta);
    }
    putter[2] = ball[2] + 0.05;
}

void run_putter(PhysicsWorld& w)
{
    AimInput& aim = w.aim;
    StrokeState& st = w.stroke;
    int slotIndex = current_slot(w);
    double theta = aim.aimAngle * DEGREES_TO_RADIANS;
    float meter = power_meter_value(aim);
    if (!st.swingActive) aim.puttPower = meter;

    if (aim.struckPower != 0 && st.strokeForce == 0 && !st.swingActive) {
        st.strokeForce = aim.struckPower * STROKE_FORCE_FACTOR;
        st.swingPower = aim.struckPower;
        st.swingActive = true;
        st.followThrough = aim.puttPower < 6 ? 6.0f : 0.0f;
    }
    if (aim.struckPower != 0 && st.swingActive) {
        aim.puttPower = std::max(aim.puttPower - 1.0f, 0.0f);
        if (aim.puttPower == 0 && st.followThrough == 0) aim.struckPower = 0;
        if (aim.puttPower == 0 && st.followThrough > 0) st.followThrough -= 1;
    }
    if (aim.struckPower == 0 && st.swingActive) {
        BallSlot& ball = w.balls[slotIndex];
        double force = STROKE_FORCE_MULTIPLIER * st.strokeForce;
        dBodyAddForce(ball.body, force * std::cos(theta), force * std::sin(theta), 0);
        count_stroke(w.round, slotIndex);
        ball.state.strokesThisHole += 1;
        st.strokeTaken = true;
        st.strokeInFlight = true;
        st.strikeCount += 1;
        st.strikeStep = w.ballSteps;
        st.strikeSlot = slotIndex;
        st.strikeAngle = aim.aimAngle;
        st.strikePower = st.swingPower;
        for (int b = 0; b < balls_in_play(w); ++b) {
            w.balls[b].state.atRest = false;
            w.balls[b].state.restSteps = 0;
            w.balls[b].state.stuckSteps = 0;
        }
        physics_event(w, EVENT_PUTT, slotIndex, SOUND_PUTTER_HIT_BALL);
        st.strokeForce = 0;
        st.swingActive = false;
        aim.aimClicks = 0;
        aim.aimState = AimPhase::Struck;
        ball.state.sandContacts = 0;
    }
}

}  // namespace

int balls_in_play(const PhysicsWorld& w)
{
    return std::clamp(w.round.playerCount, 1, BALL_COUNT);
}

float power_meter_value(const AimInput& aim)
{
    int half = static_cast<int>((trunc_abs(aim.aimOffset[0]) + trunc_abs(aim.aimOffset[1])) / 2);
    return std::clamp(half * 0.8f, 1.0f, static_cast<float>(MAX_POWER));
}

namespace {

// A recorded stroke due in this step: the swing is put at its last step, so the putter
// strikes at the end of this step exactly as the player's swing did.
void strike_armed_stroke(PhysicsWorld& w)
{
    StrokeState& st = w.stroke;
    AimInput& aim = w.aim;
    aim.aimClicks = 1;
    aim.aimAngle = st.armedAngle;
    aim.struckPower = st.armedPower;
    aim.puttPower = 0;
    aim.aimState = AimPhase::Struck;
    st.strokeForce = st.armedPower * STROKE_FORCE_FACTOR;
    st.swingPower = st.armedPower;
    st.swingActive = true;
    st.followThrough = 0;
    st.armedStep = 0;
}

}  // namespace

void step_balls(PhysicsWorld& pw)
{
    if (!physics_ready(pw)) return;
    pw.ballSteps += 1;
    if (pw.stroke.armedStep != 0 && pw.stroke.armedStep == pw.ballSteps) strike_armed_stroke(pw);
    int n = balls_in_play(pw);

    for (int k = 0; k < n; ++k) settle_ball(pw, k, n);

    for (BallSlot& ball : pw.balls) {
        ball.state.onWater = false;
        ball.state.onSand = false;
    }
    // The balls against each other and the fixed geoms, then each ball against the hole. The
    // callback finds its world through the data pointer.
    dSpaceCollide(pw.space, &pw, near_callback);
    for (BallSlot& ball : pw.balls)
        if (dGeomIsEnabled(ball.geom)) dSpaceCollide2(ball.geom, reinterpret_cast<dGeomID>(pw.holeSpace), &pw, near_callback);
    apply_pending_moves(pw);
    for (BallSlot& ball : pw.balls) {
        if (!ball.state.onWater) ball.state.waterContacts = 0;
        if (!ball.state.onSand) ball.state.sandContacts = 0;
    }
    dWorldStep(pw.world, STEP_SIZE);
    dJointGroupEmpty(pw.contactGroup);

    if (pw.aim.aimClicks == 1) run_putter(pw);
}

void tick_world(PhysicsWorld& w, const TickStop& stop)
{
    if (w.bumperFlash.framesLeft > 0) w.bumperFlash.framesLeft -= 1;
    step_moving_blocks(w);
    for (int k = 0; k < BALL_STEPS_PER_FRAME; ++k) {
        step_balls(w);
        if (stop.after_step && stop.after_step(stop.user)) break;
    }
    advance_oscillation_frame(w);
}

void draw_world_balls(const PhysicsWorld& w)
{
    if (!physics_ready(w)) return;
    const PhysicsHooks& hooks = w.hooks;
    const int n = balls_in_play(w);
    double positions[BALL_COUNT][3] = {};
    for (int k = 0; k < BALL_COUNT; ++k) {
        ball_position(w, k, positions[k]);
        if (k < n && !w.round.players[k].holedOut && hooks.draw_ball)
            hooks.draw_ball(hooks.user, k, positions[k], dBodyGetRotation(w.balls[k].body), BALL_RADIUS);
    }
    if (w.aim.aimClicks != 1) return;
    const double* ball = positions[current_slot(w)];
    double putter[3];
    dMatrix3 R;
    putter_pose(w, ball, putter, R);
    if (hooks.draw_power_meter) hooks.draw_power_meter(hooks.user, power_meter_value(w.aim), ball);
    if (hooks.draw_putter) hooks.draw_putter(hooks.user, putter, R);
}

void cancel_stroke(PhysicsWorld& w)
{
    w.stroke.strokeForce = 0;
    w.stroke.swingActive = false;
    w.aim.aimClicks = 0;
    w.aim.struckPower = 0;
}
