// Course archives (".cor", ZIP files): the course description, unpacking into "temp" beside
// the course file, removing the unpacked files again, and packing a course for the tool.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "hole/course.h"
#include "hole/hole_grid.h"

constexpr const char* COURSE_DESCRIPTION_NAME = "course_description_file.cdf";
constexpr const char* COURSE_UNPACK_DIR = "temp";

// What a course archive may hold at most; anything larger is refused before a byte is written.
constexpr int COURSE_MAX_ENTRIES = 1000;
constexpr uint64_t COURSE_MAX_ENTRY_BYTES = 32ull << 20;
constexpr uint64_t COURSE_MAX_TOTAL_BYTES = 256ull << 20;
constexpr int COURSE_MAX_PAR = 99;

// One hole as the description lists it. Names are base names (any directory part is
// dropped); musicName is NO_MUSIC when the hole has none.
struct CourseHoleEntry {
    int par = 0;
    std::string holeName;
    std::string musicName;
};

struct CourseDescription {
    int announced = 0;                    // N as the file gives it
    std::vector<CourseHoleEntry> holes;   // the complete holes read, at most MAX_HOLES
    std::vector<std::string> notes;       // what was mended while reading
};

// Reads a course description: N, then par, hole file name and music file name per hole,
// each field ended by '*'. Names are kept exactly as they stand (no trimming) apart from
// dropping a directory part; "NOMIDIFILEPRESENT" is recognised in any letter case. Only the
// first MAX_HOLES holes are kept, and a hole whose three fields are not all complete ends the
// list. A hole or music name that is empty, "." or ".." cannot name a file: the hole keeps
// an empty holeName (refused by load_course) and the music becomes NO_MUSIC.
CourseDescription parse_course_description(std::string_view text);
CourseDescription read_course_description(std::FILE* file);

// The outcome of loading a course; message says why it was refused, notes what was mended.
struct CourseLoadResult {
    bool ok = false;
    std::string message;
    std::vector<std::string> notes;
};

// Unpacks the course file at path into the directory "temp" beside it (made when missing;
// files of the same names are replaced) and reads its description into `course`. Refused,
// with `course` unchanged and nothing left written, when the file is not a readable archive,
// is too large (COURSE_MAX_*), holds no description, describes no hole, or names a hole
// file that is not a plain file name. Hole files the archive lacks are only noted; reading
// such a hole (read_course_hole) reports it.
// When unpackParent is not empty the files go to unpackParent + "/temp" instead of beside the
// course file (and into.courseDir is it).
CourseLoadResult load_course(Course& into, const std::string& path, const std::string& unpackParent = {});

// Deletes the unpacked hole, music and description files of the course, and with removeDir
// the "temp" directory too (only when it is empty). Only files that lie directly in the
// course's "temp" directory are ever touched; errors are ignored.
void remove_course_files(const Course& from, bool removeDir);

// The unpacking directory of a loaded course: courseDir + "/temp".
std::string course_unpack_dir(const Course& from);

// Reads hole number hole (1-based) of the course into grid. False, with a message naming the
// hole and its file, when there is no such hole or its file is missing or unreadable; the
// grid is then untouched.
bool read_course_hole(const Course& from, int hole, HoleGrid& grid, std::string* error);

// One hole for pack_course: its hole file on disk, its par, and its music file on disk (empty
// for none).
struct CoursePackHole {
    std::string holePath;
    int par = 0;
    std::string musicPath;
};

// The description text pack_course stores for holes (names are the base names of the paths).
std::string format_course_description(const std::vector<CoursePackHole>& holes);

// Writes a course archive at outPath holding the description and each distinct hole and
// music file under its base name. The archive is built beside outPath and renamed over it
// only once complete. Refuses 0 or more than MAX_HOLES holes, unreadable files, names with
// '*', two different files of the same base name, and archives load_course would refuse.
bool pack_course(const std::string& outPath, const std::vector<CoursePackHole>& holes, std::string* error);
