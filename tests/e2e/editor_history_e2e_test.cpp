// The editor as a hole designer uses it: undo and redo with the keys and the Edit menu, the
// title's unsaved mark, the question before changes are lost, the checks before saving, Try
// Hole and Make Course, all driven with real input.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "hole/hole_file.h"
#include "hole/hole_grid.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

constexpr int W = 600, H = 450;

// Where world point (x, y, z) appears with the editor's starting camera (see editor_e2e_test).
Point world_pixel(double x, double y, double z)
{
    const double a = 45 * M_PI / 180;
    const double rx = std::cos(a) * x - std::sin(a) * y;
    const double ry = std::sin(a) * x + std::cos(a) * y;
    const double t = -60 * M_PI / 180;
    const double ey = std::cos(t) * ry - std::sin(t) * z;
    const double winX = (rx / (W / 2 - 1) + 1) / 2 * W;
    const double winY = (ey / (H / 2 - 1) + 1) / 2 * H;
    return {static_cast<int>(std::lround(winX)), H - 1 - static_cast<int>(std::lround(winY))};
}

// A click on the middle (or the spot dx, dy) of tile (i, j) whose top is at height steps.
void click_tile(GameSession& game, int i, int j, int height, double dx = 32, double dy = 32)
{
    const Point p = world_pixel(i * 64 - 1536 + dx, j * 64 - 1536 + dy, height * 32.0);
    game.move(p.x, p.y);
    game.settle(0.15);
    game.click(p.x, p.y);
    game.settle(0.1);
}

// The buttons of a box of three (Yes / No / Cancel) and of two (Save Anyway / Cancel), laid
// out by the box's own height: halfHeight 75 for up to three lines of text.
Point three_button(int k) { return {W / 2 - 250 + 80 + 50 + 120 * k, H - (H / 2 - 75 + 20)}; }
Point two_button(int k, int halfHeight = 75) { return {W / 2 - 250 + 140 + 50 + 120 * k, H - (H / 2 - halfHeight + 20)}; }

// The Edit menu's Redo entry.
void menu_redo(GameSession& game)
{
    game.click(50, 10);
    game.click(60, 63);
}

// The Save dialog's name replaced by name and confirmed.
void name_and_confirm(GameSession& game, const std::string& name)
{
    game.key("BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace");
    game.type(name);
    const Point confirm = chooser_confirm(W, H);
    game.click(confirm.x, confirm.y);
}

class EditorHistoryTest : public DisplayTest {};

}  // namespace

TEST_F(EditorHistoryTest, UndoRedoThenSaveWritesTheHoleAsItStandsAfterTheChecks)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    ASSERT_TRUE(game.wait_title("No File Loaded."));
    game.key("1");                                  // Blocks, by its key
    for (int i = 26; i >= 24; --i) click_tile(game, i, 24, 0);
    EXPECT_TRUE(game.wait_title("*No File Loaded.")) << game.title();
    game.key("8");                                  // Railings / Holes
    click_tile(game, 24, 24, 1);                    // the cup
    game.key("9");                                  // Place Ball
    click_tile(game, 26, 24, 1);                    // the tee
    game.key("0");
    game.screenshot("history_built");

    game.key("ctrl+z");                             // the tee goes
    game.key("ctrl+z");                             // the cup goes
    game.key("ctrl+z");                             // block (24, 24) goes
    menu_redo(game);                                // block (24, 24) comes back
    game.key("ctrl+shift+z");                       // the cup comes back
    game.settle(0.3);
    game.screenshot("history_undone");

    game.key("ctrl+s");                             // no file yet: the Save dialog
    name_and_confirm(game, "undone");
    game.settle(0.3);
    const std::string findings = game.screenshot("history_findings");
    EXPECT_FALSE(std::filesystem::exists(game.dir() / "holes" / "undone.top"));   // not before the answer
    const Point saveAnyway = two_button(0);
    game.click(saveAnyway.x, saveAnyway.y);
    ASSERT_TRUE(game.wait_title("undone.top has been saved.")) << game.title();

    auto expected = std::make_unique<HoleGrid>();
    clear_hole(*expected);
    for (int i = 24; i <= 26; ++i) expected->height_at(i, 24) = 1;
    expected->edges_at(24, 24) = EDGE_CUP;
    EXPECT_TRUE(game.read_file("holes/undone.top") == format_hole(*expected));

    // Save keeps the history: the cup can still be undone, and the title marks the change
    game.key("ctrl+z");
    EXPECT_TRUE(game.wait_title("*undone.top")) << game.title();
    game.key("ctrl+y");
    EXPECT_TRUE(game.wait_title("undone.top has been saved.")) << game.title();
}

TEST_F(EditorHistoryTest, NewOnAChangedHoleAsksAndCancelKeepsEverything)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    game.key("1");
    click_tile(game, 24, 24, 0);
    ASSERT_TRUE(game.wait_title("*No File Loaded.")) << game.title();
    // the wheel zooms as "+" and "-" do: up and back down shows the same picture again
    auto row = [&] {
        std::vector<int> reds;
        for (int x = 200; x < 400; x += 8) reds.push_back(game.pixel(x, 200).r);
        return reds;
    };
    const std::vector<int> before = row();
    game.click(300, 173, 4);                        // wheel up, over the block: closer
    game.settle(0.3);
    EXPECT_NE(row(), before);
    game.click(300, 173, 5);
    game.settle(0.3);
    EXPECT_EQ(row(), before);
    game.key("ctrl+n");
    game.settle(0.3);
    game.screenshot("history_save_question");
    // keys go to the open question, not to the hole: Ctrl+Z undoes nothing behind it
    game.key("ctrl+z");
    const Point cancel = three_button(2);
    game.click(cancel.x, cancel.y);
    EXPECT_TRUE(game.wait_title("*No File Loaded.")) << game.title();

    // the block is still there: New answered No empties the hole without a second question
    choose_file_entry(game, FILE_NEW);
    const Point no = three_button(1);
    game.click(no.x, no.y);
    EXPECT_TRUE(game.wait_title("No File Loaded.")) << game.title();
    game.key("ctrl+z");                             // New starts a fresh history
    game.settle(0.3);
    game.key("ctrl+s");
    name_and_confirm(game, "empty");
    game.click(two_button(0).x, two_button(0).y);   // no tee, no cup: Save Anyway
    ASSERT_TRUE(game.wait_title("empty.top has been saved.")) << game.title();
    auto blank = std::make_unique<HoleGrid>();
    clear_hole(*blank);
    EXPECT_TRUE(game.read_file("holes/empty.top") == format_hole(*blank));
}

TEST_F(EditorHistoryTest, TryHolePlaysTheEditedHoleAndComesBackAsItWas)
{
    GameSession game(*display);
    // A fairway from the tee at (22, 24) to the cup at (27, 24), as the editor test builds it.
    auto grid = std::make_unique<HoleGrid>();
    clear_hole(*grid);
    for (int i = 22; i <= 27; ++i) grid->height_at(i, 24) = 1;
    grid->edges_at(27, 24) = EDGE_CUP;
    grid->tee = Tee{1, 22 * 64 - 1536, 24 * 64 - 1536};
    std::string error;
    ASSERT_TRUE(write_hole_file(*grid, game.file("holes/fairway.top"), &error)) << error;
    ASSERT_TRUE(start_editor(game));
    game.key("ctrl+o");
    game.type("fairway");
    const Point confirm = chooser_confirm(W, H);
    game.click(confirm.x, confirm.y);
    ASSERT_TRUE(game.wait_title("fairway.top")) << game.title();
    game.key("1");
    click_tile(game, 20, 20, 0);                    // an unsaved change, and a step to undo later
    ASSERT_TRUE(game.wait_title("*fairway.top")) << game.title();

    game.key("ctrl+t");
    ASSERT_TRUE(game.wait_title("Try Hole: fairway.top (Escape returns to the editor)")) << game.title();
    game.settle(0.6);
    game.screenshot("try_hole_tee");
    game.click(W - 55, 30);                         // "Putt"
    game.settle(0.5);
    const int d = 25;                               // power 20, straight along +x
    game.move(W / 2 - d, H / 2 + d);
    game.settle(0.3);
    game.click(W / 2 - d, H / 2 + d);
    game.settle(1.0);
    game.screenshot("try_hole_rolling");
    // holed out: back in the editor, title, tool and history as they were
    ASSERT_TRUE(game.wait_title("*fairway.top", 10.0)) << game.title();
    game.screenshot("try_hole_back");
    game.key("ctrl+z");                             // the history is as it was: the change before the try undone
    EXPECT_TRUE(game.wait_title("fairway.top")) << game.title();
    click_tile(game, 21, 21, 0);                    // Blocks is still the tool: a tile rises
    EXPECT_TRUE(game.wait_title("*fairway.top")) << game.title();
    game.key("ctrl+z");
    EXPECT_TRUE(game.wait_title("fairway.top")) << game.title();

    // Escape ends a try as well, without the exit question
    game.key("ctrl+t");
    ASSERT_TRUE(game.wait_title("Try Hole: fairway.top (Escape returns to the editor)")) << game.title();
    game.key("Escape");
    EXPECT_TRUE(game.wait_title("fairway.top")) << game.title();
    game.settle(0.3);
    EXPECT_TRUE(game.running());
}

TEST_F(EditorHistoryTest, MakeCourseWritesACoursePlayCourseThenLoadsInTheChosenOrder)
{
    GameSession game(*display);
    for (const char* name : {"alpha", "bravo", "charlie"}) write_straight_hole(game.file(std::string("holes/") + name + ".top"));
    ASSERT_TRUE(start_editor(game));
    choose_file_entry(game, FILE_MAKE_COURSE);
    game.settle(0.3);
    // the holes folder's list, sorted: alpha 97, bravo 115, charlie 133; "Add >" beside it
    const Point add{277, 114};
    game.click(80, 133);
    game.click(add.x, add.y);                       // 1. charlie
    game.click(80, 97);
    game.click(add.x, add.y);                       // 2. alpha
    game.click(80, 115);
    game.click(add.x, add.y);                       // 3. bravo
    game.click(400, 115);                           // alpha selected: up to first place
    game.click(277, 174);                           // "Up"
    game.click(277, 244);                           // "Par +": alpha par 4
    game.click(300, 324);
    game.type("trio9");                             // a digit in a text field is no tool key
    game.settle(0.3);
    game.screenshot("make_course_dialog");
    game.click(405, 399);                           // "Make Course"
    game.settle(0.5);
    game.screenshot("make_course_made");
    ASSERT_TRUE(std::filesystem::exists(game.dir() / "courses" / "trio9.cor"));
    game.click(W / 2, H - (H / 2 - 75 + 20));       // "OK"
    game.settle(0.3);
    EXPECT_FALSE(is_grey_widget(game.pixel(W / 2 - 75, H - 14)));   // no tool label: still NOTHING

    choose_file_entry(game, FILE_RESTART);
    const Point yes = yes_button(W, H);
    game.click(yes.x, yes.y);
    game.settle(0.5);
    sit_down(game, {"Tester"}, "trio9");
    ASSERT_TRUE(game.wait_title("trio9.cor")) << game.title();
    game.settle(1.0);
    game.screenshot("make_course_played");
    const std::string description = game.read_file("courses/temp/course_description_file.cdf");
    EXPECT_EQ(description.rfind("3*4*alpha.top*", 0), 0u) << description;
    const size_t charlie = description.find("charlie.top"), bravo = description.find("bravo.top");
    EXPECT_TRUE(charlie != std::string::npos && bravo != std::string::npos && charlie < bravo) << description;
}
