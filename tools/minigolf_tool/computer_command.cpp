// minigolf-tool round and hole par: computer seats playing courses and holes headless.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "game/computer/computer_round.h"
#include "hole/course.h"
#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "hole/hole_grid.h"
#include "tools/minigolf_tool/commands.h"

namespace {

bool read_count(const char* value, long low, long high, long& out)
{
    if (!value) return false;
    char* end = nullptr;
    const long v = std::strtol(value, &end, 10);
    if (end == value || *end != '\0' || v < low || v > high) return false;
    out = v;
    return true;
}

bool read_seed(const char* value, unsigned long long& out)
{
    if (!value || !*value) return false;
    char* end = nullptr;
    out = std::strtoull(value, &end, 10);
    return *end == '\0' && value[0] != '-';
}

}  // namespace

int cmd_hole_par(int argc, char** argv)
{
    const char* path = nullptr;
    long games = 50;
    unsigned long long seed = 1;
    for (int a = 0; a < argc; ++a) {
        const char* value = a + 1 < argc ? argv[a + 1] : nullptr;
        if (std::strcmp(argv[a], "--games") == 0) {
            if (!read_count(value, 1, 10000, games)) {
                std::fprintf(stderr, "minigolf-tool hole par: --games needs a whole number from 1 to 10000\n");
                return 2;
            }
            ++a;
        } else if (std::strcmp(argv[a], "--seed") == 0) {
            if (!read_seed(value, seed)) {
                std::fprintf(stderr, "minigolf-tool hole par: --seed needs a whole number\n");
                return 2;
            }
            ++a;
        } else if (argv[a][0] == '-' && argv[a][1] != '\0') {
            std::fprintf(stderr, "minigolf-tool hole par: unknown option '%s'\n", argv[a]);
            return 2;
        } else if (!path) {
            path = argv[a];
        } else {
            std::fprintf(stderr, "minigolf-tool hole par: more than one hole file given\n");
            return 2;
        }
    }
    if (!path) {
        std::fprintf(stderr, "usage: minigolf-tool hole par FILE.top [--games N] [--seed S]\n");
        return 2;
    }
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    std::string error;
    if (!read_hole_file(*grid, path, &error)) {
        std::fprintf(stderr, "minigolf-tool hole par: %s\n", error.c_str());
        return 1;
    }
    if (grid->tee.level == -1) {
        std::fprintf(stderr, "minigolf-tool hole par: the hole has no tee\n");
        return 1;
    }
    double sum = 0, squares = 0;
    int pickUps = 0;
    for (long g = 0; g < games; ++g) {
        const HoleGame game = play_hole_game(*grid, Seat::Expert, seed, 1, static_cast<int>(g + 1));
        sum += game.strokes;
        squares += static_cast<double>(game.strokes) * game.strokes;
        pickUps += game.pickedUp;
    }
    const double mean = sum / games;
    const double variance = games > 1 ? (squares - sum * mean) / (games - 1) : 0.0;
    const double half = 1.96 * std::sqrt(std::max(0.0, variance) / games);
    const int par = std::max(2, static_cast<int>(std::lround(mean)));
    const double boundary = std::fabs(mean - std::floor(mean) - 0.5);
    std::printf("expected %.2f (95%% %.2f..%.2f) over %ld Expert games, %d pick-ups\n", mean, mean - half,
                mean + half, games, pickUps);
    std::printf("par %d%s\n", par, boundary < 0.1 && mean > 1.5 ? " (near a rounding boundary)" : "");
    return 0;
}

int cmd_round(int argc, char** argv)
{
    const char* path = nullptr;
    std::vector<Seat> seats;
    unsigned long long seed = 1;
    for (int a = 0; a < argc; ++a) {
        const char* value = a + 1 < argc ? argv[a + 1] : nullptr;
        if (std::strcmp(argv[a], "--seats") == 0 && value) {
            seats.clear();
            std::string list = value;
            size_t at = 0;
            while (at <= list.size()) {
                size_t comma = list.find(',', at);
                if (comma == std::string::npos) comma = list.size();
                Seat seat;
                if (!seat_from_name(list.substr(at, comma - at).c_str(), seat) || seats.size() >= MAX_PLAYERS) {
                    std::fprintf(stderr, "minigolf-tool round: --seats takes one to four of novice, club, expert\n");
                    return 2;
                }
                seats.push_back(seat);
                at = comma + 1;
            }
            ++a;
        } else if (std::strcmp(argv[a], "--seed") == 0) {
            if (!read_seed(value, seed)) {
                std::fprintf(stderr, "minigolf-tool round: --seed needs a whole number\n");
                return 2;
            }
            ++a;
        } else if (argv[a][0] == '-' && argv[a][1] != '\0') {
            std::fprintf(stderr, "minigolf-tool round: unknown option '%s'\n", argv[a]);
            return 2;
        } else if (!path) {
            path = argv[a];
        } else {
            std::fprintf(stderr, "minigolf-tool round: more than one course given\n");
            return 2;
        }
    }
    if (!path || seats.empty()) {
        std::fprintf(stderr, "usage: minigolf-tool round FILE.cor --seats expert,club,novice [--seed S]\n");
        return 2;
    }
    char scratchTemplate[] = "/tmp/minigolf-round-XXXXXX";
    const char* scratch = mkdtemp(scratchTemplate);
    if (!scratch) {
        std::fprintf(stderr, "minigolf-tool round: cannot create a scratch directory\n");
        return 1;
    }
    auto course = std::make_unique<Course>();
    const CourseLoadResult loaded = load_course(*course, path, scratch);
    if (!loaded.ok) {
        std::fprintf(stderr, "minigolf-tool round: %s\n", loaded.message.c_str());
        rmdir(scratch);
        return 1;
    }
    auto grid = std::make_unique<HoleGrid>();
    int totalPar = 0;
    std::vector<int> totals(seats.size(), 0);
    int status = 0;
    for (int h = 1; h <= course->holeCount; ++h) {
        clear_hole(*grid);
        std::string error;
        const int par = course->parTable[h - 1];
        totalPar += par;
        std::printf("hole %d par %d strokes", h, par);
        if (!read_course_hole(*course, h, *grid, &error)) {
            std::printf(" unreadable: %s\n", error.c_str());
            status = 1;
            continue;
        }
        for (size_t p = 0; p < seats.size(); ++p) {
            const HoleGame game = play_hole_game(*grid, seats[p], seed, h, static_cast<int>(p + 1));
            totals[p] += game.strokes;
            std::printf(" %d", game.strokes);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("total par %d strokes", totalPar);
    for (int t : totals) std::printf(" %d", t);
    std::printf("\n");
    remove_course_files(*course, true);
    rmdir(scratch);
    return status;
}
