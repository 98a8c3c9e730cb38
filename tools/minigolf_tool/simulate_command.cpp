// minigolf-tool simulate: plays one putt from a hole's tee headless and reports what the
// ball met on its way.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "hole/round_state.h"
#include "hole/hole_file.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "tools/minigolf_tool/commands.h"

namespace {

constexpr long DEFAULT_MAX_STEPS = PUTT_DEFAULT_MAX_STEPS;
constexpr long MAX_MAX_STEPS = 10000000;

const char* const EVENT_NAMES[EVENT_COUNT] = {"water", "sand",     "warp", "bumper", "rail",  "ball",
                                              "edge",  "conveyor", "cup",  "redrop", "putt"};

void print_event(PhysicsEvent event, int /*slot*/, long step, void* /*user*/)
{
    if (event == EVENT_PUTT) return;
    std::printf("event %ld %s\n", step, EVENT_NAMES[event]);
}

void print_position(long step, void* user)
{
    double p[3];
    ball_position(*static_cast<const PhysicsWorld*>(user), 0, p);
    std::printf("pos %ld %.3f %.3f %.3f\n", step, p[0], p[1], p[2]);
}

void usage()
{
    std::fprintf(stderr,
                 "usage: minigolf-tool simulate HOLE.top --angle DEG --power P [--players N] [--max-steps K] [--trace]\n"
                 "  DEG   putt direction in degrees (0 = +x, 90 = +y)\n"
                 "  P     power 1..54, taken as the power meter shows it (steps of 0.8, or 54)\n"
                 "  N     players 1..4 (default 1); player 1 putts\n"
                 "  K     ball steps to run at most (default 30000; three per frame)\n");
}

bool parse_number(const char* text, double& out)
{
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    double v = std::strtod(text, &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(v)) return false;
    out = v;
    return true;
}

bool parse_whole(const char* text, long low, long high, long& out)
{
    double v;
    if (!parse_number(text, v) || v != std::floor(v) || v < low || v > high) return false;
    out = static_cast<long>(v);
    return true;
}

}  // namespace

int cmd_simulate(int argc, char** argv)
{
    const char* path = nullptr;
    double angle = 0, power = 0;
    bool haveAngle = false, havePower = false, trace = false;
    long players = 1, maxSteps = DEFAULT_MAX_STEPS;
    for (int a = 0; a < argc; ++a) {
        const char* arg = argv[a];
        const char* value = a + 1 < argc ? argv[a + 1] : nullptr;
        if (std::strcmp(arg, "--help") == 0) {
            usage();
            return 0;
        } else if (std::strcmp(arg, "--trace") == 0) {
            trace = true;
        } else if (std::strcmp(arg, "--angle") == 0) {
            if (!parse_number(value, angle) || std::fabs(angle) > 1e6) {
                std::fprintf(stderr, "minigolf-tool simulate: --angle needs a number of degrees\n");
                return 2;
            }
            haveAngle = true;
            ++a;
        } else if (std::strcmp(arg, "--power") == 0) {
            if (!parse_number(value, power) || power < 1 || power > MAX_POWER) {
                std::fprintf(stderr, "minigolf-tool simulate: --power needs a number from 1 to 54\n");
                return 2;
            }
            havePower = true;
            ++a;
        } else if (std::strcmp(arg, "--players") == 0) {
            if (!parse_whole(value, 1, MAX_PLAYERS, players)) {
                std::fprintf(stderr, "minigolf-tool simulate: --players needs a whole number from 1 to 4\n");
                return 2;
            }
            ++a;
        } else if (std::strcmp(arg, "--max-steps") == 0) {
            if (!parse_whole(value, 1, MAX_MAX_STEPS, maxSteps)) {
                std::fprintf(stderr, "minigolf-tool simulate: --max-steps needs a whole number from 1 to %ld\n",
                             MAX_MAX_STEPS);
                return 2;
            }
            ++a;
        } else if (arg[0] == '-' && arg[1] != '\0') {
            std::fprintf(stderr, "minigolf-tool simulate: unknown option '%s'\n", arg);
            usage();
            return 2;
        } else if (!path) {
            path = arg;
        } else {
            std::fprintf(stderr, "minigolf-tool simulate: more than one hole file given\n");
            return 2;
        }
    }
    if (!path || !haveAngle || !havePower) {
        std::fprintf(stderr, "minigolf-tool simulate: a hole file, --angle and --power are needed\n");
        usage();
        return 2;
    }

    auto table = std::make_unique<PuttTable>();
    HoleGrid& grid = table->grid;
    clear_hole(grid);
    std::string error;
    if (!read_hole_file(grid, path, &error)) {
        std::fprintf(stderr, "minigolf-tool simulate: %s\n", error.c_str());
        return 1;
    }
    if (grid.teeState != TeeState::Waiting) {
        std::fprintf(stderr, "minigolf-tool simulate: %s has no tee\n", path);
        return 1;
    }

    start_hole_play(table->world, static_cast<int>(players));
    PuttWatch watch;
    watch.maxSteps = maxSteps;
    watch.user = &table->world;
    watch.on_event = print_event;
    if (trace) watch.on_frame = print_position;
    PuttResult outcome = play_putt(table->world, angle, power, watch);
    const double* p = outcome.position;
    const int strokes = outcome.strokes;
    std::printf("result x=%.3f y=%.3f z=%.3f strokes=%d holed=%s\n", p[0], p[1], p[2], strokes,
                outcome.holed ? "yes" : "no");
    return 0;
}
