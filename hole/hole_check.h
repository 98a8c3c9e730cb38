// Sanity checks a hole designer wants to hear about before sharing a hole.
#pragma once

#include <string>
#include <vector>

#include "hole/hole_grid.h"

// One line per oddity: no tee, no cup, warp numbers of 10 or more, an entry without exit
// (or the reverse), a cup on a tile of height 0, heights or kinds outside the known codes.
std::vector<std::string> check_hole(const HoleGrid& grid);
