// The ball stays inside the railings: hard putts all round the tee of railed test holes
// (lanes one tile wide, U-turns whose cup lies behind railings beside the tee, corners)
// never leave the fairway over or through a railing.
#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

#include "hole/hole_file.h"

#include "tests/unit/bundled_holes.h"
#include "tests/unit/tool_runner.h"

TEST(RailingSweep, HardPuttsNeverLeaveARailedFairway)
{
    ToolRun run = run_tool("sweep --generated --powers 54,30 --step 10");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("576 putts"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(", 0 escapes"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("escape:"), std::string::npos) << run.output;
}

TEST(RailingSweep, TheSweepSeesABallLeaveAnUnrailedLane)
{
    // A lane of plain ground with no railing at all: a full-power putt along it runs off the
    // end onto the bare floor, and the sweep must count it.
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    for (int j = 20; j < 24; ++j) grid->height_at(24, j) = 1;
    grid->tee = Tee{1, static_cast<int>(tile_corner(24)), static_cast<int>(tile_corner(20))};
    const std::string path = ::testing::TempDir() + "open_lane.top";
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, path, &error)) << error;
    ToolRun run = run_tool("sweep --powers 54 --step 90 " + path);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("over the bare floor"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("4 putts"), std::string::npos) << run.output;
    std::remove(path.c_str());
}

TEST(RailingSweep, ABallRollingOffAnUpperLevelPastARampRailStaysIn)
{
    // Downhill's lanes step down beside their ramps: putts across the upper level met the
    // ramp railings' upper ends, leaning back, and were thrown over the course's edge.
    for (const BundledHole& hole : bundled_holes()) {
        if (hole.stem != "09_downhill") continue;
        auto grid = std::make_unique<HoleGrid>();
        std::string error;
        ASSERT_TRUE(build_hole_grid(hole.source, *grid, &error)) << error;
        const std::string path = ::testing::TempDir() + "downhill.top";
        ASSERT_TRUE(write_hole_file(*grid, path, &error)) << error;
        ToolRun run = run_tool("sweep --powers 30 --step 5 " + path);
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find("72 putts"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find(", 0 escapes"), std::string::npos) << run.output;
        std::remove(path.c_str());
        return;
    }
    FAIL() << "Downhill is not among the bundled holes";
}

TEST(RailingSweep, FastBallsOffBumpersSeamsAndTheCupRimStayIn)
{
    // The last escapes of the bundled holes: balls driven fast by the bumpers or the ramps
    // were thrown up by the top edge of the next ground tile or the far rim of the cup, and
    // flew over the railing behind.
    struct Case { const char* stem; const char* powers; const char* putts; };
    const Case cases[] = {{"09_pinball", "40", "36 putts"},
                          {"08_bumper_garden", "40", "36 putts"},
                          {"09_downhill", "40,54", "72 putts"}};
    int found = 0;
    for (const BundledHole& hole : bundled_holes()) {
        for (const Case& c : cases) {
            if (hole.stem != c.stem) continue;
            ++found;
            auto grid = std::make_unique<HoleGrid>();
            std::string error;
            ASSERT_TRUE(build_hole_grid(hole.source, *grid, &error)) << error;
            const std::string path = ::testing::TempDir() + hole.stem + ".top";
            ASSERT_TRUE(write_hole_file(*grid, path, &error)) << error;
            ToolRun run = run_tool(std::string("sweep --step 10 --powers ") + c.powers + " " + path);
            EXPECT_EQ(run.status, 0) << hole.stem << "\n" << run.output;
            EXPECT_NE(run.output.find(c.putts), std::string::npos) << run.output;
            EXPECT_NE(run.output.find(", 0 escapes"), std::string::npos) << run.output;
            std::remove(path.c_str());
        }
    }
    EXPECT_EQ(found, 3);
}
