// Undo and redo of the editor's clicks, the history's bound, the unsaved-changes test, and
// whether the cup can be reached from the tee.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editor/edit_history.h"
#include "editor/editor_tools.h"
#include "hole/hole_reach.h"
#include "physics/physics.h"
#include "physics/putt_play.h"

namespace {

class EditHistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        init_physics(world);
        clear_hole(grid);
        grid.teeState = TeeState::Idle;
        build_hole_geometry(world);
    }
    // A click as the frame applies it: the preview of the frame before, then the click.
    void click(EditorTool tool, Click button, float dx, float dy, int i, int j)
    {
        editor.currentTool = tool;
        editor.lastPreview = tool_preview(grid, tool, tile_corner(i) + dx, tile_corner(j) + dy, nullptr);
        editor.clickRequest = button;
        apply_editor_click(editor, world);
    }
    void left(EditorTool tool, int i, int j, float dx = 32, float dy = 32) { click(tool, Click::Place, dx, dy, i, j); }
    void right(EditorTool tool, int i, int j, float dx = 32, float dy = 32) { click(tool, Click::Remove, dx, dy, i, j); }

    std::unique_ptr<PuttTable> table = std::make_unique<PuttTable>();
    HoleGrid& grid = table->grid;
    PhysicsWorld& world = table->world;
    EditorState editor;
};

bool has_tee(const HoleGrid& g) { return !(g.tee.level == -1 && g.tee.x == -1 && g.tee.y == -1); }

// The geom counts of each surface role, to compare two worlds' geometry.
std::vector<size_t> geometry_counts(const GeomLists& g)
{
    return {g.groundBoxes.size(), g.conveyor[0].size(), g.conveyor[1].size(), g.conveyor[2].size(),
            g.conveyor[3].size(), g.movingBlocks.size(), g.warpPads.size(), g.waterBoxes.size(),
            g.sandSlabs.size(), g.bumperCaps.size(), g.bumperPosts.size(), g.rails.size(),
            g.cupWalls.size(), g.cupBottoms.size()};
}

// After an undo or redo the world plays the grid as a fresh world built from it would, and
// the warp table is the one the kind layer gives.
void expect_world_matches_grid(PhysicsWorld& world, const HoleGrid& grid)
{
    settle_restored_grid(world);
    auto fresh = std::make_unique<PuttTable>();
    init_physics(fresh->world);
    fresh->grid = grid;
    build_hole_geometry(fresh->world);
    EXPECT_EQ(geometry_counts(world.geoms), geometry_counts(fresh->world.geoms));
    HoleGrid rebuilt = grid;
    rebuild_warp_table(rebuilt);
    ASSERT_EQ(grid.warps.warpCount, rebuilt.warps.warpCount);
    for (int n = 0; n < grid.warps.warpCount; ++n) {
        const WarpPair &a = grid.warps.pairs[n], &b = rebuilt.warps.pairs[n];
        EXPECT_TRUE(a.entryI == b.entryI && a.entryJ == b.entryJ && a.exitI == b.exitI && a.exitJ == b.exitJ) << n;
    }
    double ball[3];
    ball_position(world, 0, ball);
    EXPECT_EQ(ball[2] > 2999, !has_tee(grid));   // the ball stands on the tee, or out of play without one
}

}  // namespace

TEST_F(EditHistoryTest, EveryToolsClickIsUndoneAndRedoneByteForByte)
{
    std::vector<std::unique_ptr<HoleGrid>> states;
    auto snap = [&] { states.push_back(std::make_unique<HoleGrid>(grid)); };
    snap();
    // Each line is one click, and one step of the history.
    left(EditorTool::Blocks, 20, 20); snap();
    left(EditorTool::Blocks, 20, 20); snap();
    left(EditorTool::Blocks, 21, 20, 60, 32); snap();             // a side click: a ramp
    left(EditorTool::Blocks, 20, 20, 5, 5); snap();               // a corner: half grass
    right(EditorTool::Blocks, 20, 20); snap();
    left(EditorTool::Railings, 21, 20, 58, 32); snap();           // a ramp railing
    left(EditorTool::Blocks, 22, 22); snap();
    left(EditorTool::Railings, 22, 22); snap();                   // the cup
    left(EditorTool::Railings, 22, 22, 32, 60); snap();           // a side railing
    left(EditorTool::OscillatingBlocks, 25, 25); snap();
    right(EditorTool::OscillatingBlocks, 25, 25); snap();
    left(EditorTool::Blocks, 26, 26); snap();
    left(EditorTool::Water, 26, 26); snap();
    left(EditorTool::Blocks, 27, 26); snap();
    left(EditorTool::Sand, 27, 26); snap();
    left(EditorTool::Bumpers, 28, 26); snap();
    left(EditorTool::PlaceBall, 30, 30); snap();                  // the tee
    ASSERT_TRUE(has_tee(grid));
    left(EditorTool::Blocks, 31, 31); snap();
    left(EditorTool::Conveyors, 31, 31, 60, 32); snap();          // a conveyor takes the tee away
    EXPECT_FALSE(has_tee(grid));
    left(EditorTool::PlaceBall, 30, 30); snap();
    for (int n = 0; n < 3; ++n) {                                 // three warp pairs
        left(EditorTool::WarpZones, 10 + n, 10); snap();
        left(EditorTool::WarpZones, 10 + n, 12); snap();
    }
    right(EditorTool::WarpZones, 10, 10); snap();                 // pair 0 goes, the others renumbered
    ASSERT_EQ(grid.kind_at(11, 10), KIND_WARP_ENTRY);
    ASSERT_EQ(grid.warps.warpCount, 2);
    right(EditorTool::Railings, 22, 22); snap();

    const size_t steps = states.size() - 1;
    ASSERT_EQ(editor.history.step_count(), steps);
    for (size_t k = steps; k > 0; --k) {
        ASSERT_TRUE(editor.history.undo(grid));
        EXPECT_TRUE(same_hole(grid, *states[k - 1])) << "undo to state " << k - 1;
        expect_world_matches_grid(world, grid);
    }
    EXPECT_FALSE(editor.history.undo(grid));
    for (size_t k = 1; k <= steps; ++k) {
        ASSERT_TRUE(editor.history.redo(grid));
        EXPECT_TRUE(same_hole(grid, *states[k])) << "redo to state " << k;
        expect_world_matches_grid(world, grid);
    }
    EXPECT_FALSE(editor.history.redo(grid));
}

TEST_F(EditHistoryTest, AClickThatChangesNothingIsNoStepAndANewClickDropsTheRedos)
{
    right(EditorTool::Water, 5, 5);      // no water there: nothing changes
    EXPECT_EQ(editor.history.step_count(), 0u);
    left(EditorTool::Blocks, 5, 5);
    left(EditorTool::Blocks, 6, 5);
    ASSERT_TRUE(editor.history.undo(grid));
    EXPECT_EQ(grid.height_at(6, 5), 0);
    left(EditorTool::Blocks, 7, 5);
    EXPECT_FALSE(editor.history.can_redo());
    ASSERT_TRUE(editor.history.undo(grid));
    ASSERT_TRUE(editor.history.undo(grid));
    EXPECT_EQ(grid.height_at(5, 5), 0);
    EXPECT_EQ(grid.height_at(6, 5), 0);
    EXPECT_EQ(grid.height_at(7, 5), 0);
}

TEST_F(EditHistoryTest, TheHistoryKeepsItsNewest256StepsWithinItsMemoryBound)
{
    for (int n = 0; n < 1000; ++n) left(EditorTool::Blocks, n % 40, (n / 40) % 40);
    EXPECT_EQ(editor.history.step_count(), EditHistory::MAX_STEPS);
    EXPECT_LE(editor.history.memory_bytes(), 700u * 1024);
    // the newest steps undo in order; the oldest are gone
    const auto before = std::make_unique<HoleGrid>(grid);
    int undone = 0;
    while (editor.history.undo(grid)) ++undone;
    EXPECT_EQ(undone, 256);
    EXPECT_FALSE(same_hole(grid, *before));
    EXPECT_EQ(grid.height_at(0, 0), 1);   // click 0 was forgotten, click 744 of the same tile undone
    // a step of many tiles counts against the bound too
    HoleGrid big = grid;
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) big.height[k] += 1;
    for (int n = 0; n < 20; ++n) {
        editor.history.record(grid, big);
        editor.history.record(big, grid);
    }
    EXPECT_LE(editor.history.memory_bytes(), 700u * 1024 + 2401u * sizeof(TileChange));
    EXPECT_GE(editor.history.step_count(), 1u);
}

TEST_F(EditHistoryTest, TheSavedHoleTellsChangesEvenWhenUndoneBackToIt)
{
    SavedHole saved;
    EXPECT_FALSE(saved.changed(grid));   // an empty hole never opened: nothing to lose
    left(EditorTool::Blocks, 3, 3);
    EXPECT_TRUE(saved.changed(grid));
    saved.mark(grid);
    EXPECT_FALSE(saved.changed(grid));
    left(EditorTool::Blocks, 4, 3);
    EXPECT_TRUE(saved.changed(grid));
    editor.history.undo(grid);
    EXPECT_FALSE(saved.changed(grid));
}

namespace {

// A row of tiles of height 1 from the tee at (10, 20) to the cup at (16, 20).
void fairway(HoleGrid& g)
{
    clear_hole(g);
    for (int i = 10; i <= 16; ++i) g.height_at(i, 20) = 1;
    g.edges_at(16, 20) = EDGE_CUP;
    g.tee = Tee{1, 10 * 64 - 1536, 20 * 64 - 1536};
}

}  // namespace

TEST(CupReach, RailingsAndWallsCutTheRouteWarpsAndRampsMakeOne)
{
    auto g = std::make_unique<HoleGrid>();
    fairway(*g);
    EXPECT_EQ(cup_reach(*g), CupReach::Reachable);
    EXPECT_TRUE(save_findings(*g).empty());

    // a railing across the fairway walls the cup off, from either side of the boundary
    g->edges_at(13, 20) = EDGE_RAIL_XMAX;
    EXPECT_EQ(cup_reach(*g), CupReach::Unreachable);
    EXPECT_EQ(save_findings(*g).back(), CUP_UNREACHABLE);
    g->edges_at(13, 20) = 0;
    g->edges_at(14, 20) = EDGE_RAIL_XMIN;
    EXPECT_EQ(cup_reach(*g), CupReach::Unreachable);
    // a diagonal railing splits its tile corner to corner: a straight run is cut, but the
    // ball may leave by the side on its own half
    g->edges_at(14, 20) = EDGE_RAIL_DIAG_MAIN;
    EXPECT_EQ(cup_reach(*g), CupReach::Unreachable);
    g->height_at(14, 21) = 1;                            // a detour: (14, 20) -> (14, 21) -> (15, 21) -> (15, 20)
    g->height_at(15, 21) = 1;
    EXPECT_EQ(cup_reach(*g), CupReach::Reachable);       // -x and +y lie on the same side of the main diagonal
    g->edges_at(14, 20) = EDGE_RAIL_DIAG_ANTI;
    EXPECT_EQ(cup_reach(*g), CupReach::Unreachable);     // the other diagonal parts them
    g->edges_at(14, 20) = 0;
    g->height_at(14, 21) = 0;
    g->height_at(15, 21) = 0;

    // a step up is a wall; a drop is not
    g->height_at(15, 20) = 3;
    g->height_at(16, 20) = 3;
    EXPECT_EQ(cup_reach(*g), CupReach::Unreachable);
    // up a ramp (rising toward +x, height 2: low edge 1, high edge 2) and a block at 2, then 3 by a second ramp
    g->height_at(15, 20) = 2;
    g->kind_at(15, 20) = 3;
    EXPECT_EQ(cup_reach(*g), CupReach::Unreachable);   // 2 -> 3 still a wall
    g->height_at(16, 20) = 2;
    EXPECT_EQ(cup_reach(*g), CupReach::Reachable);
    g->kind_at(15, 20) = 1;                              // the ramp turned round rises toward -x
    EXPECT_EQ(cup_reach(*g), CupReach::Unreachable);
    g->kind_at(15, 20) = 3;
    g->edges_at(15, 20) = EDGE_RAMP_RAIL_BOTH;           // railings along its long sides only
    EXPECT_EQ(cup_reach(*g), CupReach::Reachable);

    // the cup on a plateau reached only through a warp
    fairway(*g);
    for (int i = 14; i <= 16; ++i) g->height_at(i, 20) = 4;
    EXPECT_EQ(cup_reach(*g), CupReach::Unreachable);
    g->kind_at(12, 20) = KIND_WARP_ENTRY;
    g->kind_at(15, 20) = KIND_WARP_EXIT;
    rebuild_warp_table(*g);
    EXPECT_EQ(cup_reach(*g), CupReach::Reachable);
    // an entry whose exit is missing leads nowhere, and the check says so too
    g->kind_at(15, 20) = KIND_PLAIN;
    rebuild_warp_table(*g);
    EXPECT_EQ(cup_reach(*g), CupReach::Unreachable);
    const std::vector<std::string> findings = save_findings(*g);
    EXPECT_NE(std::find(findings.begin(), findings.end(), "warp 0 has an entry but no exit"), findings.end());

    // no tee or no cup: nothing to route, the other findings say it
    fairway(*g);
    g->tee = Tee{};
    EXPECT_EQ(cup_reach(*g), CupReach::NoTeeOrCup);
    EXPECT_EQ(save_findings(*g), std::vector<std::string>{"no tee"});
}
