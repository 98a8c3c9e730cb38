// The static geoms of a hole, built from the grid and filed by the surface role the
// contact rules look up.
#pragma once

#include <vector>

#include <ode/ode.h>

#include "hole/hole_grid.h"

// Surface role of a geom, stored in the geom's user data. ROLE_NONE marks the floor and the
// parking platform (plain surfaces).
enum GeomRole {
    ROLE_NONE = 0,
    ROLE_BALL,           // index = ball slot
    ROLE_BOUNDARY,       // index = wall 0..3
    ROLE_RAMP_SURFACE,
    ROLE_GROUND,
    ROLE_CONVEYOR,       // index = belt direction 0..3
    ROLE_MOVING_BLOCK,
    ROLE_WARP_PAD,
    ROLE_WATER,
    ROLE_SAND,
    ROLE_BUMPER_CAP,
    ROLE_BUMPER_POST,
    ROLE_RAIL,
    ROLE_CUP_WALL,
    ROLE_CUP_BOTTOM,
};

void set_geom_role(dGeomID geom, GeomRole role, int index = 0);
GeomRole geom_role(dGeomID geom);
int geom_role_index(dGeomID geom);

// Collision categories: static geoms only ever meet balls, so the broad phase drops
// static-static pairs before any bounds test.
constexpr unsigned long CATEGORY_BALL = 1;
constexpr unsigned long CATEGORY_STATIC = 2;
// Marks geom as static: it collides with balls only.
void make_static(dGeomID geom);

struct GeomLists {
    std::vector<dGeomID> groundBoxes;    // ground columns, ramp bodies, ground under features
    std::vector<dGeomID> conveyor[4];    // belt slabs by direction
    std::vector<dGeomID> movingBlocks;   // oscillating-block cubes, in build order
    std::vector<dGeomID> warpPads;       // warp entry pads
    std::vector<dGeomID> waterBoxes;
    std::vector<dGeomID> sandSlabs;
    std::vector<dGeomID> bumperCaps;
    std::vector<dGeomID> bumperPosts;
    std::vector<dGeomID> rails;
    std::vector<dGeomID> cupWalls;
    std::vector<dGeomID> cupBottoms;
    size_t movingBlockCursor = 0;        // next box update_moving_block moves
    std::vector<int> blockTiles;         // tiles (i * GRID_SIZE + j) of the moving blocks, in build order
};

class PhysicsWorld;

// Rebuilds every static geom of the world's hole from its grid: columns, features, ramps,
// railings, the cup and the moving blocks at the current oscillation frame. The previous
// hole's geoms are destroyed first.
void build_hole_geometry(PhysicsWorld& w);
// Destroys every geom of the lists.
void clear_hole_geometry(PhysicsWorld& w);
// Hands the current ramp arrays to the ramp surface again.
void rebuild_ramp_surface(PhysicsWorld& w);
// Destroys the last moving-block box (the editor removed an oscillating block).
void remove_last_moving_block(PhysicsWorld& w);
// Moves the next moving-block box so its top is at top over tile corner (x, y), then
// advances the cursor, wrapping at the end.
void update_moving_block(PhysicsWorld& w, float x, float y, float top);
// Number of geoms in all lists together.
size_t hole_geom_count(const PhysicsWorld& w);
