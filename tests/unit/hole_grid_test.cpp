#include <gtest/gtest.h>

#include <memory>

#include "hole/hole_grid.h"

namespace {

std::unique_ptr<HoleGrid> cleared_grid()
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    return grid;
}

}  // namespace

TEST(HoleGrid, ClearedHoleHasNoTeeNoWarpsAndWaitsForRebuild)
{
    auto grid = cleared_grid();
    grid->kind_at(3, 4) = KIND_WATER;
    grid->warps.warpCount = 3;
    clear_hole(*grid);
    EXPECT_EQ(grid->warps.warpCount, 0);
    EXPECT_EQ(grid->tee.level, -1);
    EXPECT_EQ(grid->tee.x, -1);
    EXPECT_EQ(grid->tee.y, -1);
    EXPECT_EQ(grid->teeState, TeeState::NoTee);
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) {
        ASSERT_EQ(grid->height[k], 0);
        ASSERT_EQ(grid->kind[k], KIND_PLAIN);
        ASSERT_EQ(grid->edges[k], 0);
    }
}

TEST(HoleGrid, LayersAreStoredWithIOuter)
{
    auto grid = cleared_grid();
    grid->height_at(2, 5) = 7;
    EXPECT_EQ(grid->height[2 * 49 + 5], 7);
    EXPECT_FLOAT_EQ(tile_corner(0), -1536.0f);
    EXPECT_FLOAT_EQ(tile_corner(48), 1536.0f);
}

TEST(HoleGrid, CupTileGetsNoGroundColumn)
{
    EXPECT_FALSE(has_ground_column(3, 0x40));
    EXPECT_FALSE(has_ground_column(3, 0x41));
    EXPECT_TRUE(has_ground_column(3, 0x01));
    EXPECT_TRUE(has_ground_column(3, EDGE_RAMP_RAIL_BOTH));
    EXPECT_FALSE(has_ground_column(0, 0));
}

TEST(WarpTable, RebuildFillsSlotFromEntryAndExitTiles)
{
    auto grid = cleared_grid();
    grid->kind_at(10, 12) = -102;
    grid->kind_at(30, 31) = -202;
    rebuild_warp_table(*grid);
    const WarpPair& pair = grid->warps.pairs[2];
    EXPECT_EQ(pair.entryI, 10);
    EXPECT_EQ(pair.entryJ, 12);
    EXPECT_EQ(pair.exitI, 30);
    EXPECT_EQ(pair.exitJ, 31);
    EXPECT_EQ(pair.entrySavedKind, -1);
    EXPECT_EQ(pair.exitSavedKind, -1);
    EXPECT_EQ(pair.entryCode, -102);
    EXPECT_EQ(pair.exitCode, -202);
}

TEST(WarpTable, WarpCountIsTheNumberOfExitTiles)
{
    auto grid = cleared_grid();
    grid->kind_at(1, 1) = -200;
    grid->kind_at(2, 2) = -201;
    grid->kind_at(3, 3) = -100;
    grid->kind_at(4, 4) = -101;
    grid->kind_at(5, 5) = -102;   // an entry without exit does not count
    rebuild_warp_table(*grid);
    EXPECT_EQ(grid->warps.warpCount, 2);
}

TEST(WarpTable, CodesBeyondTenPairsAreIgnored)
{
    auto grid = cleared_grid();
    // eleven exits, some numbered far beyond the table
    for (int n = 0; n < 10; ++n) grid->kind_at(n, 0) = -200 - n;
    grid->kind_at(20, 20) = -250;
    grid->kind_at(21, 21) = -150;
    grid->kind_at(22, 22) = -299;
    rebuild_warp_table(*grid);
    EXPECT_EQ(grid->warps.warpCount, 10);
    EXPECT_EQ(grid->warps.pairs[9].exitI, 9);
}

TEST(WarpTable, RemovingPairRestoresTilesAndRenumbersLaterPairs)
{
    auto grid = cleared_grid();
    WarpTable& table = grid->warps;
    // three pairs as the editor makes them, each remembering what its tiles held
    const int tiles[3][4] = {{1, 1, 2, 2}, {3, 3, 4, 4}, {5, 5, 6, 6}};
    for (int n = 0; n < 3; ++n) {
        WarpPair& pair = table.pairs[n];
        pair = {tiles[n][0], tiles[n][1], tiles[n][2], tiles[n][3], KIND_SAND, KIND_HALF_GRASS_FIRST, -100 - n, -200 - n};
        grid->kind_at(pair.entryI, pair.entryJ) = pair.entryCode;
        grid->kind_at(pair.exitI, pair.exitJ) = pair.exitCode;
    }
    table.warpCount = 3;

    remove_warp_at(*grid, 2, 2);   // the exit of pair 0
    EXPECT_EQ(table.warpCount, 2);
    EXPECT_EQ(grid->kind_at(1, 1), KIND_SAND);
    EXPECT_EQ(grid->kind_at(2, 2), KIND_HALF_GRASS_FIRST);
    EXPECT_EQ(grid->kind_at(3, 3), -100);
    EXPECT_EQ(grid->kind_at(4, 4), -200);
    EXPECT_EQ(grid->kind_at(5, 5), -101);
    EXPECT_EQ(grid->kind_at(6, 6), -201);
    EXPECT_EQ(table.pairs[1].entryI, 5);
    EXPECT_EQ(table.pairs[1].entryCode, -101);
    EXPECT_EQ(table.pairs[1].exitCode, -201);

    remove_warp_at(*grid, 40, 40);   // no pair there: nothing changes
    EXPECT_EQ(table.warpCount, 2);
}

TEST(WarpTable, ExitOfEntryGivesExitTileAndLevelTwoAbove)
{
    auto grid = cleared_grid();
    grid->kind_at(10, 12) = -100;
    grid->kind_at(30, 31) = -200;
    grid->height_at(30, 31) = 3;
    rebuild_warp_table(*grid);
    WarpExit exit = warp_exit_of(*grid, 10, 12);
    ASSERT_TRUE(exit.found);
    EXPECT_EQ(exit.i, 30);
    EXPECT_EQ(exit.j, 31);
    EXPECT_EQ(exit.level, 5);
    EXPECT_FALSE(warp_exit_of(*grid, 30, 31).found);   // an exit is no entry
    EXPECT_FALSE(warp_exit_of(*grid, 0, 0).found);
}
