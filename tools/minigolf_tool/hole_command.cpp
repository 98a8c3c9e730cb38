// minigolf-tool hole info / hole normalize.
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "hole/hole_check.h"
#include "hole/hole_file.h"
#include "hole/hole_reach.h"
#include "tools/minigolf_tool/commands.h"
#include "tools/minigolf_tool/solver.h"

namespace {

const char* kind_name(int kind)
{
    if (kind == KIND_PLAIN) return "plain";
    if (is_ramp(kind)) return "ramp";
    if (is_half_grass(kind)) return "half grass";
    if (is_conveyor(kind)) return "conveyor";
    switch (kind) {
    case KIND_OSCILLATING_BLOCK: return "oscillating block";
    case KIND_WATER: return "water";
    case KIND_SAND: return "sand";
    case KIND_BUMPER: return "bumper";
    default: break;
    }
    if (is_warp_entry_code(kind)) return "warp entry";
    if (is_warp_exit_code(kind)) return "warp exit";
    return "unknown (plays as plain)";
}

bool load(const char* path, HoleGrid& grid)
{
    std::string error;
    clear_hole(grid);
    if (!read_hole_file(grid, path, &error)) {
        std::fprintf(stderr, "minigolf-tool: %s\n", error.c_str());
        return false;
    }
    return true;
}

int hole_info(const char* path)
{
    auto grid = std::make_unique<HoleGrid>();
    if (!load(path, *grid)) return 1;
    std::printf("hole %s\n", path);
    const Tee& tee = grid->tee;
    if (tee.level == -1 && tee.x == -1 && tee.y == -1) {
        std::printf("tee none\n");
    } else {
        std::printf("tee level=%d x=%d y=%d tile=(%lld, %lld)\n", tee.level, tee.x, tee.y,
                    tee_tile_index(tee.x), tee_tile_index(tee.y));
    }
    std::printf("warp pairs %d\n", grid->warps.warpCount);
    for (int n = 0; n < grid->warps.warpCount; ++n) {
        const WarpPair& pair = grid->warps.pairs[n];
        std::printf("warp %d entry=(%d, %d) exit=(%d, %d)\n", n, pair.entryI, pair.entryJ, pair.exitI,
                    pair.exitJ);
    }
    std::map<std::string, int> kinds;
    std::map<int, int> heights;
    int cups = 0, railTiles = 0;
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) {
        kinds[kind_name(grid->kind[k])] += 1;
        heights[grid->height[k]] += 1;
        if (grid->edges[k] > 0 && (grid->edges[k] & EDGE_CUP)) cups += 1;
        if (grid->edges[k] < 0 || (grid->edges[k] > 0 && (grid->edges[k] & 0x3f))) railTiles += 1;
    }
    for (const auto& [name, count] : kinds) std::printf("kind %s %d\n", name.c_str(), count);
    for (const auto& [height, count] : heights) std::printf("height %d %d\n", height, count);
    std::printf("cups %d\n", cups);
    std::printf("railing tiles %d\n", railTiles);
    const std::vector<std::string> warnings = save_findings(*grid);
    for (const std::string& warning : warnings) std::printf("warning %s\n", warning.c_str());
    return 0;
}

int hole_normalize(const char* in, const char* out)
{
    auto grid = std::make_unique<HoleGrid>();
    if (!load(in, *grid)) return 1;
    std::string error;
    if (!write_hole_file(*grid, out, &error)) {
        std::fprintf(stderr, "minigolf-tool: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int cmd_hole(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[0], "info") == 0) return hole_info(argv[1]);
    if (argc == 3 && std::strcmp(argv[0], "normalize") == 0) return hole_normalize(argv[1], argv[2]);
    if (argc >= 1 && std::strcmp(argv[0], "solve") == 0) return cmd_hole_solve(argc - 1, argv + 1);
    if (argc >= 1 && std::strcmp(argv[0], "par") == 0) return cmd_hole_par(argc - 1, argv + 1);
    std::fprintf(stderr, "usage: minigolf-tool hole info FILE.top | hole normalize IN.top OUT.top |"
                         " hole solve FILE.top [--max-strokes N] | hole par FILE.top [--games N] [--seed S]\n");
    return 2;
}
