// Whether a ball can get from the tee to the cup: a route over the tiles, through warps, that
// crosses no railing and climbs no wall (only a ramp lifts a ball to a higher tile; any drop
// may be rolled off). Moving blocks, water, sand and bumpers are taken as passable.
#pragma once

#include <string>
#include <vector>

#include "hole/hole_grid.h"

enum class CupReach {
    NoTeeOrCup,   // nothing to route (the checks report those on their own)
    Reachable,
    Unreachable,
};

CupReach cup_reach(const HoleGrid& grid);

// The findings to show before a hole is saved: the hole checks (no tee, no cup, warp entries
// without exits and the reverse, ...) and a cup that cannot be reached from the tee.
std::vector<std::string> save_findings(const HoleGrid& grid);

constexpr const char* CUP_UNREACHABLE = "the cup cannot be reached from the tee";
