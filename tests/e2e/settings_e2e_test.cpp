// The Config menu: the sound switch kept in Config.glf, and the display mode switch.
#include <gtest/gtest.h>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

class SettingsTest : public DisplayTest {
protected:
    // The play bar's "Config" title and its entries, top to bottom.
    static constexpr Point CONFIG_TITLE{140, 10};
    static constexpr int SOUND_ENTRY_Y = 89;

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
