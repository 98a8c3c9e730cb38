// The aim guide: played in its own world (the live world, round and grid untouched), played
// again only when the aim changed, ending at the first railing on the real putt's path; a
// guided round stays off the leader board and its score card says so.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "game/computer/aim_guide.h"
#include "game/rules/player_setup.h"
#include "hole/round_state.h"
#include "physics/hole_geometry.h"
#include "physics/physics.h"
#include "physics/putt_play.h"
#include "render/score_card.h"
#include "tests/unit/physics_test_util.h"

namespace {


// The real putt, watched frame by frame, with where the ball was at its first railing.
struct RealPutt {
    PhysicsWorld* world = nullptr;
    std::vector<std::array<double, 3>> frames;
    bool railed = false;
    long railStep = 0;
    int otherEvents = 0;   // events other than the putter's before the railing
    double railAt[3] = {};
};

void real_event(PhysicsEvent event, int slot, long step, void* user)
{
    RealPutt& r = *static_cast<RealPutt*>(user);
    if (slot != 0 || r.railed) return;
    if (event == EVENT_RAIL) {
        r.railed = true;
        r.railStep = step;
        ball_position(*r.world, 0, r.railAt);
    } else if (event != EVENT_PUTT) {
        ++r.otherEvents;
    }
}

void real_frame(long, void* user)
{
    RealPutt& r = *static_cast<RealPutt*>(user);
    if (r.railed) return;
    std::array<double, 3> p{};
    ball_position(*r.world, 0, p.data());
    r.frames.push_back(p);
}

}  // namespace

TEST(AimGuide, LeavesTheLiveWorldRoundAndGridAsTheyWereAndPlaysOnlyWhenTheAimChanges)
{
    auto live = std::make_unique<PuttTable>();
    make_straight_hole(live->grid);
    ASSERT_TRUE(start_hole_play(live->world, 2));
    live->round.players[0].holeStrokes = 1;
    live->world.oscillationFrame = 77;
    live->aim.aimMode = AimMode::Aiming;
    live->aim.aimAngle = 30.0f;
    live->aim.puttPower = 20.8f;
    auto gridBefore = std::make_unique<HoleGrid>(live->grid);
    const GameState roundBefore = live->round;
    const AimInput aimBefore = live->aim;
    const StrokeState strokeBefore = live->world.stroke;
    double ballBefore[BALL_COUNT][3];
    for (int k = 0; k < BALL_COUNT; ++k) ball_position(live->world, k, ballBefore[k]);

    AimGuide guide;
    EXPECT_TRUE(guide.update(live->world, 0, 30.0, 20.8));
    EXPECT_FALSE(guide.update(live->world, 0, 30.0, 20.8));   // nothing changed: the cached path
    EXPECT_EQ(guide.recomputes(), 1);
    const size_t points = guide.path().points.size();
    EXPECT_GT(points, 3u);
    EXPECT_TRUE(guide.update(live->world, 0, 31.0, 20.8));
    EXPECT_TRUE(guide.update(live->world, 0, 31.0, 40.0));
    EXPECT_EQ(guide.recomputes(), 3);
    EXPECT_TRUE(guide.path().touched);

    EXPECT_EQ(std::memcmp(gridBefore.get(), &live->grid, sizeof(HoleGrid)), 0);
    EXPECT_EQ(std::memcmp(&roundBefore, &live->round, sizeof(GameState)), 0);
    EXPECT_EQ(std::memcmp(&aimBefore, &live->aim, sizeof(AimInput)), 0);
    EXPECT_EQ(std::memcmp(&strokeBefore, &live->world.stroke, sizeof(StrokeState)), 0);
    EXPECT_EQ(live->world.oscillationFrame, 77);
    for (int k = 0; k < BALL_COUNT; ++k) {
        double now[3];
        ball_position(live->world, k, now);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(now[c], ballBefore[k][c]);
    }

    // A changed hole is noticed: railing the lane's far end short changes the path.
    live->grid.edges_at(24, 13) = EDGE_RAIL_YMAX;
    EXPECT_TRUE(guide.update(live->world, 0, 90.0, 20.8));
    ASSERT_GE(guide.path().points.size(), 2u);
    EXPECT_LT(guide.path().points.back()[1], tile_corner(14));
    shutdown_physics(live->world);
}

TEST(AimGuide, EndsAtTheFirstRailingAlongTheRealPuttsPath)
{
    auto guideTable = std::make_unique<PuttTable>();
    make_straight_hole(guideTable->grid);
    ASSERT_TRUE(start_hole_play(guideTable->world, 1));
    const BallRest tee = tee_rest(guideTable->grid);
    // Across the lane toward its +x railing, at an angle so the ball rolls a while first.
    const double angle = 20.0, power = 16.8;
    const AimGuidePath path = trace_aim_guide(guideTable->world, guideTable->grid.tee, tee, angle, power);
    ASSERT_TRUE(path.touched);
    EXPECT_EQ(path.touchedRole, ROLE_RAIL);
    ASSERT_GE(path.points.size(), 4u);

    auto realTable = std::make_unique<PuttTable>();
    make_straight_hole(realTable->grid);
    ASSERT_TRUE(start_hole_play(realTable->world, 1));
    restore_ball_rest(realTable->world, realTable->grid.tee, tee);
    RealPutt real;
    real.world = &realTable->world;
    PuttWatch watch;
    watch.user = &real;
    watch.on_event = real_event;
    watch.on_frame = real_frame;
    play_putt(realTable->world, angle, power, watch);
    ASSERT_TRUE(real.railed);
    EXPECT_EQ(real.otherEvents, 0);

    // The guide's points: the start, one per frame before the railing, and the railing.
    ASSERT_EQ(path.points.size(), real.frames.size() + 2);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(path.points.front()[c], tee.position[c]);
    for (size_t k = 0; k < real.frames.size(); ++k)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(path.points[k + 1][c], real.frames[k][c]) << "frame " << k;
    for (int c = 0; c < 3; ++c) EXPECT_EQ(path.points.back()[c], real.railAt[c]);
    // The railing contact is the lane's +x railing, the ball's edge at its inner face.
    const double face = tile_corner(26) + 54.0;
    EXPECT_NEAR(path.points.back()[0] + BALL_RADIUS, face, 4.0);
    EXPECT_LE(path.steps, real.railStep + BALL_STEPS_PER_FRAME);
    shutdown_physics(guideTable->world);
    shutdown_physics(realTable->world);
}

TEST(AimGuide, AnotherBallInTheWayEndsThePath)
{
    auto table = std::make_unique<PuttTable>();
    make_straight_hole(table->grid);
    ASSERT_TRUE(start_hole_play(table->world, 2));
    const BallRest tee = tee_rest(table->grid);
    const BallPlaces other = {{tee.position[0], tee.position[1] + 3 * 64.0, tee.position[2]}};
    const AimGuidePath path = trace_aim_guide(table->world, table->grid.tee, tee, 90.0, 20.8, AIM_GUIDE_MAX_STEPS, other);
    ASSERT_TRUE(path.touched);
    EXPECT_EQ(path.touchedRole, ROLE_BALL);
    ASSERT_FALSE(path.points.empty());
    EXPECT_NEAR(path.points.back()[1], other[0][1] - 2 * BALL_RADIUS, 3.0);
    // Without it the same putt runs on past that place.
    const AimGuidePath free = trace_aim_guide(table->world, table->grid.tee, tee, 90.0, 20.8);
    EXPECT_NE(free.touchedRole, ROLE_BALL);
    EXPECT_GT(free.points.back()[1], other[0][1]);
    shutdown_physics(table->world);
}

TEST(AimGuide, AShortPuttEndsWhereTheBallRestsWithoutContact)
{
    auto table = std::make_unique<PuttTable>();
    make_straight_hole(table->grid);
    ASSERT_TRUE(start_hole_play(table->world, 1));
    const AimGuidePath path = trace_aim_guide(table->world, table->grid.tee, tee_rest(table->grid), 180.0, 2.4);
    EXPECT_FALSE(path.touched);
    ASSERT_GE(path.points.size(), 2u);
    EXPECT_LT(path.points.back()[0], path.points.front()[0]);
    EXPECT_GT(path.points.back()[0], tile_corner(22) + 10.0 + BALL_RADIUS);
    shutdown_physics(table->world);
}

TEST(AimGuide, GuidedRoundsStayOffTheLeaderBoardAndTheCardSaysSo)
{
    GameState game;
    set_player_name(game.players[0], "Alice");
    game.playerCount = 1;
    game.scoreTable[0][0] = 3;
    const char* names[MAX_PLAYERS] = {};
    int scores[MAX_PLAYERS][MAX_HOLES] = {};
    EXPECT_EQ(leader_board_entrants(game, names, scores), 1);
    EXPECT_EQ(score_card_note(game), "");
    game.aimGuideUsed = true;
    EXPECT_EQ(leader_board_entrants(game, names, scores), 0);
    EXPECT_EQ(score_card_note(game), "Aim Guide used: no leader board");
}
