#include <gtest/gtest.h>

#include "physics_test_util.h"

using namespace physics_test;

namespace {

// A lane along +y at height 1 from the tee at j = 6 to a cup at j = 12.
void cup_lane(PhysicsTest& t)
{
    for (int j = 4; j < 16; ++j) t.set_tile(10, j, 1);
    t.set_tile(10, 12, 1, KIND_PLAIN, EDGE_CUP);
    t.set_tee(10, 6);
}

// Rolls ball slot into the cup on the lane.
void roll_into_cup(PhysicsTest& t, int slot)
{
    t.put_ball(slot, tile_centre(10), tile_centre(10), 41);
    t.set_velocity(slot, 0, 150, 0);
    for (int k = 0; k < 600 && t.count_events(EVENT_CUP) == 0; ++k) t.ball_step();
}

}  // namespace

TEST_F(PhysicsTest, WarpEntryMovesTheBallToTheExit)
{
    set_tile(10, 10, 0, KIND_WARP_ENTRY);
    set_tile(30, 5, 2, KIND_WARP_EXIT);
    rebuild_warp_table(holeGrid);
    ASSERT_EQ(holeGrid.warps.warpCount, 1);
    build_hole_geometry();
    place_ball(0, 0, tile_corner(10), tile_corner(10));
    set_velocity(0, 300, 0, 0);
    ball_step();
    ASSERT_EQ(count_events(EVENT_WARP), 1);
    // Placed at (416, -1184, 137) with no speed, then one world step: the fall under
    // gravity and the drag already added in this step before the warp.
    Vec p = ball_at(0);
    EXPECT_NEAR(p.x, 416, 0.01);
    EXPECT_NEAR(p.y, -1184, 1e-6);
    EXPECT_NEAR(p.z, 137 + GRAVITY_Z * STEP_SIZE * STEP_SIZE, 1e-6);
    Vec v = ball_velocity(0);
    EXPECT_NEAR(v.x, -0.3 * 300 * STEP_SIZE, 1e-6);
    EXPECT_NEAR(v.y, 0, 1e-6);
    frames(30);
    EXPECT_NEAR(ball_at(0).z, 64 + 9, 0.5);
}

TEST_F(PhysicsTest, WarpEntryWithoutAPairLeavesTheBallOnItsColumn)
{
    set_tile(10, 10, 2, KIND_WARP_ENTRY - 3);   // an entry whose exit was never placed
    for (int i = 9; i <= 11; ++i)
        for (int j = 9; j <= 11; ++j)
            if (i != 10 || j != 10) set_tile(i, j, 2);
    rebuild_warp_table(holeGrid);
    build_hole_geometry();
    place_ball(0, 2, tile_corner(10), tile_corner(10));
    double lowest = 1e9;
    for (int f = 0; f < 60; ++f) {
        frame();
        lowest = std::min(lowest, ball_at(0).z);
    }
    EXPECT_GE(lowest, 64 - 10 + 9 - 0.5);   // on the column under the pad, never inside it
    EXPECT_NEAR(ball_at(0).x, tile_centre(10), 1.0);
    EXPECT_GT(count_events(EVENT_WARP), 0);
}

TEST_F(PhysicsTest, HolingOutWritesTheScoreAndAdvancesTheHole)
{
    cup_lane(*this);
    gameState.currentHole = 3;
    start_hole();
    gameState.players[0].holeStrokes = 4;
    roll_into_cup(*this, 0);
    ASSERT_EQ(count_events(EVENT_CUP), 1);
    EXPECT_EQ(gameState.scoreTable[0][2], 4);
    EXPECT_EQ(gameState.players[0].holeStrokes, 0);
    EXPECT_EQ(gameState.currentHole, 4);
    EXPECT_EQ(gameState.holeAdvanceCountdown, 1);
    EXPECT_EQ(gameState.currentPlayer, 1);
    EXPECT_EQ(holeGrid.tee.x, -1);
    EXPECT_EQ(gameState.players[0].holedOut, 0);   // cleared for the next hole
    EXPECT_EQ(cupContacts, 0);
    EXPECT_TRUE(ball_is_parked(0));

    // With hole 19 reached the hole number stays.
    cup_lane(*this);
    gameState.currentHole = 19;
    start_hole();
    events.clear();
    roll_into_cup(*this, 0);
    ASSERT_EQ(count_events(EVENT_CUP), 1);
    EXPECT_EQ(gameState.currentHole, 19);
}

TEST_F(PhysicsTest, FirstOfTwoPlayersHolesOutAndTheCameraMovesOn)
{
    gameState.playerCount = 2;
    cup_lane(*this);
    start_hole();
    place_ball(1, 1, tile_corner(10), tile_corner(5));
    gameState.players[0].holeStrokes = 3;
    roll_into_cup(*this, 0);
    ASSERT_EQ(count_events(EVENT_CUP), 1);
    EXPECT_EQ(gameState.scoreTable[0][0], 3);
    EXPECT_EQ(gameState.players[0].holedOut, 1);
    EXPECT_EQ(physicsWorld.balls[0].state.holedOut, 1);
    EXPECT_EQ(physicsWorld.followBall, 1);
    EXPECT_EQ(gameState.holeAdvanceCountdown, 0);
    EXPECT_EQ(gameState.currentHole, 1);

    // Player 2 picks up: 12 strokes whatever was played, and the hole is complete.
    gameState.currentPlayer = 2;
    gameState.players[1].holeStrokes = 30;
    pick_up_ball();
    EXPECT_EQ(gameState.scoreTable[1][0], PICKUP_STROKES);
    EXPECT_EQ(gameState.currentHole, 2);
    EXPECT_EQ(gameState.holeAdvanceCountdown, 1);
    EXPECT_EQ(gameState.currentPlayer, 1);
    EXPECT_TRUE(ball_is_parked(1));
}

TEST_F(PhysicsTest, FreePlayCupResetsToHoleOne)
{
    gameState.playerCount = 0;
    gameState.currentHole = 5;
    cup_lane(*this);
    start_hole();
    roll_into_cup(*this, 0);
    ASSERT_EQ(count_events(EVENT_CUP), 1);
    EXPECT_EQ(gameState.currentHole, 1);
    EXPECT_EQ(gameState.holeAdvanceCountdown, 0);
}

TEST_F(PhysicsTest, PuttIntoTheCupEndsTheStroke)
{
    cup_lane(*this);
    start_hole();
    frames(5);
    strike(90.0f, 60.0f);   // meter 24
    for (int f = 0; f < 2000 && count_events(EVENT_CUP) == 0; ++f) frame();
    ASSERT_EQ(count_events(EVENT_CUP), 1);
    EXPECT_EQ(gameState.scoreTable[0][0], 1);
    EXPECT_EQ(strokeState.strokeTaken, 0);
    EXPECT_EQ(gameState.ballReady, 0);
}
