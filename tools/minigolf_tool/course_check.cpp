// minigolf-tool course check: fails a course whose holes cannot be played: a hole without a
// tee or a cup, a warp entry without its exit, a hole file that does not read, or a hole
// that cannot be completed (by its recorded putts when given, else by the solver).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "hole/course_archive.h"
#include "hole/hole_check.h"
#include "hole/hole_file.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "tools/minigolf_tool/course_check.h"
#include "tools/minigolf_tool/solver.h"

namespace {

int usage()
{
    std::fputs("usage: minigolf-tool course check FILE.cor [--putts FILE] [--max-strokes N]\n"
               "  --putts FILE    replay recorded putts, lines \"hole N ... putts A/P A/P ...\"\n"
               "  --max-strokes N without recorded putts, let the solver search up to N strokes\n"
               "                  (default: par + 2 of each hole)\n",
               stderr);
    return 2;
}

// Recorded putts per hole number, from lines "hole N ... putts A/P ...".
bool read_putts_file(const std::string& path, std::map<int, std::string>& out, std::string* error)
{
    std::ifstream in(path);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::string line;
    int lines = 0;
    while (std::getline(in, line) && ++lines <= 1000) {
        if (line.rfind("hole ", 0) != 0) continue;
        int hole = std::atoi(line.c_str() + 5);
        size_t at = line.find(" putts");
        if (hole < 1 || hole > MAX_HOLES || at == std::string::npos) continue;
        out[hole] = line.substr(at + 6);
    }
    return true;
}

// Warnings that make a hole unplayable, as opposed to oddities only worth a mention.
bool fatal_warning(const std::string& warning)
{
    return warning == "no tee" || warning == "no cup" || warning.find("has an entry but no exit") != std::string::npos ||
           warning.find("tee is not on a tile corner") != std::string::npos;
}

}  // namespace

int cmd_course_check(int argc, char** argv)
{
    if (argc < 1 || argv[0][0] == '-') return usage();
    const char* path = argv[0];
    std::string puttsPath;
    int maxStrokes = 0;
    for (int a = 1; a < argc; ++a) {
        if (std::strcmp(argv[a], "--putts") == 0 && a + 1 < argc) {
            puttsPath = argv[++a];
        } else if (std::strcmp(argv[a], "--max-strokes") == 0 && a + 1 < argc) {
            char* end = nullptr;
            long v = std::strtol(argv[++a], &end, 10);
            if (*end != '\0' || v < 1 || v > 12) return usage();
            maxStrokes = static_cast<int>(v);
        } else {
            return usage();
        }
    }
    std::map<int, std::string> recorded;
    std::string error;
    if (!puttsPath.empty() && !read_putts_file(puttsPath, recorded, &error)) {
        std::fprintf(stderr, "minigolf-tool: %s\n", error.c_str());
        return 2;
    }

    char scratchTemplate[] = "/tmp/minigolf-check-XXXXXX";
    const char* scratch = mkdtemp(scratchTemplate);
    if (!scratch) {
        std::fprintf(stderr, "minigolf-tool: cannot create a scratch directory\n");
        return 1;
    }
    auto course = std::make_unique<Course>();
    CourseLoadResult loaded = load_course(*course, path, scratch);
    int failures = 0;
    if (!loaded.ok) {
        std::printf("FAIL course %s: %s\n", path, loaded.message.c_str());
        failures = 1;
    }
    auto table = std::make_unique<PuttTable>();
    HoleGrid& grid = table->grid;
    for (int h = 1; loaded.ok && h <= course->holeCount; ++h) {
        const int par = course->parTable[h - 1];
        clear_hole(grid);
        if (!read_course_hole(*course, h, grid, &error)) {
            std::printf("FAIL hole %d: %s\n", h, error.c_str());
            ++failures;
            continue;
        }
        bool broken = false;
        for (const std::string& warning : check_hole(grid)) {
            if (!fatal_warning(warning)) continue;
            std::printf("FAIL hole %d: %s\n", h, warning.c_str());
            broken = true;
        }
        if (broken) {
            ++failures;
            continue;
        }
        if (!puttsPath.empty()) {
            std::vector<Putt> putts;
            auto found = recorded.find(h);
            if (found == recorded.end() || !parse_putts(found->second, putts, &error) || putts.empty()) {
                std::printf("FAIL hole %d: no usable recorded putts\n", h);
                ++failures;
                continue;
            }
            ReplayResult replay = replay_putts(table->world, putts);
            if (!replay.holed) {
                std::printf("FAIL hole %d: the recorded putts do not hole out\n", h);
                ++failures;
            } else if (replay.strokes > par + 2) {
                std::printf("FAIL hole %d: holed in %d, more than par %d + 2\n", h, replay.strokes, par);
                ++failures;
            } else {
                std::printf("ok hole %d par %d: holed in %d by the recorded putts\n", h, par, replay.strokes);
            }
            continue;
        }
        SolveOptions options;
        options.maxStrokes = maxStrokes > 0 ? maxStrokes : std::min(par + 2, 12);
        SolveResult solved = solve_hole(table->world, options);
        if (!solved.solved) {
            std::printf("FAIL hole %d: cannot be completed within %d strokes\n", h, options.maxStrokes);
            ++failures;
        } else {
            std::printf("ok hole %d par %d: solved in %zu (%s)\n", h, par, solved.putts.size(),
                        format_putts(solved.putts).c_str());
        }
    }
    shutdown_physics(table->world);
    remove_course_files(*course, true);
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
    std::printf("%s: %d hole(s) failed\n", failures ? "FAIL" : "ok", failures);
    return failures ? 1 : 0;
}
