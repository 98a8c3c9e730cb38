#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>

#include "hole/hole_check.h"
#include "hole/hole_file.h"
#include "tests/unit/test_files.h"

namespace {

std::unique_ptr<HoleGrid> cleared_grid()
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    return grid;
}

std::string repeat(const std::string& text, int count)
{
    std::string out;
    for (int k = 0; k < count; ++k) out += text;
    return out;
}

}  // namespace

TEST(HoleFile, EmptyHoleIsSixteenThousandEightHundredSixteenBytes)
{
    ScratchDir dir;
    auto grid = cleared_grid();
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, dir.file("empty.top"), &error)) << error;
    const std::string text = dir.read("empty.top");
    EXPECT_EQ(text.size(), 16816u);
    EXPECT_EQ(text.substr(0, 14), "0*-1*0*0*-1*0*");
    EXPECT_EQ(text.substr(text.size() - 16), "0*-1*0*-1*-1*-1*");
}

TEST(HoleFile, RoundTripKeepsEveryLayerTheTeeAndWarps)
{
    ScratchDir dir;
    auto grid = cleared_grid();
    grid->height_at(24, 2) = 3;
    grid->kind_at(24, 2) = 3;
    grid->edges_at(24, 2) = EDGE_RAMP_RAIL_BOTH;
    grid->height_at(0, 48) = 16;
    grid->edges_at(0, 48) = 0x7f;
    grid->kind_at(10, 12) = -102;
    grid->kind_at(30, 31) = -202;
    grid->tee = {1, 0, -1408};
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, dir.file("a.top"), &error)) << error;
    const std::string text = dir.read("a.top");
    EXPECT_NE(text.find("3*3*-4*"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 10), "1*0*-1408*");

    auto back = cleared_grid();
    ASSERT_TRUE(read_hole_file(*back, dir.file("a.top"), &error)) << error;
    EXPECT_EQ(format_hole(*back), text);
    EXPECT_EQ(back->teeState, TeeState::Waiting);
    EXPECT_EQ(back->tee.y, -1408);
    EXPECT_EQ(back->warps.pairs[2].entryI, 10);
    EXPECT_EQ(back->warps.pairs[2].exitJ, 31);

    auto cleared = cleared_grid();
    ASSERT_TRUE(write_hole_file(*cleared, dir.file("b.top"), &error));
    ASSERT_TRUE(read_hole_file(*back, dir.file("b.top"), &error));
    EXPECT_EQ(back->teeState, TeeState::NoTee);
    EXPECT_EQ(back->tee.level, -1);
}

TEST(HoleFile, LineBreaksAndBlanksBetweenFieldsReadTheSame)
{
    ScratchDir dir;
    auto grid = cleared_grid();
    grid->height_at(5, 5) = 4;
    grid->kind_at(5, 5) = KIND_SAND;
    grid->tee = {4, -1216, -1216};
    std::string text = format_hole(*grid);
    std::string spaced;
    for (char c : text) {
        spaced += c;
        if (c == '*') spaced += "\r\n ";
    }
    dir.write("spaced.top", spaced);
    auto back = cleared_grid();
    std::string error;
    ASSERT_TRUE(read_hole_file(*back, dir.file("spaced.top"), &error));
    EXPECT_EQ(format_hole(*back), text);
}

TEST(HoleFile, ShortFileClearsTheRestAndKeepsTheTee)
{
    ScratchDir dir;
    dir.write("short.top", "5*-7*1*2*-8*");   // two tiles only
    auto grid = cleared_grid();
    grid->height_at(30, 30) = 9;
    grid->tee = {2, 64, 128};
    std::string error;
    ASSERT_TRUE(read_hole_file(*grid, dir.file("short.top"), &error));
    EXPECT_EQ(grid->height_at(0, 0), 5);
    EXPECT_EQ(grid->kind_at(0, 0), KIND_WATER);
    EXPECT_EQ(grid->edges_at(0, 0), 1);
    EXPECT_EQ(grid->height_at(0, 1), 2);
    EXPECT_EQ(grid->kind_at(0, 1), KIND_SAND);
    EXPECT_EQ(grid->edges_at(0, 1), 0);   // cut short by the end: no digits
    EXPECT_EQ(grid->height_at(30, 30), 0);
    EXPECT_EQ(grid->tee.x, 64);   // the tee is kept
    EXPECT_EQ(grid->teeState, TeeState::Waiting);

    // all tiles but no trailer: the tee stays too
    auto full = cleared_grid();
    const std::string tiles = repeat("1*-1*0*", 49 * 49);
    dir.write("notrailer.top", tiles);
    full->tee = {0, -1536, -1536};
    ASSERT_TRUE(read_hole_file(*full, dir.file("notrailer.top"), &error));
    EXPECT_EQ(full->height_at(48, 48), 1);
    EXPECT_EQ(full->tee.x, -1536);
}

TEST(HoleFile, JunkAndOverlongFieldsAreBounded)
{
    ScratchDir dir;
    std::string junk = std::string(100000, '7') + "*abc*-9x9*" + std::string(10, ' ') + "+12*" +
                       "99999999999999999999*-99999999999999999999*";
    dir.write("junk.top", junk);
    auto grid = cleared_grid();
    std::string error;
    ASSERT_TRUE(read_hole_file(*grid, dir.file("junk.top"), &error));
    // the first field is cut to its first 27 digits, which clamp
    EXPECT_EQ(grid->height_at(0, 0), 2147483647);
    EXPECT_EQ(grid->kind_at(0, 0), 0);        // no digits
    EXPECT_EQ(grid->edges_at(0, 0), -9);      // stops at the first non-digit
    EXPECT_EQ(grid->height_at(0, 1), 12);     // leading blanks skipped
    EXPECT_EQ(grid->kind_at(0, 1), 2147483647);
    EXPECT_EQ(grid->edges_at(0, 1), -2147483647 - 1);
    // the warnings name what a designer should fix
    std::vector<std::string> warnings = check_hole(*grid);
    EXPECT_NE(std::find(warnings.begin(), warnings.end(), "no cup"), warnings.end());
}

TEST(HoleFile, WarpCodesBeyondTheTableAreReadButNotPaired)
{
    ScratchDir dir;
    auto grid = cleared_grid();
    grid->kind_at(1, 1) = -112;
    grid->kind_at(2, 2) = -212;
    dir.write("w.top", format_hole(*grid));
    auto back = cleared_grid();
    std::string error;
    ASSERT_TRUE(read_hole_file(*back, dir.file("w.top"), &error));
    EXPECT_EQ(back->kind_at(1, 1), -112);
    EXPECT_EQ(back->warps.warpCount, 0);
    std::vector<std::string> warnings = check_hole(*back);
    EXPECT_NE(std::find(warnings.begin(), warnings.end(), "warp entry numbered 10 or more at (1, 1)"), warnings.end());
}

TEST(HoleFile, PendingWarpEntryIsNotStored)
{
    ScratchDir dir;
    auto grid = cleared_grid();
    grid->kind_at(7, 8) = -100;   // the entry of pair 0, placed over sand
    WarpPair& pending = grid->warps.pairs[0];
    pending.entryI = 7;
    pending.entryJ = 8;
    pending.entrySavedKind = KIND_SAND;
    grid->warps.warpPending = 1;
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, dir.file("p.top"), &error));
    auto back = cleared_grid();
    ASSERT_TRUE(read_hole_file(*back, dir.file("p.top"), &error));
    EXPECT_EQ(back->kind_at(7, 8), KIND_SAND);
    EXPECT_EQ(grid->warps.warpPending, 0);
}

TEST(HoleFile, MissingFileLeavesTheGridAlone)
{
    auto grid = cleared_grid();
    grid->height_at(1, 1) = 5;
    std::string error;
    EXPECT_FALSE(read_hole_file(*grid, "/nonexistent/dir/none.top", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(grid->height_at(1, 1), 5);
}

TEST(HoleFile, FailedSaveKeepsThePreviousFile)
{
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
    ScratchDir dir;
    auto grid = cleared_grid();
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, dir.file("keep.top"), &error));
    chmod(dir.path().c_str(), 0555);
    grid->height_at(0, 0) = 4;
    EXPECT_FALSE(write_hole_file(*grid, dir.file("keep.top"), &error));
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(dir.read("keep.top").substr(0, 6), "0*-1*0");
}

TEST(HoleFile, SaveIntoMissingDirectoryFailsWithAReason)
{
    ScratchDir dir;
    auto grid = cleared_grid();
    std::string error;
    EXPECT_FALSE(write_hole_file(*grid, dir.file("gone/x.top"), &error));
    EXPECT_NE(error.find("gone"), std::string::npos);
}

TEST(HoleFile, OnlyHoleFilesCountAsHolesAndNothingElseIsWrittenOver)
{
    ScratchDir dir;
    auto grid = cleared_grid();
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, dir.file("saved.top"), &error)) << error;
    EXPECT_TRUE(is_hole_file(dir.file("saved.top")));
    dir.write("spaced.top", "1*\n -1* 0*\r\n");
    EXPECT_TRUE(is_hole_file(dir.file("spaced.top")));
    dir.write("cut.top", "1*-1*0*2");   // cut inside its last field: still read as before
    EXPECT_TRUE(is_hole_file(dir.file("cut.top")));
    dir.write("empty.top", "");
    EXPECT_TRUE(is_hole_file(dir.file("empty.top")));

    // A course archive begins "PK\3\4"; a description or settings file holds letters.
    const std::string archive = std::string("PK\x03\x04\x14\x00", 6) + "course_description_file.cdf";
    dir.write("beginners.cor", archive);
    dir.write("notes.top", "3*Hole one*");
    dir.write("Config.glf", "w*s*600*450*");
    for (const char* name : {"beginners.cor", "notes.top", "Config.glf", "missing.top"})
        EXPECT_FALSE(is_hole_file(dir.file(name))) << name;
    EXPECT_FALSE(is_hole_file(dir.path().string())) << "a directory";

    // Saving over one of them is refused with a reason and leaves its bytes as they were.
    error.clear();
    EXPECT_FALSE(write_hole_file(*grid, dir.file("beginners.cor"), &error));
    EXPECT_NE(error.find("beginners.cor is not a hole file"), std::string::npos) << error;
    EXPECT_EQ(dir.read("beginners.cor"), archive);
    EXPECT_FALSE(write_hole_file(*grid, dir.file("Config.glf"), &error));
    EXPECT_EQ(dir.read("Config.glf"), "w*s*600*450*");
    // A hole file, or a new name, is written as always.
    EXPECT_TRUE(write_hole_file(*grid, dir.file("spaced.top"), &error)) << error;
    EXPECT_EQ(dir.read("spaced.top").size(), 16816u);
    EXPECT_TRUE(write_hole_file(*grid, dir.file("new.top"), &error)) << error;
}
