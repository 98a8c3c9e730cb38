// What a click of each editor tool does to the hole, applied with the preview of the frame
// before, as the editor applies it.
#include <gtest/gtest.h>

#include <memory>

#include "editor/editor_tools.h"
#include "hole/round_state.h"
#include "physics/physics.h"
#include "physics/putt_play.h"

namespace {

class EditorClickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        init_physics(physicsWorld);
        clear_hole(grid);
        grid.teeState = TeeState::Idle;
        editor = EditorState{};
        gameState.ballReady = 0;
        gameState.puttRequested = 0;
        build_hole_geometry(physicsWorld);
    }
    // The preview at offsets (dx, dy) of tile (i, j), then the click in the next frame.
    void click(EditorTool tool, Click button, float dx, float dy, int i = 24, int j = 24)
    {
        editor.currentTool = tool;
        editor.lastPreview = tool_preview(grid, tool, tile_corner(i) + dx, tile_corner(j) + dy, nullptr);
        editor.clickRequest = button;
        apply_click(physicsWorld, editor);
        EXPECT_EQ(editor.clickRequest, Click::None);
    }
    void left(EditorTool tool, float dx, float dy, int i = 24, int j = 24) { click(tool, Click::Place, dx, dy, i, j); }
    void right(EditorTool tool, float dx, float dy, int i = 24, int j = 24) { click(tool, Click::Remove, dx, dy, i, j); }
    void set_tile(int h, int kind, int edges, int i = 24, int j = 24)
    {
        grid.height_at(i, j) = h;
        grid.kind_at(i, j) = kind;
        grid.edges_at(i, j) = edges;
    }
    int h(int i = 24, int j = 24) { return grid.height_at(i, j); }
    int kind(int i = 24, int j = 24) { return grid.kind_at(i, j); }
    int edges(int i = 24, int j = 24) { return grid.edges_at(i, j); }
    // A complete warp pair from tile (i, j) to (i, j + 1) of row i.
    void place_pair(int i)
    {
        left(EditorTool::WarpZones, 32, 32, i, 10);
        left(EditorTool::WarpZones, 32, 32, i, 11);
    }
    void place_tee(int i = 30, int j = 30) { left(EditorTool::PlaceBall, 32, 32, i, j); }
    bool has_tee() { return !(grid.tee.level == -1 && grid.tee.x == -1 && grid.tee.y == -1); }

    void ball_position(int slot, double out[3]) const { ::ball_position(physicsWorld, slot, out); }
    // The frame's editor steps, on the editor state the input handlers keep.
    void preview_made_at(int x, int y) { ::preview_made_at(editorState, x, y); }
    void press_editor_button(Click click, int x, int y) { ::press_editor_button(editorState, click, x, y); }
    void apply_editor_click() { ::apply_editor_click(editorState, physicsWorld); }

    std::unique_ptr<PuttTable> table = std::make_unique<PuttTable>();
    HoleGrid& grid = table->grid;
    GameState& gameState = table->round;
    AimInput& aimInput = table->aim;
    PhysicsWorld& physicsWorld = table->world;
    GeomLists& geomLists = physicsWorld.geoms;
    EditorState editor;
    EditorState editorState;
};

}  // namespace

TEST_F(EditorClickTest, BlocksRaiseAndLowerOneStepWithinTheLimits)
{
    left(EditorTool::Blocks, 32, 32);
    left(EditorTool::Blocks, 32, 32);
    EXPECT_EQ(h(), 2);
    EXPECT_EQ(kind(), KIND_PLAIN);
    right(EditorTool::Blocks, 32, 32);
    EXPECT_EQ(h(), 1);
    set_tile(16, KIND_PLAIN, EDGE_RAIL_XMIN);
    left(EditorTool::Blocks, 32, 32);
    EXPECT_EQ(h(), 16);
    EXPECT_EQ(edges(), 0);
    // a flat click on a ramp of height 16 leaves a flat block of height 16
    set_tile(16, 2, EDGE_RAMP_RAIL_BOTH);
    left(EditorTool::Blocks, 32, 32);
    EXPECT_EQ(h(), 16);
    EXPECT_EQ(kind(), KIND_PLAIN);
    EXPECT_EQ(edges(), 0);
    // lowering the floor does nothing but clear the edges
    set_tile(0, KIND_PLAIN, EDGE_CUP);
    right(EditorTool::Blocks, 32, 32);
    EXPECT_EQ(h(), 0);
    EXPECT_EQ(edges(), 0);
}

TEST_F(EditorClickTest, BlocksSideClicksMakeRamps)
{
    // a left side click on the floor gives a ramp of height 1 rising toward that side
    left(EditorTool::Blocks, 60, 32);
    EXPECT_EQ(h(), 1);
    EXPECT_EQ(kind(), 3);
    // a right click on a ramp takes it and one step away
    right(EditorTool::Blocks, 60, 32);
    EXPECT_EQ(h(), 0);
    EXPECT_EQ(kind(), KIND_PLAIN);
    // a right side click on the floor changes nothing but the edges
    set_tile(0, KIND_PLAIN, EDGE_RAIL_YMAX);
    right(EditorTool::Blocks, 32, 5);
    EXPECT_EQ(h(), 0);
    EXPECT_EQ(kind(), KIND_PLAIN);
    EXPECT_EQ(edges(), 0);
    // a right side click on a block drops that side: the opposite ramp, same height
    set_tile(2, KIND_PLAIN, 0);
    right(EditorTool::Blocks, 32, 5);   // side -y: result 2, ramp 0 rising toward +y
    EXPECT_EQ(h(), 2);
    EXPECT_EQ(kind(), 0);
    set_tile(2, KIND_PLAIN, 0);
    right(EditorTool::Blocks, 5, 32);   // side -x: result 1, ramp 3
    EXPECT_EQ(kind(), 3);
    // a side click on a raised feature tile turns it into a ramp of the same height
    set_tile(2, KIND_SAND, 0);
    left(EditorTool::Blocks, 32, 60);
    EXPECT_EQ(h(), 2);
    EXPECT_EQ(kind(), 0);
}

TEST_F(EditorClickTest, BlocksCornersMakeHalfGrassOnRaisedTilesOnly)
{
    // on the floor a corner is a flat click: it raises the tile
    left(EditorTool::Blocks, 3, 3);
    EXPECT_EQ(h(), 1);
    EXPECT_EQ(kind(), KIND_PLAIN);
    set_tile(1, KIND_PLAIN, EDGE_RAIL_YMAX);
    left(EditorTool::Blocks, 60, 60);
    EXPECT_EQ(h(), 1);
    EXPECT_EQ(kind(), 6);
    EXPECT_EQ(edges(), 0);
    // the right button at a corner does the same
    right(EditorTool::Blocks, 3, 60);
    EXPECT_EQ(kind(), 7);
    EXPECT_EQ(h(), 1);
    // a right flat click takes the half-grass mark but keeps the height
    right(EditorTool::Blocks, 32, 32);
    EXPECT_EQ(kind(), KIND_PLAIN);
    EXPECT_EQ(h(), 1);
    // a corner click does not move the tee off its tile
    place_tee(24, 24);
    left(EditorTool::Blocks, 3, 3);
    EXPECT_EQ(kind(), 4);
    EXPECT_TRUE(has_tee());
}

TEST_F(EditorClickTest, BlocksRightOnAFeatureTakesTheFeatureAndAStep)
{
    set_tile(2, KIND_WATER, 0);
    right(EditorTool::Blocks, 32, 32);
    EXPECT_EQ(h(), 1);
    EXPECT_EQ(kind(), KIND_PLAIN);
    set_tile(2, KIND_WATER, 0);
    right(EditorTool::Blocks, 60, 32);   // a side click too
    EXPECT_EQ(h(), 1);
    EXPECT_EQ(kind(), KIND_PLAIN);
}

TEST_F(EditorClickTest, RailingsAddBitsAndRampSides)
{
    set_tile(1, KIND_PLAIN, 0x41);
    left(EditorTool::Railings, 32, 60);   // 0x01 already set
    EXPECT_EQ(edges(), 0x41);
    left(EditorTool::Railings, 60, 32);
    EXPECT_EQ(edges(), 0x43);
    left(EditorTool::Railings, 2, 2);     // nothing there: nothing added
    EXPECT_EQ(edges(), 0x43);
    left(EditorTool::Railings, 20, 13);
    EXPECT_EQ(edges(), 0x53);
    right(EditorTool::Railings, 2, 2);    // all go at once
    EXPECT_EQ(edges(), 0);
    EXPECT_EQ(h(), 1);

    set_tile(2, 0, 0);
    left(EditorTool::Railings, 10, 32);
    EXPECT_EQ(edges(), EDGE_RAMP_RAIL_LOW);
    left(EditorTool::Railings, 10, 32);
    EXPECT_EQ(edges(), EDGE_RAMP_RAIL_LOW);
    left(EditorTool::Railings, 50, 32);
    EXPECT_EQ(edges(), EDGE_RAMP_RAIL_BOTH);
    left(EditorTool::Railings, 10, 32);
    EXPECT_EQ(edges(), EDGE_RAMP_RAIL_BOTH);
    left(EditorTool::Railings, 50, 32);
    EXPECT_EQ(edges(), EDGE_RAMP_RAIL_BOTH);
    EXPECT_EQ(kind(), 0);
    EXPECT_EQ(h(), 2);
    // one side replaces the other's single railing
    set_tile(2, 0, EDGE_RAMP_RAIL_HIGH);
    left(EditorTool::Railings, 50, 32);
    EXPECT_EQ(edges(), EDGE_RAMP_RAIL_HIGH);

    // no cup on the floor
    set_tile(0, KIND_PLAIN, 0);
    left(EditorTool::Railings, 32, 32);
    EXPECT_EQ(edges(), 0);
}

TEST_F(EditorClickTest, ARailingOnAFeatureTileMakesItPlain)
{
    set_tile(1, KIND_WATER, 0);
    left(EditorTool::Railings, 32, 60);
    EXPECT_EQ(kind(), KIND_PLAIN);
    EXPECT_EQ(edges(), EDGE_RAIL_YMAX);
    EXPECT_EQ(h(), 1);
    set_tile(1, 6, 0);   // half-grass stays
    left(EditorTool::Railings, 32, 60);
    EXPECT_EQ(kind(), 6);
}

TEST_F(EditorClickTest, WaterOnARailedTileOnlyClearsIt)
{
    set_tile(2, KIND_PLAIN, EDGE_RAIL_XMAX | EDGE_CUP);
    EXPECT_EQ(tool_preview(grid, EditorTool::Water, 32, 32, nullptr).result, 0);
    left(EditorTool::Water, 32, 32);
    EXPECT_EQ(kind(), KIND_PLAIN);
    EXPECT_EQ(edges(), 0);
    left(EditorTool::Water, 32, 32);
    EXPECT_EQ(kind(), KIND_WATER);
    right(EditorTool::Sand, 32, 32);   // the wrong tool removes nothing
    EXPECT_EQ(kind(), KIND_WATER);
    right(EditorTool::Water, 32, 32);
    EXPECT_EQ(kind(), KIND_PLAIN);
    EXPECT_EQ(h(), 2);
}

TEST_F(EditorClickTest, WaterClickRemovesTheWarpPairOnItsTile)
{
    grid.height_at(24, 10) = 1;
    place_pair(24);
    ASSERT_EQ(grid.warps.warpCount, 1);
    left(EditorTool::Water, 32, 32, 24, 10);   // preview 0 on a warp tile
    EXPECT_EQ(grid.warps.warpCount, 0);
    EXPECT_EQ(kind(24, 10), KIND_PLAIN);
    EXPECT_EQ(kind(24, 11), KIND_PLAIN);
}

TEST_F(EditorClickTest, FeaturesNeedHeightExceptBumpers)
{
    left(EditorTool::Water, 32, 32);
    left(EditorTool::Sand, 32, 32);
    EXPECT_EQ(kind(), KIND_PLAIN);
    left(EditorTool::Bumpers, 32, 32);
    EXPECT_EQ(kind(), KIND_BUMPER);
    right(EditorTool::Bumpers, 32, 32);
    EXPECT_EQ(kind(), KIND_PLAIN);
    set_tile(1, KIND_PLAIN, 0);
    left(EditorTool::Sand, 32, 32);
    EXPECT_EQ(kind(), KIND_SAND);
    right(EditorTool::Sand, 32, 32);
    EXPECT_EQ(kind(), KIND_PLAIN);
}

TEST_F(EditorClickTest, ConveyorsAndWaterTakeTheTeeAwaySandDoesNot)
{
    set_tile(1, KIND_PLAIN, 0, 10, 10);
    place_tee();
    ASSERT_TRUE(has_tee());
    EXPECT_EQ(gameState.ballReady, 1);
    left(EditorTool::Sand, 32, 32, 10, 10);
    EXPECT_EQ(kind(10, 10), KIND_SAND);
    EXPECT_TRUE(has_tee());
    left(EditorTool::Conveyors, 32, 4, 10, 10);
    EXPECT_EQ(kind(10, 10), -5);
    EXPECT_FALSE(has_tee());
    EXPECT_EQ(gameState.ballReady, 0);
    double ball[3];
    ball_position(0, ball);
    EXPECT_GT(ball[2], PARKED_THRESHOLD_Z);   // out of play above the hole

    place_tee();
    set_tile(1, KIND_PLAIN, 0, 11, 11);
    left(EditorTool::Water, 32, 32, 11, 11);
    EXPECT_FALSE(has_tee());
    EXPECT_EQ(grid.teeState, TeeState::Idle);
    right(EditorTool::Conveyors, 32, 4, 10, 10);
    EXPECT_EQ(kind(10, 10), KIND_PLAIN);
}

TEST_F(EditorClickTest, EditingTheTeeTileRemovesTheTee)
{
    set_tile(1, KIND_PLAIN, 0, 30, 30);
    place_tee();
    ASSERT_TRUE(has_tee());
    EXPECT_EQ(grid.tee.level, 1);
    EXPECT_EQ(grid.tee.x, 6 * 64);
    EXPECT_EQ(grid.tee.y, 6 * 64);
    double ball[3];
    ball_position(0, ball);
    EXPECT_NEAR(ball[0], 6 * 64 + 32, 1e-6);
    EXPECT_NEAR(ball[1], 6 * 64 + 32, 1e-6);
    EXPECT_NEAR(ball[2], 32 + 9, 1e-6);
    // sand on the tee tile: not placed (preview 0), but the tee goes
    left(EditorTool::Sand, 32, 32, 30, 30);
    EXPECT_EQ(kind(30, 30), KIND_PLAIN);
    EXPECT_FALSE(has_tee());

    place_tee();
    left(EditorTool::Railings, 32, 60, 30, 30);
    EXPECT_FALSE(has_tee());
    place_tee();   // not on a railed tile
    EXPECT_FALSE(has_tee());
    right(EditorTool::Railings, 32, 60, 30, 30);
    place_tee();
    left(EditorTool::Blocks, 32, 32, 30, 30);
    EXPECT_FALSE(has_tee());
    EXPECT_EQ(h(30, 30), 2);
}

TEST_F(EditorClickTest, PlaceBallRightClickRemovesTheTeeWhereverItIs)
{
    place_tee(30, 30);
    ASSERT_TRUE(has_tee());
    right(EditorTool::PlaceBall, 32, 32, 5, 5);
    EXPECT_FALSE(has_tee());
    EXPECT_EQ(gameState.ballReady, 0);
    // a right click where no tee could go leaves it
    place_tee(30, 30);
    set_tile(1, KIND_WATER, 0, 5, 5);
    right(EditorTool::PlaceBall, 32, 32, 5, 5);
    EXPECT_TRUE(has_tee());
    // the tee moves with the next left click
    place_tee(31, 30);
    EXPECT_EQ(grid.tee.x, 7 * 64);
}

TEST_F(EditorClickTest, WarpPairsAreNumberedAndRenumbered)
{
    place_pair(1);
    place_pair(2);
    place_pair(3);
    ASSERT_EQ(grid.warps.warpCount, 3);
    EXPECT_EQ(kind(1, 10), -100);
    EXPECT_EQ(kind(1, 11), -200);
    EXPECT_EQ(kind(3, 10), -102);
    EXPECT_EQ(kind(3, 11), -202);
    // right-clicking the entry of pair 1 removes it; pair 2 becomes pair 1
    right(EditorTool::WarpZones, 32, 32, 2, 10);
    EXPECT_EQ(grid.warps.warpCount, 2);
    EXPECT_EQ(kind(2, 10), KIND_PLAIN);
    EXPECT_EQ(kind(2, 11), KIND_PLAIN);
    EXPECT_EQ(kind(3, 10), -101);
    EXPECT_EQ(kind(3, 11), -201);
    EXPECT_EQ(kind(1, 10), -100);
    // the exit removes its pair as well, and a placed warp restores what the tile was
    set_tile(1, 5, 0, 4, 10);
    place_pair(4);
    EXPECT_EQ(kind(4, 10), -102);
    right(EditorTool::WarpZones, 32, 32, 4, 11);
    EXPECT_EQ(kind(4, 10), 5);
    EXPECT_EQ(grid.warps.warpCount, 2);
}

TEST_F(EditorClickTest, AHalfPlacedPairIsAbandonedByRightClickOrToolChange)
{
    set_tile(1, 4, 0, 5, 5);
    left(EditorTool::WarpZones, 32, 32, 5, 5);
    EXPECT_EQ(kind(5, 5), -100);
    EXPECT_EQ(grid.warps.warpPending, 1);
    right(EditorTool::WarpZones, 32, 32, 20, 20);
    EXPECT_EQ(kind(5, 5), 4);
    EXPECT_EQ(grid.warps.warpPending, 0);
    EXPECT_EQ(grid.warps.warpCount, 0);

    left(EditorTool::WarpZones, 32, 32, 5, 5);
    abandon_warp_when_left(grid, EditorTool::WarpZones, AimMode::Off);   // still the warp tool: kept
    EXPECT_EQ(kind(5, 5), -100);
    abandon_warp_when_left(grid, EditorTool::Sand, AimMode::Off);
    EXPECT_EQ(kind(5, 5), 4);
    EXPECT_EQ(grid.warps.warpPending, 0);

    left(EditorTool::WarpZones, 32, 32, 5, 5);
    abandon_warp_when_left(grid, EditorTool::WarpZones, AimMode::Aiming);   // aiming began
    EXPECT_EQ(kind(5, 5), 4);
}

TEST_F(EditorClickTest, TenPairsAreTheMost)
{
    for (int n = 0; n < 10; ++n) place_pair(n);
    ASSERT_EQ(grid.warps.warpCount, 10);
    set_tile(1, KIND_PLAIN, EDGE_RAIL_XMIN, 40, 40);
    EXPECT_EQ(tool_preview(grid, EditorTool::WarpZones, tile_corner(40) + 32, tile_corner(41) + 32, nullptr).result,
              RESULT_WARP_ENTRY);
    left(EditorTool::WarpZones, 32, 32, 40, 41);
    left(EditorTool::WarpZones, 32, 32, 40, 40);
    EXPECT_EQ(kind(40, 41), KIND_PLAIN);
    EXPECT_EQ(edges(40, 40), EDGE_RAIL_XMIN);
    EXPECT_EQ(grid.warps.warpPending, 0);
    // below ten, a warp click on a tile that takes none clears its railings
    right(EditorTool::WarpZones, 32, 32, 9, 10);
    left(EditorTool::WarpZones, 32, 32, 40, 40);
    EXPECT_EQ(edges(40, 40), 0);
    EXPECT_EQ(kind(40, 40), KIND_PLAIN);
}

TEST_F(EditorClickTest, OscillatingBlocksBuildAndReleaseTheirGeometry)
{
    set_tile(1, KIND_SAND, EDGE_RAIL_XMIN);
    left(EditorTool::OscillatingBlocks, 32, 32);
    EXPECT_EQ(kind(), KIND_OSCILLATING_BLOCK);
    EXPECT_EQ(edges(), 0);
    EXPECT_EQ(geomLists.movingBlocks.size(), 1u);
    // a right click elsewhere changes nothing
    set_tile(1, KIND_WATER, EDGE_RAIL_XMIN, 25, 24);
    right(EditorTool::OscillatingBlocks, 32, 32, 25, 24);
    EXPECT_EQ(kind(25, 24), KIND_WATER);
    EXPECT_EQ(edges(25, 24), EDGE_RAIL_XMIN);
    EXPECT_EQ(geomLists.movingBlocks.size(), 1u);
    right(EditorTool::OscillatingBlocks, 32, 32);
    EXPECT_EQ(kind(), KIND_PLAIN);
    EXPECT_EQ(geomLists.movingBlocks.size(), 0u);
    // not on ramps, nor on kinds 8 and above
    set_tile(1, 9, 0);
    left(EditorTool::OscillatingBlocks, 32, 32);
    EXPECT_EQ(kind(), 9);
}

TEST_F(EditorClickTest, TheClickActsOnThePreviewOfTheFrameBefore)
{
    editor.currentTool = EditorTool::Blocks;
    editor.lastPreview = tool_preview(grid, EditorTool::Blocks, tile_corner(24) + 60, tile_corner(24) + 32, nullptr);
    // the tile changes under the preview before the click is applied (a ramp would only flatten)
    grid.height_at(24, 24) = 3;
    editor.clickRequest = Click::Place;
    apply_click(physicsWorld, editor);
    EXPECT_EQ(kind(), 3);
    EXPECT_EQ(h(), 4);
    // without a request only the pending tee work happens
    apply_click(physicsWorld, editor);
    EXPECT_EQ(kind(), 3);
}

TEST_F(EditorClickTest, ALoadedHolesTeeIsSetUpAtItsPlaceInTheClickOrder)
{
    // with a tee waiting: the sand (before the tee step) is applied, the ball goes on the tee
    set_tile(1, KIND_PLAIN, 0, 8, 8);
    set_tile(1, KIND_PLAIN, 0, 30, 30);
    grid.tee = Tee{1, 6 * 64, 6 * 64};
    grid.teeState = TeeState::Waiting;
    gameState.puttRequested = 1;
    left(EditorTool::Sand, 32, 32, 8, 8);
    EXPECT_EQ(kind(8, 8), KIND_SAND);
    EXPECT_EQ(grid.teeState, TeeState::JustPlaced);
    EXPECT_EQ(gameState.ballReady, 1);
    EXPECT_EQ(gameState.puttRequested, 1);
    double ball[3];
    ball_position(0, ball);
    EXPECT_NEAR(ball[0], 6 * 64 + 32, 1e-6);

    // without a tee: the Place Ball click (after the tee step) is lost
    grid.teeState = TeeState::NoTee;
    left(EditorTool::PlaceBall, 32, 32, 30, 30);
    EXPECT_EQ(grid.teeState, TeeState::Idle);
    EXPECT_FALSE(has_tee());
    left(EditorTool::PlaceBall, 32, 32, 30, 30);
    EXPECT_TRUE(has_tee());

    // and a railing click too
    grid.teeState = TeeState::NoTee;
    left(EditorTool::Railings, 32, 60, 8, 8);
    EXPECT_EQ(edges(8, 8), 0);
}

TEST_F(EditorClickTest, APressAwayFromTheLastPreviewWaitsForThePreviewWhereItWasMade)
{
    EditorState& live = editorState;
    live = EditorState{};
    aimInput.aimMode = AimMode::Off;
    live.currentTool = EditorTool::Blocks;
    // a frame: the preview on tile (24, 24), made for window pixel (100, 200)
    live.lastPreview = tool_preview(grid, EditorTool::Blocks, tile_corner(24) + 32, tile_corner(24) + 32, nullptr);
    preview_made_at(100, 200);

    // a press where that preview was made is a click at once
    press_editor_button(Click::Place, 100, 200);
    EXPECT_EQ(live.clickRequest, Click::Place);
    apply_editor_click();
    EXPECT_EQ(h(24, 24), 1);

    // the pointer jumps to (300, 50) and presses there before a frame has shown it: nothing
    // happens to the old tile, and the click lands on the tile of the next preview
    press_editor_button(Click::Place, 300, 50);
    EXPECT_EQ(live.clickRequest, Click::None);
    apply_editor_click();
    EXPECT_EQ(h(24, 24), 1);
    live.lastPreview = tool_preview(grid, EditorTool::Blocks, tile_corner(30) + 32, tile_corner(30) + 32, nullptr);
    preview_made_at(300, 50);
    EXPECT_EQ(live.clickRequest, Click::Place);
    apply_editor_click();
    EXPECT_EQ(h(30, 30), 1);
    EXPECT_EQ(h(24, 24), 1);

    // a held press whose preview finds no tile (the black surround) is dropped
    press_editor_button(Click::Remove, 5, 5);
    live.lastPreview = tool_preview(grid, EditorTool::Blocks, 1.0e9f, 1.0e9f, nullptr);
    preview_made_at(5, 5);
    EXPECT_EQ(live.clickRequest, Click::None);
    EXPECT_EQ(live.heldPress, Click::None);
    live = EditorState{};
}
