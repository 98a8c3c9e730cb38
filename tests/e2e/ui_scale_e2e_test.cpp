// UI Scale on a 1920 x 1080 screen (Xorg's dummy driver): with Auto the widgets, menus,
// dialogs, score card and their text are drawn 2.4 times their design size, and clicks land
// on them where they are drawn; 100 % keeps the pixel sizes of a small window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

constexpr int SCREEN_W = 1920, SCREEN_H = 1080;

// The widgets' layout at Auto: 800 x 450 units of 2.4 pixels.
constexpr int UNITS_W = 800, UNITS_H = 450;
constexpr double AUTO = 2.4;

Point at(Point units, double factor = AUTO)
{
    return {static_cast<int>(units.x * factor + factor / 2), static_cast<int>(units.y * factor + factor / 2)};
}

// Places in units, y from the top: the play bar's titles and the entries of its menus.
// The bar keeps the layout it was made with at Auto (the texture font's large widths).
constexpr Point STATS_TITLE{58, 10};
constexpr Point CONFIG_TITLE{170, 10};
constexpr Point SCORE_CARD_ENTRY{60, 34};
constexpr Point UI_SCALE_ENTRY{160, 130};   // the Config menu's last entry
constexpr Point AIM_GUIDE_ENTRY{160, 106};

class UiScaleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        display = new VirtualDisplay(SCREEN_W, SCREEN_H, VirtualDisplay::Server::DUMMY_XORG);
    }
    static void TearDownTestSuite()
    {
        delete display;
        display = nullptr;
    }
    void SetUp() override
    {
        if (display->name().empty())
            GTEST_SKIP() << "Xorg with the dummy video driver did not start "
                            "(it needs root and xserver-xorg-video-dummy)";
    }
    static inline VirtualDisplay* display = nullptr;
};

// Dark (lettering) pixels in the rectangle (0, 0)-(w, h) of a screenshot.
int dark_pixels(const std::string& png, int w, int h)
{
    const std::string count =
        run_command("convert '" + png + "' -crop " + std::to_string(w) + "x" + std::to_string(h) +
                    "+0+0 +repage -colorspace gray -threshold 25% -negate -format '%[fx:round(mean*w*h)]' info:");
    return std::atoi(count.c_str());
}

// A point of a 500-unit-wide dialog centred in a w x h layout whose half height is b: dx
// from its left edge, dy above its bottom.
Point in_dialog_point(int b, int dx, int dy, int w, int h) { return {w / 2 - 250 + dx, h - (h / 2 - b + dy)}; }

bool is_card(const Rgb& c) { return c.r > 170 && c.g > 170 && c.b > 120; }

void choose(GameSession& game, Point title, Point entry, double factor)
{
    const Point t = at(title, factor), e = at(entry, factor);
    game.click(t.x, t.y);
    game.settle(0.3);
    game.click(e.x, e.y);
    game.settle(0.3);
}

}  // namespace

TEST_F(UiScaleTest, AutoGrowsEverythingAtFullHdAndEveryScaleIsClickedThrough)
{
    GameSession game(*display, "w*n*1920*1080*");
    make_straight_course(game, "one", 1);
    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(game.geometry(x, y, w, h));
    ASSERT_EQ(w, SCREEN_W);
    ASSERT_EQ(h, SCREEN_H);

    // The start question, 2.4 times as large: its Quit button reaches a place the 600 x 450
    // layout never covers, and "Play Course" is clicked where it is drawn.
    const Point quit = at(quit_button(UNITS_W, UNITS_H));
    ASSERT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(quit.x - 100, quit.y)); }));
    game.screenshot("ui_scale_auto_start_question");
    const Point play = at(play_course_button(UNITS_W, UNITS_H));
    game.click(play.x, play.y);

    // The players dialog: (150, 50)-(650, 400) units. Sam sits down and plays "one".
    const Point dialogCorner = at({160, 60});
    ASSERT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(dialogCorner.x, dialogCorner.y)); }));
    game.screenshot("ui_scale_auto_players");
    const Point name = at({250, 85});
    game.click(name.x, name.y);
    game.type("Sam");
    const Point ready = at({315, 355});
    game.click(ready.x, ready.y);
    game.settle(0.5);
    game.type("one");
    const Point confirm = at(chooser_confirm(UNITS_W, UNITS_H));
    game.click(confirm.x, confirm.y);
    ASSERT_TRUE(game.wait_title("one.cor")) << game.read_file("game.log");
    game.settle(1.0);
    const std::string autoShot = game.screenshot("ui_scale_auto_hole");

    // Putt: (w-100, 10)-(w-10, 50) units from the top right corner; the menu bar 2.4 times
    // as tall, its lettering with it.
    const Point putt = at({UNITS_W - 90, 45});
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(putt.x, putt.y)); }));
    EXPECT_TRUE(is_grey_widget(game.pixel(200, 50))) << "the menu bar is not 2.4 times as tall";
    const int autoLettering = dark_pixels(autoShot, 400, 60);

    // The score card from the Stats menu, drawn over (160, 60)-(640, 365) units, closed by
    // its OK where that is drawn.
    choose(game, STATS_TITLE, SCORE_CARD_ENTRY, AUTO);
    const Point card = at({190, 80});
    EXPECT_TRUE(soon(game, [&] { return is_card(game.pixel(card.x, card.y)); }));
    game.screenshot("ui_scale_auto_score_card");
    const Point ok = at(in_dialog_point(175, 250, 20, UNITS_W, UNITS_H));
    game.click(ok.x, ok.y);
    EXPECT_TRUE(soon(game, [&] { return !is_card(game.pixel(card.x, card.y)); })) << "OK did not close the card";

    // While aiming, Config opens its menu, and a second click on the title closes it again.
    game.click(putt.x, putt.y);
    game.move(SCREEN_W / 2 + 80, SCREEN_H / 2 + 80);
    game.settle(0.4);
    const Point configTitle = at(CONFIG_TITLE), scaleEntry = at(UI_SCALE_ENTRY);
    const Point menuFace = at({270, 130});   // right of the last entry's text
    game.click(configTitle.x, configTitle.y);
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(menuFace.x, menuFace.y)); }));
    game.screenshot("ui_scale_auto_config_menu_while_aiming");
    game.click(configTitle.x, configTitle.y);
    EXPECT_TRUE(soon(game, [&] { return !is_grey_widget(game.pixel(menuFace.x, menuFace.y)); }))
        << "the title did not close its menu";
    game.click(configTitle.x, configTitle.y);
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(menuFace.x, menuFace.y)); }));
    game.click(configTitle.x, configTitle.y);
    game.settle(0.3);

    // Config > Aim Guide On, then the entry says Off: the menu's entries are where drawn.
    choose(game, CONFIG_TITLE, AIM_GUIDE_ENTRY, AUTO);
    EXPECT_TRUE(soon(game, [&] { return game.read_file("Config.glf") == "w*n*1920*1080*g*"; }))
        << game.read_file("Config.glf");

    // UI Scale: Auto -> 100 %: today's pixel sizes, written at once.
    game.click(configTitle.x, configTitle.y);
    game.settle(0.4);
    game.screenshot("ui_scale_auto_config_menu");
    game.click(scaleEntry.x, scaleEntry.y);
    EXPECT_TRUE(soon(game, [&] { return game.read_file("Config.glf") == "w*n*1920*1080*g*u100*"; }))
        << game.read_file("Config.glf") << "\n" << game.read_file("game.log");
    game.settle(0.5);
    const std::string pixelShot = game.screenshot("ui_scale_100_hole");
    // Putt at (w-100, 10)-(w-10, 50) pixels, "+" at (w-60, h-60)-(w-40, h-40), the bar 26 high.
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(SCREEN_W - 50, 30)); }));
    EXPECT_FALSE(is_grey_widget(game.pixel(putt.x, putt.y))) << "Putt kept its Auto size";
    EXPECT_TRUE(is_grey_widget(game.pixel(SCREEN_W - 57, SCREEN_H - 44)));
    EXPECT_FALSE(is_grey_widget(game.pixel(200, 50))) << "the menu bar kept its Auto size";
    const int pixelLettering = dark_pixels(pixelShot, 400, 60);
    // Letters 2.4 times as tall and wide cover about 5 times the pixels.
    EXPECT_GT(autoLettering, 3 * pixelLettering) << autoLettering << " vs " << pixelLettering;
    EXPECT_GT(pixelLettering, 20);

    // 100 % -> 150 % -> 200 % -> Auto, each chosen from the menu as it is drawn at that scale.
    choose(game, CONFIG_TITLE, UI_SCALE_ENTRY, 1.0);
    EXPECT_TRUE(soon(game, [&] { return game.read_file("Config.glf") == "w*n*1920*1080*g*u150*"; }))
        << game.read_file("Config.glf");
    choose(game, CONFIG_TITLE, UI_SCALE_ENTRY, 1.5);
    EXPECT_TRUE(soon(game, [&] { return game.read_file("Config.glf") == "w*n*1920*1080*g*u200*"; }))
        << game.read_file("Config.glf");
    game.screenshot("ui_scale_200_hole");
    choose(game, CONFIG_TITLE, UI_SCALE_ENTRY, 2.0);
    EXPECT_TRUE(soon(game, [&] { return game.read_file("Config.glf") == "w*n*1920*1080*g*"; }))
        << game.read_file("Config.glf");
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(putt.x, putt.y)); })) << "Auto did not come back";

    // Escape and Yes of the exit question, drawn at Auto.
    game.key("Escape");
    game.settle(0.4);
    game.screenshot("ui_scale_auto_exit_question");
    const Point yes = at(yes_button(UNITS_W, UNITS_H));
    game.click(yes.x, yes.y);
    EXPECT_EQ(game.wait_exit(10), 0);
    EXPECT_EQ(game.read_file("Config.glf"), "w*n*1920*1080*g*");
}
