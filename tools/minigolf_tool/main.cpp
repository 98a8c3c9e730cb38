// minigolf-tool: the hole and course designer's command-line tool.
#include <cstdio>
#include <cstring>

#include "tools/minigolf_tool/commands.h"

static void print_usage()
{
    std::fprintf(stderr,
                 "usage: minigolf-tool COMMAND ...\n"
                 "  hole info FILE.top                 describe a hole and warn about oddities\n"
                 "  hole normalize IN.top OUT.top      rewrite a hole in the canonical form\n"
                 "  hole solve FILE.top [--max-strokes N]  search putts that hole out\n"
                 "  hole par FILE.top [--games N] [--seed S]  the Expert's expected strokes and the par\n"
                 "  simulate HOLE.top --angle DEG --power P [--players N] [--max-steps K] [--trace]\n"
                 "  course pack|info|check ...         build, describe or check a course archive\n"
                 "  round FILE.cor --seats expert,club,novice [--seed S]  computer seats play a course\n"
                 "  sweep [--generated] [HOLE.top ...] putts all round the tee; counts balls leaving the fairway\n");
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        print_usage();
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "hole") == 0) return cmd_hole(argc - 2, argv + 2);
    if (std::strcmp(command, "simulate") == 0) return cmd_simulate(argc - 2, argv + 2);
    if (std::strcmp(command, "course") == 0) return cmd_course(argc - 2, argv + 2);
    if (std::strcmp(command, "sweep") == 0) return cmd_sweep(argc - 2, argv + 2);
    if (std::strcmp(command, "round") == 0) return cmd_round(argc - 2, argv + 2);
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "help") == 0) {
        print_usage();
        return 0;
    }
    std::fprintf(stderr, "minigolf-tool: unknown command '%s'\n", command);
    print_usage();
    return 2;
}
