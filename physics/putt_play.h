// Playing putts headless, exactly as the game does when player 1 aims and strikes: the
// hole's geometry, the ball on the tee, the swing, then ball steps until the turn passes.
// The designer's tool (simulate, hole solve, course check) and the tests use it.
#pragma once

#include <string>
#include <vector>

#include "hole/hole_grid.h"
#include "hole/round_state.h"
#include "physics/physics_hooks.h"
#include "physics/physics_world.h"

constexpr long PUTT_DEFAULT_MAX_STEPS = 30000;

// How one putt is watched. Every hook may be left null.
struct PuttWatch {
    long maxSteps = PUTT_DEFAULT_MAX_STEPS;   // ball steps at most (three per frame)
    void* user = nullptr;
    // Every physics event, with the number of the ball step it happened in (from 1).
    void (*on_event)(PhysicsEvent event, int slot, long step, void* user) = nullptr;
    // After every frame (three ball steps), with the ball steps run so far.
    void (*on_frame)(long step, void* user) = nullptr;
    // Asked after every frame; returning true ends the putt there (a search that has seen
    // enough). The result then has neither holed nor rested set.
    bool (*stop_early)(long step, void* user) = nullptr;
    // Every contact a ball makes, with the GeomRole of what it touched and the ball step.
    void (*on_contact)(int slot, int role, long step, void* user) = nullptr;
};

struct PuttResult {
    bool holed = false;       // player 1's ball dropped into the cup
    bool rested = false;      // the ball came to rest and the turn passed
    long steps = 0;           // ball steps run
    double position[3] = {};  // where the ball rests, or where it was when it dropped in
    int strokes = 0;          // player 1's strokes on the hole (counted at the cup when holed)
};

// Everything a new stroke of player 1 depends on: where the ball lies still, the phase of
// the oscillating blocks when it is struck, and the strokes already played (the water rule
// puts a ball back on the tee only after the first stroke).
struct BallRest {
    double position[3] = {};
    int oscillationFrame = 1;
    int strokes = 0;
    float lastRest[3] = {};
};

// A world of its own with the records it plays on: what the tools, the tests and searches use.
// Large (the ramp buffers): make it on the heap.
struct PuttTable {
    HoleGrid grid;
    GameState round;
    AimInput aim;
    PhysicsWorld world{grid, round, aim};
};

// Starts playing the world's grid with players players: the world made if needed, the balls
// reset, the geometry built and player 1's ball put on the tee. False when the hole has no tee.
bool start_hole_play(PhysicsWorld& w, int players);

// For a world that only ever plays the balls in play (a putt search): the parked balls are
// taken out of collision and stepping, which saves their resting contacts in every step. The
// balls in play move exactly as before; the solver treats each group of touching bodies on
// its own.
void leave_parked_balls_out(PhysicsWorld& w);

// The pointer offset (pixels) whose meter reading is closest to power.
float offset_for_power(double power);
// The meter value a power rounds to: 1, 1.6, 2.4 ... 53.6 or 54.
float meter_power_for(double power);

// Aims player 1's ball along angle degrees (0 = +x, 90 = +y) with power as the meter reads
// it, strikes, and runs whole frames until the turn passes, the ball drops into the cup or
// watch.maxSteps ball steps have run. Headless: the world's own hooks (sound, drawing,
// events) are set aside while it runs and put back afterwards.
PuttResult play_putt(PhysicsWorld& w, double angle, double power, const PuttWatch& watch);

// The hole's starting position: the ball on the tee, blocks at frame 1, no strokes.
BallRest tee_rest(const HoleGrid& grid);
// Where player 1's ball lies after a putt that did not hole out, with the blocks' phase.
BallRest capture_ball_rest(const PhysicsWorld& w);
// Puts player 1's ball back into rest (still, no stroke pending) with the tee of tee as the
// hole's tee. The world must have been started with start_hole_play.
void restore_ball_rest(PhysicsWorld& w, const Tee& tee, const BallRest& rest);

// One stroke of a recorded sequence: the direction in degrees and the meter power.
struct Putt {
    double angle = 0;
    double power = 0;
};

// Reads "ANGLE/POWER ANGLE/POWER ..." (degrees, meter power 1..54). False with a message on
// anything else.
bool parse_putts(const std::string& text, std::vector<Putt>& out, std::string* error);
// Writes putts the way parse_putts reads them ("12.35/9.6").
std::string format_putts(const std::vector<Putt>& putts);

struct ReplayResult {
    bool holed = false;
    int strokes = 0;              // strokes played (the one that holed out included)
    BallRest last;                // where the ball lay before the last stroke played
    std::vector<BallRest> rests;  // the ball's rest after each stroke that did not hole out
};

// Plays the strokes one after another from the tee of the world's grid, each from where the
// previous one left the ball, stopping at the first that holes out. Each stroke starts from
// its rest exactly as the solver's search does, so a found sequence replays the same.
ReplayResult replay_putts(PhysicsWorld& w, const std::vector<Putt>& putts, long maxStepsPerPutt = PUTT_DEFAULT_MAX_STEPS);

// Every moving part of a world between two frames: the balls' bodies and their states, the
// stroke, the blocks' phase and the step count. Restoring it puts the world back bit for bit
// (the hole's fixed geometry is not part of it).
struct WorldSnapshot {
    struct Ball {
        double position[3] = {};
        double quaternion[4] = {1, 0, 0, 0};
        double linear[3] = {};
        double angular[3] = {};
        BallPhysicsState state;
    };
    Ball balls[BALL_COUNT];
    StrokeState stroke;
    PendingMoves pendingMoves;
    BumperFlash bumperFlash;
    int followBall = 0;
    int oscillationFrame = 1;
    int cupContacts = 0;
    long ballSteps = 0;
};

// Sets each ball's rotation to itself, as restore_world does: ODE normalises a rotation it
// is given, which may move its last bits. A replay does the same at the same moment.
void renormalise_ball_rotations(PhysicsWorld& w);

// Puts the balls into the world's space in a fixed order: ODE keeps the geoms of a space in
// the order they last moved, and that order decides the order of the contacts. A hole whose
// start does this plays the same whatever the balls did before.
void reorder_ball_geoms(PhysicsWorld& w);

// The world's moving parts now; the world must be ready.
WorldSnapshot capture_world(const PhysicsWorld& w);
// How restore_world puts a ball's rotation back.
enum class RotationRestore {
    Set,     // set as kept: ODE normalises it again, as a replay does at the same moment
    Exact,   // left alone when unchanged, else set bit for bit (machines that must agree)
};
// Puts them back; does nothing when the world is not ready.
void restore_world(PhysicsWorld& w, const WorldSnapshot& snapshot, RotationRestore rotation = RotationRestore::Set);
// Sets a body's rotation to exactly q, although ODE normalises the rotation it is given.
void set_exact_quaternion(dBodyID body, const dReal* q);

// Everything ODE holds of one ball's motion.
struct BallMotion {
    double position[3] = {};
    double quaternion[4] = {1, 0, 0, 0};
    double linear[3] = {};
    double angular[3] = {};
};
BallMotion ball_motion(const PhysicsWorld& w, int slot);
// Puts it back, the rotation bit for bit.
void set_ball_motion(PhysicsWorld& w, int slot, const BallMotion& motion);

// The order of the geoms in the world's space: ODE keeps them in the order they last moved,
// and that order decides the order of the contacts. Restoring it puts every geom still in the
// space back where it stood; the handles are only compared, never followed.
std::vector<const void*> space_order(const PhysicsWorld& w);
void restore_space_order(PhysicsWorld& w, const std::vector<const void*>& order);
