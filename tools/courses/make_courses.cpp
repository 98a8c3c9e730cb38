// make-courses: turns the hole sources of each course list into hole files with the game's
// own writer and packs them, with their pars and music, into the bundled course archives.
//
//   make-courses SOURCE_DIR SOUNDS_DIR COURSES_DIR WORK_DIR COURSE...
//
// For course NAME it reads SOURCE_DIR/NAME.course, writes WORK_DIR/NAME/*.top, the recorded
// putts of every hole to WORK_DIR/NAME.putts, and the archive COURSES_DIR/NAME.cor.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "platform/fs.h"
#include "tools/courses/hole_layout.h"

namespace fs = std::filesystem;

static bool make_course(const std::string& sourceDir, const std::string& soundsDir, const std::string& coursesDir,
                        const std::string& workDir, const std::string& name)
{
    std::string text, error;
    CourseList list;
    if (!read_text_file(sourceDir + "/" + name + ".course", text, &error) || !parse_course_list(text, list, &error)) {
        std::fprintf(stderr, "make-courses: %s: %s\n", name.c_str(), error.c_str());
        return false;
    }
    const std::string holeDir = workDir + "/" + name;
    std::error_code ec;
    fs::create_directories(holeDir, ec);
    std::vector<CoursePackHole> holes;
    std::string puttsText;
    auto grid = std::make_unique<HoleGrid>();
    int number = 0;
    for (const std::string& stem : list.holes) {
        ++number;
        HoleSource source;
        const std::string sourcePath = sourceDir + "/" + name + "/" + stem + ".hole";
        if (!read_text_file(sourcePath, text, &error) || !parse_hole_source(text, source, &error) ||
            !build_hole_grid(source, *grid, &error)) {
            std::fprintf(stderr, "make-courses: %s: %s\n", sourcePath.c_str(), error.c_str());
            return false;
        }
        CoursePackHole hole;
        hole.holePath = holeDir + "/" + stem + ".top";
        hole.par = source.par;
        if (!source.music.empty()) hole.musicPath = soundsDir + "/" + source.music;
        if (!write_hole_file(*grid, hole.holePath, &error)) {
            std::fprintf(stderr, "make-courses: %s\n", error.c_str());
            return false;
        }
        holes.push_back(hole);
        if (source.putts.empty()) std::fprintf(stderr, "make-courses: warning: %s has no recorded putts\n", sourcePath.c_str());
        puttsText += "hole " + std::to_string(number) + " " + stem + " par " + std::to_string(source.par) + " putts " +
                     source.putts + "\n";
    }
    if (!write_file_atomic(workDir + "/" + name + ".putts", puttsText, &error)) {
        std::fprintf(stderr, "make-courses: cannot write %s.putts\n", name.c_str());
        return false;
    }
    if (!pack_course(coursesDir + "/" + name + ".cor", holes, &error)) {
        std::fprintf(stderr, "make-courses: %s\n", error.c_str());
        return false;
    }
    std::printf("course %s (%s): %zu holes\n", name.c_str(), list.title.c_str(), holes.size());
    return true;
}

int main(int argc, char** argv)
{
    if (argc < 6) {
        std::fprintf(stderr, "usage: make-courses SOURCE_DIR SOUNDS_DIR COURSES_DIR WORK_DIR COURSE...\n");
        return 2;
    }
    bool ok = true;
    for (int k = 5; k < argc; ++k) ok = make_course(argv[1], argv[2], argv[3], argv[4], argv[k]) && ok;
    return ok ? 0 : 1;
}
