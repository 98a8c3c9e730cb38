// The one ODE world of the program: its fixed geoms, the four balls and the operations that
// put a ball somewhere.
#pragma once

#include <ode/ode.h>

constexpr double GRAVITY_Z = -2000.5;
constexpr double WORLD_ERP = 0.2;
constexpr double STEP_SIZE = 0.00625;          // one world step per ball step
constexpr int BALL_STEPS_PER_FRAME = 3;
constexpr double BALL_RADIUS = 9.0;
constexpr double BALL_MASS = 0.45;
constexpr double PARK_Z = 3010.0;
constexpr double PARKED_THRESHOLD_Z = 2999.0;  // a ball above this is parked, out of play
constexpr int BALL_COUNT = 4;                  // slot k belongs to player k + 1

struct BallPhysicsState {
    int restSteps = 0;         // consecutive nearly-still ball steps, counted to 20
    int atRest = 0;            // restSteps > 15
    int stuckSteps = 0;        // ball steps spent near stuckAnchor (to PINNED_REST_STEPS); 0 = re-anchor
    double stuckAnchor[3] = {0, 0, 0};
    int holedOut = 0;          // in the cup (or picked up) on this hole
    int strokesThisHole = 0;   // strokes by this ball on this hole; 1 = first stroke
    int waterContacts = 0;     // water contacts in the current run, up to 2
    int onWater = 0;           // touched water in the last collision pass
    int onSand = 0;            // touched sand in the last collision pass
    int sandContacts = 0;      // sand contacts in the current run, up to 2
    int bumperKick = 0;        // the next ball step boosts the ball
    int respawnMark = 0;       // 3 if put back after water at its last stop
    int struckMark = 0;        // stopped while the aim state was "struck"
    float lastRest[3] = {};    // where the ball last came to rest
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

struct PhysicsWorld {
    dWorldID world = nullptr;
    dSpaceID space = nullptr;               // hash space holding every geom
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
};

extern PhysicsWorld physicsWorld;

// Creates the world, the fixed geoms and the four parked balls. Call once at start-up.
void init_physics();
// Destroys the contact group, the space and the world; with sound on, shuts the audio down.
void shutdown_physics();
// True between init_physics and shutdown_physics.
bool physics_ready();

// Puts ball slot at rest over the centre of the tile whose low corner is (tileX, tileY),
// resting on a surface at height level: (tileX + 32, tileY + 32, level * 32 + 9). With no
// players, slot 0's stroke count is cleared. Positions outside the grid are pulled back in.
void place_ball(int slot, int level, float tileX, float tileY);
// Stops ball slot and puts it on its parking spot (18k, 18k, PARK_Z).
void park_ball(int slot);
// Clears every ball's state (but lastRest) and the stroke flags, then parks all balls.
void reset_balls();
// True when the ball is out of play on the parking platform.
bool ball_is_parked(int slot);
// The ball's centre.
void ball_position(int slot, double out[3]);

// Keeps the per-player holedOut flag and the ball's copy of it the same.
void set_holed_out(int slot, int value);
