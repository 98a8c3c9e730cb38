// The physics world: creation, the fixed geoms, the four balls and where they are put.
#include "physics/physics_world.h"

#include <algorithm>
#include <mutex>

#include "hole/round_state.h"
#include "hole/hole_grid.h"
#include "physics/ball_step.h"
#include "physics/hole_geometry.h"
#include "physics/physics_hooks.h"
#include "physics/physics_local.h"

namespace {

constexpr int HOLE_SPACE_DEPTH = 6;

// The ramp surface starts as a 10 x 10 square at the world origin; hole builds keep these
// four vertices and two triangles at the head of the arrays.
void reset_ramp_placeholder(PhysicsWorld& w)
{
    static const float placeholder[12] = {0, 0, 0, 10, 10, 0, 0, 10, 0, 10, 0, 0};
    static const int placeholderIndices[6] = {0, 1, 2, 0, 3, 1};
    std::copy(placeholder, placeholder + 12, w.rampVertices);
    std::copy(placeholderIndices, placeholderIndices + 6, w.rampIndices);
    w.rampVertexCount = 4;
    w.rampIndexCount = 6;
}

void parking_spot(int slot, double out[3])
{
    out[0] = 18.0 * slot;
    out[1] = 18.0 * slot;
    out[2] = PARK_Z;
}

bool valid_slot(int slot) { return slot >= 0 && slot < BALL_COUNT; }

// ODE is started once for the process and stays up: worlds come and go in any order (a search
// makes its own). Each thread that makes a world gets ODE's per-thread data; ODE as Debian
// builds it must still never collide on two threads at once.
void start_ode()
{
    static std::once_flag started;
    std::call_once(started, [] { dInitODE2(0); });
    dAllocateODEDataForThread(dAllocateMaskAll);
}

}  // namespace

int clamp_level(int height) { return std::clamp(height, 0, MAX_HEIGHT); }

int ball_slot_of(dGeomID geom)
{
    return geom_role(geom) == ROLE_BALL ? geom_role_index(geom) : -1;
}

PhysicsWorld::~PhysicsWorld() { shutdown_physics(*this); }

void init_physics(PhysicsWorld& pw)
{
    if (pw.ready) return;
    start_ode();

    pw.world = dWorldCreate();
    pw.space = dHashSpaceCreate(nullptr);
    pw.contactGroup = dJointGroupCreate(0);
    // The hole's few thousand static geoms sit in a quadtree of their own, its
    // leaves exactly one tile: a ball is then tested against the geoms of the tiles it is
    // over instead of the hash space sorting every column of the hole in every step.
    {
        const double span = 64.0 * TILE_SIZE;   // 4096: 64 tiles, six halvings down to one
        dVector3 centre = {GRID_ORIGIN + span / 2, GRID_ORIGIN + span / 2, 0, 0};
        dVector3 extents = {span / 2, span / 2, span / 2, 0};
        pw.holeSpace = dQuadTreeSpaceCreate(nullptr, centre, extents, HOLE_SPACE_DEPTH);
    }
    dWorldSetGravity(pw.world, 0, 0, GRAVITY_Z);
    dWorldSetERP(pw.world, WORLD_ERP);

    pw.groundPlane = dCreatePlane(pw.space, 0, 0, 1, 0);
    make_static(pw.groundPlane);
    pw.parkingPlatform = dCreateBox(pw.space, 1000, 1000, 10);
    dGeomSetPosition(pw.parkingPlatform, 0, 0, 3000);
    make_static(pw.parkingPlatform);
    static const double walls[4][4] = {
        {-1, 0, 0, -1600}, {1, 0, 0, -1536}, {0, -1, 0, -1600}, {0, 1, 0, -1536}};
    for (int k = 0; k < 4; ++k) {
        pw.boundaryPlanes[k] = dCreatePlane(pw.space, walls[k][0], walls[k][1], walls[k][2], walls[k][3]);
        set_geom_role(pw.boundaryPlanes[k], ROLE_BOUNDARY, k);
        make_static(pw.boundaryPlanes[k]);
    }

    reset_ramp_placeholder(pw);
    pw.rampData = dGeomTriMeshDataCreate();
    dGeomTriMeshDataBuildSingle(pw.rampData, pw.rampVertices, 3 * sizeof(float), pw.rampVertexCount,
                                pw.rampIndices, pw.rampIndexCount, 3 * sizeof(int));
    pw.rampSurface = dCreateTriMesh(pw.space, pw.rampData, nullptr, nullptr, nullptr);
    set_geom_role(pw.rampSurface, ROLE_RAMP_SURFACE);
    make_static(pw.rampSurface);

    for (int k = 0; k < BALL_COUNT; ++k) {
        BallSlot& ball = pw.balls[k];
        ball.body = dBodyCreate(pw.world);
        dMass mass;
        dMassSetSphere(&mass, 1, BALL_RADIUS);
        dMassAdjust(&mass, BALL_MASS);
        dBodySetMass(ball.body, &mass);
        double spot[3];
        parking_spot(k, spot);
        dBodySetPosition(ball.body, spot[0], spot[1], spot[2]);
        ball.geom = dCreateSphere(pw.space, BALL_RADIUS);
        dGeomSetBody(ball.geom, ball.body);
        set_geom_role(ball.geom, ROLE_BALL, k);
        dGeomSetCategoryBits(ball.geom, CATEGORY_BALL);
        dGeomSetCollideBits(ball.geom, ~0ul);
        ball.state = BallPhysicsState{};
    }
    pw.ready = true;
}

void shutdown_physics(PhysicsWorld& pw)
{
    if (!pw.ready) return;
    clear_hole_geometry(pw);
    dJointGroupDestroy(pw.contactGroup);
    // Destroying a space destroys every geom still in it (the fixed ones and the balls).
    dSpaceDestroy(pw.holeSpace);
    dSpaceDestroy(pw.space);
    dWorldDestroy(pw.world);
    dGeomTriMeshDataDestroy(pw.rampData);
    pw.world = nullptr;
    pw.space = pw.holeSpace = nullptr;
    pw.contactGroup = nullptr;
    pw.groundPlane = pw.parkingPlatform = pw.rampSurface = nullptr;
    for (dGeomID& plane : pw.boundaryPlanes) plane = nullptr;
    pw.rampData = nullptr;
    for (BallSlot& ball : pw.balls) ball = BallSlot{};
    pw.bumperFlash = BumperFlash{};
    pw.followBall = 0;
    pw.ready = false;
}

void place_ball(PhysicsWorld& w, int slot, int level, float tileX, float tileY)
{
    if (!w.ready || !valid_slot(slot)) return;
    // A tee read from a hand-made file may lie anywhere; keep the ball over the grid and no
    // lower than the floor, where the walls and the floor can hold it.
    tileX = std::clamp(tileX, GRID_ORIGIN, GRID_ORIGIN + (GRID_SIZE - 1) * TILE_SIZE);
    tileY = std::clamp(tileY, GRID_ORIGIN, GRID_ORIGIN + (GRID_SIZE - 1) * TILE_SIZE);
    level = std::clamp(level, 0, 100);
    dBodyID body = w.balls[slot].body;
    dBodySetLinearVel(body, 0, 0, 0);
    dBodySetAngularVel(body, 0, 0, 0);
    dBodySetPosition(body, tileX + 32.0, tileY + 32.0, level * 32.0 + BALL_RADIUS);
    if (w.round.playerCount == 0 && slot == 0) w.balls[0].state.strokesThisHole = 0;
}

void park_ball(PhysicsWorld& w, int slot)
{
    if (!w.ready || !valid_slot(slot)) return;
    dBodyID body = w.balls[slot].body;
    dBodySetLinearVel(body, 0, 0, 0);
    dBodySetAngularVel(body, 0, 0, 0);
    double spot[3];
    parking_spot(slot, spot);
    dBodySetPosition(body, spot[0], spot[1], spot[2]);
}

void reset_balls(PhysicsWorld& w)
{
    for (int k = 0; k < BALL_COUNT; ++k) {
        BallPhysicsState& s = w.balls[k].state;
        float lastRest[3] = {s.lastRest[0], s.lastRest[1], s.lastRest[2]};
        s = BallPhysicsState{};
        std::copy(lastRest, lastRest + 3, s.lastRest);
        set_holed_out(w, k, false);
    }
    w.stroke.strokeTaken = false;
    w.stroke.strokeInFlight = false;
    for (int k = 0; k < BALL_COUNT; ++k) park_ball(w, k);
}

bool ball_is_parked(const PhysicsWorld& w, int slot)
{
    double p[3];
    ball_position(w, slot, p);
    return p[2] > PARKED_THRESHOLD_Z;
}

void ball_position(const PhysicsWorld& w, int slot, double out[3])
{
    if (!w.ready || !valid_slot(slot)) {
        out[0] = out[1] = 0.0;
        out[2] = PARK_Z;
        return;
    }
    const dReal* p = dBodyGetPosition(w.balls[slot].body);
    out[0] = p[0];
    out[1] = p[1];
    out[2] = p[2];
}

const double* ball_rotation(const PhysicsWorld& w, int slot)
{
    static const double identity[12] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0};
    if (!valid_slot(slot) || !w.balls[slot].body) return identity;
    return dBodyGetRotation(w.balls[slot].body);
}

void ball_velocity(const PhysicsWorld& w, int slot, double out[3])
{
    out[0] = out[1] = out[2] = 0.0;
    if (!valid_slot(slot) || !w.balls[slot].body) return;
    const dReal* v = dBodyGetLinearVel(w.balls[slot].body);
    for (int k = 0; k < 3; ++k) out[k] = v[k];
}

void place_ball_still(PhysicsWorld& w, int slot, const double at[3])
{
    if (!valid_slot(slot) || !w.balls[slot].body) return;
    dBodyID body = w.balls[slot].body;
    dBodySetPosition(body, at[0], at[1], at[2]);
    dBodySetLinearVel(body, 0, 0, 0);
    dBodySetAngularVel(body, 0, 0, 0);
}

void shift_ball(PhysicsWorld& w, int slot, const double d[3])
{
    if (!valid_slot(slot) || !w.balls[slot].body) return;
    const dReal* at = dBodyGetPosition(w.balls[slot].body);
    dBodySetPosition(w.balls[slot].body, at[0] + d[0], at[1] + d[1], at[2] + d[2]);
}

void set_ball_rotation(PhysicsWorld& w, int slot, const double quaternion[4])
{
    if (!valid_slot(slot) || !w.balls[slot].body) return;
    dBodySetQuaternion(w.balls[slot].body, quaternion);
}

void set_holed_out(PhysicsWorld& w, int slot, bool value)
{
    if (!valid_slot(slot)) return;
    w.balls[slot].state.holedOut = value;
    w.round.players[slot].holedOut = value;
}
