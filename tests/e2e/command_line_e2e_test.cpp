// The game started with a file on its command line, as a file manager or the desktop entry
// starts it, and the window's class the desktop ties it to.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/harness.h"
#include "tests/e2e/screens.h"
#include "tests/e2e/test_courses.h"

namespace {

class CommandLineTest : public DisplayTest {};

}  // namespace

TEST_F(CommandLineTest, HoleFileOpensInTheEditorAndTheWindowHasItsClass)
{
    GameSession game(*display);
    write_straight_hole(game.file("holes/fairway.top"));
    game.set_arguments({"holes/fairway.top"});
    ASSERT_TRUE(game.start("fairway.top")) << game.read_file("game.log");
    game.settle(1.0);
    game.screenshot("command_line_hole_in_editor");
    // The editor's menu bar at the top, no start question: "Start Hole Editor" shows the grass.
    EXPECT_TRUE(is_grey_widget(game.pixel(5, 5)));
    const Point editorButton = start_editor_button(600, 450);
    EXPECT_FALSE(is_grey_widget(game.pixel(editorButton.x, editorButton.y)));
    const std::string wmClass = run_command("xprop -display " + display->name() + " -id " + game.window_id() + " WM_CLASS");
    EXPECT_NE(wmClass.find("\"minigolf\", \"minigolf\""), std::string::npos) << wmClass;
}

TEST_F(CommandLineTest, CourseFileGoesToThePlayerDialogThenStraightToItsFirstHole)
{
    GameSession game(*display);
    make_straight_course(game, "quick", 1);
    game.set_arguments({"courses/quick.cor"});
    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    game.settle(0.8);
    game.screenshot("command_line_course_players");
    game.click(150, 85);
    game.type("Ann");
    game.click(215, 355);   // "Ready To Play": no course chooser follows
    ASSERT_TRUE(game.wait_title("quick.cor")) << game.title();
    game.settle(1.0);
    game.screenshot("command_line_course_hole1");
    EXPECT_TRUE(std::filesystem::exists(game.file("courses/temp/straight1.top")));
}

TEST_F(CommandLineTest, UnusableFilesGetAMessageAndTheGameCarriesOn)
{
    GameSession game(*display);
    game.write_file("notes.txt", "not a hole");
    game.set_arguments({"missing.top", "notes.txt"});
    ASSERT_TRUE(game.start()) << game.read_file("game.log");
    game.settle(0.8);
    game.screenshot("command_line_bad_files");
    const std::string log = game.read_file("game.log");
    EXPECT_NE(log.find("missing.top\nFile not found."), std::string::npos) << log;
    EXPECT_NE(log.find("notes.txt\nis neither a hole"), std::string::npos) << log;
    // The messages stand above the start question, which is still there once they are answered.
    EXPECT_FALSE(is_grey_widget(game.pixel(60, 390)));
    for (int k = 0; k < 2; ++k) game.click(300, 450 - (450 / 2 - 75 + 20));   // their "OK"
    game.settle(0.5);
    const Point play = play_course_button(600, 450);
    game.click(play.x, play.y);
    game.settle(0.5);
    game.screenshot("command_line_bad_files_then_players");
    EXPECT_TRUE(soon(game, [&] { return is_grey_widget(game.pixel(60, 390)); }));   // the player dialog
}
