// A person and a computer seat share a round: the seat chosen in the player dialog, the
// computer's aim seen moving on screen, the round finished, and only the person on the
// leader board.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

class ComputerPlayTest : public DisplayTest {};

// The Putt button (top right) shows only when a person may putt.
bool putt_button_shown(GameSession& game)
{
    int grey = 0;
    for (const Point p : {Point{515, 22}, Point{575, 22}, Point{515, 38}, Point{575, 38}}) grey += is_grey_widget(game.pixel(p.x, p.y));
    return grey >= 3;
}

int differing_pixels(GameSession& game, const std::vector<Rgb>& before, std::vector<Rgb>& now)
{
    now.clear();
    int differ = 0;
    for (int y = 150; y < 300; y += 10)
        for (int x = 200; x < 400; x += 10) now.push_back(game.pixel(x, y));
    for (size_t k = 0; k < now.size() && k < before.size(); ++k)
        differ += now[k].r != before[k].r || now[k].g != before[k].g || now[k].b != before[k].b;
    return differ;
}

// "Ready To Play" in the player dialog, then the course typed in the chooser and confirmed.
void play_course_named(GameSession& game, const std::string& course)
{
    game.click(215, 355);
    game.type(course);
    Point confirm = chooser_confirm(600, 450);
    game.click(confirm.x, confirm.y);
}

}  // namespace

TEST_F(ComputerPlayTest, APersonAndAClubComputerPlayTwoHoles)
{
    GameSession game(*display);
    // The computer's putter moves for four seconds instead of half a second, so the
    // screenshots below are sure to catch it on a loaded machine.
    game.extraEnvironment.push_back("MG_COMPUTER_AIM_FRAMES=240");
    make_straight_course(game, "versus", 2);
    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    Point play = play_course_button(600, 450);
    game.click(play.x, play.y);
    game.click(150, 85);
    game.type("Alice");
    game.click(150, 155);
    game.type("Robo");
    // The seat button beside the second name: Person, Novice, Club.
    game.click(286, 155);
    game.click(286, 155);
    game.settle(0.3);
    game.screenshot("computer_player_dialog");
    play_course_named(game, "versus");
    ASSERT_TRUE(game.wait_title("versus.cor")) << game.title();
    game.settle(0.5);
    // The board is read (made empty when missing) as the round starts; it changes at the end.
    const std::string boardAtStart = game.read_file("leader_board2.lbh");
    auto finished = [&] { return game.read_file("leader_board2.lbh") != boardAtStart; };

    // Alice putts whenever the Putt button offers it; in between the computer plays, the
    // score card is closed, and the screen is watched for the computer's putter moving.
    int personPutts = 0, aimingShots = 0;
    bool meterSeen = false;
    std::vector<Rgb> last, now;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(150);
    while (!finished() && std::chrono::steady_clock::now() < giveUp) {
        game.settle(0.25);
        if (putt_button_shown(game)) {
            // The score card between holes hides the hole: its OK first (a click on the
            // course does nothing while no one aims).
            game.click(300, 450 - (450 / 2 - 175 + 20));
            game.settle(0.5);
            if (!putt_button_shown(game)) continue;
            game.screenshot("computer_person_turn_" + std::to_string(personPutts));
            game.click(545, 30);   // "Putt"
            game.move(300 + 25, 225 + 25);
            game.settle(0.4);
            game.click(300 + 25, 225 + 25);
            ++personPutts;
            game.settle(3.0);
            differing_pixels(game, last, last);
            continue;
        }
        // Not the person's turn: the computer thinks, aims or its ball rolls.
        const int moved = differing_pixels(game, last, now);
        last = now;
        if (moved > 0 && aimingShots < 8) {
            const std::string shot = game.screenshot("computer_turn_" + std::to_string(aimingShots++));
            // The power meter's black bar beside the computer's ball: its aim is on screen.
            const std::string black = run_command("convert '" + shot + "' -crop 300x200+150+100 txt:- | grep -c '#000000'");
            meterSeen = meterSeen || std::atoi(black.c_str()) > 100;
        }
        game.click(300, 450 - (450 / 2 - 175 + 20));   // the score card's OK, when it shows
    }
    game.screenshot("computer_round_finished");
    ASSERT_TRUE(finished()) << "the round did not finish";
    EXPECT_EQ(personPutts, 2);
    EXPECT_TRUE(meterSeen) << "no screenshot caught the computer aiming";
    const std::string board = game.read_file("leader_board2.lbh");
    EXPECT_EQ(board.rfind("Alice*2*", 0), 0u) << board;
    EXPECT_EQ(board.find("Robo"), std::string::npos) << board;
}

// Two computer seats and nobody at the mouse: the window goes off the screen once the round
// begins, and the round plays on by itself, each score card between the holes closing on its
// own, to the end of the course.
TEST_F(ComputerPlayTest, TwoComputerSeatsFinishACourseInAHiddenWindow)
{
    GameSession game(*display);
    game.extraEnvironment = {"MG_TICK_LOG=" + game.file("ticks.log")};
    make_straight_course(game, "robots", 2);
    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    Point play = play_course_button(600, 450);
    game.click(play.x, play.y);
    const int rows[2] = {85, 155};
    const char* names[2] = {"Robo", "Rita"};
    for (int k = 0; k < 2; ++k) {
        game.click(150, rows[k]);
        game.type(names[k]);
        game.click(286, rows[k]);   // Novice
        game.click(286, rows[k]);   // Club
    }
    game.settle(0.3);
    game.screenshot("computer_only_player_dialog");
    play_course_named(game, "robots");
    ASSERT_TRUE(game.wait_title("robots.cor")) << game.title();
    game.unmap();

    // Two holes over (the second ends the course), and the round file gone with the round.
    auto holes_over = [&] {
        const std::string log = game.read_file("ticks.log");
        int n = 0;
        for (size_t at = log.find("hole "); at != std::string::npos; at = log.find("hole ", at + 1)) ++n;
        return n;
    };
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    auto over = [&] { return holes_over() >= 2 && !std::filesystem::exists(game.file("round_in_play.rnd")); };
    while (!over() && std::chrono::steady_clock::now() < giveUp) game.settle(0.5);
    EXPECT_EQ(holes_over(), 2) << game.read_file("ticks.log");
    EXPECT_FALSE(std::filesystem::exists(game.file("round_in_play.rnd")));
    game.map();
    game.settle(1.0);
    game.screenshot("computer_only_finished");
    // Both seats on the last score card; only people enter the leader board.
    const std::string board = game.read_file("leader_board2.lbh");
    EXPECT_EQ(board.find("Robo"), std::string::npos) << board;
}
