// The aim guide: switched on in the Config menu, its dotted line shows while Sam aims, the
// round he finishes with it stays off the leader board, the score card says so, and the
// switch is kept in Config.glf.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

class AimGuideTest : public DisplayTest {};

constexpr Point CONFIG_TITLE{140, 10};
constexpr int AIM_GUIDE_ENTRY_Y = 115;   // below Full Screen, Windowed and Sound

// Dark text pixels left of the score card's OK button, where its note goes.
int note_pixels(GameSession& game)
{
    int dark = 0;
    for (int x = 70; x < 270; x += 2)
        for (int y = 376; y < 390; y += 2) {
            const Rgb c = game.pixel(x, y);
            dark += c.r + c.g + c.b < 150;
        }
    return dark;
}

}  // namespace

TEST_F(AimGuideTest, TheGuideShowsWhileAimingAndItsRoundStaysOffTheLeaderBoard)
{
    GameSession game(*display);
    make_straight_course(game, "one", 1);
    ASSERT_TRUE(game.start());
    sit_down(game, {"Sam"}, "one");
    ASSERT_TRUE(game.wait_title("one.cor"));

    game.settle(1.0);
    game.click(CONFIG_TITLE.x, CONFIG_TITLE.y);
    game.settle(0.3);
    game.screenshot("aim_guide_config_menu");
    game.click(CONFIG_TITLE.x + 20, AIM_GUIDE_ENTRY_Y);
    game.settle(0.3);

    game.click(600 - 55, 30);   // "Putt"
    game.move(300 + 25, 225 + 25);
    game.settle(0.8);
    const std::string dots = game.screenshot("aim_guide_dots");
    EXPECT_GT(white_pixels_round_the_ball(dots), 40) << "no dotted line round the ball";

    game.click(300 + 25, 225 + 25);
    game.settle(6.0);
    game.screenshot("aim_guide_score_card");
    EXPECT_GT(note_pixels(game), 20) << "no note under the score card";
    EXPECT_EQ(game.read_file("leader_board1.lbh").find("Sam"), std::string::npos) << game.read_file("leader_board1.lbh");
    game.click(300, 450 - (450 / 2 - 175 + 20));   // the card's OK

    game.key("Escape");
    const Point yes = yes_button(600, 450);
    game.click(yes.x, yes.y);
    EXPECT_EQ(game.wait_exit(10), 0);
    EXPECT_EQ(game.read_file("Config.glf"), "w*s*600*450*g*");
}
