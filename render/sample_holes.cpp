#include "render/sample_holes.h"

namespace {

void put(HoleGrid& grid, int i, int j, int h, int k, int e = 0)
{
    grid.height_at(i, j) = h;
    grid.kind_at(i, j) = k;
    grid.edges_at(i, j) = e;
}

void set_tee(HoleGrid& grid, int i, int j)
{
    grid.tee.level = grid.height_at(i, j);
    grid.tee.x = static_cast<int>(tile_corner(i));
    grid.tee.y = static_cast<int>(tile_corner(j));
    grid.teeState = TeeState::Waiting;
}

}  // namespace

void make_showcase_hole(HoleGrid& grid)
{
    clear_hole(grid);
    for (int i = 16; i <= 32; ++i) {
        for (int j = 16; j <= 32; ++j) {
            int e = 0;
            if (i == 16) e |= EDGE_RAIL_XMIN;
            if (i == 32) e |= EDGE_RAIL_XMAX;
            if (j == 16) e |= EDGE_RAIL_YMIN;
            if (j == 32) e |= EDGE_RAIL_YMAX;
            put(grid, i, j, 1, KIND_PLAIN, e);
        }
    }
    // ramps in the four directions, on one and on two steps, with every ramp railing code
    put(grid, 18, 18, 2, 0, EDGE_RAMP_RAIL_LOW);
    put(grid, 19, 18, 2, 1, EDGE_RAMP_RAIL_HIGH);
    put(grid, 20, 18, 2, 2, EDGE_RAMP_RAIL_BOTH);
    put(grid, 21, 18, 2, 3, EDGE_RAMP_RAIL_BOTH);
    put(grid, 18, 20, 1, 0, EDGE_RAMP_RAIL_BOTH);
    put(grid, 19, 20, 1, 1, EDGE_RAMP_RAIL_BOTH);
    put(grid, 20, 20, 3, 2, EDGE_RAMP_RAIL_LOW);
    put(grid, 21, 20, 3, 3, EDGE_RAMP_RAIL_HIGH);
    put(grid, 17, 20, 2, KIND_PLAIN);
    // half-grass corners
    for (int k = 0; k < 4; ++k) put(grid, 23 + k, 18, 1, KIND_HALF_GRASS_FIRST + k);
    // conveyors toward -y, +x, +y, -x
    for (int k = 0; k < 4; ++k) put(grid, 18 + k, 22, 1 + (k == 3), KIND_CONVEYOR_FIRST + k);
    // oscillating blocks, water (with water sides on its top step only), sand
    put(grid, 23, 21, 1, KIND_OSCILLATING_BLOCK);
    put(grid, 24, 21, 2, KIND_OSCILLATING_BLOCK);
    put(grid, 26, 21, 3, KIND_WATER);
    put(grid, 27, 21, 1, KIND_WATER);
    put(grid, 28, 21, 1, KIND_SAND);
    put(grid, 29, 21, 2, KIND_SAND);
    // bumpers
    put(grid, 19, 25, 1, KIND_BUMPER);
    put(grid, 22, 25, 2, KIND_BUMPER);
    // warp pairs 0, 1 (its entry on the floor) and 9
    put(grid, 24, 24, 1, KIND_WARP_ENTRY);
    put(grid, 26, 24, 2, KIND_WARP_EXIT);
    put(grid, 34, 24, 0, KIND_WARP_ENTRY - 1);
    put(grid, 29, 24, 1, KIND_WARP_EXIT - 1);
    put(grid, 30, 30, 1, KIND_WARP_ENTRY - 9);
    put(grid, 30, 28, 1, KIND_WARP_EXIT - 9);
    // every railing bit, alone and together
    const int bits[] = {EDGE_RAIL_YMAX, EDGE_RAIL_XMAX, EDGE_RAIL_YMIN, EDGE_RAIL_XMIN,
                        EDGE_RAIL_DIAG_MAIN, EDGE_RAIL_DIAG_ANTI, 0x0F, 0x3F};
    for (int k = 0; k < 8; ++k) put(grid, 18 + k, 27, k == 7 ? 2 : 1, KIND_PLAIN, bits[k]);
    // the cup, alone and with railings, on one and two steps
    put(grid, 27, 27, 1, KIND_PLAIN, EDGE_CUP);
    put(grid, 28, 30, 2, KIND_PLAIN, EDGE_CUP | EDGE_RAIL_YMAX | EDGE_RAIL_XMIN);
    // a stair of columns, so faces hide one another
    put(grid, 20, 30, 4, KIND_PLAIN);
    put(grid, 21, 30, 3, KIND_PLAIN);
    put(grid, 22, 30, 2, KIND_PLAIN);
    put(grid, 20, 31, 3, KIND_PLAIN);
    put(grid, 24, 30, 5, KIND_SAND);
    rebuild_warp_table(grid);
    set_tee(grid, 18, 30);
}

void make_busy_hole(HoleGrid& grid)
{
    clear_hole(grid);
    // an L-shaped fairway three tiles wide, railed on both sides, with a raised wall beside it
    for (int i = 8; i <= 38; ++i) {
        for (int j = 22; j <= 24; ++j) put(grid, i, j, 1, KIND_PLAIN, j == 22 ? EDGE_RAIL_YMIN : j == 24 ? EDGE_RAIL_YMAX : 0);
        put(grid, i, 21, 2, KIND_PLAIN);
        put(grid, i, 25, 2, KIND_PLAIN);
    }
    for (int j = 25; j <= 40; ++j) {
        for (int i = 36; i <= 38; ++i) put(grid, i, j, 1, KIND_PLAIN, i == 36 ? EDGE_RAIL_XMIN : i == 38 ? EDGE_RAIL_XMAX : 0);
        put(grid, 35, j, 3, KIND_PLAIN);
        put(grid, 39, j, 3, KIND_PLAIN);
    }
    put(grid, 8, 23, 1, KIND_PLAIN, EDGE_RAIL_XMIN);
    for (int i = 36; i <= 38; ++i) grid.edges_at(i, 40) |= EDGE_RAIL_YMAX;
    // what stands on the way
    put(grid, 14, 23, 1, KIND_BUMPER);
    put(grid, 18, 22, 1, KIND_SAND, EDGE_RAIL_YMIN);
    put(grid, 18, 23, 1, KIND_SAND);
    put(grid, 22, 22, 2, 0, EDGE_RAMP_RAIL_LOW);
    put(grid, 22, 23, 2, 0);
    put(grid, 22, 24, 2, 0, EDGE_RAMP_RAIL_HIGH);
    put(grid, 26, 23, 1, KIND_WATER);
    put(grid, 26, 24, 1, KIND_WATER, EDGE_RAIL_YMAX);
    for (int i = 28; i <= 31; ++i) put(grid, i, 23, 1, KIND_CONVEYOR_FIRST + 1);
    put(grid, 33, 22, 1, KIND_OSCILLATING_BLOCK, EDGE_RAIL_YMIN);
    put(grid, 37, 30, 1, KIND_BUMPER);
    put(grid, 36, 33, 1, KIND_PLAIN, EDGE_RAIL_XMIN | EDGE_RAIL_DIAG_MAIN);
    put(grid, 37, 36, 1, KIND_HALF_GRASS_FIRST);
    put(grid, 37, 39, 1, KIND_PLAIN, EDGE_CUP);
    rebuild_warp_table(grid);
    set_tee(grid, 10, 23);
}

void make_densest_hole(HoleGrid& grid)
{
    clear_hole(grid);
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) grid.height[k] = MAX_HEIGHT;
}

bool make_sample_hole(HoleGrid& grid, const std::string& name)
{
    if (name == "empty") clear_hole(grid);
    else if (name == "busy") make_busy_hole(grid);
    else if (name == "densest") make_densest_hole(grid);
    else if (name == "showcase") make_showcase_hole(grid);
    else return false;
    return true;
}

bool find_tile(const HoleGrid& grid, int kind, int& i, int& j)
{
    for (i = 0; i < GRID_SIZE; ++i)
        for (j = 0; j < GRID_SIZE; ++j)
            if (grid.kind_at(i, j) == kind) return true;
    return false;
}
