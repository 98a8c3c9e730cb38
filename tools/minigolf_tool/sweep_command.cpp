// minigolf-tool sweep: putts from the tee at every angle step and at a few powers over holes
// with railed fairways, counting every ball that leaves its fairway: over or through a
// railing, onto the bare floor, off the grid or into a solid ground column.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "hole/hole_file.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "tools/courses/hole_layout.h"
#include "tools/minigolf_tool/commands.h"

namespace {

constexpr long SWEEP_MAX_STEPS = 6000;   // escapes happen in the first bounces

struct NamedHole {
    std::string name;
    HoleGrid grid;
};

// Railed holes made to tempt a hard putt over a railing: lanes one tile wide, U-turns whose
// cup lies beside the tee behind railings, corners, and a lane on raised ground.
struct GeneratedLayout {
    const char* name;
    const char* source;
};
const GeneratedLayout GENERATED[] = {
    {"narrow lane", "layout\nC\no\no\no\no\no\nT\n"},
    {"u-turn", "layout\nooo\no.o\no.o\nT.C\n"},
    {"wide u-turn", "layout\nooooo\noo.oo\noo.oo\noo.oo\nTo.Co\n"},
    {"corner", "layout\nTooo\n...o\n...o\n...C\n"},
    {"zig-zag", "layout\nToo.\n..o.\n..oo\n...C\n"},
    {"raised u-turn", "layout\nooo\no.o\nT.C\n\nheights\n333\n3.3\n3.3\n"},
    {"tee at the end", "layout\nT\no\no\no\nC\n"},
};

// The U-turn again with the lanes side by side: two railings back to back on one edge.
void back_to_back_u_turn(HoleGrid& grid)
{
    HoleSource source;
    std::string error;
    parse_hole_source("layout\noo\noo\noo\nTC\n", source, &error);
    build_hole_grid(source, grid, &error);
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j) {
            if (grid.height_at(i, j) == 0 || !tile_in_grid(i + 1, j) || grid.height_at(i + 1, j) == 0) continue;
            // Railings between the lanes up to the row below the top one.
            if (tile_in_grid(i, j + 1) && grid.height_at(i, j + 1) != 0) {
                grid.edges_at(i, j) |= EDGE_RAIL_XMAX;
                grid.edges_at(i + 1, j) |= EDGE_RAIL_XMIN;
            }
        }
}

bool generated_holes(std::vector<NamedHole>& holes)
{
    for (const GeneratedLayout& layout : GENERATED) {
        HoleSource source;
        std::string error;
        NamedHole hole{std::string("generated: ") + layout.name, {}};
        clear_hole(hole.grid);
        if (!parse_hole_source(std::string("name ") + layout.name + "\npar 2\nmusic none\n" + layout.source, source, &error) ||
            !build_hole_grid(source, hole.grid, &error)) {
            std::fprintf(stderr, "sweep: generated hole %s: %s\n", layout.name, error.c_str());
            return false;
        }
        holes.push_back(std::move(hole));
    }
    NamedHole twin{"generated: back-to-back u-turn", {}};
    clear_hole(twin.grid);
    back_to_back_u_turn(twin.grid);
    holes.push_back(std::move(twin));
    return true;
}

// ---- watching one putt -------------------------------------------------------------------

struct Watch {
    const HoleGrid* grid = nullptr;
    const PhysicsWorld* world = nullptr;   // where the putt is played
    int lastI = -1, lastJ = -1;    // the tile the ball was over at the last frame
    bool warped = false;           // the ball went through a warp since the last frame
    bool inWater = false;          // sinking in water until the water rule puts it back
    std::string escape;            // how the ball left its fairway; empty while it has not
};

bool void_tile(const HoleGrid& g, int i, int j)
{
    int e = g.edges_at(i, j);
    return g.height_at(i, j) == 0 && g.kind_at(i, j) == KIND_PLAIN && !(e > 0 && (e & EDGE_CUP));
}

// True when the edge from tile (i, j) to its neighbour one step along (di, dj) carries a
// railing on either side.
bool railed_edge(const HoleGrid& g, int i, int j, int di, int dj)
{
    auto bit = [](int edges, int mask) { return edges > 0 && (edges & mask); };
    int from = di > 0 ? EDGE_RAIL_XMAX : di < 0 ? EDGE_RAIL_XMIN : dj > 0 ? EDGE_RAIL_YMAX : EDGE_RAIL_YMIN;
    int to = di > 0 ? EDGE_RAIL_XMIN : di < 0 ? EDGE_RAIL_XMAX : dj > 0 ? EDGE_RAIL_YMIN : EDGE_RAIL_YMAX;
    return bit(g.edges_at(i, j), from) || bit(g.edges_at(i + di, j + dj), to);
}

// A tile whose whole footprint is a solid column up to its level.
bool solid_column(const HoleGrid& g, int i, int j)
{
    int k = g.kind_at(i, j), e = g.edges_at(i, j);
    if (is_ramp(k) || is_warp_entry_code(k) || k == KIND_WATER || k == KIND_OSCILLATING_BLOCK) return false;
    return g.height_at(i, j) > 0 && !(e > 0 && (e & EDGE_CUP));
}

void note_event(PhysicsEvent event, int slot, long /*step*/, void* user)
{
    Watch& w = *static_cast<Watch*>(user);
    if (slot != 0) return;
    if (event == EVENT_WARP) w.warped = true;
    // Water is soft: a ball sinks through it and may drift under the railings beside it
    // until it rests and the water rule puts it back, which is no escape.
    if (event == EVENT_WATER) w.inWater = true;
    if (event == EVENT_REDROP) {
        w.inWater = false;
        w.warped = true;
    }
}

bool check_ball(long /*step*/, void* user)
{
    Watch& w = *static_cast<Watch*>(user);
    const HoleGrid& g = *w.grid;
    double p[3];
    ball_position(*w.world, 0, p);
    int i = static_cast<int>(std::floor((p[0] - GRID_ORIGIN) / TILE_SIZE));
    int j = static_cast<int>(std::floor((p[1] - GRID_ORIGIN) / TILE_SIZE));
    if (w.inWater) {
        w.warped = true;
        return false;
    }
    char where[96];
    std::snprintf(where, sizeof where, " at (%.0f, %.0f, %.0f)", p[0], p[1], p[2]);
    if (!tile_in_grid(i, j)) {
        w.escape = std::string("off the grid") + where;
    } else if (void_tile(g, i, j)) {
        w.escape = std::string("over the bare floor") + where;
    } else if (solid_column(g, i, j) && p[2] < g.height_at(i, j) * LEVEL_HEIGHT + BALL_RADIUS - 6) {
        w.escape = std::string("into a ground column") + where;
    } else if (w.lastI >= 0 && !w.warped && (i != w.lastI || j != w.lastJ)) {
        int di = i - w.lastI, dj = j - w.lastJ;
        bool crossed = false;
        if (std::abs(di) + std::abs(dj) == 1) {
            crossed = railed_edge(g, w.lastI, w.lastJ, di, dj);
        } else if (std::abs(di) == 1 && std::abs(dj) == 1) {
            // Past a corner: over a railing only if both ways round cross one.
            crossed = (railed_edge(g, w.lastI, w.lastJ, di, 0) || railed_edge(g, i, w.lastJ, 0, dj)) &&
                      (railed_edge(g, w.lastI, w.lastJ, 0, dj) || railed_edge(g, w.lastI, j, di, 0));
        }
        if (crossed) w.escape = std::string("over or through a railing") + where;
    }
    w.lastI = i;
    w.lastJ = j;
    w.warped = false;
    return !w.escape.empty();
}

std::vector<double> parse_list(const char* text)
{
    std::vector<double> out;
    std::string s(text);
    size_t start = 0;
    while (start <= s.size()) {
        size_t end = s.find(',', start);
        if (end == std::string::npos) end = s.size();
        out.push_back(std::atof(s.substr(start, end - start).c_str()));
        start = end + 1;
    }
    return out;
}

void usage()
{
    std::fprintf(stderr,
                 "usage: minigolf-tool sweep [--generated] [--step DEG] [--powers P,P,...] [--verbose] [--write DIR] [HOLE.top ...]\n"
                 "  putts from the tee every DEG degrees (default 5) at each power (default 20,30,40,54)\n"
                 "  over the holes given and, with --generated, a set of railed test holes; prints the\n"
                 "  escapes and exits 1 when there is any; --write keeps the holes as DIR/sweep_N.top\n");
}

}  // namespace

int cmd_sweep(int argc, char** argv)
{
    double step = 5;
    std::vector<double> powers = {20, 30, 40, 54};
    bool generated = false, verbose = false;
    std::string writeDir;
    std::vector<NamedHole> holes;
    for (int k = 0; k < argc; ++k) {
        std::string a = argv[k];
        if (a == "--generated") generated = true;
        else if (a == "--verbose") verbose = true;
        else if (a == "--write" && k + 1 < argc) writeDir = argv[++k];
        else if (a == "--step" && k + 1 < argc) step = std::atof(argv[++k]);
        else if (a == "--powers" && k + 1 < argc) powers = parse_list(argv[++k]);
        else if (!a.empty() && a[0] != '-') {
            NamedHole hole{a, {}};
            clear_hole(hole.grid);
            std::string error;
            if (!read_hole_file(hole.grid, a, &error)) {
                std::fprintf(stderr, "sweep: %s\n", error.c_str());
                return 2;
            }
            holes.push_back(std::move(hole));
        } else {
            usage();
            return 2;
        }
    }
    if (generated && !generated_holes(holes)) return 2;
    if (holes.empty() || !(step > 0) || powers.empty()) {
        usage();
        return 2;
    }
    // The holes as files, for simulate and the game.
    for (size_t k = 0; k < holes.size() && !writeDir.empty(); ++k) {
        std::string error, path = writeDir + "/sweep_" + std::to_string(k + 1) + ".top";
        if (!write_hole_file(holes[k].grid, path, &error)) std::fprintf(stderr, "sweep: %s\n", error.c_str());
    }

    const auto started = std::chrono::steady_clock::now();
    long putts = 0, escapes = 0, holed = 0;
    auto table = std::make_unique<PuttTable>();
    for (NamedHole& hole : holes) {
        long holeEscapes = 0, holePutts = 0;
        for (double power : powers) {
            for (double angle = 0; angle < 360 - 1e-9; angle += step) {
                table->grid = hole.grid;
                if (!start_hole_play(table->world, 1)) break;
                Watch w;
                w.grid = &hole.grid;
                w.world = &table->world;
                PuttWatch watch;
                watch.maxSteps = SWEEP_MAX_STEPS;
                watch.user = &w;
                watch.on_event = note_event;
                watch.stop_early = check_ball;
                PuttResult result = play_putt(table->world, angle, power, watch);
                ++holePutts;
                if (result.holed) ++holed;
                if (w.escape.empty() && !result.holed) check_ball(result.steps, &w);
                if (!w.escape.empty()) {
                    ++holeEscapes;
                    if (verbose || holeEscapes <= 3)
                        std::printf("  escape: %s angle %.1f power %.1f: %s\n", hole.name.c_str(), angle, power, w.escape.c_str());
                }
            }
        }
        std::printf("%-48s putts %4ld escapes %ld\n", hole.name.c_str(), holePutts, holeEscapes);
        putts += holePutts;
        escapes += holeEscapes;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("sweep: %zu holes, %ld putts (every %.1f degrees at %zu powers), %ld holed out, %ld escapes, %.1f s\n",
                holes.size(), putts, step, powers.size(), holed, escapes, seconds);
    return escapes == 0 ? 0 : 1;
}
