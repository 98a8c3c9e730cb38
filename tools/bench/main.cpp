// minigolf-bench: timing figures, one subcommand per subsystem.
#include <cstdio>
#include <cstring>

#include "tools/bench/bench_commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* help;
};

const Command COMMANDS[] = {
    {"players", bench_players, "computer players: putts and CPU ms per decision, strokes per hole and level [--games N] [--seed S] [--level L] [COURSE.cor...]"},
    {"guide", bench_guide, "aim guide: CPU ms per recompute of its path from every bundled tee [COURSE.cor...]"},
    {"physics", bench_physics, "hole geometry rebuild and ball step on the densest and every-kind holes"},
    {"frame", bench_frame, "whole frames (scene and ball steps) on the empty, a busy and the densest hole"},
    {"idle", bench_idle, "processor use and frame periods of the running game, idle (--game PROGRAM...)"},
    {"net", bench_net, "network play over loopback: course transfer time, strike to ball moving on the other machine [COURSE.cor]"},
    {"net-flood", bench_net_flood, "network play: the host's ticks a second, memory and log under 15 s of false rests from a peer that never reads [COURSE.cor]"},
    {"check", bench_check, "the compiled drawing against the plain one, and a bumper's flash"},
};

void usage()
{
    std::fprintf(stderr, "usage: minigolf-bench COMMAND [options]\n");
    for (const Command& c : COMMANDS) std::fprintf(stderr, "  %-10s %s\n", c.name, c.help);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        usage();
        return 2;
    }
    for (const Command& c : COMMANDS)
        if (std::strcmp(argv[1], c.name) == 0) return c.run(argc - 2, argv + 2);
    if (std::strcmp(argv[1], "--help") == 0) {
        usage();
        return 0;
    }
    std::fprintf(stderr, "minigolf-bench: unknown command '%s'\n", argv[1]);
    usage();
    return 2;
}
