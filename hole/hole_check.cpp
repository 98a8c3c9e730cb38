#include "hole/hole_check.h"

#include <cstdio>

namespace {

bool known_kind(int kind)
{
    return kind == KIND_PLAIN || is_ramp(kind) || is_half_grass(kind) || is_conveyor(kind) ||
           kind == KIND_OSCILLATING_BLOCK || kind == KIND_WATER || kind == KIND_SAND || kind == KIND_BUMPER ||
           (is_warp_entry_code(kind) && warp_entry_number(kind) < MAX_WARPS) ||
           (is_warp_exit_code(kind) && warp_exit_number(kind) < MAX_WARPS);
}

std::string at(const char* what, int i, int j)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%s at (%d, %d)", what, i, j);
    return buffer;
}

}  // namespace

std::vector<std::string> check_hole(const HoleGrid& grid)
{
    std::vector<std::string> warnings;
    const Tee& tee = grid.tee;
    if (tee.level == -1 && tee.x == -1 && tee.y == -1) warnings.push_back("no tee");
    else if (tee.x < -1536 || tee.x > 1536 || tee.y < -1536 || tee.y > 1536 || (tee.x + 1536) % 64 != 0 ||
             (tee.y + 1536) % 64 != 0)
        warnings.push_back("tee is not on a tile corner of the grid");

    int entries[MAX_WARPS] = {}, exits[MAX_WARPS] = {};
    int cups = 0;
    for (int i = 0; i < GRID_SIZE; ++i) {
        for (int j = 0; j < GRID_SIZE; ++j) {
            const int kind = grid.kind_at(i, j), edges = grid.edges_at(i, j), height = grid.height_at(i, j);
            if (is_warp_entry_code(kind)) {
                int n = warp_entry_number(kind);
                if (n >= MAX_WARPS) warnings.push_back(at("warp entry numbered 10 or more", i, j));
                else entries[n] += 1;
            } else if (is_warp_exit_code(kind)) {
                int n = warp_exit_number(kind);
                if (n >= MAX_WARPS) warnings.push_back(at("warp exit numbered 10 or more", i, j));
                else exits[n] += 1;
            } else if (!known_kind(kind)) {
                warnings.push_back(at("unknown kind code (plays as plain ground)", i, j));
            }
            if (height < 0 || height > MAX_HEIGHT) warnings.push_back(at("height outside 0..16", i, j));
            if (edges > 0 && (edges & EDGE_CUP)) {
                cups += 1;
                if (height == 0) warnings.push_back(at("cup on a tile of height 0", i, j));
            }
            if (edges > 0x7f || (edges < 0 && edges != EDGE_RAMP_RAIL_LOW && edges != EDGE_RAMP_RAIL_HIGH &&
                                 edges != EDGE_RAMP_RAIL_BOTH))
                warnings.push_back(at("unknown edges code", i, j));
            if (edges < 0 && !is_ramp(kind)) warnings.push_back(at("ramp railing on a tile that is no ramp", i, j));
        }
    }
    if (cups == 0) warnings.push_back("no cup");
    for (int n = 0; n < MAX_WARPS; ++n) {
        char buffer[96];
        if (entries[n] > 0 && exits[n] == 0) {
            std::snprintf(buffer, sizeof buffer, "warp %d has an entry but no exit", n);
            warnings.push_back(buffer);
        } else if (exits[n] > 0 && entries[n] == 0) {
            std::snprintf(buffer, sizeof buffer, "warp %d has an exit but no entry", n);
            warnings.push_back(buffer);
        }
        if (entries[n] > 1 || exits[n] > 1) {
            std::snprintf(buffer, sizeof buffer, "warp %d has more than one entry or exit tile", n);
            warnings.push_back(buffer);
        }
        if (exits[n] > 0 && n > 0 && exits[n - 1] == 0) {
            std::snprintf(buffer, sizeof buffer, "warp %d is numbered past a missing pair %d", n, n - 1);
            warnings.push_back(buffer);
        }
    }
    return warnings;
}
