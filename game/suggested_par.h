// The par the course maker suggests for a hole.
#pragma once

#include "hole/hole_grid.h"

// The par offered for grid when it is added to a course (1..9). Until the player model can
// judge a hole, every hole is offered par 3.
int suggested_par(const HoleGrid& grid);
