// The bundled courses: every hole source builds, its recorded putts hole out within par + 2
// when replayed with the real physics, and together the courses use every tile feature.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <sys/wait.h>

#include "hole/hole_file.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "tests/unit/bundled_holes.h"
#include "tools/courses/hole_layout.h"

TEST(CoursesBundled, NineAndEighteenHolesThatBuild)
{
    std::vector<BundledHole> holes = bundled_holes();
    int beginners = 0, championship = 0;
    auto grid = std::make_unique<HoleGrid>();
    for (const BundledHole& hole : holes) {
        (hole.course == "beginners" ? beginners : championship) += 1;
        std::string error;
        EXPECT_TRUE(build_hole_grid(hole.source, *grid, &error)) << hole.stem << ": " << error;
        EXPECT_FALSE(hole.source.name.empty()) << hole.stem;
        EXPECT_GE(hole.source.par, 2) << hole.stem;
    }
    EXPECT_EQ(beginners, 9);
    EXPECT_EQ(championship, 18);
}

TEST(CoursesBundled, RecordedPuttsHoleOutWithinParPlusTwo)
{
    auto table = std::make_unique<PuttTable>();
    for (const BundledHole& hole : bundled_holes()) {
        SCOPED_TRACE(hole.course + "/" + hole.stem);
        std::string error;
        ASSERT_TRUE(build_hole_grid(hole.source, table->grid, &error)) << error;
        std::vector<Putt> putts;
        ASSERT_TRUE(parse_putts(hole.source.putts, putts, &error)) << error;
        ASSERT_FALSE(putts.empty()) << "no recorded putts";
        ReplayResult replay = replay_putts(table->world, putts);
        EXPECT_TRUE(replay.holed);
        EXPECT_LE(replay.strokes, hole.source.par + 2);
        EXPECT_EQ(replay.strokes, static_cast<int>(putts.size()));
    }
}

TEST(CoursesBundled, TogetherTheyUseEveryFeature)
{
    std::set<std::string> seen;
    auto grid = std::make_unique<HoleGrid>();
    for (const BundledHole& hole : bundled_holes()) {
        ASSERT_TRUE(build_hole_grid(hole.source, *grid, nullptr));
        if (!hole.source.music.empty()) seen.insert("music");
        for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) {
            const int kind = grid->kind[k], edges = grid->edges[k], height = grid->height[k];
            if (height >= 2) seen.insert("raised");
            if (is_ramp(kind)) seen.insert("ramp");
            if (is_half_grass(kind)) seen.insert("half grass");
            if (edges < 0) seen.insert("ramp rails");
            if (edges > 0 && (edges & 0x0f)) seen.insert("rails");
            if (edges > 0 && (edges & 0x30)) seen.insert("diagonal rails");
            if (is_conveyor(kind)) seen.insert("conveyor " + std::to_string(kind));
            if (kind == KIND_OSCILLATING_BLOCK) seen.insert("block");
            if (kind == KIND_WATER) seen.insert("water");
            if (kind == KIND_SAND) seen.insert("sand");
            if (kind == KIND_BUMPER) seen.insert("bumper");
        }
        if (grid->warps.warpCount > 0) seen.insert("warp");
    }
    for (const char* feature : {"music", "raised", "ramp", "half grass", "ramp rails", "rails", "diagonal rails",
                                "conveyor -5", "conveyor -4", "conveyor -3", "conveyor -2", "block", "water", "sand",
                                "bumper", "warp"})
        EXPECT_TRUE(seen.count(feature)) << feature;
}

TEST(CoursesBundled, FairwaysAreEnclosed)
{
    // Every fairway tile side that faces bare floor carries a railing (ramps along their
    // long sides), so no ball can roll off the course.
    auto grid = std::make_unique<HoleGrid>();
    for (const BundledHole& hole : bundled_holes()) {
        ASSERT_TRUE(build_hole_grid(hole.source, *grid, nullptr));
        for (int i = 1; i < GRID_SIZE - 1; ++i) {
            for (int j = 1; j < GRID_SIZE - 1; ++j) {
                if (grid->height_at(i, j) == 0 || grid->edges_at(i, j) < 0 || is_ramp(grid->kind_at(i, j))) continue;
                const int e = grid->edges_at(i, j);
                const int di[4] = {0, 1, 0, -1}, dj[4] = {1, 0, -1, 0};
                // Wall blocks stand two levels above the ground beside them: no ball gets up there.
                int highest = 0;
                for (int s = 0; s < 4; ++s)
                    if (grid->kind_at(i + di[s], j + dj[s]) != KIND_PLAIN || grid->edges_at(i + di[s], j + dj[s]) != 0)
                        highest = std::max(highest, grid->height_at(i + di[s], j + dj[s]));
                if (e == 0 && grid->kind_at(i, j) == KIND_PLAIN && grid->height_at(i, j) >= highest + 2) continue;
                const int bit[4] = {EDGE_RAIL_YMAX, EDGE_RAIL_XMAX, EDGE_RAIL_YMIN, EDGE_RAIL_XMIN};
                for (int s = 0; s < 4; ++s) {
                    if (grid->height_at(i + di[s], j + dj[s]) == 0) {
                        EXPECT_TRUE(e & bit[s]) << hole.stem << " tile (" << i << ", " << j << ") side " << s;
                    }
                }
            }
        }
    }
}

TEST(CoursesBundled, BuiltArchivesPassCourseCheckWithTheirPutts)
{
    for (const char* course : {"beginners", "championship"}) {
        std::string command = std::string(MG_TOOL) + " course check " + MG_RUN_DIR + "/courses/" + course +
                              ".cor --putts " + MG_COURSE_WORK + "/" + course + ".putts 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
        int raw = pclose(pipe);
        EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << output;
        EXPECT_NE(output.find("ok: 0 hole(s) failed"), std::string::npos) << output;
    }
}
