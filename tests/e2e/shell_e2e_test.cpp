// The game's window, its settings file and the hole file dialogs, driven as a player would.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"

namespace {

class ShellTest : public DisplayTest {};

}  // namespace

TEST_F(ShellTest, StartWindowIsTitledAndSizedAndAsksWhatToDo)
{
    GameSession game(*display);
    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    EXPECT_EQ(game.title(), "No File Loaded.");
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(game.geometry(x, y, w, h));
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 450);
    game.screenshot("start_window");
    // the question box sits in the middle; the corner shows the scene, not a widget
    EXPECT_TRUE(is_grey_widget(game.pixel(300, 290)));
    EXPECT_FALSE(is_grey_widget(game.pixel(300, 440)));
    // Escape on the start screen offers no exit
    game.key("Escape");
    Point yes = yes_button(600, 450);
    game.click(yes.x, yes.y);
    EXPECT_TRUE(game.running());
}

TEST_F(ShellTest, WindowDraggedSmallerSpringsBackAndWidgetsFollowTheEdges)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    game.resize(500, 400);
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(game.geometry(x, y, w, h));
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 450);

    game.resize(800, 600);
    ASSERT_TRUE(game.geometry(x, y, w, h));
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    game.screenshot("resized_800x600");
    // With UI Scale Auto the widgets grow by 4/3 with the window, laid out in 600 x 450
    // units. "+" keeps its distance from the right and bottom edges: (w-60, 40)-(w-40, 60)
    // units; beside its "+", (543, 44) units lands on pixel (724, 541).
    EXPECT_TRUE(is_grey_widget(game.pixel(724, 541)));
    // "Hide Menu" stays at the bottom left: (10, 10)-(120, 40) units
    EXPECT_TRUE(is_grey_widget(game.pixel(20, 600 - 20)));
    EXPECT_TRUE(is_grey_widget(game.pixel(140, 600 - 20))) << "Hide Menu has not grown";
}

TEST_F(ShellTest, ExitQuestionEndsTheGameAndKeepsTheWindowSize)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    game.resize(700, 500);
    game.key("Escape");
    game.screenshot("exit_question");
    Point no = no_button(700, 500);
    game.click(no.x, no.y);
    EXPECT_TRUE(game.running());
    game.key("Escape");
    Point yes = yes_button(700, 500);
    game.click(yes.x, yes.y);
    EXPECT_EQ(game.wait_exit(10), 0);
    EXPECT_EQ(game.read_file("Config.glf"), "w*s*700*500*");
}

TEST_F(ShellTest, WindowCloseButtonRunsTheExitPath)
{
    GameSession game(*display, "w*n*640*480*");
    ASSERT_TRUE(game.start());
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(game.geometry(x, y, w, h));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    game.close_window();
    EXPECT_EQ(game.wait_exit(10), 0);
    EXPECT_EQ(game.read_file("Config.glf"), "w*n*640*480*");
}

TEST_F(ShellTest, TooSmallStoredWindowSpringsBack)
{
    GameSession game(*display, "w*s*400*300*");
    ASSERT_TRUE(game.start());
    game.settle(0.5);
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(game.geometry(x, y, w, h));
    EXPECT_EQ(w, 600);
    EXPECT_EQ(h, 450);
}

TEST_F(ShellTest, HoleIsSavedAndOpenedThroughTheFileDialogs)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));

    // Save with no current file offers hole1.top in holes/
    choose_file_entry(game, FILE_SAVE);
    game.screenshot("save_dialog");
    Point confirm = chooser_confirm(600, 450);
    game.click(confirm.x, confirm.y);
    ASSERT_TRUE(saved_after_checks(game, "hole1.top has been saved.")) << game.title();
    const std::string saved = game.read_file("holes/hole1.top");
    EXPECT_EQ(saved.size(), 16816u);
    EXPECT_EQ(saved.substr(0, 14), "0*-1*0*0*-1*0*");

    // Save As under the same name asks before replacing
    choose_file_entry(game, FILE_SAVE_AS);
    game.click(confirm.x, confirm.y);
    game.screenshot("overwrite_question");
    Point no = no_button(600, 450);
    game.click(no.x, no.y);          // back in the chooser
    game.key("BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace");
    game.type("second");
    game.click(confirm.x, confirm.y);
    ASSERT_TRUE(saved_after_checks(game, "second.top has been saved.")) << game.title();
    EXPECT_EQ(game.read_file("holes/second.top"), saved);

    // Open a hole made elsewhere; its name becomes the title
    std::string other = saved;
    other.replace(0, 7, "5*-8*1*");   // tile (0, 0): height 5, sand, a railing
    game.write_file("holes/other.top", other);
    choose_file_entry(game, FILE_OPEN);
    game.screenshot("open_dialog");
    game.type("other");
    game.click(confirm.x, confirm.y);
    ASSERT_TRUE(game.wait_title("other.top")) << game.title();

    // Save now writes straight to the current file, in the canonical form (over a hole
    // shortened by hand; a file that is no hole at all would be left alone)
    game.write_file("holes/other.top", "1*\n-1*\n0*\n");
    choose_file_entry(game, FILE_SAVE);
    ASSERT_TRUE(saved_after_checks(game, "other.top has been saved.")) << game.title();
    EXPECT_EQ(game.read_file("holes/other.top"), other);

    // New asks first, then empties the hole and the title
    choose_file_entry(game, FILE_NEW);
    Point yes = yes_button(600, 450);
    game.click(yes.x, yes.y);
    ASSERT_TRUE(game.wait_title("No File Loaded."));
    choose_file_entry(game, FILE_SAVE);
    game.key("BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace");
    game.type("cleared");
    game.click(confirm.x, confirm.y);
    ASSERT_TRUE(saved_after_checks(game, "cleared.top has been saved."));
    EXPECT_EQ(game.read_file("holes/cleared.top"), saved);
}

TEST_F(ShellTest, OpeningAMissingFileIsRefusedAndCancelChangesNothing)
{
    GameSession game(*display);
    ASSERT_TRUE(start_editor(game));
    choose_file_entry(game, FILE_OPEN);
    game.type("nothere");
    Point confirm = chooser_confirm(600, 450);
    game.click(confirm.x, confirm.y);
    game.screenshot("file_not_found");
    EXPECT_EQ(game.title(), "No File Loaded.");
    // the message box's OK, then the chooser's Cancel
    game.click(300, 450 - (450 / 2 - 75 + 20));
    Point cancel = chooser_cancel(600, 450);
    game.click(cancel.x, cancel.y);
    EXPECT_EQ(game.title(), "No File Loaded.");
    EXPECT_TRUE(std::filesystem::is_empty(game.dir() / "holes"));
}
