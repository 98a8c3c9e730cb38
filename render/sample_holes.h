// Holes built in code for the drawing's checks and benchmarks: one that shows every kind of
// tile and every edge code, a busy playing hole, and the densest hole the editor can make.
#pragma once

#include <string>

#include "hole/hole_grid.h"

// Every kind and edge code on a raised square around the grid's centre, with a tee.
void make_showcase_hole(HoleGrid& grid);
// A railed fairway turning a corner, with a ramp, water, sand, bumpers, conveyors, a block
// and the cup: the kind of hole a course holds.
void make_busy_hole(HoleGrid& grid);
// All 2,401 tiles 16 steps high.
void make_densest_hole(HoleGrid& grid);
// Builds a sample by name ("empty", "busy", "densest", "showcase"); false for another name.
bool make_sample_hole(HoleGrid& grid, const std::string& name);
// Tile (i, j) of the showcase with the given kind (the first one found, i then j); false if none.
bool find_tile(const HoleGrid& grid, int kind, int& i, int& j);
