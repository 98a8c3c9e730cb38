// minigolf-tool hole solve: finds a stroke sequence that holes out, by a beam search over
// putts played with the real physics.
//
// Each stroke sweeps directions and powers from every place the beam holds. A putt whose
// ball passes close to the cup is tried again with finer directions around it. Putts that
// do not hole out are ranked by how far along the course their ball lies from the cup, and
// the best distinct resting places are carried to the next stroke.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <queue>
#include <string>
#include <vector>

#include "hole/round_state.h"
#include "hole/hole_file.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "tools/minigolf_tool/commands.h"
#include "tools/minigolf_tool/solver.h"
#include "game/computer/route_field.h"

namespace {

constexpr float FAR_AWAY = 1e6f;

// The meter powers the coarse sweep tries (the meter moves in steps of 0.8).
const float SWEEP_POWERS[] = {1.0f, 1.6f, 2.4f, 3.2f, 4.8f, 6.4f, 8.0f, 9.6f, 12.8f, 16.0f, 20.8f, 28.0f, 40.0f, 54.0f};

int cell(int i, int j) { return i * GRID_SIZE + j; }

bool has_cup(int edges) { return edges > 0 && (edges & EDGE_CUP); }

float score_of(const HoleGrid& g, const std::vector<float>& field, const double p[3], const double cup[2])
{
    int i = static_cast<int>(std::floor((p[0] - GRID_ORIGIN) / TILE_SIZE));
    int j = static_cast<int>(std::floor((p[1] - GRID_ORIGIN) / TILE_SIZE));
    if (!tile_in_grid(i, j) || p[2] < 12.0 || p[2] > 2999.0) return FAR_AWAY;
    float d = field[cell(i, j)];
    if (d >= FAR_AWAY) return FAR_AWAY;
    (void)g;
    double e = std::hypot(p[0] - cup[0], p[1] - cup[1]);
    return d * 64.0f + static_cast<float>(0.25 * e);
}

struct Candidate {
    BallRest rest;
    float score = FAR_AWAY;
    std::vector<Putt> putts;
};

// A putt seen in the sweep: where its ball will (about) come to rest.
struct Outcome {
    int from = 0;            // index of the place in the beam it was played from
    int centi = 0;
    float power = 0;
    double position[3] = {};
    float score = FAR_AWAY;
};

// Watches a putt: how close the ball passed to the cup, and whether it has slowed down on
// plain ground far from the cup, where its resting place can be told without rolling on.
struct Watcher {
    const PhysicsWorld* world = nullptr;
    double cup[2] = {};
    double best = 1e9;
    bool cutShort = false;
    double estimate[3] = {};
};

bool plain_ground(const HoleGrid& g, int i, int j)
{
    if (!tile_in_grid(i, j)) return false;
    int k = g.kind_at(i, j);
    return g.height_at(i, j) > 0 && (k == KIND_PLAIN || is_half_grass(k) || is_warp_exit_code(k));
}

void watch_frame(long /*step*/, void* user)
{
    Watcher& w = *static_cast<Watcher*>(user);
    double p[3];
    ball_position(*w.world, 0, p);
    double d = std::hypot(p[0] - w.cup[0], p[1] - w.cup[1]);
    if (d < w.best) w.best = d;
}

bool watch_stop(long step, void* user)
{
    Watcher& w = *static_cast<Watcher*>(user);
    if (step < 60) return false;
    double p[3];
    ball_position(*w.world, 0, p);
    const dReal* v = dBodyGetLinearVel(w.world->balls[0].body);
    double speed = std::fabs(v[0]) + std::fabs(v[1]);
    if (speed > 45.0 || std::fabs(v[2]) > 5.0) return false;
    // Drag alone slows a rolling ball: it goes on v / 0.3 further.
    double ahead[2] = {p[0] + v[0] / DRAG_FACTOR, p[1] + v[1] / DRAG_FACTOR};
    if (std::hypot(ahead[0] - w.cup[0], ahead[1] - w.cup[1]) < 200.0) return false;
    for (const double* q : {p, ahead}) {
        int i = static_cast<int>(std::floor((q[0] - GRID_ORIGIN) / TILE_SIZE));
        int j = static_cast<int>(std::floor((q[1] - GRID_ORIGIN) / TILE_SIZE));
        if (!plain_ground(w.world->grid, i, j)) return false;
    }
    w.cutShort = true;
    w.estimate[0] = ahead[0];
    w.estimate[1] = ahead[1];
    w.estimate[2] = p[2];
    return true;
}

struct Search {
    PhysicsWorld& world;
    HoleGrid& grid;
    const SolveOptions& options;
    Tee tee;
    std::vector<float> field;
    double cup[2] = {};
    long sims = 0;
    std::vector<Putt> holing;
    bool found = false;

    Search(PhysicsWorld& w, const SolveOptions& o) : world(w), grid(w.grid), options(o) {}

    PuttResult play(const BallRest& from, int centiAngle, float power, Watcher* watcher)
    {
        restore_ball_rest(world, tee, from);
        PuttWatch watch;
        watch.maxSteps = options.maxStepsPerPutt;
        if (watcher) {
            watch.user = watcher;
            watch.on_frame = watch_frame;
            watch.stop_early = watch_stop;
        }
        ++sims;
        return play_putt(world, centiAngle / 100.0, power, watch);
    }

    // Tries every putt from one place; returns true and fills holing when one holes out.
    bool sweep(const std::vector<Candidate>& beam, int index, std::vector<Outcome>& seen)
    {
        const Candidate& from = beam[index];
        struct Near {
            double distance;
            int centi;
            float power;
        };
        std::vector<Near> near;
        // Straight at the cup first: a clear line needs only the right strength.
        double direct = std::atan2(cup[1] - from.rest.position[1], cup[0] - from.rest.position[0]) * 180.0 / M_PI;
        int directCenti = (static_cast<int>(std::lround(direct * 4.0)) * 25 % 36000 + 36000) % 36000;
        for (int delta : {0, 25, -25, 50, -50}) {
            for (float power : SWEEP_POWERS) {
                int centi = (directCenti + delta + 36000) % 36000;
                PuttResult r = play(from.rest, centi, power, nullptr);
                if (r.holed) return finish(from, centi, power);
            }
        }
        for (int centi = 0; centi < 36000; centi += options.angleStep) {
            for (float power : SWEEP_POWERS) {
                Watcher w;
                w.world = &world;
                w.cup[0] = cup[0];
                w.cup[1] = cup[1];
                PuttResult r = play(from.rest, centi, power, &w);
                if (r.holed) return finish(from, centi, power);
                if (w.best < 96.0) near.push_back({w.best, centi, power});
                Outcome o;
                o.from = index;
                o.centi = centi;
                o.power = power;
                if (w.cutShort) std::memcpy(o.position, w.estimate, sizeof o.position);
                else if (r.rested) std::memcpy(o.position, r.position, sizeof o.position);
                else continue;
                o.score = score_of(grid, field, o.position, cup);
                if (o.score < FAR_AWAY) seen.push_back(o);
            }
        }
        // Finer directions around the putts that passed near the cup, closest first.
        std::stable_sort(near.begin(), near.end(), [](const Near& a, const Near& b) { return a.distance < b.distance; });
        if (near.size() > 10) near.resize(10);
        for (const Near& n : near) {
            for (int delta = 25; delta < options.angleStep; delta += 25) {
                for (int sign : {1, -1}) {
                    int centi = ((n.centi + sign * delta) % 36000 + 36000) % 36000;
                    for (float power : {n.power, meter_power_for(n.power - 0.8), meter_power_for(n.power + 0.8)}) {
                        PuttResult r = play(from.rest, centi, power, nullptr);
                        if (r.holed) return finish(from, centi, power);
                    }
                }
            }
        }
        return false;
    }

    bool finish(const Candidate& from, int centi, float power)
    {
        holing = from.putts;
        holing.push_back({centi / 100.0, power});
        found = true;
        return true;
    }

    // The next beam: the best distinct outcomes, each played out in full from its place.
    std::vector<Candidate> next_beam(const std::vector<Candidate>& beam, std::vector<Outcome> seen)
    {
        std::stable_sort(seen.begin(), seen.end(), [](const Outcome& a, const Outcome& b) { return a.score < b.score; });
        std::vector<Candidate> kept;
        std::vector<const Outcome*> tried;
        for (const Outcome& o : seen) {
            if (static_cast<int>(kept.size()) >= options.beamWidth || tried.size() > 60) break;
            bool close = false;
            for (const Outcome* t : tried)
                close = close || std::hypot(o.position[0] - t->position[0], o.position[1] - t->position[1]) < 48.0;
            if (close) continue;
            tried.push_back(&o);
            const Candidate& from = beam[o.from];
            PuttResult r = play(from.rest, o.centi, o.power, nullptr);
            if (r.holed) {
                finish(from, o.centi, o.power);
                return {};
            }
            if (!r.rested) continue;
            Candidate c;
            c.rest = capture_ball_rest(world);
            c.score = score_of(grid, field, c.rest.position, cup);
            if (c.score >= FAR_AWAY) continue;
            c.putts = from.putts;
            c.putts.push_back({o.centi / 100.0, o.power});
            kept.push_back(std::move(c));
        }
        return kept;
    }
};

}  // namespace

SolveResult solve_hole(PhysicsWorld& w, const SolveOptions& options)
{
    auto started = std::chrono::steady_clock::now();
    SolveResult result;
    HoleGrid& grid = w.grid;
    if (!start_hole_play(w, 1)) return result;
    Search search(w, options);
    search.tee = grid.tee;
    search.field = route_distance_field(grid);
    for (int i = 0; i < GRID_SIZE; ++i)
        for (int j = 0; j < GRID_SIZE; ++j)
            if (has_cup(grid.edges_at(i, j))) {
                search.cup[0] = tile_corner(i) + 32.0;
                search.cup[1] = tile_corner(j) + 32.0;
            }

    std::vector<Candidate> beam(1);
    beam[0].rest = tee_rest(grid);
    for (int stroke = 1; stroke <= options.maxStrokes && !beam.empty() && !search.found; ++stroke) {
        std::vector<Outcome> seen;
        for (int k = 0; k < static_cast<int>(beam.size()); ++k) {
            if (search.sweep(beam, k, seen)) break;
        }
        if (search.found || stroke == options.maxStrokes) break;
        beam = search.next_beam(beam, std::move(seen));
        if (options.verbose) {
            std::fprintf(stderr, "stroke %d: %ld putts so far; beam", stroke, search.sims);
            for (const Candidate& c : beam) std::fprintf(stderr, " (%.0f %.0f: %.0f)", c.rest.position[0], c.rest.position[1], c.score);
            std::fprintf(stderr, "\n");
        }
    }
    grid.tee = search.tee;
    result.solved = search.found;
    result.putts = search.holing;
    result.putts_simulated = search.sims;
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

int cmd_hole_solve(int argc, char** argv)
{
    const char* path = nullptr;
    SolveOptions options;
    for (int a = 0; a < argc; ++a) {
        const char* arg = argv[a];
        const char* value = a + 1 < argc ? argv[a + 1] : nullptr;
        auto whole = [&](int low, int high, int& out) {
            char* end = nullptr;
            long v = value ? std::strtol(value, &end, 10) : 0;
            if (!value || *end != '\0' || end == value || v < low || v > high) return false;
            out = static_cast<int>(v);
            ++a;
            return true;
        };
        if (std::strcmp(arg, "--max-strokes") == 0) {
            if (!whole(1, 12, options.maxStrokes)) {
                std::fprintf(stderr, "minigolf-tool hole solve: --max-strokes needs a whole number from 1 to 12\n");
                return 2;
            }
        } else if (std::strcmp(arg, "--beam") == 0) {
            if (!whole(1, 50, options.beamWidth)) {
                std::fprintf(stderr, "minigolf-tool hole solve: --beam needs a whole number from 1 to 50\n");
                return 2;
            }
        } else if (std::strcmp(arg, "--angle-step") == 0) {
            int tenths = 0;
            if (!whole(1, 450, tenths)) {
                std::fprintf(stderr, "minigolf-tool hole solve: --angle-step needs tenths of a degree, 1 to 450\n");
                return 2;
            }
            options.angleStep = tenths * 10;
        } else if (std::strcmp(arg, "--verbose") == 0) {
            options.verbose = true;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            std::fprintf(stderr, "minigolf-tool hole solve: unknown option '%s'\n", arg);
            return 2;
        } else if (!path) {
            path = arg;
        } else {
            std::fprintf(stderr, "minigolf-tool hole solve: more than one hole file given\n");
            return 2;
        }
    }
    if (!path) {
        std::fprintf(stderr,
                     "usage: minigolf-tool hole solve FILE.top [--max-strokes N] [--beam B] [--angle-step TENTHS] [--verbose]\n");
        return 2;
    }
    auto table = std::make_unique<PuttTable>();
    HoleGrid& grid = table->grid;
    clear_hole(grid);
    std::string error;
    if (!read_hole_file(grid, path, &error)) {
        std::fprintf(stderr, "minigolf-tool: %s\n", error.c_str());
        return 1;
    }
    if (grid.teeState != TeeState::Waiting) {
        std::fprintf(stderr, "minigolf-tool hole solve: %s has no tee\n", path);
        return 1;
    }
    SolveResult result = solve_hole(table->world, options);
    shutdown_physics(table->world);
    std::printf("putts simulated %ld in %.1f s\n", result.putts_simulated, result.seconds);
    if (!result.solved) {
        std::printf("unsolved within %d strokes\n", options.maxStrokes);
        return 1;
    }
    std::printf("solved %zu strokes\n", result.putts.size());
    std::printf("putts %s\n", format_putts(result.putts).c_str());
    return 0;
}
