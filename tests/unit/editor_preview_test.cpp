// What each editor tool says a click would do, by where the pointer is inside the tile.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "editor/editor_tools.h"

namespace {

class EditorPreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clear_hole(grid);
        grid.teeState = TeeState::Idle;
    }
    // The result of tool with the pointer at offsets (dx, dy) inside tile (i, j). Offsets of
    // 64 belong to the next tile as world points, so the regions are asked directly.
    int result(EditorTool tool, float dx, float dy, int i = 24, int j = 24)
    {
        TileSpot spot;
        spot.valid = true;
        spot.i = i;
        spot.j = j;
        spot.cornerX = tile_corner(i);
        spot.cornerY = tile_corner(j);
        spot.dx = dx;
        spot.dy = dy;
        return preview_result(grid, tool, spot);
    }
    void set_tile(int h, int kind, int edges, int i = 24, int j = 24)
    {
        grid.height_at(i, j) = h;
        grid.kind_at(i, j) = kind;
        grid.edges_at(i, j) = edges;
    }
    HoleGrid grid;
};

}  // namespace

TEST(EditorPointerTile, RoundsTowardZeroThenDownToTheTileCorner)
{
    TileSpot s = locate_tile(0.5f, 10.0f);
    ASSERT_TRUE(s.valid);
    EXPECT_EQ(s.i, 24);
    EXPECT_EQ(s.cornerX, 0.0f);
    EXPECT_FLOAT_EQ(s.dx, 0.5f);

    s = locate_tile(-63.5f, 10.0f);
    EXPECT_EQ(s.i, 23);
    EXPECT_EQ(s.cornerX, -64.0f);
    EXPECT_FLOAT_EQ(s.dx, 0.5f);

    // -1 < x < 0 truncates to 0: column 24, with the pointer just outside its low side
    s = locate_tile(-0.75f, 10.0f);
    EXPECT_EQ(s.i, 24);
    EXPECT_EQ(s.cornerX, 0.0f);
    EXPECT_FLOAT_EQ(s.dx, -0.75f);

    s = locate_tile(-64.0f, -1536.0f);
    EXPECT_EQ(s.i, 23);
    EXPECT_EQ(s.j, 0);
    EXPECT_TRUE(s.valid);
}

TEST(EditorPointerTile, OnlyTheGridsTilesAreValid)
{
    EXPECT_TRUE(locate_tile(1599.9f, 1599.9f).valid);
    EXPECT_EQ(locate_tile(1599.9f, 0).i, 48);
    EXPECT_FALSE(locate_tile(1600.0f, 0).valid);
    EXPECT_FALSE(locate_tile(0, -1537.0f).valid);
    EXPECT_FALSE(locate_tile(-2400.0f, 0).valid);
    EXPECT_FALSE(locate_tile(3.0e9f, 0).valid);
    EXPECT_FALSE(locate_tile(0, std::numeric_limits<float>::quiet_NaN()).valid);
}

TEST_F(EditorPreviewTest, OffTheGridOrWithNothingChosenThereIsNoTileAndNoDrawing)
{
    PreviewDrawing drawing;
    ToolPreview p = tool_preview(grid, EditorTool::Blocks, 1700.0f, 0.0f, &drawing);
    EXPECT_EQ(p.noTile, 1);
    EXPECT_EQ(p.result, -1);
    EXPECT_TRUE(drawing.lines.empty());

    p = tool_preview(grid, EditorTool::Nothing, 10.0f, 10.0f, &drawing);
    EXPECT_EQ(p.noTile, 1);
    EXPECT_TRUE(drawing.lines.empty());

    p = tool_preview(grid, EditorTool::Blocks, 70.0f, -10.0f, &drawing);
    EXPECT_EQ(p.noTile, 0);
    EXPECT_EQ(p.tileI, 25);
    EXPECT_EQ(p.tileJ, 23);
    EXPECT_EQ(p.cornerX, 64.0f);
    EXPECT_EQ(p.cornerY, -64.0f);
    EXPECT_FALSE(drawing.lines.empty());
}

TEST_F(EditorPreviewTest, BlocksSideStripsCornersAndFlatBlock)
{
    // the side strips, both ends included, tested before the corners
    EXPECT_EQ(result(EditorTool::Blocks, 10, 0), 2);
    EXPECT_EQ(result(EditorTool::Blocks, 54, 10), 2);
    EXPECT_EQ(result(EditorTool::Blocks, 64, 10.5f), 3);
    EXPECT_EQ(result(EditorTool::Blocks, 54, 54), 3);
    EXPECT_EQ(result(EditorTool::Blocks, 10, 64), 0);
    EXPECT_EQ(result(EditorTool::Blocks, 0, 10.5f), 1);
    EXPECT_EQ(result(EditorTool::Blocks, 32, 32), -1);
    // corners need a raised tile
    EXPECT_EQ(result(EditorTool::Blocks, 5, 5), -1);
    EXPECT_EQ(result(EditorTool::Blocks, 64, 64), -1);
    set_tile(1, KIND_PLAIN, 0);
    EXPECT_EQ(result(EditorTool::Blocks, 0, 0), 4);
    EXPECT_EQ(result(EditorTool::Blocks, 9.9f, 9.9f), 4);
    EXPECT_EQ(result(EditorTool::Blocks, 60, 5), 5);
    EXPECT_EQ(result(EditorTool::Blocks, 64, 64), 6);
    EXPECT_EQ(result(EditorTool::Blocks, 0, 64), 7);
    // a ramp only ever flattens
    set_tile(2, 3, 0);
    EXPECT_EQ(result(EditorTool::Blocks, 60, 32), -1);
    EXPECT_EQ(result(EditorTool::Blocks, 5, 5), -1);
}

TEST_F(EditorPreviewTest, RailingsDiagonalBandsCupAndSides)
{
    set_tile(1, KIND_PLAIN, 0);
    // the triangles' corners and edges count as inside
    EXPECT_EQ(result(EditorTool::Railings, 7.0710678f, 0), EDGE_RAIL_DIAG_MAIN);
    EXPECT_EQ(result(EditorTool::Railings, 0, 7.0710678f), EDGE_RAIL_DIAG_MAIN);
    EXPECT_EQ(result(EditorTool::Railings, 24.928932f, 32), EDGE_RAIL_DIAG_MAIN);
    EXPECT_EQ(result(EditorTool::Railings, 64, 56.928932f), EDGE_RAIL_DIAG_MAIN);
    EXPECT_EQ(result(EditorTool::Railings, 20, 12.93f), EDGE_RAIL_DIAG_MAIN);   // 5 units off the diagonal
    EXPECT_EQ(result(EditorTool::Railings, 20, 12.85f), 0);                      // just past the band
    EXPECT_EQ(result(EditorTool::Railings, 10, 5), EDGE_RAIL_DIAG_MAIN);         // band before the side strip
    EXPECT_EQ(result(EditorTool::Railings, 64 - 7.0710678f, 0), EDGE_RAIL_DIAG_ANTI);
    EXPECT_EQ(result(EditorTool::Railings, 38, 38), EDGE_RAIL_DIAG_MAIN);   // on both bands: the main one wins
    EXPECT_EQ(result(EditorTool::Railings, 26, 26), EDGE_RAIL_DIAG_MAIN);
    EXPECT_EQ(result(EditorTool::Railings, 26, 38), EDGE_RAIL_DIAG_ANTI);
    // the middle between the band pieces is the cup
    EXPECT_EQ(result(EditorTool::Railings, 32, 32), EDGE_CUP);
    EXPECT_EQ(result(EditorTool::Railings, 32, 25), EDGE_CUP);
    EXPECT_EQ(result(EditorTool::Railings, 38.5f, 32), EDGE_CUP);
    EXPECT_EQ(result(EditorTool::Railings, 32, 24.9f), 0);
    // the sides
    EXPECT_EQ(result(EditorTool::Railings, 32, 54), EDGE_RAIL_YMAX);
    EXPECT_EQ(result(EditorTool::Railings, 54, 32), EDGE_RAIL_XMAX);
    EXPECT_EQ(result(EditorTool::Railings, 32, 10), EDGE_RAIL_YMIN);
    EXPECT_EQ(result(EditorTool::Railings, 10, 32), EDGE_RAIL_XMIN);
    EXPECT_EQ(result(EditorTool::Railings, 2, 2), 0);
    EXPECT_EQ(result(EditorTool::Railings, 62, 62), 0);
    // no cup on the floor
    set_tile(0, KIND_PLAIN, 0);
    EXPECT_EQ(result(EditorTool::Railings, 32, 32), 0);
}

TEST_F(EditorPreviewTest, RailingsOnARampPickALongSide)
{
    set_tile(2, 0, 0);   // rises along y: the side is chosen by dx
    EXPECT_EQ(result(EditorTool::Railings, 31.9f, 5), EDGE_RAMP_RAIL_LOW);
    EXPECT_EQ(result(EditorTool::Railings, 32, 5), EDGE_RAMP_RAIL_HIGH);
    EXPECT_EQ(result(EditorTool::Railings, 32, 32), EDGE_RAMP_RAIL_HIGH);
    set_tile(2, 1, 0);   // rises along x: chosen by dy
    EXPECT_EQ(result(EditorTool::Railings, 60, 10), EDGE_RAMP_RAIL_LOW);
    EXPECT_EQ(result(EditorTool::Railings, 5, 40), EDGE_RAMP_RAIL_HIGH);
    PreviewDrawing drawing;
    tool_preview(grid, EditorTool::Railings, tile_corner(24) + 5, tile_corner(24) + 40, &drawing);
    // the strip lies on the slope: its points span one step of height
    float low = 1e9f, high = -1e9f;
    for (const PreviewPoint& p : drawing.lines) {
        low = std::min(low, p.z);
        high = std::max(high, p.z);
    }
    EXPECT_FLOAT_EQ(low, 2 * 32 + 1 - 32);
    EXPECT_FLOAT_EQ(high, 2 * 32 + 1);
}

TEST_F(EditorPreviewTest, ConveyorSidesInOrder)
{
    EXPECT_EQ(result(EditorTool::Conveyors, 32, 8), 0);   // floor tile
    set_tile(1, KIND_PLAIN, EDGE_RAIL_YMAX);        // railings do not matter
    EXPECT_EQ(result(EditorTool::Conveyors, 16, 0), -5);
    EXPECT_EQ(result(EditorTool::Conveyors, 48, 16), -5);
    EXPECT_EQ(result(EditorTool::Conveyors, 48, 16.5f), -4);
    EXPECT_EQ(result(EditorTool::Conveyors, 64, 48), -4);
    EXPECT_EQ(result(EditorTool::Conveyors, 16, 48.5f), -3);
    EXPECT_EQ(result(EditorTool::Conveyors, 0, 16), -2);
    EXPECT_EQ(result(EditorTool::Conveyors, 8, 8), 0);
    EXPECT_EQ(result(EditorTool::Conveyors, 32, 32), 0);
    set_tile(2, 2, 0);
    EXPECT_EQ(result(EditorTool::Conveyors, 32, 8), 0);
}

TEST_F(EditorPreviewTest, FeatureToolsWantABareTileAwayFromTheTee)
{
    // height 0: bumpers yes, water and sand no
    EXPECT_EQ(result(EditorTool::Bumpers, 32, 32), KIND_BUMPER);
    EXPECT_EQ(result(EditorTool::Water, 32, 32), 0);
    EXPECT_EQ(result(EditorTool::Sand, 32, 32), 0);
    EXPECT_EQ(result(EditorTool::PlaceBall, 0, 64), RESULT_PLACE_BALL);
    EXPECT_EQ(result(EditorTool::WarpZones, 32, 32), RESULT_WARP_ENTRY);
    set_tile(1, 5, 0);   // half-grass is bare
    EXPECT_EQ(result(EditorTool::Water, 64, 0), KIND_WATER);
    EXPECT_EQ(result(EditorTool::Sand, 1, 1), KIND_SAND);
    // pointer outside the tile (the truncation of -1 < x < 0)
    EXPECT_EQ(result(EditorTool::Water, -0.5f, 32), 0);
    EXPECT_EQ(result(EditorTool::PlaceBall, -0.5f, 32), 0);
    // railings make a tile not bare
    set_tile(1, KIND_PLAIN, EDGE_RAIL_XMIN);
    EXPECT_EQ(result(EditorTool::Water, 32, 32), 0);
    EXPECT_EQ(result(EditorTool::PlaceBall, 32, 32), 0);
    EXPECT_EQ(result(EditorTool::Bumpers, 32, 32), 0);
    // a feature tile is not bare
    set_tile(1, KIND_SAND, 0);
    EXPECT_EQ(result(EditorTool::Water, 32, 32), 0);
    // the tee tile takes no feature, but Place Ball may act there
    set_tile(1, KIND_PLAIN, 0);
    grid.tee = Tee{1, 0, 0};
    EXPECT_EQ(result(EditorTool::Water, 32, 32), 0);
    EXPECT_EQ(result(EditorTool::WarpZones, 32, 32), 0);
    EXPECT_EQ(result(EditorTool::Bumpers, 32, 32), 0);
    EXPECT_EQ(result(EditorTool::PlaceBall, 32, 32), RESULT_PLACE_BALL);
    EXPECT_EQ(result(EditorTool::Water, 32, 32, 25, 24), 0);   // neighbour at height 0
    EXPECT_EQ(result(EditorTool::Bumpers, 32, 32, 25, 24), KIND_BUMPER);
    // with an entry placed, the next click places the exit
    grid.warps.warpPending = 1;
    EXPECT_EQ(result(EditorTool::WarpZones, 32, 32, 25, 24), RESULT_WARP_EXIT);
}

TEST_F(EditorPreviewTest, OscillatingBlocksAnywhereButRamps)
{
    set_tile(0, KIND_WATER, EDGE_RAIL_YMAX);
    EXPECT_EQ(result(EditorTool::OscillatingBlocks, 0, 0), KIND_OSCILLATING_BLOCK);
    EXPECT_EQ(result(EditorTool::OscillatingBlocks, 64, 64), KIND_OSCILLATING_BLOCK);
    EXPECT_EQ(result(EditorTool::OscillatingBlocks, -0.5f, 3), 0);
    set_tile(3, 1, 0);
    EXPECT_EQ(result(EditorTool::OscillatingBlocks, 32, 32), 0);
}

TEST_F(EditorPreviewTest, PreviewsAreDrawnJustAboveTheTileTop)
{
    set_tile(3, KIND_PLAIN, 0);
    const EditorTool tools[] = {EditorTool::Blocks,    EditorTool::Railings, EditorTool::Conveyors, EditorTool::OscillatingBlocks, EditorTool::PlaceBall,
                         EditorTool::WarpZones, EditorTool::Water,   EditorTool::Sand,      EditorTool::Bumpers};
    for (EditorTool tool : tools) {
        PreviewDrawing drawing;
        const float dy = tool == EditorTool::Conveyors || tool == EditorTool::Railings ? 5.0f : 32.0f;
        tool_preview(grid, tool, 32.0f, dy, &drawing);
        const auto& points = tool == EditorTool::Sand ? drawing.points : drawing.lines;
        ASSERT_FALSE(points.empty()) << "tool " << static_cast<int>(tool);
        float lowest = 1e9f;
        for (const PreviewPoint& p : points) {
            lowest = std::min(lowest, p.z);
            EXPECT_GE(p.x, 0.0f);
            EXPECT_LE(p.x, 64.0f);
            EXPECT_GE(p.y, 0.0f);
            EXPECT_LE(p.y, 64.0f);
        }
        EXPECT_FLOAT_EQ(lowest, 3 * 32 + 1) << "tool " << static_cast<int>(tool);
    }
    // the warp entry and exit look different
    PreviewDrawing entry, exit;
    tool_preview(grid, EditorTool::WarpZones, 32.0f, 32.0f, &entry);
    grid.warps.warpPending = 1;
    tool_preview(grid, EditorTool::WarpZones, 32.0f, 32.0f, &exit);
    ASSERT_EQ(entry.lines.size(), exit.lines.size());
    EXPECT_NE(entry.lines[1].x, exit.lines[1].x);
    // a click that would do nothing shows nothing
    PreviewDrawing none;
    tool_preview(grid, EditorTool::Railings, 2.0f, 2.0f, &none);
    EXPECT_TRUE(none.lines.empty());
}

TEST_F(EditorPreviewTest, RampOutlineFollowsItsSlope)
{
    set_tile(4, 0, 0);   // rising toward +y
    PreviewDrawing drawing;
    tool_preview(grid, EditorTool::Blocks, 32.0f, 32.0f, &drawing);
    ASSERT_EQ(drawing.lines.size(), 8u);
    for (const PreviewPoint& p : drawing.lines) {
        if (p.y == 0.0f) {
            EXPECT_FLOAT_EQ(p.z, 3 * 32 + 1);
        } else {
            EXPECT_FLOAT_EQ(p.y, 64.0f);
            EXPECT_FLOAT_EQ(p.z, 4 * 32 + 1);
        }
    }
}
