// Helpers for the physics tests: a world of its own with a fresh round and hole, events
// recorded, putts struck the way a player strikes them, frames run as the frame function runs
// them. The fixture names the world's parts as the game names them, so a test reads like the
// rules it checks.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "hole/hole_grid.h"
#include "hole/round_state.h"
#include "physics/physics.h"
#include "physics/putt_play.h"

namespace physics_test {

struct RecordedEvent {
    long step;
    PhysicsEvent event;
    int slot;
};

struct Vec {
    double x, y, z;
};

// Centre of tile index i (x or y).
inline double tile_centre(int i) { return tile_corner(i) + 32.0; }

// A fresh round with players, an empty hole and parked balls, in a world of the test's own.
class PhysicsTest : public ::testing::Test {
public:
    PhysicsTest() : table(std::make_unique<PuttTable>()), physicsWorld(table->world) {}
    // A fixture that brings a world of its own (a round's session) plays in that one.
    explicit PhysicsTest(PhysicsWorld& world) : physicsWorld(world) {}

    std::unique_ptr<PuttTable> table;   // the test's own world, unless one is brought
    PhysicsWorld& physicsWorld;
    HoleGrid& holeGrid = physicsWorld.grid;
    GameState& gameState = physicsWorld.round;
    AimInput& aimInput = physicsWorld.aim;
    PhysicsHooks& physicsHooks = physicsWorld.hooks;
    StrokeState& strokeState = physicsWorld.stroke;
    GeomLists& geomLists = physicsWorld.geoms;
    int& oscillationFrame = physicsWorld.oscillationFrame;
    int& cupContacts = physicsWorld.cupContacts;

    long stepCounter = 0;
    std::vector<RecordedEvent> events;

    static void record_event(void* user, PhysicsEvent event, int slot)
    {
        PhysicsTest& test = *static_cast<PhysicsTest*>(user);
        test.events.push_back({test.stepCounter, event, slot});
    }

    void SetUp() override
    {
        init_physics(physicsWorld);
        physicsHooks = PhysicsHooks{};
        physicsHooks.user = this;
        physicsHooks.on_event = record_event;
        events.clear();
        stepCounter = 0;
        GameState& game = gameState;
        game.playerCount = 1;
        game.currentPlayer = 1;
        game.currentHole = 1;
        clear_hole(holeGrid);
        ::reset_balls(physicsWorld);
        ::build_hole_geometry(physicsWorld);
    }

    int count_events(PhysicsEvent event) const
    {
        int n = 0;
        for (const RecordedEvent& e : events) n += e.event == event;
        return n;
    }

    long first_step_of(PhysicsEvent event) const
    {
        for (const RecordedEvent& e : events)
            if (e.event == event) return e.step;
        return -1;
    }

    // The world's operations on the test's world.
    void build_hole_geometry() { ::build_hole_geometry(physicsWorld); }
    void place_ball(int slot, int level, float x, float y) { ::place_ball(physicsWorld, slot, level, x, y); }
    void reset_balls() { ::reset_balls(physicsWorld); }
    bool ball_is_parked(int slot) const { return ::ball_is_parked(physicsWorld, slot); }
    void set_holed_out(int slot, bool value) { ::set_holed_out(physicsWorld, slot, value); }
    void step_balls() { ::step_balls(physicsWorld); }
    void pick_up_ball() { ::pick_up_ball(physicsWorld); }
    void ball_holed(int slot) { ::ball_holed(physicsWorld, slot); }
    void ball_position(int slot, double out[3]) const { ::ball_position(physicsWorld, slot, out); }
    size_t hole_geom_count() const { return ::hole_geom_count(physicsWorld); }
    float moving_block_top(int H) const { return ::moving_block_top(oscillationFrame, H); }

    // Sets tile (i, j).
    void set_tile(int i, int j, int height, int kind = KIND_PLAIN, int edges = 0)
    {
        holeGrid.height_at(i, j) = height;
        holeGrid.kind_at(i, j) = kind;
        holeGrid.edges_at(i, j) = edges;
    }

    void set_tee(int i, int j)
    {
        holeGrid.tee = Tee{holeGrid.height_at(i, j), static_cast<int>(tile_corner(i)), static_cast<int>(tile_corner(j))};
        holeGrid.teeState = TeeState::Waiting;
    }

    // The hole starts as the round flow starts it: geometry, player 1's ball on the tee.
    void start_hole()
    {
        build_hole_geometry();
        const Tee& tee = holeGrid.tee;
        place_ball(0, tee.level, static_cast<float>(tee.x), static_cast<float>(tee.y));
        holeGrid.teeState = TeeState::JustPlaced;
    }

    // Aims along angle (degrees) with the pointer offset whose meter reads power, and strikes.
    void strike(float angle, float pointerOffset)
    {
        AimInput& aim = aimInput;
        aim.aimMode = AimMode::Aiming;
        aim.aimClicks = 1;
        aim.aimAngle = angle;
        aim.aimOffset[0] = pointerOffset;
        aim.aimOffset[1] = 0;
        aim.puttPower = power_meter_value(aim);
        aim.struckPower = aim.puttPower;
        aim.aimState = AimPhase::Struck;
    }

    void ball_step()
    {
        ++stepCounter;
        step_balls();
    }

    // One tick of the world, as the game plays it.
    void frame()
    {
        tick_world(physicsWorld);
        stepCounter += BALL_STEPS_PER_FRAME;
    }

    // Runs frames until the stroke is over (the turn passed) or the frame budget is spent.
    bool run_stroke(int maxFrames = 4000)
    {
        bool struck = false;
        for (int f = 0; f < maxFrames; ++f) {
            frame();
            if (strokeState.strokeInFlight) struck = true;
            if (struck && !strokeState.strokeInFlight) return true;
        }
        return false;
    }

    void frames(int n)
    {
        for (int f = 0; f < n; ++f) frame();
    }

    Vec ball_at(int slot) const
    {
        double p[3];
        ball_position(slot, p);
        return {p[0], p[1], p[2]};
    }

    Vec ball_velocity(int slot) const
    {
        const dReal* v = dBodyGetLinearVel(physicsWorld.balls[slot].body);
        return {v[0], v[1], v[2]};
    }

    void set_velocity(int slot, double vx, double vy, double vz)
    {
        dBodySetLinearVel(physicsWorld.balls[slot].body, vx, vy, vz);
    }

    void put_ball(int slot, double x, double y, double z)
    {
        dBodySetPosition(physicsWorld.balls[slot].body, x, y, z);
        dBodySetLinearVel(physicsWorld.balls[slot].body, 0, 0, 0);
        dBodySetAngularVel(physicsWorld.balls[slot].body, 0, 0, 0);
    }
};

}  // namespace physics_test

// A railed lane of height 1 from (22, 8) to (26, 24), the cup on (24, 20) and the tee on
// (24, teeJ).
inline void make_straight_hole(HoleGrid& grid, int teeJ = 12)
{
    clear_hole(grid);
    for (int i = 22; i <= 26; ++i) {
        for (int j = 8; j <= 24; ++j) {
            int edges = 0;
            if (i == 22) edges |= EDGE_RAIL_XMIN;
            if (i == 26) edges |= EDGE_RAIL_XMAX;
            if (j == 8) edges |= EDGE_RAIL_YMIN;
            if (j == 24) edges |= EDGE_RAIL_YMAX;
            grid.height_at(i, j) = 1;
            grid.edges_at(i, j) = edges;
        }
    }
    grid.edges_at(24, 20) = EDGE_CUP;
    grid.tee = {1, static_cast<int>(tile_corner(24)), static_cast<int>(tile_corner(teeJ))};
}
