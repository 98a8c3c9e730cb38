// Tints for the view angle, the conveyor scroll, and which column faces neighbours hide.
#include <gtest/gtest.h>

#include <memory>

#include "render/sample_holes.h"
#include "render/tile_rules.h"

namespace {

std::unique_ptr<HoleGrid> empty_grid()
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    return grid;
}

}  // namespace

TEST(TileRules, SideTintsSwapWhenTheViewTurns)
{
    EXPECT_EQ(tint_y(45), 0.5f);
    EXPECT_EQ(tint_x(45), 1.0f);
    EXPECT_EQ(tint_y(135), 1.0f);
    EXPECT_EQ(tint_x(135), 0.5f);
    EXPECT_EQ(tint_y(225), 0.5f);
    EXPECT_EQ(tint_x(315), 0.5f);
    // a ramp's slope is lit when the viewer looks up it
    EXPECT_EQ(ramp_top_tint(0, 225), 1.0f);
    EXPECT_EQ(ramp_top_tint(0, 45), 0.5f);
    EXPECT_EQ(ramp_top_tint(1, 135), 1.0f);
    EXPECT_EQ(ramp_top_tint(2, 45), 1.0f);
    EXPECT_EQ(ramp_top_tint(3, 315), 1.0f);
    EXPECT_EQ(ramp_top_tint(3, 135), 0.5f);
}

TEST(TileRules, ConveyorOffsetWrapsAfterOne)
{
    float conveyorOffset = 0.0f;
    int frames = 0;
    float last = 0.0f;
    do {
        last = conveyorOffset;
        advance_conveyor_offset(conveyorOffset);
        ++frames;
    } while (conveyorOffset > last);
    EXPECT_EQ(frames, 41);   // 41 * 0.0247 > 1
    EXPECT_NEAR(conveyorOffset, 41 * 0.0247 - 1.0, 1e-5);
}

TEST(TileRules, NeighboursHideTheFacesTheyCover)
{
    auto grid = empty_grid();
    grid->height_at(10, 10) = 3;
    grid->height_at(11, 10) = 5;                // +x: taller, hides all three steps
    grid->height_at(10, 11) = 2;                // +y: hides the lowest two
    grid->height_at(9, 10) = 4;                 // -x: a ramp, solid one step less
    grid->kind_at(9, 10) = 1;
    grid->height_at(10, 9) = 6;                 // -y: a cup tile hides nothing
    grid->edges_at(10, 9) = EDGE_CUP;
    const HiddenSteps hidden = hidden_steps(*grid, 10, 10);
    EXPECT_EQ(hidden.face[FACE_PLUS_X], 5);
    EXPECT_EQ(hidden.face[FACE_PLUS_Y], 2);
    EXPECT_EQ(hidden.face[FACE_MINUS_X], 3);
    EXPECT_EQ(hidden.face[FACE_MINUS_Y], 0);
    EXPECT_FALSE(face_drawn(&hidden, FACE_PLUS_Y, 2));
    EXPECT_TRUE(face_drawn(&hidden, FACE_PLUS_Y, 3));
    EXPECT_TRUE(face_drawn(&hidden, FACE_MINUS_Y, 1));
    EXPECT_TRUE(face_drawn(nullptr, FACE_PLUS_X, 1));
    HiddenSteps inverted = hidden;
    inverted.onlyHidden = true;
    EXPECT_TRUE(face_drawn(&inverted, FACE_PLUS_Y, 2));
    EXPECT_FALSE(face_drawn(&inverted, FACE_PLUS_Y, 3));

    // the grid's border hides nothing; a floor square is hidden only under a solid column
    const HiddenSteps corner = hidden_steps(*grid, 0, 0);
    for (int f = 0; f < COLUMN_FACE_COUNT; ++f) EXPECT_EQ(corner.face[f], 0);
    EXPECT_TRUE(floor_hidden(*grid, 10, 10));
    EXPECT_FALSE(floor_hidden(*grid, 10, 9));   // the cup's opening
    EXPECT_FALSE(floor_hidden(*grid, 0, 0));
    grid->height_at(20, 20) = 1;
    grid->kind_at(20, 20) = 0;                  // a ramp on the floor is not solid
    EXPECT_FALSE(floor_hidden(*grid, 20, 20));
}

TEST(TileRules, AbsurdHeightsFromAFileAreDrawnBounded)
{
    EXPECT_EQ(drawn_steps(-5), 0);
    EXPECT_EQ(drawn_steps(16), 16);
    EXPECT_EQ(drawn_steps(2000000000), MAX_DRAWN_STEPS);
    auto grid = empty_grid();
    grid->height_at(5, 5) = 2000000000;
    EXPECT_EQ(hidden_steps(*grid, 6, 5).face[FACE_MINUS_X], MAX_DRAWN_STEPS);
}

TEST(TileRules, AnyChangeOfGridOrViewAsksForANewCompile)
{
    auto grid = std::make_unique<HoleGrid>();
    make_showcase_hole(*grid);
    TextureTable textures = {};
    auto a = std::make_unique<SceneKey>();
    auto b = std::make_unique<SceneKey>();
    make_scene_key(*a, *grid, 45, textures);
    make_scene_key(*b, *grid, 45, textures);
    EXPECT_TRUE(same_scene_key(*a, *b));
    make_scene_key(*b, *grid, 135, textures);
    EXPECT_FALSE(same_scene_key(*a, *b));
    grid->edges_at(30, 30) ^= EDGE_RAIL_XMIN;
    make_scene_key(*b, *grid, 45, textures);
    EXPECT_FALSE(same_scene_key(*a, *b));
    grid->edges_at(30, 30) ^= EDGE_RAIL_XMIN;
    textures.ground[TEXTURE_MUD] = 7;   // a new context's names
    make_scene_key(*b, *grid, 45, textures);
    EXPECT_FALSE(same_scene_key(*a, *b));
}

TEST(TileRules, SampleHolesHoldWhatTheyPromise)
{
    auto grid = std::make_unique<HoleGrid>();
    make_showcase_hole(*grid);
    bool kinds[20] = {};
    bool warpEntry = false, warpExit = false, cup = false;
    int rampRails = 0, railBits = 0;
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) {
        const int kind = grid->kind[k], e = grid->edges[k];
        if (kind >= -9 && kind <= 7) kinds[kind + 9] = true;
        warpEntry |= is_warp_entry_code(kind);
        warpExit |= is_warp_exit_code(kind);
        if (e < 0) rampRails |= 1 << -e;
        if (e > 0) railBits |= e & 0x3F;
        cup |= e > 0 && (e & EDGE_CUP);
    }
    for (int kind = -9; kind <= 7; ++kind) EXPECT_TRUE(kinds[kind + 9]) << "kind " << kind;
    EXPECT_TRUE(warpEntry && warpExit && cup);
    EXPECT_EQ(rampRails, (1 << 2) | (1 << 3) | (1 << 4));
    EXPECT_EQ(railBits, 0x3F);
    EXPECT_NE(grid->tee.level, -1);
    make_densest_hole(*grid);
    for (int k = 0; k < GRID_SIZE * GRID_SIZE; ++k) ASSERT_EQ(grid->height[k], MAX_HEIGHT);
    EXPECT_FALSE(make_sample_hole(*grid, "nothing"));
}
