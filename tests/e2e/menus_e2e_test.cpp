// Both menu bars, the dialogs they open and the score card and leader board screens, driven
// with real clicks: a course is played through with "Pick Up Ball" so every hole finishes.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "hole/course_archive.h"
#include "hole/hole_file.h"
#include "hole/hole_grid.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace {

constexpr int W = 600, H = 450;

// --- reading the window -------------------------------------------------------------------

// The pixels of a rectangle of the game's window (y from the top), row by row.
std::vector<Rgb> grab(const VirtualDisplay& display, int x, int y, int w, int h)
{
    const std::string ids =
        run_command("DISPLAY=" + display.name() + " xdotool search --class minigolf 2>/dev/null | head -n 1");
    return window_pixels(display.name(), std::strtoul(ids.c_str(), nullptr, 10), x, y, w, h);
}

// A fingerprint of the dark (text) pixels of a rectangle: tells two legends apart.
std::string text_print(const VirtualDisplay& display, int x, int y, int w, int h)
{
    std::string print;
    for (const Rgb& c : grab(display, x, y, w, h)) print += (c.r + c.g + c.b < 200) ? '#' : '.';
    return print;
}

int count_dark(const std::string& print) { return static_cast<int>(std::count(print.begin(), print.end(), '#')); }

// The fingerprint once two reads a frame or so apart agree (a slow machine may still be
// drawing the change).
std::string settled_print(GameSession& game, const VirtualDisplay& display, int x, int y, int w, int h)
{
    std::string last = text_print(display, x, y, w, h);
    for (int tries = 0; tries < 10; ++tries) {
        game.settle(0.15);
        std::string now = text_print(display, x, y, w, h);
        if (now == last && count_dark(now) > 0) return now;
        last = now;
    }
    return last;
}

// --- where things are (600 x 450) -------------------------------------------------------

// A centred 500-wide dialog of half-height b: a point given in dialog coordinates.
Point in_dialog(int b, int dx, int dy, int w = W, int h = H) { return {w / 2 - 250 + dx, h - (h / 2 - b + dy)}; }

Point ok_small() { return in_dialog(75, 190, 20); }        // "OK"/"Yes" of a small dialog
Point cancel_small() { return in_dialog(75, 310, 20); }    // "Cancel"
Point ok_large(int w = W, int h = H) { return in_dialog(175, 250, 20, w, h); }   // score card, leader board
Point list_up() { return in_dialog(75, 391, 73); }          // the select box's arrows: next entry
Point list_down() { return in_dialog(75, 391, 58); }        // previous entry

// Menu titles along the bar and their entries, 26 pixels apart from the top.
constexpr int ENTRY_STEP = 26;
constexpr int FIRST_ENTRY_Y = 37;

struct Menu {
    int titleX;
};
constexpr Menu EDITOR_EDIT{50}, EDITOR_CONFIG{95};
constexpr Menu PLAY_FILE{15}, PLAY_STATS{55}, PLAY_SPECIAL{105};
constexpr int EDIT_FIRST_TOOL = 3;   // the Edit menu's tools follow Undo, Redo and a separator

void choose(GameSession& game, Menu menu, int entry)
{
    game.click(menu.titleX, 10);
    game.click(menu.titleX + 10, FIRST_ENTRY_Y + ENTRY_STEP * entry);
}

// --- a course to play -------------------------------------------------------------------

// Writes n holes (a raised green with a tee and a cup) and packs them into courses/name.cor.
void make_course(GameSession& game, const std::string& name, int n)
{
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    for (int i = 20; i <= 28; ++i)
        for (int j = 20; j <= 28; ++j) grid->height_at(i, j) = 1;
    grid->edges_at(24, 27) = EDGE_CUP;
    grid->tee = {1, static_cast<int>(tile_corner(24)), static_cast<int>(tile_corner(21))};
    std::vector<CoursePackHole> holes;
    for (int k = 1; k <= n; ++k) {
        const std::string path = game.file(name + "_hole" + std::to_string(k) + ".top");
        std::string error;
        ASSERT_TRUE(write_hole_file(*grid, path, &error)) << error;
        holes.push_back({path, 2 + k % 3, ""});
    }
    std::string error;
    ASSERT_TRUE(pack_course(game.file("courses/" + name + ".cor"), holes, &error)) << error;
}

// From the start question through the player dialog and the course chooser into the round.
void start_round(GameSession& game, const std::vector<std::string>& names, const std::string& course)
{
    Point play = play_course_button(W, H);
    game.click(play.x, play.y);
    const int rows[] = {315, 245, 175, 105};
    for (size_t k = 0; k < names.size(); ++k) {
        Point input = in_dialog(175, 105, rows[k]);
        game.click(input.x, input.y);
        game.type(names[k]);
    }
    Point ready = in_dialog(175, 165, 45);
    game.click(ready.x, ready.y);
    game.settle(1.0);
    game.type(course);
    game.screenshot("course_chooser_" + course);
    Point confirm = chooser_confirm(W, H);
    game.click(confirm.x, confirm.y);
    game.settle(0.5);
}

// The play menu's entries.
enum { STATS_SCORE_CARD = 0, STATS_LEADER_BOARD = 1 };
enum { SPECIAL_PICK_UP = 0, SPECIAL_GO_TO_HOLE = 1 };
enum { PLAY_LOAD_COURSE = 0, PLAY_RESTART = 2, PLAY_EXIT = 4 };

void pick_up(GameSession& game)
{
    choose(game, PLAY_SPECIAL, SPECIAL_PICK_UP);
    Point yes = ok_small();
    game.click(yes.x, yes.y);
}

// Whether a centred dialog of half-height b shows its frame (grey) at its top edge.
bool dialog_shown(GameSession& game, int b) { return is_grey_widget(game.pixel(W / 2, H / 2 - b + 4)); }

int count_black(const std::vector<Rgb>& pixels)
{
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](const Rgb& c) { return c.r + c.g + c.b < 40; }));
}

// The card's paper shows in an empty cell, and "Hole" in black in the first row.
bool score_card_drawn(GameSession& game, const VirtualDisplay& display)
{
    const Rgb paper = game.pixel(W / 2 - 10, H / 2 - 25);
    const bool isPaper = paper.r > 220 && paper.g > 220 && paper.b > 170;
    return isPaper && count_black(grab(display, W / 2 - 232, H / 2 - 120, 45, 20)) > 20;
}

bool wait_for_score_card(GameSession& game, const VirtualDisplay& display)
{
    for (int tries = 0; tries < 25; ++tries) {
        if (score_card_drawn(game, display)) return true;
        game.settle(0.2);
    }
    return false;
}

// Plays every hole of an n-hole course by picking up each player's ball; the score card opens
// after each hole but the last only after the pause, and is closed again here.
void pick_up_through(GameSession& game, const VirtualDisplay& display, int holes, int players,
                     const std::string& lastShot)
{
    for (int hole = 1; hole <= holes; ++hole) {
        for (int p = 0; p < players; ++p) pick_up(game);
        ASSERT_TRUE(wait_for_score_card(game, display)) << "no score card after hole " << hole;
        if (hole == holes && !lastShot.empty()) game.screenshot(lastShot);
        Point ok = ok_large();
        game.click(ok.x, ok.y);
        ASSERT_TRUE(soon(game, [&] { return !score_card_drawn(game, display); }))
            << "score card still open after hole " << hole;
    }
}

class MenusTest : public DisplayTest {};

}  // namespace

TEST_F(MenusTest, EditToolsSetTheToolLabelAndNothingHidesIt)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    game.click(EDITOR_EDIT.titleX, 10);
    game.settle(0.5);
    game.screenshot("menu_edit_open");
    game.click(EDITOR_EDIT.titleX, 10);   // closes it again

    // the label sits at (w/2 - 80, 10) in PUI terms: read its legend's pixels
    std::set<std::string> legends;
    for (int entry = 0; entry < 9; ++entry) {
        choose(game, EDITOR_EDIT, EDIT_FIRST_TOOL + entry);
        EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(W / 2 - 75, H - 14)); }))
            << "label hidden after entry " << entry;
        // every tool's legend differs from all the ones before
        std::string print;
        EXPECT_TRUE(soon(game, [&] {
            print = settled_print(game, *display, W / 2 - 80, H - 40, 200, 30);
            return !legends.count(print);
        })) << "legend unchanged after entry " << entry;
        EXPECT_GT(count_dark(print), 30) << entry;
        legends.insert(print);
        if (entry == 4) game.screenshot("tool_label_water");
    }
    EXPECT_EQ(legends.size(), 9u);
    choose(game, EDITOR_EDIT, EDIT_FIRST_TOOL + 9);    // "NOTHING"
    EXPECT_TRUE(soon(game, [&] { return !is_grey_widget(game.pixel(W / 2 - 75, H - 14)); }));
}

TEST_F(MenusTest, ConfigLabelsFollowTheSoundAndWindowedEntriesDoNothingInAWindow)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    auto entry_print = [&](int entry) {
        return settled_print(game, *display, EDITOR_CONFIG.titleX - 25, FIRST_ENTRY_Y + entry * ENTRY_STEP - 10, 85, 20);
    };
    game.click(EDITOR_CONFIG.titleX, 10);
    const std::string soundOff = entry_print(2);
    const std::string windowed = entry_print(1);
    game.screenshot("menu_config_sound_on");
    game.click(EDITOR_CONFIG.titleX + 10, FIRST_ENTRY_Y + 2 * ENTRY_STEP);   // "Sound Off"
    game.click(EDITOR_CONFIG.titleX, 10);
    EXPECT_TRUE(soon(game, [&] { return entry_print(2) != soundOff; }));
    game.screenshot("menu_config_sound_off");
    game.click(EDITOR_CONFIG.titleX + 10, FIRST_ENTRY_Y + 2 * ENTRY_STEP);   // "Sound On "
    game.click(EDITOR_CONFIG.titleX, 10);
    EXPECT_TRUE(soon(game, [&] { return entry_print(2) == soundOff; }));
    // "--------" in a window asks nothing
    EXPECT_GT(count_dark(windowed), 0);
    game.click(EDITOR_CONFIG.titleX + 10, FIRST_ENTRY_Y + ENTRY_STEP);
    game.settle(0.5);
    EXPECT_FALSE(dialog_shown(game, 75));
    // the settings remember the last choice at exit
    game.key("Escape");
    Point yes = yes_button(W, H);
    game.click(yes.x, yes.y);
    EXPECT_EQ(game.wait_exit(10), 0);
    EXPECT_EQ(game.read_file("Config.glf"), "w*s*600*450*");
}

TEST_F(MenusTest, ResolutionDialogIsRecentredAndCancelled)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    choose(game, EDITOR_CONFIG, 0);   // "Full Screen"
    EXPECT_TRUE(soon(game, [&] { return dialog_shown(game, 75); }));
    game.screenshot("resolution_dialog");
    // the scene takes no clicks and Escape asks nothing while it is open
    game.key("Escape");
    game.resize(800, 600);
    game.screenshot("resolution_dialog_800x600");
    EXPECT_TRUE(is_grey_widget(game.pixel(800 / 2, 600 / 2 - 75 + 4)));
    // UI Scale Auto: the 800 x 600 window is 600 x 450 units, each 4/3 of a pixel.
    const Point units = in_dialog(75, 310, 20, 600, 450);
    const Point cancel = {units.x * 4 / 3, units.y * 4 / 3};
    game.click(cancel.x, cancel.y);
    EXPECT_TRUE(soon(game, [&] { return !is_grey_widget(game.pixel(800 / 2, 600 / 2 - 75 + 4)); }));
    EXPECT_TRUE(game.running());
}

TEST_F(MenusTest, HideMenuHidesTheBarAndShowMenuBringsItBack)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    const Point button{40, H - 25};
    auto legend = [&] { return settled_print(game, *display, 12, H - 38, 105, 26); };
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(100, 5)); }));   // the bar
    const std::string hideLegend = legend();
    game.click(button.x, button.y);
    EXPECT_TRUE(soon(game, [&] { return !is_grey_widget(game.pixel(100, 5)); }));
    EXPECT_TRUE(soon(game, [&] { return legend() != hideLegend; }));
    game.screenshot("menu_hidden");
    game.click(button.x, button.y);
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(100, 5)); }));
    EXPECT_TRUE(soon(game, [&] { return legend() == hideLegend; }));
}

TEST_F(MenusTest, NineHoleRoundForTwoFillsTheCardAndEntersTheLeaderBoard)
{
    GameSession game(*display);
    ASSERT_NO_FATAL_FAILURE(make_course(game, "nine", 9));
    // a board of weaker players, so that 9 x 12 strokes get on it
    game.write_file("leader_board9.lbh", "Avery K.*100*Blake M.*110*Casey N.*120*Devon P.*130*Emery T.*140*");
    ASSERT_TRUE(game.start());
    ASSERT_NO_FATAL_FAILURE(start_round(game, {"Sebastian", "Ann"}, "nine"));
    ASSERT_TRUE(game.wait_title("nine.cor")) << game.title();

    // the score card before any hole: holes and pars only
    choose(game, PLAY_STATS, STATS_SCORE_CARD);
    ASSERT_TRUE(wait_for_score_card(game, *display));
    game.screenshot("score_card_9_start");
    // Escape does nothing while it is open
    game.key("Escape");
    game.settle(0.5);
    EXPECT_FALSE(dialog_shown(game, 75));
    game.resize(800, 600);
    game.screenshot("score_card_9_start_800x600");
    Point bigOk = ok_large(800, 600);
    game.click(bigOk.x, bigOk.y);
    game.resize(600, 450);

    // the leader board read from the file
    choose(game, PLAY_STATS, STATS_LEADER_BOARD);
    EXPECT_TRUE(soon(game, [&] { return dialog_shown(game, 175); }));
    game.screenshot("leader_board_9_before");
    Point ok = ok_large();
    game.click(ok.x, ok.y);

    // Go To Hole lists 1..9; Cancel leaves the round scored
    choose(game, PLAY_SPECIAL, SPECIAL_GO_TO_HOLE);
    EXPECT_TRUE(soon(game, [&] { return dialog_shown(game, 75); }));
    game.screenshot("go_to_hole_dialog");
    Point cancel = cancel_small();
    game.click(cancel.x, cancel.y);
    EXPECT_TRUE(soon(game, [&] { return !dialog_shown(game, 75); }));

    // Pick Up Ball asks first; Cancel picks nothing up
    choose(game, PLAY_SPECIAL, SPECIAL_PICK_UP);
    game.screenshot("pick_up_dialog");
    game.click(cancel.x, cancel.y);

    ASSERT_NO_FATAL_FAILURE(pick_up_through(game, *display, 9, 2, "score_card_9_finished"));
    EXPECT_EQ(game.read_file("leader_board9.lbh"),
              "Avery K.*100*Sebastian*108*Ann*108*Blake M.*110*Casey N.*120*");

    choose(game, PLAY_STATS, STATS_LEADER_BOARD);
    game.screenshot("leader_board_9_after");
    game.click(ok.x, ok.y);

    // the course is finished: Pick Up Ball opens nothing, the board is not written again
    choose(game, PLAY_SPECIAL, SPECIAL_PICK_UP);
    game.settle(0.5);
    EXPECT_FALSE(dialog_shown(game, 75));
    choose(game, PLAY_STATS, STATS_SCORE_CARD);
    EXPECT_TRUE(wait_for_score_card(game, *display));
    game.click(ok.x, ok.y);
    EXPECT_EQ(game.read_file("leader_board9.lbh"),
              "Avery K.*100*Sebastian*108*Ann*108*Blake M.*110*Casey N.*120*");
}

TEST_F(MenusTest, EighteenHoleCardForOnePlayer)
{
    GameSession game(*display);
    ASSERT_NO_FATAL_FAILURE(make_course(game, "eighteen", 18));
    ASSERT_TRUE(game.start());
    ASSERT_NO_FATAL_FAILURE(start_round(game, {"Maximilian"}, "eighteen"));
    ASSERT_TRUE(game.wait_title("eighteen.cor")) << game.title();
    ASSERT_NO_FATAL_FAILURE(pick_up_through(game, *display, 18, 1, "score_card_18_finished"));
    // 216 strokes do not beat the fresh board, which is written all the same
    EXPECT_EQ(game.read_file("leader_board18.lbh"),
              "Avery K.*72*Blake M.*74*Casey N.*76*Devon P.*78*Emery T.*80*");
    choose(game, PLAY_STATS, STATS_LEADER_BOARD);
    game.screenshot("leader_board_18");
    Point ok = ok_large();
    game.click(ok.x, ok.y);
}

TEST_F(MenusTest, GoToHoleLeavesTheGameUnscoredAndRestartEndsTheRound)
{
    GameSession game(*display);
    ASSERT_NO_FATAL_FAILURE(make_course(game, "three", 3));
    ASSERT_TRUE(game.start());
    ASSERT_NO_FATAL_FAILURE(start_round(game, {"Jo"}, "three"));
    ASSERT_TRUE(game.wait_title("three.cor")) << game.title();
    EXPECT_EQ(game.read_file("leader_board3.lbh"), "");   // made empty when the course loaded

    // hole 2, then the rest of the course without a card and without a board entry
    choose(game, PLAY_SPECIAL, SPECIAL_GO_TO_HOLE);
    Point down = list_down(), up = list_up();
    game.click(up.x, up.y);
    game.click(down.x, down.y);
    game.click(up.x, up.y);
    game.screenshot("go_to_hole_2");
    Point ok = ok_small();
    game.click(ok.x, ok.y);
    EXPECT_TRUE(soon(game, [&] { return !dialog_shown(game, 75); }));
    pick_up(game);
    game.settle(1.5);
    EXPECT_FALSE(dialog_shown(game, 175));   // no card between holes
    pick_up(game);
    game.settle(1.5);
    EXPECT_FALSE(dialog_shown(game, 175));   // nor at the end
    EXPECT_EQ(game.read_file("leader_board3.lbh"), "");
    // the card dialog opens but the card is not drawn after Go To Hole
    choose(game, PLAY_STATS, STATS_SCORE_CARD);
    EXPECT_TRUE(soon(game, [&] { return dialog_shown(game, 175); }));
    EXPECT_FALSE(score_card_drawn(game, *display));
    game.screenshot("score_card_after_go_to_hole");
    Point bigOk = ok_large();
    game.click(bigOk.x, bigOk.y);

    // Restart: the start question, no course, no unpacked files
    choose(game, PLAY_FILE, PLAY_RESTART);
    Point yes = yes_button(W, H);
    game.click(yes.x, yes.y);
    ASSERT_TRUE(game.wait_title("No File Loaded."));
    // the start question (350 wide, narrower than the restart question), and no menu bar
    EXPECT_TRUE(soon(game, [&] {
        return is_grey_widget(game.pixel(W / 2, H / 2 - 75 + 4)) && !is_grey_widget(game.pixel(W / 2 - 200, H / 2)) &&
               !is_grey_widget(game.pixel(100, 5));
    }));
    game.screenshot("after_restart");
    EXPECT_FALSE(std::filesystem::exists(game.dir() / "courses" / "temp"));
    // the editor now shows the editor's bar
    Point editor = start_editor_button(W, H);
    game.click(editor.x, editor.y);
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(100, 5)); }));
}
