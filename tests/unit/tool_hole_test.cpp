// minigolf-tool hole info / hole normalize, run as a designer runs them.
#include <gtest/gtest.h>

#include <memory>

#include "hole/hole_file.h"
#include "tests/unit/test_files.h"
#include "tests/unit/tool_runner.h"

TEST(ToolHole, InfoDescribesTheHoleAndWarnsAboutOddities)
{
    ScratchDir dir;
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    grid->height_at(3, 4) = 2;
    grid->kind_at(5, 5) = -103;     // entry of pair 3 without exit
    grid->kind_at(6, 6) = -112;     // a number past the table
    grid->kind_at(7, 7) = -100;
    grid->kind_at(8, 8) = -200;
    grid->edges_at(9, 9) = EDGE_CUP; // a cup at height 0
    grid->tee = {2, static_cast<int>(tile_corner(3)), static_cast<int>(tile_corner(4))};
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, dir.file("odd.top"), &error));
    ToolRun run = run_tool("hole info " + dir.file("odd.top"));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("tee level=2 x=-1344 y=-1280 tile=(3, 4)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("warp 0 entry=(7, 7) exit=(8, 8)"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("warning warp 3 has an entry but no exit"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("warning warp entry numbered 10 or more at (6, 6)"), std::string::npos);
    EXPECT_NE(run.output.find("warning cup on a tile of height 0 at (9, 9)"), std::string::npos);
    EXPECT_NE(run.output.find("height 2 1"), std::string::npos);
}

TEST(ToolHole, InfoWarnsWhenTheCupCannotBeReached)
{
    ScratchDir dir;
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    grid->height_at(12, 12) = 1;
    grid->height_at(20, 20) = 2;       // a cup on a block no ramp leads up to
    grid->edges_at(20, 20) = EDGE_CUP;
    grid->tee = {1, static_cast<int>(tile_corner(12)), static_cast<int>(tile_corner(12))};
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, dir.file("walled.top"), &error));
    ToolRun run = run_tool("hole info " + dir.file("walled.top"));
    EXPECT_NE(run.output.find("warning the cup cannot be reached from the tee"), std::string::npos) << run.output;
    grid->height_at(18, 20) = 1;       // two ramps up to it from the floor, rising toward +x
    grid->kind_at(18, 20) = 3;
    grid->height_at(19, 20) = 2;
    grid->kind_at(19, 20) = 3;
    ASSERT_TRUE(write_hole_file(*grid, dir.file("ramped.top"), &error));
    run = run_tool("hole info " + dir.file("ramped.top"));
    EXPECT_EQ(run.output.find("cannot be reached"), std::string::npos) << run.output;
}

TEST(ToolHole, NormalizeRewritesTheCanonicalForm)
{
    ScratchDir dir;
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    grid->height_at(10, 10) = 4;
    grid->kind_at(10, 10) = 2;
    std::string canonical = format_hole(*grid);
    std::string messy;
    for (char c : canonical) {
        if (c == '*') messy += "*\n  ";
        else if (c == '4') messy += "+04";
        else messy += c;
    }
    dir.write("messy.top", messy);
    ToolRun run = run_tool("hole normalize " + dir.file("messy.top") + " " + dir.file("clean.top"));
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(dir.read("clean.top"), canonical);
}

TEST(ToolHole, UnreadableFileOrBadArgumentsFailClearly)
{
    ToolRun missing = run_tool("hole info /nonexistent/none.top");
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.output.find("cannot open hole file /nonexistent/none.top"), std::string::npos) << missing.output;
    EXPECT_EQ(run_tool("hole").status, 2);
    EXPECT_EQ(run_tool("bogus").status, 2);
}
