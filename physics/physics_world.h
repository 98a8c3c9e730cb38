// A physics world: its ODE world and spaces, the hole's fixed geoms, the four balls, the
// stroke under way and the hooks it reports through. Worlds are independent of one another:
// a search can play putts in a world of its own while the game's world stands still. ODE
// keeps pointers into a world's ramp buffers, so a world never moves.
#pragma once

#include <ode/ode.h>

#include "hole/hole_grid.h"
#include "hole/round_state.h"
#include "physics/hole_geometry.h"
#include "physics/physics_hooks.h"

constexpr double GRAVITY_Z = -2000.5;
constexpr double WORLD_ERP = 0.2;
constexpr double STEP_SIZE = 0.00625;          // one world step per ball step
constexpr int BALL_STEPS_PER_FRAME = 3;
constexpr double BALL_RADIUS = 9.0;
constexpr double BALL_MASS = 0.45;
constexpr double PARK_Z = 3010.0;
constexpr double PARKED_THRESHOLD_Z = 2999.0;  // a ball above this is parked, out of play
constexpr int BALL_COUNT = 4;                  // slot k belongs to player k + 1
constexpr int OSCILLATION_FRAMES = 480;

struct BallPhysicsState {
    int restSteps = 0;         // consecutive nearly-still ball steps, counted to 20
    bool atRest = false;       // restSteps > 15
    int stuckSteps = 0;        // ball steps spent near stuckAnchor (to PINNED_REST_STEPS); 0 = re-anchor
    double stuckAnchor[3] = {0, 0, 0};
    bool holedOut = false;     // in the cup (or picked up) on this hole
    int strokesThisHole = 0;   // strokes by this ball on this hole; 1 = first stroke
    int waterContacts = 0;     // water contacts in the current run, up to 2
    bool onWater = false;      // touched water in the last collision pass
    bool onSand = false;       // touched sand in the last collision pass
    int sandContacts = 0;      // sand contacts in the current run, up to 2
    bool bumperKick = false;   // the next ball step boosts the ball
    AimMode respawnMark = AimMode::Off;   // Redropped if put back after water at its last stop
    bool struckMark = false;   // stopped while the putt was struck
    float lastRest[3] = {};    // where the ball last came to rest
    bool waitsForTee = false;  // taken off the tee by a skipped turn: teed again at its next
};

struct BallSlot {
    dBodyID body = nullptr;
    dGeomID geom = nullptr;    // sphere of BALL_RADIUS attached to body
    BallPhysicsState state;
};

struct BumperFlash {
    float x = 0.0f, y = 0.0f;  // low corner of the bumper tile last hit
    int framesLeft = 0;        // frames the bumper still flashes
};

struct StrokeState {
    float strokeForce = 0.0f;    // struckPower x 110 while a swing runs
    bool swingActive = false;    // from the strike until the force is applied
    float followThrough = 0.0f;  // extra swing steps for weak strokes
    bool strokeTaken = false;    // a stroke (or pick-up) happened on this hole
    bool strokeInFlight = false; // a stroke (or pick-up) waits for the balls to rest
    float swingPower = 0.0f;     // the struck power of the swing under way
    int strikeCount = 0;         // putter hits so far (every stroke, any player)
    long strikeStep = 0;         // ballSteps of the last putter hit
    int strikeSlot = 0;          // ball the last putter hit struck
    float strikeAngle = 0.0f;    // its direction, degrees
    float strikePower = 0.0f;    // its struck power, 1..54
    long armedStep = 0;          // a recorded stroke strikes in this ball step (0 = none)
    float armedAngle = 0.0f;     // its direction, degrees
    float armedPower = 0.0f;     // its struck power
};

// Ball moves the collision pass asks for. ODE forbids moving a geom while its space is
// being collided, so warps and holed balls are carried out right after the pass, before
// the world step.
struct PendingMoves {
    bool warp[BALL_COUNT] = {};       // move the ball through the warp of entry tile (i, j)
    int warpI[BALL_COUNT] = {}, warpJ[BALL_COUNT] = {};
    bool holed[BALL_COUNT] = {};      // the ball dropped into the cup
};

constexpr int RAMP_VERTEX_CAPACITY = 4 + 4 * GRID_SIZE * GRID_SIZE;
constexpr int RAMP_INDEX_CAPACITY = 6 + 6 * GRID_SIZE * GRID_SIZE;

class PhysicsWorld {
public:
    // A world that plays grid for the round and putting input given; all three outlive it.
    // The ODE objects are made by init_physics.
    PhysicsWorld(HoleGrid& grid, GameState& round, AimInput& aim) : grid(grid), round(round), aim(aim) {}
    ~PhysicsWorld();
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    HoleGrid& grid;          // the hole this world plays
    GameState& round;        // players, strokes and scores the balls write
    AimInput& aim;           // the putt being aimed and struck

    PhysicsHooks hooks;      // sound, drawing and event reports; null hooks do nothing

    bool ready = false;                     // between init_physics and shutdown_physics
    dWorldID world = nullptr;
    dSpaceID space = nullptr;               // hash space: the balls and the fixed geoms
    dSpaceID holeSpace = nullptr;           // the hole's static geoms: a quadtree each ball is tested against
    dJointGroupID contactGroup = nullptr;   // contact joints of one step
    dGeomID groundPlane = nullptr;          // floor z = 0
    dGeomID parkingPlatform = nullptr;      // holds the balls out of play
    dGeomID boundaryPlanes[4] = {};         // walls around x, y in [-1536, 1600]
    dGeomID rampSurface = nullptr;          // triangle mesh of the ramp tops
    dTriMeshDataID rampData = nullptr;      // its collision data
    BallSlot balls[BALL_COUNT];
    BumperFlash bumperFlash;
    int followBall = 0;                     // slot the camera follows

    GeomLists geoms;                        // the hole's static geoms by role
    float rampVertices[RAMP_VERTEX_CAPACITY * 3] = {};   // x, y, z triples (ODE points into these)
    int rampIndices[RAMP_INDEX_CAPACITY] = {};           // three per triangle
    int rampVertexCount = 0;
    int rampIndexCount = 0;

    StrokeState stroke;                     // the swing and the stroke waiting for rest
    PendingMoves pendingMoves;
    int oscillationFrame = 1;               // 1..480, shared by every oscillating block
    int cupContacts = 0;                    // 0..2, 0 between events
    long ballSteps = 0;                     // ball steps run since the world was made
};

// Creates the world's ODE objects, the fixed geoms and the four parked balls; does nothing
// when they exist. The first world of the process also starts ODE.
void init_physics(PhysicsWorld& w);
// Destroys the world's ODE objects and parks its balls' state; the world can be made ready
// again. Calls no hook.
void shutdown_physics(PhysicsWorld& w);
// True between init_physics and shutdown_physics.
inline bool physics_ready(const PhysicsWorld& w) { return w.ready; }

// Puts ball slot at rest over the centre of the tile whose low corner is (tileX, tileY),
// resting on a surface at height level: (tileX + 32, tileY + 32, level * 32 + 9). With no
// players, slot 0's stroke count is cleared. Positions outside the grid are pulled back in.
void place_ball(PhysicsWorld& w, int slot, int level, float tileX, float tileY);
// Stops ball slot and puts it on its parking spot (18k, 18k, PARK_Z).
void park_ball(PhysicsWorld& w, int slot);
// Clears every ball's state (but lastRest) and the stroke flags, then parks all balls.
void reset_balls(PhysicsWorld& w);
// True when the ball is out of play on the parking platform.
bool ball_is_parked(const PhysicsWorld& w, int slot);
// The ball's centre.
void ball_position(const PhysicsWorld& w, int slot, double out[3]);
// The ball's rotation as ODE keeps it (3 x 4, row by row); identity for a slot with no ball.
const double* ball_rotation(const PhysicsWorld& w, int slot);
// The ball's velocity, units a second.
void ball_velocity(const PhysicsWorld& w, int slot, double out[3]);
// Puts the ball at `at`, still (no velocity, no spin); its rotation stays.
void place_ball_still(PhysicsWorld& w, int slot, const double at[3]);
// Moves the ball by d as it is, velocity and rotation kept.
void shift_ball(PhysicsWorld& w, int slot, const double d[3]);
// Sets the ball's rotation as ODE takes it (normalised again).
void set_ball_rotation(PhysicsWorld& w, int slot, const double quaternion[4]);

// Keeps the per-player holedOut flag and the ball's copy of it the same.
void set_holed_out(PhysicsWorld& w, int slot, bool value);
