// Helpers for the physics tests: a fresh round and hole, events recorded, putts struck the
// way a player strikes them, frames run as the frame function runs them.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/game_state.h"
#include "hole/hole_grid.h"
#include "physics/physics.h"

namespace physics_test {

struct RecordedEvent {
    long step;
    PhysicsEvent event;
    int slot;
};

inline long stepCounter = 0;
inline std::vector<RecordedEvent> events;

inline void record_event(PhysicsEvent event, int slot) { events.push_back({stepCounter, event, slot}); }

inline int count_events(PhysicsEvent event)
{
    int n = 0;
    for (const RecordedEvent& e : events) n += e.event == event;
    return n;
}

inline long first_step_of(PhysicsEvent event)
{
    for (const RecordedEvent& e : events)
        if (e.event == event) return e.step;
    return -1;
}

// A fresh round with players, an empty hole and parked balls.
class PhysicsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        init_physics();
        physicsHooks = PhysicsHooks{};
        physicsHooks.on_event = record_event;
        events.clear();
        stepCounter = 0;
        GameState& game = gameState;
        game.playerCount = 1;
        game.currentPlayer = 1;
        game.currentHole = 1;
        game.holeAdvanceCountdown = 0;
        game.ballReady = 0;
        for (auto& row : game.scoreTable)
            for (int& score : row) score = 0;
        for (Player& p : game.players) {
            p.holeStrokes = 0;
            p.holedOut = 0;
        }
        aimInput = AimInput{};
        strokeState = StrokeState{};
        oscillationFrame = 1;
        cupContacts = 0;
        physicsWorld.followBall = 0;
        clear_hole(holeGrid);
        reset_balls();
        build_hole_geometry();
    }
    void TearDown() override { physicsHooks = PhysicsHooks{}; }
};

// Sets tile (i, j).
inline void set_tile(int i, int j, int height, int kind = KIND_PLAIN, int edges = 0)
{
    holeGrid.height_at(i, j) = height;
    holeGrid.kind_at(i, j) = kind;
    holeGrid.edges_at(i, j) = edges;
}

inline void set_tee(int i, int j)
{
    holeGrid.tee = Tee{holeGrid.height_at(i, j), static_cast<int>(tile_corner(i)), static_cast<int>(tile_corner(j))};
    holeGrid.teeState = 2;
}

// The hole starts as the round flow starts it: geometry, player 1's ball on the tee.
inline void start_hole()
{
    build_hole_geometry();
    const Tee& tee = holeGrid.tee;
    place_ball(0, tee.level, static_cast<float>(tee.x), static_cast<float>(tee.y));
    holeGrid.teeState = 3;
}

// Aims along angle (degrees) with the pointer offset whose meter reads power, and strikes.
inline void strike(float angle, float pointerOffset)
{
    AimInput& aim = aimInput;
    aim.aimMode = 1;
    aim.aimClicks = 1;
    aim.aimAngle = angle;
    aim.aimOffset[0] = pointerOffset;
    aim.aimOffset[1] = 0;
    aim.puttPower = power_meter_value();
    aim.struckPower = aim.puttPower;
    aim.aimState = 2;
}

inline void ball_step(int drawBalls = 0)
{
    ++stepCounter;
    step_balls(drawBalls);
}

// One frame: the blocks move, three ball steps, the oscillation advances.
inline void frame()
{
    step_moving_blocks(holeGrid);
    for (int k = 0; k < BALL_STEPS_PER_FRAME; ++k) ball_step(k == BALL_STEPS_PER_FRAME - 1);
    advance_oscillation_frame();
}

// Runs frames until the stroke is over (the turn passed) or the frame budget is spent.
inline bool run_stroke(int maxFrames = 4000)
{
    bool struck = false;
    for (int f = 0; f < maxFrames; ++f) {
        frame();
        if (strokeState.strokeInFlight) struck = true;
        if (struck && !strokeState.strokeInFlight) return true;
    }
    return false;
}

inline void frames(int n)
{
    for (int f = 0; f < n; ++f) frame();
}

struct Vec {
    double x, y, z;
};

inline Vec ball_at(int slot)
{
    double p[3];
    ball_position(slot, p);
    return {p[0], p[1], p[2]};
}

inline Vec ball_velocity(int slot)
{
    const dReal* v = dBodyGetLinearVel(physicsWorld.balls[slot].body);
    return {v[0], v[1], v[2]};
}

inline void set_velocity(int slot, double vx, double vy, double vz)
{
    dBodySetLinearVel(physicsWorld.balls[slot].body, vx, vy, vz);
}

inline void put_ball(int slot, double x, double y, double z)
{
    dBodySetPosition(physicsWorld.balls[slot].body, x, y, z);
    dBodySetLinearVel(physicsWorld.balls[slot].body, 0, 0, 0);
    dBodySetAngularVel(physicsWorld.balls[slot].body, 0, 0, 0);
}

// Centre of tile index i (x or y).
inline double tile_centre(int i) { return tile_corner(i) + 32.0; }

}  // namespace physics_test
