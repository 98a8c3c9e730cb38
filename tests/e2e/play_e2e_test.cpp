// Two players sit down and play a small course: names through the player dialog, the
// course through the chooser, real putts with the mouse, holes advancing, the finish.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

class PlayTest : public DisplayTest {
protected:
    // The score card's "OK", centred at the bottom of its box.
    void close_score_card(GameSession& game) { game.click(300, 450 - (450 / 2 - 175 + 20)); }

    // One putt by the player on turn: Putt, the pointer 25 right and 25 below the ball (which
    // the camera centres while aiming) sends it straight up the fairway at power 20.
    void putt(GameSession& game, const std::string& shot)
    {
        game.settle(1.0);
        game.click(545, 30);   // "Putt"
        game.move(300 + 25, 225 + 25);
        game.settle(0.4);
        game.screenshot(shot + "_aiming");
        game.click(300 + 25, 225 + 25);
        game.settle(6.0);   // the ball rolls and rests
        game.screenshot(shot + "_rested");
    }
};

}  // namespace

TEST_F(PlayTest, TwoPlayersPuttThroughACourseAndReachTheLeaderBoard)
{
    GameSession game(*display);
    make_straight_course(game, "twoholes", 2);
    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    sit_down(game, {"Alice", "Bob"}, "twoholes");
    game.screenshot("play_player_dialog_done");
    ASSERT_TRUE(game.wait_title("twoholes.cor")) << game.title();
    game.settle(1.0);
    game.screenshot("play_hole1_start");
    EXPECT_TRUE(std::filesystem::exists(game.file("courses/temp/straight1.top")));

    putt(game, "play_hole1_alice");
    putt(game, "play_hole1_bob");
    game.settle(2.0);   // the pause after the hole: the score card, then hole 2
    game.screenshot("play_hole1_score_card");
    close_score_card(game);
    game.screenshot("play_hole2_start");
    putt(game, "play_hole2_alice");
    putt(game, "play_hole2_bob");
    game.settle(2.0);
    game.screenshot("play_finished");

    // Both finished both holes in one stroke each: totals of 2 head the board.
    EXPECT_EQ(game.read_file("leader_board2.lbh"), "Alice*2*Bob*2*Avery K.*8*Blake M.*10*Casey N.*12*");

    // The score card opened at the finish: its OK, then Escape and Yes end the game through
    // its exit path, which removes the unpacked course.
    close_score_card(game);
    game.key("Escape");
    Point yes = yes_button(600, 450);
    game.click(yes.x, yes.y);
    EXPECT_EQ(game.wait_exit(10), 0);
    EXPECT_FALSE(std::filesystem::exists(game.file("courses/temp")));
}

TEST_F(PlayTest, CancellingTheCourseReturnsToTheQuestion)
{
    GameSession game(*display);
    make_straight_course(game, "twoholes", 1);
    ASSERT_TRUE(game.start());
    Point play = play_course_button(600, 450);
    game.click(play.x, play.y);
    game.click(150, 85);
    game.type("Solo");
    game.click(215, 355);
    Point cancel = chooser_cancel(600, 450);
    game.click(cancel.x, cancel.y);
    game.screenshot("play_course_cancelled");
    // the question is back: "Start Hole Editor" leads to the editor
    Point editor = start_editor_button(600, 450);
    game.click(editor.x, editor.y);
    game.screenshot("play_then_editor");
    EXPECT_EQ(game.title(), "No File Loaded.");
}
