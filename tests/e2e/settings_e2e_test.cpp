// The Config menu: the sound switch kept in Config.glf, and the display mode switch.
#include <gtest/gtest.h>

#include <set>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

// The play bar's "Config" title and its entries, top to bottom.
constexpr Point CONFIG_TITLE{140, 10};
constexpr int FULL_SCREEN_ENTRY_Y = 37;
constexpr int WINDOWED_ENTRY_Y = 63;
constexpr int SOUND_ENTRY_Y = 89;

void choose_config_entry(GameSession& game, int entryY)
{
    game.click(CONFIG_TITLE.x, CONFIG_TITLE.y);
    game.click(CONFIG_TITLE.x + 20, entryY);
}

// The resolution dialog in a window of w x h: the list stepped `steps` entries on, then "OK".
void choose_resolution(GameSession& game, int w, int h, int steps)
{
    for (int k = 0; k < steps; ++k) game.click(w / 2 - 250 + 391, h - (h / 2 - 75 + 73));
    game.click(w / 2 - 250 + 190, h - (h / 2 - 75 + 20));
}

// The window's widgets, fonts and textures are drawn for a window of w x h: the menu bar
// with its lettering, the zoom and turn buttons in the bottom right corner, and textured
// grass (not one flat colour) beyond the fairway.
void expect_drawn_for(GameSession& game, int w, int h)
{
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(100, 5)); })) << "no menu bar";
    EXPECT_TRUE(is_grey_widget(game.pixel(w - 57, h - 44))) << "no zoom button";
    EXPECT_TRUE(is_grey_widget(game.pixel(w - 82, h - 37))) << "no turn button";
    int lettering = 0;
    for (int px = 4; px < 40; ++px)
        for (int py = 4; py < 18; ++py) {
            const Rgb c = game.pixel(px, py);
            lettering += c.r + c.g + c.b < 200;
        }
    EXPECT_GT(lettering, 15) << "no \"File\" on the menu bar";
    std::set<int> greens;
    for (int px = 20; px < 140; px += 6) greens.insert(game.pixel(px, h * 2 / 3).g);
    EXPECT_GT(greens.size(), 4u) << "the ground is not textured";
}

// After a display switch into a 600 x 450 window: everything is drawn, and the game reads the
// new window's mouse: a putt from the tee (the camera centres the ball while aiming) holes
// Sam's ball and ends the round; the score card's OK closes the card.
void expect_playable_in_600_by_450(GameSession& game, const std::string& shot)
{
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(game.geometry(x, y, w, h));
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 450);
    game.settle(1.0);
    game.screenshot(shot);
    expect_drawn_for(game, 600, 450);

    game.click(600 - 55, 30);   // "Putt"
    game.move(300 + 25, 225 + 25);
    game.settle(0.4);
    game.click(300 + 25, 225 + 25);
    game.settle(6.0);
    game.screenshot(shot + "_holed");
    EXPECT_EQ(game.read_file("leader_board1.lbh").rfind("Sam*1*", 0), 0u) << game.read_file("leader_board1.lbh");
    game.click(300, 450 - (450 / 2 - 175 + 20));
}

// Default settings with the widgets kept at their pixel size (UI Scale 100 %), so that the
// places below hold in the 800 x 600 window and in full screen.
constexpr const char* PIXEL_SIZED_WIDGETS = "w*s*600*450*u100*";

// Sam on a one-hole course "one", the window then made 800 x 600.
bool start_round_at_800_by_600(GameSession& game)
{
    make_straight_course(game, "one", 1);
    if (!game.start()) return false;
    sit_down(game, {"Sam"}, "one");
    if (!game.wait_title("one.cor")) return false;
    game.resize(800, 600);
    return true;
}

int quit(GameSession& game, int w = 600, int h = 450)
{
    game.key("Escape");
    Point yes = yes_button(w, h);
    game.click(yes.x, yes.y);
    return game.wait_exit(10);
}

class SettingsTest : public DisplayTest {
protected:
    void choose_sound_entry(GameSession& game, const std::string& shot)
    {
        game.click(CONFIG_TITLE.x, CONFIG_TITLE.y);
        game.screenshot(shot);
        game.click(CONFIG_TITLE.x + 20, SOUND_ENTRY_Y);
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
    GameSession game(*display, PIXEL_SIZED_WIDGETS);
    ASSERT_TRUE(start_round_at_800_by_600(game));

    choose_config_entry(game, FULL_SCREEN_ENTRY_Y);
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(800 / 2, 600 / 2 - 75 + 4)); }));
    game.screenshot("settings_resolution_dialog");
    choose_resolution(game, 800, 600, 1);   // "800 x 600"

    ASSERT_TRUE(game.follow_new_window("one.cor")) << game.read_file("game.log");
    EXPECT_EQ(game.visible_windows("one.cor"), 1);   // the old window is gone
    expect_playable_in_600_by_450(game, "settings_after_refused_full_screen");

    // the sound off, and Escape and Yes in the new window
    choose_sound_entry(game, "settings_config_menu_after_switch");
    EXPECT_EQ(quit(game), 0);
    EXPECT_EQ(game.read_file("Config.glf"), "w*n*600*450*u100*");
}

namespace {

// Xorg's dummy driver grants game modes (though it keeps its resolution, as many displays do:
// the game-mode window then covers the whole screen).
class FullScreenTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        display = new VirtualDisplay(1280, 1024, VirtualDisplay::Server::DUMMY_XORG);
    }
    static void TearDownTestSuite()
    {
        delete display;
        display = nullptr;
    }
    void SetUp() override
    {
        if (display->name().empty())
            GTEST_SKIP() << "Xorg with the dummy video driver did not start (it needs root and xserver-xorg-video-dummy)";
    }
    static inline VirtualDisplay* display = nullptr;
};

constexpr const char* GAME_MODE_TITLE = "FREEGLUT";   // freeglut's name for its game-mode window

}  // namespace

TEST_F(FullScreenTest, FullScreenAndBackWithWindowedEndsInA600By450Window)
{
    GameSession game(*display, PIXEL_SIZED_WIDGETS);
    ASSERT_TRUE(start_round_at_800_by_600(game));

    choose_config_entry(game, FULL_SCREEN_ENTRY_Y);
    choose_resolution(game, 800, 600, 2);   // "1024 x 768"
    ASSERT_TRUE(game.follow_new_window(GAME_MODE_TITLE)) << game.read_file("game.log");
    EXPECT_EQ(game.visible_windows("one.cor"), 0);   // the window was destroyed
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(game.geometry(x, y, w, h));
    EXPECT_GE(w, 1024);
    EXPECT_GE(h, 768);
    game.settle(1.0);
    game.screenshot("fullscreen_granted");
    expect_drawn_for(game, w, h);
    // the scene fills the whole screen, not a 1024 x 768 corner of it
    const Rgb topRight = game.pixel(w - 150, 150);
    EXPECT_GT(topRight.r + topRight.g + topRight.b, 60);

    // another resolution while full screen: the game mode is entered afresh, and nothing
    // that is already gone is destroyed
    choose_config_entry(game, FULL_SCREEN_ENTRY_Y);
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(w / 2, h / 2 - 75 + 4)); }));
    choose_resolution(game, w, h, 1);   // "800 x 600"
    ASSERT_TRUE(game.follow_new_window(GAME_MODE_TITLE)) << game.read_file("game.log");
    EXPECT_EQ(game.visible_windows(GAME_MODE_TITLE), 1);
    ASSERT_TRUE(game.geometry(x, y, w, h));
    expect_drawn_for(game, w, h);

    // "Windowed" and "Yes": a new 600 x 450 window with everything in it
    choose_config_entry(game, WINDOWED_ENTRY_Y);
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(w / 2, h / 2 - 75 + 4)); }));
    game.screenshot("fullscreen_windowed_question");
    Point yes = yes_button(w, h);
    game.click(yes.x, yes.y);
    ASSERT_TRUE(game.follow_new_window("one.cor")) << game.read_file("game.log");
    EXPECT_EQ(game.visible_windows(GAME_MODE_TITLE), 0);
    // (the view stays on the tee: the pointer of the big window does not scroll it away)
    expect_playable_in_600_by_450(game, "fullscreen_back_in_a_window");
    EXPECT_EQ(quit(game), 0);
    EXPECT_EQ(game.read_file("Config.glf"), "w*s*600*450*u100*");
}

TEST_F(FullScreenTest, StoredFullScreenIsEnteredAtStartAndItsModeKept)
{
    GameSession game(*display, "f*n*800*600*");
    ASSERT_TRUE(game.start(GAME_MODE_TITLE)) << game.read_file("game.log");
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(game.geometry(x, y, w, h));
    EXPECT_GE(w, 800);
    game.screenshot("fullscreen_at_start");
    // the start question is centred on the whole screen
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(w / 2, h / 2 + 40)); }));
    // the display gave its own size, but the player's choice is what is kept
    game.close_window();
    EXPECT_EQ(game.wait_exit(10), 0);
    EXPECT_EQ(game.read_file("Config.glf"), "f*n*800*600*");
}
