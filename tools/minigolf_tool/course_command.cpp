// minigolf-tool course pack / course info.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "hole/course_archive.h"
#include "hole/field_reader.h"
#include "hole/hole_check.h"
#include "hole/hole_file.h"
#include "tools/minigolf_tool/commands.h"
#include "tools/minigolf_tool/course_check.h"

namespace {

const char* COURSE_USAGE =
    "usage: minigolf-tool course pack OUT.cor HOLE.top... --par P... [--music FILE...]\n"
    "       minigolf-tool course info FILE.cor\n"
    "       minigolf-tool course check FILE.cor [--putts FILE] [--max-strokes N]\n"
    "  --music takes one file per hole; '-' or NOMIDIFILEPRESENT for a hole without music.\n";

int usage()
{
    std::fputs(COURSE_USAGE, stderr);
    return 2;
}

bool is_option(const char* arg) { return std::strncmp(arg, "--", 2) == 0; }

bool parse_par(const char* text, int& par)
{
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > COURSE_MAX_PAR) return false;
    par = static_cast<int>(value);
    return true;
}

int course_pack(int argc, char** argv)
{
    if (argc < 1 || is_option(argv[0])) return usage();
    const std::string out = argv[0];
    std::vector<std::string> holes, music;
    std::vector<int> pars;
    int k = 1;
    while (k < argc && !is_option(argv[k])) holes.push_back(argv[k++]);
    while (k < argc) {
        const char* option = argv[k++];
        if (std::strcmp(option, "--par") == 0) {
            while (k < argc && !is_option(argv[k])) {
                int par = 0;
                if (!parse_par(argv[k], par)) {
                    std::fprintf(stderr, "minigolf-tool: par '%s' is not a number from 0 to %d\n", argv[k], COURSE_MAX_PAR);
                    return 2;
                }
                pars.push_back(par);
                ++k;
            }
        } else if (std::strcmp(option, "--music") == 0) {
            while (k < argc && !is_option(argv[k])) music.push_back(argv[k++]);
        } else {
            std::fprintf(stderr, "minigolf-tool: unknown option '%s'\n", option);
            return usage();
        }
    }
    if (holes.empty()) return usage();
    if (pars.size() != holes.size()) {
        std::fprintf(stderr, "minigolf-tool: %zu holes need %zu pars (got %zu)\n", holes.size(), holes.size(), pars.size());
        return 2;
    }
    if (!music.empty() && music.size() != holes.size()) {
        std::fprintf(stderr, "minigolf-tool: --music needs one file per hole ('-' for none)\n");
        return 2;
    }
    std::vector<CoursePackHole> course(holes.size());
    auto grid = std::make_unique<HoleGrid>();
    for (size_t h = 0; h < holes.size(); ++h) {
        course[h].holePath = holes[h];
        course[h].par = pars[h];
        if (!music.empty() && music[h] != "-" && music[h] != NO_MUSIC) course[h].musicPath = music[h];
        // A hole that does not read is refused; oddities are only reported.
        std::string error;
        clear_hole(*grid);
        if (!read_hole_file(*grid, holes[h], &error)) {
            std::fprintf(stderr, "minigolf-tool: %s\n", error.c_str());
            return 1;
        }
        for (const std::string& warning : check_hole(*grid)) {
            std::printf("warning hole %zu (%s): %s\n", h + 1, holes[h].c_str(), warning.c_str());
        }
    }
    std::string error;
    if (!pack_course(out, course, &error)) {
        std::fprintf(stderr, "minigolf-tool: %s\n", error.c_str());
        return 1;
    }
    std::printf("course %s: %zu holes packed\n", out.c_str(), holes.size());
    return 0;
}

int course_info(const char* path)
{
    // Unpack into a private directory, never beside the course file.
    char scratchTemplate[] = "/tmp/minigolf-course-XXXXXX";
    const char* scratch = mkdtemp(scratchTemplate);
    if (!scratch) {
        std::fprintf(stderr, "minigolf-tool: cannot create a scratch directory\n");
        return 1;
    }
    auto info = std::make_unique<Course>();
    CourseLoadResult result = load_course(*info, path, scratch);
    int status = 0;
    if (!result.ok) {
        std::fprintf(stderr, "minigolf-tool: %s\n", result.message.c_str());
        for (const std::string& note : result.notes) std::fprintf(stderr, "note %s\n", note.c_str());
        status = 1;
    } else {
        std::printf("course %s\n", path);
        std::printf("holes %d\n", info->holeCount);
        int parTotal = 0;
        for (int h = 0; h < info->holeCount; ++h) parTotal += info->parTable[h];
        std::printf("par total %d\n", parTotal);
        for (const std::string& note : result.notes) std::printf("note %s\n", note.c_str());
        auto grid = std::make_unique<HoleGrid>();
        for (int h = 1; h <= info->holeCount; ++h) {
            std::string music = info->musicFile[h - 1];
            std::string musicName = music == NO_MUSIC ? std::string("none") : music.substr(music.find_last_of('/') + 1);
            std::string hole = info->holeFile[h - 1];
            std::printf("hole %d par %d file %s music %s\n", h, info->parTable[h - 1],
                        hole.substr(hole.find_last_of('/') + 1).c_str(), musicName.c_str());
            std::string error;
            clear_hole(*grid);
            if (!read_course_hole(*info, h, *grid, &error)) {
                std::printf("error hole %d: %s\n", h, error.c_str());
                status = 1;
                continue;
            }
            for (const std::string& warning : check_hole(*grid)) std::printf("warning hole %d: %s\n", h, warning.c_str());
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
    return status;
}

}  // namespace

int cmd_course(int argc, char** argv)
{
    if (argc >= 1 && std::strcmp(argv[0], "pack") == 0) return course_pack(argc - 1, argv + 1);
    if (argc == 2 && std::strcmp(argv[0], "info") == 0) return course_info(argv[1]);
    if (argc >= 1 && std::strcmp(argv[0], "check") == 0) return cmd_course_check(argc - 1, argv + 1);
    return usage();
}
