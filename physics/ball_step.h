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

// One ball step (three per tick).
void step_balls(PhysicsWorld& w);

// Asked after every ball step of a tick; true ends the tick's ball steps there (a headless
// putt that holed out or used up its steps). The blocks' phase moves on all the same.
struct TickStop {
    bool (*after_step)(void* user) = nullptr;
    void* user = nullptr;
};

// One tick of a world, the unit the game advances by, 60 a second of play: the bumper's flash
// fades, the oscillating blocks are put where this tick's phase has them, the balls take
// BALL_STEPS_PER_FRAME steps and the phase moves on. The game, a resumed round, a network
// machine catching up, the headless putt player, the benches and the tests all advance a
// world by this and nothing else, so they play it alike bit for bit.
void tick_world(PhysicsWorld& w, const TickStop& stop = {});

// Draws the balls in play, and the putter and the power meter of a stroke being aimed or
// swung, through the world's drawing hooks. Reads the world only.
void draw_world_balls(const PhysicsWorld& w);

// Abandons a stroke being aimed or swung.
void cancel_stroke(PhysicsWorld& w);

// The power meter value for an aim offset: 1..54.
float power_meter_value(const AimInput& aim);
