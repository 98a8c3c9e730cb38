// The ball step, three per frame: drag and zone effects, rest detection with the water
// rule and the turn hand-over, the collision pass, one world step, drawing and the putter.
#include "physics/ball_step.h"

#include <algorithm>
#include <cmath>

#include "audio/sound_ids.h"
#include "game/game_state.h"
#include "hole/hole_grid.h"
#include "physics/physics_hooks.h"
#include "physics/physics_local.h"
#include "physics/physics_world.h"

StrokeState strokeState;

namespace {

double trunc_abs(double v) { return std::fabs(std::trunc(v)); }

int current_slot()
{
    return std::clamp(gameState.currentPlayer, 1, MAX_PLAYERS) - 1;
}

// Hands the turn to the next player who has not holed out. Bounded: if every player has
// holed out (which the hole completion normally prevents) the turn goes to player 1.
void pass_turn()
{
    GameState& game = gameState;
    for (int tries = 0; tries <= MAX_PLAYERS; ++tries) {
        if (game.currentPlayer < game.playerCount && strokeState.strokeTaken == 1) game.currentPlayer += 1;
        else game.currentPlayer = 1;
        if (game.players[current_slot()].holedOut == 0) return;
    }
    game.currentPlayer = 1;
}

// A ball that came to rest in water goes back: onto the tee if it was the hole's first
// stroke, else 64 above where it last rested.
void redrop_from_water(int k)
{
    BallSlot& slot = physicsWorld.balls[k];
    const Tee& tee = holeGrid.tee;
    bool haveTee = !(tee.x == -1 && tee.y == -1 && tee.level == -1);
    if (slot.state.strokesThisHole == 1 && haveTee) {
        place_ball(k, level_plus(tee.level, 2), static_cast<float>(tee.x), static_cast<float>(tee.y));
    } else {
        dBodySetLinearVel(slot.body, 0, 0, 0);
        dBodySetAngularVel(slot.body, 0, 0, 0);
        const float* r = slot.state.lastRest;
        dBodySetPosition(slot.body, r[0], r[1], r[2] + WATER_REDROP_HEIGHT);
    }
    slot.state.respawnMark = 3;
    physics_event(EVENT_REDROP, k, -1);
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
void settle_ball(int k, int n)
{
    BallSlot& slot = physicsWorld.balls[k];
    BallPhysicsState& s = slot.state;
    AimInput& aim = aimInput;
    dBodyID body = slot.body;

    const dReal* vp = dBodyGetLinearVel(body);
    double v[3] = {vp[0], vp[1], vp[2]};
    dMass mass;
    dBodyGetMass(body, &mass);
    double m = mass.mass;
    double drag = -DRAG_FACTOR * m;
    if (s.onSand) {
        s.onSand = 0;
        drag *= SAND_DRAG_MULTIPLIER;
    }
    double F[3] = {drag * v[0], drag * v[1], drag * v[2]};

    if (s.bumperKick == 1) {
        s.bumperKick = 0;
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
    double w[3] = {wp[0] * SPIN_DAMPING, wp[1] * SPIN_DAMPING, wp[2] * SPIN_DAMPING};
    dBodySetAngularVel(body, w[0], w[1], w[2]);

    double S = trunc_abs(v[0]) + trunc_abs(v[1]) + trunc_abs(v[2]);
    double W = trunc_abs(w[0] + w[1] + w[2]);
    if (!((S < 3 && W < 0.1) || pinned_in_place(s, dBodyGetPosition(body)))) {
        s.restSteps = 0;
        return;
    }
    dBodySetAngularVel(body, w[0] * STILL_SPIN_DAMPING, w[1] * STILL_SPIN_DAMPING, w[2] * STILL_SPIN_DAMPING);
    if (s.restSteps < REST_STEPS_MAX) ++s.restSteps;
    s.atRest = s.restSteps > REST_STOP_STEP ? 1 : 0;

    // Every ball has stopped after a stroke: the turn passes.
    bool allRest = true;
    for (int b = 0; b < n; ++b) allRest = allRest && physicsWorld.balls[b].state.atRest == 1;
    if (allRest && strokeState.strokeInFlight == 1) {
        BallPhysicsState& mover = physicsWorld.balls[current_slot()].state;
        aim.aimMode = mover.respawnMark;
        if (mover.struckMark == 1) aim.aimState = 0;
        for (int b = 0; b < n; ++b) {
            physicsWorld.balls[b].state.respawnMark = 0;
            physicsWorld.balls[b].state.struckMark = 0;
        }
        pass_turn();
        strokeState.strokeInFlight = 0;
        physicsWorld.followBall = current_slot();
        holeGrid.teeState = 3;
    }

    if (s.restSteps == REST_STOP_STEP && aim.aimClicks == 0) {
        // The mark of a ball put back stays until the turn passes: the ball is dropped from
        // above and stops once more before every ball is at rest.
        if (s.waterContacts > 0 && s.onWater == 1) {
            s.waterContacts = 0;
            redrop_from_water(k);
        }
        if (s.waterContacts > 0) s.waterContacts = 0;
        if (aim.aimState == 2) s.struckMark = 1;
        s.restSteps = REST_STOP_STEP + 1;
        const dReal* p = dBodyGetPosition(body);
        s.lastRest[0] = static_cast<float>(p[0]);
        s.lastRest[1] = static_cast<float>(p[1]);
        s.lastRest[2] = static_cast<float>(p[2]);
        dBodySetLinearVel(body, 0, 0, 0);
        dBodySetAngularVel(body, 0, 0, 0);
    }
}

void run_putter(int drawBalls, const double ballPos[BALL_COUNT][3])
{
    AimInput& aim = aimInput;
    StrokeState& st = strokeState;
    int slotIndex = current_slot();
    double theta = aim.aimAngle * DEGREES_TO_RADIANS;
    double d = 25.0 + aim.puttPower;
    dMatrix3 R;
    dRFromAxisAndAngle(R, 0, 0, 1, theta);
    const double* B = ballPos[slotIndex];
    double putter[3];
    if (st.swingActive == 0) {
        putter[0] = B[0] - 1.2 * d * std::cos(theta);
        putter[1] = B[1] - 1.2 * d * std::sin(theta);
    } else {
        double e = 13.0 + (st.followThrough > 0 ? st.followThrough : aim.puttPower);
        putter[0] = B[0] - e * std::cos(theta);
        putter[1] = B[1] - e * std::sin(theta);
    }
    putter[2] = B[2] + 0.05;

    float meter = power_meter_value();
    if (drawBalls == 1) {
        if (physicsHooks.draw_power_meter) physicsHooks.draw_power_meter(meter, B);
        if (physicsHooks.draw_putter) physicsHooks.draw_putter(putter, R);
    }
    if (st.swingActive == 0) aim.puttPower = meter;

    if (aim.struckPower != 0 && st.strokeForce == 0 && st.swingActive == 0) {
        st.strokeForce = aim.struckPower * STROKE_FORCE_FACTOR;
        st.swingActive = 1;
        st.followThrough = aim.puttPower < 6 ? 6.0f : 0.0f;
    }
    if (aim.struckPower != 0 && st.swingActive == 1) {
        aim.puttPower = std::max(aim.puttPower - 1.0f, 0.0f);
        if (aim.puttPower == 0 && st.followThrough == 0) aim.struckPower = 0;
        if (aim.puttPower == 0 && st.followThrough > 0) st.followThrough -= 1;
    }
    if (aim.struckPower == 0 && st.swingActive == 1) {
        BallSlot& ball = physicsWorld.balls[slotIndex];
        double force = STROKE_FORCE_MULTIPLIER * st.strokeForce;
        dBodyAddForce(ball.body, force * std::cos(theta), force * std::sin(theta), 0);
        gameState.players[slotIndex].holeStrokes += 1;
        ball.state.strokesThisHole += 1;
        st.strokeTaken = 1;
        st.strokeInFlight = 1;
        for (int b = 0; b < balls_in_play(); ++b) {
            physicsWorld.balls[b].state.atRest = 0;
            physicsWorld.balls[b].state.restSteps = 0;
            physicsWorld.balls[b].state.stuckSteps = 0;
        }
        physics_event(EVENT_PUTT, slotIndex, SOUND_PUTTER_HIT_BALL);
        st.strokeForce = 0;
        st.swingActive = 0;
        aim.aimClicks = 0;
        aim.aimState = 2;
        ball.state.sandContacts = 0;
    }
}

}  // namespace

int balls_in_play()
{
    return std::clamp(gameState.playerCount, 1, BALL_COUNT);
}

float power_meter_value()
{
    const AimInput& aim = aimInput;
    int half = static_cast<int>((trunc_abs(aim.aimOffset[0]) + trunc_abs(aim.aimOffset[1])) / 2);
    return std::clamp(half * 0.8f, 1.0f, static_cast<float>(MAX_POWER));
}

void step_balls(int drawBalls)
{
    if (!physics_ready()) return;
    PhysicsWorld& pw = physicsWorld;
    int n = balls_in_play();

    for (int k = 0; k < n; ++k) settle_ball(k, n);

    for (BallSlot& ball : pw.balls) {
        ball.state.onWater = 0;
        ball.state.onSand = 0;
    }
    // The balls against each other and the fixed geoms, then each ball against the hole.
    dSpaceCollide(pw.space, nullptr, near_callback);
    for (BallSlot& ball : pw.balls) dSpaceCollide2(ball.geom, reinterpret_cast<dGeomID>(pw.holeSpace), nullptr, near_callback);
    apply_pending_moves();
    for (BallSlot& ball : pw.balls) {
        if (ball.state.onWater == 0) ball.state.waterContacts = 0;
        if (ball.state.onSand == 0) ball.state.sandContacts = 0;
    }
    dWorldStep(pw.world, STEP_SIZE);
    dJointGroupEmpty(pw.contactGroup);

    double positions[BALL_COUNT][3] = {};
    for (int k = 0; k < BALL_COUNT; ++k) {
        ball_position(k, positions[k]);
        if (k < n && drawBalls == 1 && gameState.players[k].holedOut == 0 && physicsHooks.draw_ball)
            physicsHooks.draw_ball(k, positions[k], dBodyGetRotation(pw.balls[k].body), BALL_RADIUS);
    }
    if (aimInput.aimClicks == 1) run_putter(drawBalls, positions);
}

void cancel_stroke()
{
    strokeState.strokeForce = 0;
    strokeState.swingActive = 0;
    aimInput.aimClicks = 0;
    aimInput.struckPower = 0;
}
