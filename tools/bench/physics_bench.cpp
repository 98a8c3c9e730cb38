// minigolf-bench physics: how long a whole-hole geometry rebuild and one ball step with four
// balls in play take on the densest legal hole and on a hole using every kind of tile.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "hole/round_state.h"
#include "hole/hole_grid.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "tools/bench/bench_commands.h"

namespace {

// Every tile at the top level with every railing bit.
void densest_hole(HoleGrid& grid)
{
    clear_hole(grid);
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j) {
            grid.height_at(i, j) = MAX_HEIGHT;
            grid.edges_at(i, j) = 0x3F;
        }
    grid.tee = Tee{MAX_HEIGHT, static_cast<int>(tile_corner(24)), static_cast<int>(tile_corner(24))};
}

// Every kind of tile in turn over the whole grid, high up, with railings wherever they fit,
// ten warp pairs and a cup every few rows.
void every_kind_hole(HoleGrid& grid)
{
    clear_hole(grid);
    static const int kinds[] = {KIND_PLAIN, 0, 1, 2, 3, 4, 5, 6, 7, -5, -4, -3, -2,
                                KIND_OSCILLATING_BLOCK, KIND_WATER, KIND_SAND, KIND_BUMPER};
    const int kindCount = sizeof kinds / sizeof kinds[0];
    int n = 0;
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j, ++n) {
            int kind = kinds[n % kindCount];
            grid.height_at(i, j) = MAX_HEIGHT - (n % 3);
            grid.kind_at(i, j) = kind;
            if (is_ramp(kind)) grid.edges_at(i, j) = EDGE_RAMP_RAIL_BOTH;
            else if (i % 7 == 3 && j % 7 == 3) grid.edges_at(i, j) = EDGE_CUP | EDGE_RAIL_YMAX;
            else grid.edges_at(i, j) = 0x3F;
        }
    for (int w = 0; w < MAX_WARPS; ++w) {
        grid.kind_at(2 + 4 * w, 0) = KIND_WARP_ENTRY - w;
        grid.kind_at(2 + 4 * w, 48) = KIND_WARP_EXIT - w;
    }
    rebuild_warp_table(grid);
    grid.tee = Tee{grid.height_at(24, 24), static_cast<int>(tile_corner(24)), static_cast<int>(tile_corner(24))};
}

// Four balls in play, rolling in different directions.
void start_four_balls(PhysicsWorld& w)
{
    const HoleGrid& grid = w.grid;
    static const int tiles[4][2] = {{10, 10}, {30, 12}, {14, 33}, {36, 36}};
    static const double speeds[4][2] = {{600, 150}, {-300, 500}, {200, -700}, {-450, -450}};
    for (int k = 0; k < BALL_COUNT; ++k) {
        int i = tiles[k][0], j = tiles[k][1];
        place_ball(w, k, grid.height_at(i, j) + 1, tile_corner(i), tile_corner(j));
        dBodySetLinearVel(w.balls[k].body, speeds[k][0], speeds[k][1], 0);
    }
}

void measure(PhysicsWorld& w, const char* name, void (*make)(HoleGrid&), int builds, int steps)
{
    make(w.grid);
    std::vector<double> buildTimes, buildCpu, clearCpu;
    for (int k = 0; k < builds; ++k) {
        buildTimes.push_back(bench::time_ms([&w] { build_hole_geometry(w); }));
        buildCpu.push_back(bench::cpu_ms([&w] { build_hole_geometry(w); }));
        clearCpu.push_back(bench::cpu_ms([&w] { clear_hole_geometry(w); }));
        build_hole_geometry(w);
    }
    std::printf("build %s median_ms=%.3f cpu_ms=%.3f clear_cpu_ms=%.3f geoms=%zu\n", name, bench::median(buildTimes),
                bench::median(buildCpu), bench::median(clearCpu), hole_geom_count(w));

    w.round.playerCount = 4;
    w.round.currentPlayer = 1;
    std::vector<double> stepTimes, stepCpu;
    for (int k = 0; k < steps; ++k) {
        if (k % 300 == 0) start_four_balls(w);
        if (k % 3 == 0) step_moving_blocks(w);
        stepTimes.push_back(bench::time_ms([&w] { step_balls(w); }));
        if (k % 2) stepCpu.push_back(bench::cpu_ms([&w] { step_balls(w); }));
        if (k % 3 == 2) advance_oscillation_frame(w);
    }
    std::printf("ball_step %s balls=4 median_ms=%.4f cpu_ms=%.4f\n", name, bench::median(stepTimes),
                bench::median(stepCpu));
}

}  // namespace

int bench_physics(int argc, char** argv)
{
    int builds = 30, steps = 3000;
    for (int a = 0; a < argc; ++a) {
        if (std::strcmp(argv[a], "--quick") == 0) {
            builds = 3;
            steps = 300;
        } else {
            std::fprintf(stderr, "usage: minigolf-bench physics [--quick]\n");
            return 2;
        }
    }
    auto table = std::make_unique<PuttTable>();
    init_physics(table->world);
    measure(table->world, "densest", densest_hole, builds, steps);
    measure(table->world, "every_kind", every_kind_hole, builds, steps);
    shutdown_physics(table->world);
    return 0;
}
