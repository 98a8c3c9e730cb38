// The ball step: drag, sand, bumper boost, rest detection, the water rule, the turn
// hand-over, the collision pass, one world step, and the putter's swing and strike.
#pragma once

#include "hole/round_state.h"

class PhysicsWorld;

constexpr double DRAG_FACTOR = 0.3;
constexpr double SAND_DRAG_MULTIPLIER = 25.0;
constexpr double SPIN_DAMPING = 0.99;
constexpr double STILL_SPIN_DAMPING = 0.9;
constexpr int REST_STEPS_MAX = 20;
constexpr int REST_STOP_STEP = 15;           // the stop event; at rest above this
// A ball that stays within PINNED_RADIUS of one point for PINNED_REST_STEPS counts as still
// whatever its speed and spin: one held against a railing by a conveyor spins and rattles on
// the spot for ever, and the turn must pass all the same.
constexpr int PINNED_REST_STEPS = 360;       // two seconds
constexpr double PINNED_RADIUS = 12.0;       // under a fifth of a tile
constexpr double BUMPER_BOOST = 1.2;
constexpr double BUMPER_MOMENTUM = 40000.0;
constexpr int BUMPER_BOOST_LIMIT = 200;      // boost rounds at most (momentum grows 1.2x each)
constexpr double WATER_REDROP_HEIGHT = 64.0;
constexpr float STROKE_FORCE_FACTOR = 110.0f;
constexpr double STROKE_FORCE_MULTIPLIER = 19.0;
constexpr double DEGREES_TO_RADIANS = 0.017453292519943295;

// Number of balls in play: max(1, playerCount).
int balls_in_play(const PhysicsWorld& w);

// One ball step (three per frame). In the last step of the frame (drawBalls) the balls, the
// putter and the power meter are drawn through the drawing hooks.
void step_balls(PhysicsWorld& w, bool drawBalls);

// Abandons a stroke being aimed or swung.
void cancel_stroke(PhysicsWorld& w);

// The power meter value for an aim offset: 1..54.
float power_meter_value(const AimInput& aim);
