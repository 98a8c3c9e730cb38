// The round as the frame driver runs it: holes loaded in order, the pause between holes,
// turns, the finish with its leader board, Go To Hole and a hole that cannot be read.
#include <gtest/gtest.h>

#include <cstring>
#include <unistd.h>

#include "game/round/round_flow.h"
#include "game/round/session.h"
#include "render/camera.h"
#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "hole/leader_board.h"
#include "tests/unit/physics_test_util.h"
#include "tests/unit/test_files.h"

namespace {

int scoreCardsOpened = 0;
std::string lastMessage;

// The round's session, made before the physics fixture that plays in its world.
struct SessionHolder {
    std::unique_ptr<GameSession> session = std::make_unique<GameSession>();
};

// A course of holes with a tee on (24, 12) and a cup on (24, 20), packed and loaded.
class RoundFlowTest : private SessionHolder, public physics_test::PhysicsTest {
protected:
    RoundFlowTest() : PhysicsTest(session->physics) {}

    Course& course = session->course;
    GameHooks& roundHooks = session->hooks;

    void SetUp() override
    {
        PhysicsTest::SetUp();
        previousDir = current_directory_name();
        ASSERT_EQ(chdir(dir.path().c_str()), 0);
        scoreCardsOpened = 0;
        lastMessage.clear();
        roundHooks = GameHooks{};
        roundHooks.open_score_card = [](GameSession&) { ++scoreCardsOpened; };
        roundHooks.show_message = [](GameSession&, const char* text, const char*) { lastMessage = text; };
        gameState.goToHoleMode = GoToHoleMode::Scored;
    }
    void TearDown() override
    {
        remove_course_files(course, true);
        course = Course{};
        ASSERT_EQ(chdir(previousDir.c_str()), 0);
        roundHooks = GameHooks{};
        PhysicsTest::TearDown();
    }

    // The round's steps on the test's session.
    void begin_round() { ::begin_round(*session); }
    void advance_hole() { ::advance_hole(*session); }
    void set_up_turn() { ::set_up_turn(*session); }
    void set_up_tee() { ::set_up_tee(*session); }
    bool go_to_hole(int n) { return ::go_to_hole(*session, n); }
    void reset_round() { ::reset_round(*session); }

    static std::string current_directory_name()
    {
        char buffer[4096];
        return getcwd(buffer, sizeof buffer) ? buffer : ".";
    }

    void load_holes(int count, int players)
    {
        std::vector<CoursePackHole> holes;
        for (int k = 1; k <= count; ++k) {
            clear_hole(holeGrid);
            for (int j = 10; j <= 22; ++j) set_tile(24, j, 1);
            set_tile(24, 20, 1, KIND_PLAIN, EDGE_CUP);
            set_tee(24, 12);
            const std::string name = dir.file("h" + std::to_string(k) + ".top");
            std::string error;
            ASSERT_TRUE(write_hole_file(holeGrid, name, &error)) << error;
            holes.push_back({name, 2 + k % 3, ""});
        }
        std::string error;
        ASSERT_TRUE(pack_course(dir.file("c.cor"), holes, &error)) << error;
        clear_hole(holeGrid);
        CourseLoadResult result = load_course(course, dir.file("c.cor"));
        ASSERT_TRUE(result.ok) << result.message;
        GameState& game = gameState;
        game.playerCount = players;
        for (int p = 0; p < players; ++p) std::snprintf(game.players[p].name, sizeof game.players[p].name, "P%d", p + 1);
    }

    // The frames of draw_scene that concern the round (no editor tool selected).
    void frame()
    {
        set_up_turn();
        set_up_tee();
        advance_hole();
    }

    ScratchDir dir;
    std::string previousDir;
};

}  // namespace

TEST_F(RoundFlowTest, FirstHoleLoadsOnTheNextFrameWithPlayerOneOnTheTee)
{
    load_holes(3, 2);
    begin_round();
    EXPECT_EQ(gameState.holeAdvanceCountdown, 1);
    advance_hole();
    EXPECT_EQ(gameState.holeAdvanceCountdown, 0);
    EXPECT_EQ(holeGrid.teeState, TeeState::Waiting);
    set_up_turn();
    set_up_tee();
    double pos[3];
    ball_position(0, pos);
    EXPECT_DOUBLE_EQ(pos[0], tile_corner(24) + 32);
    EXPECT_DOUBLE_EQ(pos[1], tile_corner(12) + 32);
    EXPECT_DOUBLE_EQ(pos[2], 32 + 9);
    EXPECT_EQ(gameState.ballReady, 1);
    EXPECT_TRUE(ball_is_parked(1));   // player 2 enters on the first turn

    gameState.currentPlayer = 2;
    set_up_turn();
    ball_position(1, pos);
    EXPECT_DOUBLE_EQ(pos[2], 3 * 32 + 9);   // drops from two levels up
    EXPECT_EQ(physicsWorld.followBall, 1);
    EXPECT_EQ(holeGrid.teeState, TeeState::JustPlaced);
}

TEST_F(RoundFlowTest, FinishedHolePausesThirtyFramesThenOpensTheCardAndLoadsTheNext)
{
    load_holes(3, 2);
    begin_round();
    frame();
    gameState.players[0].holeStrokes = 2;
    gameState.players[1].holeStrokes = 4;
    ball_holed(0);
    EXPECT_EQ(gameState.currentHole, 1);    // player 2 still playing
    ball_holed(1);
    EXPECT_EQ(gameState.currentHole, 2);
    EXPECT_EQ(gameState.scoreTable[0][0], 2);
    EXPECT_EQ(gameState.scoreTable[1][0], 4);
    EXPECT_EQ(gameState.holeAdvanceCountdown, 1);
    gameState.players[0].holeStrokes = 7;
    for (int k = 0; k < 29; ++k) advance_hole();
    EXPECT_EQ(scoreCardsOpened, 0);
    EXPECT_GT(gameState.holeAdvanceCountdown, 0);
    advance_hole();
    EXPECT_EQ(scoreCardsOpened, 1);
    EXPECT_EQ(gameState.holeAdvanceCountdown, 0);
    EXPECT_EQ(gameState.currentPlayer, 1);
    EXPECT_EQ(gameState.players[0].holeStrokes, 0);
    EXPECT_EQ(holeGrid.teeState, TeeState::Waiting);
}

TEST_F(RoundFlowTest, LastHoleWritesTheLeaderBoardOnceAndFinishesTheCourse)
{
    load_holes(2, 1);
    begin_round();
    for (int hole = 1; hole <= 2; ++hole) {
        frame();
        gameState.players[0].holeStrokes = 3;
        ball_holed(0);
        for (int k = 0; k < 40; ++k) advance_hole();
    }
    EXPECT_EQ(gameState.currentHole, 3);
    EXPECT_EQ(gameState.holeAdvanceCountdown, 0);
    const std::string board = dir.read("leader_board2.lbh");
    EXPECT_EQ(board, "P1*6*Avery K.*8*Blake M.*10*Casey N.*12*Devon P.*14*");
    EXPECT_EQ(scoreCardsOpened, 2);   // between the holes and at the end
    for (int k = 0; k < 40; ++k) advance_hole();
    EXPECT_EQ(scoreCardsOpened, 2);
}

TEST_F(RoundFlowTest, GoToHoleMovesAtOnceUnscoredAndRefusesNumbersBelowOne)
{
    load_holes(3, 2);
    begin_round();
    frame();
    EXPECT_FALSE(go_to_hole(0));
    EXPECT_FALSE(go_to_hole(-4));
    ASSERT_TRUE(go_to_hole(2));
    EXPECT_EQ(gameState.goToHoleMode, GoToHoleMode::Moved);
    advance_hole();
    EXPECT_EQ(gameState.holeAdvanceCountdown, 0);
    EXPECT_EQ(gameState.currentHole, 2);
    gameState.players[0].holeStrokes = 1;
    gameState.players[1].holeStrokes = 1;
    ball_holed(0);
    ball_holed(1);
    advance_hole();   // no pause between holes in this mode
    EXPECT_EQ(gameState.currentHole, 3);
    EXPECT_EQ(gameState.holeAdvanceCountdown, 0);
    EXPECT_EQ(scoreCardsOpened, 0);

    ASSERT_TRUE(go_to_hole(9));   // beyond the course: finished, no board entry
    advance_hole();
    EXPECT_EQ(gameState.currentHole, 4);
    EXPECT_FALSE(std::filesystem::exists(dir.file("leader_board3.lbh")) &&
                 dir.read("leader_board3.lbh").find("P1") != std::string::npos);
}

TEST_F(RoundFlowTest, HoleWhoseFileIsGoneIsReportedAndSkipped)
{
    load_holes(3, 1);
    std::filesystem::remove(course.holeFile[1]);
    begin_round();
    frame();
    gameState.players[0].holeStrokes = 1;
    ball_holed(0);
    for (int k = 0; k < 31; ++k) advance_hole();
    EXPECT_NE(lastMessage.find("2"), std::string::npos) << lastMessage;
    EXPECT_EQ(gameState.currentHole, 3);
    advance_hole();
    EXPECT_EQ(gameState.currentHole, 3);
    EXPECT_EQ(holeGrid.teeState, TeeState::Waiting);   // hole 3 is in play
}

TEST_F(RoundFlowTest, ResetLeavesNoPlayersNoCourseAndAnEmptyHole)
{
    load_holes(2, 2);
    begin_round();
    frame();
    reset_round();
    EXPECT_EQ(gameState.playerCount, 0);
    EXPECT_EQ(course.holeCount, 0);
    EXPECT_STREQ(gameState.players[0].name, "");
    EXPECT_EQ(holeGrid.teeState, TeeState::NoTee);
    EXPECT_TRUE(ball_is_parked(0));
    EXPECT_FALSE(std::filesystem::exists(dir.file("temp/h1.top")));
}

TEST_F(RoundFlowTest, AfterPlayerOneHolesOutTheCameraGoesToPlayerTwoOnTheTee)
{
    load_holes(1, 2);
    begin_round();
    CameraState camera;
    // a tick and a picture: turn, tee, the world's tick, the hole's pause; then the camera
    auto run_frame = [&] {
        set_up_turn();
        set_up_tee();
        tick_world(physicsWorld);
        advance_hole();
        double ball[3];
        ball_position(physicsWorld.followBall, ball);
        float translation[3];
        follow_camera(camera, aimInput.aimMode, aimInput.aimState, holeGrid.teeState, ball, translation);
    };
    run_frame();
    run_frame();
    strike(90.0f, 50.0f);   // power 20 straight up the fairway
    for (int f = 0; f < 400 && gameState.currentPlayer == 1; ++f) run_frame();
    ASSERT_EQ(gameState.currentPlayer, 2);
    double p0[3];
    ball_position(0, p0);
    EXPECT_EQ(gameState.scoreTable[0][0], 1) << p0[0] << " " << p0[1] << " " << p0[2];
    run_frame();
    double pos[3];
    ball_position(1, pos);
    EXPECT_NEAR(pos[0], tile_corner(24) + 32, 1.0);
    EXPECT_NEAR(pos[1], tile_corner(12) + 32, 1.0);
    EXPECT_NEAR(camera.cameraTarget[0], -(tile_corner(24) + 32), 1.0);
    EXPECT_NEAR(camera.cameraTarget[1], -(tile_corner(12) + 32), 1.0);
    EXPECT_EQ(gameState.ballReady, 1);
}
