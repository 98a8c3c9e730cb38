// Course packing read back, course check on broken courses, and the solver on small holes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <memory>
#include <string>
#include <sys/wait.h>

#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "tests/unit/course_test_util.h"
#include "tests/unit/tool_runner.h"
#include "tools/courses/hole_layout.h"

using namespace course_test;

namespace {

std::string read_text(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool file_exists(const std::string& path) { return std::filesystem::exists(path); }

// A short straight lane: tee at the bottom, cup three tiles up.
const char* const LANE =
    "name Lane\npar 2\nlayout\n"
    "ooo\n"
    "oCo\n"
    "ooo\n"
    "ooo\n"
    "oTo\n";

void write_source_hole(const std::string& path, const std::string& source)
{
    HoleSource parsed;
    std::string error;
    ASSERT_TRUE(parse_hole_source(source, parsed, &error)) << error;
    auto grid = std::make_unique<HoleGrid>();
    ASSERT_TRUE(build_hole_grid(parsed, *grid, &error)) << error;
    ASSERT_TRUE(write_hole_file(*grid, path, &error)) << error;
}

// The lane, changed by edit after it is laid out.
template <typename Edit>
void write_edited_lane(const std::string& path, Edit edit)
{
    HoleSource parsed;
    ASSERT_TRUE(parse_hole_source(LANE, parsed, nullptr));
    auto grid = std::make_unique<HoleGrid>();
    ASSERT_TRUE(build_hole_grid(parsed, *grid, nullptr));
    edit(*grid);
    ASSERT_TRUE(write_hole_file(*grid, path, nullptr));
}

}  // namespace

TEST(CoursesTool, PackReadsBackDescriptionMusicAndRefusesNineteenHoles)
{
    ScratchDir dir;
    write_source_hole(dir / "lane.top", LANE);
    write_text(dir / "song.mid", "MThd tune");
    std::string holes, pars;
    for (int k = 0; k < 18; ++k) {
        holes += std::string(" ") += dir / "lane.top";
        pars += k == 1 ? " 4" : " 2";
    }
    std::string music = " --music " + (dir / "song.mid");
    for (int k = 1; k < 18; ++k) music += " -";
    ToolRun pack = run_tool("course pack " + (dir / "full.cor") + holes + " --par" + pars + music);
    ASSERT_EQ(pack.status, 0) << pack.output;

    Course course;
    std::filesystem::create_directories(dir / "unpack");
    CourseLoadResult loaded = load_course(course, dir / "full.cor", dir / "unpack");
    ASSERT_TRUE(loaded.ok) << loaded.message;
    EXPECT_EQ(course.holeCount, 18);
    EXPECT_EQ(course.parTable[0], 2);
    EXPECT_EQ(course.parTable[1], 4);
    EXPECT_NE(std::string(course.holeFile[17]).find("lane.top"), std::string::npos);
    EXPECT_NE(std::string(course.musicFile[0]).find("song.mid"), std::string::npos);
    EXPECT_STREQ(course.musicFile[1], NO_MUSIC);
    // The description as the game reads it.
    std::string description = read_text(dir / "unpack/temp/course_description_file.cdf");
    EXPECT_EQ(description.rfind("18*2*lane.top*song.mid*4*lane.top*NOMIDIFILEPRESENT*", 0), 0u) << description;
    remove_course_files(course, true);

    ToolRun info = run_tool("course info " + (dir / "full.cor"));
    EXPECT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("hole 1 par 2 file lane.top music song.mid"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("hole 2 par 4 file lane.top music none"), std::string::npos) << info.output;

    ToolRun tooMany = run_tool("course pack " + (dir / "big.cor") + holes + " " + (dir / "lane.top") + " --par" + pars + " 2");
    EXPECT_NE(tooMany.status, 0) << tooMany.output;
    EXPECT_FALSE(file_exists(dir / "big.cor"));
}

TEST(CoursesTool, CheckFailsOnEachBrokenHole)
{
    ScratchDir dir;
    write_source_hole(dir / "good.top", LANE);
    write_edited_lane(dir / "notee.top", [](HoleGrid& g) { g.tee = Tee{}; });
    write_edited_lane(dir / "nocup.top", [](HoleGrid& g) {
        for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k)
            if (g.edges[k] > 0) g.edges[k] &= ~EDGE_CUP;
    });
    write_edited_lane(dir / "nowarpexit.top", [](HoleGrid& g) {
        for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k)
            if (g.height[k] > 0 && g.edges[k] == (EDGE_RAIL_XMIN)) {
                g.kind[k] = KIND_WARP_ENTRY;
                break;
            }
    });
    // The cup walled in by blocks two levels high: nothing reaches it.
    write_source_hole(dir / "walled.top", "par 2\nlayout\n#####\n##C##\n#####\nooooo\nooToo\n");
    struct Case {
        const char* file;
        const char* message;
    };
    for (Case c : {Case{"notee.top", "no tee"}, Case{"nocup.top", "no cup"},
                   Case{"nowarpexit.top", "warp 0 has an entry but no exit"},
                   Case{"walled.top", "cannot be completed within 1 strokes"}}) {
        SCOPED_TRACE(c.file);
        std::string cor = dir / (std::string(c.file) + ".cor");
        ASSERT_EQ(run_tool("course pack " + cor + " " + (dir / "good.top") + " " + (dir / c.file) + " --par 2 2").status, 0);
        ToolRun check = run_tool("course check " + cor + " --max-strokes 1");
        EXPECT_EQ(check.status, 1) << check.output;
        EXPECT_NE(check.output.find(std::string("FAIL hole 2: ") + c.message), std::string::npos) << check.output;
        EXPECT_NE(check.output.find("ok hole 1"), std::string::npos) << check.output;
    }

    // Recorded putts: a good sequence passes, a missing or a failing one does not.
    std::string cor = dir / "lane.cor";
    ASSERT_EQ(run_tool("course pack " + cor + " " + (dir / "good.top") + " " + (dir / "good.top") + " --par 2 2").status, 0);
    ToolRun solved = run_tool("hole solve " + (dir / "good.top") + " --max-strokes 2");
    ASSERT_EQ(solved.status, 0) << solved.output;
    size_t at = solved.output.find("putts ", solved.output.find("solved"));
    ASSERT_NE(at, std::string::npos) << solved.output;
    std::string putts = solved.output.substr(at + 6, solved.output.find('\n', at) - at - 6);
    write_text(dir / "good.putts", "hole 1 a par 2 putts " + putts + "\nhole 2 b par 2 putts " + putts + "\n");
    ToolRun good = run_tool("course check " + cor + " --putts " + (dir / "good.putts"));
    EXPECT_EQ(good.status, 0) << good.output;
    write_text(dir / "bad.putts", "hole 1 a par 2 putts " + putts + "\nhole 2 b par 2 putts 270/1\n");
    ToolRun bad = run_tool("course check " + cor + " --putts " + (dir / "bad.putts"));
    EXPECT_EQ(bad.status, 1) << bad.output;
    EXPECT_NE(bad.output.find("FAIL hole 2: the recorded putts do not hole out"), std::string::npos) << bad.output;
    write_text(dir / "short.putts", "hole 1 a par 2 putts " + putts + "\n");
    EXPECT_EQ(run_tool("course check " + cor + " --putts " + (dir / "short.putts")).status, 1);
}

TEST(CoursesTool, SolverFindsReplayablePuttsOnSmallHoles)
{
    // A lane and a dogleg whose railings hide the cup from the tee.
    const std::string dogleg =
        "name Dogleg\npar 3\nlayout\n"
        "ooooo\n"
        "oooCo\n"
        "o....\n"
        "o....\n"
        "oTo..\n";
    for (const std::string& source : {std::string(LANE), dogleg}) {
        ScratchDir dir;
        write_source_hole(dir / "h.top", source);
        auto started = std::chrono::steady_clock::now();
        ToolRun solved = run_tool("hole solve " + (dir / "h.top") + " --max-strokes 3");
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::printf("solver: %.1f s\n%s", seconds, solved.output.c_str());
        ASSERT_EQ(solved.status, 0) << solved.output;
        size_t at = solved.output.find("putts ", solved.output.find("solved"));
        ASSERT_NE(at, std::string::npos);
        std::vector<Putt> putts;
        ASSERT_TRUE(parse_putts(solved.output.substr(at + 6), putts, nullptr)) << solved.output;
        // The same putts replayed here hole out in as many strokes.
        HoleSource parsed;
        ASSERT_TRUE(parse_hole_source(source, parsed, nullptr));
        auto table = std::make_unique<PuttTable>();
        ASSERT_TRUE(build_hole_grid(parsed, table->grid, nullptr));
        ReplayResult replay = replay_putts(table->world, putts);
        EXPECT_TRUE(replay.holed);
        EXPECT_EQ(replay.strokes, static_cast<int>(putts.size()));
        // Same hole, same answer.
        // (The line before it gives the time taken, so each output is cut at its own "solved".)
        const std::string again = run_tool("hole solve " + (dir / "h.top") + " --max-strokes 3").output;
        ASSERT_NE(again.find("solved"), std::string::npos) << again;
        EXPECT_EQ(again.substr(again.find("solved")), solved.output.substr(solved.output.find("solved")));
    }
}

TEST(CoursesTool, HoleSourcesRefuseWhatTheyCannotBuild)
{
    HoleSource source;
    std::string error;
    EXPECT_FALSE(parse_hole_source("name x\nlayout\noTCo\n", source, &error));   // no par
    EXPECT_FALSE(parse_hole_source("par 2\nlayout\noTCo\n\nheights\n11\n", source, &error));
    EXPECT_FALSE(parse_hole_source("par 2\nwhat 3\nlayout\noTCo\n", source, &error));
    auto grid = std::make_unique<HoleGrid>();
    ASSERT_TRUE(parse_hole_source("par 2\nlayout\noTQo\n", source, &error));
    EXPECT_FALSE(build_hole_grid(source, *grid, &error));                         // unknown 'Q'
    ASSERT_TRUE(parse_hole_source("par 2\nlayout\noToo\n", source, &error));
    EXPECT_FALSE(build_hole_grid(source, *grid, &error));                         // no cup

    // A ramp up to a raised cup with its railings and a warp pair.
    ASSERT_TRUE(parse_hole_source("par 2\nlayout\n1oC\n^o!\nToo\n\nheights\n222\n222\n111\n", source, &error)) << error;
    ASSERT_TRUE(build_hole_grid(source, *grid, &error)) << error;
    const int i0 = (GRID_SIZE - 3) / 2, j0 = (GRID_SIZE - 3) / 2;
    EXPECT_EQ(grid->kind_at(i0, j0 + 1), 0);
    EXPECT_EQ(grid->edges_at(i0, j0 + 1), EDGE_RAMP_RAIL_BOTH);
    EXPECT_EQ(grid->height_at(i0 + 2, j0 + 2), 2);
    EXPECT_EQ(grid->edges_at(i0 + 2, j0 + 2), EDGE_CUP | EDGE_RAIL_YMAX | EDGE_RAIL_XMAX);
    EXPECT_EQ(grid->tee.level, 1);
    EXPECT_EQ(grid->tee.x, static_cast<int>(tile_corner(i0)));
    EXPECT_EQ(grid->warps.warpCount, 1);
    EXPECT_EQ(grid->warps.pairs[0].exitI, i0 + 2);
}
