// How far a ball is from the cup along the course: a walk over the tiles that respects
// railings, steps, ramps and warps. The computer players' search and the hole solver use it.
#pragma once

#include <vector>

#include "hole/hole_grid.h"

// Route distance of a tile that cannot reach the cup.
constexpr float ROUTE_FAR = 1e6f;

// Distance in tiles from every tile (index i * GRID_SIZE + j) to the cup; ROUTE_FAR off the
// course or where no route leads to the cup.
std::vector<float> route_distance_field(const HoleGrid& grid);

// The tile under world (x, y), or false off the grid.
bool tile_at(double x, double y, int& i, int& j);
// The field's value under world (x, y) (ROUTE_FAR off the grid).
float route_distance_at(const std::vector<float>& field, double x, double y);
// The centre of the cup tile, or false when the hole has no cup.
bool cup_centre(const HoleGrid& grid, double out[2]);

// Up to maxCount directions (degrees) that lead along the route from world (x, y): toward
// tiles further and further down the field's descent, each more than minApart degrees from
// the others and from avoid (the straight line to the cup).
std::vector<double> route_directions(const HoleGrid& grid, const std::vector<float>& field, double x, double y,
                                     double avoid, int maxCount, double minApart);
