// minigolf-tool simulate: plays one putt from a hole's tee headless and reports what the
// ball met on its way.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/game_state.h"
#include "hole/hole_file.h"
#include "physics/physics.h"
#include "tools/minigolf_tool/commands.h"

namespace {

constexpr long DEFAULT_MAX_STEPS = 30000;
constexpr long MAX_MAX_STEPS = 10000000;

const char* const EVENT_NAMES[EVENT_COUNT] = {"water", "sand",     "warp", "bumper", "rail",  "ball",
                                              "edge",  "conveyor", "cup",  "redrop", "putt"};

struct Simulation {
    long step = 0;          // ball steps run so far, the current one included
    bool holed = false;
    double cupPosition[3] = {};
    int strokesAtCup = 0;
};

Simulation sim;

void on_event(PhysicsEvent event, int slot)
{
    if (event == EVENT_CUP && slot == 0) {
        sim.holed = true;
        ball_position(0, sim.cupPosition);
        sim.strokesAtCup = gameState.players[0].holeStrokes;
    }
    if (event == EVENT_PUTT) return;
    std::printf("event %ld %s\n", sim.step, EVENT_NAMES[event]);
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

// The pointer offset whose meter reading is closest to power: the meter reads
// trunc((|u| + |v|) / 2) x 0.8, clamped to 1..54.
float offset_for_power(double power)
{
    if (power >= MAX_POWER) return 2.0f * 68;
    long units = std::lround(power / 0.8);
    if (units < 1) units = 1;
    return 2.0f * units;
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

    HoleGrid& grid = holeGrid;
    clear_hole(grid);
    std::string error;
    if (!read_hole_file(grid, path, &error)) {
        std::fprintf(stderr, "minigolf-tool simulate: %s\n", error.c_str());
        return 1;
    }
    if (grid.teeState != 2) {
        std::fprintf(stderr, "minigolf-tool simulate: %s has no tee\n", path);
        return 1;
    }

    init_physics();
    physicsHooks.on_event = on_event;
    GameState& game = gameState;
    game.playerCount = static_cast<int>(players);
    game.currentPlayer = 1;
    game.currentHole = 1;
    reset_balls();

    // The hole starts: geometry, player 1's ball on the tee.
    build_hole_geometry(grid);
    place_ball(0, grid.tee.level, static_cast<float>(grid.tee.x), static_cast<float>(grid.tee.y));
    grid.teeState = 3;
    game.ballReady = 1;

    // Aim and strike as the player does: the power is read from the pointer offset.
    AimInput& aim = aimInput;
    aim.aimMode = 1;
    aim.aimClicks = 1;
    aim.aimAngle = static_cast<float>(std::remainder(angle, 360.0));
    aim.aimOffset[0] = offset_for_power(power);
    aim.aimOffset[1] = 0;
    aim.puttPower = power_meter_value();
    aim.struckPower = aim.puttPower;
    aim.aimState = 2;

    bool struck = false;
    while (sim.step < maxSteps && !sim.holed) {
        step_moving_blocks(grid);
        for (int k = 0; k < BALL_STEPS_PER_FRAME && sim.step < maxSteps && !sim.holed; ++k) {
            ++sim.step;
            step_balls(k == BALL_STEPS_PER_FRAME - 1 ? 1 : 0);
            if (strokeState.strokeInFlight) struck = true;
        }
        advance_oscillation_frame();
        if (trace) {
            double p[3];
            ball_position(0, p);
            std::printf("pos %ld %.3f %.3f %.3f\n", sim.step, p[0], p[1], p[2]);
        }
        // The turn passes once every ball has rested after the stroke.
        if (struck && !strokeState.strokeInFlight) break;
    }

    double p[3];
    int strokes;
    if (sim.holed) {
        std::memcpy(p, sim.cupPosition, sizeof p);
        strokes = sim.strokesAtCup;
    } else {
        ball_position(0, p);
        strokes = game.players[0].holeStrokes;
    }
    std::printf("result x=%.3f y=%.3f z=%.3f strokes=%d holed=%s\n", p[0], p[1], p[2], strokes,
                sim.holed ? "yes" : "no");
    shutdown_physics();
    return 0;
}
