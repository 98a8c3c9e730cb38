// The Config menu: the sound switch kept in Config.glf, and the display mode switch.
#include <gtest/gtest.h>

#include <set>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

class SettingsTest : public DisplayTest {
protected:
    // The play bar's "Config" title and its entries, top to bottom.
    static constexpr Point CONFIG_TITLE{140, 10};
    static constexpr int SOUND_ENTRY_Y = 89;
    static constexpr int FULL_SCREEN_ENTRY_Y = 37;

    void choose_sound_entry(GameSession& game, const std::string& shot)
    {
        game.click(CONFIG_TITLE.x, CONFIG_TITLE.y);
        game.screenshot(shot);
        game.click(CONFIG_TITLE.x + 20, SOUND_ENTRY_Y);
    }

    int quit(GameSession& game)
    {
        game.key("Escape");
        Point yes = yes_button(600, 450);
        game.click(yes.x, yes.y);
        return game.wait_exit(10);
    }
};

}  // namespace

TEST_F(SettingsTest, SoundSwitchedOffDuringARoundIsKeptAndCanBeSwitchedOnAgain)
{
    {
        GameSession game(*display);
        make_straight_course(game, "one", 1);
        ASSERT_TRUE(game.start());
        sit_down(game, {"Sam"}, "one");
        ASSERT_TRUE(game.wait_title("one.cor"));
        choose_sound_entry(game, "settings_config_menu_sound_on");
        EXPECT_TRUE(game.running());
        EXPECT_EQ(quit(game), 0);
        EXPECT_EQ(game.read_file("Config.glf"), "w*n*600*450*");

        // the next start reads the switch back: the entry now offers "Sound On "
        GameSession again(*display, game.read_file("Config.glf"));
        make_straight_course(again, "one", 1);
        ASSERT_TRUE(again.start());
        sit_down(again, {"Sam"}, "one");
        ASSERT_TRUE(again.wait_title("one.cor"));
        choose_sound_entry(again, "settings_config_menu_sound_off");
        EXPECT_EQ(quit(again), 0);
        EXPECT_EQ(again.read_file("Config.glf"), "w*s*600*450*");
    }
}

// Xvfb refuses every game mode, so "Full Screen" ends in a new 600 x 450 window: the game must
// carry on there with its widgets, fonts, textures and callbacks, and say it is windowed.
TEST_F(SettingsTest, FullScreenRefusedByTheDisplayCarriesOnInANew600By450Window)
{
    GameSession game(*display);
    make_straight_course(game, "one", 1);
    ASSERT_TRUE(game.start());
    sit_down(game, {"Sam"}, "one");
    ASSERT_TRUE(game.wait_title("one.cor"));
    game.resize(800, 600);

    game.click(CONFIG_TITLE.x, CONFIG_TITLE.y);
    game.click(CONFIG_TITLE.x + 20, FULL_SCREEN_ENTRY_Y);
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(800 / 2, 600 / 2 - 75 + 4)); }));
    game.screenshot("settings_resolution_dialog");
    game.click(800 / 2 - 250 + 391, 600 - (600 / 2 - 75 + 73));   // the list's arrow: "800 x 600"
    game.click(800 / 2 - 250 + 190, 600 - (600 / 2 - 75 + 20));   // "OK"

    ASSERT_TRUE(game.follow_new_window("one.cor")) << game.read_file("game.log");
    EXPECT_EQ(game.visible_windows("one.cor"), 1);   // the old window is gone
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(game.geometry(x, y, w, h));
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 450);
    game.settle(1.0);
    game.screenshot("settings_after_display_switch");

    // the bars and buttons are drawn in the new window, with their lettering...
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(100, 5)); }));     // the menu bar
    EXPECT_TRUE(is_grey_widget(game.pixel(600 - 57, 450 - 44)));                      // zoom in
    EXPECT_TRUE(is_grey_widget(game.pixel(600 - 82, 450 - 37)));                      // turn left
    int lettering = 0;
    for (int px = 4; px < 40; ++px)
        for (int py = 4; py < 18; ++py) {
            const Rgb c = game.pixel(px, py);
            lettering += c.r + c.g + c.b < 200;
        }
    EXPECT_GT(lettering, 15) << "no \"File\" on the menu bar";
    // ...and the ground is textured: the grass beyond the fairway is not one flat colour
    std::set<int> greens;
    for (int px = 20; px < 140; px += 6) greens.insert(game.pixel(px, 300).g);
    EXPECT_GT(greens.size(), 4u);

    // the game reads the new window's mouse: a putt holes the ball and the round ends
    game.click(545, 30);   // "Putt"
    game.move(300 + 25, 225 + 25);
    game.settle(0.4);
    game.click(300 + 25, 225 + 25);
    game.settle(6.0);
    game.screenshot("settings_holed_after_switch");
    EXPECT_EQ(game.read_file("leader_board1.lbh").rfind("Sam*1*", 0), 0u) << game.read_file("leader_board1.lbh");

    // the score card's OK, then the sound off, and Escape and Yes in the new window
    game.click(300, 450 - (450 / 2 - 175 + 20));
    choose_sound_entry(game, "settings_config_menu_after_switch");
    EXPECT_EQ(quit(game), 0);
    EXPECT_EQ(game.read_file("Config.glf"), "w*n*600*450*");
}
