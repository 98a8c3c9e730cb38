// The inputs the fuzz targets found trouble with, and their seeds, replayed through the same
// target bodies (a failed check aborts the run), and the findings' mends at their depth.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hole/course_archive.h"
#include "hole/hole_check.h"
#include "hole/hole_file.h"
#include "physics/physics_world.h"

extern "C" {
int fuzz_one_hole(const uint8_t* data, size_t size);
int fuzz_one_course_description(const uint8_t* data, size_t size);
int fuzz_one_course_archive(const uint8_t* data, size_t size);
int fuzz_one_leader_board(const uint8_t* data, size_t size);
int fuzz_one_round_file(const uint8_t* data, size_t size);
int fuzz_one_settings(const uint8_t* data, size_t size);
int fuzz_one_bitmap(const uint8_t* data, size_t size);
int fuzz_one_wave(const uint8_t* data, size_t size);
int fuzz_one_midi(const uint8_t* data, size_t size);
int fuzz_one_net_message(const uint8_t* data, size_t size);
int fuzz_one_net_session(const uint8_t* data, size_t size);
}

namespace fs = std::filesystem;

namespace {

struct Target {
    const char* name;
    int (*run)(const uint8_t*, size_t);
};
const Target TARGETS[] = {{"hole", fuzz_one_hole},
                          {"course_description", fuzz_one_course_description},
                          {"course_archive", fuzz_one_course_archive},
                          {"leader_board", fuzz_one_leader_board},
                          {"round_file", fuzz_one_round_file},
                          {"settings", fuzz_one_settings},
                          {"bitmap", fuzz_one_bitmap},
                          {"wave", fuzz_one_wave},
                          {"midi", fuzz_one_midi},
                          {"net_message", fuzz_one_net_message},
                          {"net_session", fuzz_one_net_session}};

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(FuzzRegressions, EveryKeptInputAndSeedReadsCleanly)
{
    int replayed = 0;
    for (const Target& target : TARGETS) {
        for (const char* kept : {"regressions", "seeds"}) {
            const fs::path dir = fs::path(MG_FUZZ_DIR) / kept / target.name;
            if (!fs::is_directory(dir)) continue;
            for (const auto& entry : fs::directory_iterator(dir)) {
                SCOPED_TRACE(entry.path().string());
                const std::string bytes = slurp(entry.path());
                target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
                ++replayed;
            }
        }
    }
    EXPECT_GE(replayed, 9);   // three findings and six hand-written seeds
}

TEST(FuzzRegressions, FileValuesAreBoundedWhereTheyMeetArithmetic)
{
    // A warp exit as high as an int goes: the ball reappears at the top level, plus 2.
    auto grid = std::make_unique<HoleGrid>();
    std::string error;
    ASSERT_TRUE(read_hole_file(*grid, std::string(MG_FUZZ_DIR) + "/regressions/hole/warp_exit_at_int_max.top", &error)) << error;
    ASSERT_EQ(grid->warps.warpCount, 1);
    WarpExit exit = warp_exit_of(*grid, 21, 20);
    ASSERT_TRUE(exit.found);
    EXPECT_EQ(exit.level, MAX_HEIGHT + 2);
    grid->height_at(30, 30) = -5;
    EXPECT_EQ(warp_exit_of(*grid, 21, 20).level, 2);

    // A tee at the ends of the int range is reported as off the grid, not wrapped round.
    ASSERT_TRUE(read_hole_file(*grid, std::string(MG_FUZZ_DIR) + "/regressions/hole/tee_at_int_max.top", &error)) << error;
    std::vector<std::string> warnings = check_hole(*grid);
    EXPECT_NE(std::find(warnings.begin(), warnings.end(), "tee is not on a tile corner of the grid"), warnings.end());
    EXPECT_EQ(level_plus(grid->tee.level, 2), INT32_MAX);
    EXPECT_EQ(tee_tile_index(grid->tee.x), (2147483647LL + 1536) / 64);
}

TEST(FuzzRegressions, NoMusicMarkerIsKnownInAnyCaseBehindADirectory)
{
    for (const char* name : {"dir/NoMidiFilePresent", "..\\\\NOMIDIFILEPRESENT", "a/b/nomidifilepresent"}) {
        CourseDescription d = parse_course_description(std::string("1*3*a.top*") + name + "*");
        ASSERT_EQ(d.holes.size(), 1u) << name;
        EXPECT_EQ(d.holes[0].musicName, NO_MUSIC) << name;
        // Packed again and read back, it is the same course.
        CourseDescription again = parse_course_description(format_course_description({{"a.top", 3, ""}}));
        EXPECT_EQ(again.holes[0].musicName, d.holes[0].musicName);
    }
    // A tune whose name only contains the marker stays a tune.
    EXPECT_EQ(parse_course_description("1*3*a.top*dir/NoMidiFilePresent.mid*").holes[0].musicName, "NoMidiFilePresent.mid");
}
