#include <gtest/gtest.h>

#include "audio/sound_ids.h"
#include "physics_test_util.h"

using namespace physics_test;

TEST_F(PhysicsTest, PlacedBallSitsOverTheTileCentreAndParkedBallsStayParked)
{
    gameState.playerCount = 4;
    for (int f = 0; f < 200; ++f) frame();
    for (int k = 0; k < BALL_COUNT; ++k) {
        Vec p = ball_at(k);
        EXPECT_NEAR(p.x, 18.0 * k, 1e-6);
        EXPECT_NEAR(p.z, 3014.0, 0.1);
        EXPECT_TRUE(ball_is_parked(k));
    }

    physicsWorld.balls[0].state.strokesThisHole = 5;
    place_ball(0, 0, -1536, -1536);
    Vec p = ball_at(0);
    EXPECT_DOUBLE_EQ(p.x, -1504);
    EXPECT_DOUBLE_EQ(p.y, -1504);
    EXPECT_DOUBLE_EQ(p.z, 9);
    EXPECT_EQ(physicsWorld.balls[0].state.strokesThisHole, 5);   // players registered
    gameState.playerCount = 0;
    place_ball(0, 0, -1536, -1536);
    EXPECT_EQ(physicsWorld.balls[0].state.strokesThisHole, 0);    // free play

    // A tee from a hand-made file far outside the grid still lands on the course.
    place_ball(1, -5, 90000, -90000);
    p = ball_at(1);
    EXPECT_DOUBLE_EQ(p.x, 1536 + 32);
    EXPECT_DOUBLE_EQ(p.y, -1536 + 32);
    EXPECT_DOUBLE_EQ(p.z, 9);
}

TEST_F(PhysicsTest, BallOnTheTeeAtLevelTwo)
{
    set_tile(20, 20, 2);
    set_tee(20, 20);
    start_hole();
    frames(20);
    Vec p = ball_at(0);
    EXPECT_NEAR(p.x, tile_centre(20), 1e-6);
    EXPECT_NEAR(p.y, tile_centre(20), 1e-6);
    EXPECT_NEAR(p.z, 64 + 9, 0.1);
}

TEST_F(PhysicsTest, FullPuttChangesSpeedByAbout1567)
{
    place_ball(0, 0, 0, 0);
    frames(10);
    strike(0.0f, 136.0f);
    EXPECT_FLOAT_EQ(aimInput.puttPower, 54.0f);
    int steps = 0;
    while (gameState.players[0].holeStrokes == 0 && steps < 200) {
        ball_step();
        ++steps;
    }
    ASSERT_EQ(gameState.players[0].holeStrokes, 1);
    EXPECT_EQ(strokeState.strokeInFlight, 1);
    EXPECT_EQ(aimInput.aimClicks, 0);
    EXPECT_EQ(aimInput.aimState, AimPhase::Struck);
    EXPECT_EQ(physicsWorld.balls[0].state.strokesThisHole, 1);
    ball_step();   // the force acts in the next world step
    Vec v = ball_velocity(0);
    EXPECT_NEAR(v.x, 19.0 * 54 * 110 * STEP_SIZE / BALL_MASS, 8.0);
    EXPECT_NEAR(v.y, 0.0, 1e-6);
}

TEST_F(PhysicsTest, WeakPuttsFollowThroughStrongPuttsDoNot)
{
    place_ball(0, 0, 0, 0);
    frames(10);
    // Meter 2.4: three countdown steps, then six follow-through steps.
    strike(90.0f, 6.0f);
    EXPECT_FLOAT_EQ(aimInput.struckPower, 2.4f);
    stepCounter = 0;
    while (gameState.players[0].holeStrokes == 0 && stepCounter < 100) ball_step();
    EXPECT_EQ(first_step_of(EVENT_PUTT), 9);

    run_stroke();
    // Meter 20: twenty countdown steps.
    strike(90.0f, 50.0f);
    EXPECT_FLOAT_EQ(aimInput.struckPower, 20.0f);
    events.clear();
    stepCounter = 0;
    while (gameState.players[0].holeStrokes == 1 && stepCounter < 100) ball_step();
    EXPECT_EQ(first_step_of(EVENT_PUTT), 20);
}

TEST_F(PhysicsTest, DragOnGrassAndOnSand)
{
    // In the air nothing but drag slows the ball sideways.
    put_ball(0, 0, 0, 1000);
    set_velocity(0, 400, 0, 0);
    ball_step();
    EXPECT_NEAR(ball_velocity(0).x, 400 * (1 - 0.3 * STEP_SIZE), 1e-9);
    put_ball(0, 0, 0, 1000);
    set_velocity(0, 400, 0, 0);
    physicsWorld.balls[0].state.onSand = 1;
    ball_step();
    EXPECT_NEAR(ball_velocity(0).x, 400 * (1 - 0.3 * 25 * STEP_SIZE), 1e-9);
    EXPECT_EQ(physicsWorld.balls[0].state.onSand, 0);

    // Rolling across sand slows the ball far more than grass, and sounds once.
    for (int j = 0; j < 49; ++j) set_tile(10, j, 1, j >= 20 && j < 30 ? KIND_SAND : KIND_PLAIN);
    build_hole_geometry();
    place_ball(0, 1, tile_corner(10), tile_corner(20));
    frames(5);
    set_velocity(0, 0, 300, 0);
    frames(10);
    double onSand = ball_velocity(0).y;
    place_ball(0, 1, tile_corner(10), tile_corner(35));
    frames(5);
    set_velocity(0, 0, 300, 0);
    frames(10);
    double onGrass = ball_velocity(0).y;
    EXPECT_LT(onSand, 0.5 * onGrass);
    EXPECT_EQ(count_events(EVENT_SAND), 1);
}

TEST_F(PhysicsTest, RestIsDetectedAtStepFifteenAndSixteen)
{
    place_ball(0, 0, 0, 0);
    put_ball(0, 32, 32, 9);
    BallPhysicsState& s = physicsWorld.balls[0].state;
    s.lastRest[0] = s.lastRest[1] = s.lastRest[2] = 0.0f;
    for (int k = 1; k <= 14; ++k) ball_step();
    EXPECT_EQ(s.restSteps, 14);
    EXPECT_EQ(s.atRest, 0);
    EXPECT_FLOAT_EQ(s.lastRest[0], 0.0f);
    ball_step();   // 15: the stop event
    EXPECT_EQ(s.restSteps, 16);
    EXPECT_EQ(s.atRest, 0);
    EXPECT_FLOAT_EQ(s.lastRest[0], 32.0f);
    EXPECT_NEAR(s.lastRest[2], 9.0f, 0.1);
    ball_step();   // 16: at rest
    EXPECT_EQ(s.atRest, 1);
    for (int k = 0; k < 10; ++k) ball_step();
    EXPECT_EQ(s.restSteps, 20);
}

TEST_F(PhysicsTest, TurnPassesToTheNextPlayerStillPlaying)
{
    gameState.playerCount = 2;
    place_ball(0, 0, 0, 0);
    place_ball(1, 0, 256, 0);
    frames(10);
    strike(0.0f, 20.0f);
    ASSERT_TRUE(run_stroke());
    EXPECT_EQ(gameState.currentPlayer, 2);
    EXPECT_EQ(physicsWorld.followBall, 1);
    EXPECT_EQ(holeGrid.teeState, TeeState::JustPlaced);

    set_holed_out(1, 1);
    gameState.currentPlayer = 1;
    strike(180.0f, 20.0f);
    ASSERT_TRUE(run_stroke());
    EXPECT_EQ(gameState.currentPlayer, 1);

    // Every player holed out (a state the hole completion never leaves): the turn still ends.
    set_holed_out(0, 1);
    strike(90.0f, 20.0f);
    ASSERT_TRUE(run_stroke());
    EXPECT_EQ(gameState.currentPlayer, 1);
}

TEST_F(PhysicsTest, RampIsClimbed)
{
    // Level 0 at j < 20, the ramp at j = 20 rising toward +y, level 1 beyond.
    for (int j = 20; j < 40; ++j) set_tile(10, j, 1, j == 20 ? 0 : KIND_PLAIN);
    set_tile(10, 16, 0);
    set_tee(10, 16);
    start_hole();
    frames(5);
    strike(90.0f, 60.0f);   // meter 24
    ASSERT_TRUE(run_stroke());
    Vec p = ball_at(0);
    EXPECT_GT(p.y, tile_corner(21));
    EXPECT_NEAR(p.z, 32 + 9, 0.5);
}

TEST_F(PhysicsTest, WaterOnTheFirstStrokeGoesBackToTheTee)
{
    for (int j = 5; j < 30; ++j) set_tile(10, j, 1, j >= 12 && j <= 14 ? KIND_WATER : KIND_PLAIN);
    set_tee(10, 6);
    start_hole();
    frames(5);
    strike(90.0f, 30.0f);   // meter 12: just into the water
    bool redropped = false;
    for (int f = 0; f < 2000 && !redropped; ++f) {
        frame();
        redropped = count_events(EVENT_REDROP) > 0;
    }
    ASSERT_TRUE(redropped);
    EXPECT_EQ(count_events(EVENT_WATER), 1);
    Vec p = ball_at(0);
    EXPECT_NEAR(p.x, tile_centre(10), 1e-6);
    EXPECT_NEAR(p.y, tile_centre(6), 1e-6);
    EXPECT_NEAR(p.z, 3 * 32 + 9, 1.0);   // two levels above the tee, dropping
    ASSERT_TRUE(run_stroke());
    EXPECT_EQ(aimInput.aimMode, AimMode::Redropped);      // the round flow centres the camera on it
    EXPECT_NEAR(ball_at(0).z, 32 + 9, 0.5);
}

TEST_F(PhysicsTest, WaterOnALaterStrokeDropsFromAboveTheLastRest)
{
    for (int j = 5; j < 30; ++j) set_tile(10, j, 1, j >= 16 && j <= 18 ? KIND_WATER : KIND_PLAIN);
    set_tee(10, 6);
    start_hole();
    frames(5);
    strike(90.0f, 12.0f);   // meter 4.8: a short first stroke on grass
    ASSERT_TRUE(run_stroke());
    const float* rest = physicsWorld.balls[0].state.lastRest;
    Vec before = {rest[0], rest[1], rest[2]};
    EXPECT_LT(before.y, tile_corner(16));
    strike(90.0f, 40.0f);
    bool redropped = false;
    for (int f = 0; f < 2000 && !redropped; ++f) {
        frame();
        redropped = count_events(EVENT_REDROP) > 0;
    }
    ASSERT_TRUE(redropped);
    Vec p = ball_at(0);
    EXPECT_NEAR(p.x, before.x, 1e-3);
    EXPECT_NEAR(p.y, before.y, 1e-3);
    EXPECT_NEAR(p.z, before.z + 64, 1.0);
}

TEST_F(PhysicsTest, ConveyorCarriesTheBall)
{
    for (int j = 5; j < 30; ++j) set_tile(10, j, 1, KIND_CONVEYOR_FIRST + 2);   // toward +y
    build_hole_geometry();
    place_ball(0, 1, tile_corner(10), tile_corner(8));
    double y0 = ball_at(0).y;
    frames(60);
    Vec p = ball_at(0);
    EXPECT_GT(p.y, y0 + 40);
    EXPECT_NEAR(p.x, tile_centre(10), 1.0);
    EXPECT_GT(count_events(EVENT_CONVEYOR), 100);
}

TEST_F(PhysicsTest, BallHeldAgainstARailByAConveyorStillEndsTheTurn)
{
    // A railed lane of conveyor toward +y ending at a railing: the ball is carried to the
    // end and spins there on the spot, never still by speed and spin alone.
    for (int j = 5; j <= 10; ++j)
        set_tile(10, j, 1, KIND_CONVEYOR_FIRST + 2, EDGE_RAIL_XMIN | EDGE_RAIL_XMAX | (j == 10 ? EDGE_RAIL_YMAX : 0));
    set_tile(10, 4, 1);
    set_tee(10, 4);
    start_hole();
    strike(90, 40);
    int framesTaken = 0;
    bool struck = false;
    for (; framesTaken < 3000; ++framesTaken) {
        frame();
        if (strokeState.strokeInFlight) struck = true;
        if (struck && !strokeState.strokeInFlight) break;
    }
    ASSERT_TRUE(struck);
    EXPECT_FALSE(strokeState.strokeInFlight) << "the turn never passed";
    // it rattles against the railing for a while, then stays put for two seconds
    EXPECT_LT(framesTaken, 900);
    EXPECT_GT(ball_at(0).y, tile_corner(10) + 32);
    EXPECT_EQ(physicsWorld.balls[0].state.atRest, 1);
}

TEST_F(PhysicsTest, BumperKicksASlowBall)
{
    set_tile(10, 12, 0, KIND_BUMPER);
    build_hole_geometry();
    put_ball(0, tile_centre(10), tile_centre(10), 9);
    set_velocity(0, 0, 200, 0);
    BallPhysicsState& s = physicsWorld.balls[0].state;
    int steps = 0;
    while (count_events(EVENT_BUMPER) == 0 && steps < 300) {
        ball_step();
        ++steps;
    }
    ASSERT_EQ(count_events(EVENT_BUMPER), 1);
    EXPECT_EQ(s.bumperKick, 1);
    EXPECT_EQ(physicsWorld.bumperFlash.framesLeft, 7);
    EXPECT_FLOAT_EQ(physicsWorld.bumperFlash.x, tile_corner(10));
    ball_step();   // the boost: momentum of at least 40000 for one step
    Vec v = ball_velocity(0);
    EXPECT_EQ(s.bumperKick, 0);
    EXPECT_GT(std::fabs(v.x) + std::fabs(v.y), 40000 * STEP_SIZE / BALL_MASS * 0.9);

    // A ball with no horizontal speed gets no boost, and the step ends.
    put_ball(0, 0, 0, 500);
    s.bumperKick = 1;
    ball_step();
    EXPECT_EQ(s.bumperKick, 0);
    EXPECT_NEAR(ball_velocity(0).x, 0.0, 1e-12);
}

TEST_F(PhysicsTest, BoundaryWallsHoldTheBall)
{
    // The ball goes at most one step's travel (1500 x 0.00625) into a wall before it is
    // turned back.
    place_ball(0, 0, tile_corner(46), tile_corner(20));
    set_velocity(0, 1500, 0, 0);
    double maxX = 0;
    for (int k = 0; k < 300; ++k) {
        ball_step();
        maxX = std::max(maxX, ball_at(0).x);
    }
    EXPECT_LE(maxX, 1600 - 9 + 1500 * STEP_SIZE);
    EXPECT_LT(ball_at(0).x, 1600 - 9);
    EXPECT_GE(count_events(EVENT_EDGE), 1);
    place_ball(0, 0, tile_corner(2), tile_corner(1));
    set_velocity(0, 0, -1500, 0);
    double minY = 0;
    for (int k = 0; k < 300; ++k) {
        ball_step();
        minY = std::min(minY, ball_at(0).y);
    }
    EXPECT_GE(minY, -1536 + 9 - 1500 * STEP_SIZE);
    EXPECT_GT(ball_at(0).y, -1536 + 9);
}

namespace {
int playCalls = 0;
bool refuse(void*) { return true; }
bool refusing_service(void*, int)
{
    ++playCalls;
    return false;
}
}  // namespace

TEST_F(PhysicsTest, ABusySoundServiceDoesNotHoldUpTheStep)
{
    physicsHooks.sound_enabled = refuse;
    physicsHooks.play_sound = refusing_service;
    playCalls = 0;
    place_ball(0, 0, 0, 0);
    frames(5);
    strike(0.0f, 20.0f);
    ASSERT_TRUE(run_stroke());
    EXPECT_EQ(playCalls, SOUND_RETRY_LIMIT);   // the putter sound, offered a bounded number of times
}
